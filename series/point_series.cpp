#include "series/point_series.h"

#include "marks/series_marks.h"

namespace sextant {

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FConnectsPoints = false;
  Pointer()->InitVisible(true);
}

}  // namespace sextant

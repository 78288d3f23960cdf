#include "series/line_series.h"

#include "marks/series_marks.h"

namespace sextant {

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FConnectsPoints = true;
  // The first point beyond the plot's right edge is visited, so that the
  // segment towards it is drawn (and clipped).
  DrawBetweenPoints = true;
  Pointer()->InitVisible(false);
}

}  // namespace sextant

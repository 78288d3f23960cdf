#include "series/horiz_bar_series.h"

namespace sextant {

// The roles of the lists swap: Y holds the ordered positions, X the values.
THorizBarSeries::THorizBarSeries(TComponent* AOwner) : TCustomBarSeries(AOwner) {
  FYMandatory = false;
  FMandatoryValueList = FX;
  FNotMandatoryValueList = FY;
  FX->SetOrder(loNone);
  FY->SetOrder(loAscending);
}

}  // namespace sextant

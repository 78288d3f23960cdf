// Series in 3D: each series takes a depth slot of the chart (the first
// series the back one unless ZOrder says otherwise) and is drawn in the
// middle of its slot; its marks stand at that depth too.
#include <algorithm>

#include "marks/series_marks.h"
#include "panel/axis_panel.h"
#include "series/chart_series.h"

namespace sextant {

void TChartSeries::CalcZOrder() {
  if (FParent) IZOrder = FParent->TakeZOrder(FZOrder);
}

void TChartSeries::CalcDepthPositions() {
  if (!FParent || !FParent->View3D()) {
    StartZ = MiddleZ = EndZ = 0;
  } else {
    const long long slot = std::max(0, FParent->SeriesWidth3D());
    const long long start = static_cast<long long>(IZOrder) * slot;
    const long long end = start + (FDepth >= 0 ? FDepth : slot);
    StartZ = KelBoundPixel(start);
    EndZ = KelBoundPixel(end);
    MiddleZ = KelBoundPixel((start + end) / 2);
  }
  if (FMarks) FMarks->SetZPosition(MiddleZ);
}

}  // namespace sextant

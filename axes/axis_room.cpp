// The room an axis takes out of the chart rectangle during layout: the
// axis line and ticks, the label rows and the title, and the positions
// (PosTitle, PosLabels) they leave for drawing.
//
// From the plot outwards an axis stacks: ticks (and the 3D wall), labels,
// title. CalcRect shrinks the rectangle from the outside in: title first,
// then labels, then ticks.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "canvas/shadow.h"
#include "panel/axis_panel.h"

namespace sextant {

int TChartAxis::SizeTickAxis(bool WithTicks) const {
  long long result = FAxis->Visible() ? KelRound(FAxis->Width() + 1) : 0;
  if (WithTicks && FTicks->Visible()) result += FTickLength;
  if (FMinorTicks->Visible()) result = std::max<long long>(result, FMinorTickLength);
  return KelBoundPixel(result);
}

int TChartAxis::SizeLabels() {
  if (FLabels->IHeightFactor == 0) CalcHeightFactor();
  long long result =
      static_cast<long long>(InternalCalcSize(FAxisItems->Format(), FLabels->Angle(), FLabels->Size())) *
      FLabels->IHeightFactor;
  if (FLabels->Alternate()) result *= 2;
  return KelBoundPixel(result);
}

int TChartAxis::InternalCalcSize(TCustomTextShape* Shape, int Angle, int Size,
                                 const std::string* Text) {
  if (Size != 0) return KelBoundPixel(Size);
  if (!FParentChart || !Shape) return 0;
  TCanvas3D* canvas = FParentChart->Canvas();
  FParentChart->PrepareFont3D(Shape->Font());
  const int height = canvas->FontHeight();
  const int angle = KelNormalAngle(Angle);
  const bool horizontal = FHorizontal || IDepthAxis;
  long long result;
  if ((horizontal && angle % 180 == 0) || (!horizontal && (angle == 90 || angle == 270))) {
    result = height;
  } else {
    int lines = 0;
    const int width = Text ? FParentChart->MultiLineTextWidth(*Text, lines) : MaxLabelsWidth();
    const double radians = KelDegToRad(angle);
    if (horizontal)
      result = static_cast<long long>(height) + KelRound(std::fabs(std::sin(radians)) * width);
    else
      result = KelRound(width * std::fabs(std::cos(radians)));
  }
  if (!Shape->Transparent()) {
    if (Shape->Pen()->Visible()) result += 2LL * KelRound(Shape->Pen()->Width());
    if (Shape->Shadow()->ShouldDraw()) result += std::llabs(Shape->Shadow()->Size());
  }
  return KelBoundPixel(result);
}

void TChartAxis::InflateAxisRect(TRectF& R, float A) const {
  if (FHorizontal) {
    if (FOtherSide)
      R.Top = std::min(R.Top + A, std::max(R.Top, R.Bottom - 1));
    else
      R.Bottom = std::max(R.Bottom - A, std::min(R.Bottom, R.Top + 1));
  } else {
    if (FOtherSide)
      R.Right = std::max(R.Right - A, std::min(R.Right, R.Left + 1));
    else
      R.Left = std::min(R.Left + A, std::max(R.Left, R.Right - 1));
  }
}

int TChartAxis::GetRectangleEdge(const TRectF& R) const {
  if (FHorizontal) return KelRound(FOtherSide ? R.Top : R.Bottom);
  return KelRound(FOtherSide ? R.Right : R.Left);
}

int TChartAxis::InflateAxisPos(int P, int A) const {
  // Outwards is up for the top axis, left for the left axis.
  const bool decreasing = FHorizontal ? FOtherSide : !FOtherSide;
  return KelBoundPixel(decreasing ? static_cast<long long>(P) - A : static_cast<long long>(P) + A);
}

int TChartAxis::ApplyPosition(int P, const TRectF& R) const {
  if (FPositionPercent == 0) return P;
  long long shift = FPosUnits == muPixels
                        ? KelRound(FPositionPercent)
                        : KelRound(FPositionPercent * 0.01 * (FHorizontal ? R.Height() : R.Width()));
  if (FOtherSide) shift = -shift;
  return KelBoundPixel(FHorizontal ? P - shift : P + shift);
}

void TChartAxis::CalcRect(TRectF& Rect, bool InflateChartRectangle) {
  if (IDepthAxis || !FParentChart) return;
  IAxisDateTime = IsDateTime();
  FLabels->IHeightFactor = 0;

  if (!InflateChartRectangle) {
    // The axis stands on the edge of Rect and takes nothing from it.
    PosAxis = ApplyPosition(GetRectangleEdge(Rect), Rect);
    PosLabels = InflateAxisPos(PosAxis, SizeTickAxis(true));
    PosTitle = InflateAxisPos(PosLabels, FLabels->Visible() ? SizeLabels() : 0);
    return;
  }

  if (IExtraSpace > 0) InflateAxisRect(Rect, static_cast<float>(IExtraSpace));

  if (FAxisTitle && FAxisTitle->Visible() && !FAxisTitle->Text().empty()) {
    const int size =
        InternalCalcSize(FAxisTitle.get(), FAxisTitle->Angle(), FTitleSize, &FAxisTitle->Text());
    InflateAxisRect(Rect, static_cast<float>(size));
    PosTitle = GetRectangleEdge(Rect);
  }

  if (FLabels->Visible()) {
    FLabels->IHeightFactor = 0;
    InflateAxisRect(Rect, static_cast<float>(SizeLabels()));
    PrepareLabelFont();
    const int margin =
        KelRound(static_cast<double>(FParentChart->Canvas()->FontHeight()) * FLabels->Margin() * 0.01);
    PosLabels = InflateAxisPos(GetRectangleEdge(Rect), margin);
  }

  const int W = KelBoundPixel(static_cast<long long>(FParentChart->CalcWallSize(this)) +
                              SizeTickAxis(FLabels->Position() == lpAtTick));
  if (W > 0) InflateAxisRect(Rect, static_cast<float>(W));

  PosTitle = ApplyPosition(PosTitle, Rect);
  PosLabels = ApplyPosition(PosLabels, Rect);
}

}  // namespace sextant

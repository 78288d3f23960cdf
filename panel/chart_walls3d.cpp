// The walls of a 3D chart. The plot is a box: the chart rectangle in front
// (depth 0) and the back wall at depth Width3D. The back wall stands behind
// the plot, the left (and, when shown, the right) wall along its sides and
// the bottom wall under it; a wall with a Size is that thick, outside the
// box. The bottom axis is drawn here, after the walls, when the front plane
// faces the viewer (DrawBackWallAfter): its line and labels lie over the
// bottom wall's front edge.
#include <algorithm>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/custom_chart.h"

namespace sextant {

namespace {

// The part StartPosition .. EndPosition percent of Low .. High (a wall
// reaching down the plot, or along it for the bottom wall).
void WallSpan(float& Low, float& High, int StartPosition, int EndPosition) {
  const float length = High - Low;
  const float low = Low;
  if (StartPosition != 0) Low = low + static_cast<float>(KelRound(length * StartPosition * 0.01));
  if (EndPosition != 100) High = low + static_cast<float>(KelRound(length * EndPosition * 0.01));
}

int Thickness(const TCustomChartWall* Wall) { return std::max(0, Wall->Size()); }

}  // namespace

int TCustomChart::CalcWallSize(const TChartAxis* Axis) const {
  if (!View3D() || !Axis) return 0;
  const TCustomChartWall* wall = nullptr;
  if (Axis == LeftAxis())
    wall = FWalls->Left();
  else if (Axis == BottomAxis())
    wall = FWalls->Bottom();
  else if (Axis == RightAxis() && FWalls->HasRight())
    wall = FWalls->Right();
  return wall && wall->ShouldDraw() ? Thickness(wall) : 0;
}

void TCustomChart::DrawWalls3D() {
  TCanvas3D& c = *Canvas();
  const int depth = std::max(0, Width3D());
  // The back wall's rectangle of the flat chart (one pixel wider and, down
  // to the bottom, taller than the plot) is the box's front; the side walls
  // meet its edges.
  TChartBackWall* back = FWalls->Back();
  const TRectF box = BackWallRect(ChartRect, 0, 100, CalcWallSize(BottomAxis()));
  const float bottom = static_cast<float>(KelRound(ChartRect.Bottom) + 1);

  if (back->ShouldDraw()) {
    const TRectF r = BackWallRect(ChartRect, back->StartPosition(), back->EndPosition(),
                                  CalcWallSize(BottomAxis()));
    back->Draw3D(c, {r.Left, r.Top, r.Right, r.Bottom, depth, depth + Thickness(back)}, wfFront);
    if (HasBackImage() && BackImage()->Inside()) DrawBackImage(c.CalcRect3D(r, depth));
  }
  auto side = [&](TCustomChartWall* wall, float x, bool outsideLeft) {
    if (!wall->ShouldDraw()) return;
    float top = box.Top, low = box.Bottom;
    WallSpan(top, low, wall->StartPosition(), wall->EndPosition());
    const float t = static_cast<float>(Thickness(wall));
    const float x0 = outsideLeft ? x - t : x;
    wall->Draw3D(c, {x0, top, x0 + t, low, 0, depth}, outsideLeft ? wfRight : wfLeft);
  };
  side(FWalls->Left(), box.Left, true);
  if (FWalls->HasRight()) side(FWalls->Right(), box.Right, false);

  TChartBottomWall* floor = FWalls->Bottom();
  if (floor->ShouldDraw()) {
    float left = box.Left, right = box.Right;
    WallSpan(left, right, floor->StartPosition(), floor->EndPosition());
    floor->Draw3D(c, {left, bottom, right, bottom + static_cast<float>(Thickness(floor)), 0, depth},
                  wfTop);
  }

  // DrawAllAxis leaves the bottom axis to the walls in this case.
  if (AxisVisible() && BottomAxis()->IsVisible && DrawBackWallAfter(0)) {
    c.BeginEntity("Axes");
    BottomAxis()->Draw(true);
    c.EndEntity();
  }
}

}  // namespace sextant

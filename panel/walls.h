// Chart walls: the back wall behind the plot (in a flat chart a frame
// around the plot area) and the left, bottom and right walls of a 3D chart.
#pragma once

#include <memory>

#include "canvas/shape.h"

namespace sextant {

class TCustomAxisPanel;
class TCanvas3D;

// A box of chart coordinates with depth: Left .. Right, Top .. Bottom,
// Z0 (front) .. Z1 (back). A box with no extent in one direction is a plane.
struct TWallBox {
  float Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Z0 = 0, Z1 = 0;
};
// A face of a wall box: the front (depth Z0), the top or bottom, the left
// or right side.
enum TWallFace { wfFront, wfTop, wfBottom, wfLeft, wfRight };

class TCustomChartWall : public TKelCustomShape {
 public:
  explicit TCustomChartWall(TCustomAxisPanel* Chart);
  // The shape's settings, then the wall's own.
  void Assign(const TPersistent* Source) override;

  // Never drawn when True.
  bool AutoHide() const { return FAutoHide; }
  void SetAutoHide(bool Value) { SetShapeProperty(FAutoHide, Value); }
  // Darken the side faces of a thick (3D) wall.
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { SetShapeProperty(FDark3D, Value); }
  // How far along the plot area the wall reaches, percent.
  int EndPosition() const { return FEndPosition; }
  void SetEndPosition(int Value) { SetShapeProperty(FEndPosition, Value); }
  int StartPosition() const { return FStartPosition; }
  void SetStartPosition(int Value) { SetShapeProperty(FStartPosition, Value); }
  // Thickness in 3D.
  int Size() const { return FSize; }
  void SetSize(int Value) { SetShapeProperty(FSize, Value); }
  // Remembered default of Color.
  TColor DefaultColor() const { return FDefaultColor; }
  // Sets Color and DefaultColor without a repaint.
  void InitColor(TColor Value);

  // The chart shows 3D walls, and the wall is visible and not AutoHide.
  bool ShouldDraw() const;
  // Side faces are darkened: a brush, no brush picture, Dark3D.
  bool ApplyDark3D() const;
  TCustomAxisPanel* Chart() const { return FChart; }

  // The wall of a 3D chart: a plane, or with a thickness a box of which the
  // faces the view shows are drawn, each filled unless Transparent and
  // framed with the wall pen. The face towards the plot (Inner) has the
  // wall colour; with ApplyDark3D the other faces are darker (top and
  // bottom faces by 32, side faces by 64, the front face by 48). The back
  // wall's picture covers its projected front face.
  void Draw3D(TCanvas3D& Canvas, const TWallBox& Box, TWallFace Inner);

 protected:
  TCustomAxisPanel* FChart;  // not owned

 private:
  bool FAutoHide = false;
  bool FDark3D = true;
  int FEndPosition = 100;
  int FSize = 0;
  int FStartPosition = 0;
  TColor FDefaultColor = clKelColor;
};

class TChartWall : public TCustomChartWall {
 public:
  using TCustomChartWall::TCustomChartWall;
};

// Silver and transparent: a plain frame; its shadow and emboss are
// invisible and dark grey.
class TChartBackWall : public TChartWall {
 public:
  explicit TChartBackWall(TCustomAxisPanel* Chart);
  void InitShadow(TKelShadow* AShadow) override;
  void InitEmboss(TKelEmboss* AEmboss) override;
  // The wall of a flat chart into R: shadow and emboss, then the frame
  // (and fill unless Transparent), then the picture.
  void DrawFlat(TCanvas3D& Canvas, const TRectF& R);
};

class TChartLeftWall : public TChartWall {
 public:
  explicit TChartLeftWall(TCustomAxisPanel* Chart);
};

class TChartBottomWall : public TChartWall {
 public:
  explicit TChartBottomWall(TCustomAxisPanel* Chart);
};

// Hidden by default.
class TChartRightWall : public TChartWall {
 public:
  explicit TChartRightWall(TCustomAxisPanel* Chart);
};

// The walls of a chart; the right wall is created on first access.
class TChartWalls : public TPersistent {
 public:
  explicit TChartWalls(TCustomAxisPanel* Chart);
  ~TChartWalls() override;
  TChartWalls(const TChartWalls&) = delete;
  TChartWalls& operator=(const TChartWalls&) = delete;

  void Assign(const TPersistent* Source) override;

  TChartBackWall* Back() const { return FBack.get(); }
  TChartLeftWall* Left() const { return FLeft.get(); }
  TChartBottomWall* Bottom() const { return FBottom.get(); }
  TChartRightWall* Right();
  bool HasRight() const { return FRight != nullptr; }

  // True when the back, left and bottom walls are visible; setting it sets
  // every wall (the right one only when it exists).
  bool Visible() const;
  void SetVisible(bool Value);
  // The back wall's size; setting it sets every wall.
  int Size() const { return FBack->Size(); }
  void SetSize(int Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

 private:
  TCustomAxisPanel* FChart;  // not owned
  std::unique_ptr<TChartBackWall> FBack;
  std::unique_ptr<TChartLeftWall> FLeft;
  std::unique_ptr<TChartBottomWall> FBottom;
  std::unique_ptr<TChartRightWall> FRight;
};

// The back wall's rectangle in a flat chart: the chart rectangle, from
// StartPosition to EndPosition percent of its height (BottomWallSize
// added below), one pixel wider to the right and, when it reaches the
// bottom (EndPosition 100), one pixel taller.
TRectF BackWallRect(const TRectF& ChartRect, int StartPosition, int EndPosition,
                    int BottomWallSize);

}  // namespace sextant

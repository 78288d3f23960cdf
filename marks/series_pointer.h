// Point symbols and callouts.
//
// TSeriesPointer is the small symbol drawn on a point (rectangle, circle,
// triangles, ...); TCallout adds the arrow from a point to a mark and draws
// the pointer at the point; TMarksCallout adds the callout length that
// raises a mark above its point.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "canvas/shape.h"

namespace sextant {

class TCanvas3D;
class TChartSeries;
class TKelEmboss;
class TKelPen;
class TKelPicture;
class TKelShadow;

enum TSeriesPointerStyle : std::uint8_t {
  psRectangle,
  psCircle,
  psTriangle,
  psDownTriangle,
  psCross,
  psDiagCross,
  psStar,
  psDiamond,
  psSmallDot,
  psNothing,
  psLeftTriangle,
  psRightTriangle,
  psHexagon,
  psDonut,
  psArrow
};
enum TPointerSizeUnits : std::uint8_t { suPixels, suAxis };
enum TArrowHeadStyle : std::uint8_t { ahNone, ahLine, ahSolid };

// Compare the arrow colour with the point and background colours (see
// TCallout::Draw).
extern bool KelCheckMarkArrowColor;
// The arrow colours used instead: black, or white on a black background.
inline constexpr std::array<TColor, 2> ArrowColors{0xFF000000, 0xFFFFFFFF};

// The symbol of a point: a box of (2 HorizSize) x (2 VertSize) pixels
// around the point, filled with the brush and outlined with the pen.
class TSeriesPointer : public TKelCustomShapeBrushPen {
 public:
  // Belongs to Series and draws on its chart (when it has one).
  explicit TSeriesPointer(TChartSeries* Series);
  ~TSeriesPointer() override;

  // The brush-and-pen settings, then every pointer setting (not the series).
  void Assign(const TPersistent* Source) override;

  // Canvas state of the pointer: pen from Pen (coloured by DarkPen, by C
  // when the pen has no colour of its own, else its own colour; psClear
  // when invisible), brush from Brush with the fill colour of Brush (C for
  // a solid brush, the brush's BackColor otherwise, when it has none).
  void PrepareCanvas(TCanvas3D& Canvas, TColor C);
  // Draws the symbol of Style in the box around (X, Y), shadow and emboss
  // first, blended by Transparency; the canvas must have been prepared.
  // The flat forms are used in 3D too (the caller projects the centre).
  void DrawPointer(TCanvas3D& Canvas, bool Is3D, int X, int Y, int HorizSize, int VertSize,
                   TColor Color, TSeriesPointerStyle Style);

  // ---- Properties ----------------------------------------------------------
  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool Value) { SetShapeProperty(FDark3D, Value); }
  int DarkPen() const { return FDarkPen; }
  void SetDarkPen(int Value) { SetShapeProperty(FDarkPen, Value); }
  int Depth() const { return FDepth; }
  void SetDepth(int Value) { SetShapeProperty(FDepth, Value); }
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value) { SetShapeProperty(FDraw3D, Value); }
  bool FullGradient() const { return FFullGradient; }
  void SetFullGradient(bool Value) { SetShapeProperty(FFullGradient, Value); }
  bool DefaultFullGradient() const { return FDefaultFullGradient; }
  // Half-sizes in pixels, at least 1.
  int HorizSize() const { return FHorizSize; }
  void SetHorizSize(int Value);
  int VertSize() const { return FVertSize; }
  void SetVertSize(int Value);
  // max(HorizSize, VertSize); writing sets both.
  int Size() const { return FHorizSize > FVertSize ? FHorizSize : FVertSize; }
  void SetSize(int Value);
  bool InflateMargins() const { return FInflateMargins; }
  void SetInflateMargins(bool Value) { SetShapeProperty(FInflateMargins, Value); }
  bool CenterPixel() const { return FCenterPixel; }
  void SetCenterPixel(bool Value) { SetShapeProperty(FCenterPixel, Value); }
  float SizeFloat() const { return FSizeFloat; }
  void SetSizeFloat(float Value) { SetShapeProperty(FSizeFloat, Value); }
  TPointerSizeUnits SizeUnits() const { return FSizeUnits; }
  void SetSizeUnits(TPointerSizeUnits Value) { SetShapeProperty(FSizeUnits, Value); }
  TSeriesPointerStyle Style() const { return FStyle; }
  void SetStyle(TSeriesPointerStyle Value) { SetShapeProperty(FStyle, Value); }
  std::uint8_t Transparency() const { return FTransparency; }
  void SetTransparency(std::uint8_t Value) { SetShapeProperty(FTransparency, Value); }
  // The brush colour.
  TColor Color() const;
  void SetColor(TColor Value);

  // Created on first use: the shadow invisible with size 3.
  TKelShadow* Shadow();
  void SetShadow(const TKelShadow* Value);
  bool HasShadow() const { return FShadow != nullptr; }
  TKelEmboss* Emboss();
  void SetEmboss(const TKelEmboss* Value);
  bool HasEmboss() const { return FEmboss != nullptr; }
  TKelPicture* Picture();
  void SetPicture(const TKelPicture* Value);
  bool HasPicture() const { return FPicture != nullptr; }

  TChartSeries* ParentSeries() const { return FParentSeries; }

 protected:
  // Sets FullGradient and its remembered default without notifying.
  void InitFullGradient(bool Value) {
    FFullGradient = Value;
    FDefaultFullGradient = Value;
  }

  bool FDark3D = true;
  int FDarkPen = 0;
  int FDepth = 0;
  bool FDraw3D = true;
  bool FFullGradient = false;
  bool FDefaultFullGradient = false;
  int FHorizSize = 4;
  bool FInflateMargins = true;
  bool FCenterPixel = true;
  float FSizeFloat = 0;
  TPointerSizeUnits FSizeUnits = suPixels;
  TSeriesPointerStyle FStyle = psRectangle;
  std::uint8_t FTransparency = 0;
  int FVertSize = 4;

 private:
  // The symbol's outline as a polygon for the polygon styles; Count is 0
  // for the other styles.
  struct TPointerPolygon {
    std::array<TPointF, 8> Points{};
    int Count = 0;
  };
  static TPointerPolygon PolygonOf(TSeriesPointerStyle Style, float L, float T, float R, float B,
                                   float X, float Y);

  std::unique_ptr<TKelShadow> FShadow;
  std::unique_ptr<TKelEmboss> FEmboss;
  std::unique_ptr<TKelPicture> FPicture;
  TChartSeries* FParentSeries;  // the owner, not owned
  // The colour of the last PrepareCanvas, to restore the state after the
  // shadow and emboss changed it.
  TColor IPreparedColor = clKelColor;
};

// A pointer with an arrow: the arrow runs from a point to a mark, and the
// pointer is drawn on the point.
class TCallout : public TSeriesPointer {
 public:
  explicit TCallout(TChartSeries* Series);
  ~TCallout() override;

  // The pointer's settings, then Arrow, ArrowHead, ArrowHeadSize, Distance.
  void Assign(const TPersistent* Source) override;

  // The arrow (when its pen is visible) from From over Mid (when DrawMid)
  // to To, then, without an arrow head and when Visible, the pointer on
  // From. Color is the point's colour.
  void Draw(TColor Color, TPointF From, TPointF Mid, TPointF To, int Z, bool DrawMid);

  // White, width 1, visible.
  TKelPen* Arrow() const { return FArrow.get(); }
  void SetArrow(const TKelPen* Value);
  TArrowHeadStyle ArrowHead() const { return FArrowHead; }
  void SetArrowHead(TArrowHeadStyle Value) { SetShapeProperty(FArrowHead, Value); }
  int ArrowHeadSize() const { return FArrowHeadSize; }
  void SetArrowHeadSize(int Value) { SetShapeProperty(FArrowHeadSize, Value); }
  int Distance() const { return FDistance; }
  // Pixel lengths, clamped to +-KelMaxPixelPos.
  void SetDistance(int Value) { SetShapeProperty(FDistance, KelBoundPixel(Value)); }

 private:
  // The arrow pen's colour, or black (white on a black background) when
  // KelCheckMarkArrowColor is set and it equals the point's or the chart's
  // background colour.
  TColor ArrowColor(TColor PointColor) const;

  std::unique_ptr<TKelPen> FArrow;
  TArrowHeadStyle FArrowHead = ahNone;
  int FArrowHeadSize = 8;
  int FDistance = 0;
};

// The callout of a series' marks: hidden by default, with the length by
// which a mark is raised above its point.
class TMarksCallout : public TCallout {
 public:
  explicit TMarksCallout(TChartSeries* Series);

  // The callout's settings, then Length.
  void Assign(const TPersistent* Source) override;

  int Length() const { return FLength; }
  // Clamped to +-KelMaxPixelPos.
  void SetLength(int Value) { SetShapeProperty(FLength, KelBoundPixel(Value)); }
  int DefaultLength() const { return FDefaultLength; }

 private:
  int FLength = 8;
  int FDefaultLength = 8;
};

}  // namespace sextant

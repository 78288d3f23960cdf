// Point symbols and callouts.
//
// Contents
//   [Pointer]   TSeriesPointer: settings, canvas state, the symbol forms
//   [Callout]   TCallout: the arrow and the pointer on the point
//   [Marks]     TMarksCallout
#include "marks/series_pointer.h"

#include <initializer_list>
#include <span>

#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "panel/axis_panel.h"
#include "series/chart_series.h"

namespace sextant {

bool KelCheckMarkArrowColor = false;

namespace {

IShapePanel* ChartOf(const TChartSeries* Series) {
  if (!Series || !Series->ParentChart()) return nullptr;
  return Series->ParentChart();
}

}  // namespace

// ---- [Pointer] -------------------------------------------------------------------

TSeriesPointer::TSeriesPointer(TChartSeries* Series)
    : TKelCustomShapeBrushPen(ChartOf(Series)), FParentSeries(Series) {}

TSeriesPointer::~TSeriesPointer() = default;

void TSeriesPointer::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TSeriesPointer*>(Source);
  if (!src) {
    TKelCustomShapeBrushPen::Assign(Source);
    return;
  }
  if (src == this) return;
  FDark3D = src->FDark3D;
  FDarkPen = src->FDarkPen;
  FDepth = src->FDepth;
  FDraw3D = src->FDraw3D;
  FFullGradient = src->FFullGradient;
  FHorizSize = src->FHorizSize;
  FInflateMargins = src->FInflateMargins;
  FCenterPixel = src->FCenterPixel;
  FSizeFloat = src->FSizeFloat;
  FSizeUnits = src->FSizeUnits;
  FStyle = src->FStyle;
  FTransparency = src->FTransparency;
  FVertSize = src->FVertSize;
  if (src->FShadow) {
    Shadow()->Assign(src->FShadow.get());
  } else {
    FShadow.reset();
  }
  if (src->FEmboss) {
    Emboss()->Assign(src->FEmboss.get());
  } else {
    FEmboss.reset();
  }
  if (src->FPicture) {
    Picture()->Assign(src->FPicture.get());
  } else {
    FPicture.reset();
  }
  TKelCustomShapeBrushPen::Assign(Source);
}

void TSeriesPointer::SetHorizSize(int Value) {
  SetShapeProperty(FHorizSize, Value < 1 ? 1 : Value);
}

void TSeriesPointer::SetVertSize(int Value) { SetShapeProperty(FVertSize, Value < 1 ? 1 : Value); }

void TSeriesPointer::SetSize(int Value) {
  SetHorizSize(Value);
  SetVertSize(Value);
}

TColor TSeriesPointer::Color() const { return FBrush->Color(); }

void TSeriesPointer::SetColor(TColor Value) { FBrush->SetColor(Value); }

TKelShadow* TSeriesPointer::Shadow() {
  if (!FShadow) {
    FShadow = std::make_unique<TKelShadow>(ChangedCallback());
    FShadow->InitValues(false, FShadow->Color(), 3);
  }
  return FShadow.get();
}

void TSeriesPointer::SetShadow(const TKelShadow* Value) {
  if (Value) Shadow()->Assign(Value);
}

TKelEmboss* TSeriesPointer::Emboss() {
  if (!FEmboss) FEmboss = std::make_unique<TKelEmboss>(ChangedCallback());
  return FEmboss.get();
}

void TSeriesPointer::SetEmboss(const TKelEmboss* Value) {
  if (Value) Emboss()->Assign(Value);
}

TKelPicture* TSeriesPointer::Picture() {
  if (!FPicture) FPicture = std::make_unique<TKelPicture>(ChangedCallback());
  return FPicture.get();
}

void TSeriesPointer::SetPicture(const TKelPicture* Value) {
  if (Value) Picture()->Assign(Value);
}

void TSeriesPointer::PrepareCanvas(TCanvas3D& Canvas, TColor C) {
  IPreparedColor = C;
  TColor fill = FBrush->Color();
  if (fill == clKelColor) fill = FBrush->Style() == THostBrushKind::Solid ? C : FBrush->BackColor();

  if (FPen->Visible()) {
    TColor penColor;
    if (FDarkPen != 0) {
      const TColor shaded = FDarkPen > 0 ? ApplyDark(fill, FDarkPen) : ApplyBright(fill, -FDarkPen);
      penColor = ColorFrom(shaded, ColorAlpha(FPen->Color()));
    } else if (FPen->Color() == clKelColor) {
      penColor = C;
    } else {
      penColor = FPen->Color();
    }
    Canvas.AssignVisiblePenColor(FPen.get(), penColor);
  } else {
    // An invisible pen only clears the canvas pen.
    Canvas.AssignVisiblePenColor(FPen.get(), FPen->Color());
  }
  Canvas.AssignBrush(FBrush.get(), fill);
}

TSeriesPointer::TPointerPolygon TSeriesPointer::PolygonOf(TSeriesPointerStyle Style, float L,
                                                          float T, float R, float B, float X,
                                                          float Y) {
  TPointerPolygon p;
  auto set = [&p](std::initializer_list<TPointF> points) {
    p.Count = 0;
    for (TPointF pt : points) p.Points[static_cast<std::size_t>(p.Count++)] = pt;
  };
  const float quarterW = (R - L) * 0.25f;
  const float quarterH = (B - T) * 0.25f;
  switch (Style) {
    case psTriangle: set({{L, B}, {X, T}, {R, B}}); break;
    case psDownTriangle: set({{L, T}, {R, T}, {X, B}}); break;
    case psLeftTriangle: set({{R, T}, {L, Y}, {R, B}}); break;
    case psRightTriangle: set({{L, T}, {R, Y}, {L, B}}); break;
    case psDiamond: set({{X, T}, {R, Y}, {X, B}, {L, Y}}); break;
    case psHexagon:
      set({{L, Y},
           {L + quarterW, T},
           {R - quarterW, T},
           {R, Y},
           {R - quarterW, B},
           {L + quarterW, B}});
      break;
    case psArrow:
      // Pointing right: a shaft half the box high and a head from the centre.
      set({{L, Y - quarterH},
           {X, Y - quarterH},
           {X, T},
           {R, Y},
           {X, B},
           {X, Y + quarterH},
           {L, Y + quarterH}});
      break;
    default: break;
  }
  return p;
}

void TSeriesPointer::DrawPointer(TCanvas3D& Canvas, bool, int X, int Y, int HorizSize, int VertSize,
                                 TColor, TSeriesPointerStyle Style) {
  if (Style == psNothing) return;
  // The box around the point; without CenterPixel its left and top edges
  // lie one pixel further right and down.
  const int extra = FCenterPixel ? 0 : 1;
  const float l = static_cast<float>(X - HorizSize + extra);
  const float t = static_cast<float>(Y - VertSize + extra);
  const float r = static_cast<float>(X + HorizSize);
  const float b = static_cast<float>(Y + VertSize);
  const float cx = static_cast<float>(X);
  const float cy = static_cast<float>(Y);
  const TRectF box{l, t, r, b};
  const TPointerPolygon polygon = PolygonOf(Style, l, t, r, b, cx, cy);
  const std::span<const TPointF> points(polygon.Points.data(),
                                        static_cast<std::size_t>(polygon.Count));

  // Shadow and emboss under the symbol (line styles cast none).
  const bool round = Style == psCircle || Style == psDonut;
  const bool area = round || Style == psRectangle || Style == psSmallDot || polygon.Count > 0;
  bool shaded = false;
  auto shade = [&](TKelShadow* s) {
    if (!s || !s->ShouldDraw() || !area) return;
    if (round) {
      s->DrawEllipse(Canvas, box);
    } else if (polygon.Count > 0) {
      s->Draw(Canvas, points);
    } else {
      s->Draw(Canvas, box);
    }
    shaded = true;
  };
  shade(FShadow.get());
  shade(FEmboss.get());
  if (shaded && IPreparedColor != clKelColor) PrepareCanvas(Canvas, IPreparedColor);

  const bool blending = FTransparency > 0;
  if (blending) Canvas.BeginBlending(box, FTransparency);
  switch (Style) {
    case psRectangle: Canvas.Rectangle(l, t, r + 1, b + 1); break;
    case psCircle: Canvas.Ellipse(l, t, r, b); break;
    case psDonut: Canvas.Donut(box, 0, 360, 50); break;
    case psSmallDot: Canvas.Ellipse(cx - 1, cy - 1, cx + 1, cy + 1); break;
    case psCross:
      Canvas.Line(cx, t, cx, b);
      Canvas.Line(l, cy, r, cy);
      break;
    case psDiagCross:
      Canvas.Line(l, t, r, b);
      Canvas.Line(l, b, r, t);
      break;
    case psStar:
      Canvas.Line(cx, t, cx, b);
      Canvas.Line(l, cy, r, cy);
      Canvas.Line(l, t, r, b);
      Canvas.Line(l, b, r, t);
      break;
    default:
      if (polygon.Count > 0) Canvas.Polygon(points);
      break;
  }
  if (blending) Canvas.EndBlending(nullptr);
}

// ---- [Callout] -------------------------------------------------------------------

TCallout::TCallout(TChartSeries* Series)
    : TSeriesPointer(Series), FArrow(std::make_unique<TWhitePen>(ChangedCallback())) {
  FInflateMargins = true;
  InitFullGradient(true);
  FStyle = psRectangle;
  FVisible = true;
  FDraw3D = false;
  FBrush->InitColor(claBlack);
}

TCallout::~TCallout() = default;

void TCallout::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TCallout*>(Source); src && src != this) {
    FArrow->Assign(src->FArrow.get());
    FArrowHead = src->FArrowHead;
    FArrowHeadSize = src->FArrowHeadSize;
    FDistance = src->FDistance;
  }
  TSeriesPointer::Assign(Source);
}

void TCallout::SetArrow(const TKelPen* Value) {
  if (Value) FArrow->Assign(Value);
}

TColor TCallout::ArrowColor(TColor PointColor) const {
  const TColor own = FArrow->Color();
  if (!KelCheckMarkArrowColor) return own;
  const TCustomAxisPanel* chart = ParentSeries() ? ParentSeries()->ParentChart() : nullptr;
  const TColor back = chart ? chart->GetBackColor() : claWhite;
  if (own != PointColor && own != back) return own;
  return back == ArrowColors[0] ? ArrowColors[1] : ArrowColors[0];
}

void TCallout::Draw(TColor Color, TPointF From, TPointF Mid, TPointF To, int Z, bool DrawMid) {
  IShapePanel* panel = Parent();
  TCanvas3D* canvas = panel ? panel->Canvas() : nullptr;
  if (!canvas) return;
  const bool is3D = panel->View3D();

  if (FArrow->Visible()) {
    // The pointer blends by itself (DrawPointer); the arrow here.
    const bool blending = FTransparency > 0;
    if (blending)
      canvas->BeginBlending(PolygonBounds(std::array<TPointF, 3>{From, Mid, To}), FTransparency);
    PrepareCanvas(*canvas, FBrush->Color());
    if (FArrowHead != ahSolid) canvas->Brush()->SetStyle(THostBrushKind::None);
    canvas->AssignVisiblePenColor(FArrow.get(), ArrowColor(Color));
    if (FArrowHead == ahLine || FArrowHead == ahSolid) {
      // The head sits on the point.
      canvas->Arrow(FArrowHead == ahSolid, To, From, FArrowHeadSize, FArrowHeadSize, Z);
    } else if (is3D) {
      if (DrawMid) {
        canvas->LineWithZ(From, Mid, static_cast<float>(Z));
        canvas->LineWithZ(Mid, To, static_cast<float>(Z));
      } else {
        canvas->LineWithZ(From, To, static_cast<float>(Z));
      }
    } else if (DrawMid) {
      canvas->Line(From, Mid);
      canvas->Line(Mid, To);
    } else {
      canvas->Line(From, To);
    }
    if (blending) canvas->EndBlending(nullptr);
  }

  if (FArrowHead == ahNone && FVisible) {
    PrepareCanvas(*canvas, FBrush->Color());
    const TPointF centre = is3D ? canvas->Calculate3DPosition(From, static_cast<float>(Z)) : From;
    DrawPointer(*canvas, false, KelRound(centre.X), KelRound(centre.Y), FHorizSize, FVertSize,
                Color, FStyle);
  }
}

// ---- [Marks] ---------------------------------------------------------------------

TMarksCallout::TMarksCallout(TChartSeries* Series) : TCallout(Series) { InitVisible(false); }

void TMarksCallout::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TMarksCallout*>(Source)) FLength = src->FLength;
  TCallout::Assign(Source);
}

}  // namespace sextant

#include "canvas/kel_canvas.h"

#include <algorithm>

#include "canvas/canvas3d.h"
#include "canvas/corners.h"
#include "canvas/line_batch_canvas.h"

namespace sextant {

TColor KelMonochromeColor(TColor C) {
  const TColor g = (TColor(GetRValue(C)) + GetGValue(C) + GetBValue(C)) / 3;
  return (C & 0xFF000000u) | (g << 16) | (g << 8) | g;
}

TKelCanvas::TKelCanvas()
    : FBrush(std::make_unique<TKelBrush>()),
      FFont(std::make_unique<TKelFont>()),
      FPen(std::make_unique<TKelPen>()) {
  ConnectPen();
  ConnectBrush();
  FFont->OnChange = [this](TPersistent*) {
    if (!IChangingFont) DoChangedFont(FFont.get());
  };
}

TKelCanvas::~TKelCanvas() = default;

void TKelCanvas::ConnectPen() {
  FPen->OnChange = [this](TPersistent*) { DoChangedPen(FPen.get()); };
}

void TKelCanvas::ConnectBrush() {
  FBrush->OnChange = [this](TPersistent*) { DoChangedBrush(FBrush.get()); };
}

void TKelCanvas::SetCanvas(IHostCanvas* Value) {
  // Lines gathered for the old host reach it before the canvas turns away.
  StopLineBatch();
  FCanvas = Value;
  FHostCanvas = Value;
  const std::string name = Value ? Value->ClassName() : std::string();
  FCanvasIsD2D = name == "TCanvasD2D";
  FCanvasIsGDIP = name == "TCanvasGdiplus";
  FCanvasIsGPU = name == "TCanvasGpu";
  // The new host starts with the canvas' current pen, brush and font, so
  // host state and canvas state never disagree.
  if (FCanvas) {
    DoChangedPen(FPen.get());
    DoChangedBrush(FBrush.get());
    DoChangedFont(FFont.get());
  }
  // An open batch goes on for the new host (when it batches lines too).
  if (ILineBatchDepth > 0) StartLineBatch();
}

// ---- Line batching -------------------------------------------------------------

void TKelCanvas::SetLineBatching(bool Value) {
  if (FLineBatching == Value) return;
  FLineBatching = Value;
  if (!Value)
    StopLineBatch();
  else if (ILineBatchDepth > 0)
    StartLineBatch();
}

void TKelCanvas::BeginLineBatch() {
  if (ILineBatchDepth++ == 0) StartLineBatch();
}

void TKelCanvas::EndLineBatch() {
  if (ILineBatchDepth == 0) return;
  if (--ILineBatchDepth == 0) StopLineBatch();
}

// The batch stands in front of the host: every host call of the canvas
// passes through it, so nothing can overtake the gathered lines.
void TKelCanvas::StartLineBatch() {
  if (IBatchingLines || !FLineBatching || !FHostCanvas || !FHostCanvas->BatchesLines()) return;
  if (!ILineBatch) ILineBatch = std::make_unique<TLineBatchCanvas>();
  ILineBatch->SetTarget(FHostCanvas);
  FCanvas = ILineBatch.get();
  IBatchingLines = true;
}

void TKelCanvas::StopLineBatch() {
  if (!IBatchingLines) return;
  ILineBatch->SetTarget(nullptr);  // hands the gathered lines on
  FCanvas = FHostCanvas;
  IBatchingLines = false;
}

TKelGradient* TKelCanvas::Gradient() const { return FBrush->Gradient(); }

IHostTextLayout* TKelCanvas::Layout() {
  if (!ILayout && FCanvas) ILayout = FCanvas->CreateTextLayout();
  return ILayout.get();
}

// ---- Mapping onto the host ---------------------------------------------------

void TKelCanvas::DoChangedBrush(TKelBrush*) {
  if (!FCanvas) return;
  // Series set the same brush for every point: nothing to hand over when
  // the host already fills with it.
  const THostFill& current = FCanvas->Fill();
  if (current.Kind == FBrush->Kind() && current.Color == FBrush->Color() && current.Bitmap == FBrush->Bitmap())
    return;
  ChangeHostFill([this](THostFill& fill) {
    fill.Kind = FBrush->Kind();
    fill.Color = FBrush->Color();
    fill.Bitmap = FBrush->Bitmap();
  });
}

void TKelCanvas::DoChangedFont(TKelFont*) {
  if (!FCanvas) return;
  FCanvas->SetFont(FFont->HostFont());
}

void TKelCanvas::DoChangedPen(TKelPen*) {
  if (!FCanvas) return;
  ChangeHostStroke([this](THostStroke& stroke) {
    if (!FPen->Visible()) {
      stroke.Kind = THostBrushKind::None;
      return;
    }
    const TKelBrush* fill = FPen->Fill();
    if (fill->HasGradient()) {
      TKelCanvas3D::PrepareGradient(*fill->Gradient(), stroke.Gradient);
      stroke.Kind = THostBrushKind::Gradient;
    } else {
      stroke.Kind = fill->Kind() == THostBrushKind::None ? THostBrushKind::None : THostBrushKind::Solid;
      stroke.Color = fill->Color();
    }
    stroke.Thickness = FPen->Width() == 0 ? 0.1f : FPen->Width();
    switch (FPen->JoinStyle()) {
      case jsRound: stroke.Join = THostStrokeJoin::Round; break;
      case jsBevel: stroke.Join = THostStrokeJoin::Bevel; break;
      case jsMitter: stroke.Join = THostStrokeJoin::Miter; break;
    }
    stroke.Cap = FPen->EndStyle() == esFlat ? THostStrokeCap::Flat : THostStrokeCap::Round;
    if (FPen->SmallDots()) {
      stroke.Dash = THostStrokeDash::Custom;
      stroke.CustomDash.assign({1.0f, static_cast<float>(FPen->SmallSpace() + 1)});
      stroke.DashOffset = 0;
      return;
    }
    switch (FPen->Style()) {
      case psSolid: stroke.Dash = THostStrokeDash::Solid; break;
      case psDash: stroke.Dash = THostStrokeDash::Dash; break;
      case psDot: stroke.Dash = THostStrokeDash::Dot; break;
      case psDashDot: stroke.Dash = THostStrokeDash::DashDot; break;
      case psDashDotDot: stroke.Dash = THostStrokeDash::DashDotDot; break;
      default: break;  // other styles keep the dash as it was
    }
  });
}

void TKelCanvas::PrepareBrush() {
  if (!FCanvas) return;
  // Only a brush of gradient kind fills with its gradient: the kind goes
  // back to solid after each fill, so a gradient lasts one fill.
  if (FBrush->Style() == THostBrushKind::Gradient && FBrush->HasGradient()) {
    ChangeHostFill([this](THostFill& fill) {
      TKelCanvas3D::PrepareGradient(*FBrush->Gradient(), fill.Gradient);
      fill.Kind = THostBrushKind::Gradient;
    });
  } else {
    DoChangedBrush(FBrush.get());
  }
}

// ---- Pen, brush and font ---------------------------------------------------

void TKelCanvas::AssignBrush(const TKelBrush* Brush, TColor Color, TColor BackColor) {
  DisconnectBrush();
  const IHostBitmap* picture = nullptr;
  if (Brush->HasImage() && !Brush->Image()->IsEmpty()) {
    picture = Brush->Image()->Bitmap();
  } else if (Brush->Bitmap() && !Brush->Bitmap()->IsEmpty()) {
    picture = Brush->Bitmap();
  }
  if (picture) {
    // A picture fill: the bitmap fills the next area.
    FBrush->SetStyle(THostBrushKind::Bitmap);
    FBrush->SetBitmap(picture);
  } else {
    FBrush->Assign(Brush);
    if (FBrush->Style() != THostBrushKind::None) FBrush->SetColor(GetMonochrome() ? claWhite : Color);
    FBrush->SetBackColor(BackColor);
  }
  if (Brush->HasGradientObject()) {
    FBrush->Gradient()->Assign(Brush->Gradient());
  } else if (FBrush->HasGradientObject()) {
    FBrush->Gradient()->SetVisible(false);
  }
  // The gradient's visibility switches the kind; the brush's own kind wins.
  if (!picture) FBrush->SetStyle(Brush->Style());
  ConnectBrush();
  DoChangedBrush(FBrush.get());
}

void TKelCanvas::AssignBrush(const TKelBrush* Brush) { AssignBrush(Brush, Brush->BackColor(), Brush->Color()); }

void TKelCanvas::AssignBrush(const TKelBrush* Brush, TColor Color) { AssignBrush(Brush, Color, Brush->Color()); }

void TKelCanvas::AssignBrushColor(const TKelBrush* Brush, TColor Color, TColor BackColor) {
  AssignBrush(Brush, Color, BackColor);
}

void TKelCanvas::AssignVisiblePenColor(const TKelPen* Pen, TColor Color) {
  DisconnectPen();
  if (Pen->Visible()) {
    FPen->Assign(Pen);
    FPen->SetColor(GetMonochrome() ? claBlack : Color);
    if (IZoomPen && FPenZoom != 100) {
      FPen->SetWidth(static_cast<float>(KelRound(std::max(FPenZoom * Pen->Width() * 0.01, 1.0))));
    }
  } else if (FPen->Style() != psClear) {
    FPen->SetStyle(psClear);
  }
  ConnectPen();
  DoChangedPen(FPen.get());
}

void TKelCanvas::AssignVisiblePen(const TKelPen* Pen) { AssignVisiblePenColor(Pen, Pen->Color()); }

void TKelCanvas::AssignFont(const TKelFont* Font) { AssignFontSize(Font, Font->SizeFloat()); }

void TKelCanvas::AssignFontSize(const TKelFont* Font, float Size) {
  if (IZoomText && FFontZoom != 100) Size = static_cast<float>(std::max(FFontZoom * Size * 0.01, 1.0));
  IChangingFont = true;
  FFont->Assign(Font);
  FFont->SetSizeFloat(Size);
  // Monochrome text is black.
  if (GetMonochrome()) FFont->Brush()->SetColor(claBlack);
  IChangingFont = false;
  DoChangedFont(FFont.get());
}

// ---- Transparency ------------------------------------------------------------

float TKelCanvas::Opacity() const { return 1.0f - FTransparency * 0.01f; }

TKelBlend* TKelCanvas::BeginBlending(const TRectF&, std::uint8_t T) {
  ITranspStack.push_back(FTransparency);
  const int t = std::min<int>(T, 100);
  FTransparency = static_cast<std::uint8_t>(100 - KelRound((100 - FTransparency) * (100 - t) * 0.01));
  return nullptr;
}

void TKelCanvas::EndBlending(TKelBlend*) {
  if (ITranspStack.empty()) return;
  FTransparency = ITranspStack.back();
  ITranspStack.pop_back();
}

// ---- Helpers built on other primitives -----------------------------------------

void TKelCanvas::Ellipse(const TRectF& R) {
  Ellipse(static_cast<float>(KelRound(R.Left)), static_cast<float>(KelRound(R.Top)),
          static_cast<float>(KelRound(R.Right)), static_cast<float>(KelRound(R.Bottom)));
}

void TKelCanvas::Frame3D(TRectF& R, TColor TopColor, TColor BottomColor, int Width) {
  DisconnectPen();
  FPen->SetWidth(1);
  FPen->SetStyle(psSolid);
  if (FPen->IsGradientVisible()) FPen->Fill()->Gradient()->SetVisible(false);
  ConnectPen();
  DoChangedPen(FPen.get());
  R.Right -= 1;
  R.Bottom -= 1;
  // Frames further in than the pixel bound lie on no pixel: a width of
  // any size draws at most that many.
  Width = std::min(Width, KelMaxPixelPos);
  for (int i = 0; i < Width; ++i) {
    FPen->SetColor(TopColor);  // notifies the host stroke on a change
    const TPointF top[3] = {{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}};
    Polyline(top);
    FPen->SetColor(BottomColor);
    const TPointF bottom[3] = {{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left - 1, R.Bottom}};
    Polyline(bottom);
    InflateRectF(R, -1, -1);
  }
  R.Right += 1;
  R.Bottom += 1;
}

void TKelCanvas::RoundRect(const TRectF& R, int X, int Y, const TKelCorners* Corners) {
  if (Corners) {
    const THostPath path = Corners->GetPath(R, X, Y);
    if (!FCanvas) return;
    if (FBrush->Style() != THostBrushKind::None) {
      // Same fill protocol as the other areas: one fill, then solid again.
      PrepareBrush();
      FCanvas->FillPath(path, Opacity());
      FBrush->SetStyle(THostBrushKind::Solid);
    }
    if (FPen->Style() != psClear) FCanvas->DrawPath(path, Opacity());
    return;
  }
  RoundRect(KelRound(R.Left), KelRound(R.Top), KelRound(R.Right), KelRound(R.Bottom), X, Y);
}

void TKelCanvas::TextOut(float X, float Y, const std::string& Text, bool) { TextOut(X, Y, Text); }

void TKelCanvas::ClipRectangle(const TRectF& R, float, float) { ClipRectangle(R); }

void TKelCanvas::ClipEllipse(const TRectF& R, bool) { ClipRectangle(R); }

void TKelCanvas::ClipPolygon(std::span<const TPointF> Points) { ClipRectangle(PolygonBounds(Points)); }

void TKelCanvas::DoHorizLine(float X0, float X1, float Y) {
  MoveTo(X0, Y);
  LineTo(X1, Y);
}

void TKelCanvas::DoVertLine(float X, float Y0, float Y1) {
  MoveTo(X, Y0);
  LineTo(X, Y1);
}

void TKelCanvas::Line(float X0, float Y0, float X1, float Y1) {
  MoveTo(X0, Y0);
  LineTo(X1, Y1);
}

void TKelCanvas::GradientFill(const TCustomKelGradient& Gradient, const TRectF& R) {
  if (FCanvas && Gradient.Angle() != 0)
    ChangeHostFill([&](THostFill& fill) { fill.Gradient.RadialAngle = static_cast<float>(Gradient.Angle()); });
  TColor start = Gradient.StartColor();
  TColor mid = Gradient.MidColor();
  TColor end = Gradient.EndColor();
  if (GetMonochrome()) {
    // Opaque greys: a monochrome gradient stays visible.
    start = 0xFF000000u | KelMonochromeColor(start);
    if (mid != 0) mid = 0xFF000000u | KelMonochromeColor(mid);
    end = 0xFF000000u | KelMonochromeColor(end);
  }
  const TGradientDirection dir = Gradient.Direction();
  if (dir == gdRadial) {
    GradientFill(R, start, end, gdRadial, Gradient.Balance(), Gradient.RadialX(), Gradient.RadialY());
    return;
  }
  if (mid != 0 && dir != gdDiagonalUp && dir != gdDiagonalDown) {
    const float my = (R.Top + R.Bottom) * 0.5f;
    const float mx = (R.Left + R.Right) * 0.5f;
    const TRectF upper{R.Left, R.Top, R.Right, my};
    const TRectF lower{R.Left, my, R.Right, R.Bottom};
    const TRectF left{R.Left, R.Top, mx, R.Bottom};
    const TRectF right{mx, R.Top, R.Right, R.Bottom};
    switch (dir) {
      case gdTopBottom:
        GradientFill(upper, mid, end, dir, 50, 0, 0);
        GradientFill(lower, start, mid, dir, 50, 0, 0);
        return;
      case gdBottomTop:
        GradientFill(upper, start, mid, dir, 50, 0, 0);
        GradientFill(lower, mid, end, dir, 50, 0, 0);
        return;
      case gdLeftRight:
        GradientFill(left, mid, end, dir, 50, 0, 0);
        GradientFill(right, start, mid, dir, 50, 0, 0);
        return;
      case gdRightLeft:
        GradientFill(left, start, mid, dir, 50, 0, 0);
        GradientFill(right, mid, end, dir, 50, 0, 0);
        return;
      default:
        GradientFill(R, start, end, dir, 50, 0, 0);
        return;
    }
  }
  GradientFill(R, start, end, dir, Gradient.Balance(), 0, 0);
}

int TKelCanvas::FontHeight() { return TextHeight("W"); }

void TKelCanvas::ResetState() {
  DisconnectPen();
  FPen->SetColor(claBlack);
  FPen->SetWidth(1);
  FPen->SetStyle(psSolid);
  ConnectPen();

  DisconnectBrush();
  FBrush->SetColor(claWhite);
  FBrush->SetStyle(THostBrushKind::Solid);
  FBrush->SetImage(nullptr);
  FBrush->SetBitmap(nullptr);
  FBrush->Gradient()->InitDefaults();
  ConnectBrush();

  IChangingFont = true;
  FFont->SetColor(claBlack);
  FFont->SetStyle(0);
  FFont->SetWeight(KelFontWeightRegular);
  FFont->SetSlant(KelFontSlantRegular);
  FFont->SetStretch(KelFontStretchRegular);
  FFont->SetFamily(KelDefaultFontName());
  FFont->SetSize(static_cast<float>(KelDefaultFontSize()));
  IChangingFont = false;

  SetBackColor(claWhite);
  SetBackMode(cbmTransparent);
  SetTextAlign(0);

  DoChangedPen(FPen.get());
  DoChangedBrush(FBrush.get());
  DoChangedFont(FFont.get());
}

}  // namespace sextant

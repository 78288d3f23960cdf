#include "canvas/text_shape.h"

#include <algorithm>

#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "canvas/kel_exceptions.h"
#include "canvas/pen.h"

namespace sextant {

// ---- [Margins] -----------------------------------------------------------------

void TMargins::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TMargins*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FLeft = src->FLeft;
  FTop = src->FTop;
  FRight = src->FRight;
  FBottom = src->FBottom;
  FUnits = src->FUnits;
  if (IParent) IParent->Repaint();
}

void TMargins::SetValue(int& Variable, int Value) {
  if (Variable == Value) return;
  Variable = Value;
  if (IParent) IParent->Repaint();
}

void TMargins::SetUnits(TMarginUnits Value) {
  if (FUnits == Value) return;
  FUnits = Value;
  if (IParent) IParent->Repaint();
}

void TMargins::InitHoriz(int Value) {
  FLeft = Value;
  FRight = Value;
  FDefaultHoriz = Value;
}

void TMargins::InitVert(int Value) {
  FTop = Value;
  FBottom = Value;
  FDefaultVert = Value;
}

void TMargins::Calculate(float W, float H, float F) {
  switch (FUnits) {
    case maPercentFont:
      ILast = {static_cast<float>(FLeft * F * 0.01), static_cast<float>(FTop * F * 0.01),
               static_cast<float>(FRight * F * 0.01), static_cast<float>(FBottom * F * 0.01)};
      break;
    case maPercentSize:
      ILast = {static_cast<float>(FLeft * W * 0.01), static_cast<float>(FTop * H * 0.01),
               static_cast<float>(FRight * W * 0.01), static_cast<float>(FBottom * H * 0.01)};
      break;
    case maPixels:
      ILast = {static_cast<float>(FLeft), static_cast<float>(FTop), static_cast<float>(FRight),
               static_cast<float>(FBottom)};
      break;
  }
}

// ---- [TextShape] ---------------------------------------------------------------

TCustomTextShape::TCustomTextShape(IShapePanel* Parent)
    : TKelCustomShape(Parent), FMargins(std::make_unique<TMargins>(this)) {}

TCustomTextShape::~TCustomTextShape() = default;

std::unique_ptr<TKelCustomShape> TCustomTextShape::Create(IShapePanel* Parent) const {
  return std::make_unique<TCustomTextShape>(Parent);
}

TKelShapeClass TCustomTextShape::GetChildClass() const {
  return [](IShapePanel* Parent) -> std::unique_ptr<TKelCustomShape> {
    return std::make_unique<TTextShape>(Parent);
  };
}

void TCustomTextShape::Assign(const TPersistent* Source) {
  TKelCustomShape::Assign(Source);
  const auto* src = dynamic_cast<const TCustomTextShape*>(Source);
  if (!src || src == this) return;
  FClipText = src->FClipText;
  FCursor = src->FCursor;
  FMargins->Assign(src->FMargins.get());
  FTextAlign = src->FTextAlign;
  FTextFormat = src->FTextFormat;
  FVertTextAlign = src->FVertTextAlign;
  SetText(src->FText);
}

void TCustomTextShape::SetMargins(const TMargins* Value) {
  if (Value) FMargins->Assign(Value);
}

void TCustomTextShape::InitTextAlignment(TAlignment Value) {
  FTextAlign = Value;
  IDefaultTextAlign = Value;
}

void TCustomTextShape::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  ChangedText();
}

void TCustomTextShape::ChangedText() { Repaint(); }

void TCustomTextShape::PrepareFont(IShapePanel* Panel) {
  if (IDraw2D) {
    Panel->TryAssignFont(FFont.get());
  } else {
    Panel->PrepareFont3D(FFont.get());
  }
}

TPointF TCustomTextShape::CalcTextSize(IShapePanel* Panel, int& NumLines) {
  PrepareFont(Panel);
  return Panel->MultiLineTextSize(FText, FTextFormat, NumLines);
}

void TCustomTextShape::CalcBounds(IShapePanel* Panel) {
  TKelCustomShape::CalcBounds(Panel);
  INumLines = 0;
  ITextExtent = {};
  if (FText.empty() || !Panel || !Panel->Canvas()) return;
  const TPointF size = CalcTextSize(Panel, INumLines);
  if (!FAutoSize) return;

  int W = KelRound(size.X);
  int H = KelRound(size.Y);
  const int F = H;  // height of the whole text block
  if (!FTransparent && FPen->Visible()) {
    const int frame = KelRound(FPen->Width()) + 1;
    W += frame;
    H += frame;
  }
  if (FTransparent) {
    FMargins->ILast = {};
  } else {
    FMargins->Calculate(static_cast<float>(W), static_cast<float>(H), static_cast<float>(F));
  }
  const TRectF& m = FMargins->ILast;
  const int horiz = KelRound(m.Left + m.Right);
  const int vert = KelRound(m.Top + m.Bottom);
  W += 2 * horiz;

  TRectF& b = FShapeBounds;
  if (FChildLayout == slTopBottom) {
    if (W > b.Width()) b.Right = b.Left + W;
    b.Bottom += vert + H;
    ITextExtent = {static_cast<float>(W), static_cast<float>(vert + H)};
  } else {
    if (H > b.Height()) b.Bottom = b.Top + H;
    b.Right += horiz + W;
    ITextExtent = {static_cast<float>(horiz + W), static_cast<float>(H)};
  }
}

TPointF TCustomTextShape::FirstChildPos(const TRectF& R) const {
  if (FChildLayout == slTopBottom) return {R.Left, R.Top + ITextExtent.Y};
  return {R.Left + ITextExtent.X, R.Top};
}

void TCustomTextShape::DoDraw(IShapePanel* Panel, std::span<const TPointF> Points, int Z, int Angle,
                              const TRectF& R) {
  TKelCustomShape::DoDraw(Panel, Points, Z, Angle, R);
  DoDrawText(Panel, R, Z, Angle);
}

void TCustomTextShape::DoDraw(IShapePanel* Panel, const TRectF& R, int Z, int Angle) {
  TKelCustomShape::DoDraw(Panel, R, Z, Angle);
  DoDrawText(Panel, R, Z, Angle);
}

float TCustomTextShape::CalcTextAlign(TCanvas3D& Canvas, const TRectF& R) {
  switch (FTextAlign) {
    case taCenter:
      Canvas.SetTextAlign(KelTA_Center);
      return (R.Left + R.Right) * 0.5f;
    case taRightJustify:
      Canvas.SetTextAlign(KelTA_Right);
      return R.Right - FMargins->ILast.Right;
    case taLeftJustify:
      break;
  }
  Canvas.SetTextAlign(KelTA_Left);
  return R.Left + FMargins->ILast.Left;
}

namespace {

// Clips the canvas to a rectangle for its lifetime: the clip is removed
// also when drawing the text fails.
class TClipGuard {
 public:
  TClipGuard(TCanvas3D& Canvas, const TRectF& R, bool Active) : FCanvas(Canvas), FActive(Active) {
    if (FActive) FCanvas.ClipRectangle(R);
  }
  ~TClipGuard() {
    if (FActive) FCanvas.UnClipRectangle();
  }
  TClipGuard(const TClipGuard&) = delete;
  TClipGuard& operator=(const TClipGuard&) = delete;

 private:
  TCanvas3D& FCanvas;
  bool FActive;
};

}  // namespace

void TCustomTextShape::DoDrawText(IShapePanel* Panel, const TRectF& R, int Z, int Angle) {
  if (!Panel || !Panel->Canvas()) return;
  TCanvas3D& canvas = *Panel->Canvas();

  // 1. Transparent background, the shape's font.
  canvas.SetBackMode(cbmTransparent);
  PrepareFont(Panel);

  // 2. Line feeds go (CR alone separates lines); an empty text is a space.
  std::string text;
  text.reserve(FText.size());
  for (char c : FText) {
    if (c != '\n') text.push_back(c);
  }
  if (text.empty()) text = " ";

  // 3. - 5. Start of the first line and the rotation centre.
  int y = KelRound(R.Top + FMargins->ILast.Top);
  if (!FTransparent && FPen->Visible()) y += KelRound(FPen->Width()) / 2 + 1;
  const int x = KelRound(CalcTextAlign(canvas, R)) + ITextOffset;
  IRotationCenter = {(R.Left + R.Right) * 0.5f, (R.Top + R.Bottom) * 0.5f};

  // 6. Clip to the box when the text may overflow it.
  const bool clip = FClipText && (ITextOffset != 0 || (!FAutoSize && Angle == 0));
  const TClipGuard guard(canvas, R, clip);

  // 7. The lines, one "W" height apart (HTML lines by their own height).
  const bool html = FTextFormat == ttfHtml;
  int lineHeight = -1;
  std::size_t start = 0;
  for (int i = 0; i < INumLines; ++i) {
    std::string line;
    if (start <= text.size()) {
      std::size_t end = text.find(KelLineSeparator, start);
      if (end == std::string::npos) end = text.size();
      line = text.substr(start, end - start);
      start = end + 1;
    }
    if (!line.empty()) DrawString(Panel, x, y, Z, Angle, line, html);
    if (INumLines > 1) {
      if (html) {
        y += canvas.TextHeight(line);
      } else {
        if (lineHeight < 0) lineHeight = canvas.TextHeight("W");
        y += lineHeight;
      }
    }
  }
}

void TCustomTextShape::DrawString(IShapePanel* Panel, int X, int Y, int Z, int Angle,
                                  const std::string& S, bool AllowMarkup) {
  TCanvas3D& canvas = *Panel->Canvas();
  // Depth 0 is drawn flat when the projection leaves the front plane where
  // it is; a 3D view moved by its offsets or zoom moves depth 0 too.
  const bool flat =
      IDraw2D || (Z == 0 && !canvas.SupportsFullRotation() &&
                  canvas.Calculate3DPosition(static_cast<float>(X), static_cast<float>(Y), 0.0f) ==
                      TPointF{static_cast<float>(X), static_cast<float>(Y)});
  if (Angle != 0) {
    // The canvas turns a label about its own reference point; turning that
    // point about the box centre first makes the whole text turn about the
    // centre, together with the box outline.
    const TPointF p = KelTurnPoint({static_cast<float>(X), static_cast<float>(Y)}, IRotationCenter,
                                   Angle);
    const int px = KelRound(p.X);
    const int py = KelRound(p.Y);
    if (flat) {
      canvas.RotateLabel(px, py, S, Angle, AllowMarkup);
    } else {
      canvas.RotateLabel3D(px, py, Z, S, Angle, AllowMarkup);
    }
  } else if (flat) {
    canvas.TextOut(static_cast<float>(X), static_cast<float>(Y), S, AllowMarkup);
  } else {
    canvas.TextOut3D(X, Y, Z, S, AllowMarkup);
  }
}

// ---- [Position] ----------------------------------------------------------------

std::unique_ptr<TKelCustomShape> TKelCustomShapePosition::Create(IShapePanel* Parent) const {
  return std::make_unique<TKelCustomShapePosition>(Parent);
}

void TKelCustomShapePosition::Assign(const TPersistent* Source) {
  TCustomTextShape::Assign(Source);
  const auto* src = dynamic_cast<const TKelCustomShapePosition*>(Source);
  if (!src || src == this) return;
  FCustomPosition = src->FCustomPosition;
  if (FCustomPosition) {
    FShapeBounds.Left = static_cast<float>(src->Left());
    FShapeBounds.Top = static_cast<float>(src->Top());
  }
}

void TKelCustomShapePosition::InitCustomPosition(bool Value) {
  FCustomPosition = Value;
  FDefaultCustom = Value;
}

void TKelCustomShapePosition::SetEdge(float& Edge, int Value) {
  SetCustomPosition(true);
  if (FParent) {
    FParent->SetSingleProperty(Edge, static_cast<float>(Value));
  } else {
    Edge = static_cast<float>(Value);
  }
}

void TKelCustomShapePosition::SetLeft(int Value) { SetEdge(FShapeBounds.Left, Value); }
void TKelCustomShapePosition::SetTop(int Value) { SetEdge(FShapeBounds.Top, Value); }

// ---- [Published] ---------------------------------------------------------------

std::unique_ptr<TKelCustomShape> TTextShape::Create(IShapePanel* Parent) const {
  return std::make_unique<TTextShape>(Parent);
}

// ---- [Strings] -----------------------------------------------------------------

void TKelStringList::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelStringList*>(Source);
  if (!src) AssignError(Source);
  if (src == this || src->FLines == FLines) return;
  FLines = src->FLines;
  Changed();
}

void TKelStringList::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index > Limit)
    KelRaiseIndex("List", Index, Limit);
}

const std::string& TKelStringList::Strings(int Index) const {
  CheckIndex(Index, Count() - 1);
  return FLines[static_cast<std::size_t>(Index)];
}

void TKelStringList::SetStrings(int Index, const std::string& Value) {
  CheckIndex(Index, Count() - 1);
  std::string& line = FLines[static_cast<std::size_t>(Index)];
  if (line == Value) return;
  line = Value;
  Changed();
}

void TKelStringList::Add(const std::string& Value) {
  FLines.push_back(Value);
  Changed();
}

void TKelStringList::Insert(int Index, const std::string& Value) {
  CheckIndex(Index, Count());
  FLines.insert(FLines.begin() + Index, Value);
  Changed();
}

void TKelStringList::Delete(int Index) {
  CheckIndex(Index, Count() - 1);
  FLines.erase(FLines.begin() + Index);
  Changed();
}

void TKelStringList::Clear() {
  if (FLines.empty()) return;
  FLines.clear();
  Changed();
}

std::string TKelStringList::Text() const {
  std::string result;
  for (const std::string& line : FLines) {
    result += line;
    result += "\r\n";
  }
  return result;
}

void TKelStringList::SetText(const std::string& Value) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  const std::size_t n = Value.size();
  while (i < n) {
    std::size_t end = i;
    while (end < n && Value[end] != '\r' && Value[end] != '\n') ++end;
    lines.push_back(Value.substr(i, end - i));
    if (end < n && Value[end] == '\r' && end + 1 < n && Value[end + 1] == '\n') ++end;
    i = end + 1;
  }
  if (lines == FLines) return;
  FLines = std::move(lines);
  Changed();
}

TStringsShape::TStringsShape(IShapePanel* Parent)
    : TTextShape(Parent),
      FLines(std::make_unique<TKelStringList>([this](TPersistent* Sender) { LinesChanged(Sender); })) {}

TStringsShape::~TStringsShape() = default;

std::unique_ptr<TKelCustomShape> TStringsShape::Create(IShapePanel* Parent) const {
  return std::make_unique<TStringsShape>(Parent);
}

namespace {

// Sets a flag for its lifetime.
class TFlagGuard {
 public:
  explicit TFlagGuard(bool& Flag) : FFlag(Flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }
  TFlagGuard(const TFlagGuard&) = delete;
  TFlagGuard& operator=(const TFlagGuard&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

void TStringsShape::SetLines(const TKelStringList* Value) {
  if (Value) FLines->Assign(Value);
}

std::string TStringsShape::Caption() const {
  return FLines->Count() > 0 ? FLines->Strings(0) : std::string();
}

void TStringsShape::SetCaption(const std::string& Value) { FLines->SetText(Value); }

void TStringsShape::LinesChanged(TPersistent*) {
  if (IUpdating) return;
  const TFlagGuard guard(IUpdating);
  std::string text = FLines->Text();
  if (text.size() > 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  SetText(text);
  if (FParent) FParent->Invalidate();
}

void TStringsShape::ChangedText() {
  if (!IUpdating) {
    const TFlagGuard guard(IUpdating);
    FLines->SetText(Text());
  }
  TTextShape::ChangedText();
}

}  // namespace sextant

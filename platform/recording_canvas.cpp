#include "platform/recording_canvas.h"

#include <algorithm>

namespace sextant {

const char* RecordKindName(TRecordKind Kind) {
  switch (Kind) {
    case rkBeginScene: return "BeginScene";
    case rkEndScene: return "EndScene";
    case rkSaveState: return "SaveState";
    case rkRestoreState: return "RestoreState";
    case rkIntersectClip: return "IntersectClip";
    case rkSetMatrix: return "SetMatrix";
    case rkFillRect: return "FillRect";
    case rkDrawRect: return "DrawRect";
    case rkFillEllipse: return "FillEllipse";
    case rkDrawEllipse: return "DrawEllipse";
    case rkDrawLine: return "DrawLine";
    case rkDrawArc: return "DrawArc";
    case rkFillPath: return "FillPath";
    case rkDrawPath: return "DrawPath";
    case rkDrawPolyline: return "DrawPolyline";
    case rkDrawBitmap: return "DrawBitmap";
    case rkRenderLayout: return "RenderLayout";
    case rkTextToPath: return "TextToPath";
    case rkCreateTextLayout: return "CreateTextLayout";
    case rkCreateBitmap: return "CreateBitmap";
    case rkDrawConnectedLines: return "DrawConnectedLines";
  }
  return "?";
}

// ---- Metrics ---------------------------------------------------------------

std::size_t Utf8CodePoints(const std::string& Text) {
  // Every byte that is not a continuation byte (10xxxxxx) starts a code point.
  return static_cast<std::size_t>(std::count_if(Text.begin(), Text.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

TPointF RecordingTextSize(const std::string& Text, const THostFont& Font) {
  const float factor = (Font.Bold || Font.Weight >= 6) ? 0.6f : 0.5f;
  return {static_cast<float>(Utf8CodePoints(Text)) * Font.Size * factor, Font.Size * 1.25f};
}

TRectF TRecordingTextLayout::TextRect() {
  const TPointF size = RecordingTextSize(FText, FFont);
  return {FTopLeft.X, FTopLeft.Y, FTopLeft.X + size.X, FTopLeft.Y + size.Y};
}

// ---- Bitmap ----------------------------------------------------------------------

TRecordingBitmap::TRecordingBitmap(int width, int height, float scale)
    : FWidth(std::max(width, 0)),
      FHeight(std::max(height, 0)),
      FScale(scale),
      FPixels(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), 0),
      FCanvas(std::make_unique<TRecordingCanvas>()) {
  FCanvas->SetScale(scale);
}

TRecordingBitmap::~TRecordingBitmap() = default;

void TRecordingBitmap::SetSize(int width, int height) {
  FWidth = std::max(width, 0);
  FHeight = std::max(height, 0);
  FPixels.assign(static_cast<std::size_t>(FWidth) * static_cast<std::size_t>(FHeight), 0);
}

void TRecordingBitmap::Clear(TColor color) {
  std::fill(FPixels.begin(), FPixels.end(), color);
  FClearColor = color;
  ++FClearCount;
}

IHostCanvas& TRecordingBitmap::Canvas() { return *FCanvas; }

TColor TRecordingBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  return FPixels[static_cast<std::size_t>(y) * FWidth + x];
}

void TRecordingBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  FPixels[static_cast<std::size_t>(y) * FWidth + x] = color;
}

// ---- Canvas ------------------------------------------------------------------------

TRecordingCanvas::TRecordingCanvas() = default;
TRecordingCanvas::~TRecordingCanvas() = default;

TRecordedOp& TRecordingCanvas::Record(TRecordKind Kind) {
  TRecordedOp& op = FRecording ? FOps.emplace_back() : FScratch;
  op.Kind = Kind;
  if (FRecording) {
    op.Stroke = FState.Stroke();
    op.Fill = FState.Fill();
    op.Font = FState.Font();
    op.Matrix = FMatrix;
    op.Clip = FClip;
  }
  return op;
}

void TRecordingCanvas::SetStroke(const THostStroke& Value) { FStateChanges += FState.SetStroke(Value); }

void TRecordingCanvas::SetFill(const THostFill& Value) { FStateChanges += FState.SetFill(Value); }

void TRecordingCanvas::SetFont(const THostFont& Value) { FStateChanges += FState.SetFont(Value); }

bool TRecordingCanvas::BeginScene() {
  Record(rkBeginScene);
  if (FailBeginScene) return false;
  ++FSceneDepth;
  return true;
}

void TRecordingCanvas::EndScene() {
  Record(rkEndScene);
  if (FSceneDepth > 0) --FSceneDepth;
}

IHostCanvas::StateHandle TRecordingCanvas::SaveState() {
  const StateHandle h = FNextState++;
  FSaved[h] = {FClip, FMatrix};
  Record(rkSaveState).State = h;
  return h;
}

void TRecordingCanvas::RestoreState(StateHandle state) {
  Record(rkRestoreState).State = state;
  auto it = FSaved.find(state);
  if (it == FSaved.end()) return;
  FClip = it->second.Clip;
  FMatrix = it->second.Matrix;
  FSaved.erase(it);
}

void TRecordingCanvas::IntersectClipRect(const TRectF& r) {
  Record(rkIntersectClip).Rect = r;
  const TRectF n = OrientRectangle(r);
  if (!FClip) {
    FClip = n;
  } else {
    TRectF c = *FClip;
    c.Left = std::max(c.Left, n.Left);
    c.Top = std::max(c.Top, n.Top);
    c.Right = std::min(c.Right, n.Right);
    c.Bottom = std::min(c.Bottom, n.Bottom);
    if (c.Right < c.Left) c.Right = c.Left;
    if (c.Bottom < c.Top) c.Bottom = c.Top;
    FClip = c;
  }
}

void TRecordingCanvas::SetMatrix(const TKelMatrix& m) {
  FMatrix = m;
  Record(rkSetMatrix);
}

void TRecordingCanvas::FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                                float opacity, THostCornerType cornerType) {
  TRecordedOp& op = Record(rkFillRect);
  op.Rect = r;
  op.XRadius = xRadius;
  op.YRadius = yRadius;
  op.Corners = corners;
  op.Opacity = opacity;
  op.CornerType = cornerType;
}

void TRecordingCanvas::DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                                float opacity, THostCornerType cornerType) {
  TRecordedOp& op = Record(rkDrawRect);
  op.Rect = r;
  op.XRadius = xRadius;
  op.YRadius = yRadius;
  op.Corners = corners;
  op.Opacity = opacity;
  op.CornerType = cornerType;
}

void TRecordingCanvas::FillEllipse(const TRectF& r, float opacity) {
  TRecordedOp& op = Record(rkFillEllipse);
  op.Rect = r;
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawEllipse(const TRectF& r, float opacity) {
  TRecordedOp& op = Record(rkDrawEllipse);
  op.Rect = r;
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawLine(TPointF p1, TPointF p2, float opacity) {
  TRecordedOp& op = Record(rkDrawLine);
  op.P1 = p1;
  op.P2 = p2;
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
                               float opacity) {
  TRecordedOp& op = Record(rkDrawArc);
  op.P1 = center;
  op.P2 = radius;
  op.StartAngle = startAngle;
  op.SweepAngle = sweepAngle;
  op.Opacity = opacity;
}

void TRecordingCanvas::FillPath(const THostPath& path, float opacity) {
  TRecordedOp& op = Record(rkFillPath);
  if (FRecording) op.Path = path;
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawPath(const THostPath& path, float opacity) {
  TRecordedOp& op = Record(rkDrawPath);
  if (FRecording) op.Path = path;
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawPolyline(const TPointF* points, std::size_t count, float opacity) {
  TRecordedOp& op = Record(rkDrawPolyline);
  if (FRecording) op.Points.assign(points, points + count);
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) {
  if (!BatchLines) {
    IHostCanvas::DrawConnectedLines(points, count, opacity);
    return;
  }
  TRecordedOp& op = Record(rkDrawConnectedLines);
  if (FRecording) op.Points.assign(points, points + count);
  op.Opacity = opacity;
}

void TRecordingCanvas::DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst,
                                  float opacity, bool highSpeed) {
  TRecordedOp& op = Record(rkDrawBitmap);
  op.Bitmap = &bitmap;
  op.SrcRect = src;
  op.Rect = dst;
  op.Opacity = opacity;
  op.HighSpeed = highSpeed;
}

std::unique_ptr<IHostTextLayout> TRecordingCanvas::CreateTextLayout() {
  ++FLayoutsCreated;
  Record(rkCreateTextLayout);
  return std::make_unique<TRecordingTextLayout>();
}

void TRecordingCanvas::RenderLayout(IHostTextLayout& layout) {
  TRecordedOp& op = Record(rkRenderLayout);
  if (!FRecording) return;
  op.Rect = layout.TextRect();
  if (auto* rec = dynamic_cast<TRecordingTextLayout*>(&layout)) {
    op.Text = rec->Text();
    op.TextColor = rec->Color();
    op.Opacity = rec->Opacity();
    op.Font = rec->Font();
  }
}

bool TRecordingCanvas::TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                                  const TRectF& area) {
  TRecordedOp& op = Record(rkTextToPath);
  if (FRecording) {
    op.Text = text;
    op.Font = font;
    op.Rect = area;
  }
  if (FailTextToPath) return false;
  // One rectangle per text, at the area's top-left, of the text's size.
  const TPointF size = RecordingTextSize(text, font);
  const float l = area.Left, t = area.Top;
  path.Clear();
  path.MoveTo({l, t});
  path.LineTo({l + size.X, t});
  path.LineTo({l + size.X, t + size.Y});
  path.LineTo({l, t + size.Y});
  path.ClosePath();
  if (FRecording) op.Path = path;
  return true;
}

std::unique_ptr<IHostBitmap> TRecordingCanvas::CreateBitmap(int width, int height, float scale) {
  ++FBitmapsCreated;
  Record(rkCreateBitmap).Rect = {0, 0, static_cast<float>(width), static_cast<float>(height)};
  return std::make_unique<TRecordingBitmap>(width, height, scale);
}

// ---- Queries -------------------------------------------------------------------------

std::size_t TRecordingCanvas::Count(TRecordKind Kind) const {
  return static_cast<std::size_t>(
      std::count_if(FOps.begin(), FOps.end(), [Kind](const TRecordedOp& op) { return op.Kind == Kind; }));
}

std::vector<const TRecordedOp*> TRecordingCanvas::OpsOf(TRecordKind Kind) const {
  std::vector<const TRecordedOp*> result;
  for (const TRecordedOp& op : FOps) {
    if (op.Kind == Kind) result.push_back(&op);
  }
  return result;
}

const TRecordedOp* TRecordingCanvas::Last(TRecordKind Kind) const {
  for (auto it = FOps.rbegin(); it != FOps.rend(); ++it) {
    if (it->Kind == Kind) return &*it;
  }
  return nullptr;
}

std::vector<TRecordKind> TRecordingCanvas::Kinds() const {
  std::vector<TRecordKind> result;
  result.reserve(FOps.size());
  for (const TRecordedOp& op : FOps) result.push_back(op.Kind);
  return result;
}

std::vector<std::pair<TPointF, TPointF>> TRecordingCanvas::Lines() const {
  std::vector<std::pair<TPointF, TPointF>> result;
  for (const TRecordedOp& op : FOps) {
    if (op.Kind == rkDrawLine) result.emplace_back(op.P1, op.P2);
  }
  return result;
}

std::vector<std::pair<TPointF, TPointF>> TRecordingCanvas::Segments() const {
  std::vector<std::pair<TPointF, TPointF>> result;
  for (const TRecordedOp& op : FOps) {
    if (op.Kind == rkDrawLine) result.emplace_back(op.P1, op.P2);
    if (op.Kind == rkDrawConnectedLines)
      for (std::size_t i = 1; i < op.Points.size(); ++i) result.emplace_back(op.Points[i - 1], op.Points[i]);
  }
  return result;
}

std::vector<std::string> TRecordingCanvas::Texts() const {
  std::vector<std::string> result;
  for (const TRecordedOp& op : FOps) {
    if (op.Kind == rkRenderLayout) result.push_back(op.Text);
  }
  return result;
}

}  // namespace sextant

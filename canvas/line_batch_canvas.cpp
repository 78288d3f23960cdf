#include "canvas/line_batch_canvas.h"

namespace sextant {

void TLineBatchCanvas::SetTarget(IHostCanvas* Value) {
  Flush();
  FTarget = Value;
}

void TLineBatchCanvas::Flush() {
  if (FPoints.size() >= 2 && FTarget) FTarget->DrawConnectedLines(FPoints.data(), FPoints.size(), FOpacity);
  FPoints.clear();
}

// A line that starts where the gathered ones end, with their opacity,
// extends them; any other starts a new run.
void TLineBatchCanvas::DrawLine(TPointF p1, TPointF p2, float opacity) {
  if (FPoints.empty() || opacity != FOpacity || !(FPoints.back() == p1)) {
    Flush();
    FOpacity = opacity;
    FPoints.push_back(p1);
  }
  FPoints.push_back(p2);
}

std::string TLineBatchCanvas::ClassName() const { return FTarget ? FTarget->ClassName() : std::string(); }

float TLineBatchCanvas::Scale() const { return FTarget ? FTarget->Scale() : 1.0f; }

std::uint8_t TLineBatchCanvas::Features() const { return FTarget ? FTarget->Features() : 0; }

const THostStroke& TLineBatchCanvas::Stroke() const { return FTarget ? FTarget->Stroke() : FNoTarget.Stroke(); }

const THostFill& TLineBatchCanvas::Fill() const { return FTarget ? FTarget->Fill() : FNoTarget.Fill(); }

const THostFont& TLineBatchCanvas::Font() const { return FTarget ? FTarget->Font() : FNoTarget.Font(); }

// The gathered lines were drawn with the state in force: they reach the
// target before it changes.
void TLineBatchCanvas::SetStroke(const THostStroke& Value) {
  if (!FTarget) {
    FNoTarget.SetStroke(Value);
  } else if (!(Value == FTarget->Stroke())) {
    Flush();
    FTarget->SetStroke(Value);
  }
}

void TLineBatchCanvas::SetFill(const THostFill& Value) {
  if (!FTarget) {
    FNoTarget.SetFill(Value);
  } else if (!(Value == FTarget->Fill())) {
    Flush();
    FTarget->SetFill(Value);
  }
}

void TLineBatchCanvas::SetFont(const THostFont& Value) {
  if (!FTarget) {
    FNoTarget.SetFont(Value);
  } else if (!(Value == FTarget->Font())) {
    Flush();
    FTarget->SetFont(Value);
  }
}

bool TLineBatchCanvas::BeginScene() {
  Flush();
  return FTarget && FTarget->BeginScene();
}

void TLineBatchCanvas::EndScene() {
  Flush();
  if (FTarget) FTarget->EndScene();
}

IHostCanvas::StateHandle TLineBatchCanvas::SaveState() {
  Flush();
  return FTarget ? FTarget->SaveState() : 0;
}

void TLineBatchCanvas::RestoreState(StateHandle state) {
  Flush();
  if (FTarget) FTarget->RestoreState(state);
}

void TLineBatchCanvas::IntersectClipRect(const TRectF& r) {
  Flush();
  if (FTarget) FTarget->IntersectClipRect(r);
}

TKelMatrix TLineBatchCanvas::Matrix() const { return FTarget ? FTarget->Matrix() : TKelMatrix::Identity(); }

void TLineBatchCanvas::SetMatrix(const TKelMatrix& m) {
  Flush();
  if (FTarget) FTarget->SetMatrix(m);
}

void TLineBatchCanvas::FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                                float opacity, THostCornerType cornerType) {
  Flush();
  if (FTarget) FTarget->FillRect(r, xRadius, yRadius, corners, opacity, cornerType);
}

void TLineBatchCanvas::DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                                float opacity, THostCornerType cornerType) {
  Flush();
  if (FTarget) FTarget->DrawRect(r, xRadius, yRadius, corners, opacity, cornerType);
}

void TLineBatchCanvas::FillEllipse(const TRectF& r, float opacity) {
  Flush();
  if (FTarget) FTarget->FillEllipse(r, opacity);
}

void TLineBatchCanvas::DrawEllipse(const TRectF& r, float opacity) {
  Flush();
  if (FTarget) FTarget->DrawEllipse(r, opacity);
}

void TLineBatchCanvas::DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
                               float opacity) {
  Flush();
  if (FTarget) FTarget->DrawArc(center, radius, startAngle, sweepAngle, opacity);
}

void TLineBatchCanvas::FillPath(const THostPath& path, float opacity) {
  Flush();
  if (FTarget) FTarget->FillPath(path, opacity);
}

void TLineBatchCanvas::DrawPath(const THostPath& path, float opacity) {
  Flush();
  if (FTarget) FTarget->DrawPath(path, opacity);
}

void TLineBatchCanvas::DrawPolyline(const TPointF* points, std::size_t count, float opacity) {
  Flush();
  if (FTarget) FTarget->DrawPolyline(points, count, opacity);
}

void TLineBatchCanvas::DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) {
  Flush();
  if (FTarget) FTarget->DrawConnectedLines(points, count, opacity);
}

void TLineBatchCanvas::DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst,
                                  float opacity, bool highSpeed) {
  Flush();
  if (FTarget) FTarget->DrawBitmap(bitmap, src, dst, opacity, highSpeed);
}

std::unique_ptr<IHostTextLayout> TLineBatchCanvas::CreateTextLayout() {
  Flush();
  return FTarget ? FTarget->CreateTextLayout() : nullptr;
}

void TLineBatchCanvas::RenderLayout(IHostTextLayout& layout) {
  Flush();
  if (FTarget) FTarget->RenderLayout(layout);
}

bool TLineBatchCanvas::TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                                  const TRectF& area) {
  Flush();
  return FTarget && FTarget->TextToPath(path, text, font, area);
}

std::unique_ptr<IHostBitmap> TLineBatchCanvas::CreateBitmap(int width, int height, float scale) {
  Flush();
  return FTarget ? FTarget->CreateBitmap(width, height, scale) : nullptr;
}

}  // namespace sextant

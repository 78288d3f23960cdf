// A host canvas in front of another that gathers consecutive connected
// DrawLine calls (each starting where the previous one ended, with the same
// opacity) and hands them on as one DrawConnectedLines. Every other drawing
// call, and every real change of the stroke, fill or font, first hands on
// what was gathered, so the target sees the same drawing in the same order;
// reading the state, or setting the state already in force, does not.
//
// The engine's canvas puts it in front of hosts that answer BatchesLines
// while a series draws its lines (TKelCanvas::BeginLineBatch).
#pragma once

#include <vector>

#include "platform/host_canvas.h"

namespace sextant {

class TLineBatchCanvas : public IHostCanvas {
 public:
  TLineBatchCanvas() = default;
  ~TLineBatchCanvas() override = default;

  // Hands on what was gathered, then draws on Value (nullptr: nowhere).
  void SetTarget(IHostCanvas* Value);
  IHostCanvas* Target() const { return FTarget; }
  // Hands the gathered lines to the target (nothing when none).
  void Flush();
  // Points gathered and not yet handed on (for tests).
  std::size_t PendingPoints() const { return FPoints.size(); }

  std::string ClassName() const override;
  float Scale() const override;
  std::uint8_t Features() const override;
  const THostStroke& Stroke() const override;
  const THostFill& Fill() const override;
  const THostFont& Font() const override;
  void SetStroke(const THostStroke& Value) override;
  void SetFill(const THostFill& Value) override;
  void SetFont(const THostFont& Value) override;
  bool BeginScene() override;
  void EndScene() override;
  StateHandle SaveState() override;
  void RestoreState(StateHandle state) override;
  void IntersectClipRect(const TRectF& r) override;
  TKelMatrix Matrix() const override;
  void SetMatrix(const TKelMatrix& m) override;
  void FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void FillEllipse(const TRectF& r, float opacity) override;
  void DrawEllipse(const TRectF& r, float opacity) override;
  void DrawLine(TPointF p1, TPointF p2, float opacity) override;
  void DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle, float opacity) override;
  void FillPath(const THostPath& path, float opacity) override;
  void DrawPath(const THostPath& path, float opacity) override;
  void DrawPolyline(const TPointF* points, std::size_t count, float opacity) override;
  void DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) override;
  void DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst, float opacity,
                  bool highSpeed) override;
  std::unique_ptr<IHostTextLayout> CreateTextLayout() override;
  void RenderLayout(IHostTextLayout& layout) override;
  bool TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                  const TRectF& area) override;
  std::unique_ptr<IHostBitmap> CreateBitmap(int width, int height, float scale) override;

 private:
  IHostCanvas* FTarget = nullptr;  // not owned
  std::vector<TPointF> FPoints;    // keeps its capacity between batches
  float FOpacity = 1;
  // The state while there is no target.
  THostState FNoTarget;
};

}  // namespace sextant

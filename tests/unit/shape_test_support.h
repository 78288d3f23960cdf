// Shared fixture of the shape tests: a bare panel whose canvas draws on a
// recording host canvas, counting the repaint requests shapes make.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "panel/kel_panel_extended.h"
#include "platform/recording_canvas.h"

namespace sextant::testing {

class ShapePanel : public TCustomKelPanelExtended {
 public:
  int invalidations = 0;
  void Invalidate() override {
    ++invalidations;
    TCustomKelPanelExtended::Invalidate();
  }
};

class ShapeFixture : public ::testing::Test {
 protected:
  ShapeFixture() { panel.Canvas()->SetCanvas(&rec); }
  ~ShapeFixture() override { UnClipCanvas(rec); }

  // Ops recorded since the last call, and a fresh record.
  void Reset() {
    rec.ClearOps();
    panel.invalidations = 0;
  }
  std::vector<const TRecordedOp*> Ops(TRecordKind Kind) const { return rec.OpsOf(Kind); }
  // Ops that put pixels on the canvas (no state changes or layout creation).
  std::vector<TRecordKind> DrawingKinds() const {
    std::vector<TRecordKind> kinds;
    for (TRecordKind k : rec.Kinds()) {
      switch (k) {
        case rkFillRect:
        case rkDrawRect:
        case rkFillEllipse:
        case rkDrawEllipse:
        case rkDrawLine:
        case rkDrawArc:
        case rkFillPath:
        case rkDrawPath:
        case rkDrawPolyline:
        case rkDrawBitmap:
        case rkRenderLayout:
          kinds.push_back(k);
          break;
        default:
          break;
      }
    }
    return kinds;
  }

  ShapePanel panel;
  TRecordingCanvas rec;
};

// Points of the MoveTo / LineTo commands of a path, in order.
inline std::vector<TPointF> PathPoints(const THostPath& Path) {
  std::vector<TPointF> points;
  for (const THostPathCommand& c : Path.Commands()) {
    if (c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo) points.push_back(c.A);
  }
  return points;
}

inline void ExpectNear(TPointF Actual, TPointF Expected, float Tolerance) {
  EXPECT_NEAR(Actual.X, Expected.X, Tolerance);
  EXPECT_NEAR(Actual.Y, Expected.Y, Tolerance);
}

}  // namespace sextant::testing

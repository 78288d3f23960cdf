// Shared fixture of the canvas tests: a TKelCanvas3D aimed at a recording
// host canvas, unbuffered, 2D.
#pragma once

#include <gtest/gtest.h>

#include "canvas/canvas3d.h"
#include "platform/recording_canvas.h"

namespace sextant::testing {

class CanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ICanvasState.reset();
    Canvas.InitWindow(&Rec, nullptr, claWhite, false, {0, 0, 400, 300});
    Canvas.ResetState();
    Rec.ClearOps();
  }
  void TearDown() override { ICanvasState.reset(); }

  TRecordingCanvas Rec;
  TKelCanvas3D Canvas;
};

}  // namespace sextant::testing

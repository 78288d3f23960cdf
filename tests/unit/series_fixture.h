// Shared fixture of the series tests: a real chart painted on a recording
// host canvas, with one fast line series added to it, and helpers that pick
// the series' own drawing out of the recorded operations.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "panel/kel_event.h"
#include "stand_in_hosts.h"
#include "platform/host_control.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"

namespace sextant::testing {


// Collects the series events a chart sends to its listeners.
class SeriesEventLog : public IKelEventListener {
 public:
  std::vector<TChartSeriesEvent> events;
  void KelEvent(TKelEvent& Event) override {
    if (auto* e = dynamic_cast<TKelSeriesEvent*>(&Event)) events.push_back(e->Event);
  }
  int CountOf(TChartSeriesEvent Kind) const {
    int n = 0;
    for (auto e : events) n += e == Kind;
    return n;
  }
};

// A 2D chart (600 x 400) with one fast line series; the chart frees the
// series. Paint() draws it on the recording canvas and remembers which
// recorded operations the series produced.
class LineSeriesChartTest : public ::testing::Test {
 protected:
  LineSeriesChartTest() {
    ICanvasState.reset();
    chart.SetBounds(0, 0, 600, 400);
    chart.SetView3D(false);
    chart.SetHostControl(&host);
    series = new TFastLineSeries();
    chart.AddSeries(series);
    series->BeforeDrawValues = [this](TChartSeries*) { seriesBegin = rec.Ops().size(); };
    series->AfterDrawValues = [this](TChartSeries*) { seriesEnd = rec.Ops().size(); };
  }
  ~LineSeriesChartTest() override { ICanvasState.reset(); }

  void Paint(float Width = 600, float Height = 400) {
    rec.ClearOps();
    seriesBegin = seriesEnd = 0;
    chart.SetBounds(0, 0, Width, Height);
    chart.Draw(&rec, {0, 0, Width, Height});
  }

  // The operations of a kind recorded while the series drew its points.
  std::vector<const TRecordedOp*> SeriesOps(TRecordKind Kind) const {
    std::vector<const TRecordedOp*> result;
    for (std::size_t i = seriesBegin; i < seriesEnd; ++i)
      if (rec.Ops()[i].Kind == Kind) result.push_back(&rec.Ops()[i]);
    return result;
  }
  std::vector<std::pair<TPointF, TPointF>> SeriesLines() const {
    std::vector<std::pair<TPointF, TPointF>> result;
    for (const TRecordedOp* op : SeriesOps(rkDrawLine)) result.emplace_back(op->P1, op->P2);
    return result;
  }

  // Pixel of point i with the layout of the last paint.
  TPointF PixelOf(int i) const {
    return {static_cast<float>(series->CalcXPos(i)), static_cast<float>(series->CalcYPos(i))};
  }
  TPointF PixelOf(double x, double y) const {
    return {static_cast<float>(chart.BottomAxis()->CalcXPosValue(x)),
            static_cast<float>(chart.LeftAxis()->CalcYPosValue(y))};
  }

  void AddPoints(const std::vector<std::pair<double, double>>& points) {
    for (auto [x, y] : points) series->AddXY(x, y);
  }

  FocusableHostWithoutCanvas host;
  TRecordingCanvas rec;
  TChart chart;
  TFastLineSeries* series = nullptr;  // owned by the chart
  std::size_t seriesBegin = 0;
  std::size_t seriesEnd = 0;
};

// The engine's random generator, written out independently: one step is
// seed * 134775813 + 1 (mod 2^32) and Random(N) is the high half of the
// 64-bit product seed * N.
struct ReferenceRandom {
  std::uint32_t seed;
  std::int32_t Next(std::int32_t N) {
    seed = seed * 134775813u + 1u;
    return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed) * static_cast<std::uint64_t>(N)) >> 32);
  }
};

}  // namespace sextant::testing

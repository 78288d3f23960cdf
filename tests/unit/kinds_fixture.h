// Shared fixture of the series-kind tests: a flat 600 x 400 chart on a
// recording canvas holding one series of the kind under test, and helpers
// that pick the series' own drawing out of the recorded operations.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "stand_in_hosts.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"

namespace sextant::testing {

template <class TKind>
class KindTest : public ::testing::Test {
 protected:
  KindTest() {
    ICanvasState.reset();
    chart.SetBounds(0, 0, 600, 400);
    chart.SetView3D(false);
    chart.SetHostControl(&host);
    series = Add<TKind>();
  }
  ~KindTest() override { ICanvasState.reset(); }

  // A new series of kind T added to the chart (which frees it); the
  // recorded range of its drawing is remembered under its index.
  template <class T>
  T* Add() {
    auto* s = new T();
    chart.AddSeries(s);
    const std::size_t slot = ranges.size();
    ranges.push_back({0, 0});
    s->BeforeDrawValues = [this, slot](TChartSeries*) { ranges[slot].first = rec.Ops().size(); };
    s->AfterDrawValues = [this, slot](TChartSeries*) { ranges[slot].second = rec.Ops().size(); };
    return s;
  }

  void Paint() {
    rec.ClearOps();
    for (auto& r : ranges) r = {0, 0};
    chart.Draw(&rec, {0, 0, 600, 400});
  }

  // The operations of a kind recorded while series number Slot (0: the
  // fixture's series) drew itself (its marks come after its points).
  std::vector<const TRecordedOp*> Ops(TRecordKind Kind, std::size_t Slot = 0) const {
    std::vector<const TRecordedOp*> result;
    for (std::size_t i = ranges[Slot].first; i < ranges[Slot].second; ++i)
      if (rec.Ops()[i].Kind == Kind) result.push_back(&rec.Ops()[i]);
    return result;
  }

  // The operations of DrawLegendShape(Series, -1, Rect) called during a
  // paint (after the chart drew itself, on the canvas still aimed at the
  // recording canvas).
  std::vector<TRecordedOp> LegendSymbolOps(TChartSeries* Series, const TRectF& Rect) {
    std::size_t begin = 0, end = 0;
    chart.OnAfterDraw = [&](TPersistent*) {
      begin = rec.Ops().size();
      chart.DrawLegendShape(Series, -1, Rect);
      end = rec.Ops().size();
    };
    Paint();
    chart.OnAfterDraw = nullptr;
    return {rec.Ops().begin() + static_cast<long>(begin), rec.Ops().begin() + static_cast<long>(end)};
  }

  TPointF Pixel(double X, double Y) const {
    return {static_cast<float>(chart.BottomAxis()->CalcXPosValue(X)),
            static_cast<float>(chart.LeftAxis()->CalcYPosValue(Y))};
  }

  StandInHost host;
  TRecordingCanvas rec;
  TChart chart;
  TKind* series = nullptr;  // owned by the chart
  std::vector<std::pair<std::size_t, std::size_t>> ranges;
};

}  // namespace sextant::testing

// Shared fixture of the marks tests: a real 2D chart painted on a recording
// host canvas with one fast line series, the application's mark settings,
// and helpers that pick the marks' own drawing out of the recorded ops.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "marks/series_marks.h"
#include "panel/chart.h"
#include "stand_in_hosts.h"
#include "platform/host_control.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"

namespace sextant::testing {

using MarksHost = FocusableHostWithoutCanvas;

// The marks settings the application's set-up makes.
inline void ApplyApplicationMarks(TSeriesMarks* Marks) {
  Marks->SetVisible(true);
  Marks->SetAutoPosition(true);
  Marks->SetTextAlign(taCenter);
  Marks->SetTextAlignment(taCenter);
  Marks->SetVertTextAlign(vtaCenter);
  Marks->SetAlignment(taCenter);
  Marks->SetClip(true);
  Marks->SetStyle(smsValue);
  Marks->SetTransparent(true);
  Marks->Callout()->SetVisible(true);
  Marks->Callout()->SetStyle(psCircle);
  Marks->Callout()->SetColor(Marks->Color());
  Marks->Callout()->SetSize(15);
}

// A 2D chart of 600 x 400 with one fast line series (freed by the chart).
// The ops of the marks pass run from the first mark text asked for in a
// paint to the end of the series' drawing.
class MarksChartTest : public ::testing::Test {
 protected:
  MarksChartTest() {
    ICanvasState.reset();
    chart.SetBounds(0, 0, 600, 400);
    chart.SetView3D(false);
    chart.SetHostControl(&host);
    series = new TFastLineSeries();
    chart.AddSeries(series);
    Watch(series);
  }

  // Makes S the series whose marks MarkOps() reports.
  void Watch(TChartSeries* S) {
    S->OnGetMarkText = [this](TChartSeries*, int Index, std::string& Text) {
      if (marksBegin == npos) marksBegin = rec.Ops().size();
      if (TextHook) TextHook(Index, Text);
    };
    S->AfterDrawValues = [this](TChartSeries*) { marksEnd = rec.Ops().size(); };
  }
  ~MarksChartTest() override { ICanvasState.reset(); }

  void Paint() {
    rec.ClearOps();
    marksBegin = npos;
    marksEnd = 0;
    chart.Draw(&rec, {0, 0, 600, 400});
  }

  // The marks' ops of the last paint.
  std::vector<const TRecordedOp*> MarkOps() const {
    std::vector<const TRecordedOp*> result;
    if (marksBegin == npos) return result;
    for (std::size_t i = marksBegin; i < marksEnd && i < rec.Ops().size(); ++i) {
      switch (rec.Ops()[i].Kind) {
        case rkFillRect:
        case rkDrawRect:
        case rkFillEllipse:
        case rkDrawEllipse:
        case rkDrawLine:
        case rkDrawArc:
        case rkFillPath:
        case rkDrawPath:
        case rkDrawPolyline:
        case rkRenderLayout: result.push_back(&rec.Ops()[i]); break;
        default: break;
      }
    }
    return result;
  }
  std::vector<const TRecordedOp*> MarkOps(TRecordKind Kind) const {
    std::vector<const TRecordedOp*> result;
    for (const TRecordedOp* op : MarkOps())
      if (op->Kind == Kind) result.push_back(op);
    return result;
  }
  std::vector<std::string> MarkTexts() const {
    std::vector<std::string> result;
    for (const TRecordedOp* op : MarkOps(rkRenderLayout)) result.push_back(op->Text);
    return result;
  }

  // Pixel of point i with the layout of the last paint.
  TPointF PixelOf(int i) const {
    return {static_cast<float>(series->CalcXPos(i)), static_cast<float>(series->CalcYPos(i))};
  }

  // Fixed axis ranges, so that points land where a test wants them.
  void FixAxes(double XMin, double XMax, double YMin, double YMax) {
    chart.BottomAxis()->SetMinMax(XMin, XMax);
    chart.LeftAxis()->SetMinMax(YMin, YMax);
  }

  // Text metrics of the recording canvas with the default font (Tahoma 11):
  // width = characters x 5.5 rounded, height = 13.75 rounded.
  static int TextWidthOf(const std::string& Text) {
    return KelRound(static_cast<double>(Utf8CodePoints(Text)) * 5.5);
  }
  static constexpr int TextHeight = 14;

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  MarksHost host;
  TRecordingCanvas rec;
  TChart chart;
  TFastLineSeries* series = nullptr;  // owned by the chart
  std::function<void(int, std::string&)> TextHook;
  std::size_t marksBegin = npos;
  std::size_t marksEnd = 0;
};

}  // namespace sextant::testing

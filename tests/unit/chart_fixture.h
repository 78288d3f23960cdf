// Shared pieces of the chart tests: a blank chart on the stand-in host
// control painting on a recording canvas, fast line series with simple data, and a tool that
// writes every event it receives into a shared log.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"
#include "stand_in_hosts.h"
#include "tools/chart_tool.h"

namespace sextant::testing {


// A 2D chart of 400 x 300 without series on the stand-in host, painted on a
// recording canvas.
class BlankChartTest : public ::testing::Test {
 protected:
  BlankChartTest() {
    ICanvasState.reset();
    chart.SetBounds(0, 0, 400, 300);
    chart.SetHostControl(&host);
    chart.SetView3D(false);
  }
  ~BlankChartTest() override { ICanvasState.reset(); }

  void Paint() { chart.HostPaint(rec); }

  // A fast line series with X = 0, 1, ..., n - 1 and Y = 10 + X, owned by
  // nobody: the chart frees it.
  TFastLineSeries* AddLine(int n) {
    auto* s = new TFastLineSeries();
    for (int i = 0; i < n; ++i) s->AddXY(i, 10 + i);
    chart.AddSeries(s);
    return s;
  }

  StandInHost host;
  TRecordingCanvas rec;
  TChart chart;
};

// Writes "Name:event" for every event into Log.
class LogTool : public TKelCustomTool {
 public:
  LogTool(std::string name, std::vector<std::string>& log)
      : FName(std::move(name)), FLog(log) {}
  ~LogTool() override {
    if (DestroyedFlag) *DestroyedFlag = true;
  }

  void ChartEvent(TChartToolEvent Event) override {
    static const char* names[] = {"AfterDraw",        "BeforeDrawSeries", "BeforeDraw",
                                  "BeforeDrawAxes",   "AfterDrawSeries",  "MouseLeave"};
    FLog.push_back(FName + ":" + names[Event]);
    if (OnChartEvent) OnChartEvent(Event);
  }
  void SeriesEvent(TChartToolEvent Event, TChartSeries* Series) override {
    FLog.push_back(FName + ":Series" + (Event == cteBeforeDrawSeries ? "Before" : "After") +
                   "(" + Series->Name() + ")");
  }
  void ChartMouseEvent(TChartMouseEvent Event, TMouseButton Button, TShiftState,
                       int X, int Y) override {
    static const char* names[] = {"Down", "Move", "Up"};
    FLog.push_back(FName + ":Mouse" + names[Event] + "(" + ButtonName(Button) + "," +
                   std::to_string(X) + "," + std::to_string(Y) + ")");
    if (CancelOn == static_cast<int>(Event) && ParentChart()) ParentChart()->SetCancelMouse(true);
    if (OnMouse) OnMouse(Event);
  }
  void WheelMouseEvent(TWheelMouseEvent Event, int Delta, int X, int Y) override {
    static const char* names[] = {"Down", "Move", "Up"};
    FLog.push_back(FName + ":Wheel" + names[Event] + "(" + std::to_string(Delta) + "," +
                   std::to_string(X) + "," + std::to_string(Y) + ")");
    if (CancelWheel && ParentChart()) ParentChart()->SetCancelMouse(true);
  }
  void ChartKeyEvent(TChartKeyEvent Event, std::uint16_t& Key, char16_t& KeyChar,
                     TShiftState) override {
    static const char* names[] = {"Down", "Up", "Press"};
    FLog.push_back(FName + ":Key" + names[Event] + "(" + std::to_string(Key) + "," +
                   std::to_string(static_cast<int>(KeyChar)) + ")");
    if (ReplaceKey) Key = ReplaceKey;
  }

  void ChartDragDropEvent(TChartDragDropEvent Event, void*, int X, int Y, TDragState,
                          bool& Accept, void*) override {
    FLog.push_back(FName + ":Drag" + std::to_string(Event) + "(" + std::to_string(X) + "," +
                   std::to_string(Y) + ")");
    Accept = true;
  }

  static std::string ButtonName(TMouseButton b) {
    switch (b) {
      case TMouseButton::mbLeft: return "L";
      case TMouseButton::mbRight: return "R";
      default: return "M";
    }
  }

  int CancelOn = -1;  // a TChartMouseEvent that sets CancelMouse
  bool CancelWheel = false;
  std::uint16_t ReplaceKey = 0;
  bool* DestroyedFlag = nullptr;
  std::function<void(TChartToolEvent)> OnChartEvent;
  std::function<void(TChartMouseEvent)> OnMouse;

 private:
  std::string FName;
  std::vector<std::string>& FLog;
};

}  // namespace sextant::testing

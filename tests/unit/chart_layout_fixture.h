// Shared pieces of the layout tests (axes, titles, walls, legend): a
// 400 x 300 chart on the recording canvas with the legend hidden, the
// host separators pinned to point and comma, and finders for recorded
// texts and lines.
//
// Recording metrics with the default font (size 11): a character is 5.5
// pixels wide, a line 13.75 high, so TextHeight("W") is 14 and the width
// of a text of n characters is Round(5.5 n) (ties to even). Without axes,
// titles or legend the chart rectangle is {13, 13, 387, 287} (3 % / 4 %
// margins of 400 x 300 plus the 1-pixel raised bevel).
#pragma once

#include <string>
#include <vector>

#include "chart_fixture.h"
#include "platform/platform_services.h"

namespace sextant::testing {

class LayoutTest : public BlankChartTest {
 protected:
  LayoutTest() : saved(KelPlatform().FormatSettings) {
    KelPlatform().FormatSettings = {".", ","};
    chart.Legend()->SetVisible(false);
  }
  ~LayoutTest() override { KelPlatform().FormatSettings = saved; }

  // Paints afresh: the recording holds only this paint.
  void Paint() {
    rec.ClearOps();
    BlankChartTest::Paint();
  }

  // A fast line series with the given points (X, Y).
  TFastLineSeries* AddPoints(const std::vector<std::pair<double, double>>& points) {
    auto* s = new TFastLineSeries();
    for (const auto& [x, y] : points) s->AddXY(x, y);
    chart.AddSeries(s);
    return s;
  }

  // Every recorded text op with exactly this text.
  std::vector<const TRecordedOp*> TextOps(const std::string& text) const {
    std::vector<const TRecordedOp*> result;
    for (const TRecordedOp* op : rec.OpsOf(rkRenderLayout))
      if (op->Text == text) result.push_back(op);
    return result;
  }
  // The single text op with this text (fails the test when there is not
  // exactly one).
  const TRecordedOp* TextOp(const std::string& text) const {
    const auto ops = TextOps(text);
    EXPECT_EQ(ops.size(), 1u) << "text \"" << text << "\"";
    return ops.empty() ? nullptr : ops.front();
  }
  // Lines drawn in a stroke colour.
  std::vector<const TRecordedOp*> LinesOf(TColor color) const {
    std::vector<const TRecordedOp*> result;
    for (const TRecordedOp* op : rec.OpsOf(rkDrawLine))
      if (op->Stroke.Color == color) result.push_back(op);
    return result;
  }
  // Index of an op in the recording.
  std::size_t IndexOf(const TRecordedOp* op) const {
    return static_cast<std::size_t>(op - rec.Ops().data());
  }

  TFormatSettings saved;
};

}  // namespace sextant::testing

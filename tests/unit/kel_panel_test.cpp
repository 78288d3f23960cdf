// The panel levels of the chart control: margins and the chart rectangle,
// the paint of background and bevels, repaint requests, listeners, loading.
#include "panel/kel_panel_extended.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "platform/recording_canvas.h"
#include "stand_in_hosts.h"

using namespace sextant;
using sextant::testing::FocusableHostWithoutCanvas;

namespace {

// The panel levels alone: InternalDraw paints the panel like the chart's
// first drawing step does.
class TestPanel : public TCustomKelPanelExtended {
 public:
  using TCustomKelPanelExtended::TCustomKelPanelExtended;
  int internalDraws = 0;

 protected:
  void InternalDraw(const TRectF& R) override {
    ++internalDraws;
    PanelPaint(R);
  }
};

class FakeForm : public TComponent, public IHostForm {
 public:
  FakeForm(float w, float h) : w_(w), h_(h) {}
  float FormClientWidth() const override { return w_; }
  float FormClientHeight() const override { return h_; }

 private:
  float w_, h_;
};

struct Listener : IKelEventListener {
  std::vector<TKelEvent*> events;
  TCustomKelPanel* cancelOn = nullptr;
  void KelEvent(TKelEvent& e) override {
    events.push_back(&e);
    if (cancelOn) cancelOn->SetCancelMouse(true);
  }
};

class PanelTest : public ::testing::Test {
 protected:
  PanelTest() {
    panel.SetBounds(0, 0, 817, 433);
    panel.SetHostControl(&host);
  }
  void Paint() { panel.Draw(&canvas, {0, 0, 817, 433}); }
  TestPanel panel;
  FocusableHostWithoutCanvas host;
  TRecordingCanvas canvas;
};

}  // namespace

TEST_F(PanelTest, DefaultMarginsGiveTheSpecifiedChartRect) {
  Paint();
  EXPECT_EQ(panel.BorderSize(), 1);
  // 3 % of 817 and 4 % of 433 as single-precision products, inside a 1-pixel bevel.
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 25.51f);
  EXPECT_FLOAT_EQ(panel.ChartRect.Top, 18.32f);
  EXPECT_FLOAT_EQ(panel.ChartRect.Right, 791.49f);
  EXPECT_FLOAT_EQ(panel.ChartRect.Bottom, 414.68f);
  EXPECT_EQ(panel.ChartBounds(), (TRectF{0, 0, 817, 433}));
  EXPECT_EQ(panel.ChartWidth(), 766);   // 765.98
  EXPECT_EQ(panel.ChartHeight(), 396);  // 396.36
  EXPECT_EQ(panel.ChartXCenter(), 408);  // 408.5 rounds to even
  EXPECT_EQ(panel.ChartYCenter(), 216);  // 216.5 rounds to even
}

TEST_F(PanelTest, PixelMarginsAndCrossingMargins) {
  panel.SetMarginUnits(muPixels);
  Paint();
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 3 + 1);
  EXPECT_FLOAT_EQ(panel.ChartRect.Top, 4 + 1);
  EXPECT_FLOAT_EQ(panel.ChartRect.Right, 817 - 3 - 1);

  // A control so small that the margins cross: never a negative width.
  panel.SetMarginLeft(30);
  panel.SetMarginRight(30);
  panel.SetMarginTop(30);
  panel.SetMarginBottom(30);
  panel.Draw(&canvas, {0, 0, 20, 20});
  EXPECT_FLOAT_EQ(panel.ChartRect.Right, panel.ChartRect.Left + 1);
  EXPECT_FLOAT_EQ(panel.ChartRect.Bottom, panel.ChartRect.Top + 1);
  EXPECT_EQ(panel.ChartWidth(), 1);
}

TEST_F(PanelTest, PercentMarginsScaleWithTheControl) {
  panel.Draw(&canvas, {0, 0, 1000, 500});
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 1 + 30);
  EXPECT_FLOAT_EQ(panel.ChartRect.Top, 1 + 20);
  EXPECT_FLOAT_EQ(panel.ChartRect.Right, 1000 - 1 - 30);
}

TEST_F(PanelTest, DrawingRectangleBeyondThePixelBoundIsCut) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct {
    const char* name;
    TRectF rect, bounds;
  } cases[] = {
      {"huge control", {0, 0, 1e9f, 1e9f}, {0, 0, 32767, 32767}},
      {"far on both sides", {-1e9f, -5, 1e9f, 3e38f}, {-32767, -5, 32767, 32767}},
      {"not a number", {nan, 0, 400, nan}, {0, 0, 400, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    panel.Draw(&canvas, c.rect);
    EXPECT_EQ(panel.ChartBounds(), c.bounds);
    // The percent margins of the cut rectangle, inside the 1-pixel bevel.
    const TRectF r = panel.ChartRect;
    EXPECT_GE(r.Left, c.bounds.Left);
    EXPECT_LE(r.Right, std::max(c.bounds.Right, r.Left + 1));
    EXPECT_GE(r.Width(), 0);
    EXPECT_GE(r.Height(), 0);
    EXPECT_EQ(panel.ChartWidth(), KelRound(r.Width()));
  }
  // 3 % of 32767 on the left of the huge control.
  panel.Draw(&canvas, {0, 0, 1e9f, 1e9f});
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 1 + 983.01f);
}

TEST_F(PanelTest, HugeMarginsLeaveAChartRectangleOfNonNegativeSize) {
  for (TKelUnits units : {muPercent, muPixels}) {
    SCOPED_TRACE(units == muPercent ? "percent" : "pixels");
    panel.SetMarginUnits(units);
    panel.SetMarginLeft(2147483647);
    panel.SetMarginRight(2147483647);
    panel.SetMarginTop(-2147483647);
    panel.Draw(&canvas, {0, 0, 32767, 32767});
    EXPECT_GE(panel.ChartRect.Width(), 0);
    EXPECT_GE(panel.ChartRect.Height(), 0);
    EXPECT_GE(panel.ChartWidth(), 0);
  }
}

TEST_F(PanelTest, BorderSizeAddsBevelsBorderWidthAndBorderPen) {
  panel.SetBevelInner(bvLowered);
  panel.SetBevelWidth(2);
  panel.SetBorderWidth(3);
  panel.Border()->SetVisible(true);
  panel.Border()->SetWidth(2.5f);  // rounds to even 2
  EXPECT_EQ(panel.BorderSize(), 3 + 2 + 2 + 2);
}

TEST_F(PanelTest, PaintFillsBackgroundThenPanelRectThenRaisedBevel) {
  Paint();
  EXPECT_EQ(panel.internalDraws, 1);
  const auto fills = canvas.OpsOf(rkFillRect);
  ASSERT_GE(fills.size(), 2u);
  // The background erase, then the panel rectangle grown by one to the right and below.
  EXPECT_EQ(fills[0]->Rect, (TRectF{0, 0, 817, 433}));
  EXPECT_EQ(fills[0]->Fill.Color, 0xFFF0F0F0u);
  EXPECT_EQ(fills[1]->Rect, (TRectF{0, 0, 818, 434}));
  EXPECT_EQ(fills[1]->Fill.Color, 0xFFF0F0F0u);
  // The invisible border pen draws no outline of the panel rectangle.
  for (const auto* op : canvas.OpsOf(rkDrawRect)) EXPECT_NE(op->Rect, (TRectF{0, 0, 818, 434}));

  // The raised bevel: white along the left and top edges, grey along the right and bottom.
  const auto paths = canvas.OpsOf(rkDrawPath);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0]->Stroke.Color, 0xFFFFFFFFu);
  EXPECT_EQ(paths[1]->Stroke.Color, 0xFFA0A0A0u);
  const auto& white = paths[0]->Path.Commands();
  ASSERT_EQ(white.size(), 3u);
  EXPECT_EQ(white[0].A, (TPointF{0, 432}));
  EXPECT_EQ(white[1].A, (TPointF{0, 0}));
  EXPECT_EQ(white[2].A, (TPointF{816, 0}));
  const auto& grey = paths[1]->Path.Commands();
  ASSERT_EQ(grey.size(), 3u);
  EXPECT_EQ(grey[0].A, (TPointF{816, 0}));
  EXPECT_EQ(grey[1].A, (TPointF{816, 432}));
  EXPECT_EQ(grey[2].A, (TPointF{-1, 432}));
}

TEST_F(PanelTest, NoBevelsNoBorderDrawsNoBevelLines) {
  panel.SetBevelOuter(bvNone);
  Paint();
  EXPECT_EQ(canvas.Count(rkDrawPath), 0u);
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 24.51f);  // no bevel width
}

TEST_F(PanelTest, InvalidateHonoursAutoRepaint) {
  panel.SetColor(0xFF112233);
  EXPECT_EQ(host.Invalidates, 1);
  panel.SetColor(0xFF112233);  // unchanged: no repaint
  EXPECT_EQ(host.Invalidates, 1);
  panel.SetAutoRepaint(false);
  panel.SetColor(0xFF445566);
  panel.SetBevelWidth(3);
  panel.Shadow()->SetHorizSize(4);
  EXPECT_EQ(host.Invalidates, 1);
  panel.SetAutoRepaint(true);
  panel.Invalidate();
  EXPECT_EQ(host.Invalidates, 2);
  panel.Repaint();
  EXPECT_EQ(host.Repaints, 1);
}

TEST_F(PanelTest, View3DChangeInvalidatesAndTellsListenersOnlyOnChange) {
  Listener l;
  panel.AddListener(&l);
  panel.AddListener(&l);  // not added twice
  EXPECT_EQ(panel.ListenerCount(), 1);
  panel.SetView3D(true);  // already true
  EXPECT_EQ(host.Invalidates, 0);
  EXPECT_TRUE(l.events.empty());
  panel.SetView3D(false);
  EXPECT_EQ(host.Invalidates, 1);
  EXPECT_EQ(l.events.size(), 1u);
  panel.RemoveListener(&l);
  panel.SetView3D(true);
  EXPECT_EQ(l.events.size(), 1u);
}

TEST_F(PanelTest, MouseListenerThatCancelsStopsTheOthers) {
  Listener first, second;
  first.cancelOn = &panel;
  panel.AddListener(&first);
  panel.AddListener(&second);
  panel.HostMouseUp(TMouseButton::mbLeft, 0, 5, 6);
  EXPECT_EQ(first.events.size(), 1u);
  EXPECT_TRUE(second.events.empty());
}

TEST_F(PanelTest, MouseDownTakesTheFocusAndRaisesTheHostEvent) {
  int downs = 0;
  panel.OnMouseDown = [&](TPersistent*, TMouseButton b, TShiftState, float x, float y) {
    ++downs;
    EXPECT_EQ(b, TMouseButton::mbRight);
    EXPECT_FLOAT_EQ(x, 10.5f);
    EXPECT_FLOAT_EQ(y, 20.25f);
  };
  panel.HostMouseDown(TMouseButton::mbRight, ssRight, 10.5f, 20.25f);
  EXPECT_EQ(downs, 1);
  EXPECT_TRUE(host.Focused);
}

TEST_F(PanelTest, CustomChartRectIsKeptUntilSwitchedOff) {
  panel.SetChartRect({50, 60, 300, 200});
  EXPECT_TRUE(panel.CustomChartRect());
  Paint();
  EXPECT_EQ(panel.ChartRect, (TRectF{50, 60, 300, 200}));
  Paint();
  EXPECT_EQ(panel.ChartRect, (TRectF{50, 60, 300, 200}));
  panel.SetCustomChartRect(false);
  Paint();
  EXPECT_FLOAT_EQ(panel.ChartRect.Left, 25.51f);
}

TEST_F(PanelTest, ReadStateRestoresAutoRepaintEvenWhenReadingFails) {
  bool autoRepaintWhileReading = true;
  EXPECT_THROW(panel.ReadState([&] {
    autoRepaintWhileReading = panel.AutoRepaint();
    panel.SetColor(0xFF000001);
    throw std::runtime_error("bad description");
  }),
               std::runtime_error);
  EXPECT_FALSE(autoRepaintWhileReading);
  EXPECT_TRUE(panel.AutoRepaint());
  EXPECT_EQ(host.Invalidates, 0);  // nothing repainted while reading

  panel.ReadState([&] { panel.SetColor(0xFF000002); });
  EXPECT_EQ(host.Invalidates, 1);  // one repaint after reading
  panel.EndLoading();
  EXPECT_EQ(panel.InitialSize, (TPointF{817, 433}));
}

TEST(PanelConstruction, FormOwnerLimitsTheInitialSize) {
  FakeForm form(300, 900);
  auto* p = new TestPanel(&form);
  EXPECT_FLOAT_EQ(p->Width(), 300);
  EXPECT_FLOAT_EQ(p->Height(), 250);
  TestPanel loose;
  EXPECT_FLOAT_EQ(loose.Width(), 0);
}

TEST(PanelTexts, LinesOfText) {
  struct Case {
    const char* text;
    int lines;
  };
  const Case cases[] = {{"", 1},        {"abc", 1},      {"a\r\nb", 2}, {"a\rb", 2},
                        {"a\r", 1},     {"a\r\n", 1},    {"\r", 1},     {"a\rb\rc", 3},
                        {"\r\r", 2}};
  for (const auto& c : cases) EXPECT_EQ(TCustomKelPanel::LinesOfText(c.text), c.lines) << c.text;
}

TEST_F(PanelTest, MultiLineTextSizeMeasuresLines) {
  Paint();  // aims the canvas at the recording canvas
  int lines = 0;
  // Default font: 11 px; deterministic metrics 5.5 px per character, 13.75 high.
  TPointF size = panel.MultiLineTextSize("a\r", 0, lines);
  EXPECT_EQ(lines, 1);
  const float h = static_cast<float>(panel.Canvas()->TextHeight("W"));
  EXPECT_FLOAT_EQ(size.Y, h);
  size = panel.MultiLineTextSize("a\r\nbbbb", 0, lines);
  EXPECT_EQ(lines, 2);
  EXPECT_FLOAT_EQ(size.X, static_cast<float>(panel.Canvas()->TextWidth("bbbb")));
  EXPECT_FLOAT_EQ(size.Y, 2 * h);
  size = panel.MultiLineTextSize("", 0, lines);
  EXPECT_EQ(lines, 0);
  EXPECT_EQ(size, (TPointF{0, 0}));
}

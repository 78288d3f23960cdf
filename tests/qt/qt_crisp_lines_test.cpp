// Crisp one-pixel lines along a pixel row or column, solid, dotted and
// dashed: the Qt canvas draws them as a rectangle filled with the colour or
// the dash pattern instead of letting QPainter step the pen pixel by pixel. The pixels must be exactly those of QPainter::drawLine
// with the same pen, for every dash style, cap, direction, dash offset,
// translation and clip, and on lines that leave the device (where the
// canvas falls back to QPainter).
#include <QImage>
#include <QPainter>
#include <QPen>
#include <gtest/gtest.h>

#include <random>
#include <vector>
#include <string>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_crisp_lines_p.h"
#include "qt_image_compare.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

using testing::Differences;

struct LineCase {
  bool shortcut;  // expected to take the pattern fill
  QPoint a, b;
  THostStrokeDash dash;
  THostStrokeCap cap;
  int dashOffset;
  QPoint translation;
  QRect clip;  // empty: no clip
  TColor colour;
  std::vector<float> custom = {};  // the pattern of THostStrokeDash::Custom
};

std::string Describe(const LineCase& c) {
  return "(" + std::to_string(c.a.x()) + "," + std::to_string(c.a.y()) + ")->(" + std::to_string(c.b.x()) + "," +
         std::to_string(c.b.y()) + ") dash " + std::to_string(static_cast<int>(c.dash)) + " cap " +
         std::to_string(static_cast<int>(c.cap)) + " offset " + std::to_string(c.dashOffset) + " translation " +
         std::to_string(c.translation.x()) + "," + std::to_string(c.translation.y()) +
         (c.clip.isEmpty() ? "" : " clipped");
}

Qt::PenStyle QtStyle(THostStrokeDash Dash) {
  switch (Dash) {
    case THostStrokeDash::Dash: return Qt::DashLine;
    case THostStrokeDash::Dot: return Qt::DotLine;
    case THostStrokeDash::DashDot: return Qt::DashDotLine;
    case THostStrokeDash::DashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
  }
}

void Prepare(QPainter& Painter, const LineCase& c) {
  Painter.translate(c.translation);
  if (!c.clip.isEmpty()) Painter.setClipRect(c.clip);
}

// QPainter's own aliased drawing of the line.
QImage Reference(const LineCase& c) {
  QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  Prepare(painter, c);
  QPen pen(QColor::fromRgba(c.colour), 1);
  if (c.dash == THostStrokeDash::Custom) {
    QList<qreal> pattern(c.custom.begin(), c.custom.end());
    if (pattern.size() % 2 == 1) pattern.append(pattern);
    pen.setDashPattern(pattern);
  } else {
    pen.setStyle(QtStyle(c.dash));
  }
  pen.setCapStyle(c.cap == THostStrokeCap::Flat ? Qt::FlatCap : Qt::RoundCap);
  pen.setDashOffset(c.dashOffset);
  painter.setPen(pen);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.drawLine(c.a, c.b);
  return image;
}

// Drawn through the canvas; Shortcut tells whether the canvas filled a
// pattern rectangle instead of asking QPainter to stroke.
QImage ThroughCanvas(const LineCase& c, bool* Shortcut = nullptr) {
  QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  Prepare(painter, c);
  TQtHostCanvas canvas(painter);
  const std::uint64_t runsBefore = CrispRunsDrawn();
  canvas.BeginScene();
  ChangeStroke(canvas, [&](THostStroke& s) {
    s.Color = c.colour;
    s.Thickness = 1;
    s.Dash = c.dash;
    s.CustomDash = c.custom;
    s.Cap = c.cap;
    s.DashOffset = static_cast<float>(c.dashOffset);
  });
  canvas.DrawLine(TPointF(c.a.x(), c.a.y()), TPointF(c.b.x(), c.b.y()), 1);
  canvas.EndScene();
  if (Shortcut) *Shortcut = CrispRunsDrawn() - runsBefore == 1;
  return image;
}

TEST(QtCrispLines, SameFewCasesAsQPainter) {
  const LineCase cases[] = {
      {true, {10, 5}, {50, 5}, THostStrokeDash::Dot, THostStrokeCap::Round, 0, {}, {}, 0xFF000000},
      {true, {50, 5}, {10, 5}, THostStrokeDash::Dot, THostStrokeCap::Round, 0, {}, {}, 0xFF000000},
      {true, {22, 44}, {10, 44}, THostStrokeDash::Dot, THostStrokeCap::Flat, 0, {}, {}, 0xFF000000},
      {true, {10, 44}, {23, 44}, THostStrokeDash::Dash, THostStrokeCap::Flat, 0, {}, {}, 0xFF202080},
      {true, {30, 100}, {30, 3}, THostStrokeDash::DashDotDot, THostStrokeCap::Round, 5, {}, {}, 0xFFC0C0C0},
      {true, {5, 5}, {6, 5}, THostStrokeDash::DashDot, THostStrokeCap::Flat, 0, {}, {}, 0xFF000000},
      {true, {5, 5}, {4, 5}, THostStrokeDash::DashDot, THostStrokeCap::Flat, 0, {}, {}, 0xFF000000},
      {true, {10, 10}, {90, 10}, THostStrokeDash::Dot, THostStrokeCap::Round, 0, {7, 3}, {20, 0, 30, 30}, 0xFF000000},
      // Leaves the device on the left: drawn by QPainter itself.
      {false, {-20, 30}, {100, 30}, THostStrokeDash::Dot, THostStrokeCap::Round, 0, {}, {}, 0xFF000000},
      // Solid: one filled rectangle.
      {true, {3, 60}, {150, 60}, THostStrokeDash::Solid, THostStrokeCap::Round, 0, {}, {}, 0xFFC0C0C0},
      {true, {70, 110}, {70, 2}, THostStrokeDash::Solid, THostStrokeCap::Flat, 0, {}, {}, 0xFFC0C0C0},
      {true, {2, 5}, {70, 5}, THostStrokeDash::Solid, THostStrokeCap::Flat, 0, {3, -2}, {10, 0, 20, 20}, 0xFF000000},
      // The small dots of a grid pen: one pixel on, SmallSpace + 1 off.
      {true, {3, 60}, {150, 60}, THostStrokeDash::Custom, THostStrokeCap::Round, 0, {}, {}, 0xFF808080, {1, 1}},
      {true, {70, 110}, {70, 2}, THostStrokeDash::Custom, THostStrokeCap::Flat, 3, {}, {}, 0xFF808080, {2, 3, 1}},
      // Fractions of a pixel in the pattern: QPainter.
      {false, {3, 60}, {150, 60}, THostStrokeDash::Custom, THostStrokeCap::Round, 0, {}, {}, 0xFF808080, {1.5f, 2}},
      // A translucent colour: QPainter too.
      {false, {10, 30}, {100, 30}, THostStrokeDash::Dot, THostStrokeCap::Round, 0, {}, {}, 0x80000000},
  };
  for (const LineCase& c : cases) {
    const QImage expected = Reference(c);
    bool shortcut = false;
    EXPECT_EQ(Differences(expected, ThroughCanvas(c, &shortcut)), 0) << Describe(c);
    EXPECT_EQ(shortcut, c.shortcut) << Describe(c);
    QImage blank(expected.size(), expected.format());
    blank.fill(Qt::white);
    EXPECT_GT(Differences(expected, blank), 0) << "the line drew something: " << Describe(c);
  }
}

TEST(QtCrispLines, SameAsQPainterOnRandomLines) {
  const unsigned seed = 4242;
  std::mt19937 random(seed);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const THostStrokeDash dashes[] = {THostStrokeDash::Solid,   THostStrokeDash::Dot,        THostStrokeDash::Dash,
                                    THostStrokeDash::DashDot, THostStrokeDash::DashDotDot, THostStrokeDash::Custom};
  int shortcuts = 0;
  for (int n = 0; n < 3000; ++n) {
    LineCase c{};
    c.dash = dashes[pick(0, 5)];
    if (c.dash == THostStrokeDash::Custom)
      for (int i = pick(1, 5); i > 0; --i) c.custom.push_back(static_cast<float>(pick(1, 6)));
    c.cap = pick(0, 1) ? THostStrokeCap::Flat : THostStrokeCap::Round;
    c.dashOffset = pick(0, 2) ? 0 : pick(-7, 20);
    c.translation = pick(0, 2) ? QPoint() : QPoint(pick(-20, 20), pick(-20, 20));
    c.clip = pick(0, 2) ? QRect() : QRect(pick(0, 100), pick(0, 80), pick(1, 100), pick(1, 80));
    c.colour = 0xFF000000u | static_cast<TColor>(pick(0, 0xFFFFFF));
    // Mostly inside the image, sometimes across its edges.
    const int margin = pick(0, 4) ? 0 : 40;
    c.a = QPoint(pick(-margin, 159 + margin), pick(-margin, 119 + margin));
    c.b = c.a;
    if (pick(0, 1))
      c.b.setX(pick(-margin, 159 + margin));
    else
      c.b.setY(pick(-margin, 119 + margin));
    bool shortcut = false;
    const int diff = Differences(Reference(c), ThroughCanvas(c, &shortcut));
    ASSERT_EQ(diff, 0) << "seed " << seed << " case " << n << ": " << Describe(c);
    shortcuts += shortcut;
  }
  // Most lines lie on the device and take the pattern fill.
  EXPECT_GT(shortcuts, 2000);
}

}  // namespace
}  // namespace sextant

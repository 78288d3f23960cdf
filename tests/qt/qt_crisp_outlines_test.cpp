// Outlines of square rectangles and of paths of axis-aligned segments with a
// solid one-pixel pen: the Qt canvas draws them as one filled rectangle per
// segment instead of letting QPainter stroke them. The pixels must be exactly
// those of QPainter::drawRect / drawPath with the same pen, for whole and
// fractional coordinates, both caps, open and closed figures, several
// figures in one path, translations and clips, and for the figures the
// canvas leaves to QPainter (short or empty segments, straight joints,
// figures leaving the device).
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <gtest/gtest.h>

#include <algorithm>
#include <iomanip>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_crisp_lines_p.h"
#include "qt_image_compare.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

using testing::Differences;

constexpr int KWidth = 120, KHeight = 90;

struct Figure {
  std::vector<TPointF> points;
  bool closed = false;
};

// A rectangle (when rect is set) or a path of figures.
struct OutlineCase {
  bool rect = false;
  TRectF box;  // the rectangle
  std::vector<Figure> figures;
  THostStrokeCap cap = THostStrokeCap::Round;
  QPoint translation;
  QRect clip;  // empty: no clip
  TColor colour = 0xFF000000;
  THostStrokeDash dash = THostStrokeDash::Solid;
};

std::string Describe(const OutlineCase& c) {
  std::string s = c.rect ? "rect" : "path";
  auto number = [](qreal v) {
    std::ostringstream out;
    out << std::setprecision(17) << v;
    return out.str();
  };
  if (c.rect) s += " " + number(c.box.Left) + "," + number(c.box.Top) + " - " + number(c.box.Right) + "," +
                   number(c.box.Bottom);
  for (const Figure& f : c.figures) {
    s += f.closed ? " [closed" : " [open";
    for (TPointF q : f.points) s += " (" + number(q.X) + "," + number(q.Y) + ")";
    s += "]";
  }
  s += c.cap == THostStrokeCap::Flat ? " flat" : " round";
  s += " translation " + std::to_string(c.translation.x()) + "," + std::to_string(c.translation.y());
  if (!c.clip.isEmpty()) s += " clipped";
  return s;
}

THostPath HostPath(const OutlineCase& c) {
  THostPath path;
  for (const Figure& f : c.figures) {
    for (std::size_t i = 0; i < f.points.size(); ++i) {
      if (i == 0)
        path.MoveTo(f.points[i]);
      else
        path.LineTo(f.points[i]);
    }
    if (f.closed) path.ClosePath();
  }
  return path;
}

QImage Blank() {
  QImage image(KWidth, KHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

void Prepare(QPainter& painter, const OutlineCase& c) {
  painter.translate(c.translation);
  if (!c.clip.isEmpty()) painter.setClipRect(c.clip);
}

// QPainter's own aliased drawing of the same coordinates.
QImage Reference(const OutlineCase& c) {
  QImage image = Blank();
  QPainter painter(&image);
  Prepare(painter, c);
  QPen pen(QColor::fromRgba(c.colour), 1);
  pen.setCapStyle(c.cap == THostStrokeCap::Flat ? Qt::FlatCap : Qt::RoundCap);
  pen.setJoinStyle(Qt::RoundJoin);  // the host stroke's default join
  if (c.dash == THostStrokeDash::Dot) pen.setStyle(Qt::DotLine);
  painter.setPen(pen);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (c.rect) {
    const TRectF& r = c.box;
    painter.drawRect(QRectF(QPointF(r.Left, r.Top), QPointF(r.Right, r.Bottom)).normalized());
  } else {
    QPainterPath path;
    const THostPath host = HostPath(c);
    for (const THostPathCommand& command : host.Commands()) {
      const QPointF q(command.A.X, command.A.Y);
      if (command.Op == THostPathCommand::MoveTo) path.moveTo(q);
      if (command.Op == THostPathCommand::LineTo) path.lineTo(q);
      if (command.Op == THostPathCommand::Close) path.closeSubpath();
    }
    painter.drawPath(path);
  }
  return image;
}

// Drawn through the canvas; Runs tells how many segments the canvas filled
// as rectangles instead of asking QPainter to stroke.
QImage ThroughCanvas(const OutlineCase& c, std::uint64_t* runs = nullptr) {
  QImage image = Blank();
  QPainter painter(&image);
  Prepare(painter, c);
  TQtHostCanvas canvas(painter);
  const std::uint64_t runsBefore = CrispRunsDrawn();
  canvas.BeginScene();
  ChangeStroke(canvas, [&](THostStroke& s) {
    s.Color = c.colour;
    s.Thickness = 1;
    s.Cap = c.cap;
    s.Dash = c.dash;
  });
  if (c.rect)
    canvas.DrawRect(c.box, 0, 0, hcAll, 1, THostCornerType::Round);
  else
    canvas.DrawPath(HostPath(c), 1);
  canvas.EndScene();
  if (runs) *runs = CrispRunsDrawn() - runsBefore;
  return image;
}

OutlineCase Rect(float l, float t, float r, float b, THostStrokeCap cap = THostStrokeCap::Round) {
  OutlineCase c;
  c.rect = true;
  c.box = {l, t, r, b};
  c.cap = cap;
  return c;
}

OutlineCase Path(std::vector<Figure> figures, THostStrokeCap cap = THostStrokeCap::Round) {
  OutlineCase c;
  c.figures = std::move(figures);
  c.cap = cap;
  return c;
}

TEST(QtCrispOutlines, SameFewCasesAsQPainter) {
  const THostStrokeCap flat = THostStrokeCap::Flat;
  struct Expectation {
    OutlineCase c;
    std::uint64_t runs;  // segments drawn as rectangles; 0: left to QPainter
  };
  std::vector<Expectation> cases = {
      // The plot frame: fractional left and right edges.
      {Rect(54.51, 37, 92.49, 75), 4},
      {Rect(10.5, 10.5, 30.5, 20.5), 4},
      {Rect(10.25, 10.75, 30.75, 20.25, flat), 4},
      // Corners handed over in the other order.
      {Rect(30, 20, 10, 10), 4},
      // Too thin for the shortcut, or empty: QPainter.
      {Rect(10, 10, 11.5, 30), 0},
      {Rect(10, 10, 10, 30), 0},
      {Rect(10, 10, 10, 10), 0},
      // Partly off the device: QPainter.
      {Rect(-3.5, 10, 30, 20), 0},
      {Rect(100, 10, 125, 20), 0},
      // The bevels of a panel: two open L-shaped figures, each its own path.
      {Path({{{{5, 80}, {5, 5}, {110, 5}}}}), 2},
      {Path({{{{110, 5}, {110, 80}, {4, 80}}}}), 2},
      {Path({{{{110, 5}, {110, 80}, {4, 80}}}}, flat), 2},
      {Path({{{{5.5, 80.5}, {5.5, 5.5}, {110.5, 5.5}}}}, flat), 2},
      // A bevel ending one pixel left of the device: QPainter.
      {Path({{{{110, 5}, {110, 80}, {-1, 80}}}}), 0},
      // Closed explicitly, or by ending on the first point.
      {Path({{{{20, 20}, {60, 20}, {60, 50}, {20, 50}}, true}}, flat), 4},
      {Path({{{{20, 20}, {60, 20}, {60, 50}, {20, 50}, {20, 20}}}}, flat), 4},
      // Several figures; the second starts back along the first's last
      // direction, which caps it when flat.
      {Path({{{{10, 10}, {50, 10}}}, {{{45, 30}, {20, 30}}}}), 2},
      {Path({{{{10, 10}, {50, 10}}}, {{{45, 30}, {20, 30}}}}, flat), 0},
      {Path({{{{10, 10}, {50, 10}}}, {{{20, 30}, {45, 30}}}}, flat), 2},
      // Straight joints, short and empty segments: QPainter.
      {Path({{{{10, 10}, {30, 10}, {50, 10}}}}), 0},
      {Path({{{{10, 10}, {30, 10}, {20, 10}}}}), 0},
      {Path({{{{10, 10}, {30, 10}, {30, 11}, {50, 11}}}}), 0},
      {Path({{{{10, 10}, {30, 10}, {30, 10}, {30, 40}}}}), 0},
  };
  // A dotted pen: QPainter.
  cases.push_back({Rect(10, 10, 30, 20), 0});
  cases.back().c.dash = THostStrokeDash::Dot;
  // Translated and clipped.
  cases.push_back({Rect(10.5, 10.5, 80.5, 60.5), 4});
  cases.back().c.translation = QPoint(7, -3);
  cases.back().c.clip = QRect(20, 0, 30, 40);
  for (const Expectation& e : cases) {
    const QImage expected = Reference(e.c);
    std::uint64_t runs = 0;
    EXPECT_EQ(Differences(expected, ThroughCanvas(e.c, &runs)), 0) << Describe(e.c);
    EXPECT_EQ(runs, e.runs) << Describe(e.c);
    if (e.runs > 0) {
      EXPECT_GT(Differences(expected, Blank()), 0) << "the outline drew something: " << Describe(e.c);
    }
  }
}

// Random coordinates (in single precision, as the host hands them over):
// whole pixels, any fraction, or near the rasteriser's 1/64 steps.
class RandomOutlines {
 public:
  explicit RandomOutlines(unsigned seed) : FRandom(seed) {}
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRandom); }
  float Coordinate(int lo, int hi) {
    const int whole = Pick(lo, hi);
    switch (FMode) {
      case 0: return static_cast<float>(whole);
      case 1: return static_cast<float>(whole + std::uniform_real_distribution<double>(0, 1)(FRandom));
      default: return static_cast<float>(whole + (Pick(0, 63) + 1e-3 * Pick(-1, 1)) / 64);
    }
  }
  // A length along one axis: mostly a few pixels or more, sometimes less.
  float Length() {
    const float sign = Pick(0, 1) ? 1 : -1;
    return sign * (Pick(0, 5) ? Coordinate(2, 40) : Coordinate(0, 2));
  }
  void Common(OutlineCase& c) {
    FMode = Pick(0, 2);
    c.cap = Pick(0, 1) ? THostStrokeCap::Flat : THostStrokeCap::Round;
    c.translation = Pick(0, 2) ? QPoint() : QPoint(Pick(-10, 10), Pick(-10, 10));
    c.clip = Pick(0, 3) ? QRect() : QRect(Pick(0, 80), Pick(0, 60), Pick(1, 100), Pick(1, 80));
    c.colour = 0xFF000000u | static_cast<TColor>(Pick(0, 0xFFFFFF));
  }
  // Mostly inside the device, sometimes across its edges.
  OutlineCase Rectangle() {
    OutlineCase c;
    c.rect = true;
    Common(c);
    const int margin = Pick(0, 4) ? 0 : 15;
    const float l = Coordinate(-margin, KWidth - 1 + margin), t = Coordinate(-margin, KHeight - 1 + margin);
    float w = Length(), h = Length();
    if (Pick(0, 15) == 0) w = 0;
    if (Pick(0, 15) == 0) h = 0;
    c.box = {l, t, l + w, t + h};
    return c;
  }
  // One to three figures turning at most joints, open, closed, or ending on
  // their first point.
  OutlineCase Path() {
    OutlineCase c;
    Common(c);
    for (int figures = Pick(1, 3); figures > 0; --figures) {
      Figure f;
      TPointF at{Coordinate(0, KWidth - 1), Coordinate(0, KHeight - 1)};
      f.points.push_back(at);
      bool horizontal = Pick(0, 1);
      for (int n = Pick(1, 5); n > 0; --n) {
        if (Pick(0, 7) != 0) horizontal = !horizontal;  // mostly a turn
        float step = Pick(0, 20) ? Length() : 0;
        // Mostly kept on the device.
        const float along = horizontal ? at.X : at.Y, size = horizontal ? KWidth : KHeight;
        if (Pick(0, 5) && (along + step < 0 || along + step >= size)) step = -step;
        (horizontal ? at.X : at.Y) += step;
        f.points.push_back(at);
      }
      const int ending = Pick(0, 3);
      if (ending >= 2 && f.points.size() >= 3) {
        // Back to the first point along an axis: an extra corner if needed.
        const TPointF first = f.points.front();
        if (at.X != first.X && at.Y != first.Y)
          f.points.push_back(horizontal ? TPointF{at.X, first.Y} : TPointF{first.X, at.Y});
        if (ending == 3)
          f.points.push_back(first);
        else
          f.closed = true;
      }
      c.figures.push_back(std::move(f));
    }
    return c;
  }

 private:
  std::mt19937 FRandom;
  int FMode = 0;
};

TEST(QtCrispOutlines, SameAsQPainterOnRandomRectangles) {
  const unsigned seed = 9090;
  RandomOutlines random(seed);
  int shortcuts = 0;
  for (int n = 0; n < 4000; ++n) {
    const OutlineCase c = random.Rectangle();
    std::uint64_t runs = 0;
    const int diff = Differences(Reference(c), ThroughCanvas(c, &runs));
    ASSERT_EQ(diff, 0) << "seed " << seed << " case " << n << ": " << Describe(c);
    shortcuts += runs > 0;
  }
  // Many rectangles lie on the device with sides of two pixels or more.
  EXPECT_GT(shortcuts, 1200);
}

TEST(QtCrispOutlines, SameAsQPainterOnRandomPaths) {
  const unsigned seed = 7171;
  RandomOutlines random(seed);
  int shortcuts = 0;
  for (int n = 0; n < 4000; ++n) {
    const OutlineCase c = random.Path();
    std::uint64_t runs = 0;
    const int diff = Differences(Reference(c), ThroughCanvas(c, &runs));
    ASSERT_EQ(diff, 0) << "seed " << seed << " case " << n << ": " << Describe(c);
    shortcuts += runs > 0;
  }
  // Many paths turn at every joint, with long enough segments on the device.
  EXPECT_GT(shortcuts, 600);
}

// Bevels of a panel at the device's edges: L-shaped figures whose flat
// open end lies on the pixel just before the first column or row (the
// canvas fills them), or further out (left to QPainter).
TEST(QtCrispOutlines, SameAsQPainterOnBevelsAtTheDeviceEdge) {
  std::mt19937 random(4242);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  int shortcuts = 0;
  for (int n = 0; n < 1500; ++n) {
    OutlineCase c;
    c.cap = pick(0, 3) ? THostStrokeCap::Flat : THostStrokeCap::Round;
    c.translation = pick(0, 1) ? QPoint() : QPoint(pick(0, 3), pick(0, 3));
    c.clip = pick(0, 3) ? QRect() : QRect(0, 0, pick(1, KWidth), pick(1, KHeight));
    c.colour = 0xFF000000u | static_cast<TColor>(pick(0, 0xFFFFFF));
    const float edge = static_cast<float>(-1 - (pick(0, 5) ? 0 : pick(1, 2))) - c.translation.x();
    const float top = static_cast<float>(pick(0, 30)), bottom = static_cast<float>(pick(40, KHeight - 1));
    const float right = static_cast<float>(pick(20, KWidth - 1));
    Figure f;
    if (pick(0, 1)) {
      // (R,T) -> (R,B) -> (edge,B): the lower bevel ending before column 0.
      f.points = {{right, top}, {right, bottom}, {edge, bottom}};
    } else {
      // The same turned: down from before row 0, then right.
      const float edgeY = edge + c.translation.x() - c.translation.y();
      f.points = {{right, edgeY}, {right, bottom}, {static_cast<float>(pick(0, 10)), bottom}};
    }
    if (pick(0, 1)) std::reverse(f.points.begin(), f.points.end());
    c.figures.push_back(std::move(f));
    std::uint64_t runs = 0;
    const int diff = Differences(Reference(c), ThroughCanvas(c, &runs));
    ASSERT_EQ(diff, 0) << "case " << n << ": " << Describe(c);
    shortcuts += runs > 0;
  }
  EXPECT_GT(shortcuts, 500);
}

}  // namespace
}  // namespace sextant

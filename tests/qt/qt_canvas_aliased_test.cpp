// The Qt canvas switched to aliased drawing (SetAntialiased(false)): no
// blended pixels from any stroke or fill, slanted one-pixel lines on the same
// pixels as crisp ones, axis-aligned strokes and texts exactly as before, and
// connected lines of a thin solid pen one polyline that differs from its
// segments drawn one by one only at the joints (drawn once instead of once
// per segment). The default canvas keeps antialiasing slanted strokes.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_conversions_p.h"
#include "qt_image_compare.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

using testing::Differences;

constexpr TColor KPen = 0xFF0000FF;
constexpr TColor KBrush = 0xFF00A000;
constexpr QRgb KWhite = 0xFFFFFFFFu;

// Paints with a canvas on a white 80 x 60 image; Aliased switches the
// canvas to aliased drawing before Draw runs.
QImage Paint(bool Aliased, const std::function<void(TQtHostCanvas&)>& Draw) {
  QImage image(80, 60, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  TQtHostCanvas canvas(painter);
  if (Aliased) canvas.SetAntialiased(false);
  canvas.BeginScene();
  ChangeStroke(canvas, [&](THostStroke& s) {
    s.Color = KPen;
    s.Thickness = 1;
    s.Cap = THostStrokeCap::Flat;
  });
  ChangeFill(canvas, [&](THostFill& f) { f.Color = KBrush; });
  Draw(canvas);
  canvas.EndScene();
  painter.end();
  return image;
}

// Where a polyline's pixels differ from those of its segments drawn one by
// one: painted only segment by segment, only as one polyline, and pixels
// farther than one and a half pixels from every joint (point of the line;
// half-pixel points have two nearest pixels).
struct TJointDifferences {
  int Differ = 0;
  int OnlyOne = 0;
  int OnlyAll = 0;
  int OffJoint = 0;
};

TJointDifferences CompareAtJoints(const QImage& One, const QImage& All, const std::vector<TPointF>& Points) {
  TJointDifferences d;
  for (int y = 0; y < One.height(); ++y)
    for (int x = 0; x < One.width(); ++x) {
      const QRgb a = One.pixel(x, y), b = All.pixel(x, y);
      if (a == b) continue;
      ++d.Differ;
      d.OnlyOne += b == KWhite;
      d.OnlyAll += a == KWhite;
      bool nearJoint = false;
      for (const TPointF& p : Points)
        nearJoint = nearJoint ||
                    (std::abs(p.X - static_cast<float>(x)) <= 1.5f && std::abs(p.Y - static_cast<float>(y)) <= 1.5f);
      d.OffJoint += !nearJoint;
    }
  return d;
}

// The colours of the image other than white.
std::set<QRgb> Colours(const QImage& Image) {
  std::set<QRgb> colours;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x)
      if (Image.pixel(x, y) != KWhite) colours.insert(Image.pixel(x, y));
  return colours;
}

struct TShapeCase {
  std::string Name;
  std::function<void(TQtHostCanvas&)> Draw;
  TColor Colour;  // the only colour an aliased drawing may leave
};

std::vector<TShapeCase> SlantedCases() {
  static const std::vector<TPointF> zigzag{{5, 50}, {20, 10}, {35, 45}, {50, 12}, {75, 40}};
  return {
      {"line", [](TQtHostCanvas& c) { c.DrawLine({3, 4}, {70, 55}, 1); }, KPen},
      {"polyline", [](TQtHostCanvas& c) { c.DrawPolyline(zigzag.data(), zigzag.size(), 1); }, KPen},
      {"connected_lines", [](TQtHostCanvas& c) { c.DrawConnectedLines(zigzag.data(), zigzag.size(), 1); }, KPen},
      {"ellipse_outline", [](TQtHostCanvas& c) { c.DrawEllipse({10, 8, 70, 52}, 1); }, KPen},
      {"ellipse_fill", [](TQtHostCanvas& c) { c.FillEllipse({10, 8, 70, 52}, 1); }, KBrush},
      {"rounded_rect_outline", [](TQtHostCanvas& c) { c.DrawRect({8, 8, 72, 52}, 12, 12, hcAll, 1, THostCornerType::Round); }, KPen},
      {"arc", [](TQtHostCanvas& c) { c.DrawArc({40, 30}, {25, 20}, 10, 200, 1); }, KPen},
      {"triangle_fill",
       [](TQtHostCanvas& c) {
         THostPath path;
         path.MoveTo({5, 55});
         path.LineTo({40, 3});
         path.LineTo({76, 50});
         path.ClosePath();
         c.FillPath(path, 1);
       },
       KBrush},
      {"triangle_outline",
       [](TQtHostCanvas& c) {
         THostPath path;
         path.MoveTo({5, 55});
         path.LineTo({40, 3});
         path.LineTo({76, 50});
         path.ClosePath();
         c.DrawPath(path, 1);
       },
       KPen},
  };
}

void PrintTo(const TShapeCase& Case, std::ostream* Out) { *Out << Case.Name; }

class QtCanvasAliasedShapes : public ::testing::TestWithParam<TShapeCase> {};

TEST_P(QtCanvasAliasedShapes, LeaveOnlyTheirOwnColour) {
  const TShapeCase& c = GetParam();
  const std::set<QRgb> aliased = Colours(Paint(true, c.Draw));
  EXPECT_EQ(aliased, std::set<QRgb>{ToQColor(c.Colour).rgba()});
  // The default canvas blends the edges of the same shape.
  EXPECT_GT(Colours(Paint(false, c.Draw)).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Shapes, QtCanvasAliasedShapes, ::testing::ValuesIn(SlantedCases()),
                         [](const ::testing::TestParamInfo<TShapeCase>& info) { return info.param.Name; });

TEST(QtCanvasAliased, IsOptIn) {
  QImage image(4, 4, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  TQtHostCanvas canvas(painter);
  EXPECT_TRUE(canvas.Antialiased());
  canvas.SetAntialiased(false);
  EXPECT_FALSE(canvas.Antialiased());
}

// A diagonal through whole-pixel coordinates covers the pixels it passes
// through, on the same pixel convention as a crisp line: (10, 10), (11, 11)
// ... and neither neighbour of them.
TEST(QtCanvasAliased, DiagonalCoversItsOwnPixels) {
  const QImage image = Paint(true, [](TQtHostCanvas& c) { c.DrawLine({10, 10}, {30, 30}, 1); });
  const QRgb pen = ToQColor(KPen).rgba();
  for (int i = 10; i < 30; ++i) {
    EXPECT_EQ(image.pixel(i, i), pen) << i;
    EXPECT_EQ(image.pixel(i + 1, i), KWhite) << i;
    EXPECT_EQ(image.pixel(i, i + 1), KWhite) << i;
  }
  // A vertical line at x = 10 from the same start shares its first pixel.
  const QImage crisp = Paint(true, [](TQtHostCanvas& c) { c.DrawLine({10, 10}, {10, 30}, 1); });
  EXPECT_EQ(crisp.pixel(10, 10), pen);
  EXPECT_EQ(crisp.pixel(9, 10), KWhite);
  EXPECT_EQ(crisp.pixel(11, 10), KWhite);
}

// Axis-aligned strokes and fills and texts do not depend on the switch.
TEST(QtCanvasAliased, AxisAlignedDrawingAndTextUnchanged) {
  const std::vector<std::function<void(TQtHostCanvas&)>> draws{
      [](TQtHostCanvas& c) { c.DrawLine({5, 7}, {70, 7}, 1); },
      [](TQtHostCanvas& c) { c.DrawRect({6, 9, 60, 50}, 0, 0, hcAll, 1, THostCornerType::Round); },
      [](TQtHostCanvas& c) {
        ChangeStroke(c, [&](THostStroke& s) { s.Thickness = 3; });
        c.DrawLine({20, 5}, {20, 55}, 1);
      },
      [](TQtHostCanvas& c) { c.FillRect({11, 12, 41, 33}, 0, 0, hcAll, 1, THostCornerType::Round); },
      [](TQtHostCanvas& c) {
        const TPointF stairs[] = {{5, 50}, {5, 40}, {15, 40}, {15, 30}, {25, 30}};
        c.DrawPolyline(stairs, 5, 1);
      },
      [](TQtHostCanvas& c) {
        auto layout = c.CreateTextLayout();
        layout->SetText("Axis 123");
        layout->SetTopLeft({4, 20});
        layout->SetColor(claBlack);
        c.RenderLayout(*layout);
      },
  };
  for (std::size_t i = 0; i < draws.size(); ++i) {
    const QImage on = Paint(false, draws[i]);
    const QImage off = Paint(true, draws[i]);
    EXPECT_FALSE(Colours(on).empty()) << i;
    EXPECT_EQ(Differences(on, off), 0) << i;
  }
}

// The connected-lines path (runs of crisp segments drawn as one line, the
// slanted ones one by one) paints exactly what DrawLine segment by segment
// paints, with the canvas aliased.
TEST(QtCanvasAliased, ConnectedLinesDifferFromSegmentsOnlyAtJoints) {
  struct TStroke {
    std::string Name;
    TColor Colour;
    float Width;
    float Opacity;
    THostStrokeCap Cap = THostStrokeCap::Flat;
  };
  const std::vector<TStroke> strokes{{"opaque", 0xFF000000, 1, 1},
                                     {"opaque_round_cap", 0xFF3060A0, 1, 1, THostStrokeCap::Round},
                                     {"opaque_hairline", 0xFF008000, 0, 1},
                                     {"translucent", 0x80FF0000, 1, 1},
                                     {"half_opacity", 0xFF0000FF, 1, 0.5f},
                                     {"wide", 0xFF000000, 3, 1}};
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<int> step(-6, 6);
    std::vector<TPointF> points{{2, 30}};
    for (int i = 0; i < 600; ++i) {
      TPointF p = points.back();
      if (kind(rng) == 0) p.X += 1;                                  // the next column: a slanted step
      if (kind(rng) == 1) p.X += static_cast<float>(step(rng)) / 2;  // slanted, also backwards
      p.Y = std::clamp(p.Y + static_cast<float>(step(rng)), 0.0f, 59.0f);
      points.push_back(p);
    }
    for (const TStroke& s : strokes) {
      auto setUp = [&](TQtHostCanvas& c) {
        ChangeStroke(c, [&](THostStroke& k) {
          k.Color = s.Colour;
          k.Thickness = s.Width;
          k.Cap = s.Cap;
        });
      };
      const QImage one = Paint(true, [&](TQtHostCanvas& c) {
        setUp(c);
        for (std::size_t i = 1; i < points.size(); ++i) c.DrawLine(points[i - 1], points[i], s.Opacity);
      });
      const QImage all = Paint(true, [&](TQtHostCanvas& c) {
        setUp(c);
        c.DrawConnectedLines(points.data(), points.size(), s.Opacity);
      });
      EXPECT_GT(static_cast<int>(Colours(one).size()), 0) << s.Name;
      const TJointDifferences d = CompareAtJoints(one, all, points);
      if (s.Width > 1) {
        EXPECT_EQ(d.Differ, 0) << s.Name << " seed " << seed;  // one call per segment, as before
      } else {
        // One polyline: only joints may differ (a joint drawn once), and
        // the line is no thinner than its segments (the polyline leaves
        // out far fewer pixels than it adds where segments meet).
        EXPECT_EQ(d.OffJoint, 0) << s.Name << " seed " << seed;
        EXPECT_GT(d.Differ, 0) << s.Name << " seed " << seed;  // the polyline was drawn
        EXPECT_LT(d.OnlyOne, d.OnlyAll + 20) << s.Name << " seed " << seed;
      }
      if (s.Opacity == 1 && (s.Colour >> 24) == 0xFF) {
        EXPECT_EQ(Colours(all), std::set<QRgb>{ToQColor(s.Colour).rgba()}) << s.Name;
      }
    }
  }
}

// Many points on one pixel column (or row), as a random walk of many
// points per pixel gives: an opaque aliased line draws each run of four or
// more such points as its first point, its two extremes and its last
// point. Compared with QPainter's own polyline through every point, the
// column between the extremes is the same; only the pixel of a point of
// the line may differ (where the rasteriser leaves out the end pixel of a
// segment depends on the turns it takes), and the line has no fewer of
// those. Translucent lines keep every point (pixels painted twice blend
// twice): their pixels are exactly the polyline's.
TEST(QtCanvasAliased, ColumnRunsKeepThePixelsOfTheWholePolyline) {
  struct TRunCase {
    const char* Name;
    TColor Colour;
    float Opacity;
    int PerColumn;  // points per pixel column
    bool Rows;      // stretches along a pixel row too
    bool Exact;     // no point is left out
  };
  const TRunCase cases[] = {{"two per column", 0xFF000000, 1, 2, false, false},
                            {"five per column", 0xFF3060A0, 1, 5, false, false},
                            {"fifty per column", 0xFF000000, 1, 50, false, false},
                            {"rows and columns", 0xFF008000, 1, 6, true, false},
                            {"translucent", 0x80FF0000, 1, 8, true, true},
                            {"half opacity", 0xFF0000FF, 0.5f, 8, false, true}};
  for (const TRunCase& c : cases) {
    int extra = 0, missing = 0;
    for (unsigned seed = 11; seed < 31; ++seed) {
      std::mt19937 rng(seed);
      std::uniform_int_distribution<int> step(-7, 7);
      std::uniform_int_distribution<int> coin(0, 9);
      std::vector<TPointF> points;
      float y = 30;
      float x = 2;
      for (int i = 0; points.size() < 900; ++i) {
        if (i % c.PerColumn == 0) x += 1;
        if (x > 77) break;
        if (c.Rows && coin(rng) == 0) {
          // A stretch along the row: X goes on, Y stays.
          for (int k = 0; k < 5 && x < 77; ++k) points.push_back({x++, y});
          continue;
        }
        y = std::clamp(y + static_cast<float>(step(rng)), 0.0f, 59.0f);
        points.push_back({x, y});
      }
      QImage expected(80, 60, QImage::Format_ARGB32_Premultiplied);
      expected.fill(Qt::white);
      {
        QPainter painter(&expected);
        QPen pen(ToQColor(c.Colour), 1);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setOpacity(c.Opacity);
        std::vector<QPointF> q;
        for (TPointF p : points) q.emplace_back(p.X, p.Y);
        painter.drawPolyline(q.data(), static_cast<int>(q.size()));
      }
      const QImage drawn = Paint(true, [&](TQtHostCanvas& canvas) {
        ChangeStroke(canvas, [&](THostStroke& k) { k.Color = c.Colour; });
        canvas.DrawConnectedLines(points.data(), points.size(), c.Opacity);
      });
      std::set<std::pair<int, int>> pointPixels;
      for (TPointF p : points) pointPixels.insert({static_cast<int>(p.X), static_cast<int>(p.Y)});
      for (int py = 0; py < 60; ++py)
        for (int px = 0; px < 80; ++px) {
          if (drawn.pixel(px, py) == expected.pixel(px, py)) continue;
          ASSERT_FALSE(c.Exact) << c.Name << " seed " << seed << " pixel " << px << "," << py;
          ASSERT_TRUE(pointPixels.count({px, py})) << c.Name << " seed " << seed << " pixel " << px << "," << py;
          (drawn.pixel(px, py) == KWhite ? missing : extra) += 1;
        }
    }
    EXPECT_LE(missing, extra) << c.Name;
  }
}

}  // namespace
}  // namespace sextant

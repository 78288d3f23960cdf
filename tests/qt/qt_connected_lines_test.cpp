// DrawConnectedLines of the Qt canvas draws exactly the pixels of DrawLine
// called segment by segment: the same crisp and antialiased segments, the
// same blending where segments meet, for every kind of stroke.
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/qt/qt_canvas.h"
#include "qt_image_compare.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

using testing::Differences;

// A random walk of line ends over a 120 x 90 image and a little beyond it,
// with vertical, horizontal, slanted, zero-length and fractional segments.
std::vector<TPointF> Walk(unsigned Seed, int Count) {
  std::mt19937 rng(Seed);
  std::uniform_int_distribution<int> kind(0, 9);
  std::uniform_int_distribution<int> step(-25, 25);
  std::vector<TPointF> pts{{60, 45}};
  for (int i = 1; i < Count; ++i) {
    TPointF p = pts.back();
    switch (kind(rng)) {
      case 0: case 1: case 2: p.Y += static_cast<float>(step(rng)); break;  // vertical
      case 3: p.X += static_cast<float>(step(rng)); break;                    // horizontal
      case 4: break;                                                          // zero length
      case 5: p.X += step(rng) * 0.25f; p.Y += step(rng) * 0.5f; break;       // fractional
      default: p.X += static_cast<float>(step(rng)); p.Y += static_cast<float>(step(rng)); break;
    }
    p.X = std::clamp(p.X, -20.0f, 140.0f);
    p.Y = std::clamp(p.Y, -20.0f, 110.0f);
    pts.push_back(p);
  }
  return pts;
}

// A dense series: runs of vertical steps (zero-length ones among them) on
// one pixel column, then a slanted step to the next column, as a large
// random walk draws.
std::vector<TPointF> Columns(unsigned Seed, int Count) {
  std::mt19937 rng(Seed);
  std::uniform_int_distribution<int> step(-4, 4);
  std::uniform_int_distribution<int> stay(0, 9);
  std::vector<TPointF> pts{{-3, 45}};
  for (int i = 1; i < Count; ++i) {
    TPointF p = pts.back();
    if (stay(rng) == 0) p.X += 1;
    p.Y = std::clamp(p.Y + static_cast<float>(step(rng)), -5.0f, 95.0f);
    pts.push_back(p);
  }
  return pts;
}

struct TStrokeCase {
  std::string Name;
  std::function<void(THostStroke&)> Stroke;
  float Opacity = 1;
  TKelMatrix Matrix = TKelMatrix::Identity();
  bool Clip = false;
};

QImage Draw(const TStrokeCase& C, const std::vector<TPointF>& Points, bool Connected) {
  QImage image(120, 90, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  TQtHostCanvas canvas(painter);
  canvas.BeginScene();
  canvas.SetMatrix(C.Matrix);
  if (C.Clip) canvas.IntersectClipRect({10, 10, 100, 70});
  ChangeStroke(canvas, C.Stroke);
  if (Connected) {
    canvas.DrawConnectedLines(Points.data(), Points.size(), C.Opacity);
  } else {
    for (std::size_t i = 1; i < Points.size(); ++i) canvas.DrawLine(Points[i - 1], Points[i], C.Opacity);
  }
  canvas.EndScene();
  painter.end();
  return image;
}

int Painted(const QImage& A) {
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) n += A.pixel(x, y) != 0xFFFFFFFFu;
  return n;
}

auto Solid(TColor Color, float Width) {
  return [=](THostStroke& s) {
    s.Kind = THostBrushKind::Solid;
    s.Color = Color;
    s.Thickness = Width;
    s.Cap = THostStrokeCap::Flat;
  };
}

std::vector<TStrokeCase> Cases() {
  std::vector<TStrokeCase> cases{
      {"thin_black", Solid(0xFF000000, 1)},
      {"thin_half_opacity", Solid(0xFF0000FF, 1), 0.5f},
      {"thin_translucent_colour", Solid(0x80FF0000, 1)},
      {"cosmetic_zero_width", Solid(0xFF008000, 0)},
      {"wide_flat", Solid(0xC0000000, 2)},
      {"wide_round", [](THostStroke& s) {
         Solid(0xA00000FF, 3)(s);
         s.Cap = THostStrokeCap::Round;
         s.Join = THostStrokeJoin::Round;
       }},
      {"dashed", [](THostStroke& s) {
         Solid(0xFF000000, 1)(s);
         s.Dash = THostStrokeDash::Dash;
       }},
      {"gradient", [](THostStroke& s) {
         Solid(0xFF000000, 1)(s);
         s.Kind = THostBrushKind::Gradient;
         s.Gradient.Points = {{0xFFFF0000, 0}, {0xFF0000FF, 1}};
       }},
      {"clear", [](THostStroke& s) { s.Kind = THostBrushKind::None; }},
      {"scaled", Solid(0xFF000000, 1), 1, TKelMatrix::Scaling(1.5f, 1.5f)},
      {"double_density", Solid(0xFF000000, 1), 1, TKelMatrix::Scaling(2, 2)},
      {"double_density_wide", Solid(0xFF000000, 3), 1, TKelMatrix::Scaling(2, 2)},
      {"translated", Solid(0x90000000, 1), 1, TKelMatrix::Translation(0.5f, 3)},
      {"clipped", Solid(0xFF000000, 1), 0.7f, TKelMatrix::Identity(), true},
      {"opaque_clipped", Solid(0xFF000000, 1), 1, TKelMatrix::Identity(), true},
      {"opaque_square_cap", [](THostStroke& s) {
         Solid(0xFF0000FF, 1)(s);
         s.Cap = THostStrokeCap::Round;
       }},
      {"opaque_whole_offset", Solid(0xFF800000, 1), 1, TKelMatrix::Translation(2, -3)},
  };
  return cases;
}

class QtConnectedLines : public ::testing::TestWithParam<TStrokeCase> {};

TEST_P(QtConnectedLines, SamePixelsAsOneLineAtATime) {
  const TStrokeCase& c = GetParam();
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    const std::vector<TPointF> points = seed <= 3 ? Walk(seed, 400) : Columns(seed, 1500);
    const QImage one = Draw(c, points, false);
    const QImage all = Draw(c, points, true);
    if (c.Name != "clear") {
      EXPECT_GT(Painted(one), 20) << "seed " << seed;
    } else {
      EXPECT_EQ(Painted(one), 0);
    }
    EXPECT_EQ(Differences(one, all), 0) << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(Strokes, QtConnectedLines, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TStrokeCase>& info) { return info.param.Name; });

TEST(QtConnectedLinesBasics, AnswersBatchingAndIgnoresShortLists) {
  QImage image(20, 20, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  TQtHostCanvas canvas(painter);
  EXPECT_TRUE(canvas.BatchesLines());
  const TPointF one[1] = {{5, 5}};
  canvas.DrawConnectedLines(one, 1, 1);
  canvas.DrawConnectedLines(nullptr, 0, 1);
  painter.end();
  EXPECT_EQ(Painted(image), 0);
}

}  // namespace
}  // namespace sextant

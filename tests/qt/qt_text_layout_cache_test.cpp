// The Qt text layout keeps the texts it laid out: measuring and drawing a
// text again, in any order and after many others, gives what laying it out
// afresh gives.
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/qt/qt_conversions_p.h"
#include "platform/qt/qt_text_layout_p.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

TRectF Measure(TQtTextLayout& Layout, const std::string& Text, const THostFont& Font) {
  Layout.SetText(Text);
  Layout.SetFont(Font);
  return Layout.TextRect();
}

TEST(QtTextLayoutCache, RepeatedTextsMeasureAsFreshOnes) {
  THostFont small;
  small.Family = "DejaVu Sans";
  small.Size = 11;
  THostFont big = small;
  big.Size = 20;
  big.Bold = true;
  // Many more texts than the layout keeps, each in two fonts, visited
  // three times in different orders.
  std::vector<std::string> texts;
  for (int i = 0; i < 150; ++i) texts.push_back(std::to_string(i * 37) + (i % 3 ? "" : "\rsecond line"));
  TQtTextLayout cached;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t k = 0; k < texts.size(); ++k) {
      const std::string& text = texts[round == 1 ? texts.size() - 1 - k : (k * 7) % texts.size()];
      for (const THostFont& font : {small, big}) {
        TQtTextLayout fresh;
        const TRectF expected = Measure(fresh, text, font);
        ASSERT_EQ(Measure(cached, text, font), expected) << text << " round " << round;
      }
    }
  }
  // Fonts differ in size: the key holds the font, not only the text.
  EXPECT_LT(Measure(cached, "12345", small).Right, Measure(cached, "12345", big).Right);
  // Every spelling of a line break is one break, cached apart or not.
  const TRectF cr = Measure(cached, "first\rsecond", small);
  for (const char* text : {"first\r\nsecond", "first\nsecond"}) {
    EXPECT_EQ(Measure(cached, text, small), cr) << text;
    EXPECT_GT(cr.Height(), Measure(cached, "first", small).Height() * 1.5f);
  }
}

TEST(QtTextLayoutCache, DrawsTheTextLastSet) {
  auto draw = [](TQtTextLayout& layout, const std::string& text) {
    QImage image(120, 30, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    layout.SetText(text);
    layout.SetTopLeft({2, 2});
    layout.Draw(painter);
    painter.end();
    return image;
  };
  TQtTextLayout cached;
  const QImage first = draw(cached, "1,234");
  const QImage second = draw(cached, "98.7");
  TQtTextLayout fresh;
  EXPECT_EQ(draw(cached, "1,234"), first);  // from the cache
  EXPECT_EQ(draw(fresh, "98.7"), second);
  EXPECT_NE(first, second);
}

// Texts are drawn from the glyphs kept with the layout; the pixels must be
// those of Qt drawing the layout itself, decorations and several lines
// included, on a plain and on a rotated painter, and again from the cache.
TEST(QtTextLayoutCache, CachedGlyphsDrawLikeTheLayout) {
  struct Case {
    const char* text;
    bool bold, italic, underline, strikeOut;
    qreal angle;
  };
  const Case cases[] = {
      {"1,234.5", false, false, false, false, 0},
      {"TChart", true, false, true, false, 0},
      {"Struck\rtwo lines", false, true, false, true, 0},
      {"-0.25 %", true, true, true, true, 30},
      {"Rotated", false, false, true, false, 90},
  };
  for (const Case& c : cases) {
    THostFont font;
    font.Family = "DejaVu Sans";
    font.Size = 13;
    font.Bold = c.bold;
    font.Italic = c.italic;
    font.Underline = c.underline;
    font.StrikeOut = c.strikeOut;
    auto canvas = [&](QPainter& painter) {
      painter.translate(60, 50);
      painter.rotate(c.angle);
    };
    QImage expected(160, 120, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::white);
    {
      QPainter painter(&expected);
      canvas(painter);
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setRenderHint(QPainter::TextAntialiasing, true);
      painter.setPen(QColor::fromRgba(0xFF203040));
      QTextLayout layout;
      QTextOption option;
      option.setWrapMode(QTextOption::NoWrap);
      option.setAlignment(Qt::AlignLeft | Qt::AlignTop);
      option.setTextDirection(Qt::LeftToRight);
      layout.setTextOption(option);
      layout.setText(QString::fromUtf8(c.text).replace(QChar('\r'), QChar::LineSeparator));
      layout.setFont(ToQFont(font, 96));
      layout.beginLayout();
      qreal y = 0;
      for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(1e6);
        line.setPosition(QPointF(0, y));
        y += line.height();
      }
      layout.endLayout();
      layout.draw(&painter, QPointF(-20, -10));
    }
    TQtTextLayout ours(96);
    for (int round = 0; round < 2; ++round) {
      QImage image(160, 120, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::white);
      QPainter painter(&image);
      canvas(painter);
      ours.SetText(c.text);
      ours.SetFont(font);
      ours.SetColor(0xFF203040);
      ours.SetTopLeft({-20, -10});
      ours.Draw(painter);
      painter.end();
      EXPECT_EQ(image, expected) << c.text << " round " << round;
      ours.SetText("something else");  // the next round draws from the cache
      ours.TextRect();
    }
  }
}

// Axis labels, titles and marks are drawn from images of their glyphs
// where that gives the same pixels: on any background, at any fraction of a
// pixel, at device scale 2, and again from the kept image. Translucent
// texts and vector devices take the glyphs themselves.
TEST(QtTextLayoutCache, TextImagesDrawLikeTheGlyphs) {
  struct Case {
    const char* name;
    TPointF topLeft;
    QRgb colour;
    qreal scale;      // device pixel ratio of the image
    QPointF shift;    // painter translation
    float opacity;
    bool fromImage;   // expected to be drawn from its image
  };
  const Case cases[] = {
      {"whole pixels", {7, 5}, 0xFF000000, 1, {0, 0}, 1, true},
      {"grey, fractions", {7.25f, 5.75f}, 0xFFA9A9A9, 1, {0, 0}, 1, true},
      {"red, half pixel shift", {3, 4}, 0xFFFF0000, 1, {0.5, 0.5}, 1, true},
      {"white on colour", {10.5f, 2.33f}, 0xFFFFFFFF, 1, {20, 10}, 1, true},
      {"translucent colour", {7, 5}, 0x80206040, 1, {0, 0}, 1, true},
      {"device scale 2", {7.3f, 5.1f}, 0xFF000000, 2, {0, 0}, 1, true},
      {"device scale 1.5", {7, 5}, 0xFF102030, 1.5, {0, 0}, 1, true},
      {"half opacity", {7, 5}, 0xFF000000, 1, {0, 0}, 0.5f, false},
  };
  THostFont font;
  font.Family = "DejaVu Sans";
  font.Size = 11;
  for (const Case& c : cases) {
    // A background that changes in every pixel: the blend must match on
    // all of them, not only on white.
    QImage background(140 * c.scale, 40 * c.scale, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < background.height(); ++y)
      for (int x = 0; x < background.width(); ++x)
        background.setPixel(x, y, qRgb((x * 7) % 256, (y * 13) % 256, (x * y) % 256));
    background.setDevicePixelRatio(c.scale);
    QImage expected = background;
    {
      QPainter painter(&expected);
      painter.translate(c.shift);
      painter.setRenderHint(QPainter::Antialiasing, true);
      painter.setRenderHint(QPainter::TextAntialiasing, true);
      painter.setOpacity(c.opacity);
      painter.setPen(QColor::fromRgba(c.colour));
      painter.setFont(ToQFont(font, 96));
      QTextLayout layout(QString::fromUtf8("Ag -1,234.5"), ToQFont(font, 96));
      layout.beginLayout();
      QTextLine line = layout.createLine();
      line.setLineWidth(1e6);
      line.setPosition(QPointF(0, 0));
      layout.endLayout();
      for (const QGlyphRun& run : layout.glyphRuns()) painter.drawGlyphRun(QPointF(c.topLeft.X, c.topLeft.Y), run);
    }
    TQtTextLayout ours(96);
    for (int round = 0; round < 2; ++round) {
      QImage image = background;
      const std::uint64_t before = TQtTextLayout::ImagesDrawn();
      {
        QPainter painter(&image);
        painter.translate(c.shift);
        ours.SetText("Ag -1,234.5");
        ours.SetFont(font);
        ours.SetColor(c.colour);
        ours.SetOpacity(c.opacity);
        ours.SetTopLeft(c.topLeft);
        ours.Draw(painter);
      }
      EXPECT_EQ(image, expected) << c.name << " round " << round;
      EXPECT_EQ(TQtTextLayout::ImagesDrawn() - before, c.fromImage ? 1u : 0u) << c.name;
      ours.SetText("another text");  // the next round finds the kept image
      ours.TextRect();
    }
  }
}

TEST(QtTextLayoutCache, VectorDevicesKeepTheirText) {
  QPicture picture;  // a vector device: the text must stay text
  TQtTextLayout ours(96);
  const std::uint64_t before = TQtTextLayout::ImagesDrawn();
  {
    QPainter painter(&picture);
    ours.SetText("1,000");
    ours.SetTopLeft({5, 5});
    ours.Draw(painter);
  }
  EXPECT_EQ(TQtTextLayout::ImagesDrawn(), before);
  EXPECT_GT(picture.size(), 0u);
}

}  // namespace
}  // namespace sextant

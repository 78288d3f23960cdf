#include "platform/qt/qt_text_layout_p.h"

#include <QTextOption>

#include <algorithm>

#include "platform/qt/qt_conversions_p.h"

namespace sextant {

TQtTextLayout::TQtTextLayout(qreal logicalDpiY) : FDpi(logicalDpiY > 0 ? logicalDpiY : 96) {
  FQFont = ToQFont(FFont, FDpi);
  FCache.reserve(KLayoutCache);
}

void TQtTextLayout::EndUpdate() {
  if (FUpdating > 0) --FUpdating;
}

void TQtTextLayout::SetText(const std::string& text) {
  QString s = LayoutText(text);
  if (s != FText) {
    FText = std::move(s);
    FDirty = true;
  }
}

void TQtTextLayout::SetFont(const THostFont& font) {
  if (!(font == FFont)) {
    FFont = font;
    FQFont = ToQFont(font, FDpi);
    FDirty = true;
  }
}

void TQtTextLayout::EnsureLayout() {
  if (!FDirty && FCurrent) return;
  FDirty = false;
  // A text laid out before in the same font is taken as it is. Entries stay
  // where they are (moving them would cost more than the search); a use
  // stamp finds the least recently used one to replace.
  ++FUseClock;
  for (TLaidOut& cached : FCache) {
    if (cached.Text.size() == FText.size() && cached.Text == FText && cached.Font == FFont) {
      cached.LastUse = FUseClock;
      FCurrent = &cached;
      FWidth = cached.Width;
      FHeight = cached.Height;
      return;
    }
  }
  TLaidOut* slot;
  if (FCache.size() < KLayoutCache) {
    slot = &FCache.emplace_back();
  } else {
    slot = &*std::min_element(FCache.begin(), FCache.end(),
                              [](const TLaidOut& a, const TLaidOut& b) { return a.LastUse < b.LastUse; });
    *slot = TLaidOut();
  }
  TLaidOut& entry = *slot;
  entry.LastUse = FUseClock;
  entry.Text = FText;
  entry.Font = FFont;
  entry.Layout = std::make_unique<QTextLayout>();
  QTextLayout& layout = *entry.Layout;
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.setText(FText);
  layout.setFont(FQFont);
  layout.beginLayout();
  qreal y = 0;
  qreal width = 0;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(1e6);  // no wrapping: lines end only at separators
    line.setPosition(QPointF(0, y));
    y += line.height();
    width = std::max(width, line.horizontalAdvance());
  }
  layout.endLayout();
  entry.Width = width;
  entry.Height = y;
  FCurrent = &entry;
  FWidth = width;
  FHeight = y;
}

TRectF TQtTextLayout::TextRect() {
  EnsureLayout();
  const qreal w = std::min<qreal>(FWidth, std::max<qreal>(0, FMaxSize.X));
  const qreal h = std::min<qreal>(FHeight, std::max<qreal>(0, FMaxSize.Y));
  return {FTopLeft.X, FTopLeft.Y, static_cast<float>(FTopLeft.X + w), static_cast<float>(FTopLeft.Y + h)};
}

// The painter is set up for the text without a save and restore of its
// whole state (the canvas sets pen, brush, hints and opacity before every
// primitive anyway); only a clip to a maximum size smaller than the text
// is undone.
void TQtTextLayout::Draw(QPainter& painter) {
  EnsureLayout();
  SetHint(painter, QPainter::Antialiasing, true);
  SetHint(painter, QPainter::TextAntialiasing, true);
  painter.setOpacity(ClampOpacity(FOpacity));
  if (FPen.color().rgba() != FColor) FPen = QPen(ToQColor(FColor));
  painter.setPen(FPen);
  painter.setBrush(Qt::NoBrush);
  painter.setFont(FQFont);
  const QPointF origin(FTopLeft.X, FTopLeft.Y);
  const bool clip = FMaxSize.X < FWidth || FMaxSize.Y < FHeight;
  if (clip) {
    painter.save();
    painter.setClipRect(QRectF(origin, QSizeF(std::max<qreal>(0, FMaxSize.X), std::max<qreal>(0, FMaxSize.Y))),
                        Qt::IntersectClip);
  }
  // Glyph runs carry no decorations the way the layout draws them:
  // underlined, struck-out and overlined texts are drawn by the layout.
  if (FQFont.underline() || FQFont.strikeOut() || FQFont.overline()) {
    FCurrent->Layout->draw(&painter, origin);
  } else {
    if (!FCurrent->HasRuns) {
      FCurrent->Runs = FCurrent->Layout->glyphRuns();
      FCurrent->HasRuns = true;
    }
    for (const QGlyphRun& run : FCurrent->Runs) painter.drawGlyphRun(origin, run);
  }
  if (clip) painter.restore();
}

}  // namespace sextant

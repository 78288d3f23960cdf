#include "platform/qt/chart_export.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <cmath>

#include "platform/qt/chart_render.h"

namespace sextant {

namespace {

// The engine's pixel bound, also for vector documents.
constexpr int kMaxPixels = 32767;
// Device-independent chart pixels per inch in SVG and PDF documents.
constexpr int kDocumentDpi = 96;
constexpr int kJpegQuality = 90;

void SetError(QString* error, const QString& text) {
  if (error) *error = text;
}

bool CheckSize(QSize size, QString* error) {
  if (size.width() > 0 && size.height() > 0 && size.width() <= kMaxPixels && size.height() <= kMaxPixels)
    return true;
  SetError(error, QStringLiteral("Cannot save a chart of %1 x %2 pixels").arg(size.width()).arg(size.height()));
  return false;
}

QString CannotWrite(const QString& file, const QString& reason) {
  return QStringLiteral("Cannot write \"%1\": %2").arg(file, reason);
}

// Formats without an alpha channel: the transparent parts over white, as an
// image viewer shows a transparent PNG.
QImage OverWhite(const QImage& image) {
  QImage flat(image.size(), QImage::Format_RGB32);
  flat.setDevicePixelRatio(image.devicePixelRatio());
  flat.fill(Qt::white);
  QPainter painter(&flat);
  painter.drawImage(QPointF(0, 0), image);
  return flat;
}

// Opens the file for a document writer; the file reports its own errors.
bool OpenForWriting(QFile& out, QString* error) {
  if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return true;
  SetError(error, CannotWrite(out.fileName(), out.errorString()));
  return false;
}

// The generator gives the document's width and height in millimetres, which
// viewers convert at different resolutions; in pixels every viewer shows it
// at the chart's size.
void SizeInPixels(QByteArray& svg, QSize size) {
  const qsizetype root = svg.indexOf("<svg ");
  const qsizetype end = root < 0 ? -1 : svg.indexOf('>', root);
  if (end < 0) return;
  QByteArray tag = svg.mid(root, end - root);
  static const QRegularExpression width(QStringLiteral("width=\"[0-9.]+mm\""));
  static const QRegularExpression height(QStringLiteral("height=\"[0-9.]+mm\""));
  QString text = QString::fromLatin1(tag);
  text.replace(width, QStringLiteral("width=\"%1\"").arg(size.width()));
  text.replace(height, QStringLiteral("height=\"%1\"").arg(size.height()));
  svg.replace(root, end - root, text.toLatin1());
}

bool CloseWritten(QFile& out, QString* error) {
  out.close();
  if (out.error() == QFileDevice::NoError) return true;
  SetError(error, CannotWrite(out.fileName(), out.errorString()));
  return false;
}

}  // namespace

std::optional<TChartImageFormat> ChartImageFormatOf(const QString& file) {
  const QString suffix = QFileInfo(file).suffix().toLower();
  if (suffix == u"png") return TChartImageFormat::Png;
  if (suffix == u"jpg" || suffix == u"jpeg") return TChartImageFormat::Jpeg;
  if (suffix == u"bmp") return TChartImageFormat::Bmp;
  return std::nullopt;
}

bool SaveChartImage(TCustomKelPanel& chart, const QString& file, QSize size, qreal devicePixelRatio,
                    QString* error) {
  const std::optional<TChartImageFormat> format = ChartImageFormatOf(file);
  if (!format) {
    const QString suffix = QFileInfo(file).suffix();
    SetError(error, suffix.isEmpty()
                        ? QStringLiteral("Cannot save \"%1\": the file name has no suffix (use .png, .jpg, .jpeg or .bmp)")
                              .arg(file)
                        : QStringLiteral("Cannot save \"%1\": unknown image format \".%2\" (use .png, .jpg, .jpeg or .bmp)")
                              .arg(file, suffix));
    return false;
  }
  if (!CheckSize(size, error)) return false;
  if (!std::isfinite(devicePixelRatio) || !(devicePixelRatio > 0)) {
    SetError(error, QStringLiteral("Cannot save a chart at device pixel ratio %1").arg(devicePixelRatio));
    return false;
  }
  QImage image = RenderChartImage(chart, size, devicePixelRatio);
  if (image.isNull()) {
    SetError(error, QStringLiteral("Cannot render a chart of %1 x %2 pixels at ratio %3")
                        .arg(size.width())
                        .arg(size.height())
                        .arg(devicePixelRatio));
    return false;
  }

  QImageWriter writer(file);
  switch (*format) {
    case TChartImageFormat::Png: writer.setFormat("png"); break;
    case TChartImageFormat::Jpeg:
      writer.setFormat("jpeg");
      writer.setQuality(kJpegQuality);
      image = OverWhite(image);
      break;
    case TChartImageFormat::Bmp:
      writer.setFormat("bmp");
      image = OverWhite(image);
      break;
  }
  if (writer.write(image)) return true;
  SetError(error, CannotWrite(file, writer.errorString()));
  return false;
}

bool SaveChartSvg(TCustomKelPanel& chart, const QString& file, QSize size, QString* error) {
  if (!CheckSize(size, error)) return false;
  QFile out(file);
  if (!OpenForWriting(out, error)) return false;
  QBuffer document;
  document.open(QIODevice::WriteOnly);
  {
    QSvgGenerator svg;
    svg.setOutputDevice(&document);
    svg.setResolution(kDocumentDpi);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("Chart"));
    svg.setDescription(QStringLiteral("Drawn by Sextant"));
    QPainter painter;
    if (!painter.begin(&svg)) {
      SetError(error, CannotWrite(file, QStringLiteral("the SVG generator did not start")));
      out.remove();
      return false;
    }
    RenderChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();  // writes the closing tags
  }
  QByteArray bytes = document.buffer();
  SizeInPixels(bytes, size);
  if (out.write(bytes) != bytes.size()) {
    SetError(error, CannotWrite(file, out.errorString()));
    out.close();
    out.remove();
    return false;
  }
  return CloseWritten(out, error);
}

bool SaveChartPdf(TCustomKelPanel& chart, const QString& file, QSize size, QString* error) {
  if (!CheckSize(size, error)) return false;
  QFile out(file);
  if (!OpenForWriting(out, error)) return false;
  {
    QPdfWriter pdf(&out);
    pdf.setCreator(QStringLiteral("Sextant"));
    // At this resolution one device unit of the writer is one chart pixel.
    pdf.setResolution(kDocumentDpi);
    const QSizeF inches(size.width() / qreal(kDocumentDpi), size.height() / qreal(kDocumentDpi));
    pdf.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&pdf)) {
      SetError(error, CannotWrite(file, QStringLiteral("the PDF writer did not start")));
      out.remove();
      return false;
    }
    RenderChart(chart, painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();  // writes the document
  }
  return CloseWritten(out, error);
}

}  // namespace sextant

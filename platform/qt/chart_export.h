// Saving a chart to a file: raster images (PNG, JPEG, BMP) and vector
// documents (SVG, PDF).
//
//   QString error;
//   if (!sextant::SaveChartImage(chart, "chart.jpg", QSize(800, 500), 2, &error))
//     qWarning() << error;
//   sextant::SaveChartSvg(chart, "chart.svg", QSize(800, 500));
//   sextant::SaveChartPdf(chart, "chart.pdf", QSize(800, 500));
//
// The size is the chart's layout size in device-independent pixels, as for
// RenderChartImage. Raster images have size x ratio device pixels; SVG and
// PDF are drawn with Qt's vector paint engines, so lines, fills and text stay
// vector shapes (text becomes outlines in SVG, embedded fonts in PDF), at 96
// chart pixels per inch.
//
// Each call answers true when the file was written. On false, *error (when
// given) says why: an unknown suffix, an unusable size or ratio, or the
// file that could not be written.
//
// Call from the GUI thread, outside the chart's own paint.
#pragma once

#include <QSize>
#include <QString>

#include <optional>

namespace sextant {

class TCustomKelPanel;

enum class TChartImageFormat { Png, Jpeg, Bmp };

// The raster format a file name asks for by its suffix, in any letter case:
// .png, .jpg or .jpeg, .bmp. No value for other suffixes or none.
std::optional<TChartImageFormat> ChartImageFormatOf(const QString& file);

// Renders the chart and writes it in the format of the file's suffix. PNG
// keeps the areas the chart leaves transparent; JPEG (quality 90) and BMP
// have no transparency and show white there.
bool SaveChartImage(TCustomKelPanel& chart, const QString& file, QSize size, qreal devicePixelRatio = 1,
                    QString* error = nullptr);

// An SVG document of size pixels (width and height in pixels, a view box of
// the same size).
bool SaveChartSvg(TCustomKelPanel& chart, const QString& file, QSize size, QString* error = nullptr);

// A PDF document of one page exactly the chart's size at 96 pixels per inch
// (a 960 x 480 chart gives a 10 x 5 inch page), without margins.
bool SaveChartPdf(TCustomKelPanel& chart, const QString& file, QSize size, QString* error = nullptr);

}  // namespace sextant

// Checks a cookbook image: it decodes, and it is not blank (more than a
// few colours, and no single colour covers nearly all of it).
//   check_image FILE
#include <QColor>
#include <QGuiApplication>
#include <QHash>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QGuiApplication app(argc, argv);
  const QImage image(QString::fromLocal8Bit(argv[1]));
  if (image.isNull()) {
    std::fprintf(stderr, "%s: not written or not an image\n", argv[1]);
    return 1;
  }
  QHash<QRgb, qint64> counts;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
  qint64 largest = 0;
  for (qint64 n : counts) largest = std::max(largest, n);
  const qint64 total = qint64(image.width()) * image.height();
  if (counts.size() < 8 || largest > total * 98 / 100) {
    std::fprintf(stderr, "%s: blank (%d colours, one covers %lld of %lld pixels)\n", argv[1],
                 int(counts.size()), static_cast<long long>(largest), static_cast<long long>(total));
    return 1;
  }
  std::printf("%s: %d x %d, %d colours\n", argv[1], image.width(), image.height(), int(counts.size()));
  return 0;
}

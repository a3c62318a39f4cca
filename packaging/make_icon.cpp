// Draws the program's icon at the sizes desktops look for (hicolor 16 to 256 pixels): a green
// rounded square with a white dumbbell. Run at build time; the PNGs go into the package.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage icon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 256.0, size / 256.0);
  QPainterPath tile;
  tile.addRoundedRect(QRectF(8, 8, 240, 240), 44, 44);
  QLinearGradient green(0, 8, 0, 248);
  green.setColorAt(0, QColor(46, 160, 90));
  green.setColorAt(1, QColor(20, 110, 60));
  p.fillPath(tile, green);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRoundedRect(QRectF(58, 118, 140, 20), 8, 8);     // the bar
  for (double x : {40.0, 188.0}) p.drawRoundedRect(QRectF(x, 72, 28, 112), 10, 10);   // plates
  for (double x : {72.0, 164.0}) p.drawRoundedRect(QRectF(x, 90, 20, 76), 8, 8);      // inner plates
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("icons");
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
    if (!QDir().mkpath(folder) || !icon(size).save(folder + QStringLiteral("/vantrel.png")))
      return 1;
  }
  return 0;
}

// How long a large photo takes: importing a 30-megapixel JPEG (6400x4800) from a file,
// decoding it for a window's picture, and, for comparison, decoding it in full. The import
// and the display decode are what a registry window does while the user waits.
//
//   bench_photos
#include <benchmark/benchmark.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "registry/jpeg_codec.h"
#include "registry/photo_store.h"

namespace {

// A camera-like photo: gradients, fine detail and sensor noise, so it compresses to about
// the size of a real one of that resolution (10 MB and more at quality 90).
const QByteArray& largeJpeg() {
  static const QByteArray bytes = [] {
    QImage image(6400, 4800, QImage::Format_RGB888);
    quint32 noise = 12345;
    for (int y = 0; y < image.height(); ++y) {
      uchar* row = image.scanLine(y);
      for (int x = 0; x < image.width(); ++x) {
        noise = noise * 1664525u + 1013904223u;
        const int grain = int(noise >> 28);
        row[3 * x] = uchar(x / 25 + ((x * y) & 15) + grain);
        row[3 * x + 1] = uchar(y / 19 + ((x ^ y) & 7) + grain);
        row[3 * x + 2] = uchar((x + y) / 44 + grain);
      }
    }
    return encodeJpeg(image, 90);
  }();
  return bytes;
}

void BM_ImportLargePhoto(benchmark::State& state) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("large.jpg"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(largeJpeg()) != largeJpeg().size()) {
    state.SkipWithError("cannot write the photo file");
    return;
  }
  file.close();
  for (auto _ : state) {
    QVariant field;
    AddJpgToTable(path, &field);
    benchmark::DoNotOptimize(field);
  }
  state.counters["file_MB"] = double(largeJpeg().size()) / (1024.0 * 1024.0);
}

void BM_DisplayDecodeLargePhoto(benchmark::State& state) {
  const QVariant field(largeJpeg());
  for (auto _ : state) {
    QImage picture;
    LoadJpgFromTable(&field, &picture, QSize(240, 320));
    benchmark::DoNotOptimize(picture);
  }
}

void BM_FullDecodeLargePhoto(benchmark::State& state) {
  const QVariant field(largeJpeg());
  for (auto _ : state) {
    QImage picture;
    LoadJpgFromTable(&field, &picture);
    benchmark::DoNotOptimize(picture);
  }
}

}  // namespace

BENCHMARK(BM_ImportLargePhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DisplayDecodeLargePhoto)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullDecodeLargePhoto)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

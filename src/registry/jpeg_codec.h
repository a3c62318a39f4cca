// JPEG encoding and decoding on libjpeg-turbo: the format of every stored photo and logo.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>

// Encodes as baseline JPEG, 24-bit colour. Empty on failure.
QByteArray encodeJpeg(const QImage& image, int quality = 90);

// Decodes JPEG bytes; a null image when the bytes are not a complete JPEG, or when the
// picture would take more than kMaxDecodedBytes of memory.
QImage decodeJpeg(const QByteArray& bytes);

// The same, but lets the decoder scale down by 1/8 to 8/8 (DCT scaling, far cheaper than
// decoding in full and shrinking) to the smallest size that still covers `atLeast` in both
// directions. Made for display: a 30-megapixel photo comes out small and fast. The whole
// stream is still read, so a truncated file fails here too. An empty `atLeast` decodes
// at full size.
QImage decodeJpeg(const QByteArray& bytes, QSize atLeast);

// True when the bytes are one whole JPEG that decodes (checked at the smallest scale).
bool isWholeJpeg(const QByteArray& bytes);

// A picture larger than this is refused rather than risk exhausting memory on a hostile
// file whose header claims a huge size (a 30-megapixel photo needs about 90 MB).
inline constexpr qsizetype kMaxDecodedBytes = qsizetype(512) * 1024 * 1024;

// No photo has more pixels than this; larger pictures are neither imported nor decoded (a
// 65,500 x 65,500 file of 50 MB would keep the window busy for seconds at every row).
inline constexpr qint64 kMaxPhotoPixels = 50'000'000;

// The picture's size as its header gives it; invalid when the bytes are not a JPEG.
QSize jpegSize(const QByteArray& bytes);

// JPEG encoding and decoding on libjpeg-turbo: the format of every stored photo and logo.
#pragma once

#include <QByteArray>
#include <QImage>

// Encodes as baseline JPEG, 24-bit colour. Empty on failure.
QByteArray encodeJpeg(const QImage& image, int quality = 90);

// Decodes JPEG bytes; a null image when the bytes are not a complete JPEG.
QImage decodeJpeg(const QByteArray& bytes);

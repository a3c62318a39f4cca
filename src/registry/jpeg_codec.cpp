#include "registry/jpeg_codec.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return: jump back.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void onError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(manager->jump, 1);
}

void quiet(j_common_ptr) {}

// Any warning stops a decode at once: the stream is truncated or damaged, so it is not a
// whole JPEG, and going on would only decode the filler the library makes up for the gap.
void stopOnWarning(j_common_ptr info, int level) {
  if (level < 0) onError(info);
}

}  // namespace

QByteArray encodeJpeg(const QImage& image, int quality) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  jpeg_compress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = quiet;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(rgb.width());
  info.image_height = JDIMENSION(rgb.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(int(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
  std::free(buffer);
  return bytes;
}

namespace {

// The smallest libjpeg scale (n/8) whose output still covers `atLeast`.
void chooseScale(jpeg_decompress_struct& info, QSize atLeast) {
  info.scale_denom = 8;
  for (unsigned n = 1; n <= 8; ++n) {
    info.scale_num = n;
    jpeg_calc_output_dimensions(&info);
    if (int(info.output_width) >= atLeast.width() && int(info.output_height) >= atLeast.height())
      return;
  }
}

bool fitsInMemory(const jpeg_decompress_struct& info) {
  return qint64(info.output_width) * qint64(info.output_height) * 3 <= kMaxDecodedBytes;
}

// Decodes into *picture, or, with no picture, only checks that the whole stream decodes
// (one reused row then, whatever the size of the photo). False on any failure.
bool readJpeg(const QByteArray& bytes, QSize atLeast, QImage* picture) {
  if (bytes.size() < 4) return false;
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = quiet;
  errors.base.emit_message = stopOnWarning;
  // Only a volatile pointer survives the jump back intact.
  QImage* volatile image = nullptr;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    delete image;
    return false;
  }
  jpeg_create_decompress(&info);
  // Progressive files buffer every coefficient of the picture: bound that as well.
  info.mem->max_memory_to_use = long(kMaxDecodedBytes);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) longjmp(errors.jump, 1);
  // Scaling down still reads every pixel: a picture beyond any photo is not decoded at all.
  if (qint64(info.image_width) * qint64(info.image_height) > kMaxPhotoPixels)
    longjmp(errors.jump, 1);
  info.out_color_space = JCS_RGB;
  if (atLeast.isValid() && !atLeast.isEmpty()) chooseScale(info, atLeast);
  jpeg_calc_output_dimensions(&info);
  if (picture != nullptr && !fitsInMemory(info)) longjmp(errors.jump, 1);
  jpeg_start_decompress(&info);
  JSAMPARRAY scratch = nullptr;
  if (picture != nullptr) {
    image = new QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image->isNull()) longjmp(errors.jump, 1);
  } else {
    scratch = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                        info.output_width * 3, 1);
  }
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image ? image->scanLine(int(info.output_scanline)) : scratch[0];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  if (image) {
    *picture = std::move(*image);
    delete image;
  }
  return true;
}

}  // namespace

QImage decodeJpeg(const QByteArray& bytes) {
  return decodeJpeg(bytes, QSize());
}

QImage decodeJpeg(const QByteArray& bytes, QSize atLeast) {
  QImage picture;
  return readJpeg(bytes, atLeast, &picture) ? picture : QImage();
}

bool isWholeJpeg(const QByteArray& bytes) {
  return readJpeg(bytes, QSize(1, 1), nullptr);
}

QSize jpegSize(const QByteArray& bytes) {
  if (bytes.size() < 4) return {};
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = quiet;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  QSize size;
  if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK)
    size = QSize(int(info.image_width), int(info.image_height));
  jpeg_destroy_decompress(&info);
  return size;
}

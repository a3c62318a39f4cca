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

QImage decodeJpeg(const QByteArray& bytes) {
  if (bytes.size() < 4) return {};
  jpeg_decompress_struct info;
  ErrorManager errors;
  info.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = onError;
  errors.base.output_message = quiet;
  // Only a volatile pointer survives the jump back intact.
  QImage* volatile image = nullptr;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    delete image;
    return {};
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&info);
    return {};
  }
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  image = new QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
  if (image->isNull()) longjmp(errors.jump, 1);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = image->scanLine(int(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  // A truncated file reaches here with a warning only: it is not a whole JPEG.
  const bool truncated = errors.base.num_warnings > 0;
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage result = truncated ? QImage() : *image;
  delete image;
  return result;
}

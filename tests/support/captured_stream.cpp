#include "support/captured_stream.h"

#include <QByteArray>

Captured::Captured() : file_(std::tmpfile()) {}

Captured::~Captured() {
  std::fclose(file_);
}

QString Captured::text() const {
  std::fflush(file_);
  std::rewind(file_);
  QByteArray bytes;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, file_)) bytes.append(buffer, n);
  return QString::fromLocal8Bit(bytes);
}

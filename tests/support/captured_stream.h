// A stream a command writes to (its standard output or error), read back as text.
#pragma once

#include <QString>
#include <cstdio>

class Captured {
 public:
  Captured();
  ~Captured();
  Captured(const Captured&) = delete;
  Captured& operator=(const Captured&) = delete;

  FILE* stream() const { return file_; }
  // Everything written so far.
  QString text() const;

 private:
  FILE* file_;
};

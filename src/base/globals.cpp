#include "base/globals.h"

namespace {
Globals& instance() {
  static Globals globals;
  return globals;
}
}  // namespace

Globals& G() {
  return instance();
}

void resetGlobals() {
  instance() = Globals();
}

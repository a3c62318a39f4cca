// Whether the receipt printer on a parallel port is ready, read from the port's status lines
// through the kernel's ppdev driver.
#pragma once

#include <QString>

// The five status lines the ready check looks at, each true when it is a reason not to print.
struct PortLines {
  bool ack = false;       // the printer is acknowledging a byte
  bool busy = false;      // the printer is busy
  bool error = false;     // the printer reports an error
  bool paperEnd = false;  // out of paper
  bool select = false;    // the printer is not selected (off line)
};

// Decodes the ppdev status register (PPRSTATUS) into the five lines.
PortLines decodePortStatus(unsigned char status);

// Ready only when none of the five lines is up.
bool linesSayReady(const PortLines& lines);

// The configured port address read as hexadecimal ("278", "378"); 632 (0x278) when the text
// is not a hexadecimal number, empty included.
int parsePortAddress(const QString& portAddress);

// The ppdev device whose base-addr under `procRoot` (normally /proc/sys/dev/parport) is
// `base`, as a path under `devRoot` (normally /dev); empty when no port has that address.
QString findPortDevice(int base, const QString& procRoot, const QString& devRoot);

// True when the printer on the port at the configured address is ready to print. Any failure
// on the way (no such port, no permission, the driver refusing) reads as not ready.
bool IMPRESSORA_PRONTA(const QString& portAddress);
bool IMPRESSORA_PRONTA(const QString& portAddress, const QString& procRoot, const QString& devRoot);

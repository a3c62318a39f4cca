// The two ways a receipt leaves the program: bytes to the receipt printer's port, or cells of
// a fixed-pitch font on a printer of the system ("USBX").
#pragma once

#include <QString>
#include <optional>

#include "base/failure.h"
#include "data/settings_record.h"
#include "printouts/receipt.h"

// The settings that choose and drive the way out.
struct ReceiptRouteSettings {
  QString portaImp;           // "LPT1", "LPT2", a device path, or "USBX"
  QString enderecoPorta;      // the parallel port's address, for its status lines
  QString caminhoImpressora;  // the system printer of "USBX"
};

// The receipt's settings out of the settings record.
ReceiptLayout receiptLayout(const Settings& settings);
ReceiptRouteSettings receiptRouteSettings(const Settings& settings);

// Prints the receipt. `device`, when given, takes the port's bytes instead of the configured
// port and skips the status check. Fails with why nothing (or not all) was printed.
Outcome printReceipt(const ReceiptData& data, const ReceiptLayout& layout,
                     const ReceiptRouteSettings& route,
                     const std::optional<QString>& device = std::nullopt);

class QPagedPaintDevice;

// The printer route's drawing: each piece at its character cell of a 10-point fixed-pitch
// font, lines one under the other on a single page.
bool drawReceipt(const QList<ReceiptItem>& items, QPagedPaintDevice& device);

// True for a device path of a parallel port (/dev/lpN), the only kind with status lines.
bool isParallelPort(const QString& devicePath);

#include "base/printer_status.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

// PPRSTATUS hands back the status register, whose bits follow the port's pins:
//   0x40 PARPORT_STATUS_ACK       nAck, active low: clear while the printer acknowledges
//   0x80 PARPORT_STATUS_BUSY      Busy, inverted by the port hardware: clear while busy
//   0x08 PARPORT_STATUS_ERROR     nError, active low: clear on a printer error
//   0x20 PARPORT_STATUS_PAPEROUT  PaperOut, active high: set when out of paper
//   0x10 PARPORT_STATUS_SELECT    Select, active high: set while the printer is on line
// Each line is turned into "a reason not to print", so a printer that is on line, idle,
// without error, with paper and not acknowledging reads all five false.
PortLines decodePortStatus(unsigned char status) {
  PortLines lines;
  lines.ack = !(status & PARPORT_STATUS_ACK);
  lines.busy = !(status & PARPORT_STATUS_BUSY);
  lines.error = !(status & PARPORT_STATUS_ERROR);
  lines.paperEnd = status & PARPORT_STATUS_PAPEROUT;
  lines.select = !(status & PARPORT_STATUS_SELECT);
  return lines;
}

bool linesSayReady(const PortLines& lines) {
  return !lines.ack && !lines.busy && !lines.error && !lines.paperEnd && !lines.select;
}

int parsePortAddress(const QString& portAddress) {
  constexpr int kDefaultAddress = 0x278;
  // Hex digits only (QString::toInt would also take a sign or "0x"); blanks around them are
  // dropped, since a fixed-width settings column hands the text back padded.
  static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,7}$"));
  const QString digits = portAddress.trimmed();
  if (!hex.match(digits).hasMatch()) return kDefaultAddress;
  return digits.toInt(nullptr, 16);
}

QString findPortDevice(int base, const QString& procRoot, const QString& devRoot) {
  static const QRegularExpression portName(QStringLiteral("^parport\\d+$"));
  const QDir proc(procRoot);
  const QStringList ports = proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& port : ports) {
    if (!portName.match(port).hasMatch()) continue;  // skips "default"
    QFile file(proc.filePath(port + QStringLiteral("/base-addr")));
    if (!file.open(QIODevice::ReadOnly)) continue;
    // "<base>\t<base_hi>\n": the first number, in decimal.
    const QString first = QString::fromLatin1(file.readLine())
                              .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
                              .value(0);
    bool ok = false;
    if (first.toInt(&ok) == base && ok) return QDir(devRoot).filePath(port);
  }
  return QString();
}

bool IMPRESSORA_PRONTA(const QString& portAddress) {
  return IMPRESSORA_PRONTA(portAddress, QStringLiteral("/proc/sys/dev/parport"),
                           QStringLiteral("/dev"));
}

bool IMPRESSORA_PRONTA(const QString& portAddress, const QString& procRoot,
                       const QString& devRoot) {
  const QString device = findPortDevice(parsePortAddress(portAddress), procRoot, devRoot);
  if (device.isEmpty()) return false;

  const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return false;
  bool ready = false;
  if (::ioctl(fd, PPCLAIM) == 0) {
    unsigned char status = 0;
    if (::ioctl(fd, PPRSTATUS, &status) == 0) ready = linesSayReady(decodePortStatus(status));
    ::ioctl(fd, PPRELEASE);
  }
  ::close(fd);
  return ready;
}

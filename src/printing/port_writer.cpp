#include "printing/port_writer.h"

#include <cmath>

#include <QFileInfo>

#include "base/installation_folder.h"

namespace {

// The printer's own bytes for the accented letters it is sent. Some capitals have no glyph of
// their own and go out bare ("Á" as 'A'); the rest sit where the printer's code page has them.
struct Accented {
  char16_t character;
  unsigned char byte;
};
constexpr Accented kAccented[] = {
    {u'á', 0xA0}, {u'Á', 0x41}, {u'ã', 0x84}, {u'Ã', 0x8E}, {u'â', 0x83}, {u'Â', 0x41},
    {u'ä', 0x84}, {u'Ä', 0x8E}, {u'à', 0x85}, {u'À', 0xB7}, {u'é', 0x82}, {u'É', 0x45},
    {u'ê', 0x88}, {u'Ê', 0x45}, {u'ë', 0x89}, {u'Ë', 0xD3}, {u'í', 0xA1}, {u'Í', 0xD6},
    {u'î', 0x8C}, {u'Î', 0xD7}, {u'ï', 0x8B}, {u'Ï', 0xD8}, {u'ó', 0xA2}, {u'Ó', 0x4F},
    {u'õ', 0x94}, {u'Õ', 0xE5}, {u'ô', 0x93}, {u'Ô', 0xE2}, {u'ö', 0x94}, {u'Ö', 0x99},
    {u'ú', 0xA3}, {u'Ú', 0xE9}, {u'û', 0x96}, {u'Û', 0xEA}, {u'ü', 0x81}, {u'Ü', 0x9A},
    {u'ç', 0x87}, {u'Ç', 0x80}, {u'º', 0xF8},
};

// Windows-1252 from 0x80 to 0x9F, by byte. The five holes of the code page (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the control characters of the same number, as Windows maps them.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

char windows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return char(c);
  for (int i = 0; i < 32; ++i)
    if (kWindows1252High[i] == c) return char(0x80 + i);
  return '?';
}

char printerByte(char16_t c) {
  for (const Accented& a : kAccented)
    if (a.character == c) return char(a.byte);
  return windows1252(c);
}

}  // namespace

QString portDevicePath(const QString& portSetting) {
  const QString port = portSetting.trimmed();
  if (port == QLatin1String("LPT1")) return QStringLiteral("/dev/lp0");
  if (port == QLatin1String("LPT2")) return QStringLiteral("/dev/lp1");
  return port;
}

PortWriter::~PortWriter() { FimImpr(); }

bool PortWriter::IniciaImpr(const QString& device) {
  FimImpr();
  column_ = 0;
  lineCount_ = 0;
  failed_ = false;
  error_.clear();
  if (device.isEmpty()) return false;
  file_.setFileName(device);
  // Unbuffered: each piece is handed to the device as it is printed. Truncate only matters for
  // a regular file; a device node or a pipe ignores it.
  if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) return false;
  // A receipt sent to a file holds a member's name and series: the owner's alone, like the rest
  // of what the program keeps. A device node is left as the system set it.
  if (QFileInfo(device).isFile()) makePrivateFile(device);
  return true;
}

void PortWriter::ImprString(const QString& efeito, const QString& aString, int coluna,
                            bool fimLinha) {
  // The gap is measured from the counter, and the counter is set from `coluna`, not from the
  // bytes sent: when earlier text ran past `coluna`, no spaces go out and the counter falls
  // behind the print head until the line ends.
  QByteArray piece = ConvASC(efeito);
  piece += QByteArray(qMax(0, coluna - column_), ' ');
  piece += ConvASC(aString);
  column_ = coluna + int(aString.size());
  if (fimLinha) {
    piece += "\r\n";
    ++lineCount_;
    column_ = 0;
  }
  send(piece);
}

void PortWriter::FimImpr() {
  if (file_.isOpen()) file_.close();
}

void PortWriter::send(const QByteArray& bytes) {
  if (!file_.isOpen() || failed_) return;
  if (file_.write(bytes) != bytes.size() || !file_.flush()) {
    failed_ = true;
    error_ = file_.errorString();
  }
}

QString PortWriter::Repete(QChar caractere, int nCaracteres) {
  return nCaracteres > 0 ? QString(nCaracteres, caractere) : QString();
}

QString PortWriter::MascaraVlr(const QString& mascara, double value) {
  const double whole = std::isfinite(value) ? std::round(value) : 0.0;  // halves away from 0
  // '#' shows a digit only when the number has it, so a zero with no '0' in the mask is blank.
  QString digits = whole == 0 ? QString() : QString::number(std::fabs(whole), 'f', 0);
  const int required = int(mascara.count(QLatin1Char('0')));
  if (digits.size() < required) digits.prepend(QString(required - digits.size(), QLatin1Char('0')));
  if (whole < 0) digits.prepend(QLatin1Char('-'));
  return digits.rightJustified(mascara.size(), QLatin1Char(' '));
}

QByteArray PortWriter::ConvASC(const QString& text) {
  // One pass, character by character: a byte the table produces is never looked up again, so
  // "Ë" stays 0xD3 and does not turn into what "Ó" (U+00D3) would give.
  QByteArray bytes;
  bytes.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) ++i;
    bytes += c.isSurrogate() ? '?' : printerByte(c.unicode());
  }
  return bytes;
}

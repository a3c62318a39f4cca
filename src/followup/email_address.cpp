#include "followup/email_address.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

#include "base/installation_folder.h"

namespace {

// What Windows-1252 holds between 0x80 and 0x9F; the rest of its characters are Latin-1.
constexpr char16_t kWindows1252High[] = {0x20AC, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                         0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x017D, 0x2018,
                                         0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC,
                                         0x2122, 0x0161, 0x203A, 0x0153, 0x017E, 0x0178};

bool inWindows1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return true;
  for (char16_t high : kWindows1252High)
    if (high == c) return true;
  return false;
}

// The address as Windows-1252 would hold it: what the code page lacks becomes "?".
QString asWindows1252(const QString& address) {
  QString text = address;
  for (QChar& c : text)
    if (!inWindows1252(c.unicode())) c = QLatin1Char('?');
  return text;
}

const QString kRefused = QStringLiteral("!#$%¨&*()+=§¬¢¹²³£´`çÇ,;:<>~^?/|[]{}ºª°");

bool hasRefusedCharacter(const QString& address) {
  for (const QChar c : address)
    if (kRefused.contains(c) || c.category() == QChar::Other_Control) return true;
  return false;
}

bool besideAt(const QString& address, qsizetype at, const QString& piece) {
  const qsizetype position = address.indexOf(piece);
  return position >= 0 && qAbs(position - at) == 1;
}

}  // namespace

bool ValidaEMail(const QString& typed) {
  if (typed.isEmpty()) return true;
  const QString address = asWindows1252(typed);
  const qsizetype last = address.size() - 1;
  const qsizetype at = address.indexOf(QLatin1Char('@'));
  const qsizetype dot = address.indexOf(QLatin1Char('.'));
  if (at < 0 || dot < 0) return false;
  if (at == 0 || at == last || dot == 0 || dot == last) return false;
  if (address.contains(QLatin1Char(' '))) return false;
  if (qAbs(at - dot) == 1) return false;
  if (hasRefusedCharacter(address)) return false;
  if (address.contains(QLatin1String(".."))) return false;
  if (address.count(QLatin1Char('@')) >= 2) return false;
  if (address.endsWith(QLatin1Char('.'))) return false;
  const QChar first = address.front();
  if (first == QLatin1Char('.') || first == QLatin1Char('_') || first == QLatin1Char('-'))
    return false;
  for (const QString& piece : {QStringLiteral("com"), QStringLiteral("-"), QStringLiteral("_")})
    if (besideAt(address, at, piece)) return false;
  return true;
}

QStringList cleanRecipients(const QString& text) {
  QStringList addresses;
  QSet<QString> seen;
  for (const QString& piece : text.split(QLatin1Char(';'))) {
    const QString address = piece.trimmed();
    if (address.isEmpty() || !ValidaEMail(address)) continue;
    const QString key = address.toLower();
    if (seen.contains(key)) continue;
    seen.insert(key);
    addresses.append(address);
  }
  return addresses;
}

QList<QStringList> groupsOfTen(const QStringList& addresses) {
  QList<QStringList> groups;
  for (qsizetype i = 0; i < addresses.size(); i += 10) groups.append(addresses.mid(i, 10));
  return groups;
}

QString sendingProgressText(int group, int groups) {
  return QStringLiteral("Enviando e-mail... %1/%2")
      .arg(group, 5, 10, QLatin1Char('0'))
      .arg(groups, 5, 10, QLatin1Char('0'));
}

QString addressFilePath() {
  return installationFolder() + QStringLiteral("/email.doc");
}

std::optional<QString> readAddressFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return std::nullopt;
  QString text;
  QSet<QString> seen;
  for (const QString& raw : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
    QString line = raw.trimmed();
    if (line.isEmpty() || seen.contains(line)) continue;
    seen.insert(line);
    if (!line.endsWith(QLatin1Char(';'))) line += QLatin1Char(';');
    text += line;
  }
  return text;
}

bool writeAddressFile(const QStringList& addresses, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  QByteArray bytes;
  for (const QString& address : addresses) bytes += (address + QStringLiteral(";\n")).toUtf8();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) return false;
  makePrivateFile(path);
  return true;
}

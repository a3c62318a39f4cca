#include "data/link_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "base/installation_folder.h"

namespace {

// The items a link file may carry; only these are ever named in an error, so that no part
// of a value (a password above all) reaches a message or the log.
const char* const kKnownKeys[] = {
    "Provider", "Data Source",           "Initial Catalog",     "User ID",
    "Password", "Persist Security Info", "Extended Properties", "Integrated Security"};

// How an error names the item at `position`: its key when it begins with a known one.
QString itemName(const QString& item, int position) {
  const QString text = item.trimmed();
  for (const char* key : kKnownKeys) {
    const QString k = QString::fromLatin1(key);
    if (text.startsWith(k, Qt::CaseInsensitive))
      return QStringLiteral("item %1 (%2)").arg(position).arg(k);
  }
  return QStringLiteral("item %1").arg(position);
}

// Splits "k=v;k=v" item by item, honouring double-quoted values ("Password=\"a;b\"").
// `position` counts the items of the whole file, from 1.
bool splitPairs(const QString& line, QList<QPair<QString, QString>>& pairs, int& position,
                QString& error) {
  int i = 0;
  const int n = line.size();
  while (i < n) {
    while (i < n && (line[i] == QLatin1Char(';') || line[i].isSpace())) ++i;
    if (i >= n) break;
    ++position;
    const int semi = line.indexOf(QLatin1Char(';'), i);
    const int eq = line.indexOf(QLatin1Char('='), i);
    // An item without "=" must not swallow the next one: it ends at its ";".
    if (eq < 0 || (semi >= 0 && semi < eq)) {
      error = QStringLiteral("%1 sem \"=\"")
                  .arg(itemName(line.mid(i, semi < 0 ? n - i : semi - i), position));
      return false;
    }
    const QString key = line.mid(i, eq - i).trimmed();
    if (key.isEmpty()) {
      error = QStringLiteral("item %1 sem nome").arg(position);
      return false;
    }
    i = eq + 1;
    while (i < n && line[i] == QLatin1Char(' ')) ++i;
    QString value;
    if (i < n && line[i] == QLatin1Char('"')) {
      ++i;
      for (;;) {
        if (i >= n) {
          error = QStringLiteral("aspas não fechadas no %1").arg(itemName(key, position));
          return false;
        }
        if (line[i] == QLatin1Char('"')) {
          if (i + 1 < n && line[i + 1] == QLatin1Char('"')) {  // "" is a literal quote
            value += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        value += line[i++];
      }
      while (i < n && line[i] == QLatin1Char(' ')) ++i;
      if (i < n && line[i] != QLatin1Char(';')) {
        error = QStringLiteral("texto depois das aspas no %1").arg(itemName(key, position));
        return false;
      }
    } else {
      const int end = semi < 0 ? n : semi;
      value = line.mid(i, end - i).trimmed();
      i = end;
    }
    pairs.append({key, value});
  }
  return true;
}

QString quoted(const QString& value) {
  if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) &&
      value.trimmed() == value)
    return value;
  QString v = value;
  v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + v + QLatin1Char('"');
}

}  // namespace

QString LinkSpec::host() const {
  const int colon = dataSource.lastIndexOf(QLatin1Char(':'));
  if (colon > 0) {
    bool ok = false;
    dataSource.mid(colon + 1).toInt(&ok);
    if (ok) return dataSource.left(colon);
  }
  return dataSource;
}

LinkSpec LinkSpec::sqliteFile(const QString& file) {
  LinkSpec link;
  link.provider = Provider::SQLite;
  link.dataSource = file;
  return link;
}

int LinkSpec::port() const {
  const int colon = dataSource.lastIndexOf(QLatin1Char(':'));
  if (colon > 0) {
    bool ok = false;
    const int p = dataSource.mid(colon + 1).toInt(&ok);
    if (ok) return p;
  }
  return 0;
}

LinkParse parseLinkText(const QString& text) {
  LinkParse result;
  QList<QPair<QString, QString>> pairs;
  int position = 0;
  for (const QString& raw : text.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")))) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
        line.compare(QStringLiteral("[oledb]"), Qt::CaseInsensitive) == 0)
      continue;
    if (!splitPairs(line, pairs, position, result.error)) return result;
  }
  LinkSpec linkSpec;
  QString provider;
  for (const auto& [key, value] : pairs) {
    const QString k = key.toLower();
    if (k == QLatin1String("provider"))
      provider = value;
    else if (k == QLatin1String("data source"))
      linkSpec.dataSource = value;
    else if (k == QLatin1String("initial catalog"))
      linkSpec.catalog = value;
    else if (k == QLatin1String("user id"))
      linkSpec.user = value;
    else if (k == QLatin1String("password"))
      linkSpec.password = value;
    // Other OLE DB items (Persist Security Info, ...) mean nothing here.
  }
  if (provider.compare(QStringLiteral("SQLite"), Qt::CaseInsensitive) == 0) {
    linkSpec.provider = Provider::SQLite;
  } else if (provider.compare(QStringLiteral("PostgreSQL"), Qt::CaseInsensitive) == 0) {
    linkSpec.provider = Provider::PostgreSQL;
  } else if (provider.isEmpty()) {
    result.error = QStringLiteral("provedor não informado");
    return result;
  } else {
    result.error = QStringLiteral("provedor desconhecido: %1").arg(provider);
    return result;
  }
  if (linkSpec.dataSource.isEmpty()) {
    result.error = QStringLiteral("Data Source não informado");
    return result;
  }
  if (linkSpec.provider == Provider::PostgreSQL && linkSpec.catalog.isEmpty()) {
    result.error = QStringLiteral("Initial Catalog não informado");
    return result;
  }
  result.linkSpec = linkSpec;
  return result;
}

LinkParse readLinkFile(const QString& path) {
  QFile file(path);
  if (!file.exists()) return {std::nullopt, QStringLiteral("arquivo %1 não existe").arg(path)};
  if (!file.open(QIODevice::ReadOnly))
    return {std::nullopt, QStringLiteral("arquivo %1 não pode ser lido").arg(path)};
  QByteArray bytes = file.readAll();
  // Link files saved by other tools may be UTF-16 with a byte-order mark.
  QString text;
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF"))
    text = QStringDecoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                       : QStringConverter::Utf16BE)
               .decode(bytes.mid(2));
  else
    text = QString::fromUtf8(bytes);
  LinkParse parsed = parseLinkText(text);
  if (!parsed.linkSpec) {
    parsed.error = QStringLiteral("%1: %2").arg(path, parsed.error);
    return parsed;
  }
  if (parsed.linkSpec->provider == Provider::SQLite &&
      QDir::isRelativePath(parsed.linkSpec->dataSource))
    parsed.linkSpec->dataSource = QDir::cleanPath(QFileInfo(path).absolutePath() +
                                                  QLatin1Char('/') + parsed.linkSpec->dataSource);
  return parsed;
}

QString formatLinkText(const LinkSpec& linkSpec) {
  QString text = QStringLiteral("[oledb]\n; Vantrel data link\n");
  if (linkSpec.provider == Provider::SQLite)
    return text +
           QStringLiteral("Provider=SQLite;Data Source=%1\n").arg(quoted(linkSpec.dataSource));
  return text + QStringLiteral(
                    "Provider=PostgreSQL;Data Source=%1;Initial Catalog=%2;User ID=%3;"
                    "Password=%4\n")
                    .arg(quoted(linkSpec.dataSource), quoted(linkSpec.catalog),
                         quoted(linkSpec.user), quoted(linkSpec.password));
}

bool writeLinkFile(const QString& path, const LinkSpec& linkSpec) {
  if (!makePrivateFolder(QFileInfo(path).absolutePath())) return false;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(formatLinkText(linkSpec).toUtf8());
  if (!file.commit()) return false;
  makePrivateFile(path);  // it may carry a server password
  return true;
}

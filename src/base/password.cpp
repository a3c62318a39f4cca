#include "base/password.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QByteArray>
#include <QStringList>

namespace {

constexpr int kIterations = 60000;
constexpr int kSaltBytes = 16;
constexpr int kHashBytes = 32;
const QString kPrefix = QStringLiteral("pbkdf2-sha256");

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
  const QByteArray utf8 = password.toUtf8();
  QByteArray out(kHashBytes, '\0');
  if (PKCS5_PBKDF2_HMAC(utf8.constData(), int(utf8.size()),
                        reinterpret_cast<const unsigned char*>(salt.constData()), int(salt.size()),
                        iterations, EVP_sha256(), kHashBytes,
                        reinterpret_cast<unsigned char*>(out.data())) != 1)
    return {};
  return out;
}

// Compares without stopping at the first difference.
bool sameBytes(const QByteArray& a, const QByteArray& b) {
  if (a.size() != b.size() || a.isEmpty()) return false;
  unsigned char diff = 0;
  for (qsizetype i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

}  // namespace

QString hashPassword(const QString& password) {
  QByteArray salt(kSaltBytes, '\0');
  if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), kSaltBytes) != 1) return {};
  const QByteArray hash = derive(password, salt, kIterations);
  if (hash.isEmpty()) return {};
  return QStringLiteral("%1$%2$%3$%4")
      .arg(kPrefix)
      .arg(kIterations)
      .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(hash.toBase64()));
}

bool isPasswordHash(const QString& stored) {
  const QStringList parts = stored.split(QLatin1Char('$'));
  return parts.size() == 4 && parts[0] == kPrefix;
}

bool passwordMatches(const QString& typed, const QString& stored) {
  if (!isPasswordHash(stored)) return !typed.isEmpty() && typed == stored;
  const QStringList parts = stored.split(QLatin1Char('$'));
  bool ok = false;
  const int iterations = parts[1].toInt(&ok);
  if (!ok || iterations <= 0) return false;
  const QByteArray salt = QByteArray::fromBase64(parts[2].toLatin1());
  const QByteArray expected = QByteArray::fromBase64(parts[3].toLatin1());
  return sameBytes(derive(typed, salt, iterations), expected);
}

#include "registry/photo_store.h"

#include <sys/stat.h>
#include <QBuffer>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>

#include "data/data_source.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"

namespace {

// Only a regular file is read: a FIFO or a device would block the window or never end.
bool isRegularFile(const QString& fileName) {
  struct stat info;
  return ::stat(QFile::encodeName(fileName).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QByteArray readPhotoFile(const QString& fileName) {
  if (!isRegularFile(fileName))
    throw PhotoError(QStringLiteral("%1: não é um arquivo comum").arg(fileName));
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly))
    throw PhotoError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  // One byte past the limit tells a file at the limit from a larger one.
  QByteArray bytes = file.read(kMaxPhotoFileBytes + 1);
  if (file.error() != QFileDevice::NoError)
    throw PhotoError(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
  if (bytes.size() > kMaxPhotoFileBytes)
    throw PhotoError(QStringLiteral("%1: file too large for a photo").arg(fileName));
  return bytes;
}

// Empties the device before it is written, so no old bytes stay behind the new ones.
bool truncate(QIODevice* stream) {
  if (auto* buffer = qobject_cast<QBuffer*>(stream)) {
    buffer->buffer().clear();
    return buffer->seek(0);
  }
  if (auto* file = qobject_cast<QFileDevice*>(stream)) return file->resize(0) && file->seek(0);
  return stream->seek(0) && stream->size() == 0;
}

QByteArray photoBytes(const QVariant& field) {
  return field.isNull() ? QByteArray() : field.toByteArray();
}

const QString& checkedTable(const QString& table) {
  if (table != kFotosAlunos && table != kFotosFuncionarios)
    throw SqlError(QStringLiteral("not a photo table: %1").arg(table));
  return table;
}

QVariant sqlPhoto(const QVariant& photo) {
  const QByteArray bytes = photoBytes(photo);
  return bytes.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(bytes);
}

}  // namespace

bool AddJpgToTable(const QString& fileName, QVariant* field) {
  const QByteArray bytes = readPhotoFile(fileName);
  const QSize size = jpegSize(bytes);
  if (size.isValid() && qint64(size.width()) * size.height() > kMaxPhotoPixels)
    throw PhotoTooLarge(
        QStringLiteral("%1: %2 x %3 pixels").arg(fileName).arg(size.width()).arg(size.height()));
  if (!isWholeJpeg(bytes))
    throw PhotoError(QStringLiteral("%1: not a whole JPEG file").arg(fileName));
  QBuffer stream;
  stream.setData(bytes);
  if (!stream.open(QIODevice::ReadOnly)) return false;
  return SaveToBlob(&stream, field);
}

bool SaveToBlob(QIODevice* stream, QVariant* field) {
  if (stream == nullptr || field == nullptr || !stream->isReadable()) return false;
  if (!stream->isSequential() && !stream->seek(0)) return false;
  *field = QVariant(stream->readAll());
  return true;
}

bool LoadFromBlob(const QVariant* field, QIODevice* stream) {
  if (stream == nullptr || field == nullptr || !stream->isWritable() || stream->isSequential())
    return false;
  if (!truncate(stream)) return false;
  const QByteArray bytes = photoBytes(*field);
  if (stream->write(bytes) != bytes.size()) return false;
  return stream->seek(0);
}

bool LoadJpgFromTable(const QVariant* field, QImage* picture, QSize atLeast) {
  if (field == nullptr || picture == nullptr) return false;
  const QByteArray bytes = photoBytes(*field);
  if (bytes.isEmpty()) return false;
  QImage decoded = decodeJpeg(bytes, atLeast);
  if (decoded.isNull()) throw PhotoError(QStringLiteral("the stored photo is not a JPEG"));
  *picture = std::move(decoded);
  return true;
}

std::optional<QVariant> loadPhotoRow(const QSqlDatabase& db, const QString& table,
                                     const QString& matricula) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT FOTO1 FROM %1 WHERE MATRICULA = ? ORDER BY ID")
                               .arg(checkedTable(table)),
                           {matricula});
  if (!query.next()) return std::nullopt;
  const QVariant value = query.value(0);
  if (value.isNull()) return QVariant();
  return QVariant(value.toByteArray());
}

std::optional<QImage> pictureToShow(const QSqlDatabase& db, const QString& table,
                                    const QString& matricula, QSize atLeast) {
  const std::optional<QVariant> photo = loadPhotoRow(db, table, matricula);
  if (!photo) return std::nullopt;
  QImage picture;
  try {
    if (!LoadJpgFromTable(&*photo, &picture, atLeast)) return QImage();
  } catch (const PhotoError&) {
    return QImage();
  }
  return picture;
}

void writePhotoRow(const QSqlDatabase& db, const QString& table, const QString& matricula,
                   const QVariant& photo) {
  const QString& name = checkedTable(table);
  const QVariant value = sqlPhoto(photo);
  QSqlQuery update =
      runSql(db, QStringLiteral("UPDATE %1 SET FOTO1 = ? WHERE MATRICULA = ?").arg(name),
             {value, matricula});
  if (update.numRowsAffected() > 0) return;
  runSql(db, QStringLiteral("INSERT INTO %1 (MATRICULA, FOTO1) VALUES (?, ?)").arg(name),
         {matricula, value});
}

void deletePhotoRow(const QSqlDatabase& db, const QString& table, const QString& matricula) {
  runSql(db, QStringLiteral("DELETE FROM %1 WHERE MATRICULA = ?").arg(checkedTable(table)),
         {matricula});
}

QString captureFileName(const QString& paddedMatricula) {
  if (paddedMatricula.isEmpty()) return {};
  for (const QChar c : paddedMatricula)
    if (!(c.isLetterOrNumber() && c.unicode() < 128)) return {};
  return installationFolder() + QLatin1Char('/') + paddedMatricula + QStringLiteral(".jpg");
}

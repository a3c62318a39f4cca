// The photo store: one JPEG per member or staff member, kept byte for byte in the FOTO1
// column of FotosAlunos / FotosFuncionarios, and the routines every window that writes or
// shows a photo (members, staff, the gym's logo) goes through.
//
// A blob field is a QVariant: null means "no photo", otherwise it holds the JPEG file's
// bytes as a QByteArray. The routines only assign the field; writing the photo row is the
// caller's business (writePhotoRow inside the window's Confirm transaction).
#pragma once

#include <QImage>
#include <QSize>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <optional>
#include <stdexcept>

class QIODevice;

// A file that cannot be read or is not a whole JPEG, or stored bytes that do not decode.
class PhotoError : public std::runtime_error {
 public:
  explicit PhotoError(const QString& what) : std::runtime_error(what.toStdString()), text_(what) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

// A picture with more pixels than any photo (see kMaxPhotoPixels).
class PhotoTooLarge : public PhotoError {
 public:
  using PhotoError::PhotoError;
};

// What the windows say of a picture refused for its size.
inline const QString kFotoGrandeDemais = QStringLiteral("Foto com mais de 50 megapixels");

// Files larger than this are refused on import: no photo is anywhere near it, and reading
// a huge file (or a device such as /dev/zero) into memory would hang the window.
inline constexpr qint64 kMaxPhotoFileBytes = qint64(64) * 1024 * 1024;

// Reads the file and, when it is one whole JPEG, stores its own bytes in *field.
// Throws PhotoError when the file is missing, not a regular file (a FIFO, a device),
// unreadable, too large or not a whole JPEG; PhotoTooLarge above kMaxPhotoPixels
// (truncated, random bytes, another format renamed, empty); *field is untouched then.
// Returns false only when `field` is null.
bool AddJpgToTable(const QString& fileName, QVariant* field);

// Rewinds the stream, reads all of it and assigns the bytes to *field. False when either
// pointer is null, the stream is not open for reading or cannot be rewound; never throws.
bool SaveToBlob(QIODevice* stream, QVariant* field);

// Replaces the stream's contents with the field's bytes (none for a null field) and
// rewinds it. False when either pointer is null or the stream cannot be written; never
// throws.
bool LoadFromBlob(const QVariant* field, QIODevice* stream);

// Decodes the field's JPEG into *picture. With `atLeast` the decoder scales down to the
// smallest size covering it (for display; see decodeJpeg). False when a pointer is null or
// the field holds no photo (null or empty); throws PhotoError when the bytes do not decode.
bool LoadJpgFromTable(const QVariant* field, QImage* picture, QSize atLeast = QSize());

// The photo tables. Table names are fixed here and never come from what the user types.
inline const QString kFotosAlunos = QStringLiteral("FotosAlunos");
inline const QString kFotosFuncionarios = QStringLiteral("FotosFuncionarios");

// How long the keys must pause before the photo of the row under the cursor is read and shown:
// a search typed key by key decodes only the photo it stops on.
inline constexpr int kPhotoPause = 150;  // milliseconds

// The photo of `matricula`: nullopt when there is no photo row, a null QVariant when the
// row has no photo, the JPEG bytes otherwise. When old data holds several rows for one
// number, the first one (lowest ID) counts. Throws SqlError on a failed query or an
// unknown table.
std::optional<QVariant> loadPhotoRow(const QSqlDatabase& db, const QString& table,
                                     const QString& matricula);

// The picture a list shows for the member `matricula`, decoded for a frame of `atLeast`:
// nothing when there is no photo row (the picture on screen stays), a null picture when the
// row holds no photo or bytes that do not decode (the picture is cleared). Throws SqlError.
std::optional<QImage> pictureToShow(const QSqlDatabase& db, const QString& table,
                                    const QString& matricula, QSize atLeast);

// Sets the photo of `matricula`, updating its row(s) or inserting one. A null field or
// empty bytes store NULL (no photo). Runs inside the caller's transaction; throws SqlError.
void writePhotoRow(const QSqlDatabase& db, const QString& table, const QString& matricula,
                   const QVariant& photo);

// Removes the photo row(s) of `matricula`; no row is not an error. Throws SqlError.
void deletePhotoRow(const QSqlDatabase& db, const QString& table, const QString& matricula);

// Where a captured picture is written before it is stored: the installation folder, the
// padded registration number and ".jpg". Empty when the number is empty or holds anything
// but letters and digits, so the file can never land outside that folder.
QString captureFileName(const QString& paddedMatricula);

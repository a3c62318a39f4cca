#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "data/schema.h"
#include "data/sql.h"
#include "registry/jpeg_codec.h"
#include "registry/photo_store.h"
#include "support/test_db.h"

namespace {

// A picture with detail in it, so the encoder has real work and sizes are easy to tell.
QImage pattern(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 7 % 256, y * 5 % 256, (x ^ y) % 256));
  return image;
}

QByteArray sampleJpeg(int width = 64, int height = 48, int quality = 37) {
  return encodeJpeg(pattern(width, height), quality);
}

QByteArray pngBytes() {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  pattern(16, 16).save(&buffer, "PNG");
  return bytes;
}

QByteArray randomBytes(int size) {
  QRandomGenerator random(4242);
  QByteArray bytes(size, Qt::Uninitialized);
  for (char& c : bytes) c = char(random.bounded(256));
  return bytes;
}

// Height and width fields of the first SOF0 segment, rewritten to claim another size.
QByteArray withClaimedSize(QByteArray jpeg, quint16 width, quint16 height) {
  const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
  jpeg[sof + 5] = char(height >> 8);
  jpeg[sof + 6] = char(height & 0xFF);
  jpeg[sof + 7] = char(width >> 8);
  jpeg[sof + 8] = char(width & 0xFF);
  return jpeg;
}

class PhotoFiles : public testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir dir_;
};

// ---------------------------------------------------------------------------------------------
// Import

TEST_F(PhotoFiles, ImportStoresTheFileItselfNotAReEncoding) {
  // Quality 37 and a trailing byte after the end marker: anything re-encoded would differ.
  const QByteArray file = sampleJpeg() + QByteArray("\n");
  QVariant field;
  EXPECT_TRUE(AddJpgToTable(write(QStringLiteral("a.jpg"), file), &field));
  EXPECT_EQ(field.toByteArray(), file);
}

TEST_F(PhotoFiles, ImportRefusesAnythingButAWholeJpegAndLeavesTheFieldAlone) {
  const QByteArray jpeg = sampleJpeg();
  const QByteArray soi("\xFF\xD8\xFF", 3);
  struct Case {
    const char* what;
    QString path;
  } cases[] = {
      {"cut in half", write(QStringLiteral("half.jpg"), jpeg.left(jpeg.size() / 2))},
      {"end marker missing", write(QStringLiteral("noend.jpg"), jpeg.left(jpeg.size() - 2))},
      {"random bytes", write(QStringLiteral("random.jpg"), randomBytes(5000))},
      {"random after a start marker", write(QStringLiteral("soi.jpg"), soi + randomBytes(5000))},
      {"png renamed", write(QStringLiteral("png.jpg"), pngBytes())},
      {"empty", write(QStringLiteral("empty.jpg"), QByteArray())},
      {"header only", write(QStringLiteral("header.jpg"), jpeg.left(jpeg.indexOf("\xFF\xDA")))},
      {"missing", dir_.filePath(QStringLiteral("nothere.jpg"))},
      {"a folder", dir_.path()},
      {"an endless device", QStringLiteral("/dev/zero")},
  };
  const QVariant before(QByteArray("previous photo"));
  for (const Case& c : cases) {
    QVariant field = before;
    EXPECT_THROW(AddJpgToTable(c.path, &field), PhotoError) << c.what;
    EXPECT_EQ(field, before) << c.what;
  }
}

// A FIFO chosen as the photo must not block the window; a picture beyond any photo is
// refused by its header, before any pixel is read.
TEST_F(PhotoFiles, ImportRefusesAFifoAndAPictureTooLargeForAPhoto) {
  const QString fifo = dir_.filePath(QStringLiteral("fila.jpg"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QVariant field;
  EXPECT_THROW(AddJpgToTable(fifo, &field), PhotoError);

  const QString huge =
      write(QStringLiteral("huge.jpg"), withClaimedSize(sampleJpeg(), 65500, 65500));
  EXPECT_THROW(AddJpgToTable(huge, &field), PhotoTooLarge);
  EXPECT_FALSE(field.isValid());
  // Just under the limit is not refused for its size (here it fails as a cut file instead).
  const QString under =
      write(QStringLiteral("under.jpg"), withClaimedSize(sampleJpeg(), 8000, 6000));
  try {
    AddJpgToTable(under, &field);
  } catch (const PhotoTooLarge&) {
    ADD_FAILURE() << "48 megapixels refused as too large";
  } catch (const PhotoError&) {
  }
}

TEST_F(PhotoFiles, ImportWithoutAFieldFailsQuietly) {
  EXPECT_FALSE(AddJpgToTable(write(QStringLiteral("a.jpg"), sampleJpeg()), nullptr));
}

// ---------------------------------------------------------------------------------------------
// Streams and fields

TEST(BlobStreams, SaveToBlobRewindsAndTakesEverything) {
  QBuffer stream;
  stream.open(QIODevice::ReadWrite);
  stream.write("JPEG bytes");  // left at the end, as after writing
  QVariant field;
  EXPECT_TRUE(SaveToBlob(&stream, &field));
  EXPECT_EQ(field.toByteArray(), QByteArray("JPEG bytes"));
}

TEST(BlobStreams, LoadFromBlobReplacesTheStreamAndRewinds) {
  struct Case {
    const char* what;
    QVariant field;
    QByteArray expected;
  } cases[] = {
      {"bytes", QVariant(QByteArray("new")), QByteArray("new")},
      {"null field", QVariant(), QByteArray()},
  };
  for (const Case& c : cases) {
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    stream.write("old and longer contents");
    EXPECT_TRUE(LoadFromBlob(&c.field, &stream)) << c.what;
    EXPECT_EQ(stream.pos(), 0) << c.what;
    EXPECT_EQ(stream.readAll(), c.expected) << c.what;
  }
}

TEST(BlobStreams, MissingOrClosedPartsReportFalseWithoutThrowing) {
  QVariant field(QByteArray("x"));
  QBuffer closed;
  QBuffer open;
  open.open(QIODevice::ReadWrite);
  QBuffer readOnly;
  readOnly.open(QIODevice::ReadOnly);
  EXPECT_FALSE(SaveToBlob(nullptr, &field));
  EXPECT_FALSE(SaveToBlob(&open, nullptr));
  EXPECT_FALSE(SaveToBlob(&closed, &field));
  EXPECT_FALSE(LoadFromBlob(nullptr, &open));
  EXPECT_FALSE(LoadFromBlob(&field, nullptr));
  EXPECT_FALSE(LoadFromBlob(&field, &closed));
  EXPECT_FALSE(LoadFromBlob(&field, &readOnly));
  EXPECT_EQ(field.toByteArray(), QByteArray("x"));
}

TEST(LoadJpgFromTable, NoPhotoIsFalseAndLeavesThePictureAlone) {
  const QImage untouched = pattern(3, 3);
  const QVariant cases[] = {QVariant(), QVariant(QByteArray())};
  for (const QVariant& field : cases) {
    QImage picture = untouched;
    EXPECT_FALSE(LoadJpgFromTable(&field, &picture));
    EXPECT_EQ(picture, untouched);
  }
  QImage picture;
  EXPECT_FALSE(LoadJpgFromTable(nullptr, &picture));
  const QVariant field(sampleJpeg());
  EXPECT_FALSE(LoadJpgFromTable(&field, nullptr));
}

TEST(LoadJpgFromTable, StoredBytesThatDoNotDecodeThrow) {
  const QByteArray jpeg = sampleJpeg();
  const QVariant cases[] = {QVariant(randomBytes(300)), QVariant(jpeg.left(jpeg.size() / 2))};
  for (const QVariant& field : cases) {
    QImage picture;
    EXPECT_THROW(LoadJpgFromTable(&field, &picture), PhotoError);
  }
}

TEST(LoadJpgFromTable, DecodesInFullOrScaledForDisplay) {
  const QVariant field(sampleJpeg(803, 601));
  struct Case {
    QSize atLeast, expected;
  } cases[] = {
      {QSize(), QSize(803, 601)},         {QSize(1, 1), QSize(101, 76)},
      {QSize(101, 76), QSize(101, 76)},   {QSize(102, 10), QSize(201, 151)},
      {QSize(300, 300), QSize(402, 301)}, {QSize(2000, 100), QSize(803, 601)},
  };
  for (const Case& c : cases) {
    QImage picture;
    ASSERT_TRUE(LoadJpgFromTable(&field, &picture, c.atLeast));
    EXPECT_EQ(picture.size(), c.expected) << c.atLeast.width() << "x" << c.atLeast.height();
  }
}

// A modern camera's photo goes through every step (its timing is in bench_photos).
TEST_F(PhotoFiles, AThirtyMegapixelPhotoImportsAndDecodes) {
  QImage large(6400, 4800, QImage::Format_RGB888);
  large.fill(QColor(90, 140, 60));
  const QByteArray file = encodeJpeg(large);
  QVariant field;
  ASSERT_TRUE(AddJpgToTable(write(QStringLiteral("large.jpg"), file), &field));
  EXPECT_EQ(field.toByteArray(), file);
  QImage picture;
  ASSERT_TRUE(LoadJpgFromTable(&field, &picture, QSize(240, 320)));
  EXPECT_EQ(picture.size(), QSize(800, 600));
  ASSERT_TRUE(LoadJpgFromTable(&field, &picture));
  EXPECT_EQ(picture.size(), QSize(6400, 4800));
}

TEST(JpegCodec, AHeaderClaimingAHugePictureIsRefusedNotAllocated) {
  const QByteArray huge = withClaimedSize(sampleJpeg(), 60000, 60000);
  EXPECT_TRUE(decodeJpeg(huge).isNull());
  EXPECT_FALSE(isWholeJpeg(huge));  // the data runs out long before 60000 rows
  // The same surgery with the true size keeps a decodable file: the test edits what it means to.
  EXPECT_EQ(decodeJpeg(withClaimedSize(sampleJpeg(), 64, 48)).size(), QSize(64, 48));
}

TEST(JpegCodec, EncodesBaselineThatDecodesToTheSameSize) {
  const QByteArray jpeg = encodeJpeg(pattern(40, 30));
  EXPECT_TRUE(jpeg.startsWith(QByteArray("\xFF\xD8", 2)));
  EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xC0", 2)));   // baseline frame
  EXPECT_FALSE(jpeg.contains(QByteArray("\xFF\xC2", 2)));  // never progressive
  EXPECT_EQ(decodeJpeg(jpeg).size(), QSize(40, 30));
}

// ---------------------------------------------------------------------------------------------
// Capture file

TEST(CaptureFileName, SitsInTheInstallationFolderNamedByTheNumber) {
  TestInstallation installation;
  EXPECT_EQ(captureFileName(QStringLiteral("0000000042")),
            installation.path() + QStringLiteral("/0000000042.jpg"));
  const QString unsafe[] = {QString(), QStringLiteral("../x"), QStringLiteral("a/b"),
                            QStringLiteral(".."), QStringLiteral("00 42")};
  for (const QString& number : unsafe)
    EXPECT_TRUE(captureFileName(number).isEmpty()) << number.toStdString();
}

// ---------------------------------------------------------------------------------------------
// Photo rows

class PhotoRows : public testing::TestWithParam<Provider> {
 protected:
  void SetUp() override {
    connection_ = database_.connect();
    db_ = connection_->database();
    createMissingTables(db_, connection_->dialect(), Database::Workout);
  }

  void write(const QString& table, const QString& matricula, const QVariant& photo) {
    Transaction transaction(db_);
    writePhotoRow(db_, table, matricula, photo);
    transaction.commit();
  }

  int rows(const QString& table, const QString& matricula) {
    return scalarSql(db_, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE MATRICULA = ?").arg(table),
                     {matricula})
        .toInt();
  }

  TestDatabase database_{GetParam()};
  std::unique_ptr<Connection> connection_;
  QSqlDatabase db_;
};

TEST_P(PhotoRows, InsertUpdateClearAndDeleteOnBothTables) {
  const QString number = QStringLiteral("0000000042");
  const QByteArray first = sampleJpeg(20, 10);
  const QByteArray second = sampleJpeg(30, 10) + QByteArray(1, '\0');  // a zero byte survives
  for (const QString& table : {kFotosAlunos, kFotosFuncionarios}) {
    SCOPED_TRACE(table.toStdString());
    EXPECT_EQ(loadPhotoRow(db_, table, number), std::nullopt);

    write(table, number, first);
    EXPECT_EQ(loadPhotoRow(db_, table, number), QVariant(first));

    write(table, number, second);
    EXPECT_EQ(loadPhotoRow(db_, table, number), QVariant(second));
    EXPECT_EQ(rows(table, number), 1);

    // No photo, said either way, is a row whose photo is null.
    for (const QVariant& none : {QVariant(), QVariant(QByteArray())}) {
      write(table, number, none);
      const std::optional<QVariant> loaded = loadPhotoRow(db_, table, number);
      ASSERT_TRUE(loaded.has_value());
      EXPECT_TRUE(loaded->isNull());
    }
    EXPECT_EQ(rows(table, number), 1);

    deletePhotoRow(db_, table, number);
    EXPECT_EQ(loadPhotoRow(db_, table, number), std::nullopt);
    EXPECT_NO_THROW(deletePhotoRow(db_, table, number));  // nothing left to delete
  }
}

TEST_P(PhotoRows, OnlyTheGivenNumberIsTouchedAndNumbersAreBound) {
  const QString hostile = QStringLiteral("1'OR'1'='1");  // ten characters, like a number
  write(kFotosAlunos, QStringLiteral("0000000001"), sampleJpeg(8, 8));
  write(kFotosAlunos, hostile, sampleJpeg(9, 9));
  deletePhotoRow(db_, kFotosAlunos, hostile);
  EXPECT_EQ(rows(kFotosAlunos, QStringLiteral("0000000001")), 1);
  EXPECT_EQ(loadPhotoRow(db_, kFotosAlunos, hostile), std::nullopt);
}

TEST_P(PhotoRows, AWriteRolledBackByTheCallerLeavesNoTrace) {
  {
    Transaction transaction(db_);
    writePhotoRow(db_, kFotosAlunos, QStringLiteral("0000000007"), sampleJpeg());
  }
  EXPECT_EQ(loadPhotoRow(db_, kFotosAlunos, QStringLiteral("0000000007")), std::nullopt);
}

TEST_P(PhotoRows, OtherTablesAreRefused) {
  const QString number = QStringLiteral("0000000001");
  for (const QString& table :
       {QStringLiteral("Alunos"), QStringLiteral("FotosAlunos; DROP TABLE Alunos")}) {
    EXPECT_THROW(loadPhotoRow(db_, table, number), SqlError);
    EXPECT_THROW(writePhotoRow(db_, table, number, QVariant()), SqlError);
    EXPECT_THROW(deletePhotoRow(db_, table, number), SqlError);
  }
}

INSTANTIATE_TEST_SUITE_P(Providers, PhotoRows, testing::ValuesIn(testProviders()),
                         providerTestName);

}  // namespace

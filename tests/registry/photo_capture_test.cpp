#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "base/messages.h"
#include "registry/jpeg_codec.h"
#include "registry/photo_capture_window.h"
#include "registry/photo_store.h"
#include "support/test_db.h"
#include "support/test_env.h"

namespace {

const QString kNumber = QStringLiteral("0000000042");
const QString kNaoPodeSerSalva = QStringLiteral("Foto não pode ser salva!");

// Hands the window a fixed picture, as a camera would hand it the last frame; `onGrab`
// lets a test look at the world at the moment the frame is taken.
class FixedFrameSource : public FrameSource {
 public:
  explicit FixedFrameSource(QImage frame) : frame_(std::move(frame)) {}
  bool available() const override { return true; }
  QWidget* startPreview(QWidget* parent) override {
    auto* preview = new QLabel(parent);
    preview->setPixmap(QPixmap::fromImage(frame_));
    return preview;
  }
  QImage grabFrame() override { return frame_; }

 private:
  QImage frame_;
};

QImage frame(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(QColor(30, 120, 200));
  return image;
}

class PhotoCapture : public testing::Test {
 protected:
  void SetUp() override { testPrompter().clear(); }

  QString tempFile() const { return installation_.path() + QLatin1Char('/') + kNumber + ".jpg"; }

  static QPushButton* buttonOf(QWidget& window, const char* name) {
    return window.findChild<QPushButton*>(QString::fromLatin1(name));
  }

  TestInstallation installation_;
  QVariant photo_ = QVariant(QByteArray("photo before"));
  QList<QImage> shown_;
  TFRMCAPTURA::ShowPicture show_ = [this](const QImage& picture) { shown_.append(picture); };
};

TEST_F(PhotoCapture, ConfirmStoresTheFrameThroughTheNumberedFileAndRemovesIt) {
  bool fileSeen = false;
  TFRMCAPTURA window(
      kNumber, &photo_,
      [&](const QImage& picture) {
        // The picture reaches the registry window from the file, before it is removed.
        fileSeen = QFile::exists(tempFile());
        show_(picture);
      },
      nullptr, std::make_unique<FixedFrameSource>(frame(64, 48)));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Captura Foto"));
  EXPECT_EQ(buttonOf(window, "BBNCONFIRMA")->toolTip(), QStringLiteral("Confirma"));
  EXPECT_EQ(buttonOf(window, "BBNRETORNA")->toolTip(), QStringLiteral("Retorna"));
  window.show();

  QTest::mouseClick(buttonOf(window, "BBNCONFIRMA"), Qt::LeftButton);

  EXPECT_TRUE(fileSeen);
  EXPECT_FALSE(QFile::exists(tempFile()));
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(testPrompter().messages().isEmpty());

  const QByteArray stored = photo_.toByteArray();
  EXPECT_TRUE(stored.contains(QByteArray("\xFF\xC0", 2)));  // baseline
  QImage picture;
  ASSERT_TRUE(LoadJpgFromTable(&photo_, &picture));
  EXPECT_EQ(picture.size(), QSize(64, 48));
  const QColor middle = picture.pixelColor(32, 24);
  EXPECT_NEAR(middle.red(), 30, 3);
  EXPECT_NEAR(middle.blue(), 200, 3);
  ASSERT_EQ(shown_.size(), 1);
  EXPECT_EQ(shown_[0].size(), QSize(64, 48));
}

TEST_F(PhotoCapture, AFailedConfirmSaysSoKeepsThePhotoAndStillRemovesTheFile) {
  struct Case {
    const char* what;
    QImage frame;
    bool withField;
    bool folderExists;
  } cases[] = {
      {"no frame yet", QImage(), true, true},
      {"no photo field", frame(8, 8), false, true},
      {"installation folder gone", frame(8, 8), true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testPrompter().clear();
    shown_.clear();
    TestInstallation installation;
    const QString file = installation.path() + QLatin1Char('/') + kNumber + ".jpg";
    if (c.folderExists) {
      QFile stale(file);  // left over from an earlier capture that never finished
      ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
      stale.write("stale");
    } else {
      ASSERT_TRUE(QDir(installation.path()).removeRecursively());
    }
    const QVariant before = photo_;
    TFRMCAPTURA window(kNumber, c.withField ? &photo_ : nullptr, show_, nullptr,
                       std::make_unique<FixedFrameSource>(c.frame));
    window.show();

    QTest::mouseClick(buttonOf(window, "BBNCONFIRMA"), Qt::LeftButton);

    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(photo_, before);
    EXPECT_TRUE(shown_.isEmpty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);
    ASSERT_EQ(testPrompter().messages().size(), 1);
    EXPECT_EQ(testPrompter().messages()[0].text, Msg::DadoIncorreto);
    EXPECT_EQ(testPrompter().messages()[0].detail, kNaoPodeSerSalva);
  }
}

TEST_F(PhotoCapture, ReturnStoresNothing) {
  TFRMCAPTURA window(kNumber, &photo_, show_, nullptr,
                     std::make_unique<FixedFrameSource>(frame(16, 16)));
  window.show();
  QTest::mouseClick(buttonOf(window, "BBNRETORNA"), Qt::LeftButton);
  EXPECT_EQ(photo_, QVariant(QByteArray("photo before")));
  EXPECT_TRUE(shown_.isEmpty());
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(QFile::exists(tempFile()));
}

// Without a camera the window opens, says so, and can only be left.
TEST_F(PhotoCapture, WithoutACameraNothingCanBeConfirmed) {
  std::vector<std::unique_ptr<TFRMCAPTURA>> windows;
  windows.push_back(std::make_unique<TFRMCAPTURA>(
      kNumber, &photo_, show_, nullptr, std::make_unique<CameraFrameSource>(QCameraDevice())));
  windows.push_back(std::make_unique<TFRMCAPTURAFUNC>(
      kNumber, &photo_, show_, nullptr, std::make_unique<CameraFrameSource>(QCameraDevice())));
  for (auto& window : windows) {
    SCOPED_TRACE(window->objectName().toStdString());
    window->show();
    auto* label = window->findChild<QLabel*>(QStringLiteral("LBLCAMERA"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->isVisible());
    EXPECT_EQ(label->text(), TFRMCAPTURA::kNenhumaCamera);
    QPushButton* confirm = buttonOf(*window, "BBNCONFIRMA");
    EXPECT_FALSE(confirm->isEnabled());
    QTest::mouseClick(confirm, Qt::LeftButton);  // a disabled button does nothing
    EXPECT_TRUE(window->isVisible());
    QTest::mouseClick(buttonOf(*window, "BBNRETORNA"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
  }
  EXPECT_EQ(windows[1]->objectName(), QStringLiteral("TFRMCAPTURAFUNC"));
  EXPECT_EQ(photo_, QVariant(QByteArray("photo before")));
  EXPECT_TRUE(shown_.isEmpty());
  EXPECT_TRUE(testPrompter().messages().isEmpty());
}

// The window as the registry windows open it, on whatever this machine has: it must
// open and close cleanly, camera or not, and store nothing unless confirmed.
TEST_F(PhotoCapture, TheSystemCameraWindowOpensAndClosesCleanly) {
  TFRMCAPTURA window(kNumber, &photo_, show_);
  window.show();
  QTest::qWait(50);
  QTest::mouseClick(buttonOf(window, "BBNRETORNA"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(photo_, QVariant(QByteArray("photo before")));
}

}  // namespace

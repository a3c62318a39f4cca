#include "registry/photo_capture_window.h"

#include <QCamera>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMediaDevices>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QVideoSink>
#include <QVideoWidget>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "forms/media_backend.h"
#include "registry/jpeg_codec.h"
#include "registry/photo_store.h"

namespace {

constexpr int kCaptureQuality = 90;

// Removes the temporary capture file however Confirm ends, also a stale one left behind
// by an earlier run that stopped half-way.
class RemoveFileOnExit {
 public:
  explicit RemoveFileOnExit(QString fileName) : fileName_(std::move(fileName)) {}
  ~RemoveFileOnExit() {
    if (!fileName_.isEmpty()) QFile::remove(fileName_);
  }
  RemoveFileOnExit(const RemoveFileOnExit&) = delete;
  RemoveFileOnExit& operator=(const RemoveFileOnExit&) = delete;

 private:
  QString fileName_;
};

bool writeWholeFile(const QString& fileName, const QByteArray& bytes) {
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  const bool written = file.write(bytes) == bytes.size() && file.flush();
  file.close();
  return written && file.error() == QFileDevice::NoError;
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text,
                    const QString& hint) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(name);
  b->setToolTip(hint);
  return b;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The camera

CameraFrameSource::CameraFrameSource(const QCameraDevice& device) : device_(device) {}

CameraFrameSource::~CameraFrameSource() {
  stop();
}

std::unique_ptr<CameraFrameSource> CameraFrameSource::firstDevice() {
  // Without a working media backend there is no camera to offer, whatever is plugged in.
  if (!captureBackend().ready) return std::make_unique<CameraFrameSource>(QCameraDevice());
  const QList<QCameraDevice> devices = QMediaDevices::videoInputs();
  return std::make_unique<CameraFrameSource>(devices.isEmpty() ? QCameraDevice() : devices.first());
}

bool CameraFrameSource::available() const {
  return !device_.isNull() && !failed_;
}

QWidget* CameraFrameSource::startPreview(QWidget* parent) {
  if (!available()) return nullptr;
  camera_ = std::make_unique<QCamera>(device_);
  preview_ = new QVideoWidget(parent);
  preview_->setObjectName(QStringLiteral("VIDEOPREVIEW"));
  preview_->setMinimumSize(320, 240);
  session_ = std::make_unique<QMediaCaptureSession>();
  session_->setCamera(camera_.get());
  session_->setVideoOutput(preview_.data());
  // Frames may arrive on the backend's thread; this object's context queues them here.
  connect(preview_->videoSink(), &QVideoSink::videoFrameChanged, this,
          &CameraFrameSource::keepFrame);
  connect(camera_.get(), &QCamera::errorOccurred, this,
          [this](QCamera::Error error, const QString& text) {
            if (error == QCamera::NoError) return;
            appendToLog(QStringLiteral("Captura Foto: %1").arg(text));
            failed_ = true;
            if (onFailure) onFailure();
          });
  camera_->start();
  return preview_;
}

void CameraFrameSource::keepFrame(const QVideoFrame& frame) {
  if (!frame.isValid()) return;
  const bool first = !lastFrame_.isValid();
  lastFrame_ = frame;
  if (first) fitPreview(frame.size());
}

// The preview shows the device's own frame size, as far as the screen allows.
void CameraFrameSource::fitPreview(QSize frameSize) {
  if (preview_.isNull() || frameSize.isEmpty()) return;
  QSize room = frameSize;
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    room = screen->availableSize() * 3 / 4;
  preview_->setMinimumSize(frameSize.boundedTo(room));
  if (QWidget* window = preview_->window()) window->adjustSize();
}

QImage CameraFrameSource::grabFrame() {
  if (!lastFrame_.isValid()) return {};
  return lastFrame_.toImage();
}

void CameraFrameSource::stop() {
  if (camera_) camera_->stop();
  if (session_) {
    session_->setVideoOutput(nullptr);
    session_->setCamera(nullptr);
  }
  camera_.reset();
}

// ---------------------------------------------------------------------------------------------
// The window

TFRMCAPTURA::TFRMCAPTURA(const QString& paddedMatricula, QVariant* photoField,
                         ShowPicture showPicture, QWidget* parent,
                         std::unique_ptr<FrameSource> source)
    : QDialog(parent),
      matricula_(paddedMatricula),
      photoField_(photoField),
      showPicture_(std::move(showPicture)),
      source_(source ? std::move(source) : CameraFrameSource::firstDevice()) {
  setObjectName(QStringLiteral("TFRMCAPTURA"));
  setWindowTitle(QStringLiteral("Captura Foto"));
  setModal(true);
  layout_ = new QVBoxLayout(this);
  LBLCAMERA = new QLabel(this);
  LBLCAMERA->setObjectName(QStringLiteral("LBLCAMERA"));
  LBLCAMERA->setAlignment(Qt::AlignCenter);
  LBLCAMERA->setMinimumSize(320, 240);
  layout_->addWidget(LBLCAMERA, 1);
  auto* buttons = new QHBoxLayout;
  BBNCONFIRMA = button(this, QStringLiteral("BBNCONFIRMA"), QStringLiteral("Confirma"),
                       QStringLiteral("Confirma"));
  BBNRETORNA = button(this, QStringLiteral("BBNRETORNA"), QStringLiteral("Retorna"),
                      QStringLiteral("Retorna"));
  buttons->addStretch();
  buttons->addWidget(BBNCONFIRMA);
  buttons->addWidget(BBNRETORNA);
  layout_->addLayout(buttons);
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMCAPTURA::BBNCONFIRMAClick);
  connect(BBNRETORNA, &QPushButton::clicked, this, &TFRMCAPTURA::BBNRETORNAClick);

  // Without a device the window still opens, says so and can only be left: the photo
  // being edited stays as it was.
  source_->onFailure = [this] { showUnavailable(kCameraIndisponivel); };
  QWidget* preview = source_->available() ? source_->startPreview(this) : nullptr;
  if (preview == nullptr) {
    showUnavailable(kNenhumaCamera);
    return;
  }
  LBLCAMERA->hide();
  layout_->insertWidget(0, preview, 1);
}

TFRMCAPTURA::~TFRMCAPTURA() {
  source_->onFailure = nullptr;
  source_->stop();
}

void TFRMCAPTURA::showUnavailable(const QString& text) {
  LBLCAMERA->setText(text);
  LBLCAMERA->show();
  BBNCONFIRMA->setEnabled(false);
}

void TFRMCAPTURA::done(int result) {
  // The device runs only while the window is open.
  source_->stop();
  QDialog::done(result);
}

void TFRMCAPTURA::BBNCONFIRMAClick() {
  const QString fileName = captureFileName(matricula_);
  bool stored = false;
  {
    RemoveFileOnExit removeFile(fileName);
    stored = storeFrame(fileName);
  }
  if (!stored)
    MENSAGEM(QStringLiteral("!"), Msg::DadoIncorreto, QStringLiteral("Foto não pode ser salva!"));
  done(stored ? QDialog::Accepted : QDialog::Rejected);
}

// Encodes the current frame into the temporary file and stores that file in the photo
// field. The registry window is shown the picture only once it is stored, so it never
// shows a photo its row does not hold.
bool TFRMCAPTURA::storeFrame(const QString& fileName) {
  const QImage frame = source_->grabFrame();
  if (frame.isNull() || fileName.isEmpty() || photoField_ == nullptr) return false;
  if (!writeWholeFile(fileName, encodeJpeg(frame, kCaptureQuality))) {
    appendToLog(QStringLiteral("Captura Foto: cannot write %1").arg(fileName));
    return false;
  }
  QImage picture;
  try {
    if (!AddJpgToTable(fileName, photoField_)) return false;
    LoadJpgFromTable(photoField_, &picture);
  } catch (const PhotoError& e) {
    appendToLog(QStringLiteral("Captura Foto: %1").arg(e.text()));
    return false;
  }
  if (showPicture_) showPicture_(picture);
  return true;
}

void TFRMCAPTURA::BBNRETORNAClick() {
  done(QDialog::Rejected);
}

TFRMCAPTURAFUNC::TFRMCAPTURAFUNC(const QString& paddedMatricula, QVariant* photoField,
                                 ShowPicture showPicture, QWidget* parent,
                                 std::unique_ptr<FrameSource> source)
    : TFRMCAPTURA(paddedMatricula, photoField, std::move(showPicture), parent, std::move(source)) {
  setObjectName(QStringLiteral("TFRMCAPTURAFUNC"));
}

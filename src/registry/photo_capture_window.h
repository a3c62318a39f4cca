// "Captura Foto": takes a member's (TFRMCAPTURA) or a staff member's (TFRMCAPTURAFUNC)
// photo from the first video input, with a live preview, and stores it in the photo field
// of the registry window that opened it.
#pragma once

#include <QCameraDevice>
#include <QDialog>
#include <QImage>
#include <QMediaCaptureSession>
#include <QPointer>
#include <QVariant>
#include <QVideoFrame>
#include <functional>
#include <memory>

class QCamera;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QVideoWidget;

// Where the window's pictures come from: the camera, or a fixed picture in tests.
class FrameSource {
 public:
  virtual ~FrameSource() = default;
  // False when there is no device to take a picture from.
  virtual bool available() const = 0;
  // Starts the live picture and returns the widget showing it (owned by `parent`), or
  // nullptr when there is nothing to show.
  virtual QWidget* startPreview(QWidget* parent) = 0;
  // The latest frame; null when none has arrived yet.
  virtual QImage grabFrame() = 0;
  // Stops the device; the window calls it when it closes.
  virtual void stop() {}

  // Set by the window: called when the device fails while the preview runs.
  std::function<void()> onFailure;
};

// The first video input of the system (or a given one), previewed at its own frame size.
class CameraFrameSource : public QObject, public FrameSource {
  Q_OBJECT

 public:
  // A null device means "no camera": available() is false and nothing is started.
  explicit CameraFrameSource(const QCameraDevice& device);
  ~CameraFrameSource() override;

  // The first device of QMediaDevices::videoInputs(), or a source without a device.
  static std::unique_ptr<CameraFrameSource> firstDevice();

  bool available() const override;
  QWidget* startPreview(QWidget* parent) override;
  QImage grabFrame() override;
  void stop() override;

 private:
  void keepFrame(const QVideoFrame& frame);
  void fitPreview(QSize frameSize);

  QCameraDevice device_;
  std::unique_ptr<QCamera> camera_;
  std::unique_ptr<QMediaCaptureSession> session_;  // made with the preview
  QPointer<QVideoWidget> preview_;
  QVideoFrame lastFrame_;
  bool failed_ = false;
};

class TFRMCAPTURA : public QDialog {
  Q_OBJECT

 public:
  // Shows the stored picture on the registry window (its Image1) after a capture.
  using ShowPicture = std::function<void(const QImage&)>;

  // What the window says in place of the preview.
  static inline const QString kNenhumaCamera = QStringLiteral("Nenhuma câmera encontrada");
  static inline const QString kCameraIndisponivel = QStringLiteral("Câmera não disponível");

  // `paddedMatricula` names the temporary file; `photoField` is FOTO1 of the photo row the
  // registry window is editing (only assigned here: the registry window posts it on its
  // Confirm). Without `source` the first camera of the system is used.
  TFRMCAPTURA(const QString& paddedMatricula, QVariant* photoField, ShowPicture showPicture,
              QWidget* parent = nullptr, std::unique_ptr<FrameSource> source = nullptr);
  ~TFRMCAPTURA() override;

  void done(int result) override;

 private:
  void BBNCONFIRMAClick();
  void BBNRETORNAClick();
  bool storeFrame(const QString& fileName);
  void showUnavailable(const QString& text);

  QString matricula_;
  QVariant* photoField_;
  ShowPicture showPicture_;
  std::unique_ptr<FrameSource> source_;
  QVBoxLayout* layout_ = nullptr;
  QLabel* LBLCAMERA = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

// The staff registry's capture window: the same window under its own name.
class TFRMCAPTURAFUNC : public TFRMCAPTURA {
  Q_OBJECT

 public:
  TFRMCAPTURAFUNC(const QString& paddedMatricula, QVariant* photoField, ShowPicture showPicture,
                  QWidget* parent = nullptr, std::unique_ptr<FrameSource> source = nullptr);
};

// The series on screen at the gym floor: TFRMSERIEVIDEO ("Série Video "), opened by the
// 40-column receipt window instead of printing when the settings say so, shows the member's
// current series full screen and closes itself after the settings' time; Enter or a double
// click on an exercise opens its video in TFRMVIDEO ("Video Aula"), and the countdown starts
// again once the video window closes.
#pragma once

#include <QDialog>
#include <QTimer>

#include "printouts/series_on_screen.h"

class QLabel;
class QTableView;
class QStandardItemModel;
class Session;
class VideoPlayer;

// "Video Aula": plays one video file and closes when it has ended, when it cannot be played
// (after telling why), or on Esc.
class TFRMVIDEO : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMVIDEO(const QString& path, QWidget* parent = nullptr);
  ~TFRMVIDEO() override;
  VideoPlayer* videoPlayer() const { return WindowsMediaPlayer; }
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void tick();

  QString path_;
  bool started_ = false;
  VideoPlayer* WindowsMediaPlayer = nullptr;
  QTimer Timer1;
};

class TFRMSERIEVIDEO : public QDialog {
  Q_OBJECT

 public:
  TFRMSERIEVIDEO(Session& session, const SeriesOnScreen& series, QWidget* parent = nullptr);
  // The countdown that closes the window.
  QTimer* countdown() { return &Timer1; }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* aerobicPanel();
  QWidget* strengthPanel();
  // Opens the video of the exercise on the current row of `grid`.
  void showVideo(QTableView* grid);

  Session& session_;
  SeriesOnScreen series_;
  QTimer Timer1;
  QTableView* DBGAEROBICA = nullptr;
  QTableView* DBGEXERCICIOS = nullptr;
};

// Opens TFRMSERIEVIDEO modally for `series`: what the receipt window is handed.
void showSeriesOnScreen(Session& session, const SeriesOnScreen& series, QWidget* parent);

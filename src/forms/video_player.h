// The embedded video player every window shows its exercise videos in. The media player is
// created when the first video is asked for, never when the window opens, and only when this
// machine's media backend can build it; a video that cannot play is reported in the
// program's words and the player goes back to rest.
#pragma once

#include <QPointer>
#include <QWidget>

class QMediaPlayer;
class QVideoWidget;

class VideoPlayer : public QWidget {
  Q_OBJECT

 public:
  explicit VideoPlayer(QWidget* parent = nullptr);
  ~VideoPlayer() override;

  // Shows the player and starts `path`. False, after telling the user, when this machine
  // cannot play videos; the player then stays hidden.
  bool play(const QString& path);
  // Stops, forgets the address and hides.
  void stop();
  // True while a video is under way (started and its position moved on).
  bool playing() const;
  // Nullptr until the first video was asked for (or when the backend is missing).
  QMediaPlayer* player() const { return player_; }

 signals:
  // The file could not be played; the user has been told and the player is stopped.
  void failed();

 private:
  bool createPlayer();

  QMediaPlayer* player_ = nullptr;
  QPointer<QVideoWidget> screen_;
};

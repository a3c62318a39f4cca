#include "forms/video_player.h"

#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>
#include <QVBoxLayout>
#include <QVideoWidget>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "forms/media_backend.h"

namespace {
const QString kNoPlayer = QStringLiteral("Este computador não tem como reproduzir vídeos");
}  // namespace

VideoPlayer::VideoPlayer(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  hide();
}

VideoPlayer::~VideoPlayer() {
  if (player_) player_->stop();
}

bool VideoPlayer::createPlayer() {
  if (player_) return true;
  if (!playerBackend().ready) return false;
  screen_ = new QVideoWidget(this);
  screen_->setObjectName(QStringLiteral("VIDEOSCREEN"));
  layout()->addWidget(screen_);
  player_ = new QMediaPlayer(this);
  player_->setVideoOutput(screen_.data());
  connect(player_, &QMediaPlayer::errorOccurred, this,
          [this](QMediaPlayer::Error error, const QString& text) {
            if (error == QMediaPlayer::NoError) return;
            const QString file = player_->source().toLocalFile();
            appendToLog(QStringLiteral("Vídeo %1: %2").arg(file, text));
            stop();
            MENSAGEM(QStringLiteral("!"),
                     QFileInfo::exists(file) ? Msg::ArquivoVideoIncompativel
                                             : Msg::ArquivoVideoInexistente,
                     file);
            emit failed();
          });
  return true;
}

bool VideoPlayer::play(const QString& path) {
  if (!createPlayer()) {
    MENSAGEM(QStringLiteral("!"), Msg::ArquivoVideoIncompativel, kNoPlayer);
    return false;
  }
  show();
  player_->setSource(QUrl::fromLocalFile(path));
  player_->play();
  return true;
}

void VideoPlayer::stop() {
  hide();
  if (!player_) return;
  player_->stop();
  player_->setSource(QUrl());
}

bool VideoPlayer::playing() const {
  return player_ && player_->position() != 0 &&
         player_->playbackState() == QMediaPlayer::PlayingState;
}

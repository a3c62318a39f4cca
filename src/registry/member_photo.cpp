#include "registry/member_photo.h"

#include <QLabel>
#include <QPixmap>

#include "registry/photo_store.h"

void showMemberPhoto(QLabel* frame, const QSqlDatabase& db, const QString& matricula) {
  const std::optional<QVariant> photo = loadPhotoRow(db, kFotosAlunos, matricula);
  if (!photo) return;
  QImage picture;
  try {
    if (!LoadJpgFromTable(&*photo, &picture, frame->size())) picture = QImage();
  } catch (const PhotoError&) {
    picture = QImage();
  }
  if (picture.isNull()) {
    frame->clear();
    return;
  }
  frame->setPixmap(QPixmap::fromImage(
      picture.scaled(frame->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

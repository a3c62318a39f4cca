// The modal windows a shortcut of the main window opens over the whole member table (the
// member e-mail list, the series history): the member search with the member's photo beside
// it, the members read from where the settings keep them on a connection of the window's own,
// and the shortcut's rules: the shortcut is off while the window is up, and closing gives it
// back and the user slot with it (VOLTA_USUARIO). A window whose members cannot be read says so
// and closes once shown.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <memory>
#include <optional>

#include "registry/member_search.h"
#include "registry/people_source.h"

class Connection;
class Session;
class QLabel;

class MemberListDialog : public QDialog {
  Q_OBJECT

 public:
  ~MemberListDialog() override;
  void done(int result) override;

 protected:
  // `purpose` names the window's connection; `unmatched` is what a name typed that begins no
  // member's name leaves to remember. Reads the members at once; the derived window lays out
  // `search_` and photoBox() and connects what it needs.
  MemberListDialog(Session& session, QWidget* shortcut, QWidget* parent, UnmatchedName unmatched,
                   const QString& purpose);

  // Once the window is first shown and its members could be read.
  virtual void firstShown() {}
  void showEvent(QShowEvent* event) override;

  // The group "Foto" around the photo frame Image1.
  QWidget* photoBox();
  // Shows the photo of the member under the cursor (see showMemberPhoto): what was shown, or
  // nothing when the frame was left as it was.
  std::optional<QImage> showCurrentPhoto();

  Session& session_;
  MemberSearch* search_ = nullptr;
  QLabel* Image1 = nullptr;

 private:
  bool ABRE_TABELAS();
  void FECHA_TABELAS();

  QString purpose_;
  QPointer<QWidget> shortcut_;
  PeopleTables people_;
  std::unique_ptr<Connection> connection_;
  bool failed_ = false;
  bool opened_ = false;
  bool closed_ = false;
};

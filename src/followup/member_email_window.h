// TFRMEMAILALUNOS, "E-mail para Alunos": a quick way to write to one member. It lists every
// member, finds one by registration or by name and shows the member's photo; "E-mail" (or a
// double click on the member) opens the e-mail window addressed to the member under the cursor.
//
// The main window opens it modally from its "E-mail" shortcut, counting it among the open
// windows and disabling the shortcut meanwhile:
//
//   G().GINT_JANELAS_ABERTAS += 1;
//   TFRMEMAILALUNOS list(session, emailShortcut, this);
//   list.exec();
//
// Closing gives the user slot back (VOLTA_USUARIO) and enables the shortcut again. The e-mail
// window learns where its recipient comes from through EmailRecipients::member.
#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "base/globals.h"
#include "registry/member_search.h"
#include "registry/people_source.h"

class Connection;
class Session;

class QLabel;
class QPushButton;

class TFRMEMAILALUNOS : public QDialog {
  Q_OBJECT

 public:
  TFRMEMAILALUNOS(Session& session, QWidget* shortcut, QWidget* parent = nullptr);
  ~TFRMEMAILALUNOS() override;

  // The registration the next Enter in the search field looks for.
  const QString& remembered() const { return remembered_.str(); }

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  Session& session_;

  bool ABRE_TABELAS();
  void FECHA_TABELAS();
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);
  void DBGALUNOSKeyUp();
  void DBGALUNOSDblClick();
  void SBEMAILClick();
  void MOSTRA_FOTO();

  QPointer<QWidget> shortcut_;
  PeopleTables people_;
  std::unique_ptr<Connection> connection_;
  FixedText<10> remembered_;
  bool failed_ = false;  // the tables did not open: the window closes once shown
  bool opened_ = false;
  bool closed_ = false;

  MemberSearch* search_ = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* SBEMAIL = nullptr;
  QPushButton* BBNSAIR = nullptr;
};

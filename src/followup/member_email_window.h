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

#include "base/globals.h"
#include "registry/member_list_dialog.h"

class QPushButton;

class TFRMEMAILALUNOS : public MemberListDialog {
  Q_OBJECT

 public:
  TFRMEMAILALUNOS(Session& session, QWidget* shortcut, QWidget* parent = nullptr);

  // The registration the next Enter in the search field looks for.
  const QString& remembered() const { return remembered_.str(); }

 protected:
  void firstShown() override;

 private:
  void searchTyped(const SearchStep& step);
  void searchEntered(const QString& text);
  void DBGALUNOSKeyUp();
  void DBGALUNOSDblClick();
  void SBEMAILClick();
  void MOSTRA_FOTO();

  FixedText<10> remembered_;

  QPushButton* SBEMAIL = nullptr;
  QPushButton* BBNSAIR = nullptr;
};

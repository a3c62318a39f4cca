// TPDLGACESSO ("Acesso"), the login, and TPDLGACESSOLOCAL ("Acesso Local"), with which
// another user authorises one opening. Neither can be closed except by what it decides.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "app/login_logic.h"
#include "app/upkeep.h"
#include "data/users_table.h"

class QLabel;
class Session;
class QLineEdit;

// The two fields and the name label both dialogs show.
struct AccessForm {
  QLineEdit* code = nullptr;      // EDTCODIGOUSUARIO
  QLabel* name = nullptr;         // LBLNOMEUSUARIO
  QLineEdit* password = nullptr;  // EDTSENHA
};

class TPDLGACESSO : public QDialog {
  Q_OBJECT

 public:
  enum Result { LoggedIn = QDialog::Accepted, EndProgram = QDialog::Rejected };

  explicit TPDLGACESSO(Session& session, QWidget* parent = nullptr);

  // Where the database size comes from (tests replace it); the real size by default.
  static void setSizeSource(std::optional<SizeSource> source);

  const AccessForm& form() const { return form_; }
  const AccessAttempts& attempts() const { return attempts_; }
  // True once the start-up work is done and a code can be typed.
  bool ready() const { return ready_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}  // Esc belongs to the fields

 private:
  void startUp();
  void checkSize();
  void codeEntered();
  void passwordEntered();
  void passwordEscaped();
  void finish(Result result);
  void showProgress(const QString& text);

  Session& session_;
  AccessForm form_;
  QLabel* LBLATUALIZACAO = nullptr;
  UsersTable TBLUSUARIOS_;
  AccessAttempts attempts_;
  bool started_ = false;
  bool ready_ = false;
  bool finishing_ = false;
};

class TPDLGACESSOLOCAL : public QDialog {
  Q_OBJECT

 public:
  explicit TPDLGACESSOLOCAL(Session& session, QWidget* parent = nullptr);
  const AccessForm& form() const { return form_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override {}

 private:
  void codeEntered();
  void passwordEntered();
  void finish();

  Session& session_;
  AccessForm form_;
  AccessAttempts attempts_;
  bool finishing_ = false;
};

// Shows the login (at start or to change the user) and acts on its result. False when the
// program must end.
bool showLogin(Session& session, QWidget* parent, bool changingUser);

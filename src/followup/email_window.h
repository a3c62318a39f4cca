// TFRMONLINE, "Enviar e-mail ": writes to members through the gym's mail provider. The window
// that opens it says where the recipients come from (one member, a report's address file,
// absent members); the user may edit recipients, subject and text, add attachments and a
// picture for the body, and send. After a complete send the window closes itself.
//
//   TFRMONLINE mail(EmailRecipients::member(address), this);
//   mail.exec();
//
// The caller keeps its own state around the opening: the absent-members window clears its
// "Todos Alunos" box once this window has closed. The send runs off the window's thread; the
// window keeps painting and cannot be closed until it ends.
#pragma once

#include <QDialog>
#include <QVariantMap>
#include <functional>

#include "followup/email_sending.h"
#include "forms/busy_work.h"

class Session;

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QPushButton;

class TFRMONLINE : public QDialog {
  Q_OBJECT

 public:
  TFRMONLINE(Session& session, EmailRecipients recipients, QWidget* parent = nullptr);

  // What the file dialogs of BBNARQUIVOS and BBNCORPOEMAIL hand over. An empty picture path
  // means no picture.
  void addAttachment(const QString& path);
  void setBodyPicture(const QString& path);

  bool sending() const { return busy_ && busy_->busy(); }

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  Session& session_;

  void FormShow();
  void BBNARQUIVOSClick();
  void BBNCORPOEMAILClick();
  void TLBARQUIVOSDblClick(QListWidgetItem* item);
  void BBNENVIARClick();
  void sendFinished(SendOutcome outcome);
  void clearForm();
  void closeLater();

  EmailRecipients recipients_;
  Settings settings_;
  bool opened_ = false;
  std::optional<BusyWork> busy_;  // the send, its progress in LBLEMAIL

  QLineEdit* EDTDESTINO = nullptr;
  QLineEdit* EDTASSUNTO = nullptr;
  QPlainTextEdit* MemMensagem = nullptr;
  QListWidget* TLBARQUIVOS = nullptr;
  QPushButton* BBNARQUIVOS = nullptr;
  QPushButton* BBNCORPOEMAIL = nullptr;
  QLabel* LBLCORPOEMAIL = nullptr;
  QPushButton* BBNENVIAR = nullptr;
  QPushButton* BBNCANCELA = nullptr;
  QLabel* LBLEMAIL = nullptr;
};

// How the member lists open this window, modally, and wait for it to close. Tests put something
// else in its place (nullptr puts the window back).
using MailWindowOpener =
    std::function<void(Session& session, const EmailRecipients& recipients, QWidget* parent)>;
void setMailWindowOpener(MailWindowOpener opener);
void openMailWindow(Session& session, const EmailRecipients& recipients, QWidget* parent);

// What a report's e-mail list does with its addresses: writes them to the address file, asks
// "Deseja Enviar e-mail(s) ?" and on Yes opens this window on that file, with
// GBOL_EMAIL_RELATORIO set meanwhile. A file that cannot be written is said instead.
void offerAddressFile(Session& session, const QStringList& addresses, QWidget* parent);

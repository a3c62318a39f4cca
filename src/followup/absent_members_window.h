// TFRMALUNOSAUSENTES, "Alunos Ausentes": the members whose last entrance lies exactly the
// configured number of days back, with their phones and instructor and the photo of the one
// under the cursor; writes to one of them, or to all ("Todos Alunos"), through the e-mail
// window. Opened modally from the main window's blinking shortcut; counted among the open
// windows while it is up.
#pragma once

#include <QDialog>
#include <QList>
#include <functional>

#include "followup/absent_members.h"
#include "followup/email_sending.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class Session;

class TFRMALUNOSAUSENTES : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMALUNOSAUSENTES(Session& session, QWidget* parent = nullptr);

  const QList<AbsentMember>& members() const { return members_; }
  // The row under the cursor; -1 when the list is empty.
  int currentRow() const;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  bool ABRE_TABELAS();
  void fill();
  void searchEdited(const QString& text);
  void searchEntered();
  void selectRow(int row);
  void rowChanged();
  void SBEMAILClick();

  Session& session_;
  QList<AbsentMember> members_;
  bool opened_ = false;
  bool closed_ = false;
  QLineEdit* EDTMATRICULA = nullptr;
  QTableView* DBGALUNOS = nullptr;
  QStandardItemModel* model_ = nullptr;
  QLabel* Image1 = nullptr;
  QCheckBox* CBTODOSALUNOS = nullptr;
  QPushButton* SBEMAIL = nullptr;
  QPushButton* BBNSAIR = nullptr;
};

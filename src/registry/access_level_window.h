// TFRMPARAMETRIZACAODOUSUARIO ("Nível de Acesso do Usuário"): the flags of each user, group
// by group, toggled with a double click and saved together.
#pragma once

#include <QDialog>
#include <QHash>

class Session;

class PagedTableModel;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

class TFRMPARAMETRIZACAODOUSUARIO : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMPARAMETRIZACAODOUSUARIO(Session& session, QWidget* parent = nullptr);

  // The user the window starts on the next time it opens (the one just created).
  static void startOnUser(const QString& code);

  // Opens the users table; false after telling the user (the window then closes).
  bool ABRE_TABELAS();
  QComboBox* flagList(const QString& column) const { return lists_.value(column); }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Session& session_;

  void showSelectedUser();
  void setEditing(bool editing);
  void alterarClick();
  void confirmaClick();
  void focusNextList(QComboBox* from);

  PagedTableModel* model_ = nullptr;
  QTableView* grid_ = nullptr;
  QLabel* code_ = nullptr;
  QLabel* name_ = nullptr;
  QHash<QString, QComboBox*> lists_;
  QList<QComboBox*> order_;
  QHash<QComboBox*, int> groupOf_;
  QPushButton* alterar_ = nullptr;
  QPushButton* confirma_ = nullptr;
  QPushButton* sair_ = nullptr;
  bool opened_ = false;
};

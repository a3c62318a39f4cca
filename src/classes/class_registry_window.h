// TFRMCADASTROAULAS, "Cadastro de Aulas Coletivas": adds, changes, deletes and finds the gym's
// group classes. Opened modally from the booking window, whose databases and settings it uses
// (the classes live in the portal's database when members book classes there); the booking
// window rebuilds its class list when it closes.
#pragma once

#include <QDialog>
#include <QHash>
#include <optional>

#include "base/field_error.h"
#include "classes/class_booking_flow.h"

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTableWidget;
class SearchPanel;
class Session;

class TFRMCADASTROAULAS : public QDialog {
  Q_OBJECT

 public:
  enum class Mode { Browse, Search, Insert, Change, Delete };

  TFRMCADASTROAULAS(Session& session, const BookingDesk& desk, QWidget* parent = nullptr);

  Mode mode() const { return mode_; }
  const QList<GroupClass>& classes() const { return classes_; }
  QTableWidget* grid() const { return DBGAULASCOLETIVAS; }

  void SBINCLUIRClick();
  void SBALTERARClick();
  void SBEXCLUIRClick();
  void SBPROCURAClick();
  void BBNCONFIRMAClick();
  void BBNCANCELAClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* addField(const char* name, const QString& label, int maxLength);
  void setMode(Mode mode);
  void reload(const QString& keepCode = QString());
  void showCurrent();
  ClassForm readForm() const;
  std::optional<FieldError> codeEntered();
  std::optional<FieldError> timeEntered(QLineEdit* field);
  void searchEdited(const QString& text);
  void searchEntered(const QString& text);

  Session& session_;
  BookingDesk desk_;
  QList<GroupClass> classes_;
  Mode mode_ = Mode::Browse;
  bool shown_ = false;
  QHash<QString, QWidget*> fields_;
  QList<QPushButton*> tools_;
  QLineEdit* DBEDTCODIGO = nullptr;
  QComboBox* DBCBPROFESSOR = nullptr;
  QComboBox* DBCBATIVIDADE = nullptr;
  QTableWidget* DBGAULASCOLETIVAS = nullptr;
  SearchPanel* GBCAulas = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNCANCELA = nullptr;
};

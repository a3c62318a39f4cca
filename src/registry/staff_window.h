// TFRMREFUNCIONARIO ("Funcionários"): the gym's staff, kept when the program runs alone.
#pragma once

#include "registry/person_window.h"

class TFRMREFUNCIONARIO : public PersonWindow {
  Q_OBJECT

 public:
  explicit TFRMREFUNCIONARIO(Session& session, QWidget* parent = nullptr);

 protected:
  bool ABRE_TABELAS() override;
  std::optional<FieldRefusal> confirmChecks(PersonForm& form) override;
  std::optional<QString> numberForNewPerson(int rows) override;
  void newPersonDefaults(PersonForm& fresh, const QSqlRecord& onScreen) override;
  QString searchNumber(const QString& text) const override;
  bool searchNumberExactly() const override { return true; }
  void searchFound() override;
  void afterCancel() override;
  void showUnbound(const PersonForm& form) override;
  void readUnbound(PersonForm& form) const override;
};

// TFRMALUNOS ("Alunos"): the members of the gym, kept when the program runs alone.
#pragma once

#include "registry/person_window.h"

class TFRMALUNOS : public PersonWindow {
  Q_OBJECT

 public:
  explicit TFRMALUNOS(Session& session, QWidget* parent = nullptr);

 protected:
  bool openOwnTables() override;
  std::optional<FieldRefusal> confirmChecks(PersonForm& form) override;
  std::optional<QString> numberForNewPerson(int rows) override;
  void newPersonDefaults(PersonForm& fresh, const QSqlRecord& onScreen) override;
  bool TESTA_EXCLUSAO() override;
};

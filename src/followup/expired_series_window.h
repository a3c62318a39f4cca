// TFRMSERIESVENCIDAS, "Relatório de Séries Vencidas": the members whose series are due for
// renewal, for every instructor or one, previewed or printed as a report, or turned into the
// address file the e-mail window reads.
#pragma once

#include <QSqlDatabase>
#include <memory>
#include <optional>

#include "data/connection.h"
#include "data/settings_record.h"
#include "followup/email_sending.h"
#include "forms/child_window.h"
#include "registry/people_source.h"

class QComboBox;
class QPushButton;

class TFRMSERIESVENCIDAS : public ChildWindow {
  Q_OBJECT

 public:
  explicit TFRMSERIESVENCIDAS(Session& session, QWidget* parent = nullptr);

 protected:
  bool ABRE_TABELAS() override;
  void closeTables() override;

 private:
  void build();
  void output(bool preview);
  void BBNEMAILClick();
  QDate cutOff() const;
  std::optional<QString> chosenInstructor() const;

  Settings settings_;
  PeopleTables people_{};
  std::unique_ptr<Connection> peopleConnection_;
  QComboBox* CBFUNCIONARIOS = nullptr;
  QPushButton* BBNVIDEO = nullptr;
  QPushButton* BBNIMPRIME = nullptr;
  QPushButton* BBNEMAIL = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

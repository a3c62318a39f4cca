// TFRMREAVALIACAOFEITA ("Séries Feitas") and TFRMREAVALIACAOAGENDADA ("Séries Agendadas"): the
// assemblies done in a period, or booked for it, for every evaluator or one, previewed or
// printed as a report, or turned into the address file the e-mail window reads. The twins
// differ only in their list; "Séries Feitas" also offers the synthetic list ("Sintético").
#pragma once

#include <QSqlDatabase>
#include <memory>

#include "data/connection.h"
#include "forms/child_window.h"
#include "registry/people_source.h"
#include "scheduling/reassessment_lists.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class ButtonsOff;

class ReassessmentWindow : public ChildWindow {
  Q_OBJECT

 public:
  ReassessmentWindow(Session& session, ReassessmentList list, QWidget* parent);

 protected:
  bool ABRE_TABELAS() override;
  void closeTables() override;

 private:
  enum class Output { Preview, Printer, Mail };

  void build();
  // The preview, the printer and the e-mail list: the period checked, the rows selected, then
  // the report or the address file.
  void VIDEO_IMPRESSORA(Output output);
  void report(QList<ReassessmentRow>& rows, const ReassessmentQuery& query, bool preview,
              ButtonsOff& off);
  void mailList(const QList<ReassessmentRow>& rows, ButtonsOff& off);

  const ReassessmentList list_;
  PeopleTables people_{};
  std::unique_ptr<Connection> peopleConnection_;
  QComboBox* CBFUNCIONARIOS = nullptr;
  QLineEdit* EDTDATAINICIAL = nullptr;
  QLineEdit* EDTDATAFINAL = nullptr;
  QCheckBox* CBSINTETICO = nullptr;  // "Séries Feitas" only
  QPushButton* BBNVIDEO = nullptr;
  QPushButton* BBNIMPRIME = nullptr;
  QPushButton* BBNEMAIL = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

class TFRMREAVALIACAOFEITA : public ReassessmentWindow {
  Q_OBJECT

 public:
  explicit TFRMREAVALIACAOFEITA(Session& session, QWidget* parent = nullptr);
};

class TFRMREAVALIACAOAGENDADA : public ReassessmentWindow {
  Q_OBJECT

 public:
  explicit TFRMREAVALIACAOAGENDADA(Session& session, QWidget* parent = nullptr);
};

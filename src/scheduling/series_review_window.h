// TFRMREVIORDEAVALIACOES, "Revisor de Treinos Vencidos": the series due for renewal, for every
// instructor or one, and the way to book the member's next assembly (a double click, or Enter,
// on the member opens the booking calendar). Opened modally from the "Revisor de Treinos
// Vencidos" shortcut.
#pragma once

#include "followup/expired_series.h"
#include "scheduling/agenda_dialog.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class Session;

class TFRMREVIORDEAVALIACOES : public AgendaDialog {
  Q_OBJECT

 public:
  explicit TFRMREVIORDEAVALIACOES(Session& session, QWidget* parent = nullptr);
  ~TFRMREVIORDEAVALIACOES() override;

  const QList<ExpiredRow>& rows() const { return rows_; }
  // Books the member of `row` as a double click on it does.
  void bookRow(int row);

 protected:
  Outcome opened() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildList();

  QList<ExpiredRow> rows_;
  QComboBox* CBFUNCIONARIOS = nullptr;
  QTableWidget* DBGAVALIACOES = nullptr;
  QLabel* LBLTOTAL = nullptr;
  QPushButton* BBNRETORNA = nullptr;
};

// TFRMATUALIZARTREINOSWEB, "Atualizar Treinos na Web": publishes to the members' portal every
// member whose series changed within a period. The run goes on a worker thread, so the window
// keeps painting and its progress bar moves; one run per opening.
#pragma once

#include <QDialog>
#include <optional>
#include "data/settings_record.h"

#include "forms/busy_work.h"
#include "portal/bulk_publish.h"

class Session;

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

class TFRMATUALIZARTREINOSWEB : public QDialog {
  Q_OBJECT

 public:
  explicit TFRMATUALIZARTREINOSWEB(Session& session, QWidget* parent = nullptr);

  // The last run's summary, once it is over.
  const std::optional<BulkSummary>& summary() const { return summary_; }
  bool running() const { return busy_ && busy_->busy(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  Session& session_;

  bool ABRE_TABELAS();
  std::optional<QDate> dateOf(QLineEdit* field, const QString& detail);
  void initialEntered();
  void finalEntered();
  void BBNSELECIONARClick();
  void BBNCONFIRMAClick();
  void runFinished(const std::optional<BulkSummary>& summary);

  Settings settings_;
  std::optional<BulkInput> input_;
  std::optional<BulkSummary> summary_;
  bool opened_ = false;
  std::optional<BusyWork> busy_;

  QLineEdit* EDTDATAINICIAL = nullptr;
  QLineEdit* EDTDATAFINAL = nullptr;
  QPushButton* BBNSELECIONAR = nullptr;
  QPushButton* BBNCONFIRMA = nullptr;
  QPushButton* BBNRETORNA = nullptr;
  QProgressBar* PBPACK = nullptr;
  QLabel* LBLFIM = nullptr;
  QLabel* LBLSELECIONADOS = nullptr;
};

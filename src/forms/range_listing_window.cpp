#include "forms/range_listing_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSqlRecord>
#include <QTableView>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/paged_table_model.h"
#include "forms/field_chain.h"
#include "forms/field_keys.h"
#include "forms/paged_grid.h"
#include "printing/report_output.h"

void RangeListingWindow::setReportOutput(ReportOutput output) {
  ::setReportOutput(std::move(output));
}

RangeListingWindow::RangeListingWindow(const QString& caption, const CodeCatalogue& catalogue,
                                       int codeWidth, ReportBuilder build, QWidget* parent)
    : QDialog(parent), catalogue_(catalogue), build_(std::move(build)) {
  setWindowTitle(caption);
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* range = new QGridLayout;
  initial_ = new QLineEdit(this);
  initial_->setObjectName(QStringLiteral("EDTCODIGOINICIAL"));
  final_ = new QLineEdit(this);
  final_->setObjectName(QStringLiteral("EDTCODIGOFINAL"));
  initialName_ = new QLabel(this);
  initialName_->setObjectName(QStringLiteral("LBLDESCRICAOINICIAL"));
  finalName_ = new QLabel(this);
  finalName_->setObjectName(QStringLiteral("LBLDESCRICAOFINAL"));
  for (QLineEdit* edit : {initial_, final_}) {
    edit->setMaxLength(codeWidth);
    upperCaseField(edit);
  }
  range->addWidget(new QLabel(QStringLiteral("Código Inicial "), this), 0, 0);
  range->addWidget(initial_, 0, 1);
  range->addWidget(initialName_, 0, 2);
  range->addWidget(new QLabel(QStringLiteral("Código Final "), this), 1, 0);
  range->addWidget(final_, 1, 1);
  range->addWidget(finalName_, 1, 2);
  range->setColumnStretch(2, 1);
  layout->addLayout(range);
  extra_ = new QVBoxLayout;
  layout->addLayout(extra_);

  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("DBGCONSULTA"));
  grid_->setToolTip(QStringLiteral("Clique duplo para selecionar"));
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  makePagedGrid(grid_);
  layout->addWidget(grid_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  video_ = new QPushButton(QStringLiteral("Vídeo"), this);
  video_->setObjectName(QStringLiteral("BBNVIDEO"));
  video_->setToolTip(QStringLiteral("Vídeo"));
  printer_ = new QPushButton(QStringLiteral("Impressora"), this);
  printer_->setObjectName(QStringLiteral("BBNIMPRIME"));
  printer_->setToolTip(QStringLiteral("Impressora"));
  auto* back = new QPushButton(QStringLiteral("Retorna"), this);
  back->setObjectName(QStringLiteral("BBNRETORNA"));
  for (QPushButton* b : {video_, printer_, back}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  layout->addLayout(buttons);

  connect(video_, &QPushButton::clicked, this, [this] { output(true); });
  connect(printer_, &QPushButton::clicked, this, [this] { output(false); });
  connect(back, &QPushButton::clicked, this, &QDialog::accept);
  connect(grid_, &QTableView::doubleClicked, this, &RangeListingWindow::gridDoubleClicked);
  onFieldKeys(initial_, [this] { initialEntered(); }, {});
  onFieldKeys(final_, [this] { finalEntered(); }, {});
  resize(560, 440);
}

// The grid's model reads through the connection: it goes first.
RangeListingWindow::~RangeListingWindow() {
  delete model_;
}

void RangeListingWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (model_) return;
  // The listing reads through a connection of its own.
  connection_ = std::make_unique<Connection>(DataSource::Vantrel,
                                             Connection::uniqueName(QStringLiteral("consulta")));
  if (!connection_->open()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, catalogue_.table);
    return;
  }
  model_ = new PagedTableModel(connection_->database(), connection_->dialect(), catalogue_.table,
                               {{catalogue_.codeColumn, QStringLiteral("Código")},
                                {catalogue_.descriptionColumn, QStringLiteral("Descrição")}},
                               {catalogue_.codeColumn}, this);
  if (!model_->refresh()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, catalogue_.table);
    return;
  }
  grid_->setModel(model_);
  grid_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  open_ = true;
  resetWindow();
}

void RangeListingWindow::resetWindow() {
  initial_->clear();
  final_->clear();
  initialName_->clear();
  finalName_->clear();
  initial_->setEnabled(true);
  final_->setEnabled(false);
  grid_->setEnabled(true);
  video_->setEnabled(false);
  printer_->setEnabled(false);
  if (model_ && model_->rowCount() > 0) grid_->setCurrentIndex(model_->index(0, 0));
  initial_->setFocus();
}

void RangeListingWindow::acceptEnd(bool initial, const RangeEnd& end) {
  QLineEdit* edit = initial ? initial_ : final_;
  if (!end.ok()) {
    refuseField(edit, *end.error);
    return;
  }
  edit->setText(end.code);
  (initial ? initialName_ : finalName_)->setText(end.description);
  edit->setEnabled(false);
  if (initial) {
    final_->setEnabled(true);
    final_->setFocus();
    return;
  }
  grid_->setEnabled(false);
  video_->setEnabled(true);
  printer_->setEnabled(true);
  video_->setFocus();
}

void RangeListingWindow::initialEntered() {
  if (!connection_) return;
  acceptEnd(true, enterInitialCode(connection_->database(), catalogue_, initial_->text()));
}

void RangeListingWindow::finalEntered() {
  if (!connection_) return;
  acceptEnd(false,
            enterFinalCode(connection_->database(), catalogue_, final_->text(), initial_->text()));
}

void RangeListingWindow::gridDoubleClicked() {
  if (!model_) return;
  const QString code =
      model_->record(grid_->currentIndex().row()).value(catalogue_.codeColumn).toString();
  QApplication::beep();
  if (initial_->isEnabled()) {
    initial_->setText(code);
    initialEntered();
  } else if (final_->isEnabled()) {
    final_->setText(code);
    finalEntered();
  }
}

void RangeListingWindow::output(bool preview) {
  if (!connection_) return;
  const Result<Report> report =
      build_(connection_->database(), CodeRange{initial_->text(), final_->text()});
  if (report.okOrTell()) outputReport(*report, preview, this);
  resetWindow();
}

#include "registry/muscle_group_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "forms/field_keys.h"
#include "forms/session.h"
#include "registry/catalogue_reports.h"
#include "registry/muscle_group_store.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kAfterWrite = QStringLiteral("Grupamentos Musculares");

const QList<FieldDef> kFields = {
    {"CODIGO", "DBEDTCODIGO", "Código", kGroupCodeWidth, FieldDef::Upper},
    {"DESCRICAO", "DBEDTDESCRICAO", "Descrição", kGroupDescriptionWidth, FieldDef::Upper},
};

}  // namespace

TFRMGRUPAMENTOMUSCULAR::TFRMGRUPAMENTOMUSCULAR(Session& session, QWidget* parent)
    : RegistryWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMGRUPAMENTOMUSCULAR"));
  setWindowTitle(QStringLiteral("Grupamento Muscular"));
  addToolButton("SBINCLUIR", QStringLiteral("Incluir"), [this] { startInsert(); });
  addToolButton("SBALTERAR", QStringLiteral("Alterar"), [this] { SBALTERARClick(); });
  addToolButton("SBEXCLUIR", QStringLiteral("Excluir"), [this] { SBEXCLUIRClick(); });
  addToolButton("SBCONSULTAR", QStringLiteral("Consultar"), [this] { SBCONSULTARClick(); });
  addToolButton("SBSAIR", QStringLiteral("Sair"), [this] { closeWindow(); });
  addFields(kFields, 2);
  addGrid("DBGMODALIDADES");
  addConfirmCancel();
  connect(button(QStringLiteral("BBNCONFIRMA")), &QPushButton::clicked, this,
          &TFRMGRUPAMENTOMUSCULAR::BBNCONFIRMAClick);
  connect(button(QStringLiteral("BBNCANCELA")), &QPushButton::clicked, this,
          &TFRMGRUPAMENTOMUSCULAR::BBNCANCELAClick);
  // Enter in the code: an empty code is refused; a one-character code gets its "0" and is fixed.
  chain()->add(field(QStringLiteral("DBEDTCODIGO")), [this]() -> std::optional<FieldError> {
    if (auto error = checkGroupCodeField(fieldText(QStringLiteral("DBEDTCODIGO")))) return error;
    setFieldText(QStringLiteral("DBEDTCODIGO"),
                 padGroupCode(fieldText(QStringLiteral("DBEDTCODIGO"))));
    field(QStringLiteral("DBEDTCODIGO"))->setEnabled(false);
    return std::nullopt;
  });
  chain()->add(field(QStringLiteral("DBEDTDESCRICAO")), [this] {
    return checkGroupDescriptionField(fieldText(QStringLiteral("DBEDTDESCRICAO")));
  });
  setFieldsEnabled(false);
  const Connection& workout = session.workout();
  setModel(new PagedTableModel(workout.database(), workout.dialect(), kMuscleGroupTable,
                               {{QStringLiteral("CODIGO"), QStringLiteral("Código")},
                                {QStringLiteral("DESCRICAO"), QStringLiteral("Descrição")}},
                               {QStringLiteral("CODIGO")}, this));
  setPreferredSize(QSize(520, 420));
}

bool TFRMGRUPAMENTOMUSCULAR::ABRE_TABELAS() {
  if (openTable()) return true;
  MENSAGEM(kInfo, Msg::RegistroJaAlocado);
  return false;
}

bool TFRMGRUPAMENTOMUSCULAR::openTable() {
  if (!model()->refresh()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, kMuscleGroupTable);
    return false;
  }
  selectRow(0);
  showCurrentGroup();
  return true;
}

void TFRMGRUPAMENTOMUSCULAR::currentRowChanged() {
  if (mode() == Mode::Browse) showCurrentGroup();
}

void TFRMGRUPAMENTOMUSCULAR::showCurrentGroup() {
  const QSqlRecord group = currentRecord();
  setFieldText(QStringLiteral("DBEDTCODIGO"), group.value(QStringLiteral("CODIGO")).toString());
  setFieldText(QStringLiteral("DBEDTDESCRICAO"),
               group.value(QStringLiteral("DESCRICAO")).toString());
}

void TFRMGRUPAMENTOMUSCULAR::startInsert() {
  setMode(Mode::Insert, QStringLiteral("INCLUSÃO DE GRUPAMENTOS MUSCULARES"));
  DESATIVA_BOTOES();
  setConfirmCancel(true);
  grid()->setEnabled(false);
  setFieldsEnabled(true);
  setFieldText(QStringLiteral("DBEDTCODIGO"), QString());
  setFieldText(QStringLiteral("DBEDTDESCRICAO"), QString());
  field(QStringLiteral("DBEDTCODIGO"))->setFocus();
}

void TFRMGRUPAMENTOMUSCULAR::SBALTERARClick() {
  refreshKeepingRow();
  if (model()->rowCount() == 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, kMuscleGroupTable);
    return;
  }
  showCurrentGroup();
  setMode(Mode::Change, QStringLiteral("ALTERAÇÃO DE GRUPAMENTOS MUSCULARES"));
  DESATIVA_BOTOES();
  setConfirmCancel(true);
  grid()->setEnabled(false);
  field(QStringLiteral("DBEDTDESCRICAO"))->setEnabled(true);
  field(QStringLiteral("DBEDTDESCRICAO"))->setFocus();
}

void TFRMGRUPAMENTOMUSCULAR::SBEXCLUIRClick() {
  refreshKeepingRow();
  if (model()->rowCount() == 0) {
    MENSAGEM(kInfo, Msg::TabelaVazia, kMuscleGroupTable);
    return;
  }
  showCurrentGroup();
  setMode(Mode::Delete, QStringLiteral("EXCLUSÃO DE GRUPAMENTOS MUSCULARES"));
  DESATIVA_BOTOES();
  setConfirmCancel(true);
  grid()->setEnabled(false);
  button(QStringLiteral("BBNCANCELA"))->setFocus();
}

void TFRMGRUPAMENTOMUSCULAR::SBCONSULTARClick() {
  refreshKeepingRow();
  setCaption(QStringLiteral("CONSULTA DE GRUPAMENTOS MUSCULARES"));
  TFRMCONSULTAGRUPAMENTOMUSCULAR listing(this);
  listing.exec();
  setCaption(QStringLiteral("Grupamento Muscular"));
}

void TFRMGRUPAMENTOMUSCULAR::BBNCONFIRMAClick() {
  const EditMode editMode = mode() == Mode::Insert   ? EditMode::Insert
                            : mode() == Mode::Change ? EditMode::Change
                                                     : EditMode::Delete;
  MuscleGroup group{fieldText(QStringLiteral("DBEDTCODIGO")),
                    fieldText(QStringLiteral("DBEDTDESCRICAO"))};
  if (const std::optional<ConfirmRefusal> refusal = checkGroupForConfirm(editMode, group)) {
    refuseField(field(refusal->field), refusal->error);
    return;
  }
  switch (told(saveGroup(session().workout().database(), editMode, group))) {
    case ConfirmResult::Written:
      backToBrowse();
      selectRow(model()->rowOfKey(group.code));
      showCurrentGroup();
      break;
    case ConfirmResult::Duplicate:
      // The code is taken: a fresh insert, ready for another code.
      startInsert();
      break;
    case ConfirmResult::Failed:
      backToBrowse();
      break;
  }
}

void TFRMGRUPAMENTOMUSCULAR::BBNCANCELAClick() {
  backToBrowse();
}

void TFRMGRUPAMENTOMUSCULAR::backToBrowse() {
  setMode(Mode::Browse, kAfterWrite);
  setConfirmCancel(false);
  setFieldsEnabled(false);
  grid()->setEnabled(true);
  ATIVA_BOTOES();
  model()->refresh();
  selectRow(0);
  showCurrentGroup();
}

TFRMCONSULTAGRUPAMENTOMUSCULAR::TFRMCONSULTAGRUPAMENTOMUSCULAR(QWidget* parent)
    : RangeListingWindow(
          QStringLiteral("Consulta de Grupamentos Musculares"), muscleGroupCatalogue(),
          kGroupCodeWidth,
          [](const QSqlDatabase& db, const CodeRange& range) {
            return muscleGroupListing(db, currentHeading(range));
          },
          parent) {
  setObjectName(QStringLiteral("TFRMCONSULTAGRUPAMENTOMUSCULAR"));
}

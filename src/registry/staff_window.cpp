#include "registry/staff_window.h"

#include <QComboBox>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/paged_table_model.h"
#include "forms/search_panel.h"
#include "forms/session.h"
#include "registry/staff_store.h"

namespace {

const PersonWindow::Texts kTexts{
    QStringLiteral("Funcionários"),
    QStringLiteral("INCLUSÃO DE FUNCIONÁRIOS"),
    QStringLiteral("ALTERAÇÃO DE FUNCIONARIO"),
    QStringLiteral("EXCLUSÃO DE FUNCIONARIO"),
    QStringLiteral("Procura de Funcionários"),
    QStringLiteral("FUNCIONÁRIOS"),
    QStringLiteral("FUNCIONÁRIOS"),
    QStringLiteral("Funcionario"),
    true,
    Msg::MatriculaNaoCadastrada,
    Msg::DadoIncorreto,
    QStringLiteral("Nome!"),
};

const QList<FieldDef> kFields =
    personFields() + QList<FieldDef>{
                         {"CPF", "DBEDTCPF", "CPF", 12, FieldDef::Blanks, "-/"},
                         // The column holds more than a typed number takes: a longer stored value
                         // must show whole, or saving the row would cut it.
                         {"PIS", "DBEDTPIS", "PIS", 20, FieldDef::Upper},
                         {"CTPF", "DBEDTCTPF", "CTPF", 10, FieldDef::Upper},
                         {"DATA_ADMISSAO", "DBEDTADMISSAO", "Admissão", 10, FieldDef::Date, " "},
                         {"DATA_DEMISSAO", "DBEDTDEMISSAO", "Demissão", 10, FieldDef::Date, " "},
                         {"TELEFONE", "DBEDTTELEFONE", "Telefone", 15, FieldDef::Upper},
                         {nullptr, "CBESCOLARIDADE", "Escolaridade", 0, FieldDef::List},
                         {"CARGO", "DBEDTCARGO", "Cargo", 15, FieldDef::Upper},
                     };

}  // namespace

TFRMREFUNCIONARIO::TFRMREFUNCIONARIO(Session& session, QWidget* parent)
    : PersonWindow(session, kTexts, staffTable(), parent) {
  setObjectName(QStringLiteral("TFRMREFUNCIONARIO"));
  build(kFields, "DBGFUNCIONARIO",
        {{QStringLiteral("MATRICULA"), QStringLiteral("Matrícula")},
         {QStringLiteral("NOME"), QStringLiteral("Nome")},
         {QStringLiteral("TELEFONE"), QStringLiteral("Telefone")}});
  QComboBox* schooling = list(QStringLiteral("CBESCOLARIDADE"));
  for (const auto& level : schoolingLevels()) schooling->addItem(level.second);
  schooling->setCurrentIndex(-1);
}

bool TFRMREFUNCIONARIO::ABRE_TABELAS() {
  if (PersonWindow::ABRE_TABELAS()) return true;
  MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
  return false;
}

std::optional<FieldRefusal> TFRMREFUNCIONARIO::confirmChecks(PersonForm& form) {
  return checkStaffForConfirm(form);
}

std::optional<QString> TFRMREFUNCIONARIO::numberForNewPerson(int rows) {
  return newStaffNumber(session().workout().database(), rows, settings().sequentialNumbers(),
                        selected_.str());
}

// New staff are usually hired in the gym's own city.
void TFRMREFUNCIONARIO::newPersonDefaults(PersonForm& fresh, const QSqlRecord&) {
  fresh.insert(QStringLiteral("ESTADO"), QStringLiteral("RJ"));
  fresh.insert(QStringLiteral("CIDADE"), QStringLiteral("RIO DE JANEIRO"));
}

// A number beginning with 9 is looked up as typed; any other is padded to ten digits.
QString TFRMREFUNCIONARIO::searchNumber(const QString& text) const {
  if (text.size() < 10 && !text.startsWith(QLatin1Char('9'))) return padMatricula(text);
  return text;
}

void TFRMREFUNCIONARIO::searchFound() {
  PNLPROCURA->hide();
}

void TFRMREFUNCIONARIO::afterCancel() {
  model()->setOrder({QStringLiteral("MATRICULA")});
  selectRow(0);
}

// The list shows the text of the stored code; another code leaves it as it was.
void TFRMREFUNCIONARIO::showUnbound(const PersonForm& form) {
  if (const std::optional<QString> text = schoolingText(form.value(QStringLiteral("ESCOLARIDADE"))))
    list(QStringLiteral("CBESCOLARIDADE"))->setCurrentText(*text);
}

// On saving, the code of the text shown; a text not in the table leaves the column as it was.
void TFRMREFUNCIONARIO::readUnbound(PersonForm& form) const {
  if (const std::optional<QString> code =
          schoolingCode(list(QStringLiteral("CBESCOLARIDADE"))->currentText()))
    form.insert(QStringLiteral("ESCOLARIDADE"), *code);
  else if (mode() == Mode::Change)
    form.insert(QStringLiteral("ESCOLARIDADE"),
                currentRecord().value(QStringLiteral("ESCOLARIDADE")).toString());
}

#include "classes/class_registry_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/field_chain.h"
#include "forms/named_button.h"
#include "forms/search_panel.h"
#include "forms/session.h"

namespace {

const QString kInfo = QStringLiteral("!");
const QString kAulas = QStringLiteral("AulasColetivas");

QString captionOf(TFRMCADASTROAULAS::Mode mode) {
  switch (mode) {
    case TFRMCADASTROAULAS::Mode::Insert:
      return QStringLiteral("INCLUSÃO DE AULA COLETIVA");
    case TFRMCADASTROAULAS::Mode::Change:
      return QStringLiteral("ALTERAÇÃO DE AULA COLETIVA");
    case TFRMCADASTROAULAS::Mode::Delete:
      return QStringLiteral("EXCLUSÃO DE AULA COLETIVA");
    default:
      return QStringLiteral("Cadastro de Aulas Coletivas");
  }
}

bool isTimeKey(QChar c) {
  return isDigitKey(c) || c == QLatin1Char(':') || c == QLatin1Char('.');
}

}  // namespace

TFRMCADASTROAULAS::TFRMCADASTROAULAS(Session& session, const BookingDesk& desk, QWidget* parent)
    : QDialog(parent), session_(session), desk_(desk) {
  setObjectName(QStringLiteral("TFRMCADASTROAULAS"));
  setModal(true);
  setWindowFlag(Qt::WindowCloseButtonHint, false);
  auto* layout = new QVBoxLayout(this);
  auto* tools = new QHBoxLayout;
  const auto tool = [&](const char* name, const QString& caption, void (TFRMCADASTROAULAS::*slot)()) {
    QPushButton* b = namedButton(this, name, caption, caption);
    connect(b, &QPushButton::clicked, this, slot);
    tools->addWidget(b);
    tools_ << b;
  };
  tool("SBINCLUIR", QStringLiteral("Incluir"), &TFRMCADASTROAULAS::SBINCLUIRClick);
  tool("SBALTERAR", QStringLiteral("Alterar"), &TFRMCADASTROAULAS::SBALTERARClick);
  tool("SBEXCLUIR", QStringLiteral("Excluir"), &TFRMCADASTROAULAS::SBEXCLUIRClick);
  tool("SBPROCURA", QStringLiteral("Procura de Turmas"), &TFRMCADASTROAULAS::SBPROCURAClick);
  QPushButton* sair = namedButton(this, "SBSAIR", QStringLiteral("Sair"), QStringLiteral("Sair"));
  connect(sair, &QPushButton::clicked, this, &QDialog::accept);
  tools->addWidget(sair);
  tools_ << sair;
  tools->addStretch();
  layout->addLayout(tools);

  auto* form = new QGridLayout;
  layout->addLayout(form);
  int placed = 0;
  const auto place = [&](const QString& label, QWidget* field) {
    form->addWidget(new QLabel(label, this), placed / 2, (placed % 2) * 2);
    form->addWidget(field, placed / 2, (placed % 2) * 2 + 1);
    ++placed;
  };
  DBEDTCODIGO = addField("DBEDTCODIGO", QStringLiteral("Código"), 2);
  place(QStringLiteral("Código"), DBEDTCODIGO);
  place(QStringLiteral("Descrição"), addField("DBEDTDESCRICAO", QStringLiteral("Descrição"), 30));
  place(QStringLiteral("Nº de Alunos"), addField("DBEDTNUMERO", QStringLiteral("Nº de Alunos"), 3));
  place(QStringLiteral("Hora Inicial"), addField("DBEDTHORA_INICIAL", QString(), 5));
  place(QStringLiteral("Hora Final"), addField("DBEDTHORA_FINAL", QString(), 5));
  place(QStringLiteral("Tolerância (Entrada)"), addField("DBEDTTOLERANCIA_ENTRADA", QString(), 3));
  place(QStringLiteral("Tolerância (Saída)"), addField("DBEDTTOLERANCIA_SAIDA", QString(), 3));
  DBCBPROFESSOR = new QComboBox(this);
  DBCBPROFESSOR->setObjectName(QStringLiteral("DBCBPROFESSOR"));
  DBCBATIVIDADE = new QComboBox(this);
  DBCBATIVIDADE->setObjectName(QStringLiteral("DBCBATIVIDADE"));
  for (QComboBox* list : {DBCBPROFESSOR, DBCBATIVIDADE}) {
    chooseOnlyList(list);
    fields_.insert(list->objectName(), list);
  }
  place(QStringLiteral("Professor"), DBCBPROFESSOR);
  place(QStringLiteral("Atividade"), DBCBATIVIDADE);

  acceptOnlyKeys(DBEDTCODIGO, [](QChar c) { return isDigitKey(c) || c == QLatin1Char(' '); });
  for (const char* name : {"DBEDTNUMERO", "DBEDTTOLERANCIA_ENTRADA", "DBEDTTOLERANCIA_SAIDA"})
    acceptOnlyKeys(fields_.value(QString::fromLatin1(name)), isDigitKey);
  for (const char* name : {"DBEDTHORA_INICIAL", "DBEDTHORA_FINAL"})
    acceptOnlyKeys(fields_.value(QString::fromLatin1(name)), isTimeKey);

  auto* confirm = new QHBoxLayout;
  BBNCONFIRMA = namedButton(this, "BBNCONFIRMA", QStringLiteral("Confirma"), QStringLiteral("Confirma"));
  BBNCANCELA = namedButton(this, "BBNCANCELA", QStringLiteral("Cancela"), QStringLiteral("Cancela"));
  connect(BBNCONFIRMA, &QPushButton::clicked, this, &TFRMCADASTROAULAS::BBNCONFIRMAClick);
  connect(BBNCANCELA, &QPushButton::clicked, this, &TFRMCADASTROAULAS::BBNCANCELAClick);
  confirm->addStretch();
  confirm->addWidget(BBNCONFIRMA);
  confirm->addWidget(BBNCANCELA);
  layout->addLayout(confirm);

  GBCAulas = new SearchPanel(this, {QStringLiteral("PNLCODIGO"), QStringLiteral("Código"), 2, true},
                             {QStringLiteral("PNLDESCRICAO"), QStringLiteral("Descrição"), 50},
                             QStringLiteral("EDTAULAS"), QStringLiteral("Retorna"));
  GBCAulas->setObjectName(QStringLiteral("GBCAulas"));
  GBCAulas->hide();
  connect(GBCAulas, &SearchPanel::textEdited, this, &TFRMCADASTROAULAS::searchEdited);
  connect(GBCAulas, &SearchPanel::entered, this, &TFRMCADASTROAULAS::searchEntered);
  connect(GBCAulas, &SearchPanel::returned, this, [this] { setMode(Mode::Browse); });
  layout->addWidget(GBCAulas);

  DBGAULASCOLETIVAS = new QTableWidget(0, 2, this);
  DBGAULASCOLETIVAS->setObjectName(QStringLiteral("DBGAULASCOLETIVAS"));
  DBGAULASCOLETIVAS->setHorizontalHeaderLabels({QStringLiteral("Código"), QStringLiteral("Descrição")});
  DBGAULASCOLETIVAS->setEditTriggers(QAbstractItemView::NoEditTriggers);
  DBGAULASCOLETIVAS->setSelectionBehavior(QAbstractItemView::SelectRows);
  DBGAULASCOLETIVAS->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGAULASCOLETIVAS->verticalHeader()->hide();
  DBGAULASCOLETIVAS->horizontalHeader()->setStretchLastSection(true);
  connect(DBGAULASCOLETIVAS, &QTableWidget::currentCellChanged, this, [this] {
    if (mode_ == Mode::Browse || mode_ == Mode::Search || mode_ == Mode::Delete) showCurrent();
  });
  layout->addWidget(DBGAULASCOLETIVAS, 1);

  // Enter walks the form; each field checks what it holds first.
  auto* chain = new FieldChain(this);
  chain->add(DBEDTCODIGO, [this] { return codeEntered(); });
  const auto filled = [this](const char* name, const char* detail) -> FieldCheck {
    return [this, name, detail]() -> std::optional<FieldError> {
      auto* edit = qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)));
      if (!edit->text().trimmed().isEmpty()) return std::nullopt;
      return FieldError{Msg::DadoIncorreto, QString::fromUtf8(detail), true};
    };
  };
  chain->add(fields_.value("DBEDTDESCRICAO"), filled("DBEDTDESCRICAO", "Descrição"));
  chain->add(fields_.value("DBEDTNUMERO"), filled("DBEDTNUMERO", "Número"));
  for (const char* name : {"DBEDTHORA_INICIAL", "DBEDTHORA_FINAL"}) {
    auto* edit = qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)));
    chain->add(edit, [this, edit] { return timeEntered(edit); });
  }
  for (const char* name : {"DBEDTTOLERANCIA_ENTRADA", "DBEDTTOLERANCIA_SAIDA"}) {
    auto* edit = qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)));
    chain->add(edit, [edit]() -> std::optional<FieldError> {
      if (!edit->text().trimmed().isEmpty()) return std::nullopt;
      edit->setText(QStringLiteral("0"));
      return FieldError{Msg::DadoIncorreto, QStringLiteral("Tolerância")};
    });
  }
  chain->add(DBCBPROFESSOR, [this]() -> std::optional<FieldError> {
    if (!DBCBPROFESSOR->currentText().isEmpty()) return std::nullopt;
    return FieldError{Msg::DadoIncorreto, QStringLiteral("Professor")};
  });
  chain->add(DBCBATIVIDADE, [this]() -> std::optional<FieldError> {
    if (!DBCBATIVIDADE->currentText().isEmpty()) return std::nullopt;
    return FieldError{Msg::DadoIncorreto, QStringLiteral("Atividade")};
  });
  chain->setEnd(BBNCONFIRMA);
  resize(720, 520);
}

QLineEdit* TFRMCADASTROAULAS::addField(const char* name, const QString&, int maxLength) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  fields_.insert(edit->objectName(), edit);
  return edit;
}

void TFRMCADASTROAULAS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (shown_) return;
  shown_ = true;
  const Result<QStringList> staff = staffNames(desk_.gymDb);
  const Result<QStringList> activities = activityLines(desk_.gymDb);
  if (!staff.okOrTell() || !activities.okOrTell()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
    return;
  }
  DBCBPROFESSOR->addItems(*staff);
  DBCBATIVIDADE->addItems(*activities);
  reload();
  setMode(Mode::Browse);
}

void TFRMCADASTROAULAS::reload(const QString& keepCode) {
  const Result<QList<GroupClass>> classes = readClasses(desk_.classDb, desk_.cliente);
  if (classes.okOrTell()) classes_ = *classes;
  const QSignalBlocker quiet(DBGAULASCOLETIVAS);
  DBGAULASCOLETIVAS->setRowCount(int(classes_.size()));
  int row = 0;
  for (int i = 0; i < classes_.size(); ++i) {
    DBGAULASCOLETIVAS->setItem(i, 0, new QTableWidgetItem(classes_[i].codigo));
    DBGAULASCOLETIVAS->setItem(i, 1, new QTableWidgetItem(classes_[i].descricao));
    if (classes_[i].codigo == keepCode) row = i;
  }
  if (!classes_.isEmpty()) DBGAULASCOLETIVAS->setCurrentCell(row, 0);
  showCurrent();
}

void TFRMCADASTROAULAS::showCurrent() {
  const int row = DBGAULASCOLETIVAS->currentRow();
  const GroupClass c = row >= 0 && row < classes_.size() ? classes_[row] : GroupClass{};
  const auto set = [this](const char* name, const QString& value) {
    qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)))->setText(value);
  };
  set("DBEDTCODIGO", c.codigo);
  set("DBEDTDESCRICAO", c.descricao);
  set("DBEDTNUMERO", row >= 0 ? QString::number(c.maximoAlunos) : QString());
  set("DBEDTHORA_INICIAL", c.horaInicial.toString(QStringLiteral("HH:mm")));
  set("DBEDTHORA_FINAL", c.horaFinal.toString(QStringLiteral("HH:mm")));
  set("DBEDTTOLERANCIA_ENTRADA", row >= 0 ? QString::number(c.toleranciaEntrada) : QString());
  set("DBEDTTOLERANCIA_SAIDA", row >= 0 ? QString::number(c.toleranciaSaida) : QString());
  DBCBPROFESSOR->setCurrentIndex(DBCBPROFESSOR->findText(c.funcionario));
  DBCBATIVIDADE->setCurrentIndex(DBCBATIVIDADE->findText(c.atividade));
}

void TFRMCADASTROAULAS::setMode(Mode mode) {
  mode_ = mode;
  setWindowTitle(captionOf(mode));
  const bool editing = mode == Mode::Insert || mode == Mode::Change;
  for (QPushButton* b : tools_) b->setEnabled(mode == Mode::Browse);
  for (QWidget* f : std::as_const(fields_)) f->setEnabled(mode == Mode::Change);
  DBEDTCODIGO->setEnabled(mode == Mode::Insert);
  BBNCONFIRMA->setEnabled(editing || mode == Mode::Delete);
  BBNCANCELA->setEnabled(editing || mode == Mode::Delete);
  DBGAULASCOLETIVAS->setEnabled(!editing);
  if (mode != Mode::Search) GBCAulas->hide();
}

ClassForm TFRMCADASTROAULAS::readForm() const {
  const auto text = [this](const char* name) {
    return qobject_cast<QLineEdit*>(fields_.value(QString::fromLatin1(name)))->text();
  };
  return {text("DBEDTCODIGO"),       text("DBEDTDESCRICAO"),         text("DBEDTNUMERO"),
          text("DBEDTHORA_INICIAL"), text("DBEDTHORA_FINAL"),        text("DBEDTTOLERANCIA_ENTRADA"),
          text("DBEDTTOLERANCIA_SAIDA"), DBCBPROFESSOR->currentText(), DBCBATIVIDADE->currentText()};
}

std::optional<FieldError> TFRMCADASTROAULAS::codeEntered() {
  const QString code = typedClassCode(DBEDTCODIGO->text());
  if (code.isEmpty()) return FieldError{Msg::CodigoIncorreto, {}, true};
  DBEDTCODIGO->setText(code);
  const Result<bool> taken = classCodeTaken(desk_.classDb, code);
  if (!taken.okOrTell()) return FieldError{{}, {}, false, true};
  if (*taken) return FieldError{Msg::CodigoJaCadastrado, {}, true};
  DBEDTCODIGO->setEnabled(false);
  for (QWidget* f : std::as_const(fields_))
    if (f != DBEDTCODIGO) f->setEnabled(true);
  return std::nullopt;
}

std::optional<FieldError> TFRMCADASTROAULAS::timeEntered(QLineEdit* field) {
  const Result<std::optional<QTime>> time = typedClassTime(field->text());
  if (!time) return FieldError{Msg::IntervaloInvalido, {}, true};
  if (*time) field->setText((*time)->toString(QStringLiteral("HH:mm")));
  return std::nullopt;
}

void TFRMCADASTROAULAS::SBINCLUIRClick() {
  setMode(Mode::Insert);
  for (QWidget* f : std::as_const(fields_))
    if (auto* edit = qobject_cast<QLineEdit*>(f)) edit->clear();
  qobject_cast<QLineEdit*>(fields_.value("DBEDTNUMERO"))->setText(QStringLiteral("0"));
  DBCBPROFESSOR->setCurrentIndex(-1);
  DBCBATIVIDADE->setCurrentIndex(-1);
  DBEDTCODIGO->setFocus();
}

void TFRMCADASTROAULAS::SBALTERARClick() {
  if (classes_.isEmpty()) {
    MENSAGEM(kInfo, Msg::TabelaVazia, kAulas);
    return;
  }
  setMode(Mode::Change);
  fields_.value("DBEDTDESCRICAO")->setFocus();
}

void TFRMCADASTROAULAS::SBEXCLUIRClick() {
  if (classes_.isEmpty()) {
    MENSAGEM(kInfo, Msg::TabelaVazia, kAulas);
    return;
  }
  setMode(Mode::Delete);
  BBNCANCELA->setFocus();
}

void TFRMCADASTROAULAS::SBPROCURAClick() {
  if (classes_.isEmpty()) {
    MENSAGEM(kInfo, Msg::TabelaVazia, kAulas);
    return;
  }
  setMode(Mode::Search);
  GBCAulas->show();
  GBCAulas->open(0);
}

void TFRMCADASTROAULAS::searchEdited(const QString& text) {
  const bool byCode = GBCAulas->order() == 0;
  for (int i = 0; i < classes_.size(); ++i) {
    const QString& key = byCode ? classes_[i].codigo : classes_[i].descricao;
    if (key.startsWith(text, Qt::CaseInsensitive)) {
      DBGAULASCOLETIVAS->setCurrentCell(i, 0);
      return;
    }
  }
}

void TFRMCADASTROAULAS::searchEntered(const QString& text) {
  if (text.trimmed().isEmpty()) {
    if (GBCAulas->order() == 0)
      MENSAGEM(kInfo, Msg::CodigoIncorreto);
    else
      MENSAGEM(kInfo, Msg::DadoIncorreto, QStringLiteral("Descrição"));
    return;
  }
  searchEdited(GBCAulas->order() == 0 ? typedClassCode(text) : text);
  setMode(Mode::Browse);
}

void TFRMCADASTROAULAS::BBNCONFIRMAClick() {
  if (mode_ == Mode::Delete) {
    const int row = DBGAULASCOLETIVAS->currentRow();
    if (row < 0 || row >= classes_.size()) return;
    if (!deleteClass(desk_.classDb, classes_[row].id).okOrTell()) {
      reject();
      return;
    }
    reload();
    setMode(Mode::Browse);
    return;
  }
  const auto checked = checkClassForm(readForm());
  if (const auto* refused = std::get_if<ClassFormRefusal>(&checked)) {
    QWidget* field = fields_.value(refused->field);
    refuseField(field, {refused->text, refused->detail, refused->clear});
    return;
  }
  GroupClass c = std::get<GroupClass>(checked);
  const int row = DBGAULASCOLETIVAS->currentRow();
  if (mode_ == Mode::Change && row >= 0 && row < classes_.size()) c.id = classes_[row].id;
  const Outcome saved = saveClass(
      desk_.classDb, c,
      {session_.user(), desk_.settings.filial, desk_.cliente, desk_.settings.receptionistControl});
  if (!saved) {
    tell(saved.failure());
    // A code another workstation took meanwhile is typed again; anything else closes the window.
    if (saved.failure().text == Msg::CodigoJaCadastrado) {
      DBEDTCODIGO->setEnabled(true);
      DBEDTCODIGO->clear();
      DBEDTCODIGO->setFocus();
      return;
    }
    reject();
    return;
  }
  reload(c.codigo);
  setMode(Mode::Browse);
}

void TFRMCADASTROAULAS::BBNCANCELAClick() {
  setMode(Mode::Browse);
  reload();
}

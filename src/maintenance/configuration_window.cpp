#include "maintenance/configuration_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "forms/field_chain.h"
#include "forms/session.h"
#include "registry/photo_store.h"

namespace {

const QString kJpegFilter = QStringLiteral("*.jpg *.jpeg");
const QString kDigitsOnly = QStringLiteral("[0-9]*");
const QString kLocalHint =
    QStringLiteral("Igual a \"Não\" somente se houver o  Brisca instalado!!!");
const QSize kLogoSize(320, 240);

QString chooseJpegFile(QWidget* parent, const QString& caption, const QString& filter) {
  return QFileDialog::getOpenFileName(parent, caption, QString(), filter);
}

TFRMPARAMETRIZACAODOSISTEMA::FileChooser& fileChooser() {
  static TFRMPARAMETRIZACAODOSISTEMA::FileChooser chooser = chooseJpegFile;
  return chooser;
}

// The printer's name is chosen by pasting it: typed keys other than Enter are ignored, so a
// stray key cannot spoil a name that has to match the system's printer exactly.
class PasteOnlyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    static const QList<int> passing{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Left, Qt::Key_Right,
                                    Qt::Key_Home,   Qt::Key_End,   Qt::Key_Tab,  Qt::Key_Backtab};
    const bool passes = passing.contains(key->key()) || key->matches(QKeySequence::Paste) ||
                        key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll);
    return !passes;
  }
};

// A list shows the stored text; a value it does not offer is added rather than lost on save.
void showListText(QComboBox* list, const QString& text) {
  if (text.isEmpty()) {
    list->setCurrentIndex(-1);
    return;
  }
  int index = list->findText(text);
  if (index < 0) {
    list->addItem(text);
    index = list->count() - 1;
  }
  list->setCurrentIndex(index);
}

QLabel* addLabel(QGridLayout* grid, int row, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, grid->parentWidget());
  label->setBuddy(buddy);
  grid->addWidget(label, row, 0);
  return label;
}

}  // namespace

void TFRMPARAMETRIZACAODOSISTEMA::setFileChooser(FileChooser chooser) {
  fileChooser() = chooser ? std::move(chooser) : chooseJpegFile;
}

TFRMPARAMETRIZACAODOSISTEMA::TFRMPARAMETRIZACAODOSISTEMA(Session& session, QWidget* parent)
    : ChildWindow(session, parent) {
  setObjectName(QStringLiteral("TFRMPARAMETRIZACAODOSISTEMA"));
  setWindowTitle(QStringLiteral("Configuração do Sistema"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  buildPageSelector(this, top);
  top->addStretch(1);
  BBNCONFIRMA = new QPushButton(QStringLiteral("Confirma"), this);
  BBNCONFIRMA->setObjectName(QStringLiteral("BBNCONFIRMA"));
  connect(BBNCONFIRMA, &QPushButton::clicked, this, [this] { BBNCONFIRMAClick(); });
  top->addWidget(BBNCONFIRMA, 0, Qt::AlignBottom);
  layout->addLayout(top);

  controleChain_ = new FieldChain(this);
  emailChain_ = new FieldChain(this);
  pages_[Controle] = buildControlePage();
  pages_[Logotipo] = buildLogoPage();
  pages_[Email] = buildEmailPage();
  for (QWidget* page : pages_) layout->addWidget(page);
  layout->addStretch(1);
}

TFRMPARAMETRIZACAODOSISTEMA::~TFRMPARAMETRIZACAODOSISTEMA() = default;

void TFRMPARAMETRIZACAODOSISTEMA::buildPageSelector(QWidget* parent, QLayout* layout) {
  auto* box = new QGroupBox(parent);
  box->setObjectName(QStringLiteral("RGGERAL"));
  auto* row = new QHBoxLayout(box);
  RGGERAL = new QButtonGroup(box);
  const QString captions[] = {QStringLiteral("Controle"), QStringLiteral("Logotipo"),
                              QStringLiteral("E-mail")};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(captions[i], box);
    button->setObjectName(QStringLiteral("RGGERAL%1").arg(i));
    RGGERAL->addButton(button, i);
    row->addWidget(button);
  }
  connect(RGGERAL, &QButtonGroup::idClicked, this, [this](int id) { RGGERALClick(id); });
  layout->addWidget(box);
}

void TFRMPARAMETRIZACAODOSISTEMA::bind(QLatin1StringView column, QWidget* control) {
  bound_.insert(column, control);
}

QComboBox* TFRMPARAMETRIZACAODOSISTEMA::addList(QGridLayout* grid, int row,
                                                QLatin1StringView column, const char* name,
                                                const QString& label, const QStringList& items) {
  auto* list = new QComboBox(grid->parentWidget());
  list->setObjectName(QString::fromLatin1(name));
  list->addItems(items);
  chooseOnlyList(list);
  addLabel(grid, row, label, list);
  grid->addWidget(list, row, 1);
  bind(column, list);
  return list;
}

QLineEdit* TFRMPARAMETRIZACAODOSISTEMA::addEdit(QGridLayout* grid, int row,
                                                QLatin1StringView column, const char* name,
                                                const QString& label, int maxLength) {
  auto* edit = new QLineEdit(grid->parentWidget());
  edit->setObjectName(QString::fromLatin1(name));
  edit->setMaxLength(maxLength);
  addLabel(grid, row, label, edit);
  grid->addWidget(edit, row, 1);
  bind(column, edit);
  return edit;
}

QLineEdit* TFRMPARAMETRIZACAODOSISTEMA::addDigits(QGridLayout* grid, int row,
                                                  QLatin1StringView column, const char* name,
                                                  const QString& label, int maxLength) {
  QLineEdit* edit = addEdit(grid, row, column, name, label, maxLength);
  acceptOnlyKeys(edit, isDigitKey);
  // Pasted text must be digits too: these columns are numbers.
  edit->setValidator(new QRegularExpressionValidator(QRegularExpression(kDigitsOnly), edit));
  return edit;
}

QWidget* TFRMPARAMETRIZACAODOSISTEMA::buildControlePage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("PNLCONTROLE"));
  auto* columns = new QHBoxLayout(page);
  auto* operation = new QWidget(page);
  auto* grid = new QGridLayout(operation);
  const QStringList& yesNo = settings::yesNo();
  int row = 0;
  addList(grid, row++, SettingsColumn::CODIGOSEQ, "DBCBCODIGOSEQ",
          QStringLiteral("Matrícula Sequencial "), yesNo);
  addList(grid, row++, SettingsColumn::PATH_EXERCICIO, "DBCBPATH_EXERCICIO",
          QStringLiteral("Sistema Vantrel (Local)"), yesNo)
      ->setToolTip(kLocalHint);
  addList(grid, row++, SettingsColumn::IntegracaoTamsel, "DBCBINTEGRACAOTAMSEL",
          QStringLiteral("Integrado com Tamsel"), yesNo)
      ->setToolTip(kLocalHint);
  addList(grid, row++, SettingsColumn::CAPTURA_WEB, "DBCBCAPTURA_WEB",
          QStringLiteral("Capturar foto com WebCam ? "), yesNo);

  // The unit goes before the interval: "[Meses] [3] para troca Série".
  auto* unit = new QComboBox(operation);
  unit->setObjectName(QStringLiteral("DBCBTROCASERIE"));
  unit->addItems(settings::intervalUnits());
  chooseOnlyList(unit);
  bind(SettingsColumn::Troca_Serie, unit);
  DBEDTTEMPO_REAVALIACAO = new QLineEdit(operation);
  DBEDTTEMPO_REAVALIACAO->setObjectName(QStringLiteral("DBEDTTEMPO_REAVALIACAO"));
  DBEDTTEMPO_REAVALIACAO->setMaxLength(2);
  DBEDTTEMPO_REAVALIACAO->setMaximumWidth(48);
  acceptOnlyKeys(DBEDTTEMPO_REAVALIACAO, isDigitKey);
  DBEDTTEMPO_REAVALIACAO->setValidator(
      new QRegularExpressionValidator(QRegularExpression(kDigitsOnly), DBEDTTEMPO_REAVALIACAO));
  bind(SettingsColumn::TEMPO_REAVALIACAO, DBEDTTEMPO_REAVALIACAO);
  grid->addWidget(unit, row, 0);
  auto* interval = new QHBoxLayout;
  interval->addWidget(DBEDTTEMPO_REAVALIACAO);
  interval->addWidget(new QLabel(QStringLiteral("para troca Série"), operation), 1);
  grid->addLayout(interval, row++, 1);

  addList(grid, row++, SettingsColumn::AlunosAtivos, "DBCBALUNOSATIVOS",
          QStringLiteral("Alunos Ativos - Brisca"), yesNo);
  // Four digits keep the limit within what the absent-member test holds.
  addDigits(grid, row++, SettingsColumn::Alunos_Ausentes, "DBEDTALUNOS_AUSENTES",
            QStringLiteral("Alunos Ausentes"), 4);
  addList(grid, row++, SettingsColumn::MaisUmExercSerie, "DBCBMAISUMEXERCSERIE",
          QStringLiteral("Exercício na Série duplicado"), yesNo);
  addList(grid, row++, SettingsColumn::SERIEEMVIDEO, "DBCBSERIEEMVIDEO",
          QStringLiteral("Relatório série em video"), yesNo);
  addList(grid, row++, SettingsColumn::Portal_Cenection, "DBCBPORTAL_CENECTION",
          QStringLiteral("Treino na Web"), yesNo);
  addList(grid, row++, SettingsColumn::GrupamentoMuscular, "DBCBGRUPAMENTOMUSCULAR",
          QStringLiteral("Grupamento Muscular"), yesNo);
  addList(grid, row++, SettingsColumn::Vincula_prof_usu, "DBCBVINCULA_PROF_USU",
          QStringLiteral("Vincula Professor ao Usuário "), yesNo);
  addList(grid, row++, SettingsColumn::TrocaDataSerie, "DBCBTROCADATASERIE",
          QStringLiteral("Alterar Data de Troca Séire"), yesNo);
  grid->setRowStretch(row, 1);
  columns->addWidget(operation);

  auto* groups = new QVBoxLayout;
  groups->addWidget(buildPrintingGroup(page));
  groups->addWidget(buildVideoGroup(page));
  columns->addLayout(groups);
  columns->addWidget(buildSerialGroup(page), 0, Qt::AlignTop);

  const QLatin1StringView order[] = {SettingsColumn::CODIGOSEQ,
                                     SettingsColumn::PATH_EXERCICIO,
                                     SettingsColumn::IntegracaoTamsel,
                                     SettingsColumn::CAPTURA_WEB,
                                     SettingsColumn::Troca_Serie,
                                     SettingsColumn::TEMPO_REAVALIACAO,
                                     SettingsColumn::AlunosAtivos,
                                     SettingsColumn::Alunos_Ausentes,
                                     SettingsColumn::MaisUmExercSerie,
                                     SettingsColumn::SERIEEMVIDEO,
                                     SettingsColumn::Portal_Cenection,
                                     SettingsColumn::GrupamentoMuscular,
                                     SettingsColumn::Vincula_prof_usu,
                                     SettingsColumn::TrocaDataSerie,
                                     SettingsColumn::PORTA_IMP,
                                     SettingsColumn::ENDERECO_PORTA,
                                     SettingsColumn::ESPACO,
                                     SettingsColumn::IMPRESSAOREDUZIDA,
                                     SettingsColumn::Caminho_Impressora,
                                     SettingsColumn::Tempo_Serie,
                                     SettingsColumn::Imp_Alongamento,
                                     SettingsColumn::Terminal_Video_Aparelho,
                                     SettingsColumn::ImprimeDiasSerie,
                                     SettingsColumn::VELOCIDADE,
                                     SettingsColumn::STOPBIT,
                                     SettingsColumn::DATABIT,
                                     SettingsColumn::PARIDADE,
                                     SettingsColumn::Tec12USB};
  for (QLatin1StringView column : order) {
    QWidget* field = bound_.value(column);
    if (field == DBEDTTEMPO_REAVALIACAO) {
      controleChain_->add(
          field, [this] { return settings::checkIntervalOnEnter(DBEDTTEMPO_REAVALIACAO->text()); });
    } else if (column == SettingsColumn::Alunos_Ausentes) {
      auto* edit = static_cast<QLineEdit*>(field);
      controleChain_->add(field, {}, [edit] {
        if (edit->text().isEmpty()) edit->setText(settings::kNoAbsenceCheck);
      });
    } else {
      controleChain_->add(field);
    }
  }
  controleChain_->setEnd(BBNCONFIRMA);
  return page;
}

QGroupBox* TFRMPARAMETRIZACAODOSISTEMA::buildPrintingGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Impressão 40 Colunas"), parent);
  auto* grid = new QGridLayout(group);
  int row = 0;
  addList(grid, row++, SettingsColumn::PORTA_IMP, "DBCPORTAIMP", QStringLiteral("Porta Impressão"),
          settings::printerPorts());
  addEdit(grid, row++, SettingsColumn::ENDERECO_PORTA, "DBEDTENDERECOPORTA",
          QStringLiteral("Endereço de Porta"), 4);
  addList(grid, row++, SettingsColumn::ESPACO, "DBCBESPACO",
          QStringLiteral("Espaço após impressão"), settings::spacings());
  DBCIMPRESSAO40COLUNAS =
      addList(grid, row++, SettingsColumn::IMPRESSAOREDUZIDA, "DBCIMPRESSAO40COLUNAS",
              QStringLiteral("Reduzida"), settings::yesNo());
  connect(DBCIMPRESSAO40COLUNAS, &QComboBox::activated, this,
          [this] { DBCIMPRESSAO40COLUNASClick(); });

  DBCBPOR_CODIGO_APARELHO = new QCheckBox(QStringLiteral("Por Código de Aparelho"), group);
  DBCBPOR_CODIGO_APARELHO->setObjectName(QStringLiteral("DBCBPOR_CODIGO_APARELHO"));
  bind(SettingsColumn::POR_CODIGO_APARELHO, DBCBPOR_CODIGO_APARELHO);
  // Mouse or space bar alike: the switch and its effects are saved together.
  connect(DBCBPOR_CODIGO_APARELHO, &QCheckBox::clicked, this,
          [this](bool checked) { DBCBPOR_CODIGO_APARELHOClick(checked); });
  grid->addWidget(DBCBPOR_CODIGO_APARELHO, row++, 1);

  QLineEdit* printer =
      addEdit(grid, row++, SettingsColumn::Caminho_Impressora, "DBEDTCAMINHOIMPRESSORA",
              QStringLiteral("Caminho da impressora "), 500);
  printer->installEventFilter(new PasteOnlyFilter(printer));
  return group;
}

QGroupBox* TFRMPARAMETRIZACAODOSISTEMA::buildVideoGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Vídeo"), parent);
  auto* grid = new QGridLayout(group);
  int row = 0;
  addDigits(grid, row++, SettingsColumn::Tempo_Serie, "DBEDTTEMPOSERIE",
            QStringLiteral("Tempo de Série - segundos"), 5);
  addList(grid, row++, SettingsColumn::Terminal_Video_Aparelho, "DBCBTERMINAL_VIDEO_APARELHO",
          QStringLiteral("Terminal Vídeo por Aparelho"), settings::yesNo());
  addList(grid, row++, SettingsColumn::Imp_Alongamento, "DBCBIMP_ALONGAMENTO",
          QStringLiteral("Imprime Alongamento"), settings::yesNo());
  addList(grid, row++, SettingsColumn::ImprimeDiasSerie, "DBCBIMPRIMEDIASSERIE",
          QStringLiteral("Imprime dias de semana"), settings::yesNo());
  return group;
}

QGroupBox* TFRMPARAMETRIZACAODOSISTEMA::buildSerialGroup(QWidget* parent) {
  auto* group = new QGroupBox(QStringLiteral("Configurações Serial"), parent);
  auto* grid = new QGridLayout(group);
  int row = 0;
  addList(grid, row++, SettingsColumn::VELOCIDADE, "DBCBVELODIDADE", QStringLiteral("Velocidade"),
          settings::speeds());
  addList(grid, row++, SettingsColumn::STOPBIT, "DBCBSTOPBIT", QStringLiteral("Stop"),
          settings::stopBits());
  addList(grid, row++, SettingsColumn::DATABIT, "DBCBDATABIT", QStringLiteral("DataBit"),
          settings::dataBits());
  addList(grid, row++, SettingsColumn::PARIDADE, "DBCBPARIDADE", QStringLiteral("Paridade"),
          settings::parities());

  auto* pinpad = new QGroupBox(QStringLiteral("Teclado Serial "), group);
  pinpad->setObjectName(QStringLiteral("DBRGPINPAD"));
  auto* choices = new QGridLayout(pinpad);
  DBRGPINPAD = new QButtonGroup(pinpad);
  const QList<settings::Choice>& pinpadChoices = settings::pinpadChoices();
  for (int i = 0; i < pinpadChoices.size(); ++i) {
    auto* button = new QRadioButton(pinpadChoices[i].shown, pinpad);
    button->setObjectName(QStringLiteral("DBRGPINPAD") + pinpadChoices[i].stored);
    DBRGPINPAD->addButton(button, i);
    choices->addWidget(button, i % 3, i / 3);
  }
  bind(SettingsColumn::PINPAD, pinpad);
  grid->addWidget(pinpad, row++, 0, 1, 2);

  addList(grid, row++, SettingsColumn::Tec12USB, "DBCBTEC12USB", QStringLiteral("Tec12 USB SMAK"),
          settings::yesNo());
  return group;
}

QWidget* TFRMPARAMETRIZACAODOSISTEMA::buildLogoPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("PNLLOGOTIPO"));
  auto* layout = new QVBoxLayout(page);
  // The frame keeps its place while the picture in it is hidden (no logo).
  auto* frame = new QFrame(page);
  frame->setFrameShape(QFrame::Box);
  frame->setFixedSize(kLogoSize + QSize(2, 2));
  auto* inFrame = new QVBoxLayout(frame);
  inFrame->setContentsMargins(1, 1, 1, 1);
  IMGLOGOTIPO = new QLabel(frame);
  IMGLOGOTIPO->setObjectName(QStringLiteral("IMGLOGOTIPO"));
  IMGLOGOTIPO->setAlignment(Qt::AlignCenter);
  inFrame->addWidget(IMGLOGOTIPO);
  layout->addWidget(frame);
  auto* buttons = new QHBoxLayout;
  auto* load = new QPushButton(QStringLiteral("Logotipo Academia"), page);
  load->setObjectName(QStringLiteral("BBNLOGOTIPO"));
  connect(load, &QPushButton::clicked, this, [this] { BBNLOGOTIPOClick(); });
  auto* clear = new QPushButton(QStringLiteral("Limpa"), page);
  clear->setObjectName(QStringLiteral("PNLLIMPAACADEMIA"));
  connect(clear, &QPushButton::clicked, this, [this] { PNLLIMPAACADEMIAClick(); });
  buttons->addWidget(load);
  buttons->addWidget(clear);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  layout->addStretch(1);
  return page;
}

QWidget* TFRMPARAMETRIZACAODOSISTEMA::buildEmailPage() {
  auto* page = new QWidget(this);
  page->setObjectName(QStringLiteral("PNLEMAIL"));
  auto* grid = new QGridLayout(page);
  int row = 0;

  // The provider and the TLS mode are copied in when the window opens and out on Confirm.
  CBSMTP = new QComboBox(page);
  CBSMTP->setObjectName(QStringLiteral("CBSMTP"));
  CBSMTP->setEditable(true);
  CBSMTP->addItems(settings::smtpProviders());
  CBSMTP->lineEdit()->setMaxLength(40);
  addLabel(grid, row, QStringLiteral("SMTP e Porta separado por *"), CBSMTP);
  grid->addWidget(CBSMTP, row++, 1);
  QLineEdit* name = addEdit(grid, row++, SettingsColumn::NOME_PROVEDOR, "DBEDTNOME_PROVEDOR",
                            QStringLiteral("Nome"), 40);
  QLineEdit* email = addEdit(grid, row++, SettingsColumn::EMAIL_PROVEDOR, "DBEDTEMAIL_PROVEDOR",
                             QStringLiteral("E-mail"), 40);
  QLineEdit* login =
      addEdit(grid, row++, SettingsColumn::USERNAME, "DBEDTLOGIN", QStringLiteral("Username"), 40);
  QLineEdit* password =
      addEdit(grid, row++, SettingsColumn::PASSWORD, "DBEDTSENHA", QStringLiteral("Password"), 40);
  password->setEchoMode(QLineEdit::Password);
  CBUseTLS = new QComboBox(page);
  CBUseTLS->setObjectName(QStringLiteral("CBUseTLS"));
  CBUseTLS->addItems(settings::tlsModes());
  chooseOnlyList(CBUseTLS);
  addLabel(grid, row, QStringLiteral("UseTLS"), CBUseTLS);
  grid->addWidget(CBUseTLS, row++, 1);
  QLineEdit* subject =
      addEdit(grid, row++, SettingsColumn::ASSUNTO_AUSENTE, "DBEDTASSUNTO_AUSENTES",
              QStringLiteral("Assunto Alunos Ausentes"), 50);
  upperCaseField(subject);

  auto* body = new QPlainTextEdit(page);
  body->setObjectName(QStringLiteral("DBMEMOHISTORICOAUSENTE"));
  bind(SettingsColumn::TEXTO_AUSENTE, body);
  addLabel(grid, row, QStringLiteral("Histórico Aluno Ausente"), body);
  grid->addWidget(body, row++, 1);

  auto* image = new QPushButton(QStringLiteral("Imagem Corpo do E-mail"), page);
  image->setObjectName(QStringLiteral("BBNCORPOEMAILMEDICA"));
  connect(image, &QPushButton::clicked, this, [this] { BBNCORPOEMAILMEDICAClick(); });
  grid->addWidget(image, row, 0);
  // A path keeps its case: file names on this system are case-sensitive.
  DBEDTIMAGEM_CORPO_AUSENTE = new QLineEdit(page);
  DBEDTIMAGEM_CORPO_AUSENTE->setObjectName(QStringLiteral("DBEDTIMAGEM_CORPO_AUSENTE"));
  DBEDTIMAGEM_CORPO_AUSENTE->setMaxLength(500);
  bind(SettingsColumn::IMAGEM_CORPO_AUSENTE, DBEDTIMAGEM_CORPO_AUSENTE);
  grid->addWidget(DBEDTIMAGEM_CORPO_AUSENTE, row++, 1);

  for (QWidget* field :
       {static_cast<QWidget*>(CBSMTP), static_cast<QWidget*>(name), static_cast<QWidget*>(email),
        static_cast<QWidget*>(login), static_cast<QWidget*>(password),
        static_cast<QWidget*>(CBUseTLS), static_cast<QWidget*>(subject)})
    emailChain_->add(field);
  emailChain_->setEnd(BBNCONFIRMA);
  return page;
}

bool TFRMPARAMETRIZACAODOSISTEMA::ABRE_TABELAS() {
  TBLCONTROLE = std::make_unique<ConfigurationStore>(session().workout().database());
  if (!TBLCONTROLE->open()) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado);
    return false;
  }
  const SettingsTexts& stored = TBLCONTROLE->stored();
  showTexts(stored);
  CBSMTP->setEditText(stored.value(QString(SettingsColumn::SMTP_PROVEDOR)));
  showListText(CBUseTLS, stored.value(QString(SettingsColumn::IdSMTP_UseTLS)));
  RGGERALClick(Controle);
  return true;
}

void TFRMPARAMETRIZACAODOSISTEMA::showTexts(const SettingsTexts& texts) {
  for (auto it = bound_.cbegin(); it != bound_.cend(); ++it) {
    const QString text = texts.value(it.key());
    if (auto* list = qobject_cast<QComboBox*>(it.value()))
      showListText(list, text);
    else if (auto* edit = qobject_cast<QLineEdit*>(it.value()))
      edit->setText(text);
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(it.value()))
      memo->setPlainText(text);
    else if (auto* check = qobject_cast<QCheckBox*>(it.value()))
      check->setChecked(text == QStringLiteral("true"));
  }
  // The keypad's choices: none checked when the stored value is none of them.
  const QString pinpad = texts.value(QString(SettingsColumn::PINPAD));
  DBRGPINPAD->setExclusive(false);
  const QList<settings::Choice>& choices = settings::pinpadChoices();
  for (int i = 0; i < choices.size(); ++i)
    DBRGPINPAD->button(i)->setChecked(choices[i].stored == pinpad);
  DBRGPINPAD->setExclusive(true);
}

SettingsTexts TFRMPARAMETRIZACAODOSISTEMA::readTexts() const {
  SettingsTexts texts;
  for (auto it = bound_.cbegin(); it != bound_.cend(); ++it) {
    QString text;
    if (auto* list = qobject_cast<QComboBox*>(it.value()))
      text = list->currentIndex() < 0 ? QString() : list->currentText();
    else if (auto* edit = qobject_cast<QLineEdit*>(it.value()))
      text = edit->text();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(it.value()))
      text = memo->toPlainText();
    else if (auto* check = qobject_cast<QCheckBox*>(it.value()))
      text = check->isChecked() ? QStringLiteral("true") : QStringLiteral("false");
    texts.insert(it.key(), text);
  }
  // A keypad value the choices do not know stays as stored.
  const int pinpad = DBRGPINPAD->checkedId();
  texts.insert(QString(SettingsColumn::PINPAD),
               pinpad >= 0 ? settings::pinpadChoices()[pinpad].stored
                           : TBLCONTROLE->stored().value(QString(SettingsColumn::PINPAD)));
  return texts;
}

void TFRMPARAMETRIZACAODOSISTEMA::MOSTRA_LOGO() {
  QImage picture;
  bool shown = false;
  try {
    shown = LoadJpgFromTable(&TBLCONTROLE->logo(), &picture, kLogoSize);
  } catch (const PhotoError&) {
    shown = false;  // stored bytes that do not decode show as no logo
  }
  IMGLOGOTIPO->clear();
  if (shown)
    IMGLOGOTIPO->setPixmap(QPixmap::fromImage(
        picture.scaled(kLogoSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
  IMGLOGOTIPO->setVisible(shown);
}

void TFRMPARAMETRIZACAODOSISTEMA::RGGERALClick(int page) {
  page_ = Page(page);
  RGGERAL->button(page)->setChecked(true);
  for (int i = 0; i < 3; ++i) pages_[i]->setVisible(i == page);
  switch (page_) {
    case Controle:
      bound_.value(QString(SettingsColumn::CODIGOSEQ))->setFocus();
      break;
    case Logotipo:
      MOSTRA_LOGO();
      break;
    case Email:
      CBSMTP->setFocus();
      break;
  }
}

void TFRMPARAMETRIZACAODOSISTEMA::DBCBPOR_CODIGO_APARELHOClick(bool checked) {
  SettingsTexts texts = readTexts();
  settings::switchEquipmentCode(texts, checked);
  showTexts(texts);
  TBLCONTROLE->post(texts).okOrTell();
}

void TFRMPARAMETRIZACAODOSISTEMA::DBCIMPRESSAO40COLUNASClick() {
  TBLCONTROLE->post(readTexts()).okOrTell();
}

void TFRMPARAMETRIZACAODOSISTEMA::BBNLOGOTIPOClick() {
  const QString file =
      fileChooser()(this, QStringLiteral("Escolha do fundo para carteira"), kJpegFilter);
  if (file.isEmpty()) return;
  // Shown once it is stored: a file that is not a JPEG changes neither picture nor row.
  if (TBLCONTROLE->postLogo(readTexts(), file).okOrTell()) MOSTRA_LOGO();
}

void TFRMPARAMETRIZACAODOSISTEMA::PNLLIMPAACADEMIAClick() {
  IMGLOGOTIPO->hide();
  // When the row could not be written the stored logo is still there: show it again.
  if (!TBLCONTROLE->postClearedLogo(readTexts()).okOrTell()) MOSTRA_LOGO();
}

void TFRMPARAMETRIZACAODOSISTEMA::BBNCORPOEMAILMEDICAClick() {
  const QString file = fileChooser()(this, QStringLiteral("Imagem Corpo do E-mail"), kJpegFilter);
  if (!file.isEmpty()) DBEDTIMAGEM_CORPO_AUSENTE->setText(file);
}

void TFRMPARAMETRIZACAODOSISTEMA::BBNCONFIRMAClick() {
  SettingsTexts texts = readTexts();
  texts.insert(QString(SettingsColumn::SMTP_PROVEDOR), CBSMTP->currentText());
  texts.insert(QString(SettingsColumn::IdSMTP_UseTLS), CBUseTLS->currentText());
  if (const std::optional<FieldError> refusal = settings::checkInterval(texts)) {
    RGGERALClick(Controle);
    refuseField(DBEDTTEMPO_REAVALIACAO, *refusal);
    return;
  }
  const bool saved = TBLCONTROLE->confirm(texts).okOrTell();
  showTexts(texts);  // with the defaults the save filled in
  if (!saved) return;
  session().reapplyMenuSettings();
  closeWindow();
}

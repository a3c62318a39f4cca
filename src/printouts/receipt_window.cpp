#include "printouts/receipt_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "forms/field_keys.h"
#include "forms/session.h"
#include "printouts/receipt.h"
#include "printouts/receipt_output.h"
#include "printouts/series_sheet.h"
#include "registry/photo_store.h"

namespace {

const QString kInfo = QStringLiteral("!");

}  // namespace

TFRMIMPSERIE40COLUNAS::TFRMIMPSERIE40COLUNAS(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMIMPSERIE40COLUNAS"));
  setWindowTitle(QStringLiteral("Ficha de Exercícios"));
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Matrícula "), this), 0, 0);
  EDTMATRICULA = new QLineEdit(this);
  EDTMATRICULA->setObjectName(QStringLiteral("EDTMATRICULA"));
  EDTMATRICULA->setMaxLength(10);
  EDTMATRICULA->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9 ]*")), this));
  onFieldKeys(EDTMATRICULA, [this] { registrationEntered(); }, {});
  layout->addWidget(EDTMATRICULA, 0, 1);
  LBLNOME = new QLabel(this);
  LBLNOME->setObjectName(QStringLiteral("LBLNOME"));
  layout->addWidget(LBLNOME, 1, 0, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Treino:"), this), 2, 0);
  EDTTREINO = new QLineEdit(this);
  EDTTREINO->setObjectName(QStringLiteral("EDTTREINO"));
  EDTTREINO->setMaxLength(1);
  EDTTREINO->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[1-5 ]?")), this));
  EDTTREINO->setEnabled(false);
  onFieldKeys(
      EDTTREINO, [this] { workoutEntered(); }, [this] { backToRegistration(); });
  layout->addWidget(EDTTREINO, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("A = 1, B = 2 , C = 3 , D = 4 e E = 5"), this), 3, 0,
                    1, 2);
  auto* photo = new QGroupBox(QStringLiteral("Foto"), this);
  auto* photoLayout = new QVBoxLayout(photo);
  Image1 = new QLabel(photo);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setFixedSize(150, 200);
  Image1->setScaledContents(true);
  // Hidden between members, the picture keeps its place: the frame and "Sair" never move.
  QSizePolicy keepPlace = Image1->sizePolicy();
  keepPlace.setRetainSizeWhenHidden(true);
  Image1->setSizePolicy(keepPlace);
  photoLayout->addWidget(Image1);
  layout->addWidget(photo, 0, 2, 5, 1);
  auto* exit = new QPushButton(QStringLiteral("Sair"), this);
  exit->setObjectName(QStringLiteral("SBSAIR"));
  exit->setToolTip(QStringLiteral("Sair"));
  exit->setAutoDefault(false);
  connect(exit, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(exit, 5, 2);
}

TFRMIMPSERIE40COLUNAS::~TFRMIMPSERIE40COLUNAS() = default;

void TFRMIMPSERIE40COLUNAS::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  LBLNOME->clear();
  if (!ABRE_TABELAS()) {
    MENSAGEM(kInfo, Msg::RegistroJaAlocado);
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  EDTMATRICULA->setFocus();
}

bool TFRMIMPSERIE40COLUNAS::ABRE_TABELAS() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return false;
  }
  settings_ = *settings;
  people_ = peopleTables(settings_);
  peopleConnection_ = std::make_unique<Connection>(
      people_.source, Connection::uniqueName(QStringLiteral("recibo")));
  if (!peopleConnection_->open()) {
    MENSAGEM(kInfo, Msg::AberturaDeTabela, QStringLiteral("Alunos"));
    return false;
  }
  return true;
}

void TFRMIMPSERIE40COLUNAS::registrationEntered() {
  const QString typed = EDTMATRICULA->text().trimmed();
  if (typed.isEmpty()) return;
  const QString matricula = typedRegistration(typed).value_or(QString());
  EDTMATRICULA->setText(matricula);
  QVariant name;
  if (!matricula.isEmpty()) {
    try {
      name =
          scalarSql(peopleConnection_->database(),
                    QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(people_.members),
                    {matricula});
    } catch (const SqlError&) {
      name = QVariant();
    }
  }
  if (!name.isValid()) {
    MENSAGEM(kInfo, Msg::MatriculaIncorreta);
    EDTMATRICULA->clear();
    EDTMATRICULA->setFocus();
    return;
  }
  LBLNOME->setText(name.toString());
  EDTMATRICULA->setEnabled(false);
  EDTTREINO->setEnabled(true);
  EDTTREINO->setFocus();
  MOSTRA_FOTO(matricula);
}

void TFRMIMPSERIE40COLUNAS::MOSTRA_FOTO(const QString& matricula) {
  std::optional<QVariant> photo;
  try {
    photo = loadPhotoRow(peopleConnection_->database(), people_.photos, matricula);
  } catch (const SqlError&) {
    return;
  }
  if (!photo) return;  // no photo row: the picture stays as it is
  QImage picture;
  try {
    if (!LoadJpgFromTable(&*photo, &picture, Image1->size())) picture = QImage();
  } catch (const PhotoError&) {
    picture = QImage();
  }
  Image1->setPixmap(picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
  Image1->setVisible(true);
}

void TFRMIMPSERIE40COLUNAS::workoutEntered() {
  const QString number = EDTTREINO->text().trimmed();
  if (number.isEmpty()) return;
  EDTTREINO->setEnabled(false);
  IMP_SERIE_40_COLUNOS(number);
  backToRegistration();
}

void TFRMIMPSERIE40COLUNAS::backToRegistration() {
  EDTTREINO->setEnabled(false);
  EDTMATRICULA->clear();
  EDTMATRICULA->setEnabled(true);
  EDTMATRICULA->setFocus();
  EDTTREINO->clear();
  LBLNOME->clear();
  Image1->setVisible(false);
}

void TFRMIMPSERIE40COLUNAS::IMP_SERIE_40_COLUNOS(const QString& number) {
  const QString letter = receiptLetter(number);
  if (letter.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ReceiptData data;
  bool read = true;
  try {
    data = readReceiptData(session_.workout().database(), EDTMATRICULA->text(), letter);
  } catch (const SqlError&) {
    read = false;
  }
  QApplication::restoreOverrideCursor();
  if (!read || data.strength.isEmpty()) {
    MENSAGEM(kInfo, Msg::DadoIncorreto, read ? noWorkoutDetail(letter) : QStringLiteral("Treino"));
    return;
  }
  data.nome = LBLNOME->text();
  if (settings_.seriesOnVideo()) {
    showOnScreen(letter);
    return;
  }
  printReceipt(data, receiptLayout(settings_), receiptRouteSettings(settings_)).okOrTell();
}

void TFRMIMPSERIE40COLUNAS::showOnScreen(const QString& letter) {
  if (!onScreen_) {
    MENSAGEM(kInfo, QStringLiteral("Série em vídeo ainda não disponível !"));
    return;
  }
  SeriesOnScreen screen;
  try {
    screen = readSeriesOnScreen(session_.workout().database(), peopleConnection_->database(),
                                people_.staff, settings_, EDTMATRICULA->text(), LBLNOME->text(),
                                letter);
  } catch (const SqlError& e) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Treino"), e.text()});
    return;
  }
  onScreen_(session_, screen, this);
}

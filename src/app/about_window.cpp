#include "app/about_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>

#include "app/about.h"
#include "base/globals.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/settings_record.h"
#include "forms/session.h"

namespace {

constexpr QSize kAboutSize(540, 230);  // room for the longest gym name and the hours in this font

// The window's backdrop: the program's blue fading into white, with a band along the foot.
QPixmap backdrop(const QSize& size) {
  QPixmap picture(size);
  QPainter painter(&picture);
  QLinearGradient fade(0, 0, size.width(), size.height());
  fade.setColorAt(0.0, QColor(0xDD, 0xE8, 0xF6));
  fade.setColorAt(1.0, Qt::white);
  painter.fillRect(picture.rect(), fade);
  painter.fillRect(QRect(0, size.height() - 6, size.width(), 6), QColor(0x2A, 0x5C, 0x9A));
  return picture;
}

// A small telephone handset drawn beside each support number.
QPixmap handset() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  QPainterPath path;
  path.moveTo(3, 2);
  path.cubicTo(0, 6, 6, 15, 13, 13);
  path.lineTo(14, 10);
  path.lineTo(11, 9);
  path.lineTo(10, 11);
  path.cubicTo(7, 10, 5, 8, 5, 6);
  path.lineTo(7, 5);
  path.lineTo(6, 1);
  path.closeSubpath();
  painter.fillPath(path, QColor(0x2A, 0x5C, 0x9A));
  return picture;
}

QLabel* plainLabel(QWidget* parent, const QString& text, const char* name = nullptr) {
  auto* label = new QLabel(text, parent);
  if (name) label->setObjectName(QString::fromLatin1(name));
  return label;
}

QHBoxLayout* phoneLine(QWidget* parent, const char* pictureName, const char* name,
                       const QString& number) {
  auto* line = new QHBoxLayout;
  QLabel* picture = plainLabel(parent, QString(), pictureName);
  picture->setPixmap(handset());
  line->addWidget(picture);
  line->addWidget(plainLabel(parent, number, name), 1);
  return line;
}

}  // namespace

TFRMSOBRE::TFRMSOBRE(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMSOBRE"));
  setWindowTitle(QStringLiteral("Sobre"));
  setFixedSize(kAboutSize);

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(backdrop(kAboutSize));
  Image1->setGeometry(rect());
  Image1->installEventFilter(this);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(12, 8, 12, 10);
  layout->setVerticalSpacing(0);

  auto* gym = new QVBoxLayout;
  gym->setSpacing(1);
  gym->addWidget(plainLabel(this, QStringLiteral("Registrado para :")));
  QLabel* academia = dataText("DBTEXTACADEMIA");
  QFont bold = academia->font();
  bold.setBold(true);
  academia->setFont(bold);
  gym->addWidget(academia);
  gym->addWidget(dataText("DBTEXTENDERACADEMIA"));
  gym->addWidget(dataText("DBTEXTCOMPLEMENTO1"));
  auto* cnpj = new QHBoxLayout;
  cnpj->addWidget(plainLabel(this, QStringLiteral("CNPJ")));
  cnpj->addWidget(dataText("DBTEXTCNPJCPF"), 1);
  gym->addLayout(cnpj);
  gym->addWidget(dataText("DBTEXTCLIENTE"));
  gym->addStretch(1);
  Label6 = plainLabel(this, makerContacts().site, "Label6");
  Label6->setToolTip(QStringLiteral("Clique duplo para abrir o site"));
  Label4 = plainLabel(this, makerContacts().supportAddress, "Label4");
  Label4->setToolTip(QStringLiteral("Clique duplo para solicitar suporte"));
  gym->addWidget(Label6);
  gym->addWidget(Label4);
  layout->addLayout(gym, 0, 0);

  auto* maker = new QVBoxLayout;
  maker->setSpacing(1);
  QLabel* version = plainLabel(this, versionText(), "LBLVERSAO");
  version->setFont(bold);
  version->setAlignment(Qt::AlignRight);
  maker->addWidget(version);
  maker->addStretch(1);
  maker->addWidget(plainLabel(this, QStringLiteral("Segunda à Sexta")));
  maker->addWidget(plainLabel(this, QStringLiteral("09:00 às 12:00 e 13:00 às 18:00")));
  maker->addLayout(phoneLine(this, "Image2", "Label10", makerContacts().phone1));
  maker->addLayout(phoneLine(this, "Image3", "Label5", makerContacts().phone2));
  layout->addLayout(maker, 0, 1);

  MemMensagem = new QPlainTextEdit(this);
  MemMensagem->setObjectName(QStringLiteral("MemMensagem"));
  MemMensagem->hide();

  for (QLabel* line : {Label4, Label6}) line->installEventFilter(this);
  // Clicks on the texts are theirs; only a click on the backdrop itself closes the window.
  for (QLabel* label : findChildren<QLabel*>())
    if (label != Image1) label->setAttribute(Qt::WA_NoMousePropagation);
}

QLabel* TFRMSOBRE::dataText(const char* name) {
  return plainLabel(this, QString(), name);
}

void TFRMSOBRE::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  Image1->setGeometry(rect());
}

void TFRMSOBRE::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (opened_) return;
  opened_ = true;
  FormShow();
}

void TFRMSOBRE::FormShow() {
  const std::optional<Settings> settings = session_.rereadSettings();
  if (!settings) {
    MENSAGEM(QStringLiteral("!"), Msg::AberturaDeTabela, QStringLiteral("Controle"));
    return;
  }
  settings_ = *settings;
  auto show = [this](const char* name, const QString& text) {
    findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
  };
  show("DBTEXTACADEMIA", settings_.academia);
  show("DBTEXTENDERACADEMIA", settings_.enderecoAcademia);
  show("DBTEXTCOMPLEMENTO1", settings_.complemento1);
  show("DBTEXTCNPJCPF", settings_.cnpjCpf);
  show("DBTEXTCLIENTE", clienteText(settings_.cliente));
}

bool TFRMSOBRE::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
    close();
    return true;
  }
  if (event->type() == QEvent::MouseButtonDblClick) {
    if (watched == Label4) {
      Label4DblClick();
      return true;
    }
    if (watched == Label6) {
      Label6DblClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFRMSOBRE::Label4DblClick() {
  MemMensagem->setPlainText(supportRequestLines(settings_).join(QLatin1Char('\n')));
  sendSupportRequest(MemMensagem->toPlainText(), settings_);
}

void TFRMSOBRE::Label6DblClick() {
  QDesktopServices::openUrl(QUrl(makerContacts().siteUrl));
}

TFRMNOVIDADES::TFRMNOVIDADES(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
  setObjectName(QStringLiteral("TFRMNOVIDADES"));
  setWindowTitle(QStringLiteral("Novidades"));
  setFixedSize(440, 380);
  auto* layout = new QVBoxLayout(this);
  auto* memo = new QPlainTextEdit(this);
  memo->setObjectName(QStringLiteral("Memo1"));
  memo->setReadOnly(true);
  memo->setFrameShape(QFrame::NoFrame);
  memo->setPlainText(releaseNotes());
  layout->addWidget(memo);
}

void TFRMNOVIDADES::done(int result) {
  if (!closed_) {
    closed_ = true;
    if (!VOLTA_USUARIO(session_))
      MENSAGEM(QStringLiteral("!"), Msg::RegistroJaAlocado, QStringLiteral("Usuarios"));
  }
  QDialog::done(result);
}

void showAboutWindow(Session& session, QWidget* parent) {
  TFRMSOBRE about(session, parent);
  about.exec();
}

void showNewsWindow(Session& session, QWidget* parent, QWidget* shortcut) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  G().GINT_JANELAS_ABERTAS += 1;
  TFRMNOVIDADES news(session, parent);
  if (shortcut) shortcut->setEnabled(false);
  QApplication::restoreOverrideCursor();
  news.exec();
  if (shortcut) shortcut->setEnabled(true);
}

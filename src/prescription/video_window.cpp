#include "prescription/video_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMediaPlayer>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "forms/session.h"
#include "forms/video_player.h"
#include "prescription/stretch_strip.h"
#include "prescription/video_lookup.h"

namespace {

const QString kInfo = QStringLiteral("!");
const char* const kDayLabels[kWeekdayCount] = {"Domingo", "Segunda ", "Terça", "Quarta",
                                               "Quinta ", "Sexta",    "Sábado"};

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr) {
  auto* l = new QLabel(text, parent);
  if (name) l->setObjectName(QString::fromLatin1(name));
  return l;
}

QLabel* heading(const QString& text, QWidget* parent) {
  QLabel* l = label(text, parent);
  QFont f = l->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() * 1.3);
  l->setFont(f);
  l->setAlignment(Qt::AlignCenter);
  return l;
}

// "Dias: " and the seven day labels, those the block is done on in red.
QHBoxLayout* dayLine(const WeekdayFlags& days, QWidget* parent) {
  auto* line = new QHBoxLayout;
  line->addWidget(label(QStringLiteral("Dias: "), parent));
  for (int d = 0; d < kWeekdayCount; ++d) {
    QLabel* day = label(QString::fromUtf8(kDayLabels[d]), parent);
    if (days[d]) day->setStyleSheet(QStringLiteral("color: red"));
    line->addWidget(day);
  }
  line->addStretch();
  return line;
}

QTableView* readOnlyGrid(const char* name, const QStringList& titles,
                         const QList<QStringList>& rows, QWidget* parent) {
  auto* model = new QStandardItemModel(0, int(titles.size()), parent);
  model->setHorizontalHeaderLabels(titles);
  for (const QStringList& row : rows) {
    QList<QStandardItem*> items;
    for (const QString& cell : row) items << new QStandardItem(cell);
    model->appendRow(items);
  }
  auto* grid = new QTableView(parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setModel(model);
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  grid->setToolTip(QStringLiteral("Clique duplo ou Enter para exibir Video Aula"));
  if (!rows.isEmpty()) grid->setCurrentIndex(model->index(0, 0));
  return grid;
}

QString number(double value) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return brazil.toString(value, 'g', 15);
}

}  // namespace

// --- Video Aula

TFRMVIDEO::TFRMVIDEO(const QString& path, QWidget* parent) : QDialog(parent), path_(path) {
  setObjectName(QStringLiteral("TFRMVIDEO"));
  setWindowTitle(QStringLiteral("Video Aula"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  WindowsMediaPlayer = new VideoPlayer(this);
  WindowsMediaPlayer->setObjectName(QStringLiteral("WindowsMediaPlayer"));
  layout->addWidget(WindowsMediaPlayer);
  connect(WindowsMediaPlayer, &VideoPlayer::failed, this, &QDialog::reject);
  Timer1.setInterval(1000);
  connect(&Timer1, &QTimer::timeout, this, &TFRMVIDEO::tick);
}

TFRMVIDEO::~TFRMVIDEO() = default;

void TFRMVIDEO::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (started_) return;
  started_ = true;
  resize(418, 362);
  WindowsMediaPlayer->stop();
  if (!WindowsMediaPlayer->play(path_)) {  // told already: this machine plays no video
    QTimer::singleShot(0, this, &QDialog::reject);
    return;
  }
  Timer1.start();
}

// Every second: once the video has ended (the player stops at its end) the window goes.
void TFRMVIDEO::tick() {
  const QMediaPlayer* player = WindowsMediaPlayer->player();
  if (player && player->playbackState() != QMediaPlayer::StoppedState) return;
  accept();
}

void TFRMVIDEO::done(int result) {
  Timer1.stop();
  WindowsMediaPlayer->stop();
  QDialog::done(result);
}

// --- Série Video

TFRMSERIEVIDEO::TFRMSERIEVIDEO(Session& session, const SeriesOnScreen& series, QWidget* parent)
    : QDialog(parent), session_(session), series_(series) {
  setObjectName(QStringLiteral("TFRMSERIEVIDEO"));
  setWindowTitle(QStringLiteral("Série Video "));
  setModal(true);
  setWindowState(Qt::WindowMaximized);
  auto* layout = new QVBoxLayout(this);
  auto* header = new QGridLayout;
  header->addWidget(label(QStringLiteral("Matrícula:"), this), 0, 0);
  header->addWidget(label(series_.matricula, this, "LBLMATRICULA"), 0, 1);
  header->addWidget(label(QStringLiteral("Nome:"), this), 0, 2);
  header->addWidget(label(series_.nome, this, "LBLNOME"), 0, 3);
  header->addWidget(label(QStringLiteral("Professor:"), this), 1, 0);
  header->addWidget(label(series_.professor, this, "LBLPROFESSOR"), 1, 1);
  header->addWidget(label(QStringLiteral("Data Início:"), this), 1, 2);
  header->addWidget(label(series_.dataInicio, this, "LBLDATAINICIO"), 1, 3);
  header->setColumnStretch(3, 1);
  layout->addLayout(header);
  // Without an aerobic block the strength panel takes its place.
  if (!series_.series.aerobic.isEmpty()) layout->addWidget(aerobicPanel());
  layout->addWidget(strengthPanel(), 1);
  Timer1.setSingleShot(true);
  connect(&Timer1, &QTimer::timeout, this, &QDialog::accept);
}

QWidget* TFRMSERIEVIDEO::aerobicPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("PNLAEROBICO"));
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(heading(QStringLiteral("ATIVIDADE AERÓBICA"), panel));
  layout->addLayout(dayLine(series_.series.aerobicDays, panel));
  QList<QStringList> rows;
  for (const DatedAerobicRow& r : series_.series.aerobic)
    rows << QStringList{r.codigo, r.exercicio, QString::number(r.duracao), number(r.velocidade),
                        number(r.nivel)};
  DBGAEROBICA = readOnlyGrid("DBGAEROBICA",
                             {QStringLiteral("Código"), QStringLiteral("Descrição"),
                              QStringLiteral("Duração (mim)"), QStringLiteral("Velocidade"),
                              QStringLiteral("NÍvel de Dificuldade")},
                             rows, panel);
  DBGAEROBICA->setMaximumHeight(140);
  DBGAEROBICA->installEventFilter(this);
  connect(DBGAEROBICA, &QTableView::doubleClicked, this, [this] { showVideo(DBGAEROBICA); });
  layout->addWidget(DBGAEROBICA);
  return panel;
}

QWidget* TFRMSERIEVIDEO::strengthPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("PNLEXERCICIO"));
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(heading(QStringLiteral("MUSCULAÇÃO"), panel));
  auto* line = dayLine(series_.series.strengthDays, panel);
  line->insertWidget(0, label(series_.series.letter, panel, "LBLTREINO"));
  line->insertWidget(0, label(QStringLiteral("Treino: "), panel));
  line->addWidget(label(QStringLiteral("Reavaliação:"), panel));
  line->addWidget(label(series_.reavaliacao, panel, "LBLREAVALIACAO"));
  layout->addLayout(line);
  QList<QStringList> rows;
  for (const DatedStrengthRow& r : series_.series.strength)
    rows << QStringList{r.codigo,      r.exercicio, r.series,
                        r.repeticoes,  r.peso,      r.regulagem,
                        QString::number(r.intervalo), r.obs};
  DBGEXERCICIOS = readOnlyGrid(
      "DBGEXERCICIOS",
      {QStringLiteral("Código"), QStringLiteral("Descrição"), QStringLiteral("Séries"),
       QStringLiteral("Repetições"), QStringLiteral("Peso"), QStringLiteral("Regulagem"),
       QStringLiteral("Intervalo"), QStringLiteral("Observação")},
      rows, panel);
  DBGEXERCICIOS->installEventFilter(this);
  connect(DBGEXERCICIOS, &QTableView::doubleClicked, this, [this] { showVideo(DBGEXERCICIOS); });
  layout->addWidget(DBGEXERCICIOS, 1);
  auto* strip = new StretchStripWidget(panel);
  strip->setReadOnly(true);
  auto* remark = new QPlainTextEdit(panel);
  remark->setObjectName(QStringLiteral("DBMEMOOBS"));
  remark->setReadOnly(true);
  remark->setMaximumHeight(60);
  if (series_.series.stretching) {
    strip->setTicks(series_.series.stretching->stretches);
    remark->setPlainText(series_.series.stretching->obs);
  }
  layout->addWidget(strip, 0, Qt::AlignHCenter);
  layout->addWidget(remark);
  return panel;
}

void TFRMSERIEVIDEO::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Timer1.start(series_.tempoSerie * 1000);
  DBGEXERCICIOS->setFocus();
}

bool TFRMSERIEVIDEO::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      (watched == DBGAEROBICA || watched == DBGEXERCICIOS)) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      showVideo(static_cast<QTableView*>(watched));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TFRMSERIEVIDEO::showVideo(QTableView* grid) {
  const QModelIndex at = grid->currentIndex();
  if (!at.isValid()) return;
  Timer1.stop();
  const QString code = grid->model()->index(at.row(), 0).data().toString();
  VideoToShow video;
  try {
    video = videoToShow(session_.workoutDatabase(), code, grid == DBGAEROBICA);
  } catch (const SqlError& e) {
    tell({Msg::AberturaDeTabela, QStringLiteral("Exercicios"), e.text()});
  }
  if (video.kind == VideoToShow::Missing) MENSAGEM(kInfo, Msg::ArquivoVideoInexistente, video.path);
  if (video.kind == VideoToShow::Play) {
    TFRMVIDEO player(video.path, this);
    player.exec();
  }
  // Counted afresh from now, whether a video played or not: a member who looked for a video
  // gets the whole time again, and the window never stays up for good.
  Timer1.start(series_.tempoSerie * 1000);
}

void showSeriesOnScreen(Session& session, const SeriesOnScreen& series, QWidget* parent) {
  TFRMSERIEVIDEO window(session, series, parent);
  window.exec();
}

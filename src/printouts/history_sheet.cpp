#include "printouts/history_sheet.h"

#include <QLocale>
#include <QPainter>
#include <QSqlQuery>
#include <QSqlRecord>

#include "base/messages.h"
#include "data/connection.h"
#include "data/schema.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "printing/stretch_figures.h"
#include "printouts/sheet_bands.h"
#include "registry/people_source.h"
#include "series/series_store.h"

namespace {

// Which day a block is read from: the one asked for, or each block's own latest save.
struct DayFilter {
  std::optional<QDate> day;

  // The condition on A.Data; `latest` is the sub-select of the block's latest date, whose
  // values follow `own`.
  QString condition(const QString& latest) const {
    return day ? QStringLiteral("A.Data = ?") : QStringLiteral("A.Data IN (") + latest + ')';
  }
  QVariantList values(const QVariantList& own, const QVariantList& latest) const {
    QVariantList all = own;
    if (day)
      all << *day;
    else
      all << latest;
    return all;
  }
};

void readStrength(const QSqlDatabase& db, const DayFilter& when, DatedSeries& series) {
  const QVariantList key{series.matricula, series.letter};
  QSqlQuery query = runSql(
      db,
      QStringLiteral("SELECT A.*, C.DESCRICAO AS EXERCICIO, C.APARELHO AS AP FROM TREINO A, "
                     "EXERCICIOS C WHERE A.CODIGO_EXERCICIO = C.CODIGO AND A.MATRICULA = ? AND "
                     "A.TREINO = ? AND ") +
          when.condition(QStringLiteral(
              "SELECT MAX(DATA) FROM TREINO WHERE MATRICULA = ? AND TREINO = ?")) +
          QStringLiteral(" ORDER BY A.ORDEM, A.ID"),
      when.values(key, key));
  while (query.next()) {
    const QSqlRecord r = query.record();
    if (series.strength.isEmpty()) {
      series.strengthDate = r.value(QStringLiteral("Data")).toDate();
      series.strengthDays = storedWeekdays(r);
      series.changeDate = r.value(QStringLiteral("Data_Reavaliacao")).toDate();
    }
    DatedStrengthRow row;
    row.ordem = r.value(QStringLiteral("Ordem")).toInt();
    row.codigo = r.value(QStringLiteral("Codigo_exercicio")).toString();
    row.aparelho = r.value(QStringLiteral("AP")).toString();
    row.exercicio = r.value(QStringLiteral("EXERCICIO")).toString();
    row.obs = r.value(QStringLiteral("Obs")).toString();
    row.series = r.value(QStringLiteral("Series")).toString();
    row.repeticoes = r.value(QStringLiteral("Repeticoes")).toString();
    row.peso = r.value(QStringLiteral("Peso")).toString();
    row.regulagem = r.value(QStringLiteral("REGULAGEM")).toString();
    row.intervalo = r.value(QStringLiteral("Intervalo")).toInt();
    row.professor = r.value(QStringLiteral("Professor")).toString();
    series.strength << row;
  }
}

// The aerobic block belongs to workout "A": for an old "A", the block saved the same day.
void readAerobic(const QSqlDatabase& db, const DayFilter& when, DatedSeries& series) {
  const QVariantList key{series.matricula};
  QSqlQuery query = runSql(
      db,
      QStringLiteral("SELECT A.*, C.DESCRICAO AS EXERCICIO, C.APARELHO AS AP FROM AEROBICA A, "
                     "EXERCICIOS C WHERE A.CODIGO_EXERCICIO = C.CODIGO AND A.MATRICULA = ? AND ") +
          when.condition(QStringLiteral("SELECT MAX(DATA) FROM AEROBICA WHERE MATRICULA = ?")) +
          QStringLiteral(" ORDER BY C.DESCRICAO, A.ID"),
      when.values(key, key));
  while (query.next()) {
    const QSqlRecord r = query.record();
    if (series.aerobic.isEmpty()) {
      series.aerobicDate = r.value(QStringLiteral("Data")).toDate();
      series.aerobicDays = storedWeekdays(r);
    }
    series.aerobic << DatedAerobicRow{r.value(QStringLiteral("Codigo_exercicio")).toString(),
                                      r.value(QStringLiteral("AP")).toString(),
                                      r.value(QStringLiteral("EXERCICIO")).toString(),
                                      r.value(QStringLiteral("Duracao")).toInt(),
                                      r.value(QStringLiteral("Velocidade")).toDouble(),
                                      r.value(QStringLiteral("Nivel_dificuldade")).toDouble()};
  }
}

void readStretching(const QSqlDatabase& db, const DayFilter& when, DatedSeries& series) {
  const QVariantList key{series.matricula, series.letter};
  QSqlQuery query = runSql(
      db,
      QStringLiteral("SELECT A.Obs, %1 FROM ALONGAMENTO A WHERE A.MATRICULA = ? AND A.TREINO = ? "
                     "AND ")
              .arg(stretchColumns().join(QStringLiteral(", "))) +
          when.condition(QStringLiteral(
              "SELECT MAX(DATA) FROM ALONGAMENTO WHERE MATRICULA = ? AND TREINO = ?")) +
          QStringLiteral(" ORDER BY A.ID DESC"),
      when.values(key, key));
  series.stretching.reset();
  if (!query.next()) return;
  StretchChoice choice;
  choice.obs = query.value(0).toString();
  for (int i = 0; i < kStretchColumns; ++i) choice.stretches[i] = query.value(1 + i).toBool();
  series.stretching = choice;
}

// --- Composition. Lengths in millimetres from the band's top-left corner.

const QColor kRed(Qt::red);
const QColor kBlue(Qt::blue);

QString startDate(const QDate& date) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return date.isValid() ? brazil.toString(date, QStringLiteral("dd / MMMM / yyyy")) : QString();
}

ReportText item(const QRectF& box, const QString& value, double points, bool bold = false,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return reportText(box, value, reportFont(points, bold), align);
}

ReportBand memberHeader(const HistorySheet& sheet, const QDate& start, double width) {
  ReportBand band;
  band.height = 26;
  band.texts << item(QRectF(0, 0, width, 6), sheet.academia, 12, true, Qt::AlignCenter);
  const double half = width * 0.55;
  band.texts << item(QRectF(0, 8, 18, 5), QStringLiteral("Aluno(a) :"), 8, true)
             << item(QRectF(18, 8, half - 20, 5),
                     sheet.series.matricula + QStringLiteral(" - ") + sheet.nome, 8)
             << item(QRectF(half, 8, 25, 5), QStringLiteral("Data do Início :"), 8, true)
             << item(QRectF(half + 25, 8, width - half - 25, 5), startDate(start), 8)
             << item(QRectF(0, 13, 18, 5), QStringLiteral("Professor :"), 8, true)
             << item(QRectF(18, 13, half - 20, 5), sheet.professor, 8)
             << item(QRectF(half, 13, 25, 5), QStringLiteral("Objetivo :"), 8, true);
  // Written by hand on the printed sheet.
  const QStringList blanks{QStringLiteral("Frequência :"), QStringLiteral("Próx. Reavaliação :"),
                           QStringLiteral("Peso :"), QStringLiteral("% Gordura :")};
  for (int i = 0; i < blanks.size(); ++i)
    band.texts << item(QRectF(i * width / 4, 18, width / 4, 5), blanks[i], 8, true);
  band.rules << ReportRule{QPointF(0, 24), QPointF(width, 24), 0.4};
  return band;
}

ReportBand strengthHeading(const HistorySheet& sheet, double width) {
  ReportBand band;
  band.height = 14;
  band.texts << item(QRectF(0, 0, width, 6), QStringLiteral("MUSCULAÇÃO"), 10, true,
                     Qt::AlignCenter);
  ReportText letter = item(QRectF(0, 7, 24, 6), QStringLiteral("Treino : ") + sheet.series.letter,
                           10, true);
  letter.ink = kRed;
  band.texts << letter;
  if (sheet.printDays) dayNamesLine(band, 28, 7, sheet.series.strengthDays, kBlue);
  const QString change = sheet.noReassessment
                             ? QStringLiteral("    /       /")
                             : sheet.series.changeDate.toString(QStringLiteral("dd/MM/yyyy"));
  band.texts << item(QRectF(width - 44, 7, 44, 6), QStringLiteral("Troca Série : ") + change, 8,
                     true, Qt::AlignRight | Qt::AlignVCenter);
  return band;
}

QString number(double value) {
  static const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
  return brazil.toString(value, 'g', 15);
}

ReportBand aerobicSection(const HistorySheet& sheet, double width) {
  ReportBand band = memberHeader(sheet, sheet.series.aerobicDate, width);
  ReportBand heading;
  heading.height = 14;
  const QString title = QStringLiteral("ATIVIDADE AERÓBICA");
  // Without the day names the title moves down into their line.
  heading.texts << item(QRectF(0, sheet.printDays ? 0 : 7, width, 6), title, 10, true,
                        Qt::AlignCenter);
  if (sheet.printDays) dayNamesLine(heading, 0, 7, sheet.series.aerobicDays, kBlue);
  stackBand(band, heading);
  QList<QStringList> rows;
  for (const DatedAerobicRow& row : sheet.series.aerobic)
    rows << QStringList{row.codigo,
                        row.aparelho,
                        row.exercicio,
                        QString::number(row.duracao),
                        number(row.velocidade),
                        number(row.nivel)};
  ReportBand table = framedTable(fillingColumns({{QStringLiteral("Cód"), 12},
                                                 {QStringLiteral("Ap"), 10},
                                                 {QStringLiteral("Exercício"), 60},
                                                 {QStringLiteral("Duração (mim)"), 27},
                                                 {QStringLiteral("Velocidade"), 20},
                                                 {QStringLiteral("Nível de Dificuldade"), 34}},
                                                2, width, Qt::AlignHCenter),
                                 rows);
  table.height += 4;
  stackBand(band, table);
  return band;
}

// The picture strip with a box over each figure, ticked for the prescribed stretches.
QImage tickedStrip(const StretchChoice& choice) {
  const QSize size = kStretchStripSize * 2;
  QImage image = stretchStrip(size);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int n = 1; n <= kStretchCount; ++n) {
    const QRectF box = stretchTickArea(n, QSizeF(size));
    painter.setPen(QPen(Qt::black, 2));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    if (!choice.stretches[n - 1]) continue;
    painter.setPen(QPen(Qt::black, 3));
    painter.drawLine(QPointF(box.left() + box.width() * 0.2, box.center().y()),
                     QPointF(box.left() + box.width() * 0.45, box.bottom() - box.height() * 0.2));
    painter.drawLine(QPointF(box.left() + box.width() * 0.45, box.bottom() - box.height() * 0.2),
                     QPointF(box.right() - box.width() * 0.15, box.top() + box.height() * 0.2));
  }
  return image;
}

ReportBand stretchingSection(const HistorySheet& sheet, double width) {
  ReportBand band;
  band.texts << item(QRectF(0, 2, width, 6), QStringLiteral("ALONGAMENTO"), 10, true,
                     Qt::AlignCenter);
  double top = 9;
  if (sheet.printStretches) {
    const double stripHeight = width * kStretchStripSize.height() / kStretchStripSize.width();
    band.pictures << ReportPicture{QRectF(0, top, width, stripHeight),
                                   tickedStrip(*sheet.series.stretching)};
    top += stripHeight + 2;
  }
  ReportText remark = item(QRectF(0, top, width, 22), sheet.series.stretching->obs, 8, false,
                           Qt::AlignLeft | Qt::AlignTop);
  remark.wrap = true;
  band.texts << remark;
  band.height = top + 24;
  return band;
}

Failure tableUnreadable(const QString& table, const QString& cause) {
  return {Msg::AberturaDeTabela, table,
          QStringLiteral("Histórico de séries, %1: %2").arg(table, cause)};
}

}  // namespace

DatedSeries readDatedSeries(const QSqlDatabase& workoutDb, const QString& matricula,
                            const QString& letter, const std::optional<QDate>& day) {
  DatedSeries series;
  series.matricula = matricula;
  series.letter = letter;
  const DayFilter when{day};
  readStrength(workoutDb, when, series);
  if (letter == QStringLiteral("A")) readAerobic(workoutDb, when, series);
  readStretching(workoutDb, when, series);
  return series;
}

QString remarkInLowerCase(const QString& obs) {
  QString lower = obs;
  for (QChar& c : lower)
    if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + ('a' - 'A'));
  return lower;
}

QString exerciseWithRemark(const QString& exercicio, const QString& obs) {
  if (obs.isEmpty()) return exercicio;
  return exercicio + QStringLiteral("    Obs: ") + remarkInLowerCase(obs);
}

Result<HistorySheet> prepareHistorySheet(const QString& matricula, const QString& letter,
                                         const QDate& day) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("historico")));
  if (!workout.open()) return tableUnreadable(QStringLiteral("Treino"), workout.lastError());
  const std::optional<Settings> settings = Settings::read(workout.database());
  if (!settings) return tableUnreadable(QStringLiteral("Secvar"), QStringLiteral("sem registro"));
  HistorySheet sheet;
  sheet.academia = settings->academia;
  sheet.printDays = settings->printsSeriesDays();
  sheet.printStretches = settings->printsStretches();
  sheet.noReassessment = settings->reassessmentOff();
  try {
    sheet.series = readDatedSeries(workout.database(), matricula, letter, day);
  } catch (const SqlError& e) {
    return tableUnreadable(QStringLiteral("Treino"), e.text());
  }
  if (sheet.series.strength.isEmpty())
    return Failure{Msg::DadoIncorreto, QStringLiteral("Nenhum TREINO '%1' Cadastrado").arg(letter),
                   {}};
  const PeopleTables tables = peopleTables(*settings);
  const Result<std::unique_ptr<Connection>> people =
      openPeopleConnection(tables, QStringLiteral("Alunos"));
  if (!people) return people.failure();
  try {
    const QSqlDatabase db = (*people)->database();
    sheet.nome = scalarSql(db, QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?")
                                   .arg(tables.members),
                           {matricula})
                     .toString();
    const QVariant instructor =
        scalarSql(db, QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(tables.staff),
                  {sheet.series.strength.first().professor});
    sheet.professor = instructor.isValid() ? instructor.toString() : QStringLiteral("Excluído");
  } catch (const SqlError& e) {
    return peopleUnavailable(tables.source, QStringLiteral("Alunos"), e.text());
  }
  return sheet;
}

Report historySheetReport(const HistorySheet& sheet) {
  const DatedSeries& series = sheet.series;
  Report report;
  report.name = QStringLiteral("Histórico de Sereies - %1 %2")
                    .arg(series.letter, series.strengthDate.toString(QStringLiteral("dd/MM/yyyy")));
  report.orientation = PageOrientation::Portrait;
  report.margins = QMarginsF(10, 10, 10, 10);
  const double width = report.bodyWidth();
  report.detail = strengthDetail(width, Qt::AlignHCenter);
  const ReportBand titles = columnHeaderBand(report.detail, 6, reportFont(8, true));
  const ReportBand heading = strengthHeading(sheet, width);
  if (series.letter == QStringLiteral("A")) {
    // The member header once above the aerobic block, or on every page of the strength table
    // when that day has no aerobic block.
    if (!series.aerobic.isEmpty())
      report.title = aerobicSection(sheet, width);
    else
      report.pageHeader = memberHeader(sheet, series.strengthDate, width);
    stackBand(report.title, heading);
    report.columnHeader = titles;
  } else {
    report.title = memberHeader(sheet, series.strengthDate, width);
    report.columnHeader = heading;
    stackBand(report.columnHeader, titles);
  }
  for (const DatedStrengthRow& row : series.strength)
    report.rows << ReportRow{{QString::number(row.ordem), row.aparelho,
                              exerciseWithRemark(row.exercicio, row.obs), row.series,
                              row.repeticoes, row.peso, row.regulagem,
                              QString::number(row.intervalo)},
                             QString()};
  if (series.stretching) report.summary = stretchingSection(sheet, width);
  report.pageFooter.height = 5;  // an empty foot on every page
  return report;
}

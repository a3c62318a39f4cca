#include "printouts/series_sheet.h"

#include <QLocale>
#include <QPainter>
#include <QSqlQuery>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/settings_record.h"
#include "data/sql.h"
#include "printing/stretch_figures.h"
#include "printouts/history_sheet.h"
#include "printouts/sheet_bands.h"
#include "registry/people_source.h"
#include "series/member_assessment.h"
#include "series/series_store.h"

namespace {

const QLocale& brazil() {
  static const QLocale locale(QLocale::Portuguese, QLocale::Brazil);
  return locale;
}

QString shortDate(const QDate& date) {
  return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString();
}

// "10 / dezembro / 2026"
QString startDate(const QDate& date) {
  return date.isValid() ? brazil().toString(date, QStringLiteral("dd / MMMM / yyyy")) : QString();
}

QString generalFloat(double value) {
  return brazil().toString(value, 'g', 15);
}

// --- Composition. Lengths in millimetres from the band's top-left corner.

ReportFont font(double points, bool bold = false) {
  return reportFont(points, bold);
}

ReportText text(const QRectF& box, const QString& value, const ReportFont& f,
                Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return reportText(box, value, f, align);
}

// A label in bold followed by its value, from `left`.
void labelled(ReportBand& band, double left, double top, double labelWidth, double valueWidth,
              const QString& label, const QString& value) {
  band.texts << text(QRectF(left, top, labelWidth, 5), label, font(8, true))
             << text(QRectF(left + labelWidth, top, valueWidth, 5), value, font(8));
}

ReportBand memberHeader(const SeriesSheet& sheet, const QDate& start, double width) {
  ReportBand band;
  band.height = 30;
  band.texts << text(QRectF(0, 0, width, 6), sheet.academia, font(12, true), Qt::AlignCenter);
  // Three lines of label and value; the places follow the body's width, the labels keep theirs.
  const double birth = width * 80 / 190;
  const double begin = width * 129 / 190;
  labelled(band, 0, 8, 18, birth - 20, QStringLiteral("Aluno(a) :"),
           sheet.matricula + QStringLiteral(" - ") + sheet.nome);
  labelled(band, birth, 8, 31, begin - birth - 31, QStringLiteral("Data Nascimento :"),
           shortDate(sheet.nascimento));
  labelled(band, begin, 8, 24, width - begin - 24, QStringLiteral("Data do Início :"),
           startDate(start));
  labelled(band, 0, 14, 18, birth - 20, QStringLiteral("Professor :"), sheet.professor);
  labelled(band, birth, 14, 17, width - birth - 17, QStringLiteral("Objetivo :"),
           sheet.assessment.objetivos);
  band.texts << text(QRectF(0, 20, 21, 5), QStringLiteral("Frequência :"), font(8, true));
  band.rules << ReportRule{QPointF(21, 24), QPointF(width * 0.30, 24), 0.2};
  labelled(band, width * 0.33, 20, 33, width * 0.28 - 33, QStringLiteral("Próx. Reavaliação :"),
           shortDate(sheet.assessment.proximaReavaliacao));
  labelled(band, width * 0.62, 20, 11, width * 0.18 - 11, QStringLiteral("Peso :"),
           sheet.assessment.peso);
  labelled(band, width * 0.80, 20, 20, width * 0.20 - 20, QStringLiteral("% Gordura :"),
           sheet.assessment.gordura);
  band.rules << ReportRule{QPointF(0, 28), QPointF(width, 28), 0.4};
  return band;
}

ReportBand strengthHeading(const SeriesSheet& sheet, double width) {
  ReportBand band;
  band.height = 8;
  band.texts << text(QRectF(0, 1, 24, 6), QStringLiteral("Treino : ") + sheet.letter,
                     font(10, true));
  if (sheet.printDays) dayNamesLine(band, 28, 1, sheet.strengthDays);
  const QString change =
      sheet.noReassessment ? QStringLiteral("    /       /") : shortDate(sheet.changeDate);
  band.texts << text(QRectF(width - 44, 1, 44, 6), QStringLiteral("Troca Série : ") + change,
                     font(8, true), Qt::AlignRight | Qt::AlignVCenter);
  return band;
}

ReportBand aerobicSection(const SeriesSheet& sheet, double width) {
  ReportBand band = memberHeader(sheet, sheet.aerobicDate, width);
  ReportBand heading;
  heading.height = 8;
  const QString title = QStringLiteral("ATIVIDADE AERÓBICA");
  if (sheet.printDays) {
    heading.texts << text(QRectF(0, 1, 45, 6), title, font(10, true));
    dayNamesLine(heading, 50, 1, sheet.aerobicDays);
  } else {
    heading.texts << text(QRectF(263 * kSheetUnitMm, 1, 60, 6), title, font(10, true));
  }
  stackBand(band, heading);
  QList<QStringList> rows;
  for (const SheetAerobicRow& row : sheet.aerobic)
    rows << QStringList{row.codigo,
                        row.aparelho,
                        row.exercicio,
                        QString::number(row.duracao),
                        generalFloat(row.velocidade),
                        generalFloat(row.nivel)};
  stackBand(band, framedTable(fillingColumns({{QStringLiteral("Cód"), 12},
                                   {QStringLiteral("Ap"), 10},
                                   {QStringLiteral("Exercício"), 60},
                                   {QStringLiteral("Duração (mim)"), 27},
                                   {QStringLiteral("Velocidade"), 20},
                                   {QStringLiteral("Nível de Dificuldade"), 34}},
                                  2, width),
                          rows));
  ReportBand gap;
  gap.height = 4;
  stackBand(band, gap);
  return band;
}

QImage stretchPicture(int number) {
  QImage image(180, 160, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  drawStretchFigure(painter, QRectF(0, 0, 180, 160), number);
  painter.setPen(Qt::black);
  painter.drawRect(QRectF(0.5, 0.5, 179, 159));
  QFont numberFont;
  numberFont.setPixelSize(22);
  numberFont.setBold(true);
  painter.setFont(numberFont);
  painter.drawText(QRectF(0, 0, 174, 156), Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0')));
  return image;
}

ReportBand stretchingSection(const SeriesSheet& sheet, double width) {
  ReportBand band;
  QList<int> printed;
  if (sheet.printStretches && sheet.stretching)
    for (int i = 0; i < kStretchColumns; ++i)
      if (sheet.stretching->stretches[i]) printed << i + 1;
  for (int i = 0; i < printed.size(); ++i) {
    const QPointF at = stretchPictureAt(i, printed) * kSheetUnitMm;
    band.pictures << ReportPicture{QRectF(at, QSizeF(45, 38) * kSheetUnitMm),
                                   stretchPicture(printed[i])};
  }
  const double remarkTop = stretchRemarkTop(printed) * kSheetUnitMm;
  ReportText remark = text(QRectF(13 * kSheetUnitMm, remarkTop, width - 13 * kSheetUnitMm, 22),
                           sheet.stretching ? sheet.stretching->obs : QString(), font(8),
                           Qt::AlignLeft | Qt::AlignTop);
  remark.wrap = true;
  band.texts << remark;
  band.height = remarkTop + 24;
  return band;
}

}  // namespace

QPointF stretchPictureAt(int index, const QList<int>& printed) {
  double left = 13;
  double top = 11;
  for (int i = 0; i < index && i < printed.size(); ++i) {
    left += 47;
    // From stretch 14 on, a picture that would pass the first row's last place starts the second.
    if (printed[i + 1] >= 14 && left > 577 && top == 11) {
      left = 13;
      top = 52;
    }
  }
  return QPointF(left, top);
}

double stretchRemarkTop(const QList<int>& printed) {
  if (printed.isEmpty()) return 5;
  return stretchPictureAt(int(printed.size()) - 1, printed).y() > 11 ? 100 : 50;
}

QString noWorkoutDetail(const QString& letter) {
  return QStringLiteral("Nenhum TREINO '%1' Cadastrado").arg(letter);
}

void readSheetSeries(const QSqlDatabase& workoutDb, const QString& matricula, const QString& letter,
                     SeriesSheet& sheet) {
  const DatedSeries current = readDatedSeries(workoutDb, matricula, letter, std::nullopt);
  sheet.letter = letter;
  sheet.strength = current.strength;
  sheet.strengthDate = current.strengthDate;
  sheet.strengthDays = current.strengthDays;
  sheet.changeDate = current.changeDate;
  sheet.aerobic = current.aerobic;
  sheet.aerobicDate = current.aerobicDate;
  sheet.aerobicDays = current.aerobicDays;
  sheet.stretching = current.stretching;
}

namespace {

// The member's name and birth date and the instructor's name, from the people's database.
Outcome readPeople(const Settings& settings, SeriesSheet& sheet) {
  const PeopleTables tables = peopleTables(settings);
  const Result<std::unique_ptr<Connection>> opened =
      openPeopleConnection(tables, QStringLiteral("Alunos"));
  if (!opened) return opened.failure();
  const std::unique_ptr<Connection>& people = *opened;
  try {
    QSqlQuery member = runSql(people->database(),
                              QStringLiteral("SELECT NOME, DATA_NASCIMENTO FROM %1 WHERE "
                                             "MATRICULA = ?")
                                  .arg(tables.members),
                              {sheet.matricula});
    if (member.next()) {
      sheet.nome = member.value(0).toString();
      sheet.nascimento = member.value(1).toDate();
    }
    const QVariant instructor =
        scalarSql(people->database(),
                  QStringLiteral("SELECT NOME FROM %1 WHERE MATRICULA = ?").arg(tables.staff),
                  {sheet.strength.first().professor});
    sheet.professor = instructor.isValid() ? instructor.toString() : QStringLiteral("Excluído");
  } catch (const SqlError& e) {
    return peopleUnavailable(tables.source, QStringLiteral("Alunos"), e.text());
  }
  return Done{};
}

Failure tableUnreadable(const QString& table, const QString& cause) {
  return {Msg::AberturaDeTabela, table, QStringLiteral("Ficha de série, %1: %2").arg(table, cause)};
}

}  // namespace

Result<SeriesSheet> prepareSeriesSheet(const QString& matricula, const QString& letter,
                                       bool landscape) {
  Connection workout(DataSource::Vantrel, Connection::uniqueName(QStringLiteral("ficha-treino")));
  if (!workout.open()) return tableUnreadable(QStringLiteral("Treino"), workout.lastError());
  const std::optional<Settings> settings = Settings::read(workout.database());
  if (!settings) return tableUnreadable(QStringLiteral("Secvar"), QStringLiteral("sem registro"));
  SeriesSheet sheet;
  sheet.matricula = matricula;
  sheet.landscape = landscape;
  sheet.academia = settings->academia;
  sheet.printDays = settings->printsSeriesDays();
  sheet.printStretches = settings->printsStretches();
  sheet.noReassessment = settings->reassessmentOff();
  const Result<SheetAssessment> assessment = memberAssessment(*settings, matricula);
  if (!assessment) return assessment.failure();
  sheet.assessment = *assessment;
  try {
    readSheetSeries(workout.database(), matricula, letter, sheet);
  } catch (const SqlError& e) {
    return tableUnreadable(QStringLiteral("Treino"), e.text());
  }
  if (sheet.strength.isEmpty()) return Failure{Msg::DadoIncorreto, noWorkoutDetail(letter), {}};
  if (const Outcome people = readPeople(*settings, sheet); !people) return people.failure();
  return sheet;
}

Report seriesSheetReport(const SeriesSheet& sheet) {
  Report report;
  report.name = QStringLiteral("Série %1 - %2").arg(sheet.letter, sheet.nome);
  report.orientation = sheet.landscape ? PageOrientation::Landscape : PageOrientation::Portrait;
  report.margins = QMarginsF(10, 10, 10, 10);
  const double width = report.bodyWidth();

  const bool letterA = sheet.letter == QStringLiteral("A");
  const ReportBand heading = strengthHeading(sheet, width);
  report.detail = strengthDetail(width);
  const ReportBand titles = columnHeaderBand(report.detail, 6, font(8, true));
  if (letterA) {
    // The member header is printed once: above the aerobic block when there is one, else at
    // the top of every page of the strength table.
    if (!sheet.aerobic.isEmpty())
      report.title = aerobicSection(sheet, width);
    else
      report.pageHeader = memberHeader(sheet, sheet.strengthDate, width);
    stackBand(report.title, heading);
    report.columnHeader = titles;
  } else {
    report.title = memberHeader(sheet, sheet.strengthDate, width);
    report.columnHeader = heading;
    stackBand(report.columnHeader, titles);
  }
  for (const SheetStrengthRow& row : sheet.strength) {
    QString exercise = row.exercicio;
    if (!row.obs.isEmpty())
      exercise += (letterA || sheet.letter == QStringLiteral("B") ? QStringLiteral(" ")
                                                                  : QStringLiteral("    Obs: ")) +
                  row.obs;
    report.rows << ReportRow{
        {QString::number(row.ordem), row.aparelho, exercise, row.series, row.repeticoes, row.peso,
         row.regulagem, QString::number(row.intervalo)},
        QString()};
  }
  report.summary = stretchingSection(sheet, width);
  report.pageFooter.height = 5;  // an empty foot on every page
  return report;
}

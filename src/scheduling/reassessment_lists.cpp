#include "scheduling/reassessment_lists.h"

#include <QHash>
#include <QSqlQuery>

#include "base/messages.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "followup/listed_people.h"
#include "printing/listing_layout.h"

namespace {

const QString kDayFormat = QStringLiteral("dd/MM/yyyy");

QString dayText(const QDate& day) {
  return day.isValid() ? day.toString(kDayFormat) : QString();
}

// The selection's SQL and values. The orders after the evaluator and the day only keep the
// lines of one day in the same order from one printing to the next.
std::pair<QString, QVariantList> selection(const ReassessmentQuery& query) {
  QString sql;
  if (query.list == ReassessmentList::Scheduled)
    sql = QStringLiteral(
        "SELECT DATA, DATA_FEITA, MATRICULA, AVALIADOR, TREINO, HORA FROM Agendado "
        "WHERE DATA >= ? AND DATA <= ?");
  else if (query.synthetic)
    sql = QStringLiteral(
        "SELECT DISTINCT DATA, DATA_FEITA, MATRICULA, AVALIADOR, '' AS TREINO, '' AS HORA "
        "FROM Agendado WHERE DATA_FEITA >= ? AND DATA_FEITA <= ?");
  else
    sql = QStringLiteral(
        "SELECT DATA, DATA_FEITA, MATRICULA, AVALIADOR, TREINO, '' AS HORA FROM Agendado "
        "WHERE DATA_FEITA >= ? AND DATA_FEITA <= ?");
  QVariantList values{query.period.from, query.period.to};
  if (query.evaluator) {
    sql += QStringLiteral(" AND AVALIADOR = ?");
    values << *query.evaluator;
  }
  if (query.list == ReassessmentList::Scheduled)
    sql += QStringLiteral(" ORDER BY AVALIADOR, DATA, HORA, MATRICULA, TREINO");
  else if (query.synthetic)
    sql += QStringLiteral(" ORDER BY AVALIADOR, DATA_FEITA, MATRICULA, DATA");
  else
    sql += QStringLiteral(" ORDER BY AVALIADOR, DATA_FEITA, MATRICULA, DATA, TREINO");
  return {sql, values};
}

PeriodRefusal refusal(PeriodField field, const QString& text, const QString& detail) {
  return {field, FieldError{text, detail, true}};
}

}  // namespace

std::variant<QDate, PeriodRefusal> readPeriodDate(PeriodField field, const QString& text) {
  if (const std::optional<QDate> date = parseTypedDate(text)) return *date;
  return refusal(field, Msg::DadoIncorreto,
                 field == PeriodField::Initial ? QStringLiteral("Data inicial")
                                               : QStringLiteral("Data final"));
}

std::variant<Period, PeriodRefusal> readPeriod(const QString& initial, const QString& final) {
  const auto from = readPeriodDate(PeriodField::Initial, initial);
  if (const auto* refused = std::get_if<PeriodRefusal>(&from)) return *refused;
  const auto to = readPeriodDate(PeriodField::Final, final);
  if (const auto* refused = std::get_if<PeriodRefusal>(&to)) return *refused;
  if (std::get<QDate>(to) < std::get<QDate>(from))
    return refusal(PeriodField::Final, Msg::IntervaloInvalido,
                   QStringLiteral("Data final Menor que Data inicial"));
  return Period{std::get<QDate>(from), std::get<QDate>(to)};
}

Result<QList<ReassessmentRow>> selectReassessments(const QSqlDatabase& workoutDb,
                                                   const ReassessmentQuery& query) {
  QList<ReassessmentRow> rows;
  try {
    const auto [sql, values] = selection(query);
    QSqlQuery q = runSql(workoutDb, sql, values);
    while (q.next()) {
      ReassessmentRow row;
      row.data = q.value(0).toDate();
      row.dataFeita = q.value(1).toDate();
      row.matricula = q.value(2).toString();
      row.avaliador = q.value(3).toString();
      row.treino = q.value(4).toString();
      row.hora = q.value(5).toString();
      rows << row;
    }
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Agendado"),
                   QStringLiteral("%1, Agendado: %2").arg(reassessmentTitle(query.list), e.text())};
  }
  return rows;
}

Outcome nameReassessments(const QSqlDatabase& peopleDb, const PeopleTables& people,
                          QList<ReassessmentRow>& rows) {
  const QString missing = missingMemberName(people.source == DataSource::Vantrel);
  // A member or an evaluator is looked up once however many lines name them.
  QHash<QString, QString> members;
  QHash<QString, QString> evaluators;
  QString table = QStringLiteral("Alunos");
  try {
    for (ReassessmentRow& row : rows) {
      auto member = members.constFind(row.matricula);
      if (member == members.cend())
        member = members.insert(row.matricula, memberColumn(peopleDb, people.members,
                                                            QStringLiteral("NOME"), row.matricula)
                                                   .value_or(missing));
      row.nome = *member;
    }
    table = QStringLiteral("Funcionario");
    for (ReassessmentRow& row : rows) {
      auto evaluator = evaluators.constFind(row.avaliador);
      if (evaluator == evaluators.cend())
        evaluator =
            evaluators.insert(row.avaliador, staffName(peopleDb, people.staff, row.avaliador));
      row.avaliadorNome = *evaluator;
    }
  } catch (const SqlError& e) {
    return peopleUnavailable(people.source, table, e.text());
  }
  return Done{};
}

Result<QStringList> reassessmentAddresses(const QSqlDatabase& peopleDb, const PeopleTables& people,
                                          const QList<ReassessmentRow>& rows) {
  QHash<QString, QString> known;
  QStringList addresses;
  try {
    for (const ReassessmentRow& row : rows) {
      auto address = known.constFind(row.matricula);
      if (address == known.cend())
        address = known.insert(row.matricula, memberColumn(peopleDb, people.members,
                                                           QStringLiteral("EMAIL"), row.matricula)
                                                  .value_or(QString())
                                                  .trimmed());
      if (!address->isEmpty()) addresses << *address;
    }
  } catch (const SqlError& e) {
    return peopleUnavailable(people.source, QStringLiteral("Alunos"), e.text());
  }
  return addresses;
}

int daysAhead(const ReassessmentRow& row) {
  return int(row.dataFeita.daysTo(row.data));
}

QString reassessmentTitle(ReassessmentList list) {
  return list == ReassessmentList::Done ? QStringLiteral("Séries Feitas")
                                        : QStringLiteral("Séries Agendadas");
}

Report reassessmentReport(const ReassessmentQuery& query, const QList<ReassessmentRow>& rows,
                          const ReassessmentHeading& heading) {
  using namespace listing;
  const bool done = query.list == ReassessmentList::Done;
  const bool synthetic = done && query.synthetic;
  Report report =
      portrait(done ? QStringLiteral("Treinos Feitos") : QStringLiteral("Treinos Agendados"));
  const double width = report.bodyWidth();

  addTitles(report.pageHeader, reassessmentTitle(query.list), heading.gym, width);
  report.pageHeader.texts << text(QRectF(width - 45, 0, 45, 5), dateText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(width - 45, 5, 45, 5), timeText(heading.printedAt),
                                  font(9), Qt::AlignRight)
                          << text(QRectF(0, 18, width, 5),
                                  QStringLiteral("%1 à %2").arg(dayText(heading.period.from),
                                                                dayText(heading.period.to)),
                                  font(10), Qt::AlignHCenter);

  // The "Data" column stays empty on the lines: the day's header writes its date there.
  constexpr double kMatricula = 26;
  constexpr double kDay = 22;
  constexpr double kLetter = 16;
  constexpr double kLast = 25;
  QList<ReportColumn>& columns = report.detail.columns;
  columns = {{QStringLiteral("Matricula"), kMatricula, Qt::AlignLeft},
             {QStringLiteral("Data"), kDay, Qt::AlignLeft},
             {synthetic ? QString() : QStringLiteral("Treino"), kLetter, Qt::AlignHCenter}};
  if (done)
    columns << ReportColumn{QStringLiteral("Nome"), width - kMatricula - kDay - kLetter - 2 * kLast,
                            Qt::AlignLeft}
            << ReportColumn{QStringLiteral("Agendado"), kLast, Qt::AlignLeft}
            << ReportColumn{synthetic ? QString() : QStringLiteral("Dif. Dias"), kLast,
                            Qt::AlignRight};
  else
    columns << ReportColumn{QStringLiteral("Nome"), width - kMatricula - kDay - kLetter - kLast,
                            Qt::AlignLeft}
            << ReportColumn{QStringLiteral("Hora"), kLast, Qt::AlignLeft};
  report.columnHeader = columnHeaderBand(report.detail, kColumnHeaderHeight, font(10, true));
  report.columnHeader.rules << ReportRule{QPointF(0, kColumnHeaderHeight - 0.5),
                                          QPointF(width, kColumnHeaderHeight - 0.5), 0.3};

  // The evaluator's name rides on each line past the columns, for the evaluator's header.
  const int evaluatorNameCell = int(columns.size());
  ReportGroupLevel evaluator;
  evaluator.header.height = 8;
  ReportText registration = text(QRectF(0, 1, kMatricula, 6), QString(), font(10, true));
  registration.source = TextSource::GroupValue;
  ReportText evaluatorName = text(QRectF(kMatricula + 24, 1, 110, 6), QString(), font(10, true));
  evaluatorName.source = TextSource::RowCell;
  evaluatorName.cell = evaluatorNameCell;
  evaluator.header.texts << registration
                         << text(QRectF(kMatricula, 1, 22, 6), QStringLiteral("Avaliador"),
                                 font(10))
                         << evaluatorName;
  evaluator.header.rules << ReportRule{QPointF(0, 0.5), QPointF(width, 0.5), 0.2};

  ReportGroupLevel day;
  day.header.height = 6;
  ReportText date = text(QRectF(kMatricula + 1, 0, kDay, 6), QString(), font(9, true));
  date.source = TextSource::GroupValue;
  day.header.texts << date;

  // A footer: its label and the number of lines of its group.
  const auto countFooter = [&](ReportBand& band, const QString& label, double height, bool bold) {
    band.height = height;
    band.texts << text(QRectF(0, 0, width - 30, height), label, font(9, bold), Qt::AlignRight);
    ReportText count =
        text(QRectF(width - 28, 0, 20, height), QString(), font(9, bold), Qt::AlignRight);
    count.source = TextSource::GroupCount;
    band.texts << count;
  };
  countFooter(day.footer, QStringLiteral("Total de Alunos por Data :"), 6, false);
  countFooter(evaluator.footer, QStringLiteral("Total de Alunos por Avaliador :"), 7, true);
  report.groupLevels = {evaluator, day};

  report.summary.height = 10;
  report.summary.rules << ReportRule{QPointF(0, 1), QPointF(width, 1), 0.3};
  report.summary.texts << text(QRectF(0, 2, width - 30, 7),
                               QStringLiteral("Total de Alunos no Período :"), font(10, true),
                               Qt::AlignRight)
                       << text(QRectF(width - 28, 2, 20, 7), QString::number(rows.size()),
                               font(10, true), Qt::AlignRight);

  for (const ReassessmentRow& r : rows) {
    QStringList cells{r.matricula, QString(), synthetic ? QString() : r.treino, r.nome};
    if (done)
      cells << dayText(r.data)
            << (synthetic || !r.data.isValid() || !r.dataFeita.isValid()
                    ? QString()
                    : QString::number(daysAhead(r)));
    else
      cells << r.hora;
    cells << r.avaliadorNome;
    report.rows.append({cells, QString(), {r.avaliador, dayText(done ? r.dataFeita : r.data)}});
  }
  return report;
}

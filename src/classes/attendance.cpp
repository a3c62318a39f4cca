#include "classes/attendance.h"

#include <QSqlQuery>

#include "base/messages.h"
#include "base/typed_date.h"
#include "data/sql.h"
#include "printing/listing_layout.h"

std::variant<AttendancePeriod, PeriodRefused> attendancePeriod(const QString& fromText,
                                                               const QString& toText) {
  const std::optional<QDate> from = parseTypedDate(fromText);
  if (!from) return PeriodRefused{false, QStringLiteral("Data Inicial")};
  const std::optional<QDate> to = parseTypedDate(toText);
  if (!to) return PeriodRefused{true, QStringLiteral("Data Final")};
  if (*to < *from) return PeriodRefused{true, QStringLiteral("Data final Menor que Data inicial")};
  return AttendancePeriod{*from, *to};
}

std::optional<QString> classOfReportLine(const QString& line) {
  const QString code = line.left(2);
  if (code == QStringLiteral("99")) return std::nullopt;
  return code;
}

Result<QList<AttendanceRow>> attendance(const QSqlDatabase& classDb, const AttendanceQuery& query) {
  QString sql = QStringLiteral(
      "SELECT B.HORA_INICIAL, A.CODIGO_AULA, A.DESCRICAO_AULA, A.MATRICULA, A.ALUNO, "
      "A.FUNCIONARIO, A.USUARIO, A.RECEPCIONISTA, COUNT(A.MATRICULA) AS Frequencia "
      "FROM FrequenciaAula A, AulasColetivas B WHERE ");
  QVariantList values;
  if (query.codigo) {
    sql += QStringLiteral("(A.CODIGO_AULA = ?) AND ");
    values << *query.codigo;
  }
  sql += QStringLiteral(
      "((A.DATA >= ?) AND (A.DATA <= ?)) AND (A.Cliente = ?) AND (A.CODIGO_AULA = B.CODIGO) "
      "AND (B.Cliente = A.Cliente) ");
  values << query.from << query.to << query.cliente;
  const QString member = query.byName ? QStringLiteral("A.ALUNO, A.MATRICULA")
                                      : QStringLiteral("A.MATRICULA, A.ALUNO");
  // The rows come out in the grouping's order on every engine, so a report prints the same way
  // twice.
  const QString grouping =
      QStringLiteral("B.HORA_INICIAL, A.CODIGO_AULA, A.DESCRICAO_AULA, %1, A.FUNCIONARIO, "
                     "A.USUARIO, A.RECEPCIONISTA")
          .arg(member);
  sql += QStringLiteral("GROUP BY %1 ORDER BY A.CODIGO_AULA, %2, A.FUNCIONARIO, A.USUARIO, "
                        "A.RECEPCIONISTA")
             .arg(grouping, member);
  QList<AttendanceRow> rows;
  try {
    QSqlQuery q = runSql(classDb, sql, values);
    while (q.next()) {
      const QVariant start = q.value(0);
      rows << AttendanceRow{start.toDateTime().isValid() ? start.toDateTime().time() : start.toTime(),
                            q.value(1).toString(),
                            q.value(2).toString(),
                            q.value(3).toString(),
                            q.value(4).toString(),
                            q.value(5).toString(),
                            q.value(6).toString(),
                            q.value(7).toString(),
                            q.value(8).toInt()};
    }
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("FrequenciaAula"),
                   QStringLiteral("Frequência de aulas: %1").arg(e.text())};
  }
  return rows;
}

Report attendanceReport(const QList<AttendanceRow>& rows, const AttendanceHeading& heading) {
  using namespace listing;
  Report report = portrait(QStringLiteral("Relatório de Agenda de Aula(s) Coletiva(s)"));
  const double width = report.bodyWidth();
  addTitles(report.pageHeader, QStringLiteral("Relatório de Agenda de Aula(s) Coletiva(s)"),
            heading.gym, width);
  report.pageHeader.texts
      << text(QRectF(width - 45, 0, 45, 5), dateText(heading.printedAt), font(9), Qt::AlignRight)
      << text(QRectF(width - 45, 5, 45, 5), timeText(heading.printedAt), font(9), Qt::AlignRight)
      << text(QRectF(0, 18, width, 5),
              QStringLiteral("%1 à %2").arg(heading.fromText, heading.toText), font(10),
              Qt::AlignHCenter);

  constexpr double kMatricula = 28;
  constexpr double kFrequencia = 24;
  constexpr double kLast = 24;
  const QString lastTitle =
      heading.receptionistControl ? QStringLiteral("Operador") : QStringLiteral("Usuário");
  report.detail.columns = {{QString(), kMatricula, Qt::AlignLeft},
                           {QString(), width - kMatricula - kFrequencia - kLast, Qt::AlignLeft},
                           {QString(), kFrequencia, Qt::AlignRight},
                           {QString(), kLast, Qt::AlignHCenter}};

  // The class's description, start and instructor ride on each row past the columns.
  report.groupHeader.height = 14;
  report.groupHeader.rules << ReportRule{QPointF(0, 0.5), QPointF(width, 0.5), 0.2};
  const auto cellText = [&](const QRectF& box, int cell, bool bold) {
    ReportText t = text(box, QString(), font(10, bold));
    t.source = TextSource::RowCell;
    t.cell = cell;
    return t;
  };
  report.groupHeader.texts << text(QRectF(0, 1, 12, 6), QStringLiteral("Aula"), font(10))
                           << cellText(QRectF(12, 1, 80, 6), 4, true)
                           << cellText(QRectF(94, 1, 16, 6), 5, false)
                           << text(QRectF(112, 1, 12, 6), QStringLiteral("Prof."), font(10))
                           << cellText(QRectF(124, 1, width - 124, 6), 6, false)
                           << text(QRectF(width - kFrequencia - kLast, 8, kFrequencia, 5),
                                   QStringLiteral("Frequência"), font(9, true), Qt::AlignRight)
                           << text(QRectF(width - kLast, 8, kLast, 5), lastTitle, font(9, true),
                                   Qt::AlignHCenter);
  report.groupFooter.height = 7;
  report.groupFooter.texts << text(QRectF(0, 0, width - 30, 6),
                                   QStringLiteral("Total de Aluno(s) por Aula Coletiva: "),
                                   font(9, true), Qt::AlignRight);
  ReportText count = text(QRectF(width - 28, 0, 20, 6), QString(), font(9, true), Qt::AlignRight);
  count.source = TextSource::GroupCount;
  report.groupFooter.texts << count;

  for (const AttendanceRow& r : rows)
    report.rows.append(
        {{r.matricula, r.aluno, QString::number(r.frequencia),
          heading.receptionistControl ? r.recepcionista : r.usuario, r.descricaoAula,
          r.horaInicial.toString(QStringLiteral("HH:mm")), r.funcionario},
         r.codigoAula,
         {}});
  return report;
}

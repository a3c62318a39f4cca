#include "portal/portal_publish.h"

#include <QSqlQuery>

#include "base/messages.h"
#include "base/prompter.h"
#include "data/connection.h"
#include "data/schema.h"
#include "data/sql.h"
#include "series/series_store.h"

namespace {

const QString kProblemaBancoInternet =
    QStringLiteral("Problema no Banco de Dados ou Problema na Internet!");

QString weekdayColumnList() {
  return weekdayColumns().join(QStringLiteral(", "));
}

QVariant nullText(const QString& text) {
  return text.trimmed().isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(text);
}

// The rows of the member older than the latest date: of `letter` in the strength and
// stretching tables, of the whole block in the aerobic one.
void deleteOlder(const QSqlDatabase& db, const QString& table, const PortalContext& who,
                 const std::optional<QString>& letter) {
  QString sql = QStringLiteral("DELETE FROM %1 WHERE cliente = ? AND Matricula = ?").arg(table);
  QString sub =
      QStringLiteral("SELECT MAX(Data) FROM %1 WHERE cliente = ? AND Matricula = ?").arg(table);
  QVariantList values{who.customer, who.matricula};
  QVariantList subValues{who.customer, who.matricula};
  if (letter) {
    sql += QStringLiteral(" AND Treino = ?");
    sub += QStringLiteral(" AND Treino = ?");
    values << *letter;
    subValues << *letter;
  }
  runSql(db, sql + QStringLiteral(" AND Data < (") + sub + QLatin1Char(')'), values + subValues);
}

// The portal is shared by every workstation of every gym: two of them publishing the same member
// at once take turns, or both would find no row of today and both add theirs. The member's
// record is found by registration number whatever the gym, so the turn is the number's.
void takeMembersTurn(const QSqlDatabase& portalDb, const PortalContext& who) {
  waitForTurn(portalDb, QStringLiteral("portal:") + who.matricula);
}

}  // namespace

void ensureCustomerRecord(const QSqlDatabase& portalDb, int customer, const QString& academia) {
  // Another workstation may be adding the same gym at this very moment: its row is as good.
  runSql(portalDb,
         QStringLiteral("INSERT INTO Clientes (cod_cliente, academia) VALUES (?, ?) "
                        "ON CONFLICT DO NOTHING"),
         {customer, academia});
}

int portalCustomer(std::optional<double> cliente) {
  return int(qRound64(cliente.value_or(0)));
}

Outcome publishOnPortal(const QString& table,
                        const std::function<void(const QSqlDatabase&)>& work) {
  Connection portal(DataSource::Ondrel, Connection::uniqueName(QStringLiteral("portal")));
  if (!portal.open()) {
    const QString cause = portal.lastError();
    portal.release();
    return Failure{Msg::EntreEmContato, kProblemaBancoInternet,
                   QStringLiteral("Portal, %1: %2").arg(table, cause)};
  }
  const Outcome published =
      writeInTransaction(portal.database(), table, [&] { work(portal.database()); });
  portal.release();
  return published;
}

void publishWorkoutRows(const QSqlDatabase& portalDb, const PortalContext& who,
                        const WorkoutSave& save) {
  takeMembersTurn(portalDb, who);
  const QDate today = save.moment.date();
  runSql(portalDb,
         QStringLiteral("DELETE FROM Portal_Treino WHERE Matricula = ? AND Treino = ? AND Data = ? "
                        "AND cliente = ?"),
         {who.matricula, save.letter, today, who.customer});
  const WeekdayFlags days = chosenDays(save.boxes);
  QSqlQuery insert(portalDb);
  const QString sql =
      QStringLiteral(
          "INSERT INTO Portal_Treino (cliente, CPF, Matricula, Treino, "
          "Codigo_exercicio, Descricao, Aparelho, Repeticoes, Series, Peso, Intervalo, "
          "Obs, Professor, Data, Data_Reavaliacao, Ordem, Regulagem, %1) VALUES (?, ?, "
          "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
          .arg(weekdayColumnList());
  int ordem = 0;
  for (const WorkoutRow& row : save.rows) {
    if (!rowHasContent(row)) continue;
    QVariantList values{who.customer,   who.cpf,       who.matricula,   save.letter,
                        row.code,       row.descricao, row.aparelho,    row.repeticoes,
                        row.series,     row.peso,      row.intervalo,   nullText(row.obs),
                        save.professor, today,         save.changeDate, ++ordem,
                        row.regulagem};
    for (bool day : days) values << day;
    runSql(portalDb, sql, values);
  }
  deleteOlder(portalDb, QStringLiteral("Portal_Treino"), who, save.letter);
  Portal_Aluno(portalDb, who);
}

void publishAerobicRows(const QSqlDatabase& portalDb, const PortalContext& who,
                        const QString& professor, const QDate& today, const WeekdayFlags& days,
                        const QList<AerobicRow>& rows) {
  takeMembersTurn(portalDb, who);
  for (const AerobicRow& row : rows) {
    const QVariant id = scalarSql(
        portalDb,
        QStringLiteral("SELECT ID FROM Portal_Aerobica WHERE Matricula = ? AND Cliente = ? AND "
                       "Codigo_exercicio = ? AND Data = ?"),
        {who.matricula, who.customer, row.code, today});
    if (!row.prescribed()) {
      if (id.isValid())
        runSql(portalDb, QStringLiteral("DELETE FROM Portal_Aerobica WHERE ID = ?"), {id});
      continue;
    }
    QVariantList values{who.customer, who.cpf,        row.descricao, row.aparelho,
                        row.duracao,  row.velocidade, row.nivel,     professor};
    for (bool day : days) values << day;
    if (id.isValid()) {
      runSql(portalDb,
             QStringLiteral("UPDATE Portal_Aerobica SET Cliente = ?, CPF = ?, Descricao = ?, "
                            "Aparelho = ?, Duracao = ?, Velocidade = ?, Nivel_dificuldade = ?, "
                            "Professor = ?, Dom = ?, Seg = ?, Ter = ?, Qua = ?, Qui = ?, Sex = ?, "
                            "Sab = ? WHERE ID = ?"),
             values << id);
    } else {
      runSql(portalDb,
             QStringLiteral("INSERT INTO Portal_Aerobica (Cliente, CPF, Descricao, Aparelho, "
                            "Duracao, Velocidade, Nivel_dificuldade, Professor, %1, Matricula, "
                            "Codigo_exercicio, Data) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
                            "?, ?, ?, ?, ?, ?)")
                 .arg(weekdayColumnList()),
             values << who.matricula << row.code << today);
    }
  }
  deleteOlder(portalDb, QStringLiteral("Portal_Aerobica"), who, std::nullopt);
  Portal_Aluno(portalDb, who);
}

void publishStretchingRow(const QSqlDatabase& portalDb, const PortalContext& who,
                          const QString& letter, const QDate& today, const StretchChoice& choice) {
  takeMembersTurn(portalDb, who);
  QSqlQuery latest = runSql(
      portalDb,
      QStringLiteral("SELECT ID, Data FROM Portal_Alongamento WHERE Matricula = ? AND Treino = ? "
                     "AND Cliente = ? ORDER BY Data DESC, ID DESC"),
      {who.matricula, letter, who.customer});
  QVariant id;
  if (latest.next() && latest.value(1).toDate() >= today) id = latest.value(0);
  latest.finish();
  QStringList columns{QStringLiteral("Cliente"),   QStringLiteral("CPF"),
                      QStringLiteral("Matricula"), QStringLiteral("Treino"),
                      QStringLiteral("Data"),      QStringLiteral("Obs")};
  QVariantList values{who.customer, who.cpf, who.matricula, letter, today, choice.obs};
  for (int i = 0; i < kStretchColumns; ++i) {
    columns << stretchColumns()[i];
    values << choice.stretches[i];
  }
  if (id.isValid())
    runSql(portalDb,
           QStringLiteral("UPDATE Portal_Alongamento SET %1 = ? WHERE ID = ?")
               .arg(columns.join(QStringLiteral(" = ?, "))),
           values << id);
  else
    runSql(portalDb,
           QStringLiteral("INSERT INTO Portal_Alongamento (%1) VALUES (?%2)")
               .arg(columns.join(QStringLiteral(", ")),
                    QStringLiteral(", ?").repeated(columns.size() - 1)),
           values);
  deleteOlder(portalDb, QStringLiteral("Portal_Alongamento"), who, letter);
  Portal_Aluno(portalDb, who);
}

void Portal_Aluno(const QSqlDatabase& portalDb, const PortalContext& who) {
  // Without the assessment the integration promises, the record is left as it is.
  if (who.assessmentFailed) return;
  QSqlQuery found = runSql(portalDb,
                           QStringLiteral("SELECT ID, cliente FROM Alunos WHERE Matricula = ? AND "
                                          "(CPF = ? OR Email = ?) ORDER BY ID"),
                           {who.matricula, who.cpf, who.email});
  QVariant id;
  int customer = who.customer;
  if (found.next()) {
    id = found.value(0);
    customer = found.value(1).toInt();
  }
  found.finish();
  if (!id.isValid()) {
    runSql(portalDb, QStringLiteral("INSERT INTO Alunos (cliente, CPF) VALUES (?, ?)"),
           {who.customer, who.cpf});
    id = scalarSql(portalDb,
                   QStringLiteral("SELECT MAX(ID) FROM Alunos WHERE cliente = ? AND CPF = ?"),
                   {who.customer, who.cpf});
  } else if (customer != who.customer) {
    runSql(portalDb, QStringLiteral("UPDATE Alunos SET cliente = ? WHERE ID = ?"),
           {who.customer, id});
  }
  runSql(portalDb,
         QStringLiteral("UPDATE Alunos SET Email = ?, Matricula = ?, Nome = ? WHERE ID = ?"),
         {who.email, who.matricula, who.nome, id});
  if (who.assessment) {
    const SheetAssessment& a = *who.assessment;
    runSql(portalDb, QStringLiteral("UPDATE Alunos SET Objetivo = ? WHERE ID = ?"),
           {a.objetivos, id});
    const QString reavaliacao = a.proximaReavaliacao.isValid()
                                    ? a.proximaReavaliacao.toString(QStringLiteral("dd/MM/yyyy"))
                                    : QString();
    for (const auto& [column, value] : {std::pair{QStringLiteral("Reavaliacao"), reavaliacao},
                                        {QStringLiteral("Peso"), a.peso},
                                        {QStringLiteral("Gordura"), a.gordura}})
      if (!value.isEmpty())
        runSql(portalDb, QStringLiteral("UPDATE Alunos SET %1 = ? WHERE ID = ?").arg(column),
               {value, id});
  }
  ensureCustomerRecord(portalDb, who.customer, who.academia);
}

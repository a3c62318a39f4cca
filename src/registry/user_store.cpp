#include "registry/user_store.h"

#include <QSqlQuery>

#include "base/messages.h"
#include "base/password.h"
#include "data/schema.h"
#include "data/sql.h"
#include "registry/catalogue_edit.h"

namespace {

const QString kSim = QStringLiteral("Sim");
const QString kNao = QStringLiteral("Não");
const QString kUsuarios = QStringLiteral("Usuarios");

}  // namespace

const QList<PermissionFlag>& permissionFlags() {
  static const QList<PermissionFlag> flags{
      {"C_ALUNOS", "Alunos", "Cadastro"},
      {"C_EXCLUI_ALUNOS", "Excluir Alunos", "Cadastro"},
      {"C_GrupamentoMuscular", "Grupamento Muscular", "Cadastro"},
      {"C_EXERCICIOS", "Exercícios", "Cadastro"},
      {"C_FUNCIONARIO", "Funcionários", "Cadastro"},
      {"U_CADASTRODEUSUARIOS", "Usuários", "Cadastro"},
      {"E_TIPOEXERCICIO", "Tipo de Exercício", "Exercícios"},
      {"IMP_SERIE_40", "Impressão de Série 40 Colunas", "Exercícios"},
      {"R_SeriesVencidas", "Séries Vencidas", "Relatórios"},
      {"R_AvaliacoesFeitas", "Séries Feitas", "Relatórios"},
      {"R_AvaliacoesAgendadas", "Séries Agendadas", "Relatórios"},
      {"U_BACKUP", "Backup", "Utilitários "},
      {"U_RESTAURACAODOBACKUP", "Restauração do Backup", "Utilitários "},
      {"U_PARAMETRIZACAOUSUARIO", "Nível de Usuário", "Utilitários "},
      {"U_REESVAZIARMOVIMENTACAO", "Esvaziar Aquivos", "Utilitários "},
      {"U_PARAMETRIZACAOSISTEMA", "Configuração de Sistema", "Utilitários "},
      {"AGENDA", "Agenda Montagem de Séries", "Utilitários "},
  };
  return flags;
}

const QStringList& permissionGroups() {
  static const QStringList groups{QStringLiteral("Cadastro"), QStringLiteral("Exercícios"),
                                  QStringLiteral("Relatórios"), QStringLiteral("Utilitários ")};
  return groups;
}

QStringList allPermissionColumns() {
  QStringList columns;
  for (const ColumnDef& c : findTable(Database::Workout, kUsuarios)->columns) {
    const QString upper = c.name.toUpper();
    if (upper == QLatin1String("ID") || upper == QLatin1String("CODIGO") ||
        upper == QLatin1String("NOME") || upper == QLatin1String("SENHA") ||
        upper == QLatin1String("MATRICULA"))
      continue;
    columns << c.name;
  }
  return columns;
}

QString padUserCode(const QString& typed) {
  return typed.size() == 1 ? QLatin1Char('0') + typed : typed;
}

bool isMasterUser(const QString& code) {
  return code == kMasterUserCode;
}

bool mayChangeUser(const QString& loggedIn, const QString& selected) {
  return !isMasterUser(selected) || isMasterUser(loggedIn);
}

bool mayDeleteUser(const QString& loggedIn, const QString& selected) {
  return !isMasterUser(selected) && selected != loggedIn;
}

std::optional<FieldError> checkNewPasswords(const QString& password, const QString& retyped) {
  if (password.size() != 6 || retyped.size() != 6)
    return FieldError{Msg::DadoIncorreto, QStringLiteral("Senha INCORRETA"), true};
  if (password != retyped) return FieldError{Msg::SenhaNaoConfere, QString(), true};
  return std::nullopt;
}

bool userExists(const QSqlDatabase& db, const QString& code) {
  return scalarSql(db, QStringLiteral("SELECT COUNT(*) FROM Usuarios WHERE CODIGO = ?"), {code})
             .toInt() > 0;
}

QStringList instructorChoices(const QSqlDatabase& db, const QString& staffTable) {
  QSqlQuery query = runSql(db,
                           QStringLiteral("SELECT MATRICULA, NOME FROM %1 WHERE CARGO LIKE ? AND "
                                          "DATA_DEMISSAO IS NULL ORDER BY MATRICULA")
                               .arg(staffTable),
                           {QStringLiteral("%PROF MUSC%")});
  QStringList choices;
  while (query.next())
    choices << query.value(0).toString() + QStringLiteral(" - ") + query.value(1).toString();
  return choices;
}

QString staffLinkOf(const QString& listEntry) {
  return listEntry.left(10).trimmed();
}

ConfirmResult insertUser(const QSqlDatabase& db, const NewUser& user) {
  QStringList columns{QStringLiteral("CODIGO"), QStringLiteral("NOME"), QStringLiteral("SENHA"),
                      QStringLiteral("Matricula")};
  QVariantList values{user.code, user.name, hashPassword(user.password), user.staffLink};
  for (const QString& flag : allPermissionColumns()) {
    columns << flag;
    values << (user.fullAccess ? kSim : kNao);
  }
  // Two workstations creating the same code: the second is told, inside its own transaction
  // or by the unique index, and nothing is stored twice.
  return insertWithFreeCode(
      db, kUsuarios, [&] { return userExists(db, user.code); },
      [&] {
        runSql(db,
               QStringLiteral("INSERT INTO Usuarios (%1) VALUES (?%2)")
                   .arg(columns.join(QStringLiteral(", ")),
                        QStringLiteral(", ?").repeated(columns.size() - 1)),
               values);
      });
}

Outcome changeUserPassword(const QSqlDatabase& db, const QString& code, const QString& password,
                           const QString& staffLink) {
  return writeInTransaction(db, kUsuarios, [&] {
    runSql(db, QStringLiteral("UPDATE Usuarios SET SENHA = ?, Matricula = ? WHERE CODIGO = ?"),
           {hashPassword(password), staffLink, code});
  });
}

Outcome deleteUser(const QSqlDatabase& db, const QString& code) {
  return writeInTransaction(db, kUsuarios, [&] {
    runSql(db, QStringLiteral("DELETE FROM Usuarios WHERE CODIGO = ?"), {code});
  });
}

Outcome saveUserFlags(const QSqlDatabase& db, const QString& code,
                      const QHash<QString, QString>& flags) {
  const QStringList known = allPermissionColumns();
  QStringList sets;
  QVariantList values;
  for (auto it = flags.cbegin(); it != flags.cend(); ++it) {
    if (!known.contains(it.key())) continue;  // column names never come from elsewhere
    sets << it.key() + QStringLiteral(" = ?");
    values << it.value();
  }
  values << code;
  return writeInTransaction(db, kUsuarios, [&] {
    if (sets.isEmpty()) return;
    runSql(db,
           QStringLiteral("UPDATE Usuarios SET %1 WHERE CODIGO = ?")
               .arg(sets.join(QStringLiteral(", "))),
           values);
  });
}

QString toggledFlag(const QString& value) {
  return value == kSim ? kNao : kSim;
}

#include "registry/user_listing_window.h"

#include <QSqlQuery>

#include "base/error_log.h"
#include "base/messages.h"
#include "base/prompter.h"
#include "data/sql.h"
#include "registry/catalogue_reports.h"
#include "registry/user_store.h"

namespace {

bool userCodeSortsBefore(const QString& a, const QString& b) {
  bool aNumber = false, bNumber = false;
  const int x = a.toInt(&aNumber), y = b.toInt(&bNumber);
  return aNumber && bNumber ? x < y : a < b;
}

}  // namespace

const CodeCatalogue& userCatalogue() {
  static const CodeCatalogue catalogue{QStringLiteral("Usuarios"), QStringLiteral("CODIGO"),
                                       QStringLiteral("NOME"), padUserCode, userCodeSortsBefore};
  return catalogue;
}

Result<Report> userListing(const QSqlDatabase& db, const CodeRange& range) {
  QList<std::pair<QString, QString>> users;
  try {
    QSqlQuery query =
        runSql(db,
               QStringLiteral("SELECT CODIGO, NOME FROM USUARIOS "
                              "WHERE (CODIGO >= ?) AND (CODIGO <= ?) ORDER BY CODIGO"),
               {range.from, range.to});
    while (query.next()) users.append({query.value(0).toString(), query.value(1).toString()});
  } catch (const SqlError& e) {
    return Failure{Msg::AberturaDeTabela, QStringLiteral("Usuarios"),
                   QStringLiteral("Abertura de tabela Usuarios: %1").arg(e.text())};
  }
  return codeListingReport({QStringLiteral("Consulta de Usuários"), QStringLiteral("Código"),
                            QStringLiteral("Nome do Usuário"), ListingStyle::RuledHeader},
                           users, currentHeading(range));
}

TFRMCONSULTAUSUARIOS::TFRMCONSULTAUSUARIOS(QWidget* parent)
    : RangeListingWindow(QStringLiteral("Consulta a Usuários"), userCatalogue(), 2, userListing,
                         parent) {
  setObjectName(QStringLiteral("TFRMCONSULTAUSUARIOS"));
}

// The code range of the two catalogue listings (exercises, muscle groups): what Enter in
// "Código Inicial " and "Código Final " does, and the range the command line resolves the same
// way.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <optional>

#include "base/field_error.h"

// Both ends included. Empty ends only come from an empty table.
struct CodeRange {
  QString from;
  QString to;
};

// How a listing finds its way among its catalogue's codes. The names are fixed identifiers of
// the program's tables, never user text.
struct CodeCatalogue {
  QString table;  // also the detail of "Abertura de tabela !"
  QString codeColumn;
  QString descriptionColumn;
  QString (*pad)(const QString& typed);                     // the code as typed, as stored
  bool (*sortsBefore)(const QString& a, const QString& b);  // the listing's order of codes
};

// The outcome of Enter in one end of the range. With an error the window shows it (MENSAGEM),
// clears the field when the error says so and keeps the focus there. A table that cannot be
// read gives "Abertura de tabela !" with the table's name.
struct RangeEnd {
  std::optional<FieldError> error;
  QString code;  // what the field shows now: the padded code, or the one taken from the table
  QString description;  // shown beside the field

  bool ok() const { return !error; }
};

// Enter in "Código Inicial " (EDTCODIGOINICIAL): an empty text takes the catalogue's first code;
// any other is padded and must exist ("Código não cadastrado !").
RangeEnd enterInitialCode(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                          const QString& typed);

// Enter in "Código Final " (EDTCODIGOFINAL): an empty text takes the catalogue's last code; any
// other is padded. A code that sorts before `initial` gives "Intervalo Inválido !"; one that
// does not exist, "Código não cadastrado !".
RangeEnd enterFinalCode(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                        const QString& typed, const QString& initial);

// Both ends at once, as the command line needs them; a refused end is shown through MENSAGEM
// and gives nothing.
std::optional<CodeRange> resolveCodeRange(const QSqlDatabase& db, const CodeCatalogue& catalogue,
                                          const QString& typedFrom, const QString& typedTo);

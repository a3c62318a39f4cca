// TFRMCONSULTAUSUARIOS ("Consulta a Usuários") and the printed user list.
#pragma once

#include "forms/range_listing_window.h"

// The users as a code catalogue: codes padded like the registry pads them, compared as numbers.
const CodeCatalogue& userCatalogue();

// "Consulta de Usuários": the users of the range, one line each, with the gym, the range,
// the date and time on every page. nullopt after telling the user the table cannot be read.
Result<Report> userListing(const QSqlDatabase& db, const CodeRange& range);

class TFRMCONSULTAUSUARIOS : public RangeListingWindow {
  Q_OBJECT

 public:
  explicit TFRMCONSULTAUSUARIOS(QWidget* parent = nullptr);
};

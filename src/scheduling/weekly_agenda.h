// Editing the weekly grid: one hour per row, stored as the editor leaves the row. Two
// workstations may edit the grid at once; a row changed or deleted at the other one since it
// was read is not overwritten, and an hour is never stored twice.
#pragma once

#include <QSqlDatabase>
#include <QString>

#include "base/failure.h"
#include "scheduling/agenda.h"

// The hour as typed ("9:00", "09.00", "0900", " 9:00") written "HH:MM"; "Dado INCORRETO !"
// ("Hora") for anything that is not an hour of the day.
Result<QString> typedHour(const QString& text);

// A row of the editor: what it holds now and what was read from the table (an empty hour:
// a row not stored yet).
struct AgendaRow {
  AgendaSlot slot;
  AgendaSlot stored;
  bool isStored() const { return !stored.hora.isEmpty(); }
  bool changed() const { return slot != stored; }
  // A new row nobody wrote in: left out instead of stored.
  bool blank() const;
};

// Stores the row in one transaction, the grid's writers taking turns: inserted when new,
// updated when it still holds what was read. Refused with "Dado INCORRETO !" ("Hora") for an
// hour that is no hour, "Hora já cadastrada !" for an hour another row has, and "Gravando na
// tabela !" when another workstation changed or deleted the row meanwhile.
Outcome storeAgendaRow(const QSqlDatabase& db, const AgendaRow& row);

// Deletes the stored hour.
Outcome deleteAgendaRow(const QSqlDatabase& db, const QString& hora);

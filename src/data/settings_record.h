// The settings row: the one row of Secvar that every window reads its settings from.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>
#include <optional>

// Every Secvar column's value for a new installation, keyed by the column's name as the
// table definition spells it. Yes/no settings are "Sim" / "Não".
QVariantMap defaultSettings();

// Inserts the settings row when Secvar has none: the defaults, with `overrides` (keys are
// column names, any case) taking their place. A table that has its row is left as it is.
// False, with the reason in `error`, when the row cannot be written or an override names
// no column of Secvar.
bool ensureSettingsRow(const QSqlDatabase& db, const QVariantMap& overrides = {},
                       QString* error = nullptr);

// The settings row, keyed by the column names as the table definition spells them (whatever
// case the server hands back), each value as its column's C++ type. Nothing when the table
// cannot be read or holds no row.
std::optional<QVariantMap> readSettings(const QSqlDatabase& db);

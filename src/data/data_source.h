// The databases the program talks to and where their data-link files live.
#pragma once

#include <QString>

#include "base/installation_folder.h"

// Each data source is one database, named by its data-link file in the
// installation folder (or in its SA/ folder for the group-class links).
enum class DataSource {
  Vantrel,        // the workout database, the program's own
  Brisca,         // the gym-management database
  Tamsel,         // the physical-assessment database
  Ondrel,         // the members' web-portal database
  RestoreBackup,  // the link used only by the restore
  SaBrisca,       // SA/Brisca.udl, used by the group-class windows
  SaOndrel,       // SA/Ondrel.udl, used by the group-class windows
};

// "Vantrel.udl", "SA/Brisca.udl", ...: the link file relative to the installation folder.
QString linkFileName(DataSource source);

// Absolute path of the data source's link file.
QString linkFilePath(DataSource source);

// Short name used in messages and logs ("Vantrel", "Brisca", ...).
QString dataSourceName(DataSource source);

// Members, member photos and staff live in the workout database when the
// program runs alone (PATH_EXERCICIO "Sim"), in the gym-management database otherwise.
DataSource memberDataSource(const QString& pathExercicio);

// Users and their access levels without the windows: the flags and how the access-level
// window groups them, the master-user rules, passwords and the writes of the users table.
#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <optional>

#include "base/field_error.h"
#include "registry/catalogue_edit.h"

// The master user: the one whose code is this; nobody can delete it.
inline const QString kMasterUserCode = QStringLiteral("01");
// Its password until the gym changes it.
inline const QString kMasterFirstPassword = QStringLiteral("MESTRE");

struct PermissionFlag {
  QString column;
  QString label;  // as the access-level window shows it
  QString group;  // "Cadastro", "Exercícios", "Relatórios", "Utilitários "
};

// The flags the access-level window shows, group by group in its order.
const QList<PermissionFlag>& permissionFlags();
// The four groups, in the order of their choices.
const QStringList& permissionGroups();

// Every flag column of the users table (C_ATIVIDADE included).
QStringList allPermissionColumns();

// "7" is user "07".
QString padUserCode(const QString& typed);

bool isMasterUser(const QString& code);
// Only the master user may change the master user's record.
bool mayChangeUser(const QString& loggedIn, const QString& selected);
// Nobody deletes the master user, and nobody deletes himself.
bool mayDeleteUser(const QString& loggedIn, const QString& selected);

// The new password and its retype: six characters each and equal.
std::optional<FieldError> checkNewPasswords(const QString& password, const QString& retyped);

// Whether a user with this code exists. Throws SqlError.
bool userExists(const QSqlDatabase& db, const QString& code);

// The staff a user can be linked to: instructors ("PROF MUSC" in CARGO) still employed, as
// "MATRICULA - NOME", in MATRICULA order. Throws SqlError.
QStringList instructorChoices(const QSqlDatabase& db, const QString& staffTable);

// The link stored for a list entry: its first ten characters (the registration number).
QString staffLinkOf(const QString& listEntry);

struct NewUser {
  QString code;
  QString name;
  QString password;  // the six characters typed
  QString staffLink;
  bool fullAccess;  // every flag "Sim", or every flag "Não"
};

// The writes of the user registry, each in one transaction through the write pattern
// ("Gravando na tabela !" / "Usuarios" on failure). Passwords are stored salted and hashed.
// A code stored meanwhile by another workstation gives "Código já Cadastrado !" (Duplicate).
ConfirmResult insertUser(const QSqlDatabase& db, const NewUser& user);
Outcome changeUserPassword(const QSqlDatabase& db, const QString& code, const QString& password,
                           const QString& staffLink);
Outcome deleteUser(const QSqlDatabase& db, const QString& code);

// The access-level window's write: every flag given, in one transaction.
Outcome saveUserFlags(const QSqlDatabase& db, const QString& code,
                      const QHash<QString, QString>& flags);

// A double click on a flag list: "Sim" becomes "Não", anything else "Sim".
QString toggledFlag(const QString& value);

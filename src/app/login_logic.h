// Who is working: the login and re-authentication steps without their widgets. Each step
// tells the user through MENSAGEM and returns what the dialog must do next.
#pragma once

#include <QString>

class Session;
class UsersTable;

// Both counters start at 1; reaching 4 means three failures.
struct AccessAttempts {
  int code = 1;
  int password = 1;
  bool accepted = false;
};

enum class AccessStep {
  Accepted,   // the code was found / the password matches
  Refused,    // try again
  Exhausted,  // no tries left
};

// The login dialog's tables: the settings (for AlunosAtivos) and the users. False after
// telling the user what failed; the program then ends.
bool openLoginTables(Session& session, UsersTable& users);

// The login's code step: `code` is looked up exactly ("1" is not "01"). Found: it becomes
// the session's user. Failures are not counted while the user is being changed.
AccessStep loginCode(Session& session, UsersTable& users, const QString& code,
                     AccessAttempts& attempts, bool changingUser);
// The login's password step for the user found by the code step.
AccessStep loginPassword(const UsersTable& users, const QString& typed, AccessAttempts& attempts,
                         bool changingUser);

// The re-authentication's steps, on the main window's users table. Every failure counts; the
// third closes the table, so the entry that asked opens nothing.
AccessStep reauthCode(UsersTable& users, const QString& code, AccessAttempts& attempts);
AccessStep reauthPassword(UsersTable& users, const QString& typed, AccessAttempts& attempts);

// Users' passwords: stored as salted PBKDF2 hashes, compared as the six upper-case
// characters the user types.
#pragma once

#include <QString>

// A new salted hash of `password` ("pbkdf2-sha256$<iterations>$<salt>$<hash>", base64).
QString hashPassword(const QString& password);

// True when `typed` is the password `stored` holds. A stored value that is not one of our
// hashes is an older installation's plain text and is compared exactly.
bool passwordMatches(const QString& typed, const QString& stored);

bool isPasswordHash(const QString& stored);

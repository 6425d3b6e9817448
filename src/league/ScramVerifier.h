#pragma once

#include <QByteArray>
#include <QString>

namespace kf {

// How often a league password is hashed over (PBKDF2) on its way to a verifier, as the
// server itself does by default.
inline constexpr int kScramIterations = 4096;
// The bytes of random salt in each verifier.
inline constexpr int kScramSaltBytes = 16;

// A password as the server and libpq hash it: SASLprep (spaces of other scripts become plain
// spaces, invisible joiners go, compatibility forms are folded), its UTF-8; the password's own
// UTF-8 when it holds a character SASLprep forbids. Plain ASCII stays as it is.
QByteArray scramPassword(const QString& password);

// The SCRAM-SHA-256 verifier of `password` in the form PostgreSQL keeps in pg_authid:
//
//     SCRAM-SHA-256$<iterations>:<salt>$<StoredKey>:<ServerKey>     (base64 each)
//
// A server given this as a role's password keeps it as it is, so the password itself never
// leaves the machine. With a fresh random salt of kScramSaltBytes, or the salt given.
QString scramVerifier(const QString& password);
QString scramVerifier(const QString& password, const QByteArray& salt,
                      int iterations = kScramIterations);

} // namespace kf

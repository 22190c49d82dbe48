#pragma once

#include <QString>

// Stored user passwords. New ones are libsodium hashes (Argon2id, interactive limits); an older
// database keeps plain text, which is still accepted and replaced by its hash at the next login.
// An empty stored password stays empty: it means "no password" (SESION-SIN-PSW).
class LoginPassword {
public:
    // crypto_pwhash_str of the text; an empty text stays empty.
    static QString hash(const QString &plain);
    static bool isHashed(const QString &stored);
    // A hash is verified; plain text (older databases) must be equal.
    static bool verify(const QString &stored, const QString &typed);
    // Plain text that is not empty, or a hash made with weaker limits than today's.
    static bool needsRehash(const QString &stored);
};

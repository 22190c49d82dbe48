#pragma once

#include <QString>

#include <cstddef>
#include <stdexcept>

// Stored user passwords. New ones are libsodium hashes (Argon2id, interactive limits); an older
// database keeps plain text, which is still accepted and replaced by its hash at the next login.
// An empty stored password stays empty: it means "no password" (SESION-SIN-PSW).
class LoginPassword {
public:
    // Hashing failed (libsodium missing, or not enough memory for Argon2): nothing may be saved.
    struct HashFailure : std::runtime_error {
        HashFailure() : std::runtime_error("No se pudo cifrar la contraseña; no se guardó nada") {}
    };

    // crypto_pwhash_str of the text; an empty text stays empty. Throws HashFailure rather than
    // ever handing back the plain text to be stored.
    static QString hash(const QString &plain);
    static bool isHashed(const QString &stored);
    // A hash is verified; plain text (older databases) must be equal.
    static bool verify(const QString &stored, const QString &typed);
    // Plain text that is not empty, or a hash made with weaker limits than today's.
    static bool needsRehash(const QString &stored);
    // The same Argon2 work as verifying a real hash, for a user that does not exist, so that the
    // time of a refusal does not tell which user names exist.
    static void verifyNothing(const QString &typed);
    // Argon2 verifications done by this process (the equal-work rule is checked by counting).
    static qint64 verifications();

    // The memory Argon2 is given when hashing (tests make it fail with an impossible amount);
    // 0 restores the normal limit.
    static void setHashMemoryLimit(size_t bytes);
};

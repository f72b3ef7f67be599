#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;

// The one place where an encrypted file gets its key. The format is pinned to SQLCipher 3's
// (1 KB pages, 64,000 PBKDF2-SHA1 iterations, HMAC-SHA1), which every SQLCipher from 3.4 on
// reads and writes, so that an archive and its copies cross between systems whatever SQLCipher
// each has: left to itself, SQLCipher 4 writes 4 KB pages with SHA512 that 3.4 cannot read, and
// reads nothing that 3.4 wrote. SQLCipher 3.4 does not know the pragma and ignores it.
class ChiaveArchivio {
public:
    enum class Formato {
        Fissato,    // what the program reads and writes
        Sqlcipher4, // SQLCipher 4's own defaults: only to read a file made before the pinning
    };

    // Keys a connection just opened, before its first read; false when the engine refused.
    static bool Applica(sqlite3* db, const QByteArray& chiave, Formato formato = Formato::Fissato);
    // The same with the program's key.
    static bool Applica(sqlite3* db);

    // Attaches `percorso` as `nome` (made when missing), keyed with the program's key in the
    // pinned format. Returns the engine's result code.
    static int Attacca(sqlite3* db, const QString& percorso, const QString& nome);
};

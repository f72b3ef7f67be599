#pragma once

#include <functional>

struct sqlite3;

// Brings an open, keyed archive to the schema of SchemaArchivio: the steps it lacks, in order, in
// one transaction that also writes the new version. A step that fails undoes them all and the
// file is left as it was. An archive that already holds rows is first copied by `copia`, which
// throws when the copy did not succeed: then nothing is changed either.
class AggiornamentoSchema {
public:
    // The steps the file holds: its `user_version`, or the first release's steps for a file that
    // has its tables but does not count them, or 0 for a file without tables. Throws when the
    // file holds more steps than this program knows (a later program made it).
    static int Versione(sqlite3* db);
    // True when a step was applied. Throws ErroreRuntime, in Italian, when the file cannot be
    // brought up to date.
    static bool Applica(sqlite3* db, const std::function<void()>& copia);
};

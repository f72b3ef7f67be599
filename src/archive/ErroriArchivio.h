#pragma once

#include "platform/ErroreRuntime.h"

#include <QString>

struct sqlite3;

// The archive's failures as the program's error traps expect them: classic numbers with their
// Italian descriptions. Internal to the archive code.
namespace ErroriArchivio {

ErroreRuntime NessunArchivio();
ErroreRuntime NessunRecordCorrente();
ErroreRuntime ElementoNonTrovato();
ErroreRuntime UpdateSenzaAddNew();
ErroreRuntime TabellaNonTrovata(const QString& nome);
ErroreRuntime FileNonTrovato(const QString& percorso);
ErroreRuntime FormatoNonRiconosciuto(const QString& percorso);
// An encrypted file that opens neither in the pinned format nor in SQLCipher 4's: damaged, or
// not an archive of this program. Keeps the classic number of a wrong password.
ErroreRuntime ArchivioIlleggibile(const QString& percorso);
ErroreRuntime ContatoreNonScrivibile(const QString& campo);

// Translates a failed engine call (rc and the connection's message) into the classic error.
ErroreRuntime DaSqlite(sqlite3* db, int rc);

} // namespace ErroriArchivio

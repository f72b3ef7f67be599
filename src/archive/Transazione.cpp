#include "Transazione.h"

#include "Archivio.h"
#include "ErroriArchivio.h"
#include "SqlInterno.h"

#include <sqlite3.h>

Transazione::Transazione(Archivio& archivio)
    : archivio_(archivio) {
    if (!archivio_.db_)
        throw ErroriArchivio::NessunArchivio();
    // Taking the write lock at once: a busy file fails here, before anything is written.
    Esegui(archivio_.db_, "BEGIN IMMEDIATE");
    aperta_ = true;
}

Transazione::~Transazione() {
    // A destructor must not throw; a rollback that fails leaves the engine to undo the writes
    // when the file is next opened.
    if (aperta_ && archivio_.db_)
        sqlite3_exec(archivio_.db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transazione::Conferma() {
    Esegui(archivio_.db_, "COMMIT");
    aperta_ = false;
}

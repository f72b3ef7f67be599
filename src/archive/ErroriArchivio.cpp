#include "ErroriArchivio.h"

#include <sqlite3.h>

namespace ErroriArchivio {

ErroreRuntime NessunArchivio() {
    return {91, QStringLiteral("Variabile oggetto o variabile del blocco With non impostata.")};
}

ErroreRuntime NessunRecordCorrente() {
    return {ErroreRuntime::NessunRecordCorrente, QStringLiteral("Nessun record corrente.")};
}

ErroreRuntime ElementoNonTrovato() {
    return {ErroreRuntime::ElementoNonTrovato,
            QStringLiteral("Elemento non trovato in questo insieme.")};
}

ErroreRuntime UpdateSenzaAddNew() {
    return {ErroreRuntime::UpdateSenzaAddNew,
            QStringLiteral("Update o CancelUpdate senza AddNew o Edit.")};
}

ErroreRuntime TabellaNonTrovata(const QString& nome) {
    return {ErroreRuntime::TabellaNonTrovata,
            QStringLiteral("Il motore di database non trova la tabella o la query di input "
                           "'%1'. Verificare che esista e che il nome sia digitato "
                           "correttamente.")
                .arg(nome)};
}

ErroreRuntime FileNonTrovato(const QString& percorso) {
    return {ErroreRuntime::FileArchivioNonTrovato,
            QStringLiteral("Impossibile trovare il file '%1'.").arg(percorso)};
}

ErroreRuntime FormatoNonRiconosciuto(const QString& percorso) {
    return {ErroreRuntime::FormatoNonRiconosciuto,
            QStringLiteral("Formato di database non riconosciuto: '%1'.").arg(percorso)};
}

ErroreRuntime ArchivioIlleggibile(const QString& percorso) {
    return {ErroreRuntime::PasswordNonValida,
            QStringLiteral("Il file '%1' è danneggiato o non è un archivio di VELTRIKA.")
                .arg(percorso)};
}

ErroreRuntime ContatoreNonScrivibile(const QString& campo) {
    return {ErroreRuntime::SolaLettura,
            QStringLiteral("Impossibile aggiornare il campo '%1': è un contatore, il suo valore "
                           "è assegnato dal database.")
                .arg(campo)};
}

ErroreRuntime DaSqlite(sqlite3* db, int rc) {
    const QString dettaglio =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    switch (rc & 0xff) {
    case SQLITE_CONSTRAINT:
        if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY ||
            rc == SQLITE_CONSTRAINT_ROWID)
            return {
                ErroreRuntime::ChiaveDuplicata,
                QStringLiteral("Impossibile eseguire le modifiche richieste alla tabella perché "
                               "creerebbero valori duplicati nell'indice o nella chiave primaria. "
                               "Modificare i dati nel campo che contiene i valori duplicati e "
                               "riprovare.")};
        return {3317, QStringLiteral("Impossibile aggiornare: le modifiche violano una regola "
                                     "della tabella (%1).")
                          .arg(dettaglio)};
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return {ErroreRuntime::SolaLettura,
                QStringLiteral("Impossibile aggiornare. Il database o l'oggetto è di sola "
                               "lettura.")};
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return {ErroreRuntime::RecordBloccato,
                QStringLiteral("Impossibile aggiornare. Il database è attualmente bloccato da "
                               "un altro utente o processo.")};
    case SQLITE_FULL:
        return {ErroreRuntime::SpazioEsaurito, QStringLiteral("Spazio su disco esaurito.")};
    case SQLITE_IOERR:
        return {3043, QStringLiteral("Errore del disco o della rete (%1).").arg(dettaglio)};
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return {ErroreRuntime::FormatoNonRiconosciuto,
                QStringLiteral("Formato di database non riconosciuto (%1).").arg(dettaglio)};
    case SQLITE_CANTOPEN:
        return {ErroreRuntime::ArchivioNonApribile,
                QStringLiteral("Impossibile aprire il file di database (%1).").arg(dettaglio)};
    default:
        return {3000, QStringLiteral("Errore del motore di database: %1.").arg(dettaglio)};
    }
}

} // namespace ErroriArchivio

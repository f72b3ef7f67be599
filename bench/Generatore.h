#pragma once

#include <QString>
#include <QtGlobal>

// Fills a new archive with plausible data for the measurements: customers, pending messages
// (from customers and from unknown numbers, some already taken in hand) and archived messages.
struct DatiDaGenerare {
    int clienti = 10000;
    int inAttesa = 2000;
    qint64 archiviati = 1000000;
    quint32 seme = 1;
};

// Creates <cartella>/archivio.mdb with the program's schema and fills it in one transaction.
// Throws ErroreRuntime when the file exists or cannot be written.
void GeneraArchivio(const QString& cartella, const DatiDaGenerare& dati);

// The same unless <cartella> already holds an archive, which is then used as it is; says how long
// the generation took.
void GeneraSeManca(const QString& cartella, const DatiDaGenerare& dati);

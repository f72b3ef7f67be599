#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

class Archivio;

// Putting a copy of the archive back in place of the archive in use. The archive in use is
// never overwritten: it is kept beside, under a name with the date and time, and stays there.
class RipristinoArchivio {
public:
    // A pending order, as the list shows it.
    struct Ordine {
        QString numero;
        QString data;
        QString orario;
        QString testo;
    };

    // The name the archive in use is kept under once replaced.
    static QString NomeAccantonato(const QDateTime& quando);

    // The pending orders of the open archive that the copy does not hold (an order is the same
    // when number, date, time and text are). Throws ErroreRuntime when either cannot be read.
    static QList<Ordine> OrdiniMancanti(Archivio& archivio, const QString& copia);

    // Closes the archive, keeps it aside, puts the copy in its place and opens it. Returns the
    // path the replaced archive is kept under. On failure the archive in use is back in place
    // and open again, and ErroreRuntime tells what went wrong.
    static QString Sostituisci(Archivio& archivio, const QString& cartellaProgramma,
                               const QString& copia, const QDateTime& adesso);

    // The archive's bytes rewritten in place, as where its folder does not let this user
    // replace it; a test sets it.
    static inline bool RiscritturaSulPosto = false;
};

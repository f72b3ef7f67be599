#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <chrono>

class Archivio;

// Putting a copy of the archive back in place of the archive in use. The archive in use is
// never lost: its bytes are first kept beside it, under a name with the date and time, and
// stay there. The copy is then written into the archive's own file through the engine's backup,
// in one transaction of the archive's journal: a crash midway leaves the archive as it was, and
// the file keeps its path, owner, group and mode.
class RipristinoArchivio {
public:
    // A pending order, as the list shows it.
    struct Ordine {
        QString numero;
        QString data;
        QString orario;
        QString testo;
    };

    // How long the restore waits, at most, for another program that holds the archive locked.
    static constexpr std::chrono::seconds AttesaBloccoMassima{10};

    // The name the archive in use is kept under once replaced.
    static QString NomeAccantonato(const QDateTime& quando);

    // The pending orders of the open archive that the copy does not hold (an order is the same
    // when number, date, time and text are). Throws ErroreRuntime when either cannot be read.
    static QList<Ordine> OrdiniMancanti(Archivio& archivio, const QString& copia);

    // Keeps the open archive aside, writes the checked copy into it and opens it again. Returns
    // the path the replaced archive is kept under. On failure the archive in use is as it was
    // and open again, and ErroreRuntime tells what went wrong.
    static QString Sostituisci(Archivio& archivio, const QString& cartellaProgramma,
                               const QString& copia, const QDateTime& adesso);

    // The same without the program (it no longer starts): the archive's file, even damaged or
    // missing, is kept aside when there is one and the checked copy written into it. Returns
    // the path of the archive kept aside, empty when there was none.
    static QString RipristinaFile(const QString& cartellaProgramma, const QString& copia,
                                  const QDateTime& adesso);
};

#pragma once

#include <QMap>
#include <QString>

// The check of a copy of the archive: it opens with the program's password, the engine's
// integrity check passes, it holds the program's tables and, when the counts are given, each
// table holds as many rows as the archive had. Opens the file read-only and never changes it;
// safe to run on another thread, as it shares nothing with the open archive.
class VerificaCopia {
public:
    struct Esito {
        bool valida = false;
        // What is wrong, in Italian, for the user; empty when the copy is good.
        QString messaggio;
        // The rows of each table of the copy, by table name.
        QMap<QString, qint64> righe;
    };

    // How deep the engine looks. Both read every page and check its HMAC; only the full check
    // also looks every row up in its indexes, which takes over twice as long.
    enum class Controllo {
        Completo, // PRAGMA integrity_check: a copy about to be restored, the command line
        Rapido,   // PRAGMA quick_check, with the rows counted: the routine copies
    };

    static Esito Verifica(const QString& percorso, const QMap<QString, qint64>* attese = nullptr,
                          Controllo controllo = Controllo::Completo);

    // "N clienti, M SMS in attesa, K SMS archiviati", from the counts of a copy.
    static QString Riassunto(const QMap<QString, qint64>& righe);
};

#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The copies of the archive kept in a backup folder: their names, which of them to keep, and
// the list the windows show. A copy is a file named archivio-YYYY-MM-DD_HHMM.mdb; a copy being
// written carries a further suffix, so that a copy cut short never looks like a good one.
class ConservazioneCopie {
public:
    struct Copia {
        QString percorso;
        QDateTime quando;
        qint64 dimensione = 0;
    };

    static constexpr int GiorniConservati = 7;
    static constexpr int SettimaneConservate = 4;

    static QString Nome(const QDateTime& quando);
    // The suffix of a copy still being written or checked.
    static QString SuffissoParziale() { return QStringLiteral(".parziale"); }
    // The name a copy is written under until it is checked: the copy's name, this process and a
    // random part, so that two copies of the same minute never share a file.
    static QString NomeParziale(const QString& nome);
    // True when `nome` is what a copy still being written, or cut short, is called.
    static bool EUnaParziale(const QString& nome);
    // True, with its time, when `nome` is the name of a finished copy.
    static bool EUnaCopia(const QString& nome, QDateTime* quando = nullptr);

    // Of the copies named, those to remove: every copy of the newest copy's day, and the newest
    // copy of each of the last 7 days that have one and of each of the last 4 weeks that have
    // one are kept, every other one goes.
    // Names that are not copies are never listed, nor copies dated after `adesso` (a clock
    // that ran ahead wrote them): they neither count as newer nor go.
    static QStringList DaRimuovere(const QStringList& nomi, const QDateTime& adesso);

    // Removes from `cartella` the copies to remove at `adesso`, never `daTenere` (the copy just
    // taken), and what copies cut short left behind over an hour ago.
    // Returns the names it could not remove.
    static QStringList Applica(const QString& cartella, const QDateTime& adesso,
                               const QString& daTenere = QString());

    // Waits until what was written to the file or folder is on the disk; false when it is not.
    static bool Sincronizza(const QString& percorso);

    // A copy's size as the user reads it, "12,3 MB" or, under a megabyte, "52 KB".
    static QString Dimensione(qint64 byte);

    // The finished copies in `cartella`, newest first.
    static QList<Copia> Elenco(const QString& cartella);
};

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The archive's schema, written once as the ordered steps that make it: a new archive gets them
// all, an older one the ones it lacks. The file's `PRAGMA user_version` counts the steps it holds;
// a file made before that count was kept reads 0 and holds the first release's steps.
//
// A step is only ever appended: a shipped step is never changed nor moved, or archives that
// already hold it would differ from new ones.
struct PassoSchema {
    enum class Tipo {
        CreaTabella, // the table with `colonne` and its first `righe` (left alone when the file has
                     // it)
        AggiungiColonna, // colonne[0] added to `tabella` (left alone when the file has it)
        AggiungiIndice,  // the index `nome` on `tabella`; `sql` is its column list
        // The table made again with `colonne`, its rows kept with their rowids: how a column
        // changes what it is (a key, a default), which the engine cannot alter in place.
        RicostruisciTabella,
    };
    struct Colonna {
        QString nome;
        QString definizione; // type and constraints, as in CREATE TABLE
    };

    Tipo tipo;
    QString tabella;
    QList<Colonna> colonne;
    QString nome;
    QString sql;
    QString righe;
    bool unico = false;

    // The statements of the step for the file; `colonnePresenti` are the table's columns as the
    // file has them now (a column already there is not added again).
    QStringList Istruzioni(const QStringList& colonnePresenti) const;
};

class SchemaArchivio {
public:
    struct Tabella {
        QString nome;
        QStringList campi;
    };

    static const QList<PassoSchema>& Passi();
    // The version of an archive holding every step.
    static int Versione() { return int(Passi().size()); }
    // The steps the first release held: a file that does not count its steps holds these.
    static constexpr int VersionePrimaConsegna = 7;

    // Every table with its fields in the file's order, once the first `versione` steps are
    // held (all of them when negative).
    static QList<Tabella> Tabelle(int versione = -1);
};

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// Where the copies of the archive go, kept in "backup.ini" beside the archive rather than in
// it: a restored copy then leaves the choice as it is, and the file is read before the archive
// is open.
struct ImpostazioniBackup {
    static QString NomeFile() { return QStringLiteral("backup.ini"); }
    // The folder of the program that always receives the copies.
    static QString CartellaPrincipale(const QString& cartellaProgramma);

    // The further folder chosen by the user; empty when none.
    QString secondaCartella;
    // This installation's name in a second folder that another shop's may share: its copies go
    // into a folder of that name there, and only those are thinned out. Made from the
    // computer's name the first time.
    QString installazione;
    // The day the user was last told that the further folder could not be reached.
    QDate ultimoAvvisoCartella;
    // The day the user was last told that a folder had no room for a copy.
    QDate ultimoAvvisoSpazio;
    // The day a copy last passed the full check, which tells of the archive's own state.
    QDate ultimoControlloCompleto;

    static ImpostazioniBackup Leggi(const QString& cartellaProgramma);
    // False, after writing nothing, when the file cannot be written.
    bool Scrivi(const QString& cartellaProgramma) const;

    // Every folder the copies go to, the program's own first, then this installation's folder
    // inside the second folder.
    QStringList Cartelle(const QString& cartellaProgramma) const;
    // This installation's folder inside the second folder; empty when there is none.
    QString CartellaSeconda() const;

    static QString InstallazionePredefinita();
    // True when `nome` is what an installation's folder is called.
    static bool EInstallazione(const QString& nome) {
        return nome.startsWith(PrefissoInstallazione());
    }
    static QString PrefissoInstallazione() { return QStringLiteral("VELTRIKA-"); }
};

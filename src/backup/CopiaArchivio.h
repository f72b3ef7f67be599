#pragma once

#include "AttesaBlocco.h"
#include "VerificaCopia.h"

#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <chrono>
#include <future>

class Archivio;
struct sqlite3;
struct sqlite3_backup;
struct sqlite3_stmt;

// One verified copy of the open archive, taken through the engine's online backup from the
// archive's own connection, so that what the program writes meanwhile reaches the copy as well
// and the copy is the archive as it was at one moment.
//
// The work on the archive is cut into steps the caller gives a time to (Passo): first the rows
// of each table are counted, then the pages are copied into a file with a provisional name in
// the first folder. Once the copy is complete, a thread of its own checks it (password,
// integrity, the counted rows), gives it its final name, copies it into the further folders,
// checks each of those and thins out each folder. A copy that fails its check is removed.
// Should the archive change between the count and the end of the copy, both start again.
class CopiaArchivio {
public:
    struct EsitoCartella {
        QString cartella;
        // The finished copy, when there is one.
        QString percorso;
        qint64 dimensione = 0;
        bool riuscita = false;
        // The folder was not there (a stick not inserted, a share not connected).
        bool cartellaMancante = false;
        // The folder's disk had no room for the copy, even after thinning it.
        bool spazioInsufficiente = false;
        // The archive itself failed the full check (its copy holds its very pages).
        bool archivioDanneggiato = false;
        QString messaggio;
    };

    // `cartelle`: the folder that receives the copy from the archive, then the ones that receive
    // it from there. The first one is made when missing; the others are not. `controllo`: how
    // each copy is checked before it gets its name.
    CopiaArchivio(Archivio& archivio, QStringList cartelle, QDateTime quando,
                  VerificaCopia::Controllo controllo = VerificaCopia::Controllo::Rapido);
    // Abandons a copy not yet complete and removes its file; waits for a check under way.
    ~CopiaArchivio();
    CopiaArchivio(const CopiaArchivio&) = delete;
    CopiaArchivio& operator=(const CopiaArchivio&) = delete;

    // Works on the copy for about `tempo`, never much longer; true once it has ended.
    bool Passo(std::chrono::milliseconds tempo);
    // Works until the end, or for `limite` at most: then the copy is abandoned, its file
    // removed, and the outcome says so. False when it was abandoned.
    bool Completa(std::chrono::milliseconds limite = std::chrono::hours(1));
    bool Conclusa() const { return fase_ == Fase::Conclusa; }
    // Every page is written; the copy is being checked on its thread.
    bool InVerifica() const { return fase_ == Fase::Verifica; }

    // One per folder, in the order given, once it has ended.
    const QList<EsitoCartella>& Esiti() const { return esiti_; }
    bool Riuscita() const;
    // The rows of each table the copy was checked against.
    const QMap<QString, qint64>& Righe() const { return righe_; }
    const QDateTime& Quando() const { return quando_; }

    // How many times the copy starts again, at most, because the archive changed under it.
    static constexpr int MassimoTentativi = 20;
    // How long the copy waits, at most, for another program that holds the archive locked.
    static constexpr std::chrono::seconds AttesaBloccoMassima{30};

    // What the user reads when the archive could not be read: it is damaged, and how to restore.
    static QString ArchivioDanneggiato(const QString& dettaglio);

private:
    enum class Fase { Conteggio, Preparazione, Copia, Verifica, Conclusa };

    // The copy's file opened and keyed, or why not.
    struct Destinazione {
        sqlite3* db = nullptr;
        QString errore;
    };
    // The archive answered with an error while it was read: a lock is waited for until its
    // deadline, anything else ends the copy.
    void erroreLettura(int rc, const QString& dettaglio);

    void passoConteggio(std::chrono::steady_clock::time_point fine);
    void passoCopia(std::chrono::steady_clock::time_point fine);
    void iniziaCopia();
    static Destinazione prepara(QString parziale);
    void iniziaConteggio();
    void abbandonaCopia();
    void fallisce(const QString& messaggio);
    // What tells a change of the archive since the count began: this connection's changes and
    // the commits of any other.
    QPair<qint64, qint64> segnoModifiche() const;

    static QList<EsitoCartella> concludi(QString parziale, QStringList cartelle, QString nome,
                                         QDateTime quando, QMap<QString, qint64> righe,
                                         VerificaCopia::Controllo controllo, qint64 dimensione);
    // Room for a copy of `dimensione` bytes in `cartella`, thinning it first when short; on the
    // disk of the archive (`archivio`), room is left for the archive to grow as well.
    static bool spazio(const QString& cartella, qint64 dimensione, const QString& archivio);

    Archivio& archivio_;
    sqlite3* db_;
    QStringList cartelle_;
    QDateTime quando_;
    VerificaCopia::Controllo controllo_;
    QString nome_;
    QString parziale_;
    Fase fase_ = Fase::Conteggio;
    int tentativi_ = 0;
    AttesaBlocco attesa_{AttesaBloccoMassima};

    QPair<qint64, qint64> segno_;
    QStringList tabelle_;
    int tabella_ = 0;
    qint64 ultimoRowid_ = 0;
    QMap<QString, qint64> righe_;

    std::future<Destinazione> preparazione_;
    sqlite3* destinazione_ = nullptr;
    sqlite3_backup* backup_ = nullptr;

    std::future<QList<EsitoCartella>> verifica_;
    QList<EsitoCartella> esiti_;
};

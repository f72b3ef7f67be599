#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "archive/AggiornamentoSchema.h"
#include "archive/Archivio.h"
#include "archive/ChiaveArchivio.h"
#include "backup/CopiaArchivio.h"
#include "backup/RipristinoArchivio.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sqlite3.h>

namespace {

// Whether the file's tables read with the given keying; `paginaCifrario` > 0 sets SQLCipher
// 3.4's page size by hand instead of the format pragma.
bool SiLegge(const QString& percorso, ChiaveArchivio::Formato formato, int paginaCifrario = 0) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray chiave = Archivio::Password().toUtf8();
    if (paginaCifrario > 0) {
        sqlite3_key(db, chiave.constData(), int(chiave.size()));
        const QByteArray pragma = "PRAGMA cipher_page_size = " + QByteArray::number(paginaCifrario);
        sqlite3_exec(db, pragma.constData(), nullptr, nullptr, nullptr);
    } else {
        ChiaveArchivio::Applica(db, chiave, formato);
    }
    const int rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    sqlite3_close_v2(db);
    return rc == SQLITE_OK;
}

bool Sqlcipher4() {
    ConnessioneEsterna memoria(QStringLiteral(":memory:"), "x");
    return memoria.valore("PRAGMA cipher_version").toString().startsWith(QLatin1Char('4'));
}

// The pinned format read back: the pinned keying opens it, SQLCipher 4's own defaults do not
// (4.x); on 3.4, where that pragma means nothing, its pages are 1 KB and not 4 KB.
bool NelFormatoFissato(const QString& percorso) {
    if (!SiLegge(percorso, ChiaveArchivio::Formato::Fissato))
        return false;
    if (Sqlcipher4())
        return !SiLegge(percorso, ChiaveArchivio::Formato::Sqlcipher4);
    return SiLegge(percorso, {}, 1024) && !SiLegge(percorso, {}, 4096);
}

} // namespace

class TstFormatoArchivio : public QObject {
    Q_OBJECT
private slots:
    // The archive the maker writes, a copy of it, and an archive restored from that copy.
    void ogniFileScrittoENelFormatoFissato() {
        CartellaDiProva cartella;
        const QString archivio = cartella.file(Archivio::NomeFile());
        QVERIFY(NelFormatoFissato(archivio));
        QString copiato;
        {
            Archivio a;
            a.ApriArchivio(cartella.percorso());
            CopiaArchivio copia(a, {cartella.file(QStringLiteral("Backup"))},
                                QDateTime(QDate(2026, 12, 9), QTime(18, 30)));
            QVERIFY(copia.Completa());
            QVERIFY2(copia.Riuscita(), qPrintable(copia.Esiti()[0].messaggio));
            copiato = copia.Esiti()[0].percorso;
        }
        QVERIFY(NelFormatoFissato(copiato));
        QVERIFY(QFile::remove(archivio));
        RipristinoArchivio::RipristinaFile(cartella.percorso(), copiato,
                                           QDateTime(QDate(2026, 12, 9), QTime(19, 0)));
        QVERIFY(NelFormatoFissato(archivio));
    }

    // An archive in SQLCipher 4's own format opens, converted once to the pinned one with its
    // data and schema version; the original stays aside, still in its own format.
    void archivioSqlcipher4ConvertitoUnaVolta() {
        if (!Sqlcipher4())
            QSKIP("SQLCipher 3.4 cannot write SQLCipher 4's format; the Debian 13 run covers it");
        QTemporaryDir dir;
        const QString percorso = dir.filePath(Archivio::NomeFile());
        int versione = 0;
        {
            sqlite3* db = nullptr;
            sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db,
                            SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
            ChiaveArchivio::Applica(db, Archivio::Password().toUtf8(),
                                    ChiaveArchivio::Formato::Sqlcipher4);
            AggiornamentoSchema::Applica(db, [] {});
            versione = AggiornamentoSchema::Versione(db);
            QCOMPARE(sqlite3_exec(db,
                                  "INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3331112222', "
                                  "'Rossi Mario');",
                                  nullptr, nullptr, nullptr),
                     SQLITE_OK);
            sqlite3_close_v2(db);
        }
        QVERIFY(!NelFormatoFissato(percorso));

        Archivio a;
        a.ApriArchivio(dir.path());
        QVERIFY(a.Caricato());
        a.Chiudi();
        const QStringList accantonati =
            QDir(dir.path()).entryList({QStringLiteral("archivio-formato-4-*.mdb")});
        QCOMPARE(accantonati.size(), 1);
        QVERIFY(SiLegge(dir.filePath(accantonati[0]), ChiaveArchivio::Formato::Sqlcipher4));
        QVERIFY(NelFormatoFissato(percorso));
        ConnessioneEsterna convertito(percorso);
        QCOMPARE(convertito.valore("SELECT T1Nome FROM Clienti").toString(), "Rossi Mario");
        QVERIFY(versione > 0);
        QCOMPARE(convertito.valore("PRAGMA user_version").toInt(), versione);

        a.ApriArchivio(dir.path());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    // A file that opens in neither format is called damaged, not a wrong password, and is left
    // as it was, with nothing beside it.
    void fileIlleggibileDettoDanneggiato() {
        QTemporaryDir dir;
        const QString percorso = dir.filePath(Archivio::NomeFile());
        QByteArray casuale(8192, '\0');
        for (int i = 0; i < casuale.size(); ++i)
            casuale[i] = char((i * 7919 + 13) % 251);
        QFile f(percorso);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(casuale);
        f.close();

        Archivio a;
        QString descrizione;
        try {
            a.ApriArchivio(dir.path());
            QFAIL("un file illeggibile non si apre");
        } catch (const ErroreRuntime& e) {
            QCOMPARE(e.Number(), int(ErroreRuntime::PasswordNonValida));
            descrizione = e.Description();
        }
        QVERIFY2(descrizione.contains(QStringLiteral("danneggiato")), qPrintable(descrizione));
        QVERIFY(!descrizione.contains(QStringLiteral("Password")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), casuale);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{Archivio::NomeFile()});
    }
};

QTEST_GUILESS_MAIN(TstFormatoArchivio)
#include "tst_formatoarchivio.moc"

#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "archive/Archivio.h"
#include "backup/ConservazioneCopie.h"
#include "backup/CopiaArchivio.h"
#include "backup/RipristinoArchivio.h"
#include "backup/VerificaCopia.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <sys/stat.h>

class TstCopiaArchivio : public QObject {
    Q_OBJECT
private slots:
    // An order written by another connection halfway through the copy is in the copy, which
    // is checked, named by its time and alone in the folder; a missing further folder is told.
    void copiaVerificataConOrdineArrivatoDurante() {
        CartellaDiProva cartella;
        {
            ConnessioneEsterna esterna(cartella.file(Archivio::NomeFile()));
            QCOMPARE(esterna.esegui("INSERT INTO Clienti (T1Numero, T1Nome) VALUES "
                                    "('3331112222', 'Rossi Mario')"),
                     0);
        }
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        const QString backup = cartella.file(QStringLiteral("Backup"));
        const QString assente = cartella.file(QStringLiteral("chiavetta"));
        CopiaArchivio copia(archivio, {backup, assente},
                            QDateTime(QDate(2026, 12, 9), QTime(18, 30)));
        copia.Passo(std::chrono::milliseconds(0));
        {
            ConnessioneEsterna esterna(cartella.file(Archivio::NomeFile()));
            QCOMPARE(esterna.esegui("INSERT INTO SmsTemporanei (T3Numero, T3TestoSmsRicevuto) "
                                    "VALUES ('3331112222', 'due pizze')"),
                     0);
        }
        QVERIFY(QTest::qWaitFor([&] { return copia.Passo(std::chrono::milliseconds(5)); }, 20000));

        QCOMPARE(copia.Esiti().size(), 2);
        QVERIFY2(copia.Esiti()[0].riuscita, qPrintable(copia.Esiti()[0].messaggio));
        QVERIFY(copia.Esiti()[1].cartellaMancante);
        QVERIFY(!copia.Esiti()[1].messaggio.isEmpty());
        QCOMPARE(QDir(backup).entryList(QDir::Files),
                 QStringList{QStringLiteral("archivio-2026-12-09_1830.mdb")});
        const VerificaCopia::Esito verifica = VerificaCopia::Verifica(
            QDir(backup).filePath(QStringLiteral("archivio-2026-12-09_1830.mdb")));
        QVERIFY2(verifica.valida, qPrintable(verifica.messaggio));
        QCOMPARE(verifica.righe.value(QStringLiteral("Clienti")), 1);
        QCOMPARE(verifica.righe.value(QStringLiteral("SmsTemporanei")), 1);
        QCOMPARE(copia.Righe(), verifica.righe);
    }

    // A wrong, damaged, short or missing file is refused with a message, and so is a copy whose
    // rows differ from the archive's.
    void verificaRifiutaCioCheNonEUnaCopia() {
        CartellaDiProva cartella;
        const QString buono = cartella.file(Archivio::NomeFile());
        QVERIFY(VerificaCopia::Verifica(buono).valida);
        const QMap<QString, qint64> altre{{QStringLiteral("Clienti"), 5}};
        QVERIFY(!VerificaCopia::Verifica(buono, &altre).valida);

        QVERIFY(!VerificaCopia::Verifica(cartella.file(QStringLiteral("nessuno.mdb"))).valida);
        const QString testo = cartella.file(QStringLiteral("testo.mdb"));
        {
            QFile f(testo);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        const VerificaCopia::Esito esito = VerificaCopia::Verifica(testo);
        QVERIFY(!esito.valida);
        QVERIFY(esito.messaggio.contains(QStringLiteral("password")));

        const QString tagliato = cartella.file(QStringLiteral("tagliato.mdb"));
        QVERIFY(QFile::copy(buono, tagliato));
        QVERIFY(QFile::resize(tagliato, QFileInfo(buono).size() / 2));
        QVERIFY(!VerificaCopia::Verifica(tagliato).valida);
    }

    // Seven days and four weeks: the newest copy of each is kept, with every copy of the last
    // day; everything else goes, and names that are not copies (a copy cut short among them)
    // are never touched.
    void conservazioneSetteGiorniQuattroSettimane() {
        QStringList nomi;
        const QDate oggi(2026, 12, 9);
        for (int giorno = 0; giorno < 40; ++giorno)
            for (const QTime& ora : {QTime(8, 0), QTime(19, 30)})
                nomi << ConservazioneCopie::Nome(QDateTime(oggi.addDays(-giorno), ora));
        nomi << QStringLiteral("archivio-2026-12-09_1900.mdb.parziale")
             << QStringLiteral("archivio.mdb");
        const QStringList via = ConservazioneCopie::DaRimuovere(nomi);
        QStringList tenute;
        for (const QString& n : nomi)
            if (!via.contains(n))
                tenute << n;
        QStringList attese{ConservazioneCopie::Nome(QDateTime(oggi, QTime(8, 0)))};
        for (int giorno = 0; giorno < 7; ++giorno)
            attese << ConservazioneCopie::Nome(QDateTime(oggi.addDays(-giorno), QTime(19, 30)));
        // 9/12 is a Wednesday: the weeks before end on Sundays 6/12, 29/11 and 22/11.
        for (const QDate& domenica : {QDate(2026, 11, 29), QDate(2026, 11, 22)})
            attese << ConservazioneCopie::Nome(QDateTime(domenica, QTime(19, 30)));
        attese << QStringLiteral("archivio-2026-12-09_1900.mdb.parziale")
               << QStringLiteral("archivio.mdb");
        std::sort(tenute.begin(), tenute.end());
        std::sort(attese.begin(), attese.end());
        QCOMPARE(tenute, attese);
    }
    // Where the archive's folder does not let the user replace it (the installed program's),
    // the copy is written over the archive's own file, and the archive in use is kept aside as a
    // file of its own, not as a second name of the file just rewritten.
    void ripristinoScrittoSulPostoTieneDaParteLArchivio() {
        CartellaDiProva cartella;
        const QString inUso = cartella.file(Archivio::NomeFile());
        const auto clienti = [](const QString& file) {
            return ConnessioneEsterna(file).valore("SELECT group_concat(T1Nome) FROM Clienti");
        };
        const auto nodo = [](const QString& file) {
            struct stat st {};
            ::stat(QFile::encodeName(file).constData(), &st);
            return st.st_ino;
        };
        ConnessioneEsterna(inUso).esegui(
            "INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3331112222', 'Rossi')");
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        CopiaArchivio copia(archivio, {cartella.file(QStringLiteral("Backup"))},
                            QDateTime(QDate(2026, 12, 8), QTime(21, 0)));
        copia.Completa();
        QVERIFY(copia.Riuscita());
        ConnessioneEsterna(inUso).esegui(
            "INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3479990000', 'Bianchi')");
        const auto nodoPrima = nodo(inUso);

        RipristinoArchivio::RiscritturaSulPosto = true;
        const auto ripristina =
            qScopeGuard([] { RipristinoArchivio::RiscritturaSulPosto = false; });
        const QString accantonato = RipristinoArchivio::Sostituisci(
            archivio, cartella.percorso(), copia.Esiti()[0].percorso,
            QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5)));
        QCOMPARE(accantonato,
                 cartella.file(QStringLiteral("archivio-sostituito-2026-12-09_100005.mdb")));
        QCOMPARE(nodo(inUso), nodoPrima);
        QVERIFY(archivio.Caricato());
        QCOMPARE(clienti(inUso).toString(), QStringLiteral("Rossi"));
        QCOMPARE(clienti(accantonato).toString(), QStringLiteral("Rossi,Bianchi"));
        QCOMPARE(QDir(cartella.percorso()).entryList({QStringLiteral("*.ripristino")}),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TstCopiaArchivio)
#include "tst_copiaarchivio.moc"

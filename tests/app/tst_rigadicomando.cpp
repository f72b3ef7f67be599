#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "EseguiProgramma.h"
#include "backup/ConservazioneCopie.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace {

// A program folder holding the program itself beside its archive, as installed: the command
// line copies the archive of the folder the program is in.
struct Banco {
    CartellaDiProva cartella;
    QString programma = cartella.file(QStringLiteral("veltrika"));
    QString destinazione = cartella.file(QStringLiteral("copie"));

    Banco() {
        QVERIFY(QFile::copy(QStringLiteral(PROGRAMMA), programma));
        QVERIFY(QDir().mkpath(destinazione));
    }
    int esegui(const QStringList& argomenti, QByteArray* uscita) {
        return EseguiProgramma(programma, argomenti, uscita);
    }
};

} // namespace

class TstRigaDiComando : public QObject {
    Q_OBJECT
private slots:
    // --backup leaves one checked copy and says where; --verifica accepts it and refuses a
    // missing, a truncated and a foreign file, each with its reason and a non-zero exit.
    void backupEVerifica() {
        Banco b;
        ConnessioneEsterna(b.cartella.file(QStringLiteral("archivio.mdb")))
            .esegui("INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3331112222', 'Mario')");
        QByteArray uscita;
        QCOMPARE(b.esegui({QStringLiteral("--backup"), b.destinazione}, &uscita), 0);
        QVERIFY2(uscita.startsWith("Copia verificata: "), uscita.constData());
        const QList<ConservazioneCopie::Copia> copie = ConservazioneCopie::Elenco(b.destinazione);
        QCOMPARE(copie.size(), 1);
        QVERIFY(uscita.contains(QFile::encodeName(copie[0].percorso)));

        QCOMPARE(b.esegui({QStringLiteral("--verifica"), copie[0].percorso}, &uscita), 0);
        QCOMPARE(uscita.trimmed(),
                 QByteArray("Copia valida: 1 clienti, 0 SMS in attesa, 0 SMS archiviati."));

        const QString troncata = b.cartella.file(QStringLiteral("troncata.mdb"));
        QVERIFY(QFile::copy(copie[0].percorso, troncata));
        QVERIFY(QFile::resize(troncata, QFileInfo(troncata).size() / 2));
        const QString estraneo = b.cartella.file(QStringLiteral("notify.wav"));
        for (const QString& file :
             {troncata, estraneo, b.cartella.file(QStringLiteral("mancante.mdb"))}) {
            QCOMPARE(b.esegui({QStringLiteral("--verifica"), file}, &uscita), 1);
            QVERIFY2(uscita.contains(QFile::encodeName(file)), uscita.constData());
        }
        QCOMPARE(b.esegui({QStringLiteral("--backup"), estraneo}, &uscita), 1);
        QVERIFY2(!uscita.trimmed().isEmpty(), uscita.constData());
        QCOMPARE(b.esegui({QStringLiteral("--backup")}, &uscita), 2);
        QVERIFY(uscita.startsWith("Uso: veltrika --backup CARTELLA"));
    }

    // The program killed while it copies leaves nothing that looks like a good copy; the next
    // copy goes well.
    void uccisoDuranteLaCopia() {
        Banco b;
        ConnessioneEsterna(b.cartella.file(QStringLiteral("archivio.mdb")))
            .esegui("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                    "WHERE i < 150000) INSERT INTO SMS (T4Numero, T4DataArrivo, T4OrarioArrivo, "
                    "T4TestoSmsRicevuto) SELECT '333' || i, '01/12/26', '10:00:00', "
                    "printf('Ordine %d: due margherite, una diavola e un calzone', i) FROM n");
        QProcess p;
        p.start(b.programma, {QStringLiteral("--backup"), b.destinazione});
        QVERIFY(p.waitForStarted());
        const QDir cartella(b.destinazione);
        bool parziale = false;
        while (!parziale && p.state() == QProcess::Running) {
            parziale = !cartella.entryList({QStringLiteral("*.parziale")}, QDir::Files).isEmpty();
            QTest::qSleep(1);
        }
        p.kill();
        QVERIFY(p.waitForFinished());
        QVERIFY2(parziale, "the copy ended before it could be killed");
        QVERIFY(ConservazioneCopie::Elenco(b.destinazione).isEmpty());
        QCOMPARE(cartella.entryList({QStringLiteral("*.mdb")}, QDir::Files), QStringList());

        QByteArray uscita;
        QCOMPARE(b.esegui({QStringLiteral("--backup"), b.destinazione}, &uscita), 0);
        QCOMPARE(ConservazioneCopie::Elenco(b.destinazione).size(), 1);
        QCOMPARE(b.esegui({QStringLiteral("--verifica"),
                           ConservazioneCopie::Elenco(b.destinazione)[0].percorso},
                          &uscita),
                 0);
        QVERIFY2(uscita.contains("150000 SMS archiviati"), uscita.constData());
    }
};

QTEST_MAIN(TstRigaDiComando)
#include "tst_rigadicomando.moc"

#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "EsameFile.h"
#include "EseguiProgramma.h"
#include "backup/ConservazioneCopie.h"
#include "backup/VerificaCopia.h"
#include "platform/IstanzaUnica.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QThread>

namespace {

// A program folder holding the program itself beside its archive, as installed: the command
// line copies the archive of the folder the program is in.
struct Banco {
    CartellaDiProva cartella;
    QString programma = cartella.file(QStringLiteral("veltrika"));
    QString destinazione = cartella.file(QStringLiteral("copie"));
    QString archivio = cartella.file(QStringLiteral("archivio.mdb"));

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

    // A damaged archive: the copy ends at once, with the reason and a non-zero exit.
    void backupDiUnArchivioDanneggiato() {
        Banco b;
        QVERIFY(EsameFile::RiempiSms(b.archivio, 20000, "Ordine"));
        QVERIFY(EsameFile::Danneggia(b.archivio));
        QByteArray uscita;
        QCOMPARE(b.esegui({QStringLiteral("--backup"), b.destinazione}, &uscita), 1);
        QVERIFY2(uscita.contains("danneggiato"), uscita.constData());
        QCOMPARE(QDir(b.destinazione).entryList(QDir::Files), QStringList());
    }

    // A second start on a folder whose program runs says so and opens nothing (the start-up
    // copy would make Backup/ at once); a copy from the command line still runs beside it.
    void unProgrammaAllaVolta() {
        Banco b;
        const IstanzaUnica inEsecuzione(b.cartella.percorso());
        QVERIFY(inEsecuzione.Acquisita());
        QProcess secondo;
        secondo.start(b.programma, {});
        QVERIFY(QTest::qWaitFor(
            [&] {
                return secondo.readAllStandardError().contains("VELTRIKA è già in esecuzione") ||
                       secondo.state() != QProcess::Running;
            },
            30000));
        QTest::qWait(300);
        secondo.kill();
        secondo.waitForFinished();
        QVERIFY(!QFileInfo::exists(b.cartella.file(QStringLiteral("Backup"))));
        QByteArray uscita;
        QCOMPARE(b.esegui({QStringLiteral("--backup"), b.destinazione}, &uscita), 0);
    }

    // Two copies started together into one folder both end with a checked copy.
    void dueBackupInsieme() {
        Banco b;
        QVERIFY(EsameFile::RiempiSms(b.archivio, 30000, "Ordine"));
        QProcess primo;
        QProcess secondo;
        primo.start(b.programma, {QStringLiteral("--backup"), b.destinazione});
        secondo.start(b.programma, {QStringLiteral("--backup"), b.destinazione});
        for (QProcess* p : {&primo, &secondo}) {
            QVERIFY(p->waitForFinished(60000));
            QVERIFY2(p->exitCode() == 0, p->readAllStandardError().constData());
        }
        const QList<ConservazioneCopie::Copia> copie = ConservazioneCopie::Elenco(b.destinazione);
        QVERIFY(!copie.isEmpty());
        for (const ConservazioneCopie::Copia& c : copie)
            QVERIFY(VerificaCopia::Verifica(c.percorso).valida);
        QCOMPARE(QDir(b.destinazione).entryList({QStringLiteral("*.parziale")}), QStringList());
    }

    // The restore killed midway leaves the archive as it was or as the copy, never a mix. Run
    // again over what the kill left beside the archive (its journal), it puts the copy into
    // the same file, with its mode; the archive replaced is kept aside. A damaged copy is
    // refused and changes nothing.
    void ripristinoUccisoERipetuto() {
        Banco b;
        QVERIFY(EsameFile::RiempiSms(b.archivio, 150000, "Nuovo"));
        QByteArray uscita;
        QCOMPARE(b.esegui({QStringLiteral("--backup"), b.destinazione}, &uscita), 0);
        const QString copia = ConservazioneCopie::Elenco(b.destinazione).constFirst().percorso;
        const QString nuovo = EsameFile::ContenutoSms(b.archivio);
        QCOMPARE(ConnessioneEsterna(b.archivio).esegui("DELETE FROM SMS"), 0);
        QVERIFY(EsameFile::RiempiSms(b.archivio, 160000, "Vecchio"));
        const QString vecchio = EsameFile::ContenutoSms(b.archivio);
        QVERIFY(QFile::setPermissions(b.archivio, QFile::ReadOwner | QFile::WriteOwner |
                                                      QFile::ReadGroup | QFile::WriteGroup));
        const auto nodo = EsameFile::Nodo(b.archivio);

        const QDateTime scritto = QFileInfo(b.archivio).lastModified();
        const qint64 dimensione = QFileInfo(b.archivio).size();
        QProcess p;
        p.start(b.programma, {QStringLiteral("--ripristina"), copia});
        QVERIFY(p.waitForStarted());
        bool toccato = false;
        while (!toccato && p.state() == QProcess::Running) {
            const QFileInfo ora(b.archivio);
            toccato = ora.lastModified() != scritto || ora.size() != dimensione;
            QThread::usleep(200);
        }
        p.kill();
        QVERIFY(p.waitForFinished());
        QVERIFY2(toccato, "the restore ended before it could be killed");
        const QString dopo = EsameFile::ContenutoSms(b.archivio);
        QVERIFY2(dopo == vecchio || dopo == nuovo, qPrintable(dopo));
        QCOMPARE(ConnessioneEsterna(b.archivio).valore("PRAGMA integrity_check").toString(),
                 QStringLiteral("ok"));

        QCOMPARE(b.esegui({QStringLiteral("--ripristina"), copia}, &uscita), 0);
        QVERIFY2(uscita.startsWith("Archivio ripristinato dalla copia"), uscita.constData());
        QCOMPARE(EsameFile::ContenutoSms(b.archivio), nuovo);
        QCOMPARE(EsameFile::Nodo(b.archivio), nodo);
        QCOMPARE(EsameFile::Modo(b.archivio), mode_t(0660));
        QStringList accantonati;
        for (const QString& nome :
             QDir(b.cartella.percorso()).entryList({QStringLiteral("archivio-sostituito-*")}))
            accantonati << EsameFile::ContenutoSms(b.cartella.file(nome));
        QVERIFY2(accantonati.contains(vecchio), qPrintable(accantonati.join(QLatin1Char(' '))));

        const QString troncata = b.cartella.file(QStringLiteral("troncata.mdb"));
        QVERIFY(QFile::copy(copia, troncata));
        QVERIFY(QFile::resize(troncata, QFileInfo(troncata).size() / 2));
        QCOMPARE(b.esegui({QStringLiteral("--ripristina"), troncata}, &uscita), 1);
        QVERIFY2(uscita.contains("Il ripristino non è stato eseguito"), uscita.constData());
        QCOMPARE(EsameFile::ContenutoSms(b.archivio), nuovo);
    }

    // The program killed while it copies leaves nothing that looks like a good copy; the next
    // copy goes well.
    void uccisoDuranteLaCopia() {
        Banco b;
        QVERIFY(EsameFile::RiempiSms(b.archivio, 150000, "Ordine"));
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

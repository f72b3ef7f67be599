#include "CartellaDiProva.h"
#include "ConnessioneEsterna.h"
#include "EsameFile.h"
#include "archive/Archivio.h"
#include "backup/ConservazioneCopie.h"
#include "backup/CopiaArchivio.h"
#include "backup/ImpostazioniBackup.h"
#include "backup/RipristinoArchivio.h"
#include "backup/VerificaCopia.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>
#include <QStorageInfo>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace EsameFile;

namespace {

QString Clienti(const QString& file) {
    return ConnessioneEsterna(file).valore("SELECT group_concat(T1Nome) FROM Clienti").toString();
}

} // namespace

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
        const QStringList via =
            ConservazioneCopie::DaRimuovere(nomi, QDateTime(oggi, QTime(20, 0)));
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
    // A clock that ran ahead wrote copies dated next week: they do not count as newer, so the
    // copy just taken and the days before it stay.
    void copieDalFuturoNonContano() {
        const QDateTime adesso(QDate(2026, 12, 9), QTime(20, 0));
        QStringList nomi;
        for (int giorno = -6; giorno <= 10; ++giorno)
            nomi << ConservazioneCopie::Nome(adesso.addDays(giorno));
        const QStringList via = ConservazioneCopie::DaRimuovere(nomi, adesso);
        QCOMPARE(via, QStringList());
    }

    // The restore writes the copy into the archive's own file: same file, same mode, a
    // newcomer's umask notwithstanding; the archive in use is kept aside, and the settings are
    // written, for the shop's group only; the archive keeps its salt and opens with the key.
    void ripristinoScrittoNelFileDellArchivio() {
        const mode_t prima = ::umask(022);
        const auto rimetti = qScopeGuard([prima] { ::umask(prima); });
        CartellaDiProva cartella;
        // The program folder's group, not the writer's, when the test may give one.
        const gid_t gruppo = ::geteuid() == 0 ? 20 : ::getegid();
        if (::geteuid() == 0)
            QCOMPARE(::chown(QFile::encodeName(cartella.percorso()).constData(), uid_t(-1), gruppo),
                     0);
        ImpostazioniBackup impostazioni;
        impostazioni.secondaCartella = QStringLiteral("/media/chiavetta");
        QVERIFY(impostazioni.Scrivi(cartella.percorso()));
        QCOMPARE(Modo(cartella.file(ImpostazioniBackup::NomeFile())), mode_t(0660));
        QCOMPARE(Gruppo(cartella.file(ImpostazioniBackup::NomeFile())), gruppo);
        const QString inUso = cartella.file(Archivio::NomeFile());
        QVERIFY(QFile::setPermissions(inUso, QFile::ReadOwner | QFile::WriteOwner |
                                                 QFile::ReadGroup | QFile::WriteGroup));
        ConnessioneEsterna(inUso).esegui(
            "INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3331112222', 'Rossi')");
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        CopiaArchivio copia(archivio, {cartella.file(QStringLiteral("Backup"))},
                            QDateTime(QDate(2026, 12, 8), QTime(21, 0)));
        QVERIFY(copia.Completa());
        QVERIFY(copia.Riuscita());
        const QString fileCopia = copia.Esiti()[0].percorso;
        QCOMPARE(Modo(fileCopia), mode_t(0640));
        ConnessioneEsterna(inUso).esegui(
            "INSERT INTO Clienti (T1Numero, T1Nome) VALUES ('3479990000', 'Bianchi')");
        const auto nodoPrima = Nodo(inUso);
        const QByteArray salePrima = Sale(inUso);
        QVERIFY(salePrima != Sale(fileCopia));

        const QString accantonato =
            RipristinoArchivio::Sostituisci(archivio, cartella.percorso(), fileCopia,
                                            QDateTime(QDate(2026, 12, 9), QTime(10, 0, 5)));
        QCOMPARE(accantonato,
                 cartella.file(QStringLiteral("archivio-sostituito-2026-12-09_100005.mdb")));
        QCOMPARE(Nodo(inUso), nodoPrima);
        QCOMPARE(Modo(inUso), mode_t(0660));
        QCOMPARE(Modo(accantonato), mode_t(0660));
        QCOMPARE(Gruppo(accantonato), gruppo);
        QCOMPARE(Sale(inUso), salePrima);
        QVERIFY(archivio.Caricato());
        QCOMPARE(Clienti(inUso), QStringLiteral("Rossi"));
        QCOMPARE(Clienti(accantonato), QStringLiteral("Rossi,Bianchi"));
        QCOMPARE(ConnessioneEsterna(inUso).valore("PRAGMA integrity_check").toString(),
                 QStringLiteral("ok"));
        QCOMPARE(QDir(cartella.percorso()).entryList({QStringLiteral("archivio*")}, QDir::Files),
                 (QStringList{QFileInfo(accantonato).fileName(), Archivio::NomeFile()}));
    }

    // A damaged page ends the copy at once, with the message that says how to restore, and
    // leaves nothing in the folder: neither a wait nor a retry for ever.
    void archivioDanneggiatoFermaLaCopia() {
        CartellaDiProva cartella;
        const QString inUso = cartella.file(Archivio::NomeFile());
        QVERIFY(RiempiSms(inUso, 20000, "Ordine"));
        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        QVERIFY(Danneggia(inUso));
        const QString backup = cartella.file(QStringLiteral("Backup"));
        CopiaArchivio copia(archivio, {backup}, QDateTime(QDate(2026, 12, 9), QTime(18, 30)));
        QElapsedTimer tempo;
        tempo.start();
        while (!copia.Passo(std::chrono::milliseconds(5)) && tempo.elapsed() < 10000)
            QTest::qWait(1);
        QVERIFY2(copia.Conclusa(), "the copy of a damaged archive did not end");
        QVERIFY(!copia.Riuscita());
        const QString messaggio = copia.Esiti()[0].messaggio;
        QVERIFY2(messaggio.contains(QStringLiteral("danneggiato")), qPrintable(messaggio));
        QVERIFY2(messaggio.contains(QStringLiteral("--ripristina")), qPrintable(messaggio));
        QCOMPARE(QDir(backup).entryList(QDir::Files), QStringList());
    }

    // A stick filled by copies that failed for weeks: the old copies are thinned before the
    // copy is taken, so it is taken; the copy of yesterday stays. Needs a small disk of its own.
    void discoPienoSfoltitoPrimaDellaCopia() {
        CartellaDiProva cartella;
        const QString inUso = cartella.file(Archivio::NomeFile());
        QVERIFY(RiempiSms(inUso, 2000, "Ordine"));
        const qint64 dimensione = QFileInfo(inUso).size();
        const QString chiavetta = cartella.file(QStringLiteral("chiavetta"));
        QVERIFY(QDir().mkpath(chiavetta));
        const qint64 capienza = (dimensione * 6 / 4096 + 4) * 4096;
        const QString opzioni = QStringLiteral("size=%1").arg(capienza);
        if (::mount("tmpfs", QFile::encodeName(chiavetta).constData(), "tmpfs", 0,
                    opzioni.toLatin1().constData()) != 0)
            QSKIP("a small disk of its own cannot be mounted here (not root)");
        const auto smonta = qScopeGuard([&] { ::umount2(QFile::encodeName(chiavetta), MNT_DETACH); });

        const QDateTime adesso(QDate(2026, 12, 9), QTime(18, 30));
        const QString ieri = ConservazioneCopie::Nome(adesso.addDays(-1));
        // Yesterday's copy, then four a day on days long past, until the stick is full.
        QStringList vecchie{ieri};
        {
            QFile f(QDir(chiavetta).filePath(ieri));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        for (int i = 0; QStorageInfo(chiavetta).bytesAvailable() >= dimensione; ++i) {
            const QString nome =
                ConservazioneCopie::Nome(adesso.addDays(-60 + i / 4).addSecs(-3600 * (i % 4)));
            QFile f(QDir(chiavetta).filePath(nome));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(int(dimensione / 2), 'x'));
            f.close();
            vecchie << nome;
        }
        QVERIFY(vecchie.size() >= 3);

        Archivio archivio;
        archivio.ApriArchivio(cartella.percorso());
        CopiaArchivio copia(archivio, {chiavetta}, adesso);
        QVERIFY(QTest::qWaitFor([&] { return copia.Passo(std::chrono::milliseconds(5)); }, 20000));
        QVERIFY2(copia.Riuscita(), qPrintable(copia.Esiti()[0].messaggio));
        const QStringList rimaste = QDir(chiavetta).entryList(QDir::Files, QDir::Name);
        QVERIFY(rimaste.contains(ieri));
        QVERIFY(rimaste.contains(ConservazioneCopie::Nome(adesso)));
        QVERIFY2(rimaste.size() <= vecchie.size() / 2, qPrintable(rimaste.join(u' ')));
    }

    // Two copies of the same minute into one folder, one started while the other writes: both
    // end checked, and the folder holds one good copy of that minute.
    void dueCopieNelloStessoMinuto() {
        CartellaDiProva cartella;
        Archivio primo;
        primo.ApriArchivio(cartella.percorso());
        Archivio secondo;
        secondo.ApriArchivio(cartella.percorso());
        const QString backup = cartella.file(QStringLiteral("Backup"));
        const QDateTime quando(QDate(2026, 12, 9), QTime(18, 30));
        CopiaArchivio a(primo, {backup}, quando);
        QVERIFY(QTest::qWaitFor(
            [&] {
                a.Passo(std::chrono::milliseconds(0));
                return !QDir(backup).entryList({QStringLiteral("*.parziale")}).isEmpty();
            },
            5000));
        CopiaArchivio b(secondo, {backup}, quando);
        QVERIFY(b.Completa());
        QVERIFY2(b.Riuscita(), qPrintable(b.Esiti()[0].messaggio));
        QVERIFY(a.Completa());
        QVERIFY2(a.Riuscita(), qPrintable(a.Esiti()[0].messaggio));
        QCOMPARE(QDir(backup).entryList(QDir::Files),
                 QStringList{QStringLiteral("archivio-2026-12-09_1830.mdb")});
        QVERIFY(VerificaCopia::Verifica(a.Esiti()[0].percorso).valida);
    }

    // An index that disagrees with its table passes the quick check of the routine copies and
    // fails the full one, which a restore and the command line use.
    void indiceDiscordeSoloIlControlloCompleto() {
        CartellaDiProva cartella;
        const QString file = cartella.file(Archivio::NomeFile());
        QVERIFY(IndiceDiscorde(file));
        QVERIFY(VerificaCopia::Verifica(file, nullptr, VerificaCopia::Controllo::Rapido).valida);
        const VerificaCopia::Esito completa = VerificaCopia::Verifica(file);
        QVERIFY(!completa.valida);
        QVERIFY2(completa.messaggio.contains(QStringLiteral("integrità")),
                 qPrintable(completa.messaggio));
    }
};

QTEST_GUILESS_MAIN(TstCopiaArchivio)
#include "tst_copiaarchivio.moc"

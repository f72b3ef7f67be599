#include "ConnessioneEsterna.h"
#include "EseguiProgramma.h"
#include "archive/Archivio.h"
#include "archive/SchemaArchivio.h"
#include "backup/ImpostazioniBackup.h"

#include <QDir>

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

namespace {
QByteArray impronta(const QString& percorso) {
    QFile f(percorso);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

} // namespace

// The build's own tools, run as the build runs them.
class TstStrumenti : public QObject {
    Q_OBJECT
private slots:
    void ilBuildNonSovrascriveMaiLArchivioDellUtente() {
        QTemporaryDir dir;
        const QString archivio = dir.filePath(QStringLiteral("programma/archivio.mdb"));
        const QStringList argomenti{QStringLiteral("--se-manca"), archivio};
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), argomenti), 0);
        QVERIFY(QFile::exists(archivio));

        // The user's data goes in; the next build must leave it there.
        {
            Archivio a;
            a.ApriArchivio(dir.filePath(QStringLiteral("programma")));
            Recordset& rs = a.ApriTabella(QStringLiteral("Clienti"));
            rs.AddNew();
            rs.Imposta(QStringLiteral("T1Numero"), QStringLiteral("3331112222"));
            rs.Imposta(QStringLiteral("T1Nome"), QStringLiteral("Mario Rossi"));
            rs.Update();
        }
        const QByteArray prima = impronta(archivio);
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), argomenti), 0);
        QCOMPARE(impronta(archivio), prima);
        // Without --se-manca an existing file is an error, and still untouched.
        QVERIFY(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), argomenti.mid(1)) != 0);
        QCOMPARE(impronta(archivio), prima);

        Archivio a;
        a.ApriArchivio(dir.filePath(QStringLiteral("programma")));
        QCOMPARE(a.ApriTabella(QStringLiteral("Clienti")).Testo(QStringLiteral("T1Nome")),
                 QStringLiteral("Mario Rossi"));
        QCOMPARE(a.ApriTabella(QStringLiteral("Impostazioni")).RecordCount(), 1);
    }

    // An archive of an earlier release (no step count, no pieces' table) is left to the
    // program by --se-manca; --aggiorna copies it and brings it up to date, rows kept.
    void aggiornaUnArchivioPrecedente() {
        QTemporaryDir dir;
        const QString archivio = dir.filePath(QStringLiteral("archivio.mdb"));
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), {archivio}), 0);
        {
            ConnessioneEsterna vecchio(archivio);
            QCOMPARE(vecchio.esegui("DROP TABLE SmsParti; PRAGMA user_version = 0; "
                                    "INSERT INTO Clienti (T1Nome) VALUES ('Rossi Mario')"),
                     0);
        }
        const QByteArray prima = impronta(archivio);
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), {"--se-manca", archivio}), 0);
        QCOMPARE(impronta(archivio), prima);

        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO), {"--aggiorna", archivio}), 0);
        ConnessioneEsterna dopo(archivio);
        QCOMPARE(dopo.valore("PRAGMA user_version").toInt(), SchemaArchivio::Versione());
        QCOMPARE(dopo.valore("SELECT count(*) FROM SmsParti").toInt(), 0);
        QCOMPARE(dopo.valore("SELECT T1Nome FROM Clienti").toString(), QString("Rossi Mario"));
        QCOMPARE(QDir(ImpostazioniBackup::CartellaPrincipale(dir.path()))
                     .entryList({QStringLiteral("*.mdb")}, QDir::Files)
                     .size(),
                 1);
    }

    void ilSuonoDiNotificaEUnOndaPcmValida() {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("notify.wav"));
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_SUONO), {wav}), 0);
        QFile f(wav);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray d = f.readAll();
        QVERIFY(d.size() > 44);
        QCOMPARE(d.left(4), QByteArray("RIFF"));
        QCOMPARE(d.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int i) { return qFromLittleEndian<quint16>(d.constData() + i); };
        const auto u32 = [&](int i) { return qFromLittleEndian<quint32>(d.constData() + i); };
        QCOMPARE(u32(4), quint32(d.size() - 8));
        QCOMPARE(u16(20), quint16(1));  // PCM
        QCOMPARE(u16(22), quint16(1));  // mono
        QCOMPARE(u16(34), quint16(16)); // bits
        const quint32 frequenza = u32(24);
        QCOMPARE(d.mid(36, 4), QByteArray("data"));
        const quint32 byteDati = u32(40);
        QCOMPARE(qsizetype(byteDati), d.size() - 44);
        // A short chime: under two seconds, audible, never clipped, silent at the end.
        const double secondi = double(byteDati) / 2 / frequenza;
        QVERIFY(secondi > 0.3 && secondi < 2.0);
        int picco = 0;
        for (quint32 i = 0; i < byteDati; i += 2)
            picco =
                std::max(picco, std::abs(int(qFromLittleEndian<qint16>(d.constData() + 44 + i))));
        QVERIFY(picco > 3000);
        QVERIFY(picco < 32767);
        const int ultimo = std::abs(int(qFromLittleEndian<qint16>(d.constData() + d.size() - 2)));
        QVERIFY(ultimo < 1000);
    }
};

QTEST_GUILESS_MAIN(TstStrumenti)
#include "tst_strumenti.moc"

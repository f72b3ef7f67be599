#include "RicevitoreStampante.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using Evento = RicevitoreStampante::Evento;
using Tipo = RicevitoreStampante::Evento::Tipo;

class TstRicevitoreStampante : public QObject {
    Q_OBJECT
private slots:
    // A document as the program sends it, read in one go and one byte at a time alike.
    void documentoInteroOAPezzi() {
        const QByteArray linea = "j@\"---| STAMPA SMS \"@\"\"@\"Caff\xE8 1\x80 \"@\"x\"J";
        const QList<Evento> attesi{{Tipo::Inizio, {}},
                                   {Tipo::Riga, QStringLiteral("---| STAMPA SMS ")},
                                   {Tipo::Riga, QString()},
                                   {Tipo::Riga, QStringLiteral("Caffè 1€ ")},
                                   {Tipo::Riga, QStringLiteral("x")},
                                   {Tipo::Fine, {}}};
        RicevitoreStampante intero;
        QCOMPARE(intero.ricevi(linea), attesi);
        QVERIFY(!intero.documentoAperto());

        RicevitoreStampante aPezzi;
        QList<Evento> eventi;
        for (const char c : linea)
            eventi += aPezzi.ricevi(QByteArray(1, c));
        QCOMPARE(eventi, attesi);
    }

    // Bytes outside a line are not commands the printer knows: counted, nothing printed.
    void byteEstraneiIgnorati() {
        RicevitoreStampante r;
        QCOMPARE(r.ricevi("xj-j@"), (QList<Evento>{{Tipo::Inizio, {}}}));
        QCOMPARE(r.byteIgnorati(), 3); // x, the j not followed by @, -
        QVERIFY(r.documentoAperto());
        const QByteArray lunga(RicevitoreStampante::kMassimoRiga + 10, 'a');
        const QList<Evento> e = r.ricevi('"' + lunga + "\"@");
        QCOMPARE(e.size(), 2);
        QCOMPARE(e[0].testo.size(), RicevitoreStampante::kMassimoRiga);
        QCOMPARE(e[1].testo.size(), 10);
    }

    // The tool on its pseudo-terminal shows what the program writes to porte/COM2.
    void loStrumentoMostraLoScontrino() {
        QTemporaryDir cartella;
        const QString collegamento = cartella.filePath(QStringLiteral("porte/COM2"));
        QProcess strumento;
        strumento.start(QStringLiteral(VELTRIKA_STAMPANTE_SIM),
                        {QStringLiteral("--porta"), collegamento});
        QVERIFY(strumento.waitForReadyRead(5000)); // the line that says where it listens
        QVERIFY(strumento.readAll().contains("collegata a"));
        const int fd = ::open(QFile::encodeName(collegamento).constData(), O_RDWR | O_NOCTTY);
        QVERIFY(fd >= 0);
        const QByteArray documento = "j@\"Nome: \"@\"Mario \"@J";
        QCOMPARE(::write(fd, documento.constData(), size_t(documento.size())),
                 ssize_t(documento.size()));
        QByteArray mostrato;
        while (mostrato.count('+') < 4 && strumento.waitForReadyRead(5000))
            mostrato += strumento.readAll();
        ::close(fd);
        const QString bordo = QLatin1Char('+') + QString(38, QLatin1Char('-')) + QLatin1Char('+');
        QCOMPARE(QString::fromUtf8(mostrato).split(QLatin1Char('\n')).mid(0, 4),
                 (QStringList{bordo, QStringLiteral("| Nome:%1 |").arg(QString(31, ' ')),
                              QStringLiteral("| Mario%1 |").arg(QString(31, ' ')), bordo}));
        strumento.terminate();
        QVERIFY(strumento.waitForFinished(5000));
        QCOMPARE(strumento.exitCode(), 0);
        QVERIFY(!QFile::exists(collegamento)); // its link goes with it
    }
};

QTEST_GUILESS_MAIN(TstRicevitoreStampante)
#include "tst_ricevitorestampante.moc"

#include "CapoPty.h"
#include "platform/CodicePagina1252.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSerialeQt.h"
#include "platform/PorteCom.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace {

void collega(const QString& cartella, int com, const QString& dispositivo) {
    QDir(cartella).mkpath(QStringLiteral("porte"));
    QVERIFY(
        QFile::link(dispositivo, QDir(cartella).filePath(QStringLiteral("porte/COM%1").arg(com))));
}

int numeroErrore(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const ErroreRuntime& e) {
        return e.Number();
    }
    return 0;
}

} // namespace

class TstPortaSeriale : public QObject {
    Q_OBJECT
private slots:
    void laCartellaPorteDaSolaDecideLePorte() {
        QTemporaryDir programma;
        QTemporaryDir dispositivi;
        QFile(dispositivi.filePath(QStringLiteral("ttyUSB0"))).open(QIODevice::WriteOnly);
        collega(programma.path(), 3, dispositivi.filePath(QStringLiteral("ttyUSB0")));
        collega(programma.path(), 4, dispositivi.filePath(QStringLiteral("sparito")));
        QCOMPARE(PorteCom::Dispositivo(programma.path(), 3, dispositivi.path()),
                 dispositivi.filePath(QStringLiteral("ttyUSB0")));
        // No link, or a link to a device that has gone: the port does not exist, whatever the
        // machine has.
        QCOMPARE(PorteCom::Dispositivo(programma.path(), 1, dispositivi.path()), QString());
        QCOMPARE(PorteCom::Dispositivo(programma.path(), 4, dispositivi.path()), QString());
    }

    void senzaCartellaPorteLOrdineEUsbAcmSeriali() {
        QTemporaryDir programma;
        QTemporaryDir dev;
        for (const char* nome : {"ttyS0", "ttyS10", "ttyS2", "ttyACM0", "ttyUSB1", "ttyUSB0",
                                 "ttySx", "tty0", "ttyUSB"})
            QFile(dev.filePath(QString::fromLatin1(nome))).open(QIODevice::WriteOnly);
        QStringList ordine;
        for (int n = 1; n <= 7; ++n)
            ordine << QFileInfo(PorteCom::Dispositivo(programma.path(), n, dev.path())).fileName();
        QCOMPARE(ordine,
                 (QStringList{"ttyUSB0", "ttyUSB1", "ttyACM0", "ttyS0", "ttyS2", "ttyS10", ""}));
        QCOMPARE(PorteCom::Dispositivo(programma.path(), 0, dev.path()), QString());
        QVERIFY(!PorteCom::ConCollegamenti(programma.path()));

        // The stable names the search tells in the diagnostics: the by-id links to the device.
        QVERIFY(QDir(dev.path()).mkpath(QStringLiteral("serial/by-id")));
        const QString perId = dev.filePath(QStringLiteral("serial/by-id/"));
        QVERIFY(QFile::link(QStringLiteral("../../ttyUSB1"),
                            perId + QStringLiteral("usb-Modem-if02-port0")));
        QVERIFY(QFile::link(QStringLiteral("../../ttyUSB0"),
                            perId + QStringLiteral("usb-Stampante-if00-port0")));
        QCOMPARE(PorteCom::NomiStabili(dev.filePath(QStringLiteral("ttyUSB1")), dev.path()),
                 QStringList{perId + QStringLiteral("usb-Modem-if02-port0")});
        QCOMPARE(PorteCom::NomiStabili(dev.filePath(QStringLiteral("ttyACM0")), dev.path()),
                 QStringList());
    }

    void codicePagina1252() {
        const QByteArray byte("caff\xE8 \x80 5 \x93ok\x94 \x81", 16);
        const QString testo = CodicePagina1252::Decodifica(byte);
        QCOMPARE(testo, QStringLiteral("caffè € 5 “ok” ") + QChar(0x81));
        QCOMPARE(CodicePagina1252::Codifica(testo), byte);
        // Nothing outside the code page gets through as more than one byte.
        QCOMPARE(CodicePagina1252::Codifica(QStringLiteral("a€ж😀")), QByteArray("a\x80??", 4));
    }

    void portaSuPseudoTerminale() {
        CapoPty modem;
        QVERIFY(!modem.dispositivo().isEmpty());
        QTemporaryDir programma;
        QVERIFY(modem.collega(programma.path(), 2));
        PortaSerialeQt porta(programma.path());

        porta.setCommPort(1);
        QCOMPARE(numeroErrore([&] { porta.setPortOpen(true); }), 8002);
        porta.setCommPort(2);
        porta.setPortOpen(true);
        QVERIFY(porta.PortOpen());
        QCOMPARE(porta.Dispositivo(), modem.dispositivo());
        QCOMPARE(numeroErrore([&] { porta.setCommPort(3); }), 8005);
        // A pseudo-terminal has no modem-control lines and refuses some settings: no failure.
        porta.setDTREnable(true);
        porta.setSettings(QStringLiteral("9600,N,8,1"));
        porta.setDTREnable(false);
        QVERIFY(porta.PortOpen());

        porta.Output(QStringLiteral("AT+CMGS=\"è\"\r"));
        QCOMPARE(modem.leggi("\r"), QByteArray("AT+CMGS=\"\xE8\"\r"));
        QCOMPARE(porta.byteScritti(), 12);

        modem.scrivi(QByteArray("\r\nPer\xF2 \x80\r\n"));
        for (int giri = 0; giri < 100 && porta.byteRicevuti() < 10; ++giri)
            QTest::qWait(5);
        QCOMPARE(porta.InBufferCount(), 10);
        QCOMPARE(porta.Input(), QStringLiteral("\r\nPerò €\r\n"));
        QCOMPARE(porta.InBufferCount(), 0);

        // Another program holding the device: the port is already open.
        PortaSerialeQt altra(programma.path());
        altra.setCommPort(2);
        QCOMPARE(numeroErrore([&] { altra.setPortOpen(true); }), 8005);

        porta.setPortOpen(false);
        QVERIFY(!porta.PortOpen());
        QCOMPARE(numeroErrore([&] { porta.Output(QStringLiteral("AT")); }), 8018);
        QCOMPARE(porta.InBufferCount(), 0);
        // Closed, it can be opened again.
        porta.setPortOpen(true);
        QVERIFY(porta.PortOpen());
    }

    void unDispositivoCheSparisceFaFallireLaScrittura() {
        auto modem = std::make_unique<CapoPty>();
        QTemporaryDir programma;
        QVERIFY(modem->collega(programma.path(), 1));
        PortaSerialeQt porta(programma.path());
        porta.setPortOpen(true);
        porta.Output(QStringLiteral("AT\r"));
        // A write to a live device waits for it to take the bytes.
        QVERIFY(porta.giriAttesaUltimaScrittura() > 0);
        modem.reset(); // the far end hangs up
        QCOMPARE(porta.InBufferCount(), 0);
        QCOMPARE(porta.Input(), QString());
        // Still open for the program, which learns of it at the next write: known lost at once,
        // the write fails without waiting for a device that takes nothing.
        QVERIFY(porta.PortOpen());
        QCOMPARE(numeroErrore([&] { porta.Output(QStringLiteral("AT")); }), 8021);
        QCOMPARE(porta.giriAttesaUltimaScrittura(), 0);
        porta.setPortOpen(false);
        QVERIFY(!porta.PortOpen());
        QCOMPARE(numeroErrore([&] { porta.setPortOpen(true); }), 8002);
    }

    // A printer at line speed takes a long document bit by bit: every byte arrives, in order.
    void unDocumentoLungoAttendeLaStampanteLenta() {
        CapoPty stampante;
        QTemporaryDir programma;
        QVERIFY(stampante.collega(programma.path(), 2));
        PortaSerialeQt porta(programma.path());
        porta.setCommPort(2);
        porta.setPortOpen(true);
        std::atomic<bool> fine{false};
        std::atomic<qsizetype> quanti{0};
        QByteArray ricevuti; // the reader's until it is joined
        std::thread lettore([&] {
            char buf[256];
            while (!fine) {
                pollfd p{stampante.fd(), POLLIN, 0};
                if (::poll(&p, 1, 10) > 0) {
                    const ssize_t n = ::read(stampante.fd(), buf, sizeof buf);
                    if (n > 0) {
                        ricevuti.append(buf, n);
                        quanti = ricevuti.size();
                    }
                }
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            }
        });
        QByteArray atteso;
        for (int i = 0; i < 3000; ++i) {
            const QString riga =
                QStringLiteral("\"Riga %1 di una lista lunga, con il suo testo\"@").arg(i);
            porta.Output(riga);
            atteso += riga.toLatin1();
        }
        porta.setPortOpen(false);
        for (int giri = 0; giri < 500; ++giri) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (quanti >= atteso.size())
                break;
        }
        fine = true;
        lettore.join();
        QVERIFY(atteso.size() > 100000);
        QCOMPARE(ricevuti.size(), atteso.size());
        QCOMPARE(ricevuti, atteso);
    }

    // A printer that takes nothing more fails the write instead of hanging the program.
    void unaStampanteFermaFaFallireLaScrittura() {
        CapoPty stampante;
        QTemporaryDir programma;
        QVERIFY(stampante.collega(programma.path(), 2));
        PortaSerialeQt porta(programma.path());
        porta.impostaAttesaMassima(200);
        porta.setCommPort(2);
        porta.setPortOpen(true);
        const QString blocco(1024, QLatin1Char('x'));
        int errore = 0;
        for (int i = 0; i < 4096 && errore == 0; ++i)
            errore = numeroErrore([&] { porta.Output(blocco); });
        QCOMPARE(errore, 8021);
    }

    // A hang-up is seen whatever Qt reports: at the next write even when nothing was read since,
    // and in the middle of a long write, which ends within a second instead of looping.
    void unRiaggancioEVistoSenzaGiriAVuoto() {
        QTemporaryDir programma;
        auto modem = std::make_unique<CapoPty>();
        QVERIFY(modem->collega(programma.path(), 1));
        PortaSerialeQt porta(programma.path());
        porta.setPortOpen(true);
        porta.Output(QStringLiteral("AT\r"));
        modem.reset();
        QCOMPARE(numeroErrore([&] { porta.Output(QStringLiteral("AT")); }), 8021);
        QCOMPARE(porta.giriAttesaUltimaScrittura(), 0);
        QVERIFY(porta.PortOpen());
        porta.setPortOpen(false);

        auto stampante = std::make_unique<CapoPty>();
        QVERIFY(stampante->collega(programma.path(), 2));
        porta.setCommPort(2);
        porta.setPortOpen(true);
        // The printer takes one byte of a document far larger than the line holds, then is
        // pulled out while the write waits for it.
        std::thread staccata([&] {
            char c = 0;
            (void)::read(stampante->fd(), &c, 1);
            stampante.reset();
        });
        const int errore = numeroErrore([&] { porta.Output(QString(256 * 1024, 'x')); });
        staccata.join();
        QCOMPARE(errore, 8021);
        // Each round waits at most 50 ms for the device.
        QVERIFY2(porta.giriAttesaUltimaScrittura() <= 20,
                 qPrintable(QString::number(porta.giriAttesaUltimaScrittura())));
    }

    void numeriFuoriDallIntervallo() {
        QTemporaryDir programma;
        PortaSerialeQt porta(programma.path());
        QCOMPARE(numeroErrore([&] { porta.setCommPort(17); }), 8002);
        QCOMPARE(numeroErrore([&] { porta.setCommPort(0); }), 8002);
    }
};

QTEST_MAIN(TstPortaSeriale)
#include "tst_portaseriale.moc"

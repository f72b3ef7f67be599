#include "BancoMotorePty.h"
#include "ModemManagerFinto.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kUid = QStringLiteral("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-3");

// The start-up the modem hears from the program, whatever ModemManager did.
const QList<QByteArray> kAvvio{"AT",        "ATE0",      "AT+CGMR",   "AT+CMGF=1",
                               "AT+CMEE=2", "AT+CSDH=1", "AT+CSCS=?", "AT+CSCS=\"8859-1\""};

// The bench's modem as ModemManager names it: the pseudo-terminal under /dev.
QString nomeKernel(BancoMotorePty& b) {
    return b.sim.dispositivo().mid(QStringLiteral("/dev/").size());
}

// "Trova Gsm" on a working modem, until it is usable again.
bool trovaDiNuovo(BancoMotorePty& b) {
    b.motore->supervisione.TrovaGsm();
    return b.finche(
        [&] { return b.comandi().count("AT") == 2 && b.abilitato() && b.motore->Inattivo(); });
}

QStringList avvisiModemManager(const BancoMotorePty& b) {
    return b.dialogo.testi().filter(QStringLiteral("ModemManager"));
}

} // namespace

// The program on a desktop whose ModemManager holds modems: the stand-in on a private bus, the
// program's engine on a pseudo-terminal with the modem simulator behind it.
class TstInibizioneModemManager : public QObject {
    Q_OBJECT

    std::unique_ptr<ModemManagerFinto> mm;
    QTemporaryDir sys;

private slots:
    void init() {
        mm = std::make_unique<ModemManagerFinto>();
        QVERIFY(!mm->indirizzo().isEmpty());
        qputenv("VELTRIKA_BUS_MODEMMANAGER", mm->indirizzo().toUtf8());
        qputenv("VELTRIKA_SYS", sys.path().toUtf8());
    }
    void cleanup() {
        qunsetenv("VELTRIKA_BUS_MODEMMANAGER");
        qunsetenv("VELTRIKA_SYS");
        mm.reset();
    }

    void ilModemELasciatoPrimaDelPrimoComando() {
        BancoMotorePty b;
        mm->aggiungiModem(QStringLiteral("/sys/devices/altro"), {QStringLiteral("ttyUSB7")});
        mm->aggiungiModem(kUid,
                          {QStringLiteral("cdc-wdm0"), QStringLiteral("wwan0"), nomeKernel(b)});
        QVERIFY(mm->offri());
        b.accendi();
        // The call came while the port was open and the modem had heard nothing yet.
        QCOMPARE(mm->inibizioni(), QStringList{kUid});
        QVERIFY(!b.sim.attendiByte(1, 100));
        QVERIFY(b.finche([&] { return b.abilitato(); }));
        QCOMPARE(b.comandi().mid(0, kAvvio.size()), kAvvio);
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
        // "Trova Gsm" opens the same port again: the modem was already let go.
        QVERIFY(trovaDiNuovo(b));
        QCOMPARE(mm->inibizioni().size(), 1);
    }

    void nessunaChiamataSeIlModemNonESuQuellaPorta_data() {
        QTest::addColumn<bool>("conServizio");
        QTest::newRow("modem su altre porte") << true;
        QTest::newRow("bus senza ModemManager") << false;
    }
    void nessunaChiamataSeIlModemNonESuQuellaPorta() {
        QFETCH(bool, conServizio);
        BancoMotorePty b;
        mm->aggiungiModem(kUid, {QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB2")});
        if (conServizio)
            QVERIFY(mm->offri());
        QVERIFY(b.avviaFinoAdAbilitato());
        QVERIFY(mm->inibizioni().isEmpty());
        QCOMPARE(b.comandi().mid(0, kAvvio.size()), kAvvio);
        QCOMPARE(b.dialogo.testi(), QStringList{QStringLiteral("MODULO GSM abilitato")});
    }

    void unRifiutoEDettoUnaVoltaConLaRegolaUdevEIlProgrammaVaAvanti() {
        BancoMotorePty b;
        // The tty's interface under its USB device, which carries vendor and product.
        const QString usb = sys.filePath(QStringLiteral("devices/usb1/1-3"));
        QVERIFY(QDir().mkpath(usb + QStringLiteral("/1-3:1.0/tty")));
        for (const auto& [nome, valore] : {std::pair{"idVendor", "12d1"}, {"idProduct", "1506"}}) {
            QFile f(usb + QLatin1Char('/') + QLatin1String(nome));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(valore) + '\n');
        }
        const QString classe =
            sys.filePath(QStringLiteral("class/tty/") +
                         nomeKernel(b).replace(QLatin1Char('/'), QLatin1Char('!')));
        QVERIFY(QDir().mkpath(classe));
        QVERIFY(QFile::link(usb + QStringLiteral("/1-3:1.0"), classe + QStringLiteral("/device")));
        mm->aggiungiModem(kUid, {nomeKernel(b)});
        mm->rifiuta(true);
        QVERIFY(mm->offri());

        QVERIFY(b.avviaFinoAdAbilitato());
        QCOMPARE(mm->inibizioni(), QStringList{kUid});
        QCOMPARE(b.comandi().mid(0, kAvvio.size()), kAvvio);
        const QStringList avvisi = avvisiModemManager(b);
        QCOMPARE(avvisi.size(), 1);
        QVERIFY(avvisi[0].contains(b.sim.dispositivo()));
        QVERIFY(avvisi[0].contains(
            QStringLiteral("/etc/udev/rules.d/70-veltrika-modem.rules:\n\n"
                           "ATTRS{idVendor}==\"12d1\", ATTRS{idProduct}==\"1506\", "
                           "ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n")));
        QVERIFY(b.dialogo.testi().contains(QStringLiteral("MODULO GSM abilitato")));

        // Said once: a new search on the same modem neither asks nor says it again.
        QVERIFY(trovaDiNuovo(b));
        QCOMPARE(avvisiModemManager(b).size(), 1);
        QCOMPARE(mm->inibizioni().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TstInibizioneModemManager)
#include "tst_inibizionemodemmanager.moc"

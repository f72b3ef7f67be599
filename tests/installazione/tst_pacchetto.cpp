#include "DatiDiProva.h"
#include "EseguiProgramma.h"
#include "archive/Archivio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// A command that must succeed; the test fails showing what it wrote.
#define RIESCE(programma, ...)                                                                     \
    do {                                                                                           \
        QByteArray uscita;                                                                         \
        QVERIFY2(EseguiProgramma(programma, __VA_ARGS__, &uscita) == 0, uscita.constData());       \
    } while (0)

namespace {
const QString cartellaBuild = QStringLiteral(CARTELLA_BUILD);

int modo(const QString& percorso) {
    struct stat s {};
    return ::stat(QFile::encodeName(percorso).constData(), &s) == 0 ? int(s.st_mode & 07777) : -1;
}

bool delGruppoDialout(const QString& percorso) {
    struct stat s {};
    const group* g = ::getgrnam("dialout");
    return g && ::stat(QFile::encodeName(percorso).constData(), &s) == 0 && s.st_gid == g->gr_gid;
}

// The first customer's name, empty in an archive without customers.
QString nomeCliente(const QString& cartella) {
    Archivio a;
    a.ApriArchivio(cartella);
    Recordset& rs = a.ApriTabella(QStringLiteral("Clienti"));
    return rs.isEOF() ? QString() : rs.Testo(QStringLiteral("T1Nome"));
}
} // namespace

// The program as a person installs it: the Debian package into a scratch root with the real
// dpkg, and `cmake --install` into a scratch prefix. Either way the second install is an
// upgrade over a shop that has been working.
class TstPacchetto : public QObject {
    Q_OBJECT

    // Installs twice with `installa`, checking the program folder under `radice` each time.
    void installaEAggiorna(const QString& radice, const std::function<void()>& installa) {
        installa();
        if (QTest::currentTestFailed())
            return;
        const QString programma = radice + QStringLiteral("/opt/veltrika");
        for (const char* nome :
             {"veltrika", "veltrika-gsm-sim", "veltrika-stampante-sim", "crea-archivio"})
            QVERIFY2(QFileInfo(programma + QLatin1Char('/') + QLatin1String(nome)).isExecutable(),
                     nome);
        for (const char* nome :
             {"notify.wav", "help.pdf", "configurazione stampanti.pdf"})
            QVERIFY2(QFileInfo(programma + QLatin1Char('/') + QLatin1String(nome)).size() > 0,
                     nome);
        for (const char* nome : {"usr/share/applications/veltrika.desktop",
                                 "usr/share/icons/hicolor/scalable/apps/veltrika.svg",
                                 "usr/share/icons/hicolor/256x256/apps/veltrika.png"})
            QVERIFY2(QFileInfo::exists(radice + QLatin1Char('/') + QLatin1String(nome)), nome);
        // The link works under any root, and the program finds its folder through it.
        const QFileInfo link(radice + QStringLiteral("/usr/bin/veltrika"));
        QVERIFY(link.isSymLink());
        QCOMPARE(link.canonicalFilePath(),
                 QFileInfo(programma + QStringLiteral("/veltrika")).canonicalFilePath());

        // A real encrypted archive with its settings record, writable by the modem's users.
        {
            Archivio a;
            a.ApriArchivio(programma);
            QCOMPARE(a.ApriTabella(QStringLiteral("Impostazioni")).RecordCount(), 1);
            DatiDiProva::Cliente(a, QStringLiteral("3331112222"), QStringLiteral("Mario Rossi"));
        }
        QCOMPARE(modo(programma), 03775);
        QCOMPARE(modo(programma + QStringLiteral("/Cartella File Excel")), 02775);
        QCOMPARE(modo(programma + QStringLiteral("/Backup")), 02775);
        QCOMPARE(modo(programma + QStringLiteral("/archivio.mdb")), 0664);
        if (::geteuid() == 0)
            QVERIFY(delGruppoDialout(programma + QStringLiteral("/archivio.mdb")));

        // The upgrade leaves the shop's archive as it was.
        installa();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(nomeCliente(programma), QStringLiteral("Mario Rossi"));
    }

private slots:
    void initTestCase() {
        // dpkg looks for ldconfig and start-stop-daemon on the PATH.
        qputenv("PATH", qgetenv("PATH") + ":/usr/sbin:/sbin");
    }

    void ilPacchettoDebianInstallaIlProgrammaESiAggiornaSenzaToccareLArchivio() {
        QTemporaryDir dir;
        RIESCE(QStringLiteral(CPACK),
               {QStringLiteral("--config"), cartellaBuild + QStringLiteral("/CPackConfig.cmake"),
                QStringLiteral("-B"), dir.filePath(QStringLiteral("pacchetto"))});
        const QString deb = dir.filePath(QStringLiteral("pacchetto/veltrika_1.0.1_amd64.deb"));
        QVERIFY(QFile::exists(deb));

        // An archive in the package would replace the shop's own at every upgrade.
        QByteArray contenuto;
        QCOMPARE(
            EseguiProgramma(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb}, &contenuto),
            0);
        QVERIFY(contenuto.contains("./opt/veltrika/veltrika\n"));
        QByteArray consigliati;
        QCOMPARE(EseguiProgramma(QStringLiteral("dpkg-deb"),
                                 {QStringLiteral("-f"), deb, QStringLiteral("Recommends")},
                                 &consigliati),
                 0);
        QCOMPARE(consigliati.trimmed(), QByteArray("usb-modeswitch"));
        QVERIFY(!contenuto.contains("archivio.mdb"));

        // Its dependencies exist on this release (apt resolves them) and name the package that
        // holds Qt's SVG image plugin here, which moved between releases.
        RIESCE(QStringLiteral("apt-get"), {QStringLiteral("-s"), QStringLiteral("-q"),
                                           QStringLiteral("install"), deb});
        QByteArray dipendenze, proprietario;
        QCOMPARE(EseguiProgramma(QStringLiteral("dpkg-deb"),
                                 {QStringLiteral("-f"), deb, QStringLiteral("Depends")},
                                 &dipendenze),
                 0);
        QCOMPARE(EseguiProgramma(QStringLiteral("dpkg"),
                                 {QStringLiteral("-S"), QStringLiteral("imageformats/libqsvg.so")},
                                 &proprietario),
                 0);
        const QByteArray pluginSvg = proprietario.left(proprietario.indexOf(':'));
        QVERIFY2(dipendenze.contains(" " + pluginSvg + " ") ||
                     dipendenze.contains(" " + pluginSvg + ","),
                 dipendenze.constData());

        const QString radice = dir.filePath(QStringLiteral("radice"));
        QVERIFY(QDir().mkpath(radice + QStringLiteral("/var/lib/dpkg/info")));
        QVERIFY(QDir().mkpath(radice + QStringLiteral("/var/lib/dpkg/updates")));
        QFile stato(radice + QStringLiteral("/var/lib/dpkg/status"));
        QVERIFY(stato.open(QIODevice::WriteOnly));
        stato.close();
        installaEAggiorna(radice, [&] {
            RIESCE(QStringLiteral("dpkg"),
                   {QStringLiteral("--root=") + radice, QStringLiteral("--force-not-root"),
                    QStringLiteral("--force-depends"), QStringLiteral("--force-script-chrootless"),
                    QStringLiteral("--log=/dev/null"), QStringLiteral("-i"), deb});
        });
    }

    void cmakeInstallLasciaLoStessoProgrammaEFaLArchivio() {
        // The build's list of what was installed belongs to the person who installed it.
        const QString elenco = cartellaBuild + QStringLiteral("/install_manifest.txt");
        QFile f(elenco);
        const bool cera = f.open(QIODevice::ReadOnly);
        const QByteArray elencoPrima = cera ? f.readAll() : QByteArray();
        f.close();
        const auto restituisci = qScopeGuard([&] {
            QFile::remove(elenco);
            if (cera && f.open(QIODevice::WriteOnly))
                f.write(elencoPrima);
        });

        QTemporaryDir dir;
        installaEAggiorna(dir.path(), [&] {
            RIESCE(QStringLiteral(CMAKE), {QStringLiteral("--install"), cartellaBuild,
                                           QStringLiteral("--prefix"), dir.path()});
        });
    }
};

QTEST_GUILESS_MAIN(TstPacchetto)
#include "tst_pacchetto.moc"

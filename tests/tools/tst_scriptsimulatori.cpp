#include "EseguiProgramma.h"
#include "archive/Archivio.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// What the printer simulator writes for a document, framed as on the paper roll.
QByteArray scontrino(const QStringList& righe) {
    const QByteArray bordo = '+' + QByteArray(38, '-') + '+';
    QByteArray r = bordo + '\n';
    for (const QString& riga : righe)
        r += "| " + riga.leftJustified(36).toUtf8() + " |\n";
    return r + bordo + "\n\n";
}
} // namespace

// scripts/simulatori.sh, the demo's hardware around the program, run as on a fresh clone.
class TstScriptSimulatori : public QObject {
    Q_OBJECT
private slots:
    void unaCartellaNuovaRiceveLoScontrino() {
        // The program folder of a first build: an archive, the simulators, no porte/ yet.
        QTemporaryDir dir;
        const QString programma = dir.path();
        QCOMPARE(EseguiProgramma(QStringLiteral(CREA_ARCHIVIO),
                                 {programma + "/archivio.mdb"}),
                 0);
        QVERIFY(QFile::link(QStringLiteral(VELTRIKA_GSM_SIM), programma + "/veltrika-gsm-sim"));
        QVERIFY(QFile::link(QStringLiteral(VELTRIKA_STAMPANTE_SIM),
                            programma + "/veltrika-stampante-sim"));
        const QString porte = programma + QStringLiteral("/porte");
        QVERIFY(!QFileInfo::exists(porte));

        // Stands in for the program: prints a receipt on COM2 and waits until the printer has
        // written it out, since the printer stops as soon as the command ends.
        const QString stampa = QStringLiteral(R"(
            for _ in $(seq 200); do [ -e "$1" ] && break; sleep 0.05; done
            [ -e "$1" ] || exit 3
            printf 'j@"MARGHERITA x2"@"Totale 12,00"@J' >"$1"
            for _ in $(seq 200); do
              n=$(grep -c '^+-' "$2" 2>/dev/null || true)
              [ "${n:-0}" -ge 2 ] && exit 0
              sleep 0.05
            done
            exit 4)");
        const QString stampe = porte + QStringLiteral("/COM2.stampe.txt");
        QProcess script;
        script.start(QStringLiteral("bash"),
                     {QStringLiteral(SCRIPT_SIMULATORI), programma, QStringLiteral("sh"),
                      QStringLiteral("-c"), stampa, QStringLiteral("sh"), porte + "/COM2", stampe});
        QVERIFY(script.waitForFinished(60000));
        const QByteArray errori = script.readAllStandardError();
        QVERIFY2(script.exitStatus() == QProcess::NormalExit && script.exitCode() == 0,
                 errori.constData());

        QFile f(stampe);
        QVERIFY2(f.open(QIODevice::ReadOnly), errori.constData());
        const QByteArray stampato = f.readAll();
        QVERIFY2(stampato.contains(
                     scontrino({QStringLiteral("MARGHERITA x2"), QStringLiteral("Totale 12,00")})),
                 stampato.constData());

        // Both simulators stopped with the command and took their links with them.
        QVERIFY(!QFileInfo(porte + "/COM1").isSymLink());
        QVERIFY(!QFileInfo(porte + "/COM2").isSymLink());

        // The demo gave the archive its operator.
        Archivio a;
        a.ApriArchivio(programma);
        Recordset& gestori = a.ApriTabella(QStringLiteral("DatiGestoreSim"));
        QCOMPARE(gestori.RecordCount(), 1);
        QCOMPARE(gestori.Testo(QStringLiteral("GestoreSim")), QStringLiteral("Rete Simulata"));
    }
};

QTEST_GUILESS_MAIN(TstScriptSimulatori)
#include "tst_scriptsimulatori.moc"

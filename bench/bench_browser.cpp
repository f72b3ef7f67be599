// bench-browser [--cartella <cartella>] [--ripetizioni N]
//
// Times the archive browser on a large archive, medians over N runs (default 5), each beside the
// sqlcipher command-line tool doing the equivalent query as the floor. Without --cartella a
// temporary archive is generated (10.000 customers, a million archived messages).

#include "Generatore.h"
#include "Misure.h"
#include "archive/Archivio.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "browser/ConsultazioneSms.h"
#include "browser/EsportazioneExcel.h"
#include "browser/FormSms.h"
#include "browser/IntervalloDate.h"
#include "browser/ModelloListaSms.h"
#include "platform/ErroreRuntime.h"
#include "platform/MsgBox.h"
#include "platform/PortaSerialeQt.h"
#include "platform/TreCaselle.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using namespace Misure;

// The browser as the program opens it: the archive opened once, the window over it.
struct Banco {
    explicit Banco(const QString& c)
        : cartella(c)
        , stato(c)
        , porta(c)
        , stampante(c)
        , stampa(stato, impostazioni, porta, stampante) {
        stato.archivio.ApriArchivio(c);
    }
    QString cartella;
    StatoGlobale stato;
    const ImpostazioniAttivita impostazioni;
    PortaSerialeQt porta;
    StampanteCorrente stampante;
    ModulofnStampa stampa;
    std::unique_ptr<FormSms> form;

    FormSms& f() {
        if (!form)
            apri();
        return *form;
    }
    void apri() {
        form.reset();
        form = std::make_unique<FormSms>(stato, stampa);
        form->show();
        QApplication::processEvents();
    }
    void date(const QDate& da, const QDate& a) {
        TreCaselle::Scrivi(f().Text1, IntervalloDate::Di(da));
        TreCaselle::Scrivi(f().Text2, IntervalloDate::Di(a));
    }
    void clic(int riga) {
        f().ListaClienti_ItemClick(f().ListaClienti->topLevelItem(riga));
        QApplication::processEvents();
    }
    int righe() { return f().Modello().rowCount(); }
};

// The date key of T4DataArrivo in SQL, for the tool to filter as the browser does.
const QString kChiaveSql = QStringLiteral(
    "CAST(substr(T4DataArrivo,1,2) AS INTEGER) + 31*CAST(substr(T4DataArrivo,4,2) AS INTEGER) + "
    "961*CAST(substr(T4DataArrivo,7,2) AS INTEGER)");

// The key the browser gives a day typed in its boxes.
int Chiave(const QDate& giorno) {
    return IntervalloDate::Chiave(IntervalloDate::Di(giorno));
}

struct Prova {
    const char* nome;
    std::function<void(Banco&)> prepara; // not timed
    std::function<void(Banco&)> esegui;
    std::function<QString(Banco&)> pavimento; // the tool's commands
};

std::vector<Prova> Prove() {
    const QDate oggi = QDate::currentDate();
    const int daTutti = Chiave(QDate(2012, 1, 1));
    const int aOggi = Chiave(oggi);
    const QString tuttiSql = QStringLiteral(".output /dev/null\nSELECT rowid FROM SMS WHERE %1 "
                                            "BETWEEN %2 AND %3;\n")
                                 .arg(kChiaveSql)
                                 .arg(daTutti)
                                 .arg(aOggi);
    return {
        {"apertura (mittenti e lista intera, disegnata)", [](Banco& b) { b.form.reset(); },
         [](Banco& b) { b.apri(); },
         [](Banco&) {
             return QStringLiteral(".output /dev/null\nSELECT T4Numero, MIN(rowid) FROM SMS "
                                   "GROUP BY T4Numero;\nSELECT rowid FROM SMS;\n");
         }},
        {"clic su un cliente (dal 2012 a oggi)", [](Banco& b) { b.f().CmdPulisci_Click(); },
         [](Banco& b) { b.clic(1); },
         [](Banco& b) {
             return QStringLiteral(".output /dev/null\nSELECT rowid, T4DataArrivo FROM SMS "
                                   "WHERE T4Numero = '%1';\n")
                 .arg(b.f().ListaClienti->topLevelItem(1)->text(0));
         }},
        {"clic su Tutti (dal 2012 a oggi)", [](Banco& b) { b.f().CmdPulisci_Click(); },
         [](Banco& b) { b.clic(0); }, [tuttiSql](Banco&) { return tuttiSql; }},
        {"scorrimento in fondo alla lista di Tutti",
         [](Banco& b) {
             b.f().ListaSMS->scrollToTop();
             QApplication::processEvents();
         },
         [](Banco& b) {
             b.f().ListaSMS->scrollToBottom();
             QApplication::processEvents();
         },
         [](Banco&) {
             return QStringLiteral("SELECT * FROM SMS ORDER BY rowid DESC LIMIT 40;\n");
         }},
        {"esportazione dell'anno 2020 (Tutti)",
         [](Banco& b) {
             b.date(QDate(2020, 1, 1), QDate(2020, 12, 31));
             b.clic(0);
             QDir(EsportazioneExcel::Cartella(b.cartella)).removeRecursively();
             QDir(b.cartella).mkdir(QStringLiteral("Cartella File Excel"));
         },
         [](Banco& b) { b.f().CmExcel_Click(); },
         [](Banco& b) {
             return QStringLiteral(".mode csv\n.output '%1'\nSELECT T4Numero, '', T4DataArrivo, "
                                   "T4OrarioArrivo, T4TestoSmsRicevuto FROM SMS WHERE %2 BETWEEN "
                                   "%3 AND %4;\n")
                 .arg(QDir(b.cartella).filePath(QStringLiteral("pavimento.csv")), kChiaveSql)
                 .arg(Chiave(QDate(2020, 1, 1)))
                 .arg(Chiave(QDate(2020, 12, 31)));
         }},
    };
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Opzioni opzioni;
    if (!LeggiOpzioni(app.arguments(), opzioni)) {
        std::fprintf(stderr, "uso: bench-browser [--cartella <cartella>] [--ripetizioni N]\n");
        return 2;
    }
    const int ripetizioni = opzioni.ripetizioni;
    QTemporaryDir temporanea;
    const QString cartella = opzioni.CartellaOppure(temporanea.path());
    // The boxes the browser shows are answered at once.
    MsgBoxHook::Installa([](const MessaggioMostrato&) { return 1; });
    try {
        GeneraSeManca(cartella, DatiDaGenerare{});
        QDir(cartella).mkdir(QStringLiteral("Cartella File Excel"));
        const double rssIniziale = MemoriaMb("VmRSS");
        AzzeraPicco();
        Banco b(cartella);
        std::printf("archivio: %s (%.0f MB)\nmediane su %d ripetizioni (pavimento: sqlcipher da "
                    "riga di comando, processo intero):\n",
                    qPrintable(b.stato.archivio.Percorso()),
                    double(QFileInfo(b.stato.archivio.Percorso()).size()) / 1048576.0, ripetizioni);
        for (const Prova& prova : Prove()) {
            std::vector<double> ms, pavimento;
            for (int i = 0; i < ripetizioni; ++i) {
                prova.prepara(b);
                QElapsedTimer t;
                t.start();
                prova.esegui(b);
                ms.push_back(Trascorso(t));
                pavimento.push_back(SqlcipherCli(cartella, prova.pavimento(b), false));
            }
            std::printf("  %-48s %9.1f ms   pavimento %8.1f ms   (%d righe)\n", prova.nome,
                        Mediana(ms), Mediana(pavimento), b.righe());
        }
        std::printf("processo intero: picco %.0f MB (all'avvio %.0f MB), ora %.0f MB\n",
                    MemoriaMb("VmHWM"), rssIniziale, MemoriaMb("VmRSS"));

        // Files made before the index existed get it at the browser's first opening: once.
        b.form.reset();
        SqlcipherCli(cartella,
                     QStringLiteral("DROP INDEX %1;\n").arg(ConsultazioneSms::NomeIndice()), false);
        QElapsedTimer t;
        t.start();
        ConsultazioneSms creazione(b.stato.archivio);
        std::printf("creazione dell'indice su un archivio che non l'ha (una volta): %.0f ms\n",
                    Trascorso(t));
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "bench-browser: %s\n", e.what());
        return 1;
    }
    return 0;
}

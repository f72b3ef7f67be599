// bench-archivio [--cartella <cartella>] [--ripetizioni N] [--archiviati K]
//
// Times the archive operations the windows depend on, on a large archive: medians over N runs.
// Without --cartella a temporary archive is generated (10.000 customers, 2.000 pending, a
// million archived messages); a folder that already holds archivio.mdb is used as it is.

#include "Generatore.h"
#include "Misure.h"
#include "app/FormMain.h"
#include "archive/Archivio.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"
#include "platform/PortaSerialeQt.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using namespace Misure;

struct Misura {
    double ms = 0;
    double extraRssMb = -1; // below zero: not measured
    double extraPiccoMb = -1;
};

struct Contesto {
    QString cartella;
    // Opened once, as the program opens it at start-up and keeps it for its whole life.
    Archivio archivio;
    // The main window over its own shared state, made at its first use.
    std::unique_ptr<StatoGlobale> stato;
    std::unique_ptr<Applicazione> applicazione;
    std::unique_ptr<FormMain> form;
};

struct Prova {
    const char* nome;
    std::function<Misura(Contesto&)> esegui;
};

Misura ApriTabellaSms(Contesto& c) {
    Archivio a;
    a.ApriArchivio(c.cartella);
    const double rss0 = MemoriaMb("VmRSS");
    AzzeraPicco();
    QElapsedTimer t;
    t.start();
    Recordset& rs = a.ApriTabella(Tabella::SMS);
    const QString testo = rs.Testo(Campo::T4TestoSmsRicevuto);
    Misura m{Trascorso(t), MemoriaMb("VmRSS") - rss0, MemoriaMb("VmHWM") - rss0};
    if (testo.isEmpty())
        std::fprintf(stderr, "attenzione: la tabella SMS è vuota\n");
    return m;
}

Misura ApriArchivio(Contesto& c) {
    QElapsedTimer t;
    t.start();
    Archivio a;
    a.ApriArchivio(c.cartella);
    return {Trascorso(t)};
}

// What VisualizzaLista does with the archive: the whole register, then every pending message.
Misura PercorriClienti(Contesto& c) {
    QElapsedTimer t;
    t.start();
    qint64 lunghezza = 0;
    Recordset& rs = c.archivio.ApriTabella(Tabella::Clienti);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        lunghezza += rs.Testo(Campo::T1Nome).size() + rs.Testo(Campo::T1Numero).size();
    Misura m{Trascorso(t)};
    if (lunghezza == 0)
        std::fprintf(stderr, "attenzione: nessun cliente\n");
    return m;
}

Misura PercorriInAttesa(Contesto& c) {
    QElapsedTimer t;
    t.start();
    qint64 gestiti = 0;
    Recordset& rs = c.archivio.ApriTabella(Tabella::SmsTemporanei);
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext()) {
        rs.Testo(Campo::T3Numero);
        rs.Testo(Campo::T3DataArrivo);
        rs.Testo(Campo::T3OrarioArrivo);
        rs.Testo(Campo::T3TestoSmsRicevuto);
        gestiti += rs.Booleano(Campo::T3Gestito);
    }
    Misura m{Trascorso(t)};
    if (gestiti == 0)
        std::fprintf(stderr, "attenzione: nessun messaggio gestito\n");
    return m;
}

// The whole rebuild of the pending list in the main window: lookup table, rows, colours.
Misura VisualizzaLista(Contesto& c) {
    if (!c.form) {
        c.stato = std::make_unique<StatoGlobale>(c.cartella);
        c.stato->archivio.ApriArchivio(c.cartella);
        c.applicazione =
            std::make_unique<Applicazione>(*c.stato, std::make_unique<PortaSerialeQt>(c.cartella),
                                           std::make_unique<PortaSerialeQt>(c.cartella));
        c.form = std::make_unique<FormMain>(*c.applicazione);
    }
    QElapsedTimer t;
    t.start();
    c.form->VisualizzaLista();
    Misura m{Trascorso(t)};
    if (c.form->ListaSMS->model()->rowCount() == 0)
        std::fprintf(stderr, "attenzione: lista vuota\n");
    return m;
}

// The same first read through the command-line tool: process start, key derivation and all.
// No program can open the file faster than this, hence the floor.
Misura PavimentoCli(Contesto& c) {
    return {
        SqlcipherCli(c.cartella, QStringLiteral("SELECT * FROM SMS ORDER BY rowid LIMIT 1;\n"))};
}

std::vector<Prova> Prove() {
    return {
        {"ApriArchivio (derivazione della chiave compresa)", ApriArchivio},
        {"ApriTabella(\"SMS\") + primo record", ApriTabellaSms},
        {"percorso completo di Clienti (archivio già aperto)", PercorriClienti},
        {"percorso completo di SmsTemporanei (archivio già aperto)", PercorriInAttesa},
        {"sqlcipher da riga di comando, primo record di SMS (pavimento)", PavimentoCli},
        {"VisualizzaLista (Clienti e SmsTemporanei, righe e colori)", VisualizzaLista},
    };
}

} // namespace

int main(int argc, char** argv) {
    // The main window is measured without a screen unless one is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Opzioni opzioni{QString(), 7};
    DatiDaGenerare dati;
    const bool valide =
        LeggiOpzioni(app.arguments(), opzioni, [&](const QString& nome, const QString& valore) {
            if (nome != QLatin1String("--archiviati"))
                return false;
            dati.archiviati = valore.toLongLong();
            return true;
        });
    if (!valide) {
        std::fprintf(stderr, "uso: bench-archivio [--cartella <cartella>] [--ripetizioni N] "
                             "[--archiviati K]\n");
        return 2;
    }
    const int ripetizioni = opzioni.ripetizioni;
    QTemporaryDir temporanea;
    const QString cartella = opzioni.CartellaOppure(temporanea.path());
    Contesto c;
    c.cartella = cartella;
    try {
        GeneraSeManca(cartella, dati);
        {
            Archivio a;
            a.ApriArchivio(cartella);
            std::printf("archivio: %s (%.0f MB)\n", qPrintable(a.Percorso()),
                        double(QFileInfo(a.Percorso()).size()) / 1048576.0);
            for (const QString& t : {Tabella::Clienti, Tabella::SmsTemporanei, Tabella::SMS})
                std::printf("  %-14s %lld record\n", qPrintable(t),
                            static_cast<long long>(a.ApriTabella(t).RecordCount()));
        }
        c.archivio.ApriArchivio(cartella);
        std::printf("mediane su %d ripetizioni:\n", ripetizioni);
        for (const Prova& prova : Prove()) {
            std::vector<double> ms, rss, picco;
            for (int i = 0; i < ripetizioni; ++i) {
                const Misura m = prova.esegui(c);
                ms.push_back(m.ms);
                rss.push_back(m.extraRssMb);
                picco.push_back(m.extraPiccoMb);
            }
            const double mediana = Mediana(ms);
            if (mediana < 0) {
                std::printf("  %-62s non disponibile\n", prova.nome);
                continue;
            }
            std::printf("  %-62s %9.2f ms", prova.nome, mediana);
            // Memory is reported at its worst run: the first one also pays for the allocator.
            if (Mediana(rss) >= 0)
                std::printf("   RSS +%.2f MB, picco +%.2f MB (massimi)",
                            *std::max_element(rss.begin(), rss.end()),
                            *std::max_element(picco.begin(), picco.end()));
            std::printf("\n");
        }
    } catch (const ErroreRuntime& e) {
        std::fprintf(stderr, "bench-archivio: %s\n", e.what());
        return 1;
    }
    return 0;
}

// bench-ricezione [--messaggi N]
//
// The modem engine's step while it empties a modem memory of N orders (default 1,000) into the
// archive: each tick reads or deletes one slot and stores the message it read, through the real
// serial layer and the project's modem simulator on a pseudo-terminal. The simulator's own time
// (the bytes crossing the pseudo-terminal) is left out; the step is what the main timer's tick
// spends in the engine. Goal: every step under 100 ms, every message stored.

#include "BancoMotorePty.h"
#include "Misure.h"
#include "archive/Archivio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    const qsizetype i = argomenti.indexOf(QStringLiteral("--messaggi"));
    const int messaggi = i >= 0 ? argomenti.value(i + 1).toInt() : 1000;
    if (messaggi < 1 || messaggi > ModemSimulato::CapacitaMassima) {
        std::fprintf(stderr, "--messaggi va da 1 a %d\n", ModemSimulato::CapacitaMassima);
        return 2;
    }

    BancoMotorePty b;
    b.modem().impostaCapacita(messaggi);
    for (int n = 1; n <= messaggi; ++n) {
        SmsSim s;
        s.mittente = "+39333" + QByteArray::number(1000000 + n);
        s.timestamp = "26/12/07,10:15:30+04";
        s.testo = "Ordine numero " + QByteArray::number(n) + ": due margherite e una birra";
        b.modem().impostaSms(n, s);
    }
    if (!b.avviaFinoAdAbilitato()) {
        std::fprintf(stderr, "il modem simulato non risponde\n");
        return 1;
    }
    std::vector<double> passi;
    QElapsedTimer totale;
    totale.start();
    while (!b.modem().slotOccupati().isEmpty() && passi.size() < size_t(messaggi) * 20) {
        PassaAlSimulatore(b.sim, *b.porta);
        QElapsedTimer t;
        t.start();
        if (b.motore->PassoModem())
            b.motore->Polling();
        passi.push_back(Misure::Trascorso(t));
    }
    const double durata = Misure::Trascorso(totale);

    Archivio a;
    a.ApriArchivio(b.cartella.percorso());
    Recordset& rs = a.ApriTabella(QStringLiteral("SmsTemporanei"));
    int archiviati = 0;
    for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
        ++archiviati;

    std::printf("%d messaggi in attesa, %d archiviati, %d rimasti nella memoria del modem\n",
                messaggi, archiviati, int(b.modem().slotOccupati().size()));
    std::vector<double> ordinati = passi;
    std::sort(ordinati.begin(), ordinati.end());
    const auto quantile = [&](double q) {
        return ordinati.empty() ? 0.0 : ordinati[size_t(q * double(ordinati.size() - 1))];
    };
    std::printf("%zu passi in %.0f ms: mediana %.2f ms, 99%% entro %.2f ms, peggiore %.2f ms, "
                "%d oltre 100 ms (obiettivo: nessuno)\n",
                passi.size(), durata, quantile(0.5), quantile(0.99), quantile(1.0),
                int(std::count_if(passi.begin(), passi.end(), [](double p) { return p >= 100; })));
    return archiviati == messaggi ? 0 : 1;
}

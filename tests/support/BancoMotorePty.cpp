#include "BancoMotorePty.h"

#include "DatiDiProva.h"
#include "archive/LetturaImpostazioni.h"
#include "platform/PortaSerialeQt.h"

#include <QDir>
#include <QElapsedTimer>
#include <thread>

void PassaAlSimulatore(SimulatorePty& sim, PortaSerialeQt& porta, qint64 scrittiPrima,
                       qint64 ricevutiPrima) {
    sim.attendiByte(scrittiPrima + porta.byteScritti(), 2000);
    sim.servi();
    QElapsedTimer attesa;
    attesa.start();
    while (porta.PortOpen() && ricevutiPrima + porta.byteRicevuti() < sim.byteInviati() &&
           attesa.elapsed() < 2000)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

BancoMotorePty::BancoMotorePty(int com, bool conDtr,
                               const std::function<void(Archivio&)>& prepara) {
    {
        StatoGlobale iniziale(cartella.percorso());
        iniziale.archivio.ApriArchivio(cartella.percorso());
        DatiDiProva::Modem(iniziale.archivio, conDtr);
        if (prepara)
            prepara(iniziale.archivio);
    }
    QString errore;
    const QString collegamento =
        QDir(cartella.percorso()).filePath(QStringLiteral("porte/COM%1").arg(com));
    if (!sim.apri(collegamento, &errore))
        qFatal("simulatore: %s", qPrintable(errore));
    creaMotore();
}

void BancoMotorePty::creaMotore() {
    motore.reset();
    porta.reset();
    globale = std::make_unique<StatoGlobale>(cartella.percorso());
    globale->archivio.ApriArchivio(cartella.percorso());
    impostazioni = LetturaImpostazioni::Leggi(globale->archivio);
    globale->gestore.Leggi(globale->archivio);
    porta = std::make_unique<PortaSerialeQt>(cartella.percorso());
    // What went each way before this port was made belongs to the program that used it.
    scrittiPrima_ = sim.byteRicevuti();
    ricevutiPrima_ = sim.byteInviati();
    motore = std::make_unique<MotoreGsm>(*globale, impostazioni, *porta, dialogo);
    motore->stato.AperturaInCorso = true;
    QObject::connect(
        motore.get(), &MotoreGsm::SmsRegistrato,
        [this](const QString&, const RicezioneSms::Risultato& r) { registrati.append(r); });
    QObject::connect(motore.get(), &MotoreGsm::ScansioneConclusa, [this] { ++scansioniConcluse; });
}

void BancoMotorePty::riavviaProgramma() {
    creaMotore();
    accendi();
}

void BancoMotorePty::tick(int n) {
    for (int i = 0; i < n; ++i) {
        PassaAlSimulatore(sim, *porta, scrittiPrima_, ricevutiPrima_);
        if (motore->PassoModem())
            motore->Polling();
        if (statiPorta.value(statiPorta.size() - 1) != motore->pannello.porta.testo)
            statiPorta << motore->pannello.porta.testo;
    }
}

bool BancoMotorePty::finche(const std::function<bool()>& condizione, int massimo) {
    for (int i = 0; i < massimo && !condizione(); ++i)
        tick();
    return condizione();
}

bool BancoMotorePty::abilitato() const {
    return motore->pannello.statoPin == StatoPin::Abilitato;
}

void BancoMotorePty::accendi() {
    motore->stato.PortaCom = 1;
    motore->Accendi_Gsm();
    statiPorta << motore->pannello.porta.testo;
}

bool BancoMotorePty::avviaFinoAdAbilitato() {
    accendi();
    return finche([this] { return abilitato(); });
}

QList<QByteArray> BancoMotorePty::comandi() {
    return sim.modem().comandiRicevuti();
}

bool BancoMotorePty::simSvuotata() {
    return finche([this] {
        return sim.modem().slotOccupati().isEmpty() && motore->Inattivo() &&
               motore->stato.TickAttesa == 0;
    });
}

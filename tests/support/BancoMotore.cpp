#include "BancoMotore.h"

#include "DatiDiProva.h"
#include "archive/LetturaImpostazioni.h"

#include <QTest>

BancoMotore::BancoMotore(bool conDtr, const std::function<void(Archivio&)>& prepara) {
    globale = std::make_unique<StatoGlobale>(cartella.percorso());
    Archivio& a = globale->archivio;
    a.ApriArchivio(cartella.percorso());
    DatiDiProva::Modem(a, conDtr);
    if (prepara)
        prepara(a);
    impostazioni = LetturaImpostazioni::Leggi(a);
    globale->gestore.Leggi(globale->archivio);
    porta.porteEsistenti = {1};
    modem.collega(porta);
    motore = std::make_unique<MotoreGsm>(*globale, impostazioni, porta, dialogo);
    motore->stato.AperturaInCorso = true;
}

void BancoMotore::accendi() {
    motore->stato.PortaCom = 1;
    motore->Accendi_Gsm();
}

void BancoMotore::tick(int n) {
    for (int i = 0; i < n; ++i) {
        ++porta.tick;
        if (motore->PassoModem())
            motore->Polling();
    }
}

int BancoMotore::tickFinche(const std::function<bool()>& condizione, int massimo) {
    for (int i = 0; i < massimo; ++i) {
        if (condizione())
            return i;
        tick();
    }
    return condizione() ? massimo : -1;
}

bool BancoMotore::abilitato() const {
    return motore->pannello.statoPin == StatoPin::Abilitato;
}

void BancoMotore::avviaFinoAdAbilitato() {
    accendi();
    QVERIFY(tickFinche([this] { return abilitato(); }) >= 0);
}

QStringList BancoMotore::nuoveRighe() {
    const QStringList nuove = porta.righeScritte.mid(righeViste_);
    righeViste_ = porta.righeScritte.size();
    return nuove;
}

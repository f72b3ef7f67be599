#include "BancoFormMain.h"

#include "platform/PortaSerialeQt.h"

#include <QTest>

void BancoFormMain::rinnova() {
    form.reset();
    applicazione.reset();
    stato = std::make_unique<StatoGlobale>(cartella.percorso());
    auto p = std::make_unique<PortaSerialeMemoria>();
    porta = p.get();
    applicazione = std::make_unique<Applicazione>(
        *stato, std::move(p), std::make_unique<PortaSerialeQt>(cartella.percorso()));
    form = std::make_unique<FormMain>(*applicazione);
}

void BancoFormMain::collegaModem() {
    porta->porteEsistenti = {1};
    modem.collega(*porta);
}

Archivio& BancoFormMain::archivioDiretto() {
    if (!stato->archivio.Caricato())
        stato->archivio.ApriArchivio(cartella.percorso());
    return stato->archivio;
}

void BancoFormMain::tick(int n) {
    for (int i = 0; i < n && !form->Scaricata(); ++i) {
        ++porta->tick;
        form->Timer1_Timer();
    }
}

int BancoFormMain::tickFinche(const std::function<bool()>& condizione, int massimo) {
    for (int i = 0; i < massimo; ++i) {
        if (condizione())
            return i;
        if (form->Scaricata())
            return -1;
        tick();
    }
    return condizione() ? massimo : -1;
}

void BancoFormMain::avviaFinoAllaLista() {
    QVERIFY(form->Avvia());
    tick(21);
    QCOMPARE(form->FaseAvvio, 2);
}

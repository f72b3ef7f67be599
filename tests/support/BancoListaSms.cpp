#include "BancoListaSms.h"

#include "DatiDiProva.h"

BancoListaSms::BancoListaSms() {
    stato.archivio.ApriArchivio(cartella.percorso());
    auto porta = std::make_unique<PortaSerialeMemoria>();
    stampante = porta.get();
    applicazione = std::make_unique<Applicazione>(stato, std::make_unique<PortaSerialeMemoria>(),
                                                  std::move(porta));
    form = std::make_unique<FormMain>(*applicazione);
}

void BancoListaSms::inEsercizio() {
    form->FaseAvvio = 2;
    form->Motore().stato.AperturaInCorso = false;
    form->setEnabled(true);
}

void BancoListaSms::sms(const QString& numero, const QString& orario, const QString& testo,
                        bool gestito) {
    DatiDiProva::SmsInAttesa(a(), numero, QStringLiteral("07/12/26"), orario, testo, gestito);
}

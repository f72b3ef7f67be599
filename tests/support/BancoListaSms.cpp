#include "BancoListaSms.h"

#include "DatiDiProva.h"

BancoListaSms::BancoListaSms() {
    stato.archivio.ApriArchivio(cartella.percorso());
    auto porta = std::make_unique<PortaSerialeMemoria>();
    stampante = porta.get();
    form = std::make_unique<FormMain>(stato, std::make_unique<PortaSerialeMemoria>(),
                                      std::move(porta));
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

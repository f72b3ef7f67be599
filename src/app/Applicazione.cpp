#include "Applicazione.h"

#include "archive/LetturaImpostazioni.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "campaigns/CampagnaSms.h"
#include "platform/MsgBox.h"
#include "printing/ModulofnStampa.h"
#include "printing/StampanteCorrente.h"

Applicazione::Applicazione(StatoGlobale& stato, std::unique_ptr<PortaSeriale> porta,
                           std::unique_ptr<PortaSeriale> portaStampante)
    : stato_(stato)
    , porta_(std::move(porta))
    , portaStampante_(std::move(portaStampante))
    , motore_(stato, impostazioni_, *porta_, *this)
    , campagna_(std::make_unique<CampagnaSms>(stato, motore_))
    , stampante_(std::make_unique<StampanteCorrente>(stato.cartellaProgramma))
    , stampa_(std::make_unique<ModulofnStampa>(stato, impostazioni_, *portaStampante_, *stampante_))
    , backup_(std::make_unique<BackupAutomatico>(stato.archivio, stato.cartellaProgramma)) {}

Applicazione::~Applicazione() = default;

void Applicazione::Avvia() {
    stato_.archivio.ApriArchivio(stato_.cartellaProgramma);
    LeggiArchivio();
    motore_.stato = StatoModem{};
    motore_.stato.AperturaInCorso = true;
    PannelloGsm& p = motore_.pannello;
    p.operatore.attiva = false;
    p.segnale = 0;
    p.codicePin.clear();
    p.servizioRichiesto = 0;
}

void Applicazione::LeggiArchivio() {
    impostazioni_ = LetturaImpostazioni::Leggi(stato_.archivio);
    PannelloGsm& p = motore_.pannello;
    p.operatore.testo = QStringLiteral("Operatore Sim");
    p.credito.testo = QStringLiteral("Credito NON Gestito");
    if (stato_.gestore.Leggi(stato_.archivio)) {
        p.operatore.testo = QStringLiteral("Operatore ") + stato_.gestore.nome;
        p.MostraCredito(stato_.gestore.credito, true);
    }
    stato_.archivio.ApriTabella(Tabella::SMS);
}

void Applicazione::Mostra(DialogoUtente* dialogo, QWidget* finestra) {
    dialogo_ = dialogo;
    stampa_->setFinestra(finestra);
}

int Applicazione::Messaggio(const QString& testo, int stile, const QString& titolo) {
    return dialogo_ ? dialogo_->Messaggio(testo, stile, titolo) : MsgBox(testo, stile, titolo);
}

void Applicazione::Diagnostica(bool inviata, const QString& riga) {
    if (dialogo_)
        dialogo_->Diagnostica(inviata, riga);
}

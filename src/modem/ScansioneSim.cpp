#include "ScansioneSim.h"

#include "DialogoUtente.h"
#include "InterpreteSms.h"
#include "LetturaCredito.h"
#include "MotoreGsm.h"
#include "RicezioneSms.h"
#include "RisposteModem.h"
#include "archive/StatoGlobale.h"
#include "platform/ErroreRuntime.h"

#include <algorithm>

ScansioneSim::ScansioneSim(MotoreGsm& motore)
    : m_(motore) {
    CanaleGsm& c = m_.canale;
    c.Registra(ComandoGsm::MemoriaSms, [this](const RispostaAt& r) { rispostaMemoria(r); });
    c.Registra(ComandoGsm::LetturaSms, [this](const RispostaAt& r) { rispostaLettura(r); });
    c.Registra(ComandoGsm::CancellazioneSms,
               [this](const RispostaAt&) { rispostaCancellazione(); });
}

void ScansioneSim::NuovoModem() {
    memoriaRifiutata_ = false;
    ripristinoInutile_ = false;
    Occupati.reset();
}

void ScansioneSim::Avvia() {
    if (memoriaRifiutata_) {
        leggiDaPosizione(ProssimoInizio);
        return;
    }
    m_.stato.TipoComando = ComandoGsm::MemoriaSms;
    m_.canale.SetStringa_Gsm();
}

void ScansioneSim::rispostaMemoria(const RispostaAt& r) {
    const std::optional<RisposteModem::MemoriaSim> memoria = RisposteModem::Memoria(r.Testo());
    if (!memoria) {
        // A modem that does not know the question is not asked again; a reply lost on the line
        // only means this scan goes the old way.
        if (r.Errore())
            memoriaRifiutata_ = true;
        Occupati.reset();
        leggiDaPosizione(ProssimoInizio);
        return;
    }
    Occupati = memoria->usati;
    // A modem's own memory can hold more slots than a SIM's: every slot it reports is read.
    Capienza = memoria->totale > 0 ? memoria->totale : kUltimaPosizione;
    Trovati = 0;
    if (*Occupati == 0) {
        fine(1);
        return;
    }
    leggiDaPosizione(1);
}

void ScansioneSim::leggiDaPosizione(int primo) {
    m_.stato.TipoComando = ComandoGsm::LetturaSms;
    m_.stato.IndiceSim = primo - 1;
    PosizioniVuote = 0;
    Trovati = 0;
    m_.canale.SetStringa_Gsm();
}

bool ScansioneSim::tuttiTrovati() const {
    return Occupati && (Trovati >= *Occupati || m_.stato.IndiceSim >= Capienza);
}

void ScansioneSim::rispostaLettura(const RispostaAt& r) {
    // An empty slot ("OK" alone), an error or a cut reply holds no message.
    const std::optional<SmsLetto> sms =
        InterpreteSms::Leggi(r.Testo(), m_.codifica.InsiemeLettura());
    // The modem has reset itself and lost its settings: a message without the coding it was
    // told to show (its text could be hexadecimal or in another set), or one it shows in PDU
    // mode, or refuses to show outside it. The settings are restored and the slot read again;
    // a modem that still answers so is taken as it is.
    const int indice = m_.stato.IndiceSim;
    const bool impostazioniPerse =
        sms ? m_.codifica.IntestazioneEstesa() && !sms->fo
            : r.Testo().contains(QLatin1String("+CMGR:"), Qt::CaseInsensitive) ||
                  r.Testo().contains(QLatin1String("+CMS ERROR: 302"), Qt::CaseInsensitive);
    if (impostazioniPerse && ripristinoPer_ != indice && !ripristinoInutile_) {
        ripristinoPer_ = indice;
        m_.codifica.Ripristina([this, indice] { rileggi(indice); });
        return;
    }
    // Settings that do not come back are not set again at every slot, until a message reads
    // as it should.
    if (impostazioniPerse && ripristinoPer_ == indice)
        ripristinoInutile_ = true;
    else if (sms && !impostazioniPerse)
        ripristinoInutile_ = false;
    ripristinoPer_ = 0;
    if (!sms) {
        posizioneVuota();
        return;
    }
    ++Trovati;
    StatoGlobale& g = m_.globale;
    g.NumeroCorrente = sms->numero;
    if (messaggioDelGestore(*sms))
        return;
    RicezioneSms::Risultato esito;
    try {
        esito = RicezioneSms::Registra(g.archivio, g.rubrica, *sms, m_.orologio());
    } catch (const ErroreRuntime& e) {
        archivioNonScrivibile(e);
        return;
    }
    archivioGuasto_ = false;
    const QString record =
        sms->numero + QLatin1Char(' ') + esito.data + QLatin1Char(' ') + esito.orarioPrimo;
    if (esito.esito == RicezioneSms::Esito::Nuovo)
        nuoviDellaScansione_ << record;
    esito.daAnnunciare = esito.esito == RicezioneSms::Esito::Unito && sms->concatenazione &&
                         !nuoviDellaScansione_.contains(record);
    emit m_.SmsRegistrato(sms->numero, esito);
    cancellaDallaSim();
}

// Operator and credit messages, known by who sent them: deleted unread, or read for the credit.
bool ScansioneSim::messaggioDelGestore(const SmsLetto& sms) {
    StatoGlobale& g = m_.globale;
    const bool dalGestore = RicezioneSms::DalMittente(sms, g.GestoreAttivo);
    if (dalGestore && g.RispostaCredito == 0) {
        cancellaDallaSim();
        return true;
    }
    if (g.RispostaCredito != 1 || !(dalGestore || RicezioneSms::DalMittente(sms, g.NumeroCredito)))
        return false;
    if (const auto credito = LetturaCredito::Credito(sms.testo)) {
        try {
            RicezioneSms::RegistraCredito(g.archivio, g.NumeroCredito, *credito);
        } catch (const ErroreRuntime& e) {
            archivioNonScrivibile(e);
            return true;
        }
        g.CreditoResiduo = *credito;
        m_.pannello.MostraCredito(*credito);
    }
    cancellaDallaSim();
    return true;
}

void ScansioneSim::rileggi(int indice) {
    m_.stato.TipoComando = ComandoGsm::LetturaSms;
    m_.stato.IndiceSim = indice - 1;
    m_.canale.SetStringa_Gsm();
}

void ScansioneSim::cancellaDallaSim() {
    m_.stato.TipoComando = ComandoGsm::CancellazioneSms;
    m_.canale.SetStringa_Gsm();
}

void ScansioneSim::rispostaCancellazione() {
    if (tuttiTrovati()) {
        fine(1);
        return;
    }
    m_.stato.TipoComando = ComandoGsm::LetturaSms;
    m_.canale.SetStringa_Gsm();
}

void ScansioneSim::posizioneVuota() {
    ++PosizioniVuote;
    const int indice = m_.stato.IndiceSim;
    if (Occupati) {
        // The modem said how many it holds: gaps do not end the scan, the last slot does.
        if (tuttiTrovati())
            fine(1);
        else
            m_.canale.SetStringa_Gsm();
        return;
    }
    if (PosizioniVuote < 2) {
        m_.canale.SetStringa_Gsm();
        return;
    }
    // The scan stops at its second empty slot, so a message beyond it waits; after a scan that
    // found messages the next one goes on from there, and one that found none starts again from
    // slot 1.
    fine(Trovati > 0 && indice < kUltimaPosizione ? indice + 1 : 1);
}

void ScansioneSim::fine(int prossimoInizio) {
    nuoviDellaScansione_.clear();
    ProssimoInizio = prossimoInizio;
    m_.stato.TipoComando = ComandoGsm::Registrazione;
    emit m_.ScansioneConclusa();
}

void ScansioneSim::archivioNonScrivibile(const ErroreRuntime& e) {
    // The message stays on the SIM; the scan stops here and the next one comes back to it, so
    // nothing is lost and nothing is stored twice.
    fine(std::max(m_.stato.IndiceSim, 1));
    if (archivioGuasto_)
        return;
    archivioGuasto_ = true;
    m_.utente.Messaggio(QStringLiteral("Impossibile salvare nell'archivio l'SMS ricevuto da ") +
                            m_.globale.NumeroCorrente + QStringLiteral(".\n") +
                            e.DescrizioneENumero() +
                            QStringLiteral("\nIl messaggio resta sulla SIM e sarà salvato alla "
                                           "prossima lettura."),
                        Stile::Esclamazione, StatoGlobale::TitoloProgramma());
}

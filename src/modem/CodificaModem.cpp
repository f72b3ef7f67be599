#include "CodificaModem.h"

#include "CanaleGsm.h"
#include "ContestoModem.h"
#include "CorpoSms.h"
#include "DialogoUtente.h"
#include "GestionePin.h"
#include "InsiemeCaratteri.h"
#include "archive/StatoGlobale.h"
#include "platform/CaratteriVicini.h"

CodificaModem::CodificaModem(ContestoModem& contesto, GestionePin& pin)
    : m_(contesto)
    , pin_(pin) {}

void CodificaModem::NuovoModem() {
    fase_ = Fase::Nessuna;
    poi_ = nullptr;
    insieme_.clear();
    insiemeLettura_.clear();
    csdh_ = false;
    ucs2_ = false;
    dcsInvio_ = -1;
}

void CodificaModem::Avvia() {
    NuovoModem();
    invia(Fase::Csdh, QStringLiteral("AT+CSDH=1"));
}

void CodificaModem::Ripristina(std::function<void()> poi) {
    poi_ = std::move(poi);
    // A reset forgets the coding of sent messages too: the next submission sets it again.
    dcsInvio_ = -1;
    invia(Fase::ModoTesto, TabellaComandi::Riga(ComandoGsm::ModoTesto).riga);
}

void CodificaModem::invia(Fase fase, const QString& riga) {
    fase_ = fase;
    m_.canale.Invia(Comando::Composto(ComandoGsm::CodificaSms, riga,
                                      TabellaComandi::Riga(ComandoGsm::CodificaSms).timeoutTick),
                    [this](const RispostaAt& r) { risposta(r); });
}

void CodificaModem::risposta(const RispostaAt& r) {
    switch (fase_) {
    case Fase::Nessuna:
        return;
    case Fase::ModoTesto:
        invia(Fase::Csdh, QStringLiteral("AT+CSDH=1"));
        return;
    case Fase::Csdh:
        csdh_ = r.Ok();
        if (!r.Ok())
            nota(QStringLiteral("Il modem rifiuta AT+CSDH=1: la codifica degli SMS ricevuti non "
                                "è nota e i testi restano come il modem li mostra."));
        // The sets the modem offers do not change with a reset.
        if (poi_)
            invia(Fase::Insieme, QStringLiteral("AT+CSCS=\"%1\"").arg(InsiemeCaratteri::Latino1));
        else
            invia(Fase::ElencoInsiemi, QStringLiteral("AT+CSCS=?"));
        return;
    case Fase::ElencoInsiemi:
        if (r.Ok()) {
            const QString elenco = r.Informazione(QStringLiteral("+CSCS:")).value_or(QString());
            ucs2_ = elenco.contains(QLatin1String("\"UCS2\""), Qt::CaseInsensitive);
        }
        invia(Fase::Insieme, QStringLiteral("AT+CSCS=\"%1\"").arg(InsiemeCaratteri::Latino1));
        return;
    case Fase::Insieme:
        insiemeImpostato(r.Ok());
        return;
    case Fase::InsiemeInUso: {
        // The line reads +CSCS: "GSM".
        QString nome =
            r.Ok() ? r.Informazione(QStringLiteral("+CSCS:")).value_or(QString()) : QString();
        nome = nome.mid(nome.indexOf(QLatin1Char(':')) + 1).remove(QLatin1Char('"'));
        insiemeLettura_ = nome.trimmed().toUpper();
        fine();
        return;
    }
    case Fase::Csmp:
        EsitoCsmp(r, 0);
        fineAvvio();
        return;
    }
}

void CodificaModem::insiemeImpostato(bool ok) {
    if (ok) {
        insieme_ = QString::fromLatin1(InsiemeCaratteri::Latino1);
        insiemeLettura_ = insieme_;
        fine();
        return;
    }
    insieme_.clear();
    nota(QStringLiteral("Il modem rifiuta AT+CSCS=\"8859-1\": resta il suo set di "
                        "caratteri e le lettere accentate possono arrivare come \"?\"."));
    invia(Fase::InsiemeInUso, QStringLiteral("AT+CSCS?"));
}

void CodificaModem::fine() {
    fase_ = Fase::Nessuna;
    if (poi_) {
        const std::function<void()> poi = std::move(poi_);
        poi_ = nullptr;
        poi();
        return;
    }
    impostaCodificaIniziale();
}

void CodificaModem::impostaCodificaIniziale() {
    invia(Fase::Csmp, RigaCsmp(0));
}

void CodificaModem::fineAvvio() {
    fase_ = Fase::Nessuna;
    pin_.ControllaSim();
}

void CodificaModem::nota(const QString& testo) {
    if (note_.contains(testo))
        return;
    note_ << testo;
    // With the lists hidden it is told when they are shown.
    if (m_.stato.DiagnosticaAttiva)
        m_.utente.Diagnostica(false, testo);
}

QString CodificaModem::RigaCsmp(int dcs) {
    // SMS-SUBMIT with a relative validity period of one day, no protocol identifier.
    return QStringLiteral("AT+CSMP=17,167,0,%1").arg(dcs);
}

void CodificaModem::EsitoCsmp(const RispostaAt& r, int dcs) {
    if (r.Ok())
        CsmpAccettato(dcs);
    else
        CsmpRifiutato();
}

QString CodificaModem::CorpoInvio(const QString& testo) const {
    return dcsInvio_ == 8 ? CorpoSms::Ucs2Esadecimale(testo) : TestoSemplice(testo);
}

void CodificaModem::CsmpRifiutato() {
    // What the modem keeps cannot be changed: it is asked no more, and texts go plain.
    dcsInvio_ = 0;
    ucs2_ = false;
    nota(QStringLiteral("Il modem rifiuta AT+CSMP: gli SMS partono con la codifica del modem."));
}

bool CodificaModem::InUcs2(const QString& testo) const {
    return ucs2_ && testo.size() <= InsiemeCaratteri::MassimoUcs2 &&
           !InsiemeCaratteri::NonTrasmessi(testo, insieme_).isEmpty();
}

QString CodificaModem::TestoSemplice(const QString& testo) const {
    if (insieme_.isEmpty())
        return testo;
    return CaratteriVicini::Adatta(
        testo, [this](char32_t c) { return InsiemeCaratteri::Trasmette(c, insieme_); });
}

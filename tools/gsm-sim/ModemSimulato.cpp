#include "ModemSimulato.h"

#include "CaratteriSim.h"

#include <QDateTime>
#include <algorithm>
#include <cstdlib>

namespace {

constexpr char kCtrlZ = 26;
constexpr char kEsc = 27;

// +CME codes and the texts the modem shows with AT+CMEE=2.
const char* testoCme(int codice) {
    switch (codice) {
    case 3:
        return "operation not allowed";
    case 4:
        return "operation not supported";
    case 10:
        return "SIM not inserted";
    case 11:
        return "SIM PIN required";
    case 12:
        return "SIM PUK required";
    case 13:
        return "SIM failure";
    case 16:
        return "incorrect password";
    case 30:
        return "no network service";
    default:
        return "unknown";
    }
}

char maiuscola(char c) {
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

QByteArray maiuscole(const QByteArray& testo) {
    QByteArray r = testo;
    for (char& c : r)
        c = maiuscola(c);
    return r;
}

QByteArray riga(const QByteArray& testo) {
    return "\r\n" + testo + "\r\n";
}

QByteArray nomeStato(SmsSim::Stato s) {
    return s == SmsSim::Stato::NonLetto ? "\"REC UNREAD\"" : "\"REC READ\"";
}

} // namespace

QByteArray ModemSimulato::ricevi(const QByteArray& dalProgramma) {
    if (guasto_ == Guasto::Spento)
        return {};
    QByteArray uscita;
    for (const char c : dalProgramma) {
        if (inTesto_) {
            byteTesto(c, uscita);
            continue;
        }
        // Characters before "AT" are ignored: a stray ESC among them (one that would cancel an
        // SMS text) never reaches a command.
        if (c == '\n' || (c == kEsc && riga_.isEmpty()))
            continue;
        if (c == '\r') {
            fineRiga(uscita);
            continue;
        }
        if (riga_.size() < kMassimoRiga)
            riga_.append(c);
        else
            rigaTroppoLunga_ = true;
    }
    return uscita;
}

QByteArray ModemSimulato::esitoInvio() {
    QByteArray r;
    r.swap(esitoTrattenuto_);
    return r;
}

QByteArray ModemSimulato::rimandato() {
    QByteArray r;
    r.swap(trattenuto_);
    return r;
}

void ModemSimulato::riavvia() {
    eco_ = true;
    cmee_ = 0;
    modoTesto_ = modoTestoIniziale_;
    azzeraCodifica();
    pinInserito_ = false;
    riga_.clear();
    rigaTroppoLunga_ = false;
    inTesto_ = false;
    testoSms_.clear();
    trattenuto_.clear();
    esitoTrattenuto_.clear();
}

void ModemSimulato::impostaSenza8859(const QByteArray& iniziale) {
    senza8859_ = !iniziale.isEmpty();
    insiemeIniziale_ = senza8859_ ? iniziale : QByteArray("IRA");
    insieme_ = insiemeIniziale_;
}

void ModemSimulato::impostaSimPresente(bool presente) {
    if (presente && !simPresente_)
        pinInserito_ = false;
    simPresente_ = presente;
}

void ModemSimulato::impostaPinAttivo(bool attivo) {
    bloccoPin_ = attivo;
    pinInserito_ = !attivo;
}

void ModemSimulato::impostaCapacita(int slot) {
    capacita_ = std::clamp(slot, 1, CapacitaMassima);
    slot_.erase(slot_.upper_bound(capacita_), slot_.end());
}

void ModemSimulato::impostaModoTesto(bool testo) {
    modoTesto_ = testo;
    modoTestoIniziale_ = testo;
}

void ModemSimulato::impostaGuasto(Guasto guasto, int quanti) {
    const Guasto nuovo = quanti == 0 ? Guasto::Nessuno : guasto;
    if (nuovo == Guasto::Spento) {
        // A modem that has no power cannot count commands, nor finish a split answer.
        guastiRestanti_ = -1;
        trattenuto_.clear();
    } else {
        if (guasto_ == Guasto::Spento)
            riavvia();
        guastiRestanti_ = quanti < 0 ? -1 : quanti;
    }
    guasto_ = nuovo;
}

ModemSimulato::StatoSim ModemSimulato::statoSim() const {
    if (!simPresente_)
        return StatoSim::Assente;
    if (tentativiPuk_ <= 0)
        return StatoSim::Guasta;
    if (tentativiPin_ <= 0)
        return StatoSim::AttesaPuk;
    if (bloccoPin_ && !pinInserito_)
        return StatoSim::AttesaPin;
    return StatoSim::Pronta;
}

ModemSimulato::StatoRete ModemSimulato::statoReteEffettivo() const {
    return statoSim() == StatoSim::Pronta ? rete_ : StatoRete::Assente;
}

int ModemSimulato::aggiungiSms(const QByteArray& mittente, const QByteArray& testo,
                               const QByteArray& timestamp, std::optional<QByteArray> alfa) {
    SmsSim s;
    s.mittente = mittente;
    s.testo = testo;
    s.timestamp = timestamp.isEmpty() ? timestampAdesso() : timestamp;
    s.alfa = std::move(alfa);
    return aggiungiSms(s);
}

int ModemSimulato::aggiungiSms(const SmsSim& sms) {
    for (int i = 1; i <= capacita_; ++i) {
        if (slot_.count(i))
            continue;
        slot_[i] = sms;
        return i;
    }
    return 0;
}

bool ModemSimulato::impostaSms(int indice, const SmsSim& sms) {
    if (indice < 1 || indice > capacita_)
        return false;
    slot_[indice] = sms;
    return true;
}

std::optional<SmsSim> ModemSimulato::sms(int indice) const {
    const auto it = slot_.find(indice);
    if (it == slot_.end())
        return std::nullopt;
    return it->second;
}

QList<int> ModemSimulato::slotOccupati() const {
    QList<int> r;
    for (const auto& [indice, s] : slot_)
        r.append(indice);
    return r;
}

QByteArray ModemSimulato::timestampAdesso() {
    const QDateTime ora = QDateTime::currentDateTime();
    const int quarti = ora.offsetFromUtc() / 900;
    QByteArray zona = quarti < 0 ? "-" : "+";
    zona += QByteArray::number(std::abs(quarti)).rightJustified(2, '0');
    return ora.toString(QStringLiteral("yy/MM/dd,hh:mm:ss")).toLatin1() + zona;
}

// --- Line handling -------------------------------------------------------------------------

void ModemSimulato::fineRiga(QByteArray& uscita) {
    QByteArray comando;
    comando.swap(riga_);
    const bool troppoLunga = rigaTroppoLunga_;
    rigaTroppoLunga_ = false;
    if (comando.isEmpty() && !troppoLunga)
        return;
    registraComando(comando);
    // A delete with a fault of its own: refused as a SIM refuses it, or unheard; either way the
    // message stays.
    if (!guastiCancellazione_.isEmpty() && comando.toUpper().startsWith("AT+CMGD=")) {
        const Guasto gc = guastiCancellazione_.takeFirst();
        if (gc == Guasto::Muto)
            return;
        if (eco_)
            emetti(uscita, comando + '\r');
        consegna(gc == Guasto::Errore ? cms(500) : esegui(comando), Guasto::Nessuno, uscita);
        return;
    }
    const Guasto g = guastoPerComando();
    if (g == Guasto::Muto)
        return;
    // An over-long line is refused whole: echoing kilobytes of it would only flood the program.
    if (eco_ && !troppoLunga)
        emetti(uscita, comando + '\r');
    const Risposta r = (g == Guasto::Errore || troppoLunga) ? errore() : esegui(comando);
    consegna(r, g, uscita);
}

void ModemSimulato::byteTesto(char c, QByteArray& uscita) {
    if (c == kCtrlZ || c == kEsc) {
        inTesto_ = false;
        const Guasto g = guastoPerComando();
        Risposta r;
        if (g == Guasto::Errore)
            r = errore();
        else if (c == kEsc)
            r = ok();
        else
            r = inviaTesto();
        testoSms_.clear();
        destinatarioSms_.clear();
        if (esitoRitardato_ && c == kCtrlZ && g == Guasto::Nessuno && !r.finale.isEmpty()) {
            emetti(uscita, QByteArray());
            esitoTrattenuto_ = r.informazioni + r.finale;
            return;
        }
        consegna(r, g, uscita);
        return;
    }
    if (testoSms_.size() >= kMassimoTestoSms)
        return;
    testoSms_.append(c);
    if (eco_)
        emetti(uscita, QByteArray(1, c));
}

void ModemSimulato::consegna(const Risposta& r, Guasto g, QByteArray& uscita) {
    QByteArray corpo;
    switch (g) {
    case Guasto::Muto:
        return;
    case Guasto::Intruso: {
        QByteArray intruso;
        if (intrusi_++ % 2 == 0) {
            intruso = riga("RING");
        } else {
            const int indice = slot_.empty() ? 1 : slot_.rbegin()->first;
            intruso = riga("+CMTI: \"SM\"," + QByteArray::number(indice));
        }
        corpo = r.informazioni + intruso + r.finale + r.dopo;
        break;
    }
    case Guasto::Rumore:
        corpo = QByteArray("\xFF\x00\xE9\x80", 4) + r.informazioni + r.finale + r.dopo;
        break;
    case Guasto::IntrusoFuori: {
        const int indice = slot_.empty() ? 1 : slot_.rbegin()->first;
        corpo = riga("+CMTI: \"SM\"," + QByteArray::number(indice)) + riga("RING") +
                r.informazioni + r.finale + r.dopo +
                riga("+CMTI: \"SM\"," + QByteArray::number(indice));
        break;
    }
    default:
        corpo = r.informazioni + r.finale + r.dopo;
        break;
    }
    if (g == Guasto::Nessuno && ussdRitardato_ && !r.dopo.isEmpty()) {
        emetti(uscita, r.informazioni + r.finale);
        trattenuto_ = r.dopo;
        return;
    }
    if (g == Guasto::Spezzato) {
        const qsizetype meta = corpo.size() / 2;
        emetti(uscita, corpo.left(meta));
        trattenuto_ = corpo.mid(meta);
    } else {
        emetti(uscita, corpo);
    }
}

// Whatever is still held from a split answer goes first, so the bytes never change order.
void ModemSimulato::emetti(QByteArray& uscita, const QByteArray& byte) {
    uscita += trattenuto_;
    trattenuto_.clear();
    // A result still held back comes before anything said after it.
    uscita += esitoTrattenuto_;
    esitoTrattenuto_.clear();
    uscita += byte;
}

ModemSimulato::Guasto ModemSimulato::guastoPerComando() {
    const Guasto g = guasto_;
    if (g != Guasto::Nessuno && guastiRestanti_ > 0 && --guastiRestanti_ == 0)
        guasto_ = Guasto::Nessuno;
    return g;
}

void ModemSimulato::registraComando(const QByteArray& riga) {
    comandi_.append(riga);
    if (comandi_.size() > kMassimoRegistro)
        comandi_.removeFirst();
}

void ModemSimulato::registraRichiesta(const RichiestaInviata& r) {
    richieste_.append(r);
    if (richieste_.size() > kMassimoRegistro)
        richieste_.removeFirst();
    if (avviso_)
        avviso_(r);
}

// --- Commands ------------------------------------------------------------------------------

ModemSimulato::Risposta ModemSimulato::esegui(const QByteArray& riga) {
    const QByteArray c = riga.trimmed();
    if (c.size() < 2 || maiuscola(c[0]) != 'A' || maiuscola(c[1]) != 'T')
        return errore();
    const QByteArray resto = c.mid(2);
    if (resto.isEmpty())
        return ok();
    if (resto[0] == '+') {
        qsizetype fine = 1;
        while (fine < resto.size() && resto[fine] != '=' && resto[fine] != '?')
            ++fine;
        return eseguiEsteso(maiuscole(resto.left(fine)), resto.mid(fine));
    }
    const QByteArray argomento = resto.mid(1);
    const bool zeroOVuoto = argomento.isEmpty() || argomento == "0";
    switch (maiuscola(resto[0])) {
    case 'E':
        if (argomento != "1" && !zeroOVuoto)
            return errore();
        eco_ = ecoFisso_ || argomento == "1";
        return ok();
    case 'Z':
        if (!zeroOVuoto)
            return errore();
        eco_ = true;
        cmee_ = 0;
        modoTesto_ = modoTestoIniziale_;
        azzeraCodifica();
        return ok();
    case 'H':
        return zeroOVuoto ? ok() : errore();
    case 'D':
        return comandoDial(argomento);
    default:
        return errore();
    }
}

ModemSimulato::Risposta ModemSimulato::eseguiEsteso(const QByteArray& nome,
                                                    const QByteArray& resto) {
    // "=?" only asks whether the command exists; it must never reach the handlers, where it
    // would count as a wrong PIN or an empty number.
    static const QByteArray kConosciuti[] = {"+CGMR", "+CSQ",  "+CREG", "+CMGF", "+CMEE",
                                             "+CLCK", "+CPIN", "+CMGR", "+CMGL", "+CMGD",
                                             "+CMGS", "+CUSD", "+CPBR", "+CPMS"};
    if (nome == "+CPMS" && senzaCpms_)
        return errore();
    if (const auto r = comandoCodifica(nome, resto))
        return *r;
    if (resto == "=?")
        return std::find(std::begin(kConosciuti), std::end(kConosciuti), nome) !=
                       std::end(kConosciuti)
                   ? ok()
                   : errore();
    if (nome == "+CGMR")
        return resto.isEmpty() ? informazione("+CGMR: " + revisione_) : errore();
    if (nome == "+CSQ")
        return resto.isEmpty() ? informazione("+CSQ: " + QByteArray::number(segnale_) + ",99")
                               : errore();
    if (nome == "+CREG") {
        if (resto != "?")
            return errore();
        return informazione("+CREG: 0," + QByteArray::number(int(statoReteEffettivo())));
    }
    if (nome == "+CMGF") {
        if (resto == "?")
            return informazione("+CMGF: " + QByteArray(modoTesto_ ? "1" : "0"));
        if (resto != "=0" && resto != "=1")
            return errore();
        modoTesto_ = resto == "=1";
        return ok();
    }
    if (nome == "+CMEE") {
        if (resto == "?")
            return informazione("+CMEE: " + QByteArray::number(cmee_));
        const auto n = resto.startsWith('=') ? numero(resto.mid(1)) : std::nullopt;
        if (!n || *n > 2)
            return errore();
        cmee_ = *n;
        return ok();
    }
    if (nome == "+CLCK")
        return comandoClck(resto);
    if (nome == "+CPIN")
        return comandoCpin(resto);
    if (nome == "+CMGR")
        return comandoCmgr(resto);
    if (nome == "+CMGL")
        return comandoCmgl(resto);
    if (nome == "+CMGD")
        return comandoCmgd(resto);
    if (nome == "+CPMS")
        return comandoCpms(resto);
    if (nome == "+CMGS")
        return comandoCmgs(resto);
    if (nome == "+CUSD")
        return comandoCusd(resto);
    if (nome == "+CPBR") {
        if (!resto.startsWith('='))
            return errore();
        if (const auto e = erroreSimCme())
            return cme(*e);
        return ok(); // the phonebook is empty
    }
    return errore();
}

ModemSimulato::Risposta ModemSimulato::comandoClck(const QByteArray& resto) {
    if (resto == "?") {
        if (const auto e = erroreSimCme())
            return cme(*e);
        return informazione("+CLCK: (\"SC\"," + QByteArray(bloccoPin_ ? "1" : "0") + ")");
    }
    if (!resto.startsWith('='))
        return errore();
    const QList<QByteArray> p = parametri(resto.mid(1));
    if (p.size() < 2)
        return errore();
    const auto modo = numero(p[1]);
    if (!modo || *modo > 2)
        return errore();
    if (maiuscole(p[0]) != "SC")
        return cme(3);
    if (const auto e = erroreSimCme())
        return cme(*e);
    if (*modo == 2)
        return informazione("+CLCK: " + QByteArray(bloccoPin_ ? "1" : "0"));
    if (p.size() < 3)
        return errore();
    if (!pinGiusto(p[2]))
        return cme(16);
    bloccoPin_ = *modo == 1;
    pinInserito_ = true;
    return ok();
}

ModemSimulato::Risposta ModemSimulato::comandoCpin(const QByteArray& resto) {
    const StatoSim stato = statoSim();
    if (stato == StatoSim::Assente)
        return cme(10);
    if (stato == StatoSim::Guasta)
        return cme(13);
    if (resto == "?") {
        switch (stato) {
        case StatoSim::AttesaPin:
            return informazione("+CPIN: SIM PIN");
        case StatoSim::AttesaPuk:
            return informazione("+CPIN: SIM PUK");
        default:
            return informazione("+CPIN: READY");
        }
    }
    if (!resto.startsWith('='))
        return errore();
    const QList<QByteArray> p = parametri(resto.mid(1));
    if (p.isEmpty() || p[0].isEmpty())
        return errore();
    switch (stato) {
    case StatoSim::AttesaPin:
        if (!pinGiusto(p[0]))
            return cme(16);
        pinInserito_ = true;
        return ok();
    case StatoSim::AttesaPuk: {
        if (p.size() < 2)
            return cme(12);
        const QByteArray nuovo = p[1];
        const bool valido =
            nuovo.size() >= 4 && nuovo.size() <= 8 &&
            std::all_of(nuovo.begin(), nuovo.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!valido)
            return errore();
        if (!pukGiusto(p[0]))
            return cme(16);
        pin_ = nuovo;
        pinInserito_ = true;
        return ok();
    }
    default:
        return ok(); // already ready: nothing to do
    }
}

ModemSimulato::Risposta ModemSimulato::comandoCmgr(const QByteArray& resto) {
    const auto indice = resto.startsWith('=') ? numero(resto.mid(1)) : std::nullopt;
    if (!indice)
        return errore();
    if (const auto e = erroreSimCms())
        return cms(*e);
    if (!modoTesto_)
        return cms(302);
    if (*indice < 1 || *indice > capacita_)
        return cms(321);
    const auto it = slot_.find(*indice);
    if (it == slot_.end())
        return vuotoComeErrore_ ? cms(321) : ok();
    Risposta r = ok();
    r.informazioni =
        "\r\n+CMGR: " + intestazione(it->second) + "\r\n" + corpoMostrato(it->second) + "\r\n";
    it->second.stato = SmsSim::Stato::Letto;
    return r;
}

ModemSimulato::Risposta ModemSimulato::comandoCmgl(const QByteArray& resto) {
    QByteArray quali = "REC UNREAD";
    if (resto.startsWith('=')) {
        const QList<QByteArray> p = parametri(resto.mid(1));
        if (p.size() != 1)
            return errore();
        quali = maiuscole(p[0]);
    } else if (!resto.isEmpty()) {
        return errore();
    }
    if (quali != "REC UNREAD" && quali != "REC READ" && quali != "ALL" && quali != "STO UNSENT" &&
        quali != "STO SENT")
        return errore();
    if (const auto e = erroreSimCms())
        return cms(*e);
    if (!modoTesto_)
        return cms(302);
    Risposta r = ok();
    for (auto& [indice, s] : slot_) {
        const bool preso = quali == "ALL" ||
                           (quali == "REC UNREAD" && s.stato == SmsSim::Stato::NonLetto) ||
                           (quali == "REC READ" && s.stato == SmsSim::Stato::Letto);
        if (!preso)
            continue;
        r.informazioni += "+CMGL: " + QByteArray::number(indice) + ',' + intestazione(s) + "\r\n" +
                          corpoMostrato(s) + "\r\n";
        s.stato = SmsSim::Stato::Letto;
    }
    if (!r.informazioni.isEmpty())
        r.informazioni.prepend("\r\n");
    return r;
}

ModemSimulato::Risposta ModemSimulato::comandoCmgd(const QByteArray& resto) {
    if (!resto.startsWith('='))
        return errore();
    const QList<QByteArray> p = parametri(resto.mid(1));
    if (p.isEmpty() || p.size() > 2)
        return errore();
    const auto indice = numero(p[0]);
    const auto bandiera = p.size() == 2 ? numero(p[1]) : std::optional<int>(0);
    if (!indice || !bandiera || *bandiera > 4)
        return errore();
    if (const auto e = erroreSimCms())
        return cms(*e);
    if (*bandiera == 0) {
        if (*indice < 1 || *indice > capacita_)
            return cms(321);
        slot_.erase(*indice);
        return ok();
    }
    // 1 to 3 remove read (and stored sent/unsent, never kept here); 4 removes everything.
    for (auto it = slot_.begin(); it != slot_.end();) {
        if (*bandiera == 4 || it->second.stato == SmsSim::Stato::Letto)
            it = slot_.erase(it);
        else
            ++it;
    }
    return ok();
}

// The read form only: every storage is the SIM, so the three pairs are the same.
ModemSimulato::Risposta ModemSimulato::comandoCpms(const QByteArray& resto) {
    if (resto != "?")
        return errore();
    if (const auto e = erroreSimCms())
        return cms(*e);
    const QByteArray memoria = "\"SM\"," + QByteArray::number(qsizetype(slot_.size())) + ',' +
                               QByteArray::number(capacita_);
    return informazione("+CPMS: " + memoria + ',' + memoria + ',' + memoria);
}

ModemSimulato::Risposta ModemSimulato::comandoCmgs(const QByteArray& resto) {
    if (!resto.startsWith('='))
        return errore();
    const QList<QByteArray> p = parametri(resto.mid(1));
    if (p.isEmpty() || p.size() > 2 || p[0].isEmpty())
        return errore();
    if (const auto e = erroreSimCms())
        return cms(*e);
    if (!modoTesto_)
        return cms(302);
    if (!registrato())
        return cms(331);
    inTesto_ = true;
    destinatarioSms_ = p[0];
    testoSms_.clear();
    return Risposta{{}, "\r\n> ", {}};
}

ModemSimulato::Risposta ModemSimulato::inviaTesto() {
    if (invioMuto_ != 0) {
        if (invioMuto_ > 0)
            --invioMuto_;
        return {};
    }
    // The SIM or the network may have gone while the text was typed.
    if (const auto e = erroreSimCms())
        return cms(*e);
    if (!registrato())
        return cms(331);
    if (rifiutati_.contains(destinatarioSms_))
        return cms(21);
    const std::optional<QString> arrivato =
        CaratteriSim::TestoInviato(testoSms_, insieme_, dcsInvio_);
    if (!arrivato)
        return cms(305);
    riferimento_ = (riferimento_ + 1) % 256;
    registraRichiesta(
        {RichiestaInviata::Tipo::Sms, destinatarioSms_, testoSms_, riferimento_, *arrivato});
    if (!creditoSms_.numero.isEmpty() && destinatarioSms_ == creditoSms_.numero)
        aggiungiSms(creditoSms_.mittente, creditoSms_.testo);
    return informazione("+CMGS: " + QByteArray::number(riferimento_));
}

ModemSimulato::Risposta ModemSimulato::comandoCusd(const QByteArray& resto) {
    if (!resto.startsWith('='))
        return errore();
    const QList<QByteArray> p = parametri(resto.mid(1));
    const auto n = p.isEmpty() ? std::nullopt : numero(p[0]);
    if (!n || *n > 2 || p.size() > 3)
        return errore();
    if (p.size() == 1)
        return ok();
    if (*n == 2 || p[1].isEmpty())
        return errore();
    if (const auto e = erroreSimCme())
        return cme(*e);
    if (!registrato())
        return cme(30);
    registraRichiesta({RichiestaInviata::Tipo::Ussd, p[1], {}, 0});
    Risposta r = ok();
    if (*n == 1)
        r.dopo = riga("+CUSD: 0,\"" + rispostaUssd_ + "\",15");
    return r;
}

ModemSimulato::Risposta ModemSimulato::comandoDial(const QByteArray& numero) {
    // Voice calls only (the trailing ';'); a data call has nothing to connect to.
    if (!numero.endsWith(';'))
        return errore();
    const QByteArray codice = numero.chopped(1).trimmed();
    if (codice.isEmpty())
        return errore();
    if (const auto e = erroreSimCme())
        return cme(*e);
    if (!registrato())
        return Risposta{{}, riga("NO CARRIER"), {}};
    registraRichiesta({RichiestaInviata::Tipo::Chiamata, codice, {}, 0});
    return ok();
}

// --- Helpers -------------------------------------------------------------------------------

bool ModemSimulato::pinGiusto(const QByteArray& tentativo) {
    if (tentativo == pin_) {
        tentativiPin_ = 3;
        return true;
    }
    tentativiPin_ = std::max(0, tentativiPin_ - 1);
    return false;
}

bool ModemSimulato::pukGiusto(const QByteArray& tentativo) {
    if (tentativo == puk_) {
        tentativiPuk_ = 10;
        tentativiPin_ = 3;
        return true;
    }
    tentativiPuk_ = std::max(0, tentativiPuk_ - 1);
    return false;
}

std::optional<int> ModemSimulato::erroreSimCme() const {
    switch (statoSim()) {
    case StatoSim::Assente:
        return 10;
    case StatoSim::AttesaPin:
        return 11;
    case StatoSim::AttesaPuk:
        return 12;
    case StatoSim::Guasta:
        return 13;
    case StatoSim::Pronta:
        break;
    }
    return std::nullopt;
}

std::optional<int> ModemSimulato::erroreSimCms() const {
    switch (statoSim()) {
    case StatoSim::Assente:
        return 310;
    case StatoSim::AttesaPin:
        return 311;
    case StatoSim::AttesaPuk:
        return 316;
    case StatoSim::Guasta:
        return 313;
    case StatoSim::Pronta:
        break;
    }
    return std::nullopt;
}

bool ModemSimulato::registrato() const {
    const StatoRete r = statoReteEffettivo();
    return r == StatoRete::Casa || r == StatoRete::Roaming;
}

QByteArray ModemSimulato::intestazione(const SmsSim& s) const {
    const QByteArray alfa =
        s.alfa ? '"' + CaratteriSim::CampoMostrato(*s.alfa, insieme_) + '"' : QByteArray();
    QByteArray r = nomeStato(s.stato) + ",\"" + CaratteriSim::CampoMostrato(s.mittente, insieme_) +
                   "\"," + alfa + ",\"" + s.timestamp + '"';
    // <tooa>,<fo>,<pid>,<dcs>,<sca>,<tosca>,<length>
    if (csdh_)
        r += ',' + QByteArray(s.mittente.startsWith('+') ? "145" : "129") + ',' +
             QByteArray::number(s.fo) + ",0," + QByteArray::number(s.dcs) +
             ",\"+393359609600\",145," + QByteArray::number(CaratteriSim::Lunghezza(s));
    return r;
}

QByteArray ModemSimulato::corpoMostrato(const SmsSim& s) const {
    return CaratteriSim::CorpoMostrato(s, insieme_);
}

void ModemSimulato::azzeraCodifica() {
    csdh_ = false;
    insieme_ = insiemeIniziale_;
    dcsInvio_ = 0;
}

// The character set and the coding of messages, "=?" included; nothing for another command.
std::optional<ModemSimulato::Risposta> ModemSimulato::comandoCodifica(const QByteArray& nome,
                                                                      const QByteArray& resto) {
    if (nome == "+CSDH")
        return senzaCsdh_ ? errore() : comandoCsdh(resto);
    if (nome == "+CSCS")
        return senzaCscs_ ? errore() : comandoCscs(resto);
    if (nome == "+CSMP")
        return comandoCsmp(resto);
    return std::nullopt;
}

ModemSimulato::Risposta ModemSimulato::comandoCsdh(const QByteArray& resto) {
    if (resto == "=?")
        return informazione("+CSDH: (0,1)");
    if (resto == "?")
        return informazione("+CSDH: " + QByteArray(csdh_ ? "1" : "0"));
    if (resto != "=0" && resto != "=1" && resto != "=")
        return errore();
    csdh_ = resto == "=1";
    return ok();
}

ModemSimulato::Risposta ModemSimulato::comandoCscs(const QByteArray& resto) {
    if (resto == "=?")
        return informazione("+CSCS: " + CaratteriSim::ElencoInsiemi(!senza8859_));
    if (resto == "?")
        return informazione("+CSCS: \"" + insieme_ + '"');
    const QList<QByteArray> p =
        resto.startsWith('=') ? parametri(resto.mid(1)) : QList<QByteArray>();
    if (p.size() != 1 || !CaratteriSim::InsiemeNoto(maiuscole(p[0]), !senza8859_))
        return errore();
    insieme_ = maiuscole(p[0]);
    return ok();
}

ModemSimulato::Risposta ModemSimulato::comandoCsmp(const QByteArray& resto) {
    if (resto == "=?")
        return ok();
    if (resto == "?")
        return informazione("+CSMP: 17,167,0," + QByteArray::number(dcsInvio_));
    const QList<QByteArray> p =
        resto.startsWith('=') ? parametri(resto.mid(1)) : QList<QByteArray>();
    const auto dcs = p.size() == 4 ? numero(p[3]) : std::nullopt;
    if (!dcs || *dcs > 255)
        return errore();
    dcsInvio_ = *dcs;
    return ok();
}

ModemSimulato::Risposta ModemSimulato::ok() const {
    return Risposta{{}, riga("OK"), {}};
}

ModemSimulato::Risposta ModemSimulato::errore() const {
    return Risposta{{}, riga("ERROR"), {}};
}

ModemSimulato::Risposta ModemSimulato::cme(int codice) const {
    if (cmee_ == 0)
        return errore();
    const QByteArray dettaglio =
        cmee_ == 1 ? QByteArray::number(codice) : QByteArray(testoCme(codice));
    return Risposta{{}, riga("+CME ERROR: " + dettaglio), {}};
}

ModemSimulato::Risposta ModemSimulato::cms(int codice) const {
    return Risposta{{}, riga("+CMS ERROR: " + QByteArray::number(codice)), {}};
}

ModemSimulato::Risposta ModemSimulato::informazione(const QByteArray& testo) const {
    return Risposta{riga(testo), riga("OK"), {}};
}

// Comma-separated values; quotes are optional and commas inside quotes stay in the value.
QList<QByteArray> ModemSimulato::parametri(const QByteArray& testo) {
    QList<QByteArray> r;
    QByteArray pezzo;
    bool dentro = false;
    const auto chiudi = [&] {
        QByteArray p = pezzo.trimmed();
        if (p.size() >= 2 && p.startsWith('"') && p.endsWith('"'))
            p = p.mid(1, p.size() - 2);
        r.append(p);
        pezzo.clear();
    };
    for (const char c : testo) {
        if (c == '"')
            dentro = !dentro;
        if (c == ',' && !dentro)
            chiudi();
        else
            pezzo.append(c);
    }
    chiudi();
    return r;
}

std::optional<int> ModemSimulato::numero(const QByteArray& testo) {
    const QByteArray t = testo.trimmed();
    if (t.isEmpty() || t.size() > 6)
        return std::nullopt;
    for (const char c : t)
        if (c < '0' || c > '9')
            return std::nullopt;
    return t.toInt();
}

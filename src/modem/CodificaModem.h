#pragma once

#include "SequenzaAt.h"

#include <QString>
#include <QStringList>
#include <functional>

struct ContestoModem;
class RispostaAt;
class GestionePin;

// How texts travel between the program and the modem. At start-up, after verbose errors, the
// modem is asked to show each message's first octet and coding scheme ("AT+CSDH=1"), which
// character sets it has ("AT+CSCS=?"), and to use ISO 8859-1 ("AT+CSCS="8859-1""), so that
// Italian letters cross the line as themselves; a modem that refuses the set is asked which one
// it keeps ("AT+CSCS?"), and texts are read in that one. A modem that refuses any of these goes
// on as before; each refusal is told once in the diagnostic list. A modem that reset itself
// forgets them all: Ripristina sets them again. Before an SMS is sent the coding of
// its message is set ("AT+CSMP=") when it must change: UCS2 for a text the character set cannot
// carry, plain 7-bit otherwise.
class CodificaModem {
public:
    CodificaModem(ContestoModem& contesto, GestionePin& pin);

    // After "AT+CMEE=2": the settings, then the SIM check.
    void Avvia();
    // The modem may have lost its reception settings (it reset itself): text mode, the extended
    // header and the character set are set again, then `poi` goes on with the dialogue.
    void Ripristina(std::function<void()> poi);
    // The modem took "AT+CSDH=1": every message it shows carries its coding.
    bool IntestazioneEstesa() const { return csdh_; }
    // The character set the modem shows texts in, as it names it: the one set, or the one it
    // reported when it refused ours; empty when unknown.
    const QString& InsiemeLettura() const { return insiemeLettura_; }
    // Setting up or restoring is under way.
    bool InCorso() const { return inCorso_; }
    // A new modem (or the same one searched again): everything is learnt anew.
    void NuovoModem();

    // The character set in use, as "AT+CSCS" names it; empty while the modem's own default.
    const QString& Insieme() const { return insieme_; }
    // The modem lists UCS2 among its character sets, so messages can go out coded in it.
    bool Ucs2() const { return ucs2_; }

    // The coding scheme SMS go out with, as last set on the modem: 0 plain 7-bit, 8 UCS2, -1 not
    // known (a new modem, or one searched again, keeps whatever it was last told).
    int DcsInvio() const { return dcsInvio_; }
    // The line that sets it for the next SMS.
    static QString RigaCsmp(int dcs);
    // The coding a text goes out with: 8 when it goes as UCS2, else 0.
    int DcsPer(const QString& testo) const { return InUcs2(testo) ? 8 : 0; }
    // The text as written after the prompt, in the coding last set.
    QString CorpoInvio(const QString& testo) const;
    // The modem's answer to the line that set `dcs`.
    void EsitoCsmp(const RispostaAt& r, int dcs);
    void CsmpAccettato(int dcs) { dcsInvio_ = dcs; }
    // The modem refused to change the coding: UCS2 is not offered any more.
    void CsmpRifiutato();
    // Whether a text goes out as UCS2: it holds characters the set cannot carry, UCS2 is
    // offered and the text fits one UCS2 message.
    bool InUcs2(const QString& testo) const;

    // A plain text as it is written to the modem: with the character set known, what it cannot
    // carry gets its nearest stand-in; with the modem's own default it goes as it is.
    QString TestoSemplice(const QString& testo) const;

    // The refusals told in the diagnostic list, in order, each once.
    const QStringList& Note() const { return note_; }

    // How each step of the start-up and restore tables takes its reply.
    SequenzaAt<CodificaModem>::Poi EsitoCsdh(const RispostaAt& r);
    SequenzaAt<CodificaModem>::Poi EsitoElencoInsiemi(const RispostaAt& r);
    SequenzaAt<CodificaModem>::Poi EsitoInsieme(const RispostaAt& r);
    SequenzaAt<CodificaModem>::Poi EsitoInsiemeInUso(const RispostaAt& r);
    SequenzaAt<CodificaModem>::Poi EsitoCsmpIniziale(const RispostaAt& r);

private:
    void nota(const QString& testo);

    ContestoModem& m_;
    GestionePin& pin_;
    bool inCorso_ = false;
    QString insieme_;
    QString insiemeLettura_;
    bool csdh_ = false;
    bool ucs2_ = false;
    int dcsInvio_ = -1;
    QStringList note_;
};

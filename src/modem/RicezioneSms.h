#pragma once

#include "SmsLetto.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

class Archivio;
class RubricaClienti;

// What becomes of a message read from the SIM in the archive: a new pending record, a further
// part joined to the record of its first part, or a second reading of a message already stored.
// Each change is one record written whole; an archive that cannot be read or written throws
// ErroreRuntime with nothing written, so the caller leaves the message on the SIM.
class RicezioneSms {
public:
    enum class Esito { Nuovo, Unito, Duplicato };
    struct Risultato {
        Esito esito = Esito::Nuovo;
        QString nome;        // the customer's name, or "Nuovo Cliente"
        QString data;        // of the record (the message's own, or the clock's)
        QString orarioPrimo; // the record's first time: how its row is found in the list
        QString testo;       // the record's text after the change
        // A piece joined to a record stored by an earlier scan: the whole message is announced
        // (and printed) again, as the piece alone would have been.
        bool daAnnunciare = false;
    };

    // The pieces of one long message arrive a few seconds apart.
    static constexpr int kSecondiUnione = 5;

    // Stores the message. A message whose time stamp could not be read takes the date and time
    // of `adesso`, so that it is stored rather than left on the SIM for ever.
    // A piece of a long message with a concatenation reference joins the other pieces of that
    // reference (PartiSms), however far apart they come, with a mark for each missing run; the
    // time rule joins plain messages only, and never into a record of pieces.
    static Risultato Registra(Archivio& archivio, RubricaClienti& rubrica, SmsLetto sms,
                              const QDateTime& adesso);

    // `testo` is the whole of `registrato` or one of the pieces joined in it with one space.
    static bool PezzoDi(const QString& registrato, const QString& testo);

    // The times of the parts between a record's first and its latest, kept in its third time.
    static QStringList OrariIntermedi(const QString& campo);

    // The message comes from `mittente` (an operator's name or a service number): it stands, in
    // any case, in the sender field (with or without its +39) or in the name beside it, as a
    // word or number of its own ("TIM" in "TIM INFO", never in "TIMBRO"; "40916" never inside
    // "+393409161234"); a word of the text never counts.
    static bool DalMittente(const SmsLetto& sms, const QString& mittente);

private:
    static Risultato registraParte(Archivio& archivio, const SmsLetto& sms, Risultato r);
    static void nuovoRecord(Archivio& archivio, const SmsLetto& sms, const QString& testo);
};

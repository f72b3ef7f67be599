#pragma once

#include <QString>
#include <QVector>
#include <optional>

// A framed modem reply split into its lines, each told apart once: the echo of the command, the
// reply's own information, unsolicited lines the modem slips in (+CMTI:, RING, ...), the final
// result (OK, ERROR, +CME/+CMS ERROR) and the "> " prompt for an SMS text. The channel and every
// parser read replies through this one class.
class RispostaAt {
public:
    enum class Tipo { Vuota, Eco, Informazione, NonRichiesta, Prompt, Ok, Errore };
    struct Riga {
        qsizetype inizio = 0; // first character
        qsizetype fine = 0;   // one past the last character, before the line end
        qsizetype dopo = 0;   // first character of the next line
        Tipo tipo = Tipo::Informazione;
    };

    // `comando` is the line the reply answers, when known: its echo is then told apart, and an
    // information line of the same command (+CREG: for AT+CREG?) is the reply's own rather than
    // unsolicited.
    explicit RispostaAt(QString testo, const QString& comando = QString());

    const QString& Testo() const { return testo_; }
    const QVector<Riga>& Righe() const { return righe_; }
    QString TestoRiga(qsizetype i) const;

    // The final result line, the last one when there are several: OK, or an error report.
    bool Ok() const { return finale_ == Tipo::Ok; }
    bool Errore() const { return finale_ == Tipo::Errore; }
    bool HaFinale() const { return finale_ != Tipo::Vuota; }
    // The reply holds the prompt of an SMS text.
    bool Prompt() const { return prompt_; }

    // The first of the reply's own information lines that begins with `prefisso` (any case).
    std::optional<QString> Informazione(const QString& prefisso) const;

    // One line on its own.
    static Tipo Classifica(const QString& riga, const QString& comando = QString());

private:
    QString testo_;
    QVector<Riga> righe_;
    Tipo finale_ = Tipo::Vuota;
    bool prompt_ = false;
};

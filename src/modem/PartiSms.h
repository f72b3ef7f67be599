#pragma once

#include "CorpoSms.h"

#include <QList>
#include <QMap>
#include <QString>

// The long messages being put back together: for each, the record that holds it and the text of
// each piece read so far, so that pieces joined by their concatenation reference land in order
// however far apart they arrive and whatever order the SIM slots give them in.
class PartiSms {
public:
    struct Messaggio {
        QString numero;
        int riferimento = 0;
        int parti = 0;
        // The record: its date and first time.
        QString data;
        QString orarioPrimo;
        QMap<int, QString> testi; // by piece number
    };

    // The message this piece belongs to, when one is being put together.
    Messaggio* Trova(const QString& numero, const CorpoSms::Concatenazione& c);
    // Starts a message with its first piece read; an older one with the same key is forgotten.
    void Nuovo(const QString& numero, const CorpoSms::Concatenazione& c, const QString& data,
               const QString& orario, const QString& testo);
    // The text of the pieces read, in their order; pieces split a word anywhere, so no separator.
    static QString Testo(const QMap<int, QString>& testi);

    // The messages kept: the oldest is dropped beyond this.
    static constexpr int kMassimo = 200;

private:
    QList<Messaggio> messaggi_;
};

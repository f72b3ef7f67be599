#pragma once

#include "platform/CaselleData.h"

#include <QDate>
#include <QString>

// The date of the last top-up as the operator window shows it: day, month and year in boxes of
// their own.
class DividiData {
public:
    using Parti = CaselleData;

    // Splits "12/05/2012" into 12, 05 and 2012; the character after each "/" opens the next piece
    // and characters of a fourth piece are dropped.
    static Parti Dividi(const QString& testo);

    // The boxes made a date to store: a piece that is not a number, or out of its range (day 1 to
    // 31, month 1 to 12), becomes today's; so does a year that reads, as text, after today's.
    static Parti Normalizza(Parti parti, const QDate& oggi);

    static QString Unisci(const Parti& parti);
};

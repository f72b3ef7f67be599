#pragma once

#include "platform/CaselleData.h"

#include <QDate>
#include <QString>

// The browser's date range: the six boxes made usable before each filtering, and their keys.
class IntervalloDate {
public:
    // Today as the boxes show it: day and month on two digits, the year on four.
    static CaselleData Di(const QDate& giorno);

    // Replaces, in this order, what cannot be used: an empty or non-numeric box counts as
    // below 1. Start day, month, year below 1 become 01, 01, 2012; end ones become today's. A
    // start day above 31 becomes 31, a start month above 12 becomes 12; an end day or month
    // out of range becomes today's. A typed end year is kept (up to 9999): the range ends in
    // the year the user asked for.
    static void Normalizza(CaselleData& da, CaselleData& a, const QDate& oggi);

    // The key of normalised boxes. The year enters as the number formed by its characters 2
    // to 4, so "2012" gives 12 and "12" gives 2.
    static int Chiave(const CaselleData& caselle);

    static constexpr int UltimoAnno = 9999;
};

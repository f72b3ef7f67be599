#pragma once

#include <QString>

// The date key by which the browser and the printed lists compare dates: day + 31 × month +
// 961 × year, the year being the two-digit year of the century. Kept in 32 bits, so that every
// date of the century fits (a 16-bit key ends on 28/02/2034).
class ChiaveData {
public:
    // The key of a dd/MM/yy text (characters 1-2, 4-5 and 7-8); a damaged day, month or year
    // counts as 0.
    static int DiData(const QString& data);
    // The same over the UTF-8 bytes of a stored date, without building a text for the common
    // well-formed case.
    static int DiData(const char* byte, int lunghezza);
    // The key of day, month and year as numbers (decimals allowed), rounded to the nearest
    // integer, ties to the even one.
    static int Da(double giorno, double mese, double anno);
};

#pragma once

#include <QString>

// A date as typed in three boxes of its own: day, month and year.
struct CaselleData {
    QString giorno;
    QString mese;
    QString anno; // four digits expected

    bool operator==(const CaselleData&) const = default;
};

#pragma once

#include "CaselleData.h"

#include <array>

class QLineEdit;

// The day, month and year boxes of a window, read and written as one date.
class TreCaselle {
public:
    static CaselleData Leggi(const std::array<QLineEdit*, 3>& caselle);
    static void Scrivi(const std::array<QLineEdit*, 3>& caselle, const CaselleData& data);
};

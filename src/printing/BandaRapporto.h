#pragma once

#include "ControlloRapporto.h"

#include <QList>

// One band of a report: its height in twips and its controls. A band of height 0 with no
// controls is absent.
struct BandaRapporto {
    int altezza = 0;
    QList<ControlloRapporto> controlli;

    bool Presente() const { return altezza > 0 || !controlli.isEmpty(); }
    ControlloRapporto& Aggiungi(const ControlloRapporto& c) {
        controlli.append(c);
        return controlli.last();
    }
};

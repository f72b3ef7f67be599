#include "TreCaselle.h"

#include <QLineEdit>

CaselleData TreCaselle::Leggi(const std::array<QLineEdit*, 3>& caselle) {
    return {caselle[0]->text(), caselle[1]->text(), caselle[2]->text()};
}

void TreCaselle::Scrivi(const std::array<QLineEdit*, 3>& caselle, const CaselleData& data) {
    caselle[0]->setText(data.giorno);
    caselle[1]->setText(data.mese);
    caselle[2]->setText(data.anno);
}

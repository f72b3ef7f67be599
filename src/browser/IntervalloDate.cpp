#include "IntervalloDate.h"

#include "archive/ChiaveData.h"
#include "platform/Testo.h"

namespace {

// The number in a box; a box that is not one number counts as 0, below every bound.
double Valore(const QString& casella) {
    return Testo::IsNumeric(casella) ? Testo::Val(casella) : 0.0;
}

} // namespace

CaselleData IntervalloDate::Di(const QDate& giorno) {
    const QString testo = giorno.toString(QStringLiteral("dd/MM/yyyy"));
    return {testo.mid(0, 2), testo.mid(3, 2), testo.mid(6, 4)};
}

void IntervalloDate::Normalizza(CaselleData& da, CaselleData& a, const QDate& oggi) {
    const CaselleData odierna = Di(oggi);
    if (Valore(da.giorno) < 1)
        da.giorno = QStringLiteral("01");
    if (Valore(da.mese) < 1)
        da.mese = QStringLiteral("01");
    if (Valore(da.anno) < 1)
        da.anno = QStringLiteral("2012");

    if (Valore(a.giorno) < 1)
        a.giorno = odierna.giorno;
    if (Valore(a.mese) < 1)
        a.mese = odierna.mese;
    if (Valore(a.anno) < 1)
        a.anno = odierna.anno;

    if (Valore(da.giorno) > 31)
        da.giorno = QStringLiteral("31");
    if (Valore(da.mese) > 12)
        da.mese = QStringLiteral("12");

    if (Valore(a.giorno) > 31)
        a.giorno = odierna.giorno;
    if (Valore(a.mese) > 12)
        a.mese = odierna.mese;
    if (Valore(a.anno) > UltimoAnno)
        a.anno = odierna.anno;
}

int IntervalloDate::Chiave(const CaselleData& caselle) {
    return ChiaveData::Da(Testo::Val(caselle.giorno), Testo::Val(caselle.mese),
                          Testo::Val(Testo::Mid(caselle.anno, 2, 3)));
}

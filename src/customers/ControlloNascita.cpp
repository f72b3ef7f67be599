#include "ControlloNascita.h"

#include "platform/Testo.h"

#include <optional>

namespace {
// The value of a box, or nothing when its text is not a number (the empty box included).
std::optional<qint64> Valore(const QString& testo) {
    if (!Testo::IsNumeric(testo))
        return std::nullopt;
    return Testo::Arrotonda(Testo::Val(testo));
}

bool Compreso(const QString& testo, qint64 minimo, qint64 massimo) {
    const auto v = Valore(testo);
    return v && *v >= minimo && *v <= massimo;
}

// Two digits for a day or month below 10; from 10 on, the text as typed.
QString Parte(const QString& testo) {
    const qint64 v = *Valore(testo);
    return v >= 10 ? testo : QStringLiteral("0") + QString::number(v);
}
} // namespace

ControlloNascita::Esito ControlloNascita::Controlla(const QString& giorno, const QString& mese,
                                                    const QString& anno,
                                                    const QString& annoCorrente) {
    if (giorno.isEmpty() && mese.isEmpty() && anno.isEmpty())
        return {true, QString()};
    bool ok = Compreso(giorno, 1, 31);
    ok = Compreso(mese, 1, 12) && ok;
    ok = ok && Valore(anno) && anno.compare(annoCorrente) <= 0;
    if (!ok)
        return {false, QString()};
    return {true, Parte(giorno) + QLatin1Char('/') + Parte(mese) + QLatin1Char('/') + anno};
}

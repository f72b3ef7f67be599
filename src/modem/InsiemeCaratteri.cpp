#include "InsiemeCaratteri.h"

#include "AlfabetoGsm.h"
#include "CorpoSms.h"

#include <QList>

bool InsiemeCaratteri::Trasmette(char32_t carattere, const QString& insieme) {
    if (carattere == U'\n' || carattere == U'\r')
        return true;
    const bool latino1 = insieme.compare(QLatin1String(Latino1), Qt::CaseInsensitive) == 0;
    const bool nelInsieme = latino1 ? (carattere >= 0x20 && carattere <= 0x7E) ||
                                          (carattere >= 0xA0 && carattere <= 0xFF)
                                    : carattere >= 0x20 && carattere <= 0x7E;
    return nelInsieme && AlfabetoGsm::Contiene(carattere);
}

QString InsiemeCaratteri::NonTrasmessi(const QString& testo, const QString& insieme) {
    QString fuori;
    for (const char32_t c : testo.toUcs4()) {
        const QString uno = QString::fromUcs4(&c, 1);
        if (!Trasmette(c, insieme) && !fuori.contains(uno))
            fuori += uno;
    }
    return fuori;
}

QString InsiemeCaratteri::DalModem(const QString& testo, const QString& insieme) {
    if (insieme.compare(QLatin1String("GSM"), Qt::CaseInsensitive) == 0)
        return AlfabetoGsm::DaCodici(testo);
    if (insieme.compare(QLatin1String("UCS2"), Qt::CaseInsensitive) == 0 && testo.size() % 4 == 0) {
        // A body that is no hexadecimal is kept as shown.
        if (const auto d = CorpoSms::Decodifica(testo, 0, 8))
            return d->testo;
    }
    return testo;
}

#include "TestoInerte.h"

namespace {

enum class Genere { Normale, Controllo, Formato };

Genere genere(char32_t c) {
    if (c == u'\t' || c == u'\n' || c == u'\r')
        return Genere::Normale;
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F))
        return Genere::Controllo;
    return QChar::category(c) == QChar::Other_Format ? Genere::Formato : Genere::Normale;
}

} // namespace

QString TestoInerte::Rendi(const QString& testo, QChar segnaposto) {
    QString uscita;
    uscita.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        if (c.isSurrogate()) {
            if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate()) {
                const char32_t coppia = QChar::surrogateToUcs4(c, testo.at(i + 1));
                ++i;
                if (genere(coppia) == Genere::Normale) {
                    uscita += c;
                    uscita += testo.at(i);
                }
            } else {
                uscita += segnaposto;
            }
            continue;
        }
        switch (genere(c.unicode())) {
        case Genere::Normale:
            uscita += c;
            break;
        case Genere::Controllo:
            uscita += segnaposto;
            break;
        case Genere::Formato:
            break;
        }
    }
    return uscita;
}

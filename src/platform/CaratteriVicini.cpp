#include "CaratteriVicini.h"

#include <QList>

namespace {

QString sostituto(char32_t c) {
    switch (c) {
    case 0x2018:
    case 0x2019:
    case 0x201A:
    case 0x201B:
    case 0x2032:
    case 0x00B4:
    case 0x0060:
        return QStringLiteral("'");
    case 0x201C:
    case 0x201D:
    case 0x201E:
    case 0x201F:
    case 0x2033:
    case 0x00AB:
    case 0x00BB:
        return QStringLiteral("\"");
    case 0x2010:
    case 0x2011:
    case 0x2012:
    case 0x2013:
    case 0x2014:
    case 0x2015:
    case 0x2212:
        return QStringLiteral("-");
    case 0x2026:
        return QStringLiteral("...");
    case 0x00A0:
    case 0x2002:
    case 0x2003:
    case 0x2009:
    case 0x202F:
        return QStringLiteral(" ");
    case 0x20AC:
        return QStringLiteral("EUR");
    default:
        break;
    }
    // A letter with marks: its decomposition begins with the bare letter.
    const QString scomposto = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_D);
    if (scomposto.size() > 1 && scomposto.at(0).unicode() < 0x80 && scomposto.at(0).isLetter())
        return scomposto.left(1);
    return QStringLiteral("?");
}

} // namespace

QString CaratteriVicini::Adatta(const QString& testo,
                                const std::function<bool(char32_t)>& accettato) {
    QString uscita;
    uscita.reserve(testo.size());
    for (const char32_t c : testo.toUcs4()) {
        if (accettato(c)) {
            uscita += QString::fromUcs4(&c, 1);
            continue;
        }
        const QString s = sostituto(c);
        bool tutto = true;
        for (const char32_t v : s.toUcs4())
            tutto = tutto && accettato(v);
        uscita += tutto ? s : QStringLiteral("?");
    }
    return uscita;
}

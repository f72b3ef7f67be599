#include "DividiData.h"

#include "platform/Testo.h"

DividiData::Parti DividiData::Dividi(const QString& testo) {
    Parti p;
    QString* parti[] = {&p.giorno, &p.mese, &p.anno};
    int parte = 0;
    for (qsizetype j = 0; j < testo.size(); ++j) {
        QChar c = testo.at(j);
        if (c == QLatin1Char('/')) {
            ++parte;
            if (++j >= testo.size())
                break;
            c = testo.at(j);
        }
        if (parte < 3)
            parti[parte]->append(c);
    }
    return p;
}

DividiData::Parti DividiData::Normalizza(Parti p, const QDate& oggi) {
    const QString odierna = oggi.toString(QStringLiteral("dd/MM/yyyy"));
    const auto valore = [](const QString& t) { return Testo::IsNumeric(t) ? Testo::Val(t) : -1; };
    if (valore(p.giorno) < 1 || valore(p.giorno) > 31)
        p.giorno = Testo::Mid(odierna, 1, 2);
    if (valore(p.mese) < 1 || valore(p.mese) > 12)
        p.mese = Testo::Mid(odierna, 4, 2);
    const QString annoOggi = Testo::Mid(odierna, 7, 4);
    if (valore(p.anno) < 1 || p.anno > annoOggi)
        p.anno = annoOggi;
    return p;
}

QString DividiData::Unisci(const Parti& p) {
    return p.giorno + QLatin1Char('/') + p.mese + QLatin1Char('/') + p.anno;
}

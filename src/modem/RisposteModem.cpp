#include "RisposteModem.h"

#include "platform/Testo.h"

#include <algorithm>

bool RisposteModem::Contiene(const QString& risposta, const QString& token) {
    return Testo::InStr(risposta, token) > 0;
}

QString RisposteModem::Estrai_Revisione(const QString& risposta) {
    QString revisione;
    int delimitatori = 0;
    for (qsizetype i = 0; i < risposta.size(); ++i) {
        QChar c = risposta.at(i);
        if (c == QLatin1Char(':') || c == QChar(13)) {
            ++delimitatori;
            if (delimitatori > 2)
                break;
            ++i;
            if (i >= risposta.size())
                break;
            c = risposta.at(i);
        }
        if (delimitatori == 2)
            revisione.append(c);
    }
    return revisione;
}

// The ':' of the reply's own line: an unsolicited line (+CMTI, RING) may come first.
static int dueEPunti(const QString& risposta, const QString& prefisso) {
    const int riga = Testo::InStr(risposta, prefisso);
    return riga > 0 ? riga + int(prefisso.size()) - 1 : Testo::InStr(risposta, QStringLiteral(":"));
}

QString RisposteModem::StatoRegistrazione(const QString& risposta) {
    return Testo::Mid(risposta, dueEPunti(risposta, QStringLiteral("+CREG:")) + 4, 1);
}

int RisposteModem::LivelloSegnale(const QString& risposta) {
    const int p = dueEPunti(risposta, QStringLiteral("+CSQ:"));
    if (p == 0)
        return -1;
    const double v = Testo::Val(Testo::Mid(risposta, p + 1, 3));
    // 99 is the modem saying it does not know the signal: no bar, not a full one.
    if (v == 99)
        return 0;
    // A negative or absurd value from a confused modem still lands within the bar.
    const qint64 livello = Testo::Arrotonda(std::clamp(v, 0.0, 1000.0) * 10.0 / 3.0);
    return int(std::min<qint64>(livello, 100));
}

RisposteModem::StatoSim RisposteModem::StatoDellaSim(const QString& risposta) {
    if (Contiene(risposta, QStringLiteral("PUK")))
        return StatoSim::PukRichiesto;
    if (Contiene(risposta, QStringLiteral("PIN")))
        return StatoSim::PinRichiesto;
    if (Contiene(risposta, QStringLiteral("inserted")))
        return StatoSim::SimAssente;
    return StatoSim::Pronta;
}

#include "RisposteModem.h"

#include "RispostaAt.h"

#include "platform/Testo.h"

#include <QStringList>
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

// The reply's own information line from its ':' on (an unsolicited line may come first); the
// reply from its first ':' on when it has no such line; nullopt when it has no ':' at all.
static std::optional<QString> daiDuePunti(const QString& risposta, const QString& comando,
                                          const QString& prefisso) {
    if (const auto riga = RispostaAt(risposta, comando).Informazione(prefisso))
        return riga->mid(prefisso.size() - 1);
    const int p = Testo::InStr(risposta, QStringLiteral(":"));
    if (p == 0)
        return std::nullopt;
    return risposta.mid(p - 1);
}

QString RisposteModem::StatoRegistrazione(const QString& risposta) {
    const auto t = daiDuePunti(risposta, QStringLiteral("AT+CREG?"), QStringLiteral("+CREG:"));
    return t ? Testo::Mid(*t, 5, 1) : Testo::Mid(risposta, 4, 1);
}

int RisposteModem::LivelloSegnale(const QString& risposta) {
    const auto t = daiDuePunti(risposta, QStringLiteral("AT+CSQ"), QStringLiteral("+CSQ:"));
    if (!t)
        return -1;
    const double v = Testo::Val(Testo::Mid(*t, 2, 3));
    // 99 is the modem saying it does not know the signal: no bar, not a full one.
    if (v == 99)
        return 0;
    // A negative or absurd value from a confused modem still lands within the bar.
    const qint64 livello = Testo::Arrotonda(std::clamp(v, 0.0, 1000.0) * 10.0 / 3.0);
    return int(std::min<qint64>(livello, 100));
}

std::optional<RisposteModem::MemoriaSim> RisposteModem::Memoria(const QString& risposta) {
    const RispostaAt r(risposta, QStringLiteral("AT+CPMS?"));
    const std::optional<QString> riga = r.Informazione(QStringLiteral("+CPMS:"));
    if (!r.Ok() || !riga)
        return std::nullopt;
    // +CPMS: "SM",<used>,<total>,...: the storage read and deleted from comes first.
    const QStringList campi = riga->mid(6).split(QLatin1Char(','));
    if (campi.size() < 3)
        return std::nullopt;
    bool okUsati = false;
    bool okTotale = false;
    const int usati = campi[1].trimmed().toInt(&okUsati);
    const int totale = campi[2].trimmed().toInt(&okTotale);
    if (!okUsati || !okTotale || usati < 0 || totale < 0)
        return std::nullopt;
    return MemoriaSim{usati, totale};
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

#include "CorpoSms.h"

#include "AlfabetoGsm.h"

namespace {

int cifra(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

// The concatenation element of a user-data header (8- or 16-bit reference), if any.
std::optional<CorpoSms::Concatenazione> concatenazione(const QByteArray& intestazione) {
    const auto o = [&](qsizetype i) { return static_cast<unsigned char>(intestazione[i]); };
    qsizetype i = 0;
    while (i + 2 <= intestazione.size()) {
        const int id = o(i);
        const int lunghezza = o(i + 1);
        const qsizetype dati = i + 2;
        if (dati + lunghezza > intestazione.size())
            break;
        CorpoSms::Concatenazione c;
        if (id == 0x00 && lunghezza == 3) {
            c = {o(dati), o(dati + 1), o(dati + 2)};
        } else if (id == 0x08 && lunghezza == 4) {
            c = {o(dati) * 256 + o(dati + 1), o(dati + 2), o(dati + 3)};
        } else {
            i = dati + lunghezza;
            continue;
        }
        // A count of none, or a number past the count, is no concatenation the standard allows.
        if (c.parti >= 1 && c.numero >= 1 && c.numero <= c.parti)
            return c;
        return std::nullopt;
    }
    return std::nullopt;
}

// The septets of text that a declared length gives, when it matches the octets shown: counted
// with the header's septets or without them; -1 when it says nothing usable.
int septettiTesto(std::optional<int> lunghezza, int septettiIntestazione, int ottetti) {
    if (!lunghezza || *lunghezza < 0)
        return -1;
    const auto ottettiDi = [](int septetti) { return (septetti * 7 + 7) / 8; };
    if (*lunghezza >= septettiIntestazione && ottettiDi(*lunghezza) == ottetti)
        return *lunghezza - septettiIntestazione;
    if (ottettiDi(*lunghezza + septettiIntestazione) == ottetti)
        return *lunghezza;
    return -1;
}

} // namespace

CorpoSms::Alfabeto CorpoSms::AlfabetoDaDcs(int dcs) {
    if (dcs < 0 || dcs > 0xFF)
        return Alfabeto::Gsm7;
    const int gruppo = dcs >> 4;
    if (gruppo <= 0x7) {
        // General data coding (and its auto-deletion group); a compressed body is left alone.
        if (dcs & 0x20)
            return Alfabeto::Gsm7;
        switch ((dcs >> 2) & 0x3) {
        case 1:
            return Alfabeto::Otto;
        case 2:
            return Alfabeto::Ucs2;
        default:
            return Alfabeto::Gsm7;
        }
    }
    if (gruppo == 0xE)
        return Alfabeto::Ucs2;
    if (gruppo == 0xF)
        return (dcs & 0x04) ? Alfabeto::Otto : Alfabeto::Gsm7;
    return Alfabeto::Gsm7;
}

std::optional<CorpoSms::Decodificato> CorpoSms::Decodifica(const QString& dati, int fo, int dcs,
                                                           std::optional<int> lunghezza) {
    const Alfabeto alfabeto = AlfabetoDaDcs(dcs);
    const bool udh = ConIntestazione(fo);
    if (alfabeto == Alfabeto::Gsm7 && !udh)
        return Decodificato{dati, std::nullopt};
    const std::optional<QByteArray> ottetti = DaEsadecimale(dati);
    if (!ottetti)
        return std::nullopt;
    Decodificato d;
    qsizetype inizio = 0;
    if (udh) {
        if (ottetti->isEmpty())
            return std::nullopt;
        const int lunghezza = static_cast<unsigned char>(ottetti->at(0));
        inizio = 1 + lunghezza;
        if (inizio > ottetti->size())
            return std::nullopt;
        d.concatenazione = concatenazione(ottetti->mid(1, lunghezza));
    }
    switch (alfabeto) {
    case Alfabeto::Gsm7: {
        // The septets start at the first septet boundary after the header.
        const int septettiIntestazione = (int(inizio) * 8 + 6) / 7;
        d.testo = AlfabetoGsm::Spacchetta(
            *ottetti, septettiIntestazione * 7,
            septettiTesto(lunghezza, septettiIntestazione, int(ottetti->size())));
        break;
    }
    case Alfabeto::Otto:
        d.testo = QString::fromLatin1(ottetti->mid(inizio));
        break;
    case Alfabeto::Ucs2: {
        const QByteArray u = ottetti->mid(inizio);
        QString t;
        for (qsizetype i = 0; i + 1 < u.size(); i += 2)
            t.append(QChar(char16_t(static_cast<unsigned char>(u[i]) << 8 |
                                    static_cast<unsigned char>(u[i + 1]))));
        d.testo = t;
        break;
    }
    }
    return d;
}

std::optional<QByteArray> CorpoSms::DaEsadecimale(const QString& dati) {
    const QString t = dati.trimmed();
    if (t.size() % 2 != 0)
        return std::nullopt;
    QByteArray ottetti;
    ottetti.reserve(t.size() / 2);
    for (qsizetype i = 0; i < t.size(); i += 2) {
        const int alta = cifra(t[i]);
        const int bassa = cifra(t[i + 1]);
        if (alta < 0 || bassa < 0)
            return std::nullopt;
        ottetti.append(char(alta * 16 + bassa));
    }
    return ottetti;
}

QString CorpoSms::InEsadecimale(const QByteArray& ottetti) {
    return QString::fromLatin1(ottetti.toHex().toUpper());
}

QString CorpoSms::Ucs2Esadecimale(const QString& testo) {
    QByteArray ottetti;
    for (const QChar c : testo) {
        ottetti.append(char(c.unicode() >> 8));
        ottetti.append(char(c.unicode() & 0xFF));
    }
    return InEsadecimale(ottetti);
}

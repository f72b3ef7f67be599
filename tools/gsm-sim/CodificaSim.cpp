#include "CodificaSim.h"

namespace {

// The default alphabet, code by code; position 0x1B is the escape to the extension table.
const QString& tabellaBase() {
    static const QString t =
        QStringLiteral(u"@£$¥èéùìòÇ\nØø\rÅåΔ_ΦΓΛΩΠΨΣΘΞ\x1b"
                       u"ÆæßÉ !\"#¤%&'()*+,-./0123456789:;<=>?"
                       u"¡ABCDEFGHIJKLMNOPQRSTUVWXYZÄÖÑÜ§¿abcdefghijklmnopqrstuvwxyzäöñüà");
    return t;
}

// The extension table: the code after ESC for each character it holds, -1 for the others.
int estensione(QChar c) {
    switch (c.unicode()) {
    case 0x000C:
        return 0x0A;
    case '^':
        return 0x14;
    case '{':
        return 0x28;
    case '}':
        return 0x29;
    case '\\':
        return 0x2F;
    case '[':
        return 0x3C;
    case '~':
        return 0x3D;
    case ']':
        return 0x3E;
    case '|':
        return 0x40;
    case 0x20AC:
        return 0x65;
    default:
        return -1;
    }
}

int valoreEsadecimale(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

CodificaSim::Dati CodificaSim::DatiDaDcs(int dcs) {
    if ((dcs & 0xC0) == 0x00 || (dcs & 0xC0) == 0x40) {
        if (dcs & 0x20) // compressed: never produced here
            return Dati::Sette;
        const int alfabeto = (dcs >> 2) & 3;
        return alfabeto == 1 ? Dati::Otto : alfabeto == 2 ? Dati::Ucs2 : Dati::Sette;
    }
    if ((dcs & 0xF0) == 0xE0)
        return Dati::Ucs2;
    if ((dcs & 0xF0) == 0xF0)
        return (dcs & 0x04) ? Dati::Otto : Dati::Sette;
    return Dati::Sette;
}

bool CodificaSim::NellAlfabeto(QChar c) {
    if (c.unicode() == 0x1B)
        return false;
    return tabellaBase().contains(c) || estensione(c) >= 0;
}

std::optional<QList<int>> CodificaSim::Codici(const QString& testo, bool rigoroso) {
    QList<int> codici;
    for (const QChar c : testo) {
        const qsizetype base = c.unicode() == 0x1B ? -1 : tabellaBase().indexOf(c);
        if (base >= 0) {
            codici << int(base);
        } else if (const int e = estensione(c); e >= 0) {
            codici << 0x1B << e;
        } else if (rigoroso) {
            return std::nullopt;
        } else {
            codici << int(tabellaBase().indexOf(QLatin1Char('?')));
        }
    }
    return codici;
}

QByteArray CodificaSim::Impacchetta(const QList<int>& septetti, const QByteArray& intestazione) {
    const int primoBit = SeptettiIntestazione(int(intestazione.size())) * 7;
    const int bitTotali = primoBit + int(septetti.size()) * 7;
    QByteArray ottetti((bitTotali + 7) / 8, '\0');
    for (qsizetype i = 0; i < intestazione.size(); ++i)
        ottetti[i] = intestazione[i];
    // Each septet lands at its bit offset, split over two octets where it crosses a boundary.
    for (qsizetype i = 0; i < septetti.size(); ++i) {
        const int bit = primoBit + int(i) * 7;
        const unsigned valore = unsigned(septetti[i] & 0x7F) << (bit % 8);
        ottetti[bit / 8] = char(uchar(ottetti[bit / 8]) | (valore & 0xFF));
        if ((valore >> 8) != 0)
            ottetti[bit / 8 + 1] = char(uchar(ottetti[bit / 8 + 1]) | (valore >> 8));
    }
    return ottetti;
}

QByteArray CodificaSim::Ucs2(const QString& testo) {
    QByteArray r;
    for (const QChar c : testo) {
        r += char(c.unicode() / 256);
        r += char(c.unicode() % 256);
    }
    return r;
}

QString CodificaSim::DaUcs2(const QByteArray& ottetti) {
    QString r;
    for (qsizetype i = 0; i + 1 < ottetti.size(); i += 2)
        r += QChar(char16_t(uchar(ottetti[i]) * 256 + uchar(ottetti[i + 1])));
    return r;
}

std::optional<QByteArray> CodificaSim::DaEsadecimale(const QByteArray& testo) {
    const QByteArray t = testo.trimmed();
    if (t.size() % 2)
        return std::nullopt;
    QByteArray r;
    for (qsizetype i = 0; i < t.size(); i += 2) {
        const int alta = valoreEsadecimale(t[i]);
        const int bassa = valoreEsadecimale(t[i + 1]);
        if (alta < 0 || bassa < 0)
            return std::nullopt;
        r += char(alta * 16 + bassa);
    }
    return r;
}

QByteArray CodificaSim::IntestazioneConcatenazione(int riferimento, int totale, int numero) {
    if (riferimento < 256)
        return QByteArray("\x00\x03", 2) + char(riferimento) + char(totale) + char(numero);
    return QByteArray("\x08\x04", 2) + char(riferimento >> 8) + char(riferimento & 0xFF) +
           char(totale) + char(numero);
}

#include "CodicePagina1252.h"

namespace {

// Bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined (read as themselves).
constexpr char16_t kAlti[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t carattere(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kAlti[b - 0x80] != 0)
        return kAlti[b - 0x80];
    return b;
}

} // namespace

QString CodicePagina1252::Decodifica(const QByteArray& byte) {
    QString testo;
    testo.reserve(byte.size());
    for (char b : byte)
        testo.append(QChar(carattere(static_cast<unsigned char>(b))));
    return testo;
}

QByteArray CodicePagina1252::Codifica(const QString& testo) {
    QByteArray byte;
    byte.reserve(testo.size());
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        // A character beyond the basic plane is one character, written as one '?'.
        if (c.isHighSurrogate() && i + 1 < testo.size() && testo.at(i + 1).isLowSurrogate())
            ++i;
        const char16_t u = c.unicode();
        char scelto = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            scelto = char(u);
        } else {
            for (int i = 0; i < 32; ++i) {
                const char16_t atteso = kAlti[i] != 0 ? kAlti[i] : char16_t(0x80 + i);
                if (atteso == u) {
                    scelto = char(0x80 + i);
                    break;
                }
            }
        }
        byte.append(scelto);
    }
    return byte;
}

bool CodicePagina1252::Contiene(char32_t carattere) {
    if (carattere > 0xFFFF)
        return false;
    return carattere == U'?' || Codifica(QString(QChar(char16_t(carattere)))) != "?";
}

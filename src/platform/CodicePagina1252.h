#pragma once

#include <QByteArray>
#include <QString>

// The serial lines speak the system's 8-bit code page, Windows-1252: one byte is one character,
// so an accented letter from the modem reaches the archive and the printer unchanged.
class CodicePagina1252 {
public:
    static QString Decodifica(const QByteArray& byte);
    // The code page has a byte for the character.
    static bool Contiene(char32_t carattere);
    // A character the code page has no byte for becomes '?'.
    static QByteArray Codifica(const QString& testo);
};

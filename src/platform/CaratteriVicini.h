#pragma once

#include <QString>
#include <functional>

// The nearest stand-in for a character a device cannot show: curly quotes become straight ones,
// dashes a hyphen, a letter with a mark its bare letter, a character with no such stand-in
// (an emoji, a letter of another script) one "?".
class CaratteriVicini {
public:
    // Every character `accettato` refuses is replaced; a character beyond the basic plane counts
    // as one.
    static QString Adatta(const QString& testo, const std::function<bool(char32_t)>& accettato);
};

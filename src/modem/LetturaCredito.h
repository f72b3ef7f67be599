#pragma once

#include <QString>
#include <optional>

// Reading the credit out of the operator's answers: the network's USSD answer and the number a
// credit stands for.
class LetturaCredito {
public:
    // The text of the "+CUSD:" line, between its quotes, decoded when its coding says UCS2 or
    // 8-bit; nullopt when the reply holds no such
    // line or its closing quote has not come yet.
    static std::optional<QString> TestoUssd(const QString& risposta);

    // The credit in an operator's text: the five characters that end one before "euro" (any
    // case), blanks around them dropped, e.g. "12,34" of "... 12,34 Euro". nullopt when the
    // text has no "euro", too little before it, or no digit in those characters: only the
    // answer's own text is ever taken.
    static std::optional<QString> Credito(const QString& testo);

    // The number a credit stands for: the number at its start, a point being the decimal
    // separator, so that "12,34" counts as 12.
    static double Valore(const QString& credito);
};

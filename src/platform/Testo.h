#pragma once

#include <QString>

// Text helpers with the classic run-time semantics the program's routines rely on: 1-based
// positions, slices that tolerate positions past the end, case-insensitive search.
class Testo {
public:
    // Characters from the 1-based position `inizio`, at most `lunghezza` of them (all when
    // negative). A start past the end gives the empty text; a start below 1 counts as 1.
    static QString Mid(const QString& s, int inizio, int lunghezza = -1);
    static QString Left(const QString& s, int n);
    static QString Right(const QString& s, int n);

    // 1-based position of the first occurrence of `cerca` at or after `inizio`, without regard
    // to case; 0 when absent. An empty `cerca` is found at `inizio` (when within the text).
    static int InStr(const QString& s, const QString& cerca, int inizio = 1);

    // The number the text begins with: blanks are skipped anywhere, then an optional sign,
    // digits, a decimal point and an exponent; reading stops at the first other character.
    // "12abc" gives 12, "abc" gives 0, " 1 2" gives 12.
    static double Val(const QString& s);

    // True when the whole text (blanks around allowed) is one number: optional sign, digits with
    // at most one decimal separator ('.' or ','), optional exponent.
    static bool IsNumeric(const QString& s);

    // Rounds to the nearest integer, ties to the even one (2.5 gives 2, 3.5 gives 4); beyond
    // the range of qint64, its largest or smallest value.
    static qint64 Arrotonda(double v);

    // The text with each lone half of a UTF-16 pair (which no UTF-8 text can hold) replaced by
    // U+FFFD, the character that says one was unreadable; the same text when it has none.
    static QString CaratteriInteri(const QString& s);
};

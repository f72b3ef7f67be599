#pragma once

#include <QString>

// The word-wrap of the 80-column printer: one text becomes one or more quoted printer lines of
// at most 35 characters (36 columns less the space after the last word), each followed by "@".
// Words are never split; a word too long for what is left of a line starts the next one, and a
// word of 35 characters or more gets a line of its own. Line feeds break the line, carriage
// returns are dropped, every space is written. A double quote in the text is printed as an
// apostrophe, since the printer reads it as the end of the line. A character outside the
// printer's code page prints as its nearest stand-in (an emoji as "?"). Nothing in the text drives
// the printer: a control character prints as "?", a tab as a space, and a format character that
// only reorders or hides text (a direction mark or override, a zero-width space) not at all.
class AvvolgimentoRiga {
public:
    static constexpr int Colonne = 36;

    // The exact text that goes to the printer for one call of StampaRiga.
    static QString Protocollo(const QString& testo);
};

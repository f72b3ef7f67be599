#pragma once

#include <QChar>
#include <QString>

// Text from outside (a message, a sender, a modem's reply) made harmless to show or print: it
// keeps every letter, but nothing in it can act on a device or on the text around it. The
// archive keeps the text as received; only what is shown or printed goes through here.
//
// - A control character (C0 but tab, line feed and carriage return; DEL; C1) and a lone half of
//   a UTF-16 pair become `segnaposto`: the reader sees that something was there.
// - A format character, which has no look of its own but reorders or hides the text around it
//   (direction marks, overrides and isolates, zero-width spaces and joiners, tag characters),
//   is left out: a right-to-left override cannot reverse the rest of the row.
class TestoInerte {
public:
    // What a screen or a page shows in place of a control character.
    static constexpr char16_t Segnaposto = u'\uFFFD';

    static QString Rendi(const QString& testo, QChar segnaposto = QChar(Segnaposto));
};

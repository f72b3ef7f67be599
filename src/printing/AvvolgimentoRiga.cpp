#include "AvvolgimentoRiga.h"

#include "platform/CaratteriVicini.h"
#include "platform/CodicePagina1252.h"
#include "platform/TestoInerte.h"

QString AvvolgimentoRiga::Protocollo(const QString& testo) {
    // A stranger's text must not drive the printer: its control characters print as "?", its
    // invisible format characters not at all, a tab as a space. What the printer's code page
    // lacks gets its nearest stand-in, and curly quotes (as phones write apostrophes) print
    // straight; each then takes the one column it is printed in.
    const QString sorgente =
        CaratteriVicini::Adatta(TestoInerte::Rendi(testo, QLatin1Char('?'))
                                    .replace(QLatin1Char('\t'), QLatin1Char(' ')),
                                [](char32_t c) {
                                    return CodicePagina1252::Contiene(c) &&
                                           (c < 0x2018 || c > 0x201F);
                                }) +
        QLatin1Char(' ');
    const QString chiudiEApri = QStringLiteral("\"@\"");
    QString uscita = QStringLiteral("\"");
    QString parola;
    int colonna = 0;
    for (QChar c : sorgente) {
        // A double quote closes a printer line: one inside a customer's text would end the line
        // there and send the rest (a "J" ends the document) to the printer as commands.
        if (c == QLatin1Char('"'))
            c = QLatin1Char('\'');
        // The protocol's own bytes are the only control bytes on the line.
        if ((c.unicode() < 0x20 && c != QChar(10) && c != QChar(13)) || c.unicode() == 0x7F)
            c = QLatin1Char('?');
        if (c == QChar(13))
            continue;
        if (c == QChar(10)) {
            if (parola.size() < Colonne - colonna)
                uscita += parola + chiudiEApri;
            else
                uscita += chiudiEApri + parola + chiudiEApri;
            colonna = 0;
            parola.clear();
        } else if (c == QChar(32)) {
            parola += c;
            if (parola.size() < Colonne - colonna) {
                uscita += parola;
                colonna += int(parola.size());
            } else {
                uscita += chiudiEApri + parola;
                colonna = int(parola.size());
            }
            parola.clear();
        } else {
            parola += c;
        }
    }
    // The appended space always flushes the last word, so nothing is left pending here.
    return uscita + QStringLiteral("\"@");
}

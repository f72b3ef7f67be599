#include "AvvolgimentoRiga.h"

#include "platform/CaratteriVicini.h"
#include "platform/CodicePagina1252.h"

QString AvvolgimentoRiga::Protocollo(const QString& testo) {
    // What the printer's code page lacks gets its nearest stand-in, and curly quotes (as phones
    // write apostrophes) print straight; each then takes the one column it is printed in.
    const QString sorgente = CaratteriVicini::Adatta(testo,
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

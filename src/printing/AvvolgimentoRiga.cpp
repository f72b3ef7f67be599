#include "AvvolgimentoRiga.h"

QString AvvolgimentoRiga::Protocollo(const QString& testo) {
    const QString sorgente = testo + QLatin1Char(' ');
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

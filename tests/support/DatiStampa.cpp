#include "DatiStampa.h"

#include "archive/Archivio.h"

namespace DatiStampa {

void Cliente(Archivio& a, const QString& numero, const QString& nome, const QString& nascita,
             const QString& indirizzo, const QString& informazioni, bool eliminato) {
    Recordset& rs = a.ApriTabella(QStringLiteral("Clienti"));
    rs.AddNew();
    rs.Imposta(QStringLiteral("T1Numero"), numero);
    rs.Imposta(QStringLiteral("T1Nome"), nome);
    // A null text stays unset, as in a record that never had it.
    if (!nascita.isNull())
        rs.Imposta(QStringLiteral("T1Nascita"), nascita);
    if (!indirizzo.isNull())
        rs.Imposta(QStringLiteral("T1Indirizzo"), indirizzo);
    if (!informazioni.isNull())
        rs.Imposta(QStringLiteral("T1Informazioni"), informazioni);
    rs.Imposta(QStringLiteral("T1Eliminato"), eliminato);
    rs.Update();
}

void SmsArchiviato(Archivio& a, const QString& numero, const QString& data, const QString& orario,
                   const QString& testo) {
    Recordset& rs = a.ApriTabella(QStringLiteral("SMS"));
    rs.AddNew();
    rs.Imposta(QStringLiteral("T4Numero"), numero);
    rs.Imposta(QStringLiteral("T4DataArrivo"), data);
    rs.Imposta(QStringLiteral("T4OrarioArrivo"), orario);
    rs.Imposta(QStringLiteral("T4TestoSmsRicevuto"), testo);
    rs.Update();
}

} // namespace DatiStampa

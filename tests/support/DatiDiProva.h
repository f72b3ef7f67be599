#pragma once

#include <QString>

class Archivio;

// Records written through the program's own recordset, as the windows write them.
namespace DatiDiProva {
void Cliente(Archivio& a, const QString& numero, const QString& nome, bool eliminato = false);
void SmsInAttesa(Archivio& a, const QString& numero, const QString& data, const QString& orario,
                 const QString& testo, bool gestito = false);
void Gestore(Archivio& a, const QString& nome, const QString& telCredito, bool operativo,
             int modalita = 0, const QString& credito = QString());
// Changes fields of the one settings record.
void Impostazioni(Archivio& a, bool modStampa, bool modAccGsm, bool mod80Colonne,
                  const QString& porta80);
// The operator in use "TIM" (credit number "*123#") and the modem's power-on switch, as the
// modem tests start from.
void Modem(Archivio& a, bool conDtr);
} // namespace DatiDiProva

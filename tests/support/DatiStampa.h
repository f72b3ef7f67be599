#pragma once

#include <QString>

class Archivio;

// Records for the printing tests, written through the program's own recordset.
namespace DatiStampa {
void Cliente(Archivio& a, const QString& numero, const QString& nome, const QString& nascita,
             const QString& indirizzo, const QString& informazioni, bool eliminato = false);
void SmsArchiviato(Archivio& a, const QString& numero, const QString& data, const QString& orario,
                   const QString& testo);
} // namespace DatiStampa

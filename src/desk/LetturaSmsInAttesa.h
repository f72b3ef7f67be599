#pragma once

#include "RigaListaSms.h"

#include <QVector>
#include <optional>

class Archivio;
class RubricaClienti;

// Reads the pending messages in the table's own order, each with its record's id and its
// sender's name from the customer register ("Nuovo Cliente" for a number no customer has).
class LetturaSmsInAttesa {
public:
    // Refills the lookup table from Clienti, then walks SmsTemporanei.
    static QVector<RigaListaSms> Leggi(Archivio& archivio, RubricaClienti& rubrica);
    // Record `id` as it stands now (a part may have joined it since it was listed), named by the
    // lookup table as it is; nothing when the record is gone.
    static std::optional<RigaListaSms> Riga(Archivio& archivio, const RubricaClienti& rubrica,
                                            qint64 id);
};

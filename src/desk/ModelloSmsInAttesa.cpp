#include "ModelloSmsInAttesa.h"

#include "LetturaSmsInAttesa.h"
#include "archive/Archivio.h"
#include "archive/Schema.h"

void ModelloSmsInAttesa::Ricostruisci(Archivio& archivio, RubricaClienti& rubrica) {
    // Read first: when the archive fails, the list keeps what it held.
    righe_ = LetturaSmsInAttesa::Leggi(archivio, rubrica);
}

int ModelloSmsInAttesa::Aggiungi(const RigaListaSms& riga) {
    righe_.append(riga);
    return int(righe_.size()) - 1;
}

int ModelloSmsInAttesa::Indice(qint64 id) const {
    for (int i = 0; i < righe_.size(); ++i) {
        if (righe_[i].id == id)
            return i;
    }
    return -1;
}

QVector<qint64> ModelloSmsInAttesa::IdDelNumero(const QString& numero) const {
    QVector<qint64> id;
    for (const RigaListaSms& r : righe_) {
        if (r.numero == numero)
            id.append(r.id);
    }
    return id;
}

qint64 ModelloSmsInAttesa::IdRegistrato(Archivio& archivio, const QString& numero,
                                        const QString& data, const QString& orarioPrimo) {
    Recordset& rs = archivio.ApriTabella(Tabella::SmsTemporanei);
    rs.FindFirst(Criterio::Uguale(Campo::T3Numero, numero));
    if (rs.NoMatch())
        return 0;
    qint64 trovato = 0;
    for (; !rs.isEOF(); rs.MoveNext()) {
        if (rs.Testo(Campo::T3Numero) == numero && rs.Testo(Campo::T3DataArrivo) == data &&
            rs.Testo(Campo::T3OrarioArrivo) == orarioPrimo)
            trovato = rs.Rowid();
    }
    return trovato;
}

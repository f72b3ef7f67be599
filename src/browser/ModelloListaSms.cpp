#include "ModelloListaSms.h"

#include "ConsultazioneSms.h"
#include "archive/RubricaClienti.h"
#include "platform/ErroreRuntime.h"

QStringList ModelloListaSms::Colonne() {
    return RigaListaSms::Colonne();
}

ModelloListaSms::ModelloListaSms(ConsultazioneSms& consultazione, const RubricaClienti& rubrica,
                                 QObject* parent)
    : QAbstractTableModel(parent)
    , consultazione_(consultazione)
    , rubrica_(rubrica) {}

void ModelloListaSms::Mostra(std::vector<qint64> ids, std::optional<QString> nome) {
    beginResetModel();
    ids_ = std::move(ids);
    nome_ = std::move(nome);
    for (Blocco& b : blocchi_)
        b = Blocco();
    endResetModel();
}

const ModelloListaSms::Blocco& ModelloListaSms::blocco(int numero) const {
    ++orologio_;
    Blocco* vecchio = &blocchi_[0];
    for (Blocco& b : blocchi_) {
        if (b.numero == numero) {
            b.uso = orologio_;
            return b;
        }
        if (b.uso < vecchio->uso)
            vecchio = &b;
    }
    Blocco& b = *vecchio;
    // A block is kept only once read whole: after a failure it is read again next time.
    b.numero = -1;
    b.uso = orologio_;
    b.righe.clear();
    const size_t inizio = size_t(numero) * RighePerBlocco;
    const size_t fine = std::min(ids_.size(), inizio + RighePerBlocco);
    b.righe.reserve(fine - inizio);
    for (size_t i = inizio; i < fine; ++i)
        b.righe.push_back(consultazione_.Leggi(ids_[i]));
    b.numero = numero;
    return b;
}

RigaListaSms ModelloListaSms::Riga(int r) const {
    if (r < 0 || size_t(r) >= ids_.size())
        return {};
    RigaListaSms riga = blocco(r / RighePerBlocco).righe[size_t(r % RighePerBlocco)];
    riga.nome = nome_ ? *nome_ : rubrica_.NomeDi(riga.numero);
    return riga;
}

int ModelloListaSms::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(ids_.size());
}

int ModelloListaSms::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(Colonne().size());
}

QVariant ModelloListaSms::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid() || ruolo != Qt::DisplayRole)
        return {};
    RigaListaSms r;
    try {
        r = Riga(indice.row());
    } catch (const ErroreRuntime&) {
        // Drawing cannot report a failure (the archive locked by another program, say): the
        // row shows empty until it is drawn again; a click or an export reports it.
        return {};
    }
    return r.Cella(indice.column());
}

QVariant ModelloListaSms::headerData(int sezione, Qt::Orientation orientamento, int ruolo) const {
    if (orientamento != Qt::Horizontal || ruolo != Qt::DisplayRole)
        return {};
    return Colonne().value(sezione);
}

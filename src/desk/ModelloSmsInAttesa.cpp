#include "ModelloSmsInAttesa.h"

#include "LetturaSmsInAttesa.h"
#include "archive/RubricaClienti.h"

#include <QColor>

ModelloSmsInAttesa::ModelloSmsInAttesa(QObject* parent)
    : QAbstractTableModel(parent) {}

void ModelloSmsInAttesa::Ricostruisci(Archivio& archivio, RubricaClienti& rubrica) {
    // Read first: when the archive fails, the list keeps what it held.
    QVector<RigaListaSms> lette = LetturaSmsInAttesa::Leggi(archivio, rubrica);
    beginResetModel();
    righe_ = std::move(lette);
    endResetModel();
}

void ModelloSmsInAttesa::Registrato(const RigaListaSms& riga) {
    const int i = Indice(riga.id);
    if (i >= 0) {
        righe_[i].testo = riga.testo;
        cambiata(i);
        return;
    }
    const int n = int(righe_.size());
    beginInsertRows(QModelIndex(), n, n);
    righe_.append(riga);
    endInsertRows();
}

void ModelloSmsInAttesa::AggiornaClienti(Archivio& archivio, RubricaClienti& rubrica) {
    rubrica.Riempi(archivio);
    for (int i = 0; i < righe_.size(); ++i) {
        RigaListaSms& r = righe_[i];
        bool noto = false;
        QString nome = rubrica.NomeDi(r.numero, &noto);
        if (!noto)
            nome = RubricaClienti::NuovoCliente();
        if (nome == r.nome && noto == r.clienteNoto)
            continue;
        r.nome = nome;
        r.clienteNoto = noto;
        cambiata(i);
    }
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

void ModelloSmsInAttesa::Rimuovi(qint64 id) {
    const int i = Indice(id);
    if (i < 0)
        return;
    beginRemoveRows(QModelIndex(), i, i);
    righe_.removeAt(i);
    endRemoveRows();
}

void ModelloSmsInAttesa::SegnaGestita(qint64 id) {
    const int i = Indice(id);
    if (i < 0)
        return;
    righe_[i].gestito = true;
    cambiata(i);
}

void ModelloSmsInAttesa::cambiata(int indice) {
    emit dataChanged(index(indice, 0), index(indice, columnCount() - 1));
}

int ModelloSmsInAttesa::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(righe_.size());
}

int ModelloSmsInAttesa::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(RigaListaSms::Colonne().size());
}

QVariant ModelloSmsInAttesa::data(const QModelIndex& indice, int ruolo) const {
    if (!indice.isValid() || indice.row() >= righe_.size())
        return {};
    const RigaListaSms& r = righe_.at(indice.row());
    if (ruolo == Qt::ForegroundRole) {
        if (!r.gestito)
            return {};
        return indice.column() == 0 ? QColor(0, 0, 255) : QColor(255, 0, 0);
    }
    if (ruolo != Qt::DisplayRole && ruolo != Qt::AccessibleTextRole)
        return {};
    return r.Cella(indice.column());
}

QVariant ModelloSmsInAttesa::headerData(int sezione, Qt::Orientation orientamento,
                                        int ruolo) const {
    if (orientamento == Qt::Horizontal && ruolo == Qt::DisplayRole)
        return RigaListaSms::Colonne().value(sezione);
    return {};
}

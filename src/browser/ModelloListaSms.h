#pragma once

#include "desk/RigaListaSms.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

class ConsultazioneSms;
class RubricaClienti;

// The browser's message list: "Telefono", "Cliente", "Data", "Orario", "Testo del SMS
// Ricevuto". It holds the ids of the rows it shows and reads their texts from the archive when
// they are asked for, a block of neighbours at a time, keeping only a few blocks.
class ModelloListaSms : public QAbstractTableModel {
    Q_OBJECT
public:
    static QStringList Colonne();

    ModelloListaSms(ConsultazioneSms& consultazione, const RubricaClienti& rubrica,
                    QObject* parent = nullptr);

    // The rows to show. With `nome` every row's "Cliente" is that name (one sender shown);
    // without, each row's is the name the lookup table gives its number, empty for none.
    void Mostra(std::vector<qint64> ids, std::optional<QString> nome = std::nullopt);
    void Svuota() { Mostra({}); }

    // Row r's text (the number) and its four sub-items. A failure of the archive is thrown
    // (ErroreRuntime); the view's drawing shows the row empty instead.
    RigaListaSms Riga(int r) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& indice, int ruolo = Qt::DisplayRole) const override;
    QVariant headerData(int sezione, Qt::Orientation orientamento,
                        int ruolo = Qt::DisplayRole) const override;

    static constexpr int RighePerBlocco = 128;

private:
    struct Blocco {
        int numero = -1;
        quint64 uso = 0;
        std::vector<RigaListaSms> righe;
    };
    const Blocco& blocco(int numero) const;

    ConsultazioneSms& consultazione_;
    const RubricaClienti& rubrica_;
    std::vector<qint64> ids_;
    std::optional<QString> nome_;
    // The blocks last read; the one used longest ago makes room for the next.
    mutable std::array<Blocco, 4> blocchi_;
    mutable quint64 orologio_ = 0;
};

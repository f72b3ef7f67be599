#include "ConsultazioneSms.h"

#include "archive/ChiaveData.h"
#include "archive/Archivio.h"
#include "archive/ErroriArchivio.h"
#include "archive/Schema.h"

#include <QSet>
#include <algorithm>
#include <sqlite3.h>

namespace {

QString TestoColonna(sqlite3_stmt* s, int colonna) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, colonna)),
                             sqlite3_column_bytes(s, colonna));
}

} // namespace

ConsultazioneSms::ConsultazioneSms(Archivio& archivio)
    : db_(archivio.db_) {
    if (!db_)
        throw ErroriArchivio::NessunArchivio();
    // Without the index every filter walks the whole table: slower, never wrong. A file that
    // cannot take it now (read-only, locked by another program) is read without it.
    try {
        Esegui(db_, QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3, %4)")
                        .arg(Cita(NomeIndice()), Cita(Tabella::SMS), Cita(Campo::T4Numero),
                             Cita(Campo::T4DataArrivo))
                        .toUtf8());
    } catch (const ErroreRuntime&) {
    }
    lettura_ = Istruzione(db_, QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 WHERE rowid = ?1")
                                   .arg(Cita(Campo::T4Numero), Cita(Campo::T4DataArrivo),
                                        Cita(Campo::T4OrarioArrivo),
                                        Cita(Campo::T4TestoSmsRicevuto), Cita(Tabella::SMS)));
}

QStringList ConsultazioneSms::Mittenti() {
    // The index holds the numbers in order: one pass over it, then the first-seen order.
    Istruzione q(db_, QStringLiteral("SELECT %1, MIN(rowid) FROM %2 GROUP BY %1")
                          .arg(Cita(Campo::T4Numero), Cita(Tabella::SMS)));
    std::vector<std::pair<qint64, QString>> primi;
    while (q.passo())
        primi.emplace_back(q.intero(1), TestoColonna(q.get(), 0));
    std::sort(primi.begin(), primi.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList numeri;
    numeri.reserve(qsizetype(primi.size()));
    // A missing number and an empty one are the same empty row.
    QSet<QString> visti;
    for (auto& [id, numero] : primi) {
        if (!visti.contains(numero)) {
            visti.insert(numero);
            numeri.append(std::move(numero));
        }
    }
    return numeri;
}

std::vector<qint64> ConsultazioneSms::Messaggi(const QString& numero, int daChiave, int aChiave) {
    const bool tutti = numero == Tutti();
    const bool conDate = daChiave != 0 || aChiave != 0;
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2")
                      .arg(Cita(Campo::T4DataArrivo), Cita(Tabella::SMS));
    if (!tutti)
        sql += QStringLiteral(" WHERE %1 = ?1").arg(Cita(Campo::T4Numero));
    Istruzione q(db_, sql);
    if (!tutti)
        q.lega(1, QVariant(numero));

    std::vector<qint64> ids;
    sqlite3_stmt* s = q.get();
    while (q.passo()) {
        if (conDate) {
            const int chiave =
                ChiaveData::DiData(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)),
                                   sqlite3_column_bytes(s, 1));
            if (chiave < daChiave || chiave > aChiave)
                continue;
        }
        ids.push_back(sqlite3_column_int64(s, 0));
    }
    // Read through the index, the ids come by number and date: the list shows the table's order.
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(ids.begin(), ids.end());
    return ids;
}

RigaListaSms ConsultazioneSms::Leggi(qint64 id) {
    RigaListaSms riga;
    lettura_.lega(1, id);
    if (lettura_.passo()) {
        sqlite3_stmt* s = lettura_.get();
        riga.numero = TestoColonna(s, 0);
        riga.data = TestoColonna(s, 1);
        riga.orario = TestoColonna(s, 2);
        riga.testo = TestoColonna(s, 3);
    }
    // No lock is held between two reads.
    lettura_.azzera();
    return riga;
}

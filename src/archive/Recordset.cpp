#include "Recordset.h"

#include "ErroriArchivio.h"
#include "SqlInterno.h"

#include <limits>
#include <optional>
#include <sqlite3.h>
#include <vector>

namespace {

// Rows are read ahead in batches so that a walk costs one query per batch, not per record. The
// first batch is small (opening a table and reading its first record must stay cheap); later
// ones grow up to a bound that keeps memory flat whatever the table size.
constexpr int PrimoLotto = 32;
constexpr int LottoMassimo = 1024;

enum class Modo { Nessuno, Aggiunta, Modifica };

// Values reach the file in the types the schema expects: booleans as 0/1, an empty text as ''.
QVariant PerIlFile(const QVariant& valore) {
    if (valore.typeId() == QMetaType::Bool)
        return QVariant(qint64(valore.toBool() ? 1 : 0));
    if (valore.typeId() == QMetaType::QString && valore.toString().isNull())
        return QVariant(QStringLiteral(""));
    return valore;
}

// One field of a read-ahead record, kept as the engine gave it: a walk converts only the fields
// that are actually read.
struct Cella {
    int tipo = SQLITE_NULL;
    int lunghezza = 0;
    qint64 valore = 0; // the integer, or where the text or blob starts in Lotto::byte
    double reale = 0;
};

// A batch of consecutive records; all texts share one buffer, so a batch costs a handful of
// allocations whatever its size.
struct Lotto {
    std::vector<qint64> rowid;
    std::vector<Cella> celle; // campi per record, record after record
    QByteArray byte;

    size_t righe() const { return rowid.size(); }
    void svuota() {
        rowid.clear();
        celle.clear();
        byte.clear();
    }
};

} // namespace

struct Recordset::Impl {
    sqlite3* db = nullptr;
    QString tabella;     // quoted
    QString elencoCampi; // "rowid", then every field quoted, in table order
    QStringList campiCitati;
    int campi = 0;
    int contatore = -1; // the field that aliases the rowid, if any
    Istruzione lettura; // a batch of records from a given rowid on

    Lotto lotto;
    size_t indice = 0; // the current (or just deleted) record within the batch
    int dimLotto = PrimoLotto;
    bool haCorrente = false;
    bool eof = true;
    // The rowid of the current record, or of the one just deleted: the walk goes on after it.
    // Before the first read there is none.
    std::optional<qint64> posizione;

    Modo modo = Modo::Nessuno;
    std::vector<QVariant> bozza;
    std::vector<bool> impostato;

    const Cella& cella(int campo) const {
        return lotto.celle[indice * size_t(campi) + size_t(campo)];
    }

    QVariant valore(int campo) const {
        const Cella& c = cella(campo);
        switch (c.tipo) {
        case SQLITE_INTEGER:
            return QVariant(c.valore);
        case SQLITE_FLOAT:
            return QVariant(c.reale);
        case SQLITE_TEXT:
            return QVariant(QString::fromUtf8(lotto.byte.constData() + c.valore, c.lunghezza));
        case SQLITE_BLOB:
            return QVariant(QByteArray(lotto.byte.constData() + c.valore, c.lunghezza));
        default:
            return QVariant();
        }
    }

    // Replaces the batch with the records whose rowid is at least `da`.
    void carica(qint64 da) {
        lotto.svuota();
        indice = 0;
        lettura.lega(1, da);
        lettura.lega(2, qint64(dimLotto));
        sqlite3_stmt* s = lettura.get();
        while (lettura.passo()) {
            lotto.rowid.push_back(sqlite3_column_int64(s, 0));
            for (int i = 1; i <= campi; ++i) {
                Cella c;
                c.tipo = sqlite3_column_type(s, i);
                if (c.tipo == SQLITE_INTEGER) {
                    c.valore = sqlite3_column_int64(s, i);
                } else if (c.tipo == SQLITE_FLOAT) {
                    c.reale = sqlite3_column_double(s, i);
                } else if (c.tipo == SQLITE_TEXT || c.tipo == SQLITE_BLOB) {
                    const char* p = c.tipo == SQLITE_TEXT
                                        ? reinterpret_cast<const char*>(sqlite3_column_text(s, i))
                                        : static_cast<const char*>(sqlite3_column_blob(s, i));
                    c.lunghezza = sqlite3_column_bytes(s, i);
                    c.valore = lotto.byte.size();
                    lotto.byte.append(p, c.lunghezza);
                }
                lotto.celle.push_back(c);
            }
        }
        dimLotto = std::min(dimLotto * 2, LottoMassimo);
    }

    void mostra(size_t i) {
        indice = i;
        haCorrente = true;
        eof = false;
        posizione = lotto.rowid[i];
    }

    void avanza() {
        if (posizione && indice + 1 < lotto.righe()) {
            mostra(indice + 1);
            return;
        }
        if (posizione && *posizione == std::numeric_limits<qint64>::max())
            lotto.svuota();
        else
            carica(posizione ? *posizione + 1 : std::numeric_limits<qint64>::min());
        if (lotto.righe() == 0) {
            haCorrente = false;
            eof = true;
            return;
        }
        mostra(0);
    }

    // Makes the record with this rowid current, reading from it on.
    bool posizionaSu(qint64 rowid) {
        dimLotto = PrimoLotto;
        carica(rowid);
        if (lotto.righe() == 0 || lotto.rowid[0] != rowid) {
            haCorrente = false;
            return false;
        }
        mostra(0);
        return true;
    }

    void annullaModifica() {
        modo = Modo::Nessuno;
        bozza.clear();
        impostato.clear();
    }
};

Recordset::Recordset(sqlite3* db, QString nomeTabella, QStringList campi)
    : d(std::make_unique<Impl>())
    , tabella_(std::move(nomeTabella))
    , campi_(std::move(campi)) {
    d->db = db;
    d->tabella = Cita(tabella_);

    // A single INTEGER PRIMARY KEY is the rowid itself: the counter the database assigns.
    Istruzione info(db, QStringLiteral("PRAGMA table_info(%1)").arg(d->tabella));
    int chiavi = 0;
    int candidato = -1;
    while (info.passo()) {
        if (info.intero(5) > 0) {
            ++chiavi;
            if (info.colonna(2).toString().compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) ==
                0)
                candidato = campi_.indexOf(info.colonna(1).toString());
        }
    }
    if (chiavi == 1)
        d->contatore = candidato;

    d->elencoCampi = QStringLiteral("rowid");
    for (const QString& c : campi_) {
        d->campiCitati << Cita(c);
        d->elencoCampi += QLatin1String(", ") + d->campiCitati.back();
    }
    d->campi = int(campi_.size());
    d->lettura = Istruzione(db, QStringLiteral("SELECT %1 FROM %2 WHERE rowid >= ?1 ORDER BY "
                                               "rowid LIMIT ?2")
                                    .arg(d->elencoCampi, d->tabella));
    MoveFirst();
}

Recordset::~Recordset() = default;

int Recordset::indiceCampo(const QString& nome) const {
    for (int i = 0; i < campi_.size(); ++i) {
        if (campi_[i].compare(nome, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw ErroriArchivio::ElementoNonTrovato();
}

void Recordset::MoveFirst() {
    d->annullaModifica();
    d->lotto.svuota();
    d->dimLotto = PrimoLotto;
    d->posizione.reset();
    d->avanza();
}

void Recordset::Riapri() {
    noMatch_ = false;
    MoveFirst();
}

qint64 Recordset::Rowid() const {
    if (!d->haCorrente)
        throw ErroriArchivio::NessunRecordCorrente();
    return *d->posizione;
}

bool Recordset::Posiziona(qint64 rowid) {
    d->annullaModifica();
    return d->posizionaSu(rowid);
}

void Recordset::MoveNext() {
    if (d->eof)
        throw ErroriArchivio::NessunRecordCorrente();
    d->annullaModifica();
    d->avanza();
}

bool Recordset::isEOF() const {
    return d->eof;
}

QVariant Recordset::Campo(const QString& nome) const {
    const int i = indiceCampo(nome);
    if (d->modo != Modo::Nessuno)
        return d->bozza[size_t(i)];
    if (!d->haCorrente)
        throw ErroriArchivio::NessunRecordCorrente();
    return d->valore(i);
}

QString Recordset::Testo(const QString& nome) const {
    const int i = indiceCampo(nome);
    // The common case, a stored text read during a walk, goes straight from the batch.
    if (d->modo == Modo::Nessuno && d->haCorrente && d->cella(i).tipo == SQLITE_TEXT) {
        const Cella& c = d->cella(i);
        return QString::fromUtf8(d->lotto.byte.constData() + c.valore, c.lunghezza);
    }
    const QVariant v = Campo(nome);
    return v.isValid() ? v.toString() : QString();
}

bool Recordset::Booleano(const QString& nome) const {
    const QVariant v = Campo(nome);
    switch (v.typeId()) {
    case QMetaType::UnknownType:
        return false;
    case QMetaType::QString: {
        const QString t = v.toString().trimmed();
        bool numero = false;
        const double n = t.toDouble(&numero);
        if (numero)
            return n != 0;
        return t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
               t.compare(QLatin1String("vero"), Qt::CaseInsensitive) == 0;
    }
    case QMetaType::Double:
        return v.toDouble() != 0;
    default:
        return v.toLongLong() != 0;
    }
}

qint64 Recordset::Intero(const QString& nome) const {
    const QVariant v = Campo(nome);
    if (v.typeId() == QMetaType::Double)
        return qRound64(v.toDouble());
    return v.toLongLong();
}

void Recordset::FindFirst(const Criterio& criterio) {
    // The field is looked up among the table's own fields, so only a known, quoted name ever
    // reaches the statement; the value is always a parameter.
    const QString campo = d->campiCitati[indiceCampo(criterio.campo())];
    QString condizione;
    QVariant valore = criterio.valore();
    if (criterio.tipo() == Criterio::Tipo::IniziaCon) {
        // A plain prefix comparison: unlike LIKE, '%', '_' and '*' in the number stay literal.
        condizione = QStringLiteral("substr(%1, 1, length(?1)) = ?1").arg(campo);
        valore = PerIlFile(valore.toString());
    } else {
        condizione = QStringLiteral("%1 = ?1").arg(campo);
        valore = PerIlFile(valore);
    }
    Istruzione q(d->db, QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY rowid LIMIT 1")
                            .arg(d->tabella, condizione));
    q.lega(1, valore);
    if (!q.passo()) {
        noMatch_ = true;
        return;
    }
    const qint64 trovato = q.intero(0);
    q.azzera();
    d->annullaModifica();
    noMatch_ = !d->posizionaSu(trovato);
}

void Recordset::AddNew() {
    d->modo = Modo::Aggiunta;
    d->bozza.assign(size_t(campi_.size()), QVariant());
    d->impostato.assign(size_t(campi_.size()), false);
}

void Recordset::Edit() {
    if (!d->haCorrente)
        throw ErroriArchivio::NessunRecordCorrente();
    d->modo = Modo::Modifica;
    d->bozza.clear();
    for (int i = 0; i < d->campi; ++i)
        d->bozza.push_back(d->valore(i));
    d->impostato.assign(size_t(campi_.size()), false);
}

void Recordset::Imposta(const QString& campo, const QVariant& valore) {
    const int i = indiceCampo(campo);
    if (d->modo == Modo::Nessuno)
        throw ErroriArchivio::UpdateSenzaAddNew();
    // The database numbers the records; a program that tried to would be a bug to surface.
    if (i == d->contatore)
        throw ErroriArchivio::ContatoreNonScrivibile(campi_[i]);
    d->bozza[size_t(i)] = PerIlFile(valore);
    d->impostato[size_t(i)] = true;
}

void Recordset::Update() {
    if (d->modo == Modo::Nessuno)
        throw ErroriArchivio::UpdateSenzaAddNew();

    std::vector<int> scritti;
    for (int i = 0; i < campi_.size(); ++i) {
        if (d->impostato[size_t(i)])
            scritti.push_back(i);
    }

    if (d->modo == Modo::Aggiunta) {
        QString sql;
        if (scritti.empty()) {
            sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d->tabella);
        } else {
            QStringList nomi, segnaposti;
            for (size_t k = 0; k < scritti.size(); ++k) {
                nomi << d->campiCitati[scritti[k]];
                segnaposti << QStringLiteral("?%1").arg(k + 1);
            }
            sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(d->tabella, nomi.join(QLatin1String(", ")),
                           segnaposti.join(QLatin1String(", ")));
        }
        Istruzione q(d->db, sql);
        for (size_t k = 0; k < scritti.size(); ++k)
            q.lega(int(k + 1), d->bozza[size_t(scritti[k])]);
        q.passo();
        ultimoAggiunto_ = sqlite3_last_insert_rowid(d->db);
        // As in the classic dynaset, the record that was current before AddNew stays current;
        // the new one is met again by walking, since it follows every record already there.
        d->annullaModifica();
        return;
    }

    if (!d->haCorrente)
        throw ErroriArchivio::NessunRecordCorrente();
    if (!scritti.empty()) {
        QStringList assegnazioni;
        for (size_t k = 0; k < scritti.size(); ++k)
            assegnazioni << QStringLiteral("%1 = ?%2").arg(d->campiCitati[scritti[k]]).arg(k + 1);
        Istruzione q(d->db, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?%3")
                                .arg(d->tabella, assegnazioni.join(QLatin1String(", ")))
                                .arg(scritti.size() + 1));
        for (size_t k = 0; k < scritti.size(); ++k)
            q.lega(int(k + 1), d->bozza[size_t(scritti[k])]);
        q.lega(int(scritti.size() + 1), *d->posizione);
        q.passo();
        // Read back what the file now holds, as the next reader of this record will see it.
        d->posizionaSu(*d->posizione);
    }
    d->annullaModifica();
}

void Recordset::CancelUpdate() {
    if (d->modo == Modo::Nessuno)
        throw ErroriArchivio::UpdateSenzaAddNew();
    d->annullaModifica();
}

void Recordset::Delete() {
    if (!d->haCorrente)
        throw ErroriArchivio::NessunRecordCorrente();
    d->annullaModifica();
    Istruzione q(d->db, QStringLiteral("DELETE FROM %1 WHERE rowid = ?1").arg(d->tabella));
    q.lega(1, *d->posizione);
    q.passo();
    // No current record until the next move; MoveNext continues after the deleted one.
    d->haCorrente = false;
}

qint64 Recordset::RecordCount() const {
    Istruzione q(d->db, QStringLiteral("SELECT count(*) FROM %1").arg(d->tabella));
    q.passo();
    const qint64 n = q.intero(0);
    q.azzera();
    return n;
}

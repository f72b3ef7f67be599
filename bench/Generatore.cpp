#include "Generatore.h"

#include "archive/Archivio.h"
#include "archive/ChiaveArchivio.h"
#include "archive/CreatoreArchivio.h"
#include "platform/ErroreRuntime.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <array>
#include <cstdio>
#include <random>
#include <sqlite3.h>
#include <unordered_set>
#include <vector>

namespace {

const std::array nomi = {"Marco",   "Giulia", "Luca",   "Francesca", "Alessandro", "Chiara",
                         "Andrea",  "Sara",   "Matteo", "Elena",     "Giuseppe",   "Anna",
                         "Davide",  "Marta",  "Paolo",  "Valentina", "Stefano",    "Federica",
                         "Antonio", "Silvia", "Nicolò", "Lucia",     "Simone",     "Martina"};
const std::array cognomi = {"Rossi",    "Russo",   "Ferrari",  "Esposito", "Bianchi", "Romano",
                            "Colombo",  "Ricci",   "Marino",   "Greco",    "Bruno",   "Gallo",
                            "Conti",    "De Luca", "Costa",    "Giordano", "Mancini", "Rizzo",
                            "Lombardi", "Moretti", "Barbieri", "Fontana",  "Santoro", "Mariani",
                            "D'Angelo", "Caruso",  "Ferrara",  "Galli",    "Martini", "Leone"};
const std::array vie = {"Via Roma",          "Via Garibaldi",   "Corso Vittorio Emanuele",
                        "Via Mazzini",       "Piazza Duomo",    "Via Cavour",
                        "Via Dante",         "Viale dei Mille", "Via XX Settembre",
                        "Via San Francesco", "Via Verdi",       "Largo Augusto"};
const std::array citta = {"Milano", "Torino", "Bologna", "Firenze", "Napoli", "Bari",
                          "Verona", "Padova", "Brescia", "Bergamo", "Parma",  "Modena"};
const std::array prefissi = {"320", "328", "329", "333", "334", "335", "338", "339",
                             "340", "347", "348", "349", "366", "380", "388", "392"};
const std::array ordini = {
    "Buongiorno, vorrei ordinare %1 pizze margherita per le %2",
    "Ciao, mi preparate %1 kg di pane per le %2? Grazie",
    "Salve, %1 porzioni di lasagne da ritirare alle %2",
    "Confermo l'ordine di ieri, passo alle %2 (%1 pezzi)",
    "Vorrei prenotare una torta per %1 persone, ritiro alle %2",
    "%1 focacce e 2 bibite per le %2, pago alla consegna",
    "Potete consegnare %1 confezioni in Via Roma 12 verso le %2?",
    "Annullate l'ordine delle %2 per favore, ne prendo %1 domani",
};

class Casuale {
public:
    explicit Casuale(quint32 seme)
        : g_(seme) {}
    int tra(int min, int max) { return std::uniform_int_distribution<int>(min, max)(g_); }
    template <typename A> const char* uno(const A& elenco) {
        return elenco[size_t(tra(0, int(elenco.size()) - 1))];
    }

private:
    std::mt19937 g_;
};

class Inserimento {
public:
    Inserimento(sqlite3* db, const char* sql)
        : db_(db) {
        if (sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) != SQLITE_OK)
            fallito();
    }
    ~Inserimento() { sqlite3_finalize(s_); }
    Inserimento& testo(int i, const QByteArray& t) {
        sqlite3_bind_text(s_, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Inserimento& intero(int i, qint64 v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    void esegui() {
        if (sqlite3_step(s_) != SQLITE_DONE)
            fallito();
        sqlite3_reset(s_);
    }

private:
    [[noreturn]] void fallito() {
        throw ErroreRuntime(3000, QString::fromUtf8(sqlite3_errmsg(db_)));
    }
    sqlite3* db_;
    sqlite3_stmt* s_ = nullptr;
};

QByteArray DueCifre(int n) {
    return QByteArray::number(n).rightJustified(2, '0');
}

QByteArray Data(Casuale& r, int annoMin, int annoMax, bool annoBreve) {
    const int anno = r.tra(annoMin, annoMax);
    return DueCifre(r.tra(1, 28)) + '/' + DueCifre(r.tra(1, 12)) + '/' +
           (annoBreve ? DueCifre(anno % 100) : QByteArray::number(anno));
}

QByteArray Orario(Casuale& r) {
    return DueCifre(r.tra(7, 22)) + ':' + DueCifre(r.tra(0, 59)) + ':' + DueCifre(r.tra(0, 59));
}

QByteArray TestoOrdine(Casuale& r) {
    return QString::fromUtf8(r.uno(ordini))
        .arg(r.tra(1, 12))
        .arg(QString::fromLatin1(DueCifre(r.tra(11, 21)) + ':' + (r.tra(0, 1) ? "00" : "30")))
        .toUtf8();
}

void Esegui(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw ErroreRuntime(3000, QString::fromUtf8(sqlite3_errmsg(db)));
}

} // namespace

void GeneraArchivio(const QString& cartella, const DatiDaGenerare& dati) {
    QDir().mkpath(cartella);
    const QString percorso = QDir(cartella).filePath(Archivio::NomeFile());
    CreatoreArchivio::Crea(percorso, Archivio::Password());

    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(percorso).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    ChiaveArchivio::Applica(db);
    Casuale r(dati.seme);
    try {
        // A throw-away fill: no need to survive a power cut half-way.
        Esegui(db, "PRAGMA synchronous = OFF");
        Esegui(db, "PRAGMA cache_size = -65536");
        Esegui(db, "BEGIN");

        std::vector<QByteArray> numeri;
        std::unordered_set<std::string> usati;
        while (int(numeri.size()) < dati.clienti) {
            QByteArray n = QByteArray(r.uno(prefissi)) +
                           QByteArray::number(r.tra(0, 9999999)).rightJustified(7, '0');
            if (usati.insert(n.toStdString()).second)
                numeri.push_back(n);
        }
        {
            Inserimento q(db, "INSERT INTO Clienti (T1Numero, T1Nome, T1Nascita, T1Indirizzo, "
                              "T1Informazioni, T1Eliminato) VALUES (?1, ?2, ?3, ?4, ?5, ?6)");
            for (const QByteArray& numero : numeri) {
                const QByteArray nome = QByteArray(r.uno(cognomi)) + ' ' + r.uno(nomi);
                const QByteArray indirizzo = QByteArray(r.uno(vie)) + ' ' +
                                             QByteArray::number(r.tra(1, 180)) + ", " +
                                             r.uno(citta);
                q.testo(1, numero)
                    .testo(2, nome)
                    .testo(3, r.tra(0, 3) ? Data(r, 1940, 2005, false) : QByteArray(""))
                    .testo(4, indirizzo)
                    .testo(5, r.tra(0, 4) ? QByteArray("") : QByteArray("Cliente abituale"))
                    .intero(6, r.tra(0, 19) == 0 ? 1 : 0)
                    .esegui();
            }
        }
        {
            Inserimento q(db, "INSERT INTO SmsTemporanei (T3Numero, T3DataArrivo, T3OrarioArrivo, "
                              "T3OrarioArrivo2, T3OrarioArrivo3, T3TestoSmsRicevuto, T3Gestito) "
                              "VALUES (?1, ?2, ?3, ?4, '', ?5, ?6)");
            for (int i = 0; i < dati.inAttesa; ++i) {
                // Two messages out of three come from customers, the others from new numbers.
                const QByteArray numero =
                    (!numeri.empty() && r.tra(0, 2) != 0)
                        ? numeri[size_t(r.tra(0, int(numeri.size()) - 1))]
                        : QByteArray(r.uno(prefissi)) +
                              QByteArray::number(r.tra(0, 9999999)).rightJustified(7, '0');
                q.testo(1, numero)
                    .testo(2, Data(r, 2024, 2024, true))
                    .testo(3, Orario(r))
                    .testo(4, r.tra(0, 9) == 0 ? Orario(r) : QByteArray(""))
                    .testo(5, TestoOrdine(r))
                    .intero(6, r.tra(0, 9) == 0 ? 1 : 0)
                    .esegui();
            }
        }
        {
            Inserimento q(db, "INSERT INTO SMS (T4Numero, T4DataArrivo, T4OrarioArrivo, "
                              "T4TestoSmsRicevuto) VALUES (?1, ?2, ?3, ?4)");
            for (qint64 i = 0; i < dati.archiviati; ++i) {
                const QByteArray numero = numeri.empty()
                                              ? QByteArray("3330000000")
                                              : numeri[size_t(r.tra(0, int(numeri.size()) - 1))];
                q.testo(1, numero)
                    .testo(2, Data(r, 2015, 2024, true))
                    .testo(3, Orario(r))
                    .testo(4, TestoOrdine(r))
                    .esegui();
            }
        }
        Esegui(db, "COMMIT");
        sqlite3_close(db);
    } catch (...) {
        sqlite3_close_v2(db);
        QFile::remove(percorso);
        QFile::remove(percorso + QStringLiteral("-journal"));
        throw;
    }
}

void GeneraSeManca(const QString& cartella, const DatiDaGenerare& dati) {
    if (QFileInfo::exists(QDir(cartella).filePath(Archivio::NomeFile())))
        return;
    QElapsedTimer t;
    t.start();
    GeneraArchivio(cartella, dati);
    std::printf("archivio generato in %.1f s\n", double(t.elapsed()) / 1000.0);
}

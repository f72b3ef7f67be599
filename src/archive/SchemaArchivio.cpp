#include "SchemaArchivio.h"

#include "Schema.h"

namespace {

using Colonne = QList<PassoSchema::Colonna>;

PassoSchema NuovaTabella(const QString& tabella, Colonne colonne, QString righe = {}) {
    return {PassoSchema::Tipo::CreaTabella, tabella, std::move(colonne), {}, {}, std::move(righe)};
}

PassoSchema NuovoIndice(const QString& tabella, const QString& nome, const QString& colonne,
                        bool unico) {
    PassoSchema p{PassoSchema::Tipo::AggiungiIndice, tabella, {}, nome, colonne, {}};
    p.unico = unico;
    return p;
}

PassoSchema Ricostruzione(const QString& tabella, Colonne colonne) {
    return {PassoSchema::Tipo::RicostruisciTabella, tabella, std::move(colonne), {}, {}, {}};
}

QString Definizioni(const Colonne& colonne) {
    QStringList parti;
    for (const PassoSchema::Colonna& c : colonne)
        parti << c.nome + QLatin1Char(' ') + c.definizione;
    return parti.join(QStringLiteral(", "));
}

QStringList Nomi(const Colonne& colonne) {
    QStringList nomi;
    for (const PassoSchema::Colonna& c : colonne)
        nomi << c.nome;
    return nomi;
}

const QString Testo = QStringLiteral("TEXT");
const QString Intero = QStringLiteral("INTEGER");
const QString InteroZero = QStringLiteral("INTEGER DEFAULT 0");
const QString Contatore = QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");

QList<PassoSchema> Elenco() {
    using namespace Campo;
    const Colonne smsTemporanei{{T3Numero, Testo},        {T3DataArrivo, Testo},
                                {T3OrarioArrivo, Testo},  {T3OrarioArrivo2, Testo},
                                {T3OrarioArrivo3, Testo}, {T3TestoSmsRicevuto, Testo},
                                {T3Gestito, InteroZero}};
    return {
        // The first release.
        NuovaTabella(Tabella::Clienti, {{T1IdCliente, Contatore},
                                        {T1Numero, Testo},
                                        {T1Nome, Testo},
                                        {T1Nascita, Testo},
                                        {T1Indirizzo, Testo},
                                        {T1Informazioni, Testo},
                                        {T1Eliminato, InteroZero}}),
        NuovoIndice(Tabella::Clienti, QStringLiteral("Clienti_T1Numero"), T1Numero, true),
        NuovaTabella(Tabella::SmsTemporanei, smsTemporanei),
        NuovaTabella(Tabella::SMS, {{T4IdSMS, Contatore},
                                    {T4Numero, Testo},
                                    {T4DataArrivo, Testo},
                                    {T4OrarioArrivo, Testo},
                                    {T4TestoSmsRicevuto, Testo}}),
        // Exactly one record; the printer port defaults to COM2, as COM1 is where the modem
        // usually sits.
        NuovaTabella(Tabella::Impostazioni,
                     {{NomeAttivita, Testo},
                      {NomeProprietario, Testo},
                      {TelefonoGsm, Testo},
                      {TelefonoAttivita, Testo},
                      {IndirizzoAttivita, Testo},
                      {InformazioniAttivita, Testo},
                      {ModAccGsm, InteroZero},
                      {ModStampa, InteroZero},
                      {Mod80Colonne, InteroZero},
                      {ModCom80Colonne, Testo},
                      {CreditoSim, Testo}},
                     QStringLiteral("INSERT INTO Impostazioni VALUES "
                                    "('', '', '', '', '', '', 0, 0, 0, '2', '')")),
        NuovaTabella(Tabella::DatiGestoreSim, {{IDGestore, Contatore},
                                               {GestoreSim, Testo},
                                               {Operativo, InteroZero},
                                               {TelCredito, Testo},
                                               {TestoSmsCredito, Testo},
                                               {ModalitaCre, InteroZero},
                                               {ModRispCredito, InteroZero},
                                               {CreditoSim, Testo},
                                               {DataScadenza, Testo}}),
        NuovoIndice(Tabella::DatiGestoreSim, QStringLiteral("DatiGestoreSim_TelCredito"),
                    TelCredito, true),
        // Later steps. The pieces of long messages, each with the pending record (number, date,
        // first time) that holds its message.
        NuovaTabella(Tabella::SmsParti, {{T5Numero, Testo},
                                         {T5Riferimento, Intero},
                                         {T5Totale, Intero},
                                         {T5Parte, Intero},
                                         {T5DataArrivo, Testo},
                                         {T5OrarioArrivo, Testo},
                                         {T5OrarioParte, Testo},
                                         {T5Testo, Testo}}),
        // The browser filters by number and by date.
        NuovoIndice(Tabella::SMS, QStringLiteral("SMS_T4Numero_T4DataArrivo"),
                    T4Numero + QStringLiteral(", ") + T4DataArrivo, false),
        // A pending order's id is never given again, so an id the desk holds cannot name a
        // later order once its own is gone.
        Ricostruzione(Tabella::SmsTemporanei, Colonne{{T3IdSms, Contatore}} + smsTemporanei),
    };
}

} // namespace

QStringList PassoSchema::Istruzioni(const QStringList& colonnePresenti) const {
    switch (tipo) {
    case Tipo::CreaTabella: {
        // A file made before the steps were counted may have it already.
        if (!colonnePresenti.isEmpty())
            return {};
        QStringList istruzioni{
            QStringLiteral("CREATE TABLE %1 (%2)").arg(tabella, Definizioni(colonne))};
        if (!righe.isEmpty())
            istruzioni << righe;
        return istruzioni;
    }
    case Tipo::AggiungiColonna:
        if (colonnePresenti.contains(colonne[0].nome, Qt::CaseInsensitive))
            return {};
        return {QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                    .arg(tabella, Definizioni(colonne.mid(0, 1)))};
    case Tipo::AggiungiIndice:
        return {QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                    .arg(unico ? QStringLiteral("UNIQUE ") : QString(), nome, tabella, sql)};
    case Tipo::RicostruisciTabella: {
        // The rowid goes into the new key, the columns the file has into their namesakes.
        const QString vecchia = tabella + QStringLiteral("_vecchia");
        QStringList dove{colonne[0].nome}, da{QStringLiteral("rowid")};
        for (const Colonna& c : colonne.mid(1))
            if (colonnePresenti.contains(c.nome, Qt::CaseInsensitive)) {
                dove << c.nome;
                da << c.nome;
            }
        return {QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(tabella, vecchia),
                QStringLiteral("CREATE TABLE %1 (%2)").arg(tabella, Definizioni(colonne)),
                QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4 ORDER BY rowid")
                    .arg(tabella, dove.join(QStringLiteral(", ")), da.join(QStringLiteral(", ")),
                         vecchia),
                QStringLiteral("DROP TABLE %1").arg(vecchia)};
    }
    }
    return {};
}

const QList<PassoSchema>& SchemaArchivio::Passi() {
    static const QList<PassoSchema> passi = Elenco();
    return passi;
}

QList<SchemaArchivio::Tabella> SchemaArchivio::Tabelle(int versione) {
    QList<Tabella> tabelle;
    const QList<PassoSchema>& passi = Passi();
    const int fine = versione < 0 ? int(passi.size()) : qMin(versione, int(passi.size()));
    for (int i = 0; i < fine; ++i) {
        const PassoSchema& p = passi[i];
        auto t = std::find_if(tabelle.begin(), tabelle.end(),
                              [&](const Tabella& x) { return x.nome == p.tabella; });
        switch (p.tipo) {
        case PassoSchema::Tipo::CreaTabella:
            tabelle.append({p.tabella, Nomi(p.colonne)});
            break;
        case PassoSchema::Tipo::AggiungiColonna:
            t->campi << p.colonne[0].nome;
            break;
        case PassoSchema::Tipo::RicostruisciTabella:
            t->campi = Nomi(p.colonne);
            break;
        case PassoSchema::Tipo::AggiungiIndice:
            break;
        }
    }
    return tabelle;
}

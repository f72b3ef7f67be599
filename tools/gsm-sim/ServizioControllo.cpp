#include "ServizioControllo.h"

#include "CaratteriSim.h"
#include "ProtocolloControllo.h"
#include "platform/CodicePagina1252.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

// A request longer than this is not one of ours.
constexpr qint64 kMassimaRichiesta = 1 << 20;
constexpr int kRichiesteMostrate = 100;

const QStringList kGuasti = {QStringLiteral("nessuno"),       QStringLiteral("muto"),
                             QStringLiteral("errore"),        QStringLiteral("spezzato"),
                             QStringLiteral("intruso"),       QStringLiteral("rumore"),
                             QStringLiteral("intruso-fuori"), QStringLiteral("spento")};

// The operator's balance answers the "ussd" command chooses by name.
const QString kUssdBreve = QStringLiteral("Il credito e': 6.70 Euro.");
const QString kUssdLungo = QStringLiteral(
    "Gentile cliente, il credito residuo della sua SIM e' di 12,34 Euro al giorno di oggi. Con "
    "una ricarica di almeno 10 Euro entro fine mese riceve in regalo 100 SMS verso tutti: per "
    "informazioni chiami il servizio clienti.");

QStringList bene(const QString& testo) {
    return {QStringLiteral("OK"), testo};
}
QStringList male(const QString& testo) {
    return {QStringLiteral("ERRORE"), testo};
}

std::optional<ModemSimulato::StatoRete> reteDaNome(const QString& nome) {
    if (nome == QLatin1String("casa"))
        return ModemSimulato::StatoRete::Casa;
    if (nome == QLatin1String("roaming"))
        return ModemSimulato::StatoRete::Roaming;
    if (nome == QLatin1String("ricerca"))
        return ModemSimulato::StatoRete::Ricerca;
    if (nome == QLatin1String("assente"))
        return ModemSimulato::StatoRete::Assente;
    return std::nullopt;
}

QString nomeRete(ModemSimulato::StatoRete r) {
    switch (r) {
    case ModemSimulato::StatoRete::Casa:
        return QStringLiteral("casa");
    case ModemSimulato::StatoRete::Roaming:
        return QStringLiteral("roaming");
    case ModemSimulato::StatoRete::Ricerca:
        return QStringLiteral("ricerca");
    case ModemSimulato::StatoRete::Assente:
        break;
    }
    return QStringLiteral("assente");
}

// Wire bytes made readable on one line.
QString durata(int volte) {
    if (volte < 0)
        return QStringLiteral("fino a nuovo ordine");
    if (volte == 1)
        return QStringLiteral("per il prossimo comando");
    return QStringLiteral("per i prossimi %1 comandi").arg(volte);
}

QString inUnaRiga(QString t) {
    t.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    t.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return t;
}

QString leggibile(const QByteArray& byte) {
    return inUnaRiga(CodicePagina1252::Decodifica(byte));
}

} // namespace

ServizioControllo::ServizioControllo(ModemSimulato& modem, QObject* parent)
    : QObject(parent)
    , modem_(modem) {}

ServizioControllo::~ServizioControllo() {
    if (server_) {
        server_->close();
        QFile::remove(percorso_);
    }
}

bool ServizioControllo::ascolta(const QString& percorso, QString* errore) {
    QLocalServer::removeServer(percorso);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(percorso)) {
        if (errore)
            *errore = QStringLiteral("Impossibile ascoltare su %1: %2")
                          .arg(percorso, server_->errorString());
        delete server_;
        server_ = nullptr;
        return false;
    }
    percorso_ = percorso;
    connect(server_, &QLocalServer::newConnection, this, &ServizioControllo::nuovaConnessione);
    return true;
}

void ServizioControllo::nuovaConnessione() {
    while (QLocalSocket* s = server_->nextPendingConnection()) {
        connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QLocalSocket::readyRead, this, [this, s] {
            while (s->canReadLine()) {
                const QStringList risposta = esegui(ProtocolloControllo::campi(s->readLine()));
                s->write(ProtocolloControllo::riga(risposta));
                s->flush();
            }
            if (s->bytesAvailable() > kMassimaRichiesta)
                s->abort();
        });
    }
}

QStringList ServizioControllo::esegui(const QStringList& richiesta) {
    const QString comando = richiesta.value(0);
    const auto campo = [&](int i) { return richiesta.value(i); };

    if (comando == QLatin1String("sms")) {
        // sms <mittente> <testo> <data|""> <indice|0> <alfa> <"1" = alfa omessa>
        //     [<codifica: 7bit|8bit|ucs2> <parte: RIF/TOT/NUM>]
        if (richiesta.size() < 3 || campo(1).isEmpty())
            return male(QStringLiteral("Mittente mancante"));
        SmsSim s;
        s.mittente = CodicePagina1252::Codifica(campo(1));
        QString errore;
        if (!CaratteriSim::Componi(s, campo(2), campo(7), campo(8), &errore))
            return male(errore);
        s.timestamp = CodicePagina1252::Codifica(campo(3));
        if (s.timestamp.isEmpty())
            s.timestamp = ModemSimulato::timestampAdesso();
        s.alfa = CodicePagina1252::Codifica(campo(5));
        if (campo(6) == QLatin1String("1"))
            s.alfa = std::nullopt;
        bool ok = true;
        int indice = campo(4).isEmpty() ? 0 : campo(4).toInt(&ok);
        if (!ok || indice < 0 || indice > modem_.capacita())
            return male(QStringLiteral("La SIM ha le posizioni da 1 a %1").arg(modem_.capacita()));
        if (indice == 0) {
            indice = modem_.aggiungiSms(s);
            if (indice == 0)
                return male(QStringLiteral("La SIM è piena"));
        } else {
            modem_.impostaSms(indice, s);
        }
        return bene(QStringLiteral("SMS arrivato nella posizione %1 della SIM").arg(indice));
    }
    if (comando == QLatin1String("guasto")) {
        const qsizetype tipo = kGuasti.indexOf(campo(1));
        if (tipo < 0)
            return male(QStringLiteral("Guasto sconosciuto: ") + campo(1));
        bool ok = true;
        const int volte = campo(2).isEmpty() ? -1 : campo(2).toInt(&ok);
        if (!ok || volte == 0 || volte < -1)
            return male(QStringLiteral("Numero di volte non valido: ") + campo(2));
        const auto guasto = ModemSimulato::Guasto(tipo);
        // A switched-off modem counts nothing: it stays off until the next fault is set.
        if (guasto == ModemSimulato::Guasto::Spento && volte != -1)
            return male(QStringLiteral("Il modem resta spento fino al prossimo guasto, anche "
                                       "nessuno: --volte non vale per spento"));
        const bool eraSpento = modem_.guasto() == ModemSimulato::Guasto::Spento;
        modem_.impostaGuasto(guasto, volte);
        if (guasto == ModemSimulato::Guasto::Spento)
            return bene(QStringLiteral("Modem spento fino al prossimo guasto (anche nessuno)"));
        const QString riacceso =
            eraSpento ? QStringLiteral("Modem riacceso come all'accensione. ") : QString();
        if (tipo == 0)
            return bene(riacceso + QStringLiteral("Nessun guasto"));
        return bene(riacceso + QStringLiteral("Guasto %1 %2").arg(campo(1), durata(volte)));
    }
    if (comando == QLatin1String("rete")) {
        const auto r = reteDaNome(campo(1));
        if (!r)
            return male(QStringLiteral("Stato di rete sconosciuto: ") + campo(1));
        modem_.impostaStatoRete(*r);
        return bene(QStringLiteral("Rete: ") + campo(1));
    }
    if (comando == QLatin1String("segnale")) {
        bool ok = false;
        const int n = campo(1).toInt(&ok);
        if (!ok || n < 0 || (n > 31 && n != 99))
            return male(QStringLiteral("Il segnale va da 0 a 31, oppure 99 (sconosciuto)"));
        modem_.impostaSegnale(n);
        return bene(QStringLiteral("Segnale: %1").arg(n));
    }
    if (comando == QLatin1String("sim")) {
        if (campo(1) != QLatin1String("presente") && campo(1) != QLatin1String("assente"))
            return male(QStringLiteral("Indicare presente o assente"));
        modem_.impostaSimPresente(campo(1) == QLatin1String("presente"));
        return bene(QStringLiteral("SIM ") + campo(1));
    }
    if (comando == QLatin1String("rifiuta")) {
        if (campo(1).isEmpty())
            return male(QStringLiteral("Numero mancante"));
        if (campo(1) == QLatin1String("nessuno")) {
            modem_.nessunRifiuto();
            return bene(QStringLiteral("Nessun invio rifiutato"));
        }
        modem_.rifiutaInvioA(CodicePagina1252::Codifica(campo(1)));
        return bene(
            QStringLiteral("Gli SMS a %1 saranno rifiutati (+CMS ERROR: 21)").arg(campo(1)));
    }
    if (comando == QLatin1String("cancellazioni")) {
        QList<ModemSimulato::Guasto> guasti;
        if (campo(1) != QLatin1String("normali"))
            for (const QString& g : campo(1).split(QLatin1Char(','))) {
                if (g == QLatin1String("errore"))
                    guasti << ModemSimulato::Guasto::Errore;
                else if (g == QLatin1String("muta"))
                    guasti << ModemSimulato::Guasto::Muto;
                else if (g == QLatin1String("ok"))
                    guasti << ModemSimulato::Guasto::Nessuno;
                else
                    return male(QStringLiteral("Indicare normali, oppure errore, muta e ok "
                                               "separati da virgole"));
            }
        modem_.impostaGuastiCancellazione(guasti);
        return bene(
            guasti.isEmpty()
                ? QStringLiteral("Ogni cancellazione riesce")
                : QStringLiteral("Le prossime %1 cancellazioni come indicato").arg(guasti.size()));
    }
    if (comando == QLatin1String("invio-muto")) {
        bool ok = true;
        const int volte = campo(1) == QLatin1String("sempre") ? -1
                          : campo(1) == QLatin1String("no")   ? 0
                                                              : campo(1).toInt(&ok);
        if (!ok || volte < -1)
            return male(QStringLiteral("Indicare sempre, no o un numero di SMS"));
        modem_.impostaInvioMuto(volte);
        if (volte == 0)
            return bene(QStringLiteral("Ogni SMS riceve la sua risposta"));
        return bene(QStringLiteral("Nessuna risposta dopo il testo %1")
                        .arg(volte < 0 ? QStringLiteral("fino a nuovo ordine")
                                       : QStringLiteral("per i prossimi %1 SMS").arg(volte)));
    }
    if (comando == QLatin1String("ussd")) {
        const QString testo = campo(1) == QLatin1String("breve")   ? kUssdBreve
                              : campo(1) == QLatin1String("lungo") ? kUssdLungo
                                                                   : campo(1);
        if (testo.isEmpty() || testo.contains(QLatin1Char('"')))
            return male(QStringLiteral("Indicare breve, lungo o un testo senza virgolette"));
        modem_.impostaRispostaUssd(CodicePagina1252::Codifica(testo));
        return bene(QStringLiteral("Risposta USSD: ") + testo);
    }
    if (comando == QLatin1String("credito-sms")) {
        // credito-sms <numero|nessuno> <mittente|""> <testo|"">
        if (campo(1).isEmpty())
            return male(QStringLiteral("Numero mancante"));
        if (campo(1) == QLatin1String("nessuno")) {
            modem_.impostaRispostaCreditoSms({});
            return bene(QStringLiteral("Nessuna risposta agli SMS di richiesta del credito"));
        }
        ModemSimulato::RispostaCreditoSms r;
        r.numero = CodicePagina1252::Codifica(campo(1));
        r.mittente = CodicePagina1252::Codifica(campo(2).isEmpty() ? campo(1) : campo(2));
        r.testo = CodicePagina1252::Codifica(
            campo(3).isEmpty() ? QStringLiteral("Il credito residuo e' 12,34 Euro.") : campo(3));
        modem_.impostaRispostaCreditoSms(r);
        return bene(QStringLiteral("Un SMS a %1 riceve la risposta di %2: %3")
                        .arg(campo(1), leggibile(r.mittente), leggibile(r.testo)));
    }
    if (comando == QLatin1String("riavvia")) {
        // A power dip: the modem starts again by itself and the program is not told.
        modem_.riavvia();
        return bene(
            QStringLiteral("Modem ripartito da solo: eco attiva, AT+CSDH, AT+CSCS e AT+CSMP "
                           "dimenticati, il PIN da inserire di nuovo se la SIM lo chiede; "
                           "gli SMS restano"));
    }
    if (comando == QLatin1String("stato"))
        return bene(descrizioneStato());
    if (comando == QLatin1String("ferma")) {
        emit fermaRichiesto();
        return bene(QStringLiteral("Simulatore fermato"));
    }
    return male(QStringLiteral("Richiesta sconosciuta: ") + comando);
}

QString ServizioControllo::descrizioneStato() const {
    QStringList righe;
    QString sim;
    switch (modem_.statoSim()) {
    case ModemSimulato::StatoSim::Assente:
        sim = QStringLiteral("assente");
        break;
    case ModemSimulato::StatoSim::AttesaPin:
        sim = QStringLiteral("chiede il PIN (tentativi rimasti: %1)")
                  .arg(modem_.tentativiPinRimasti());
        break;
    case ModemSimulato::StatoSim::AttesaPuk:
        sim = QStringLiteral("chiede il PUK (tentativi rimasti: %1)")
                  .arg(modem_.tentativiPukRimasti());
        break;
    case ModemSimulato::StatoSim::Guasta:
        sim = QStringLiteral("bloccata per sempre");
        break;
    case ModemSimulato::StatoSim::Pronta:
        sim = QStringLiteral("pronta");
        break;
    }
    righe << QStringLiteral("SIM: %1, blocco PIN %2")
                 .arg(sim,
                      modem_.pinAttivo() ? QStringLiteral("attivo") : QStringLiteral("disattivo"));
    QString rete = nomeRete(modem_.statoRete());
    if (modem_.statoReteEffettivo() != modem_.statoRete())
        rete += QStringLiteral(" (non registrato finché la SIM non è pronta)");
    righe << QStringLiteral("Rete: ") + rete;
    righe << QStringLiteral("Segnale: %1").arg(modem_.segnale());
    QString guasto = kGuasti.value(int(modem_.guasto()));
    if (modem_.guasto() != ModemSimulato::Guasto::Nessuno)
        guasto += QLatin1Char(' ') + durata(modem_.guastiRestanti());
    righe << QStringLiteral("Guasto: ") + guasto;

    const QList<int> occupati = modem_.slotOccupati();
    righe << QStringLiteral("SMS sulla SIM: %1 di %2").arg(occupati.size()).arg(modem_.capacita());
    for (const int i : occupati) {
        const SmsSim s = *modem_.sms(i);
        QString alfa = QStringLiteral(" (campo nome omesso)");
        if (s.alfa && !s.alfa->isEmpty())
            alfa = QStringLiteral(" \"%1\"").arg(leggibile(*s.alfa));
        else if (s.alfa)
            alfa.clear();
        righe << QStringLiteral("  %1. %2, da %3%4, %5: %6")
                     .arg(i)
                     .arg(s.stato == SmsSim::Stato::NonLetto ? QStringLiteral("non letto")
                                                             : QStringLiteral("letto"),
                          leggibile(s.mittente), alfa, leggibile(s.timestamp), leggibile(s.testo));
    }

    QStringList rifiutati;
    for (const QByteArray& n : modem_.rifiutati())
        rifiutati << leggibile(n);
    rifiutati.sort();
    righe << QStringLiteral("SMS rifiutati a: ") + (rifiutati.isEmpty()
                                                        ? QStringLiteral("nessuno")
                                                        : rifiutati.join(QStringLiteral(", ")));
    const int muto = modem_.invioMuto();
    righe << QStringLiteral("Risposta dopo il testo: ") +
                 (muto == 0  ? QStringLiteral("sì")
                  : muto < 0 ? QStringLiteral("nessuna, fino a nuovo ordine")
                             : QStringLiteral("nessuna per i prossimi %1 SMS").arg(muto));

    righe << QStringLiteral("Risposta USSD: ") + leggibile(modem_.rispostaUssd());
    const ModemSimulato::RispostaCreditoSms credito = modem_.rispostaCreditoSms();
    righe << QStringLiteral("Risposta agli SMS del credito: ") +
                 (credito.numero.isEmpty()
                      ? QStringLiteral("nessuna")
                      : QStringLiteral("a %1 risponde %2: %3")
                            .arg(leggibile(credito.numero), leggibile(credito.mittente),
                                 leggibile(credito.testo)));
    const QList<RichiestaInviata> richieste = modem_.richiesteInviate();
    righe << QStringLiteral("Richieste di invio: %1").arg(richieste.size());
    if (richieste.size() > kRichiesteMostrate)
        righe << QStringLiteral("  (mostrate le ultime %1)").arg(kRichiesteMostrate);
    for (qsizetype i = std::max<qsizetype>(0, richieste.size() - kRichiesteMostrate);
         i < richieste.size(); ++i) {
        const RichiestaInviata& r = richieste[i];
        switch (r.tipo) {
        case RichiestaInviata::Tipo::Sms:
            righe << QStringLiteral("  SMS a %1 (rif. %2): %3")
                         .arg(leggibile(r.destinatario))
                         .arg(r.riferimento)
                         .arg(inUnaRiga(r.arrivato));
            break;
        case RichiestaInviata::Tipo::Ussd:
            righe << QStringLiteral("  USSD ") + leggibile(r.destinatario);
            break;
        case RichiestaInviata::Tipo::Chiamata:
            righe << QStringLiteral("  Chiamata a ") + leggibile(r.destinatario);
            break;
        }
    }
    return righe.join(QLatin1Char('\n'));
}

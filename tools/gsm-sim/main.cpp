// veltrika-gsm-sim: a GSM modem simulated on a pseudo-terminal, so that VELTRIKA can be run and
// tested with no modem attached. "avvia" serves the modem; the other subcommands talk to a
// running one through its control socket.
#include "FineConSegnale.h"
#include "ProtocolloControllo.h"
#include "ServizioControllo.h"
#include "SimulatorePty.h"
#include "platform/CodicePagina1252.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QMap>
#include <QSet>
#include <QTextStream>
#include <functional>

namespace {

const char* const kAiuto =
    R"(veltrika-gsm-sim: un modem GSM simulato su uno pseudo-terminale, per usare e
provare VELTRIKA senza un modem vero.

Uso:
  veltrika-gsm-sim avvia [opzioni]
      Avvia il modem e resta in servizio fino a Ctrl-C o a "ferma".
  veltrika-gsm-sim sms <mittente> <testo> [--data "aa/MM/gg,hh:mm:ss+zz"] [--indice N]
                   [--alfa NOME | --senza-alfa] [--codifica 7bit|8bit|ucs2] [--parte RIF/TOT/NUM]
      Fa arrivare un SMS sulla SIM (data predefinita: adesso), nella prima posizione
      libera o in quella indicata. --codifica: come lo ha codificato il telefono
      (predefinito 7bit; 8bit e ucs2 si leggono in esadecimale). --parte: una parte di un
      SMS lungo, con l'intestazione dei dati utente (riferimento, parti in tutto, numero;
      un riferimento da 256 a 65535 usa l'intestazione a 16 bit). In 7bit le parti sono
      impacchettate come le consegna la rete: intestazione, bit di riempimento, settetti.
  veltrika-gsm-sim guasto nessuno|muto|errore|spezzato|intruso|intruso-fuori|rumore|spento
                   [--volte N]
      Guasta i prossimi N comandi (senza --volte: fino a nuovo ordine).
  veltrika-gsm-sim rete casa|roaming|ricerca|assente
  veltrika-gsm-sim segnale N          (da 0 a 31, 99 = sconosciuto)
  veltrika-gsm-sim sim presente|assente
  veltrika-gsm-sim rifiuta <numero>|nessuno
      Gli SMS a quel numero ricevono, dopo il testo, "+CMS ERROR: 21" e non partono;
      "nessuno" toglie tutti i rifiuti.
  veltrika-gsm-sim cancellazioni normali|errore,muta,ok...
      Le prossime cancellazioni (AT+CMGD), una per voce: errore risponde "+CMS ERROR: 500",
      muta non risponde, ok riesce; con errore e muta l'SMS resta sulla SIM.
  veltrika-gsm-sim invio-muto sempre|no|N
      Dopo il testo degli SMS (tutti, nessuno o i prossimi N) il modem non risponde più:
      quegli SMS non partono.
  veltrika-gsm-sim ussd breve|lungo|<testo>
      La risposta del gestore alle richieste USSD del credito, che arriva poco dopo l'OK:
      breve "Il credito e': 6.70 Euro.", lungo un messaggio di oltre 200 caratteri con
      "12,34 Euro" dentro, oppure il testo indicato.
  veltrika-gsm-sim credito-sms <numero>|nessuno [--mittente NOME] [--testo TESTO]
      Un SMS mandato a quel numero (la richiesta del credito per SMS) riceve sulla SIM la
      risposta del gestore, da NOME (predefinito il numero stesso) con TESTO (predefinito
      "Il credito residuo e' 12,34 Euro.").
  veltrika-gsm-sim riavvia
      Il modem riparte da solo, come dopo un calo di corrente, senza che il programma lo
      sappia: eco attiva, AT+CSDH, AT+CSCS e AT+CSMP dimenticati; gli SMS restano.
  veltrika-gsm-sim stato
      Mostra SIM, rete, segnale, guasto, gli SMS sulla SIM, i rifiuti e cosa è stato inviato
      (numero e testo di ogni SMS).
  veltrika-gsm-sim ferma

Ogni comando accetta --porta <collegamento>: il collegamento simbolico che il programma apre
come porta seriale. Predefinito: porte/COM1 nella cartella di questo eseguibile; un nome senza
"/" (per esempio COM3) indica un collegamento in quella stessa cartella porte.

Opzioni di avvia:
  --pin CODICE         PIN della SIM (predefinito 1234)
  --puk CODICE         PUK della SIM (predefinito 12345678)
  --pin-attivo         la SIM chiede il PIN all'accensione
  --senza-sim          nessuna SIM inserita
  --eco-fisso          l'eco dei comandi resta attiva anche dopo ATE0
  --rete STATO         casa (predefinito), roaming, ricerca, assente
  --segnale N          predefinito 20
  --revisione TESTO    risposta ad AT+CGMR
  --ussd TESTO         risposta alle richieste USSD (credito)
  --ussd-subito        la risposta USSD segue l'OK nella stessa risposta
  --capacita N         posizioni della SIM (predefinito 30)
  --ritardo-invio MS   l'esito di ogni SMS ("+CMGS: n" e OK) arriva MS millisecondi dopo il
                       testo, come da una rete vera; l'SMS parte subito
  --senza-cpms         il modem non conosce AT+CPMS e risponde ERROR, come i modelli vecchi
  --senza-csdh         il modem rifiuta AT+CSDH (nessuna codifica nell'intestazione degli SMS)
  --senza-cscs         il modem rifiuta AT+CSCS e resta nel set IRA (i caratteri non ASCII
                       arrivano come "?")
  --insieme-gsm        il modem non offre "8859-1" e parte nel set GSM: i testi passano come
                       codici GSM ("@" come NUL, "è" come 0x04, "€" come ESC "e")

Accanto al collegamento il simulatore tiene <collegamento>.ctl (il canale di controllo) e
<collegamento>.inviati.txt (gli SMS che il programma ha fatto inviare, uno per riga).

Guasti:
  muto      il comando non riceve né eco né risposta
  errore    ogni comando risponde ERROR
  spezzato  ogni risposta arriva in due pezzi, il secondo dopo circa 300 ms
  intruso   una riga non richiesta (RING o +CMTI) in mezzo alla risposta
  rumore    qualche byte di disturbo prima della risposta
  intruso-fuori  righe non richieste (+CMTI, RING) prima e dopo la risposta
  spento    il modem è spento: non sente nulla e non risponde, finché non si imposta un altro
            guasto (anche nessuno); allora si riaccende come all'accensione: eco attiva, errori
            estesi spenti, il PIN da inserire di nuovo se la SIM lo chiede; gli SMS restano
)";

QTextStream& uscita() {
    static QTextStream s(stdout);
    return s;
}

QTextStream& errori() {
    static QTextStream s(stderr);
    return s;
}

struct Argomenti {
    QMap<QString, QString> valori;
    QSet<QString> interruttori;
    QStringList posizionali;
};

// Reads "--nome valore", "--nome=valore" and bare switches; "--" ends the options.
bool leggiArgomenti(const QStringList& argomenti, const QStringList& conValore,
                    const QStringList& interruttori, Argomenti* a, QString* errore) {
    bool soloPosizionali = false;
    for (qsizetype i = 0; i < argomenti.size(); ++i) {
        const QString& arg = argomenti[i];
        if (soloPosizionali || !arg.startsWith(QLatin1String("--"))) {
            a->posizionali << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            soloPosizionali = true;
            continue;
        }
        QString nome = arg.mid(2);
        std::optional<QString> valore;
        if (const qsizetype uguale = nome.indexOf(QLatin1Char('=')); uguale >= 0) {
            valore = nome.mid(uguale + 1);
            nome.truncate(uguale);
        }
        if (interruttori.contains(nome) && !valore) {
            a->interruttori << nome;
        } else if (conValore.contains(nome)) {
            if (!valore) {
                if (i + 1 >= argomenti.size()) {
                    *errore = QStringLiteral("Manca il valore di --") + nome;
                    return false;
                }
                valore = argomenti[++i];
            }
            a->valori[nome] = *valore;
        } else {
            *errore = QStringLiteral("Opzione sconosciuta: ") + arg;
            return false;
        }
    }
    return true;
}

QString percorsoPorta(const Argomenti& a) {
    const QString valore = a.valori.value(QStringLiteral("porta"));
    const QString cartellaPorte = QCoreApplication::applicationDirPath() + QStringLiteral("/porte");
    if (valore.isEmpty())
        return cartellaPorte + QStringLiteral("/COM1");
    if (!valore.contains(QLatin1Char('/')))
        return cartellaPorte + QLatin1Char('/') + valore;
    return QFileInfo(valore).absoluteFilePath();
}

QString percorsoControllo(const QString& porta) {
    return porta + QStringLiteral(".ctl");
}

// One request to a running simulator; its answer fields, or nothing with the reason in `errore`.
std::optional<QStringList> chiedi(const QString& porta, const QStringList& richiesta,
                                  QString* errore) {
    QLocalSocket s;
    s.connectToServer(percorsoControllo(porta));
    if (!s.waitForConnected(3000)) {
        *errore = QStringLiteral("Nessun simulatore in funzione su ") + porta;
        return std::nullopt;
    }
    s.write(ProtocolloControllo::riga(richiesta));
    QByteArray arrivato;
    while (!arrivato.contains('\n')) {
        if (!s.waitForReadyRead(5000)) {
            *errore = QStringLiteral("Il simulatore su %1 non risponde").arg(porta);
            return std::nullopt;
        }
        arrivato += s.readAll();
    }
    return ProtocolloControllo::campi(arrivato.left(arrivato.indexOf('\n') + 1));
}

int eseguiRichiesta(const QString& porta, const QStringList& richiesta) {
    QString errore;
    const auto risposta = chiedi(porta, richiesta, &errore);
    if (!risposta) {
        errori() << errore << Qt::endl;
        return 1;
    }
    if (risposta->value(0) != QLatin1String("OK")) {
        errori() << risposta->value(1) << Qt::endl;
        return 1;
    }
    uscita() << risposta->value(1) << Qt::endl;
    return 0;
}

int avvia(QCoreApplication& app, const Argomenti& a) {
    const QString porta = percorsoPorta(a);
    {
        QLocalSocket prova;
        prova.connectToServer(percorsoControllo(porta));
        if (prova.waitForConnected(1000)) {
            errori() << "Un simulatore è già in funzione su " << porta << Qt::endl;
            return 1;
        }
    }

    SimulatorePty pty;
    ModemSimulato& modem = pty.modem();
    const auto valore = [&](const char* nome) { return a.valori.value(QLatin1String(nome)); };
    const auto presente = [&](const char* nome) { return a.valori.contains(QLatin1String(nome)); };
    if (presente("pin"))
        modem.impostaPin(CodicePagina1252::Codifica(valore("pin")));
    if (presente("puk"))
        modem.impostaPuk(CodicePagina1252::Codifica(valore("puk")));
    modem.impostaPinAttivo(a.interruttori.contains(QStringLiteral("pin-attivo")));
    modem.impostaSimPresente(!a.interruttori.contains(QStringLiteral("senza-sim")));
    modem.impostaEcoFisso(a.interruttori.contains(QStringLiteral("eco-fisso")));
    modem.impostaSenzaCpms(a.interruttori.contains(QStringLiteral("senza-cpms")));
    modem.impostaSenzaCsdh(a.interruttori.contains(QStringLiteral("senza-csdh")));
    modem.impostaSenzaCscs(a.interruttori.contains(QStringLiteral("senza-cscs")));
    if (a.interruttori.contains(QStringLiteral("insieme-gsm")))
        modem.impostaSenza8859("GSM");
    // An option holding a whole number within a range; false, after its message, when not.
    const auto intero = [&](const char* nome, int minimo, int massimo, const char* messaggio,
                            const std::function<void(int)>& imposta) {
        if (!presente(nome))
            return true;
        bool ok = false;
        const int n = valore(nome).toInt(&ok);
        if (!ok || n < minimo || n > massimo) {
            errori() << messaggio << Qt::endl;
            return false;
        }
        imposta(n);
        return true;
    };
    if (presente("rete")) {
        const QString r = valore("rete");
        if (r == QLatin1String("casa"))
            modem.impostaStatoRete(ModemSimulato::StatoRete::Casa);
        else if (r == QLatin1String("roaming"))
            modem.impostaStatoRete(ModemSimulato::StatoRete::Roaming);
        else if (r == QLatin1String("ricerca"))
            modem.impostaStatoRete(ModemSimulato::StatoRete::Ricerca);
        else if (r == QLatin1String("assente"))
            modem.impostaStatoRete(ModemSimulato::StatoRete::Assente);
        else {
            errori() << "Stato di rete sconosciuto: " << r << Qt::endl;
            return 2;
        }
    }
    if (presente("segnale")) {
        bool ok = false;
        const int n = valore("segnale").toInt(&ok);
        if (!ok || n < 0 || (n > 31 && n != 99)) {
            errori() << "Il segnale va da 0 a 31, oppure 99 (sconosciuto)" << Qt::endl;
            return 2;
        }
        modem.impostaSegnale(n);
    }
    if (!intero("capacita", 1, ModemSimulato::CapacitaMassima, "La capacità va da 1 a 1000",
                [&](int n) { modem.impostaCapacita(n); }))
        return 2;
    if (presente("revisione"))
        modem.impostaRevisione(CodicePagina1252::Codifica(valore("revisione")));
    if (presente("ussd"))
        modem.impostaRispostaUssd(CodicePagina1252::Codifica(valore("ussd")));
    modem.impostaUssdRitardato(!a.interruttori.contains(QStringLiteral("ussd-subito")));
    if (!intero("ritardo-invio", 0, 600000,
                "Il ritardo dell'esito degli SMS va da 0 a 600000 millisecondi",
                [&](int ms) { pty.impostaRitardoEsitoInvio(ms); }))
        return 2;

    QString errore;
    if (!pty.apri(porta, &errore)) {
        errori() << errore << Qt::endl;
        return 1;
    }
    ServizioControllo controllo(modem);
    if (!controllo.ascolta(percorsoControllo(porta), &errore)) {
        errori() << errore << Qt::endl;
        return 1;
    }
    const QString fileInviati = porta + QStringLiteral(".inviati.txt");
    modem.impostaAvvisoRichiesta([fileInviati](const RichiestaInviata& r) {
        if (r.tipo != RichiestaInviata::Tipo::Sms)
            return;
        QString testo = r.arrivato;
        testo.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        testo.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        const QString riga =
            QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) +
            QLatin1Char('\t') + CodicePagina1252::Decodifica(r.destinatario) + QLatin1Char('\t') +
            testo + QLatin1Char('\n');
        QFile f(fileInviati);
        if (f.open(QIODevice::WriteOnly | QIODevice::Append))
            f.write(riga.toUtf8());
    });
    QObject::connect(&controllo, &ServizioControllo::fermaRichiesto, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    if (!FineConSegnale::Installa(app)) {
        errori() << "Impossibile preparare la gestione dei segnali" << Qt::endl;
        return 1;
    }

    pty.avviaAutomatico();
    uscita() << "Modem simulato su " << pty.dispositivo() << ", collegato a " << pty.collegamento()
             << Qt::endl;
    return app.exec();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList argomenti = app.arguments().mid(1);
    if (argomenti.isEmpty()) {
        errori() << kAiuto;
        return 2;
    }
    if (argomenti.contains(QStringLiteral("--help")) || argomenti.contains(QStringLiteral("-h")) ||
        argomenti[0] == QLatin1String("aiuto")) {
        uscita() << kAiuto;
        return 0;
    }
    const QString comando = argomenti.takeFirst();

    struct Forma {
        QStringList conValore;
        QStringList interruttori;
        int posizionali;
    };
    const QString porta = QStringLiteral("porta");
    const QMap<QString, Forma> forme = {
        {QStringLiteral("avvia"),
         {{porta, QStringLiteral("pin"), QStringLiteral("puk"), QStringLiteral("rete"),
           QStringLiteral("segnale"), QStringLiteral("revisione"), QStringLiteral("ussd"),
           QStringLiteral("capacita"), QStringLiteral("ritardo-invio")},
          {QStringLiteral("pin-attivo"), QStringLiteral("senza-sim"), QStringLiteral("eco-fisso"),
           QStringLiteral("senza-cpms"), QStringLiteral("ussd-subito"),
           QStringLiteral("senza-csdh"), QStringLiteral("senza-cscs"),
           QStringLiteral("insieme-gsm")},
          0}},
        {QStringLiteral("sms"),
         {{porta, QStringLiteral("data"), QStringLiteral("indice"), QStringLiteral("alfa"),
           QStringLiteral("codifica"), QStringLiteral("parte")},
          {QStringLiteral("senza-alfa")},
          2}},
        {QStringLiteral("guasto"), {{porta, QStringLiteral("volte")}, {}, 1}},
        {QStringLiteral("rete"), {{porta}, {}, 1}},
        {QStringLiteral("segnale"), {{porta}, {}, 1}},
        {QStringLiteral("sim"), {{porta}, {}, 1}},
        {QStringLiteral("rifiuta"), {{porta}, {}, 1}},
        {QStringLiteral("invio-muto"), {{porta}, {}, 1}},
        {QStringLiteral("cancellazioni"), {{porta}, {}, 1}},
        {QStringLiteral("ussd"), {{porta}, {}, 1}},
        {QStringLiteral("credito-sms"),
         {{porta, QStringLiteral("mittente"), QStringLiteral("testo")}, {}, 1}},
        {QStringLiteral("riavvia"), {{porta}, {}, 0}},
        {QStringLiteral("stato"), {{porta}, {}, 0}},
        {QStringLiteral("ferma"), {{porta}, {}, 0}},
    };
    const auto forma = forme.constFind(comando);
    if (forma == forme.cend()) {
        errori() << "Comando sconosciuto: " << comando << "\n(veltrika-gsm-sim --help per l'aiuto)"
                 << Qt::endl;
        return 2;
    }
    Argomenti a;
    QString errore;
    if (!leggiArgomenti(argomenti, forma->conValore, forma->interruttori, &a, &errore)) {
        errori() << errore << Qt::endl;
        return 2;
    }
    if (a.posizionali.size() != forma->posizionali) {
        errori() << "Argomenti sbagliati per " << comando
                 << " (veltrika-gsm-sim --help per l'aiuto)" << Qt::endl;
        return 2;
    }

    if (comando == QLatin1String("avvia"))
        return avvia(app, a);
    const QString p = percorsoPorta(a);
    if (comando == QLatin1String("sms")) {
        if (a.interruttori.contains(QStringLiteral("senza-alfa")) &&
            a.valori.contains(QStringLiteral("alfa"))) {
            errori() << "--alfa e --senza-alfa insieme non hanno senso" << Qt::endl;
            return 2;
        }
        return eseguiRichiesta(
            p,
            {comando, a.posizionali[0], a.posizionali[1], a.valori.value(QStringLiteral("data")),
             a.valori.value(QStringLiteral("indice")), a.valori.value(QStringLiteral("alfa")),
             a.interruttori.contains(QStringLiteral("senza-alfa")) ? QStringLiteral("1")
                                                                   : QStringLiteral("0"),
             a.valori.value(QStringLiteral("codifica")), a.valori.value(QStringLiteral("parte"))});
    }
    if (comando == QLatin1String("credito-sms"))
        return eseguiRichiesta(p, {comando, a.posizionali[0],
                                   a.valori.value(QStringLiteral("mittente")),
                                   a.valori.value(QStringLiteral("testo"))});
    if (comando == QLatin1String("guasto"))
        return eseguiRichiesta(
            p, {comando, a.posizionali[0], a.valori.value(QStringLiteral("volte"))});
    return eseguiRichiesta(p, QStringList{comando} + a.posizionali);
}

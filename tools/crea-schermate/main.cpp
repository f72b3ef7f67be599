// crea-schermate <cartella>
// Takes the screenshots of the user guide from the program itself: a program folder with a
// small shop's data, the project's modem simulator on porte/COM1, the real main window, and
// every window of the menu as it opens. Each picture is saved as <cartella>/<nome>.png.

#include "SimulatorePty.h"
#include "app/FormLogo.h"
#include "app/FormMain.h"
#include "app/PannelloModem.h"
#include "archive/Archivio.h"
#include "archive/CreatoreArchivio.h"
#include "archive/Schema.h"
#include "archive/StatoGlobale.h"
#include "backup/BackupAutomatico.h"
#include "browser/FormSms.h"
#include "customers/FormClienti.h"
#include "desk/FormMsgBox1.h"
#include "desk/SportelloSms.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "platform/PortaSerialeQt.h"
#include "platform/Suono.h"
#include "platform/TraduzioniQt.h"

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

QString cartellaUscita;
bool riuscito = true;

void salva(QWidget* w, const QString& nome) {
    QCoreApplication::processEvents();
    const QString percorso = QDir(cartellaUscita).filePath(nome + QStringLiteral(".png"));
    if (!w->grab().save(percorso)) {
        std::fprintf(stderr, "crea-schermate: impossibile salvare %s\n", qPrintable(percorso));
        riuscito = false;
        return;
    }
    std::printf("crea-schermate: %s\n", qPrintable(percorso));
}

// Runs the event loop until the condition holds; false when the time ran out.
bool attendi(const std::function<bool()>& condizione, int ms, const char* cosa) {
    QElapsedTimer t;
    t.start();
    while (!condizione()) {
        if (t.elapsed() > ms) {
            std::fprintf(stderr, "crea-schermate: tempo scaduto aspettando %s\n", cosa);
            riuscito = false;
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void aggiungi(Archivio& a, const QString& tabella,
              const QList<std::pair<QString, QVariant>>& campi) {
    Recordset& rs = a.ApriTabella(tabella);
    rs.AddNew();
    for (const auto& [campo, valore] : campi)
        rs.Imposta(campo, valore);
    rs.Update();
}

// A pizzeria with a few customers, two orders waiting (one already taken in hand) and a month of
// archived orders.
void riempiArchivio(const QString& cartella) {
    Archivio a;
    a.ApriArchivio(cartella);
    Recordset& imp = a.ApriTabella(Tabella::Impostazioni);
    imp.MoveFirst();
    imp.Edit();
    imp.Imposta(Campo::NomeAttivita, QStringLiteral("Pizzeria Da Gino"));
    imp.Imposta(Campo::NomeProprietario, QStringLiteral("Gino Esposito"));
    imp.Imposta(Campo::TelefonoGsm, QStringLiteral("+393401234567"));
    imp.Imposta(Campo::TelefonoAttivita, QStringLiteral("080 5551234"));
    imp.Imposta(Campo::IndirizzoAttivita, QStringLiteral("Bari, Via Sparano 12"));
    imp.Imposta(Campo::InformazioniAttivita, QStringLiteral("Aperti dalle 18 alle 24"));
    imp.Update();
    const QList<std::array<QString, 3>> clienti = {
        {"+393331112222", "Mario Rossi", "Bari, Via Roma 1"},
        {"+393471234567", "Lucia Bianchi", "Bari, Corso Cavour 40"},
        {"+393289876543", "Antonio Greco", "Modugno, Via Bari 7"},
        {"+393385554433", "Francesca De Santis", "Bari, Via Calefati 3"},
        {"+393206667788", "Studio Legale Lorusso", "Bari, Piazza Umberto 2"},
    };
    for (const auto& c : clienti)
        aggiungi(a, Tabella::Clienti,
                 {{Campo::T1Numero, c[0]},
                  {Campo::T1Nome, c[1]},
                  {Campo::T1Nascita, QString()},
                  {Campo::T1Indirizzo, c[2]},
                  {Campo::T1Informazioni, QString()},
                  {Campo::T1Eliminato, false}});
    aggiungi(a, Tabella::DatiGestoreSim,
             {{Campo::GestoreSim, "Rete Simulata"},
              {Campo::Operativo, true},
              {Campo::TelCredito, "*123#"},
              {Campo::TestoSmsCredito, "CREDITO"},
              {Campo::ModalitaCre, 1},
              {Campo::ModRispCredito, 1},
              {Campo::CreditoSim, "12,50 Euro"},
              {Campo::DataScadenza, "01/12/26"}});
    const QDate oggi = QDate::currentDate();
    const auto data = [&](int giorniFa) { return oggi.addDays(-giorniFa).toString("dd/MM/yy"); };
    aggiungi(a, Tabella::SmsTemporanei,
             {{Campo::T3Numero, "+393471234567"},
              {Campo::T3DataArrivo, data(0)},
              {Campo::T3OrarioArrivo, "19:02:11"},
              {Campo::T3TestoSmsRicevuto, "Due margherite e una diavola per le 20:30, grazie"},
              {Campo::T3Gestito, true}});
    aggiungi(a, Tabella::SmsTemporanei,
             {{Campo::T3Numero, "+393398887766"},
              {Campo::T3DataArrivo, data(0)},
              {Campo::T3OrarioArrivo, "19:05:40"},
              {Campo::T3TestoSmsRicevuto, "Buonasera, fate consegne a Triggiano?"},
              {Campo::T3Gestito, false}});
    aggiungi(a, Tabella::SmsTemporanei,
             {{Campo::T3Numero, "+393289876543"},
              {Campo::T3DataArrivo, data(0)},
              {Campo::T3OrarioArrivo, "19:07:02"},
              {Campo::T3TestoSmsRicevuto, "Una capricciosa e due birre alle 21, Via Bari 7"},
              {Campo::T3Gestito, false}});
    const QStringList ordini = {
        "Una capricciosa e una birra per le 21", "Tre margherite da asporto alle 20",
        "Una quattro formaggi senza gorgonzola", "Due calzoni fritti per le 19:45",
        "Una marinara e una bufala, citofono Greco"};
    for (int i = 0; i < 12; ++i)
        aggiungi(
            a, Tabella::SMS,
            {{Campo::T4Numero, clienti[i % clienti.size()][0]},
             {Campo::T4DataArrivo, data(30 - 2 * i)},
             {Campo::T4OrarioArrivo, QStringLiteral("%1:%2:05").arg(18 + i % 4).arg(10 + 3 * i)},
             {Campo::T4TestoSmsRicevuto, ordini[i % ordini.size()]}});
}

void premi(QWidget* w, int tasto) {
    QKeyEvent giu(QEvent::KeyPress, tasto, Qt::NoModifier);
    QApplication::sendEvent(w, &giu);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: crea-schermate <cartella>\n");
        return 2;
    }
    cartellaUscita = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(cartellaUscita);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setApplicationName(QStringLiteral("VELTRIKA"));
    QApplication::setApplicationVersion(StatoGlobale::Versione());
    TraduzioniQt::Installa(app);
    QApplication::setQuitOnLastWindowClosed(false);

    QTemporaryDir temporanea;
    const QString cartella = temporanea.path();
    try {
        CreatoreArchivio::Crea(QDir(cartella).filePath(Archivio::NomeFile()), Archivio::Password());
        riempiArchivio(cartella);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "crea-schermate: %s\n", e.what());
        return 1;
    }
    SimulatorePty sim;
    QString errore;
    if (!sim.apri(QDir(cartella).filePath(QStringLiteral("porte/COM1")), &errore)) {
        std::fprintf(stderr, "crea-schermate: simulatore: %s\n", qPrintable(errore));
        return 1;
    }
    sim.avviaAutomatico();
    Suono::InstallaHook([](const QString&) {});
    MsgBoxHook::Installa([](const MessaggioMostrato& m) { return RispostaPredefinita(m.style); });

    StatoGlobale stato(cartella);
    Applicazione applicazione(stato, std::make_unique<PortaSerialeQt>(cartella),
                              std::make_unique<PortaSerialeQt>(cartella));
    FormMain form(applicazione);
    if (!form.Avvia())
        return 1;
    if (attendi([&] { return form.logo() && form.logo()->isVisible(); }, 5000, "lo splash"))
        salva(form.logo(), QStringLiteral("formlogo"));
    attendi(
        [&] {
            return form.Pannello().LblPinCode->text() == QStringLiteral("GSM ABILITATO") &&
                   form.Pannello().ProgressBar1->value() > 0;
        },
        60000, "il modem abilitato");
    form.resize(960, 520);
    salva(&form, QStringLiteral("formmain"));
    premi(form.ListaSMS, Qt::Key_F7);
    attendi([&] { return form.Pannello().ListRicevutiModem->count() >= 4; }, 30000,
            "la diagnostica");
    salva(&form, QStringLiteral("formmain-diagnostica"));
    premi(form.ListaSMS, Qt::Key_F7);

    // Each window of the menu and of the desk, as it opens; some lead to the next one.
    QHash<QString, std::function<void(QDialog&)>> poi;
    const QHash<QString, QString> nomi = {{"FormMsgBox2", "formmsgbox2"},
                                          {"FormMsgBox3", "formmsgbox3"},
                                          {"FormMsgBox4", "formmsgbox4"},
                                          {"FormClienti", "formclienti"},
                                          {"FormSms", "formsms"},
                                          {"FormInvioSms", "forminviosms"},
                                          {"FormConfigura", "formconfigura"},
                                          {"FormGestoreSim", "formgestoresim"},
                                          {"FormInformazioni", "informazioni"},
                                          {"FormBackup", "formbackup"},
                                          {"FormRipristino", "formripristino"},
                                          {"FormAnteprima", "anteprima"},
                                          {"QPrintDialog", "imposta-stampante"}};
    poi[QStringLiteral("FormSms")] = [](QDialog& d) {
        static_cast<FormSms&>(d).ListaSMS_ItemClick(0);
    };
    poi[QStringLiteral("FormClienti")] = [](QDialog& d) {
        auto& clienti = static_cast<FormClienti&>(d);
        clienti.Command1_Click(3);
    };
    Modale::InstallaHook([&](QDialog& d) {
        const QString classe = QString::fromLatin1(d.metaObject()->className());
        if (classe == QLatin1String("FormSms") || classe == QLatin1String("FormClienti") ||
            classe == QLatin1String("FormAnteprima"))
            d.resize(std::max(d.width(), 1000), std::max(d.height(), 600));
        // The printer dialog shows where an installed program would print to file.
        if (auto* file = d.findChild<QLineEdit*>(QStringLiteral("filename")))
            file->setText(QStringLiteral("/opt/veltrika/Stampe/Stampa.pdf"));
        // The copies' folder shown where an installed program keeps it.
        if (auto* principale = d.findChild<QLineEdit*>(QStringLiteral("TxtCartellaPrincipale")))
            principale->setText(QStringLiteral("/opt/veltrika/Backup"));
        if (auto* copie = d.findChild<QTreeWidget*>(QStringLiteral("ListaCopie")))
            for (int i = 0; i < copie->topLevelItemCount(); ++i)
                copie->topLevelItem(i)->setText(2, QStringLiteral("/opt/veltrika/Backup"));
        if (nomi.contains(classe))
            salva(&d, nomi.value(classe));
        if (poi.contains(classe))
            poi.value(classe)(d);
        return 0;
    });
    // The copy of the start-up, for the windows of the copies to show it.
    attendi([&] { return !form.Backup().InCorso(); }, 30000, "la copia dell'avvio");
    for (const char* voce : {"CmStampa", "CmConfiguraAttivita", "CmImpostaGestoreSim", "CmBackup",
                             "CmRipristina", "CmClienti", "CmSMS", "CmInvioSms", "CmInfo"})
        form.findChild<QAction*>(QString::fromLatin1(voce))->trigger();
    // The desk: the order taken in hand, then the new one.
    form.Sportello().ListaSMS_ItemClick(0);
    form.Sportello().ListaSMS_ItemClick(2);
    Modale::RimuoviHook();

    // An order arrives: the notice over the main window.
    sim.modem().aggiungiSms("+393331112222", "Buonasera, due margherite e una coca per le 21");
    if (attendi([&] { return form.msgBox1() && form.msgBox1()->isVisible(); }, 30000, "l'avviso"))
        salva(form.msgBox1(), QStringLiteral("formmsgbox1"));

    MsgBoxHook::Rimuovi();
    Suono::RimuoviHook();
    return riuscito ? 0 : 1;
}

#include "ComandiMenu.h"

#include "Applicazione.h"
#include "archive/StatoGlobale.h"
#include "browser/FormSms.h"
#include "campaigns/CampagnaSms.h"
#include "campaigns/FormInvioSms.h"
#include "customers/FormClienti.h"
#include "desk/FormInformazioni.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "printing/StampanteCorrente.h"
#include "settings/FormBackup.h"
#include "settings/FormConfigura.h"
#include "settings/FormGestoreSim.h"
#include "settings/FormRipristino.h"

#include <QPrintDialog>
#include <QPrinter>

ComandiMenu::ComandiMenu(Applicazione& applicazione, QWidget* finestra)
    : QObject(finestra)
    , app_(applicazione)
    , finestra_(finestra) {}

void ComandiMenu::Clienti() {
    {
        FormClienti clienti(app_.Stato(), app_.Stampa(), std::nullopt, finestra_);
        Modale::Mostra(clienti, finestra_);
    }
    emit ClientiCambiati();
}

void ComandiMenu::ArchivioSms() {
    FormSms archivio(app_.Stato(), app_.Stampa(), finestra_);
    Modale::Mostra(archivio, finestra_);
}

void ComandiMenu::InvioSms() {
    FormInvioSms finestra(app_.Stato(), app_.Motore(), app_.Campagna(), finestra_);
    Modale::Mostra(finestra, finestra_);
}

void ComandiMenu::ConfiguraAttivita() {
    FormConfigura finestra(app_.Stato(), app_.Impostazioni(), app_.Stampa(), app_.Motore().pannello,
                           finestra_);
    // The record read at the opening holds for the run, as does each switch clicked.
    app_.CambiaImpostazioni(finestra.Impostazioni());
    connect(&finestra, &FormConfigura::Cambiate, this,
            [this](const ImpostazioniAttivita& nuove) { app_.CambiaImpostazioni(nuove); });
    Modale::Mostra(finestra, finestra_);
}

void ComandiMenu::GestoreSim() {
    FormGestoreSim finestra(app_.Stato(), app_.Motore().pannello, finestra_);
    Modale::Mostra(finestra, finestra_);
}

void ComandiMenu::Stampante() {
    std::unique_ptr<QPrinter> scelta = app_.Stampante().PerIlDialogo();
    QPrintDialog dialogo(scelta.get(), finestra_);
    dialogo.setWindowTitle(QStringLiteral("Imposta Stampante"));
    dialogo.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Cancelling is the user's choice, not a failure: nothing is said and nothing changes.
    if (Modale::Mostra(dialogo, finestra_) != QDialog::Accepted)
        return;
    app_.Stampante().Imposta(*scelta);
}

void ComandiMenu::Backup() {
    FormBackup finestra(app_.Stato().cartellaProgramma, app_.Backup(), finestra_);
    Modale::Mostra(finestra, finestra_);
}

void ComandiMenu::Ripristina() {
    // The queue of a campaign under way names the archive's customers: it ends first, and so
    // does the outcome of its last SMS, which is written into that queue.
    if (app_.Campagna().Attiva() || app_.Campagna().InAttesaEsito()) {
        MsgBox(QStringLiteral("È in corso l'invio di una campagna SMS: attenderne la fine prima "
                              "di ripristinare l'archivio."),
               Stile::Esclamazione, QStringLiteral("Ripristina Archivio"), finestra_);
        return;
    }
    FormRipristino finestra(app_.Stato(), app_.Backup(), finestra_);
    connect(&finestra, &FormRipristino::ArchivioSostituito, this, &ComandiMenu::ArchivioSostituito);
    Modale::Mostra(finestra, finestra_);
}

void ComandiMenu::Informazioni() {
    FormInformazioni finestra(finestra_);
    Modale::Mostra(finestra, finestra_);
}

#pragma once

#include <QObject>

class Applicazione;
class QWidget;

// What the main window's menu entries open, each window modal over `finestra` while the main
// timer keeps running: the register, the archive browser, the campaign, the settings, the
// operators, the system printer, the copies, the restore and the product's information. What
// the main window must redo afterwards is told by a signal.
class ComandiMenu : public QObject {
    Q_OBJECT
public:
    ComandiMenu(Applicazione& applicazione, QWidget* finestra);

    // "Gesione Clienti".
    void Clienti();
    // "Gestione SMS": the archive browser.
    void ArchivioSms();
    // "InvioSms": the campaign window.
    void InvioSms();
    // "Configurazione Attività": a switch changed there acts at once.
    void ConfiguraAttivita();
    // "Imposta Gestore Sim".
    void GestoreSim();
    // "Imposta Stampante": the system's printer dialog chooses where the page reports go.
    void Stampante();
    // "Backup Archivio": where the copies go, the last good ones, a copy now.
    void Backup();
    // "Ripristina Archivio…": a copy put back in place of the archive in use; refused while a
    // campaign is under way or its last SMS waits for its outcome.
    void Ripristina();
    // "Informazioni sul Prodotto".
    void Informazioni();

signals:
    // The register was open: names and numbers may have changed.
    void ClientiCambiati();
    // The archive was put back from a copy: everything read from it is to be read again.
    void ArchivioSostituito();

private:
    Applicazione& app_;
    QWidget* finestra_;
};

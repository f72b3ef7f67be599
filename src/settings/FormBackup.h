#pragma once

#include "backup/CopiaArchivio.h"
#include "platform/Guardia.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

class BackupAutomatico;

// "Backup Archivio": the further folder the copies also go to (a USB stick, a network share),
// the last good copy in each folder with its date and size, and a copy taken now.
class FormBackup : public QDialog {
    Q_OBJECT
public:
    FormBackup(QString cartellaProgramma, BackupAutomatico& backup, QWidget* parent = nullptr);

    // "Copia Ora", "Salva", "Esci".
    void Command1_Click(int index);
    void BtnSfoglia_Click();

    QLineEdit* TxtCartellaPrincipale;
    QLineEdit* TxtSecondaCartella;
    QPushButton* BtnSfoglia;
    QLabel* LblUltimaPrincipale;
    QLabel* LblUltimaSeconda;
    QLabel* LblStato;
    std::array<QPushButton*, 3> Command1{};

    // What a folder's last good copy looks like in the window.
    static QString DescriviUltima(const QString& cartella);

private:
    void costruisciControlli();
    void mostraUltime();
    // Writes the folder as typed; false, after telling the user, when it is not kept.
    bool salva();
    void copiaConclusa(const QList<CopiaArchivio::EsitoCartella>& esiti);

    const QString cartellaProgramma_;
    BackupAutomatico& backup_;
    Guardia guardia_;
};

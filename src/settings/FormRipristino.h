#pragma once

#include "platform/Guardia.h"

#include <QDateTime>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <array>
#include <functional>

struct StatoGlobale;
class BackupAutomatico;

// "Ripristina Archivio": the copies found in the backup folders, newest first. The one chosen is
// checked, the pending orders it lacks are shown before the user confirms, the archive in use is
// kept aside under a dated name and the copy takes its place; the program goes on with it.
class FormRipristino : public QDialog {
    Q_OBJECT
public:
    FormRipristino(StatoGlobale& stato, BackupAutomatico& backup, QWidget* parent = nullptr);

    // "Ripristina", "Esci".
    void Command1_Click(int index);

    QTreeWidget* ListaCopie;
    QLabel* LblStato;
    std::array<QPushButton*, 2> Command1{};

    // The clock that names the archive kept aside; a test sets it.
    std::function<QDateTime()> Adesso = [] { return QDateTime::currentDateTime(); };

    // The text of the confirmation, with the pending orders the copy lacks.
    static QString TestoConferma(const QString& copia, const QString& riassunto,
                                 const QStringList& ordiniMancanti);

signals:
    // The archive in use is now the copy: whatever was read from the old one is read again.
    void ArchivioSostituito();

public slots:
    void reject() override;

private:
    void costruisciControlli();
    void elenca();
    void ripristina(const QString& copia);
    // The check of the copy, on another thread while the windows go on.
    bool verifica(const QString& copia, QString* riassunto);
    QStringList ordiniMancanti(const QString& copia);

    StatoGlobale& stato_;
    BackupAutomatico& backup_;
    Guardia guardia_;
    bool occupata_ = false;
};

#include "FormBackup.h"

#include "backup/BackupAutomatico.h"
#include "backup/CartellaConTempo.h"
#include "backup/ConservazioneCopie.h"
#include "backup/ImpostazioniBackup.h"
#include "platform/Accessibile.h"
#include "platform/Modale.h"
#include "platform/MsgBox.h"
#include "platform/RigaPulsanti.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {
const QString kTitolo = QStringLiteral("Backup Archivio");
} // namespace

FormBackup::FormBackup(QString cartellaProgramma, BackupAutomatico& backup, QWidget* parent)
    : QDialog(parent)
    , cartellaProgramma_(std::move(cartellaProgramma))
    , backup_(backup)
    , guardia_(this) {
    setObjectName(QStringLiteral("FormBackup"));
    setWindowTitle(kTitolo);
    costruisciControlli();
    TxtCartellaPrincipale->setText(
        QDir::toNativeSeparators(ImpostazioniBackup::CartellaPrincipale(cartellaProgramma_)));
    TxtSecondaCartella->setText(
        QDir::toNativeSeparators(ImpostazioniBackup::Leggi(cartellaProgramma_).secondaCartella));
    mostraUltime();
    connect(&backup_, &BackupAutomatico::CopiaConclusa, this, &FormBackup::copiaConclusa);
    if (backup_.InCorso()) {
        Accessibile::Testo(LblStato, QStringLiteral("Copia in corso…"));
        Command1[0]->setEnabled(false);
    }
}

void FormBackup::costruisciControlli() {
    auto* colonna = new QVBoxLayout(this);
    // A row of a grid: the caption that names the field, then the field.
    const auto riga = [](QGridLayout* griglia, const QString& testo, QWidget* campo) {
        auto* l = new QLabel(testo, griglia->parentWidget());
        Accessibile::Didascalia(l, campo);
        const int n = griglia->rowCount();
        griglia->addWidget(l, n, 0);
        griglia->addWidget(campo, n, 1);
    };
    auto* cartelle = new QGroupBox(QStringLiteral("Cartelle delle copie"), this);
    auto* griglia = new QGridLayout(cartelle);
    TxtCartellaPrincipale = new QLineEdit(cartelle);
    TxtCartellaPrincipale->setObjectName(QStringLiteral("TxtCartellaPrincipale"));
    TxtCartellaPrincipale->setReadOnly(true);
    riga(griglia, QStringLiteral("Cartella del programma:"), TxtCartellaPrincipale);
    TxtSecondaCartella = new QLineEdit(cartelle);
    TxtSecondaCartella->setObjectName(QStringLiteral("TxtSecondaCartella"));
    TxtSecondaCartella->setPlaceholderText(QStringLiteral("Nessuna"));
    TxtSecondaCartella->setMinimumWidth(360);
    riga(griglia, QStringLiteral("Seconda cartella (chiavetta USB, cartella di rete):"),
         TxtSecondaCartella);
    BtnSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), cartelle);
    BtnSfoglia->setObjectName(QStringLiteral("BtnSfoglia"));
    BtnSfoglia->setAutoDefault(false);
    griglia->addWidget(BtnSfoglia, griglia->rowCount() - 1, 2);
    colonna->addWidget(cartelle);

    auto* ultime = new QGroupBox(QStringLiteral("Ultima copia riuscita"), this);
    auto* grigliaUltime = new QGridLayout(ultime);
    LblUltimaPrincipale = new QLabel(ultime);
    LblUltimaPrincipale->setObjectName(QStringLiteral("LblUltimaPrincipale"));
    LblUltimaSeconda = new QLabel(ultime);
    LblUltimaSeconda->setObjectName(QStringLiteral("LblUltimaSeconda"));
    riga(grigliaUltime, QStringLiteral("Cartella del programma:"), LblUltimaPrincipale);
    riga(grigliaUltime, QStringLiteral("Seconda cartella:"), LblUltimaSeconda);
    colonna->addWidget(ultime);

    LblStato = new QLabel(this);
    LblStato->setObjectName(QStringLiteral("LblStato"));
    LblStato->setWordWrap(true);
    colonna->addWidget(LblStato);

    colonna->addLayout(
        RigaPulsanti(this, Command1,
                     {QStringLiteral("Copia Ora"), QStringLiteral("Salva"), QStringLiteral("Esci")},
                     QStringLiteral("Command1"),
                     [this](int i) { guardia_.Esegui([&] { Command1_Click(i); }); }));
    connect(BtnSfoglia, &QPushButton::clicked, this,
            guardia_.Proteggi([this] { BtnSfoglia_Click(); }));
    Accessibile::NominaDaTesto(this);
    for (QLabel* l : {LblUltimaPrincipale, LblUltimaSeconda, LblStato})
        Accessibile::Valore(l);
}

QString FormBackup::DescriviUltima(const QString& cartella) {
    if (cartella.isEmpty())
        return QStringLiteral("Nessuna seconda cartella");
    // A share that hangs answers as one that is not there; this installation's folder in it
    // is made at the first copy.
    const auto elenco = CartellaConTempo::Esegui([cartella] {
        if (QFileInfo(cartella).isDir())
            return std::optional(ConservazioneCopie::Elenco(cartella));
        if (QFileInfo(QFileInfo(cartella).absolutePath()).isDir())
            return std::optional(QList<ConservazioneCopie::Copia>());
        return std::optional<QList<ConservazioneCopie::Copia>>();
    });
    if (!elenco || !*elenco)
        return QStringLiteral("Cartella non raggiungibile");
    const QList<ConservazioneCopie::Copia>& copie = **elenco;
    if (copie.isEmpty())
        return QStringLiteral("Nessuna copia");
    const ConservazioneCopie::Copia& c = copie.first();
    return QStringLiteral("%1, %2").arg(c.quando.toString(QStringLiteral("dd/MM/yyyy HH:mm")),
                                        ConservazioneCopie::Dimensione(c.dimensione));
}

void FormBackup::mostraUltime() {
    const ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartellaProgramma_);
    Accessibile::Testo(LblUltimaPrincipale,
                       DescriviUltima(ImpostazioniBackup::CartellaPrincipale(cartellaProgramma_)));
    Accessibile::Testo(LblUltimaSeconda, DescriviUltima(impostazioni.CartellaSeconda()));
}

void FormBackup::Command1_Click(int index) {
    switch (index) {
    case 0: {
        if (!salva())
            return;
        if (!backup_.CopiaOra()) {
            MsgBox(backup_.InCorso()
                       ? QStringLiteral("È già in corso una copia dell'archivio: riprovare al "
                                        "suo termine.")
                       : QStringLiteral("Impossibile eseguire la copia: l'archivio non è aperto."),
                   Stile::Esclamazione, kTitolo, this);
            return;
        }
        Accessibile::Testo(LblStato, QStringLiteral("Copia in corso…"));
        Command1[0]->setEnabled(false);
        break;
    }
    case 1:
        if (salva())
            Accessibile::Testo(LblStato, QStringLiteral("Impostazioni salvate."));
        break;
    default:
        accept();
        break;
    }
}

void FormBackup::BtnSfoglia_Click() {
    QFileDialog dialogo(this, QStringLiteral("Seconda cartella delle copie"),
                        TxtSecondaCartella->text());
    dialogo.setObjectName(QStringLiteral("SceltaCartella"));
    dialogo.setFileMode(QFileDialog::Directory);
    dialogo.setOption(QFileDialog::ShowDirsOnly);
    if (Modale::Mostra(dialogo, this) != QDialog::Accepted || dialogo.selectedFiles().isEmpty())
        return;
    TxtSecondaCartella->setText(QDir::toNativeSeparators(dialogo.selectedFiles().first()));
}

bool FormBackup::salva() {
    ImpostazioniBackup impostazioni = ImpostazioniBackup::Leggi(cartellaProgramma_);
    QString scelta = QDir::fromNativeSeparators(TxtSecondaCartella->text().trimmed());
    if (!scelta.isEmpty())
        scelta = QDir::cleanPath(QDir(cartellaProgramma_).absoluteFilePath(scelta));
    // The program's own folder already has every copy.
    // (Compared by path: two folders that do not exist yet would compare equal as files.)
    if (scelta ==
        QDir::cleanPath(
            QDir(ImpostazioniBackup::CartellaPrincipale(cartellaProgramma_)).absolutePath()))
        scelta.clear();
    if (scelta == impostazioni.secondaCartella) {
        TxtSecondaCartella->setText(QDir::toNativeSeparators(scelta));
        return true;
    }
    if (!scelta.isEmpty() &&
        !CartellaConTempo::Esegui([scelta] { return QFileInfo(scelta).isDir(); }).value_or(false)) {
        const int risposta =
            MsgBox(QStringLiteral("La cartella \"%1\" non è raggiungibile ora (chiavetta non "
                                  "inserita o rete assente).\nUsarla comunque? Le copie vi "
                                  "andranno quando sarà raggiungibile.")
                       .arg(QDir::toNativeSeparators(scelta)),
                   Stile::SiNo + Stile::Domanda, kTitolo, this);
        if (risposta != Risposta::Si)
            return false;
    }
    impostazioni.secondaCartella = scelta;
    // A new folder is told about again, the first day it is missing.
    impostazioni.ultimoAvvisoCartella = QDate();
    if (!impostazioni.Scrivi(cartellaProgramma_)) {
        MsgBox(QStringLiteral("Impossibile salvare le impostazioni delle copie nel file \"%1\".")
                   .arg(QDir::toNativeSeparators(
                       QDir(cartellaProgramma_).filePath(ImpostazioniBackup::NomeFile()))),
               Stile::Critico, kTitolo, this);
        return false;
    }
    TxtSecondaCartella->setText(QDir::toNativeSeparators(scelta));
    mostraUltime();
    return true;
}

void FormBackup::copiaConclusa(const QList<CopiaArchivio::EsitoCartella>& esiti) {
    QStringList testi;
    for (const CopiaArchivio::EsitoCartella& e : esiti)
        testi << e.messaggio;
    Accessibile::Testo(LblStato, testi.join(QLatin1Char('\n')));
    Command1[0]->setEnabled(true);
    mostraUltime();
}

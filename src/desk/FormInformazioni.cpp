#include "FormInformazioni.h"

#include "archive/StatoGlobale.h"
#include "platform/Accessibile.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <sqlite3.h>
#include <xlsxwriter.h>

namespace {

// SQLCipher tells its own version only through a pragma, on any connection.
QString versioneSqlcipher() {
    sqlite3* db = nullptr;
    QString versione;
    if (sqlite3_open(":memory:", &db) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA cipher_version;", -1, &st, nullptr) == SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            versione = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return versione;
}

QLabel* etichetta(QWidget* finestra, const QString& nome, const QString& testo) {
    auto* l = new QLabel(finestra);
    l->setObjectName(nome);
    l->setWordWrap(true);
    Accessibile::Testo(l, testo);
    return l;
}

} // namespace

QStringList FormInformazioni::Librerie() {
    return {
        QStringLiteral("Qt %1 — finestre, stampa, porte seriali e suoni — LGPL 3")
            .arg(QString::fromLatin1(qVersion())),
        QStringLiteral(
            "SQLCipher %1 — archivio cifrato — licenza BSD; SQLite %2 — pubblico dominio")
            .arg(versioneSqlcipher(), QString::fromLatin1(sqlite3_libversion())),
        QStringLiteral("OpenSSL (libcrypto) — cifratura dell'archivio — Apache 2.0"),
        QStringLiteral("libxlsxwriter %1 — esportazione in Excel — licenza BSD; minizip e zlib — "
                       "licenza zlib")
            .arg(QStringLiteral(LXW_VERSION)),
        QStringLiteral("GStreamer — riproduzione dei suoni — LGPL 2.1"),
        QStringLiteral("Caratteri Liberation — stampe su pagina — SIL Open Font License 1.1"),
    };
}

FormInformazioni::FormInformazioni(QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FormInformazioni"));
    setWindowTitle(QStringLiteral("Informazioni sul Prodotto"));

    LblNome = etichetta(this, QStringLiteral("LblNome"), QStringLiteral("VELTRIKA"));
    QFont grande = LblNome->font();
    grande.setPointSizeF(grande.pointSizeF() * 1.8);
    grande.setBold(true);
    LblNome->setFont(grande);
    LblVersione = etichetta(this, QStringLiteral("LblVersione"),
                            QStringLiteral("Versione ") + StatoGlobale::Versione());
    LblDescrizione = etichetta(
        this, QStringLiteral("LblDescrizione"),
        QStringLiteral(
            "Gestione degli ordini ricevuti via SMS. Il programma riceve i messaggi dal modem "
            "GSM, li conserva nell'archivio, riconosce il cliente che li ha inviati, li annuncia "
            "e li stampa; tiene l'elenco dei clienti, invia SMS ai clienti, consulta ed esporta "
            "l'archivio e controlla il modem e il credito della SIM."));
    LblLibrerie = etichetta(this, QStringLiteral("LblLibrerie"),
                            QStringLiteral("Librerie utilizzate e loro licenze:\n• ") +
                                Librerie().join(QStringLiteral("\n• ")));

    CmdOk = new QPushButton(QStringLiteral("OK"), this);
    CmdOk->setObjectName(QStringLiteral("CmdOk"));
    CmdOk->setAccessibleName(CmdOk->text());
    CmdOk->setDefault(true);
    connect(CmdOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(LblNome);
    colonna->addWidget(LblVersione);
    colonna->addWidget(LblDescrizione);
    colonna->addSpacing(8);
    colonna->addWidget(LblLibrerie);
    auto* riga = new QHBoxLayout;
    riga->addStretch();
    riga->addWidget(CmdOk);
    colonna->addLayout(riga);
    setMinimumWidth(520);
}

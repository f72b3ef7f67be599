// bench-campagna [--clienti N] [--cartella <cartella>]
//
// The program's own work per SMS of a campaign: the campaign's step (statuses, colours, the queue
// file rewritten whole and renamed into place when the text goes out and again after the
// outcome) and the engine's handling of the address line, the prompt and the result, with a
// modem that answers at once. The modem's own time is left out. Every customer of a generated
// register is ticked and sent to.

#include "Generatore.h"
#include "Misure.h"
#include "archive/ImpostazioniAttivita.h"
#include "archive/StatoGlobale.h"
#include "campaigns/CampagnaSms.h"
#include "campaigns/FormInvioSms.h"
#include "modem/DialogoUtente.h"
#include "modem/MotoreGsm.h"
#include "platform/PortaSeriale.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A modem that answers every line at once: the prompt to the address line, a reference to the
// text.
class ModemIstantaneo : public PortaSeriale {
public:
    void setCommPort(int numero) override { porta_ = numero; }
    int CommPort() const override { return porta_; }
    void setSettings(const QString&) override {}
    QString Settings() const override { return QStringLiteral("9600,N,8,1"); }
    void setInputModeTesto() override {}
    bool PortOpen() const override { return true; }
    void setPortOpen(bool) override {}
    bool DTREnable() const override { return false; }
    void setDTREnable(bool) override {}
    int InBufferCount() override { return int(inArrivo_.size()); }
    QString Input() override {
        QString r;
        r.swap(inArrivo_);
        return r;
    }
    void Output(const QString& testo) override {
        for (const QChar c : testo) {
            if (c == QChar(13) && riga_.startsWith(QLatin1String("AT+CMGS=")))
                inArrivo_ += QStringLiteral("\r\n> ");
            else if (c == QChar(26))
                inArrivo_ +=
                    QStringLiteral("\r\n+CMGS: %1\r\n\r\nOK\r\n").arg(++riferimento_ % 256);
            riga_ = (c == QChar(13) || c == QChar(26)) ? QString() : riga_ + c;
        }
    }

private:
    int porta_ = 1;
    int riferimento_ = 0;
    QString riga_;
    QString inArrivo_;
};

class Silenzioso : public DialogoUtente {
public:
    int Messaggio(const QString&, int, const QString&) override { return 1; }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList argomenti = app.arguments();
    const auto valore = [&](const char* nome, const QString& predefinito) {
        const qsizetype i = argomenti.indexOf(QLatin1String(nome));
        return i >= 0 && i + 1 < argomenti.size() ? argomenti[i + 1] : predefinito;
    };
    const int clienti = valore("--clienti", QStringLiteral("5000")).toInt();
    QTemporaryDir temporanea(valore("--cartella", QDir::tempPath()) +
                             QStringLiteral("/bench-campagna-XXXXXX"));
    const QString cartella = temporanea.path();
    GeneraArchivio(cartella, DatiDaGenerare{clienti, 0, 0, 1});

    StatoGlobale stato(cartella);
    stato.archivio.ApriArchivio(cartella);
    ModemIstantaneo porta;
    Silenzioso dialogo;
    const ImpostazioniAttivita impostazioni;
    MotoreGsm motore(stato, impostazioni, porta, dialogo);
    motore.stato.GsmAbilitato = true;
    // The modem's coding is known, as after the start-up.
    motore.codifica.CsmpAccettato(0);
    motore.pannello.statoPin = StatoPin::Abilitato;

    CampagnaSms campagna(stato, motore);
    FormInvioSms f(stato, motore, campagna);
    f.show();
    for (int r = 1; r <= f.NumeroRighe; ++r)
        f.Riga(r)->setCheckState(0, Qt::Checked);
    f.TxtTestoSms->setPlainText(QStringLiteral("Questa settimana pizza margherita a 5 euro!"));

    std::vector<double> passi;
    QElapsedTimer totale;
    totale.start();
    f.BtnInviaSms->click();
    while (f.BtnInviaSms->text() != QLatin1String("Invia")) {
        QElapsedTimer t;
        t.start();
        motore.PassoModem();
        if (f.Timer1.isActive())
            f.Timer1_Timer();
        QCoreApplication::processEvents(); // the list drawn as the user would see it
        passi.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double ms = double(totale.nsecsElapsed()) / 1e6;
    int inviati = 0;
    for (int r = 1; r <= campagna.NumeroRighe(); ++r)
        inviati += campagna.Riga(r).stato == StatoRiga::Inviato;

    const QStorageInfo disco(cartella);
    std::printf("campagna: %d clienti spuntati, %d SMS inviati, coda su %s (%s)\n", f.NumeroRighe,
                inviati, qPrintable(disco.device()), disco.fileSystemType().constData());
    std::printf("  per SMS, tutto il lavoro del programma            %8.2f ms\n",
                inviati ? ms / inviati : 0.0);
    std::printf("  passo del timer (motore, stati, coda riscritta)   %8.2f ms mediana, %.2f ms "
                "massimo\n",
                passi.empty() ? 0.0 : Misure::Mediana(passi),
                passi.empty() ? 0.0 : *std::max_element(passi.begin(), passi.end()));
    return inviati == f.NumeroRighe ? 0 : 1;
}

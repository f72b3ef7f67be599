#pragma once

#include <QString>
#include <QStringList>

// The campaign's queue file, TempSms.txt in the program folder: the code of every row of the
// campaign list, then the four tag lines "|0" name filter, "|1" (the birth-date line, always
// bare), "|4" address filter, "|5" message text. Windows-1252, each line ended by CR LF.
//
// A row code is the customer's key in decimal followed by one letter: "S" still to be sent,
// "I" already sent, "?" its text went out and no answer came (it may have been sent: it is sent
// again only when the user ticks it), "-" anything else.
class TempSms {
public:
    static QString NomeFile() { return QStringLiteral("TempSms.txt"); }

    // What a reading gives back. A tag line missing from the file leaves its box as it is, so
    // each box comes with whether its line was there.
    struct Contenuto {
        QStringList codici; // the lines before the tag lines
        bool conNome = false;
        QString nome;
        bool conMese = false;
        QString mese; // characters 6-7 of a filled "|1DD/MM/YYYY" line
        bool conIndirizzo = false;
        QString indirizzo;
        bool conTesto = false;
        QString testo; // every line from "|5" to the end of the file
    };

    explicit TempSms(const QString& cartellaProgramma);
    const QString& Percorso() const { return percorso_; }

    // Writes the whole file anew. A new file is written beside the old one and then renamed over
    // it, so a crash or a power cut leaves the old campaign or the new one, never half of one.
    // A failure throws ErroreRuntime and leaves the old file as it was.
    void Scrivi(const QStringList& codici, const QString& nome, const QString& indirizzo,
                const QString& testo);
    // A missing file throws ErroreRuntime 53.
    Contenuto Leggi() const;
    // The file made when none exists: one empty line.
    void CreaVuoto();
    // Campaigns written through this object.
    int Scritture() const { return scritture_; }

    static constexpr char16_t DaInviare = u'S';
    static constexpr char16_t Inviato = u'I';
    static constexpr char16_t Incerto = u'?';
    static constexpr char16_t Altro = u'-';

    static QString Codice(const QString& chiave, QChar lettera) { return chiave + lettera; }
    // The letter is the code's last character; the key, the digits before it.
    static QChar Lettera(const QString& codice);
    static QString Chiave(const QString& codice);

private:
    void scriviRighe(const QStringList& righe);

    QString percorso_;
    int scritture_ = 0;
};

#pragma once

#include <QString>
#include <exception>

// A run-time error as the program's error traps see it: a classic number and its description.
// Each routine's handler dispatches on the number, so the numbers are part of the behaviour.
class ErroreRuntime : public std::exception {
public:
    enum Numero : int {
        MemoriaEsaurita = 7,
        ErroreInterno = 51,
        FileNonTrovato = 53,
        ErroreStampante = 482,
        DiscoPieno = 61,
        AccessoPercorsoFile = 75,
        SalvataggioFoglio = 1004,
        NessunRecordCorrente = 3021,
        ChiaveDuplicata = 3022,
        FileArchivioNonTrovato = 3024,
        SpazioEsaurito = 3026,
        SolaLettura = 3027,
        PasswordNonValida = 3031,
        ArchivioNonApribile = 3051,
        TabellaNonTrovata = 3078,
        UpdateSenzaAddNew = 3020,
        RecordBloccato = 3218,
        ElementoNonTrovato = 3265,
        FormatoNonRiconosciuto = 3343,
        PortaNonValida = 8002,
        PortaGiaAperta = 8005,
        PortaChiusa = 8018,
        ScritturaSeriale = 8021,
        DialogoAnnullato = 32755,
    };

    ErroreRuntime(int numero, QString descrizione);

    int Number() const noexcept { return numero_; }
    const QString& Description() const noexcept { return descrizione_; }
    // As the program's boxes tell it: "Record bloccato / 3218".
    QString DescrizioneENumero() const {
        return descrizione_ + QStringLiteral(" / ") + QString::number(numero_);
    }
    const char* what() const noexcept override { return testoUtf8_.constData(); }

private:
    int numero_;
    QString descrizione_;
    QByteArray testoUtf8_;
};

#pragma once

#include "BandaRapporto.h"

#include <QSizeF>
#include <QString>

class QPainter;
class QPrinter;
class RecordsetInMemoria;

// A banded report drawn with QPainter: report header (once at the start), page header (top of
// every page), detail (once per row of the bound list), page footer (foot of every page), report
// footer (after the last row). Everything is laid out in twips inside 567-twip margins; a detail
// row that does not fit above the page footer goes whole to the next page.
class RapportoBande {
public:
    static constexpr int Margine = 567;

    explicit RapportoBande(QString nome);

    const QString& Nome() const { return nome_; }

    BandaRapporto IntestazioneRapporto;
    BandaRapporto IntestazionePagina;
    BandaRapporto Dettaglio;
    BandaRapporto PiePagina;
    BandaRapporto PieRapporto;

    // Sets the text of every label of that name, in any band.
    void ImpostaEtichetta(const QString& nome, const QString& testo);
    QString TestoEtichetta(const QString& nome) const;

    // The list whose rows the detail band prints; the report does not own it.
    void Collega(RecordsetInMemoria* dati) { dati_ = dati; }

    // Draws the whole report on the printer, one page after the other. Returns the number of
    // pages, or 0 when the printer could not be started.
    int Stampa(QPrinter& stampante);

private:
    struct Posato;
    QList<Posato> posa(const BandaRapporto& banda, double altezzaMassima, int* altezza) const;
    void disegna(QPainter& p, const QList<Posato>& controlli, double y, int pagina) const;
    QString testoDi(const ControlloRapporto& c, int pagina) const;

    QString nome_;
    RecordsetInMemoria* dati_ = nullptr;
};

#pragma once

#include <QString>
#include <QStringList>

// The text of a PDF file as pdftotext -layout reads it, one entry per page, and the size of its
// pages.
class TestoPdf {
public:
    explicit TestoPdf(const QString& percorso);

    bool valido() const { return !pagine.isEmpty(); }
    QString tutto() const { return pagine.join(QLatin1Char('\f')); }
    // Each page's lines, with runs of blanks reduced to one, for comparisons that do not depend
    // on the exact column a text lands in.
    QStringList righe(int pagina) const;
    // The text of one page (of all pages when negative) with every run of blanks and line breaks
    // reduced to one space: a text wrapped over two lines reads as one.
    QString compatto(int pagina = -1) const;
    int conta(const QString& testo) const;
    // True when the texts all occur in compatto(), each after the previous one.
    bool inOrdine(const QStringList& testi) const;

    QStringList pagine;
    double larghezzaPunti = 0;
    double altezzaPunti = 0;
};

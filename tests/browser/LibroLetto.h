#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A workbook read back from its .xlsx file (through unzip): the sheets, the first sheet's
// column widths and number formats, and its cells as a spreadsheet program would show them
// (the escapes "_xHHHH_" read as the characters they stand for).
struct LibroLetto {
    QStringList fogli;
    QList<double> larghezze;       // per column, as stored
    QList<QString> formatiColonne; // per column: the number format code
    QList<QStringList> righe;      // every cell's text, columns A to E
    QStringList celleNonTesto;     // cells that are not text in the "@" format, e.g. "B3"
    QString erroreXml;             // the first part that is not well-formed XML, and why

    // Empty `fogli` when the file cannot be read as a workbook.
    static LibroLetto Leggi(const QString& percorso);
};

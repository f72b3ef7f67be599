#pragma once

#include <QDate>
#include <QString>

class ModelloListaSms;

// The browser's list saved as an .xlsx workbook: the sheet "Foglio1", the columns "Telefono",
// "Cliente", "Data", "Orario" (18 characters wide) and "Testo del SMS Ricevuto" (200), a heading
// row, then the list's rows. Every cell is text (number format "@"), so a number keeps its
// leading zeros and its "+", a date stays dd/MM/yy and a text beginning with "=" is no formula.
// Any text makes a valid workbook (TestoCella).
class EsportazioneExcel {
public:
    // The folder under the program folder that collects the exports; the program folder comes
    // with it, and "Apri File Excel" makes it again when it went missing.
    static QString Cartella(const QString& cartellaProgramma);
    // "ListaSMS_" + the selected name + "_" + dd-mm-yy, or "ListaSMS_tutti_" + dd-mm-yy when no
    // name is selected, with the workbook's extension.
    static QString NomeFile(const QString& nomeSelezionato, const QDate& oggi);

    // A text as one cell holds it, read back the same by a spreadsheet program: a character XML
    // does not allow (a control character, U+FFFE, U+FFFF) and an underscore that would read as
    // an escape are written as the escape "_xHHHH_", a lone half of a UTF-16 pair as U+FFFD, and
    // a text longer than a cell holds (MassimoCella) is cut there, ending with "[…]".
    static QString TestoCella(const QString& testo);

    // Writes the list's rows into `cartella`/`nomeFile`. Throws ErroreRuntime 1004 when the
    // file cannot be saved: a missing folder, a name a file cannot have, a full disk, more rows
    // than a sheet holds; a row that cannot be read throws its own error. A
    // file of the same name is replaced only by a complete new one; a failed export leaves
    // nothing behind. The workbook gets the permissions of a newly created file.
    static void Scrivi(const QString& cartella, const QString& nomeFile,
                       const ModelloListaSms& lista);

    static inline const QString Foglio = QStringLiteral("Foglio1");
    static constexpr double Larghezze[5] = {18, 18, 18, 18, 200};
    // The characters one cell holds.
    static constexpr qsizetype MassimoCella = 32767;
};

#pragma once

#include <QPageSize>
#include <QString>
#include <memory>
#include <optional>

class QPrinter;

// The system printer the page reports go to: one object for the whole run, which the main window
// owns and the "Imposta Stampante" dialog changes. By default it is the machine's default printer;
// on a machine without any printer every document becomes a PDF file in the folder "Stampe" of
// the program folder, named after the document and the moment it was printed, so that no report
// is lost and none overwrites an earlier one.
class StampanteCorrente {
public:
    explicit StampanteCorrente(QString cartellaProgramma);
    ~StampanteCorrente();

    static QString NomeCartellaStampe() { return QStringLiteral("Stampe"); }

    // The system's default printer (the PDF folder when there is none).
    void UsaPredefinita();
    // A printer of the system, by name; if it disappears, the default takes its place.
    void UsaStampante(const QString& nomeStampante);
    // A PDF file with the given page: every document printed replaces that file.
    void UsaFilePdf(const QString& percorso, const QPageSize& pagina);

    // A printer set up as the current choice, for the system's printer dialog to start from.
    std::unique_ptr<QPrinter> PerIlDialogo() const;
    // What the printer dialog left in `scelta` becomes the choice, with the page it chose. A
    // printer that is no longer there raises error 482 and keeps the choice as it was.
    void Imposta(const QPrinter& scelta);

    // Width of the page the next document will get, in twips (1/1440 inch).
    int LarghezzaPaginaTwips() const;

    // A printer ready for one document, on the current choice. Its page is the one measured by
    // LarghezzaPaginaTwips(); for PDF output the file is chosen here.
    std::unique_ptr<QPrinter> Prepara(const QString& nomeDocumento);

    // The PDF file last prepared (empty when the last document went to a real printer).
    const QString& UltimoFilePdf() const { return ultimoPdf_; }
    // What the current choice is, for the user: the printer name or the PDF file/folder.
    QString Descrizione() const;

private:
    enum class Modo { Predefinita, Sistema, FilePdf };
    // The system printer the current choice leads to; empty when it leads to a PDF file.
    QString stampanteDiSistema() const;
    QString nuovoFileNellaCartella(const QString& nomeDocumento) const;

    const QString cartellaProgramma_;
    Modo modo_ = Modo::Predefinita;
    QString nomeStampante_;
    // The page chosen in the dialog for the system printer; none keeps the printer's own.
    std::optional<QPageSize> paginaSistema_;
    QString filePdf_;
    QPageSize paginaPdf_{QPageSize::A4};
    QString ultimoPdf_;
};

#pragma once

#include <QPageSize>
#include <QString>
#include <memory>

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
    QString filePdf_;
    QPageSize paginaPdf_{QPageSize::A4};
    QString ultimoPdf_;
};

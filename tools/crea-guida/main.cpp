// crea-guida <guida.md> <guida.pdf>
// Lays out one of the program's help documents, written in Markdown with its screenshots beside
// it, as an A4 PDF with numbered pages. A screenshot that cannot be read stops the build, so a
// guide never ships with a hole where a picture should be.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QUrl>
#include <cstdio>

namespace {

constexpr double kMarginiMm = 18;
// The widest a picture is drawn, in the points the printed layout uses: the text width of an A4
// page within its margins is about 490.
constexpr double kLarghezzaMassima = 480;

// Every picture fits the page; the names of those that cannot be read.
QStringList adattaImmagini(QTextDocument& documento) {
    QStringList mancanti;
    for (QTextBlock b = documento.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment pezzo = it.fragment();
            if (!pezzo.charFormat().isImageFormat())
                continue;
            QTextImageFormat formato = pezzo.charFormat().toImageFormat();
            const QImage immagine =
                documento.resource(QTextDocument::ImageResource, QUrl(formato.name()))
                    .value<QImage>();
            if (immagine.isNull()) {
                mancanti << formato.name();
                continue;
            }
            // Kept in the document itself: printing lays out a copy, which would look for the
            // file again without knowing where the guide is.
            documento.addResource(QTextDocument::ImageResource, QUrl(formato.name()), immagine);
            const double scala = std::min(1.0, kLarghezzaMassima / immagine.width());
            formato.setWidth(immagine.width() * scala);
            formato.setHeight(immagine.height() * scala);
            QTextCursor cursore(&documento);
            cursore.setPosition(pezzo.position());
            cursore.setPosition(pezzo.position() + pezzo.length(), QTextCursor::KeepAnchor);
            cursore.setCharFormat(formato);
        }
    }
    return mancanti;
}

// Air above the headings, so that sections stand apart; the title of the document is its first
// heading.
QString spaziaTitoli(QTextDocument& documento) {
    QString titolo;
    for (QTextBlock b = documento.begin(); b.isValid(); b = b.next()) {
        const int livello = b.blockFormat().headingLevel();
        if (livello == 0)
            continue;
        if (titolo.isEmpty())
            titolo = b.text();
        QTextCursor cursore(b);
        QTextBlockFormat formato = b.blockFormat();
        formato.setTopMargin(livello == 1 ? 0 : 14);
        formato.setBottomMargin(6);
        cursore.setBlockFormat(formato);
    }
    return titolo;
}

} // namespace

int main(int argc, char** argv) {
    // Nothing is shown: the document is only laid out and printed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "uso: crea-guida <guida.md> <guida.pdf>\n");
        return 2;
    }
    const QString sorgente = QString::fromLocal8Bit(argv[1]);
    const QString uscita = QString::fromLocal8Bit(argv[2]);

    QFile file(sorgente);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "crea-guida: %s: %s\n", qPrintable(sorgente),
                     qPrintable(file.errorString()));
        return 1;
    }
    QTextDocument documento;
    documento.setBaseUrl(
        QUrl::fromLocalFile(QFileInfo(sorgente).absolutePath() + QLatin1Char('/')));
    QFont carattere(QStringLiteral("Liberation Sans"));
    carattere.setPointSizeF(10.5);
    documento.setDefaultFont(carattere);
    documento.setMarkdown(QString::fromUtf8(file.readAll()));

    const QStringList mancanti = adattaImmagini(documento);
    if (!mancanti.isEmpty()) {
        std::fprintf(stderr, "crea-guida: immagini mancanti: %s\n",
                     qPrintable(mancanti.join(QStringLiteral(", "))));
        return 1;
    }
    const QString titolo = spaziaTitoli(documento);

    const QString temporaneo = uscita + QStringLiteral(".tmp");
    {
        QPdfWriter pdf(temporaneo);
        pdf.setTitle(titolo);
        pdf.setCreator(QStringLiteral("VELTRIKA"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(kMarginiMm, kMarginiMm, kMarginiMm, kMarginiMm),
                                      QPageLayout::Millimeter));
        documento.print(&pdf);
    }
    // Written aside and renamed, so that a failed run never leaves half a guide in place.
    QFile::remove(uscita);
    if (QFileInfo(temporaneo).size() == 0 || !QFile::rename(temporaneo, uscita)) {
        QFile::remove(temporaneo);
        std::fprintf(stderr, "crea-guida: impossibile scrivere %s\n", qPrintable(uscita));
        return 1;
    }
    return 0;
}

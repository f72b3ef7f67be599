#include "TestoPdf.h"

#include <QProcess>
#include <QRegularExpression>

TestoPdf::TestoPdf(const QString& percorso) {
    QProcess testo;
    testo.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                 percorso, QStringLiteral("-")});
    if (!testo.waitForFinished(30000) || testo.exitCode() != 0)
        return;
    pagine = QString::fromUtf8(testo.readAllStandardOutput()).split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pagine.isEmpty() && pagine.last().trimmed().isEmpty())
        pagine.removeLast();

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {percorso});
    if (info.waitForFinished(30000)) {
        const QString uscita = QString::fromUtf8(info.readAllStandardOutput());
        const auto m =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(uscita);
        if (m.hasMatch()) {
            larghezzaPunti = m.captured(1).toDouble();
            altezzaPunti = m.captured(2).toDouble();
        }
    }
}

QStringList TestoPdf::righe(int pagina) const {
    QStringList r;
    if (pagina < 0 || pagina >= pagine.size())
        return r;
    for (QString riga : pagine[pagina].split(QLatin1Char('\n'))) {
        riga = riga.simplified();
        if (!riga.isEmpty())
            r << riga;
    }
    return r;
}

QString TestoPdf::compatto(int pagina) const {
    return pagina < 0 ? tutto().simplified() : pagine.value(pagina).simplified();
}

int TestoPdf::conta(const QString& testo) const {
    return int(tutto().count(testo));
}

bool TestoPdf::inOrdine(const QStringList& testi) const {
    const QString t = compatto();
    qsizetype da = 0;
    for (const QString& cerca : testi) {
        const qsizetype i = t.indexOf(cerca, da);
        if (i < 0)
            return false;
        da = i + cerca.size();
    }
    return true;
}

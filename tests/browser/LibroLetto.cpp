#include "LibroLetto.h"

#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray Parte(const QString& percorso, const QString& parte) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), percorso, parte});
    unzip.waitForFinished(60000);
    return unzip.exitCode() == 0 ? unzip.readAllStandardOutput() : QByteArray();
}

// The format code of the built-in number formats the check needs, and of the workbook's own.
QString Formato(int id, const QMap<int, QString>& propri) {
    if (propri.contains(id))
        return propri.value(id);
    return id == 49  ? QStringLiteral("@")
           : id == 0 ? QStringLiteral("General")
                     : QString::number(id);
}

int Colonna(const QString& riferimento) {
    int c = 0;
    for (QChar ch : riferimento) {
        if (!ch.isLetter())
            break;
        c = c * 26 + (ch.unicode() - 'A' + 1);
    }
    return c - 1;
}

// The format's escape "_xHHHH_" stands for one UTF-16 unit.
QString SenzaFughe(const QString& testo) {
    static const QRegularExpression fuga(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString r;
    qsizetype da = 0;
    for (auto it = fuga.globalMatch(testo); it.hasNext();) {
        const auto m = it.next();
        r += testo.mid(da, m.capturedStart() - da);
        r += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        da = m.capturedEnd();
    }
    return r + testo.mid(da);
}

void Controlla(const QXmlStreamReader& x, const QString& parte, LibroLetto& libro) {
    if (x.hasError() && libro.erroreXml.isEmpty())
        libro.erroreXml = parte + QStringLiteral(": ") + x.errorString();
}

} // namespace

LibroLetto LibroLetto::Leggi(const QString& percorso) {
    LibroLetto libro;
    {
        QXmlStreamReader x(Parte(percorso, QStringLiteral("xl/workbook.xml")));
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("sheet"))
                libro.fogli << x.attributes().value(QLatin1String("name")).toString();
        }
        Controlla(x, QStringLiteral("xl/workbook.xml"), libro);
    }
    QMap<int, QString> formatiPropri;
    QList<QString> stili; // the number format of each cell style
    {
        QXmlStreamReader x(Parte(percorso, QStringLiteral("xl/styles.xml")));
        bool inCellXfs = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("numFmt"))
                formatiPropri.insert(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                                     x.attributes().value(QLatin1String("formatCode")).toString());
            else if (x.name() == QLatin1String("cellXfs"))
                inCellXfs = x.isStartElement();
            else if (inCellXfs && x.isStartElement() && x.name() == QLatin1String("xf"))
                stili << Formato(x.attributes().value(QLatin1String("numFmtId")).toInt(),
                                 formatiPropri);
        }
        Controlla(x, QStringLiteral("xl/styles.xml"), libro);
    }
    QXmlStreamReader x(Parte(percorso, QStringLiteral("xl/worksheets/sheet1.xml")));
    QString riferimento, tipo;
    int stile = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (!x.isStartElement())
            continue;
        const auto a = x.attributes();
        if (x.name() == QLatin1String("col")) {
            const int prima = a.value(QLatin1String("min")).toInt();
            const int ultima = a.value(QLatin1String("max")).toInt();
            for (int c = prima; c <= ultima; ++c) {
                libro.larghezze << a.value(QLatin1String("width")).toDouble();
                libro.formatiColonne << stili.value(a.value(QLatin1String("style")).toInt());
            }
        } else if (x.name() == QLatin1String("row")) {
            libro.righe << QStringList(5, QString());
        } else if (x.name() == QLatin1String("c")) {
            riferimento = a.value(QLatin1String("r")).toString();
            tipo = a.value(QLatin1String("t")).toString();
            stile = a.value(QLatin1String("s")).toInt();
            // A blank cell has neither type nor value; it must still carry the text format.
            if (stili.value(stile) != QLatin1String("@"))
                libro.celleNonTesto << riferimento;
        } else if (x.name() == QLatin1String("f")) {
            libro.celleNonTesto << riferimento;
        } else if (x.name() == QLatin1String("v") || x.name() == QLatin1String("t")) {
            const QString valore = x.readElementText();
            QString testo;
            // The writer keeps no table of shared strings: every text is in its cell.
            if (tipo == QLatin1String("inlineStr"))
                testo = SenzaFughe(valore);
            else
                libro.celleNonTesto << riferimento;
            const int c = Colonna(riferimento);
            if (!libro.righe.isEmpty() && c >= 0 && c < 5)
                libro.righe.last()[c] += testo;
        }
    }
    Controlla(x, QStringLiteral("xl/worksheets/sheet1.xml"), libro);
    return libro;
}

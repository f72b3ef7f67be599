// icona-png <icona.svg> <icona.png> <lato>: the icon drawn at one size, for the desktops that
// want a bitmap beside the scalable icon. Qt's own image plugin reads the SVG.

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "uso: icona-png <icona.svg> <icona.png> <lato>\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    QImageReader lettore(QString::fromLocal8Bit(argv[1]));
    const int lato = QByteArray(argv[3]).toInt();
    lettore.setScaledSize(QSize(lato, lato));
    const QImage immagine = lettore.read();
    if (immagine.isNull() || !immagine.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "icona-png: %s\n", qPrintable(lettore.errorString()));
        return 1;
    }
    return 0;
}

#include "RapportoBande.h"

#include "RecordsetInMemoria.h"
#include "platform/TestoInerte.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kSpessoreLinea = 15; // twips, about 0.75 pt

QFont carattere(const ControlloRapporto& c) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    // Drawing happens in twips, so the size is given in them: 1 point is 20 twips.
    f.setPixelSize(int(std::lround(c.punti * 20)));
    f.setBold(c.grassetto);
    return f;
}

// A customer's text lays out as written: a control character shows as a stand-in, a direction
// override or a zero-width character as nothing, so no text reverses or hides the rest.
QString perImpaginare(const QString& originale) {
    QString testo = TestoInerte::Rendi(originale);
    testo.remove(QChar(13));
    testo.replace(QChar(10), QChar::LineSeparator);
    return testo;
}

// The text wrapped at the given width, one QTextLine per printed line.
struct Impaginato {
    Impaginato(const QString& testo, const QFont& f, double larghezza, Qt::Alignment allineamento)
        : layout(perImpaginare(testo), f)
        , interlinea(QFontMetricsF(f).lineSpacing()) {
        QTextOption opzioni;
        opzioni.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        opzioni.setAlignment(allineamento & Qt::AlignHorizontal_Mask);
        layout.setTextOption(opzioni);
        layout.beginLayout();
        for (double y = 0;; y += interlinea) {
            QTextLine riga = layout.createLine();
            if (!riga.isValid())
                break;
            riga.setLineWidth(larghezza);
            riga.setPosition(QPointF(0, y));
        }
        layout.endLayout();
    }
    int righe() const { return std::max(1, layout.lineCount()); }
    double altezza() const { return righe() * interlinea; }

    QTextLayout layout;
    double interlinea;
};

} // namespace

struct RapportoBande::Posato {
    const ControlloRapporto* controllo;
    QRectF rettangolo;
};

RapportoBande::RapportoBande(QString nome)
    : nome_(std::move(nome)) {}

void RapportoBande::ImpostaEtichetta(const QString& nome, const QString& testo) {
    for (BandaRapporto* banda :
         {&IntestazioneRapporto, &IntestazionePagina, &Dettaglio, &PiePagina, &PieRapporto}) {
        for (ControlloRapporto& c : banda->controlli) {
            if (c.tipo == ControlloRapporto::Tipo::Etichetta && c.nome == nome)
                c.testo = testo;
        }
    }
}

QString RapportoBande::TestoEtichetta(const QString& nome) const {
    for (const BandaRapporto* banda :
         {&IntestazioneRapporto, &IntestazionePagina, &Dettaglio, &PiePagina, &PieRapporto}) {
        for (const ControlloRapporto& c : banda->controlli) {
            if (c.tipo == ControlloRapporto::Tipo::Etichetta && c.nome == nome)
                return c.testo;
        }
    }
    return {};
}

QString RapportoBande::testoDi(const ControlloRapporto& c, int pagina) const {
    if (c.tipo == ControlloRapporto::Tipo::Campo)
        return dati_ && !dati_->isEOF() ? dati_->Testo(c.nome) : QString();
    QString t = c.testo;
    return t.replace(QLatin1String("%p"), QString::number(pagina));
}

QList<RapportoBande::Posato> RapportoBande::posa(const BandaRapporto& banda, double altezzaMassima,
                                                 int* altezza) const {
    const qsizetype n = banda.controlli.size();
    QList<double> crescita(n, 0.0);
    for (qsizetype i = 0; i < n; ++i) {
        const ControlloRapporto& c = banda.controlli[i];
        if (!c.cresce)
            continue;
        const Impaginato imp(testoDi(c, 0), carattere(c), c.posizione.width(), c.allineamento);
        crescita[i] = std::max(0.0, imp.altezza() - c.posizione.height());
    }
    // What lies wholly below a control that grew moves down with it.
    QList<qsizetype> ordine(n);
    for (qsizetype i = 0; i < n; ++i)
        ordine[i] = i;
    std::stable_sort(ordine.begin(), ordine.end(), [&](qsizetype a, qsizetype b) {
        return banda.controlli[a].posizione.top() < banda.controlli[b].posizione.top();
    });
    QList<double> spostamento(n, 0.0);
    double aumento = 0;
    const auto calcola = [&] {
        aumento = 0;
        for (qsizetype k = 0; k < n; ++k) {
            const qsizetype i = ordine[k];
            const QRect& r = banda.controlli[i].posizione;
            double s = 0;
            for (qsizetype h = 0; h < k; ++h) {
                const qsizetype j = ordine[h];
                const QRect& sopra = banda.controlli[j].posizione;
                if (sopra.top() + sopra.height() <= r.top() && sopra.height() > 0)
                    s = std::max(s, spostamento[j] + crescita[j]);
            }
            spostamento[i] = s;
            aumento = std::max(aumento, s + crescita[i]);
        }
    };
    calcola();
    // A band may not outgrow the page: the largest growth gives way, and its text is elided.
    for (int giro = 0; giro < n && banda.altezza + aumento > altezzaMassima; ++giro) {
        const auto piuGrande = std::max_element(crescita.begin(), crescita.end());
        if (*piuGrande <= 0)
            break;
        *piuGrande = std::max(0.0, *piuGrande - (banda.altezza + aumento - altezzaMassima));
        calcola();
    }
    QList<Posato> posati;
    for (qsizetype i = 0; i < n; ++i) {
        const ControlloRapporto& c = banda.controlli[i];
        QRectF r(c.posizione);
        r.translate(0, spostamento[i]);
        r.setHeight(r.height() + crescita[i]);
        posati.append({&c, r});
    }
    *altezza = int(std::ceil(banda.altezza + aumento));
    return posati;
}

void RapportoBande::disegna(QPainter& p, const QList<Posato>& controlli, double y,
                            int pagina) const {
    p.save();
    p.translate(Margine, y);
    for (const Posato& posato : controlli) {
        const ControlloRapporto& c = *posato.controllo;
        const QRectF& r = posato.rettangolo;
        switch (c.tipo) {
        case ControlloRapporto::Tipo::Linea:
            p.setPen(QPen(Qt::black, kSpessoreLinea));
            p.drawLine(r.topLeft(), r.height() > 0 ? r.bottomLeft() : r.topRight());
            break;
        case ControlloRapporto::Tipo::Rettangolo:
            p.setPen(c.contorno ? QPen(Qt::black, kSpessoreLinea) : QPen(Qt::NoPen));
            p.setBrush(c.riempimento.isValid() ? QBrush(c.riempimento) : QBrush(Qt::NoBrush));
            p.drawRect(r);
            p.setBrush(Qt::NoBrush);
            break;
        case ControlloRapporto::Tipo::Immagine:
            if (c.disegno) {
                p.save();
                c.disegno(p, r);
                p.restore();
            }
            break;
        case ControlloRapporto::Tipo::Etichetta:
        case ControlloRapporto::Tipo::Campo: {
            const QFont f = carattere(c);
            const Impaginato imp(testoDi(c, pagina), f, r.width(), c.allineamento);
            const int visibili = std::max(1, int(std::floor((r.height() + 1) / imp.interlinea)));
            p.setPen(Qt::black);
            p.setFont(f);
            const QFontMetricsF fm(f);
            for (int i = 0; i < std::min(visibili, imp.layout.lineCount()); ++i) {
                const QTextLine riga = imp.layout.lineAt(i);
                if (i == visibili - 1 && imp.layout.lineCount() > visibili) {
                    // The last line that fits ends with an ellipsis: nothing runs out of the box.
                    QString resto = imp.layout.text().mid(riga.textStart());
                    resto.replace(QChar::LineSeparator, QLatin1Char(' '));
                    const QString elisa = fm.elidedText(resto, Qt::ElideRight, r.width());
                    double x = r.left();
                    if (c.allineamento & Qt::AlignRight)
                        x = r.right() - fm.horizontalAdvance(elisa);
                    else if (c.allineamento & Qt::AlignHCenter)
                        x = r.left() + (r.width() - fm.horizontalAdvance(elisa)) / 2;
                    p.drawText(QPointF(x, r.top() + i * imp.interlinea + fm.ascent()), elisa);
                } else {
                    riga.draw(&p, r.topLeft());
                }
            }
            break;
        }
        }
    }
    p.restore();
}

int RapportoBande::Stampa(QPrinter& stampante) {
    // Positions are taken from the corner of the paper; the margins are the report's own.
    stampante.setFullPage(true);
    QPainter p;
    if (!p.begin(&stampante))
        return 0;
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF foglio = stampante.pageLayout().fullRect(QPageLayout::Millimeter);
    const double altezzaFoglio = foglio.height() * 1440 / 25.4;
    const double scala = stampante.resolution() / 1440.0;
    p.scale(scala, scala);

    const double cima = Margine;
    const double piede = PiePagina.Presente() ? PiePagina.altezza : 0;
    const double limite = altezzaFoglio - Margine - piede;
    const double intestazione = IntestazionePagina.Presente() ? IntestazionePagina.altezza : 0;
    const double altezzaUtile = limite - cima - intestazione;

    int pagina = 1;
    double y = cima;
    const auto intestaPagina = [&] {
        if (!IntestazionePagina.Presente())
            return;
        int h = 0;
        const auto posati = posa(IntestazionePagina, altezzaUtile, &h);
        disegna(p, posati, y, pagina);
        y += h;
    };
    const auto chiudiPagina = [&] {
        if (!PiePagina.Presente())
            return;
        int h = 0;
        const auto posati = posa(PiePagina, PiePagina.altezza, &h);
        disegna(p, posati, limite, pagina);
    };
    const auto metti = [&](const BandaRapporto& banda) {
        int h = 0;
        const auto posati = posa(banda, altezzaUtile, &h);
        // A band never splits: it starts a new page unless it already heads an empty one.
        if (y + h > limite + 0.5 && y > cima + intestazione + 0.5) {
            chiudiPagina();
            stampante.newPage();
            ++pagina;
            y = cima;
            intestaPagina();
        }
        disegna(p, posati, y, pagina);
        y += h;
    };

    if (IntestazioneRapporto.Presente()) {
        int h = 0;
        const auto posati = posa(IntestazioneRapporto, altezzaUtile, &h);
        disegna(p, posati, y, pagina);
        y += h;
    }
    intestaPagina();
    if (Dettaglio.Presente() && dati_ && dati_->RecordCount() > 0) {
        for (dati_->MoveFirst(); !dati_->isEOF(); dati_->MoveNext())
            metti(Dettaglio);
    }
    if (PieRapporto.Presente())
        metti(PieRapporto);
    chiudiPagina();
    p.end();
    return pagina;
}

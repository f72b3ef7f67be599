#include "CatalogoRapporti.h"

#include "RaccoltaDatiStampa.h"
#include "TazzaFumante.h"
#include "archive/Schema.h"

#include <functional>
#include <map>

namespace {

using Tipo = ControlloRapporto::Tipo;
using Fabbrica = std::function<std::unique_ptr<RapportoBande>()>;

constexpr int kLarga = CatalogoRapporti::LarghezzaLarga;
constexpr int kStretta = CatalogoRapporti::LarghezzaStretta;
constexpr double kTitoloLargo = 21.75;
constexpr double kTitoloStretto = 15.75;
constexpr double kLista = 9.75;  // captions and values of the wide lists
constexpr double kBlocco = 8.25; // captions and values of the narrow layouts
constexpr int kRiga = 255;       // one text line of the list fonts
constexpr int kValoreStretto = 1361;
const QColor kCelesteBiglietto(192, 192, 255);

ControlloRapporto etichetta(const QString& testo, QRect r, double punti, bool grassetto,
                            const QString& nome = QString(), Qt::Alignment al = Qt::AlignLeft) {
    ControlloRapporto c;
    c.tipo = Tipo::Etichetta;
    c.testo = testo;
    c.nome = nome;
    c.posizione = r;
    c.punti = punti;
    c.grassetto = grassetto;
    c.allineamento = al;
    // A caption is never elided either: a wider font than planned costs a line, not the text.
    c.cresce = true;
    return c;
}

// A text of the business card, which keeps its size: it wraps inside, the last line elided.
ControlloRapporto fissa(ControlloRapporto c) {
    c.cresce = false;
    return c;
}

ControlloRapporto campo(const QString& nome, QRect r, double punti) {
    ControlloRapporto c;
    c.tipo = Tipo::Campo;
    c.nome = nome;
    c.posizione = r;
    c.punti = punti;
    // A value is never cut on paper: it takes the lines it needs.
    c.cresce = true;
    return c;
}

ControlloRapporto linea(int x, int y, int larghezza) {
    ControlloRapporto c;
    c.tipo = Tipo::Linea;
    c.posizione = QRect(x, y, larghezza, 0);
    return c;
}

ControlloRapporto rettangolo(QRect r, QColor riempimento, bool contorno) {
    ControlloRapporto c;
    c.tipo = Tipo::Rettangolo;
    c.posizione = r;
    c.riempimento = riempimento;
    c.contorno = contorno;
    return c;
}

ControlloRapporto tazza(QRect r) {
    ControlloRapporto c;
    c.tipo = Tipo::Immagine;
    c.posizione = r;
    c.disegno = &TazzaFumante::Disegna;
    return c;
}

// The title, first control of the report header; a long title takes a second line.
void titolo(RapportoBande& r, const QString& testo, bool largo) {
    const int altezza = largo ? 570 : 400;
    auto& t = r.IntestazioneRapporto.Aggiungi(
        etichetta(testo, QRect(0, 0, largo ? kLarga : kStretta, altezza),
                  largo ? kTitoloLargo : kTitoloStretto, true, QStringLiteral("Titolo")));
    t.cresce = true;
    r.IntestazioneRapporto.altezza = altezza + 90;
}

// A caption at the left and its value from 1361, the narrow layouts' pair.
int coppia(BandaRapporto& b, const QString& didascalia, const QString& nomeCampo, int y) {
    b.Aggiungi(etichetta(didascalia, QRect(0, y, kValoreStretto - 40, kRiga - 30), kBlocco, true));
    b.Aggiungi(
        campo(nomeCampo, QRect(kValoreStretto, y, kStretta - kValoreStretto, kRiga - 30), kBlocco));
    return y + kRiga;
}

void pieConLinea(RapportoBande& r, int larghezza) {
    r.PiePagina.Aggiungi(linea(0, 60, larghezza));
    r.PiePagina.altezza = 120;
}

void pieConPagina(RapportoBande& r, int daX, bool lineaSopra) {
    r.PiePagina.Aggiungi(linea(0, lineaSopra ? 40 : 360, kLarga));
    r.PiePagina.Aggiungi(etichetta(QStringLiteral("Pagina: %p"),
                                   QRect(daX, lineaSopra ? 90 : 40, kLarga - daX, kRiga), kLista,
                                   false, QStringLiteral("Pagina"), Qt::AlignRight));
    r.PiePagina.altezza = 420;
}

struct Colonna {
    const char* didascalia;
    QString campo;
    int x, w;
};

// A wide list: captions in the page header over a line, one row of values per record.
void colonneLarghe(RapportoBande& r, std::initializer_list<Colonna> colonne) {
    for (const Colonna& c : colonne) {
        r.IntestazionePagina.Aggiungi(
            etichetta(QString::fromUtf8(c.didascalia), QRect(c.x, 40, c.w, kRiga), kLista, true));
        r.Dettaglio.Aggiungi(campo(c.campo, QRect(c.x, 40, c.w - 40, kRiga), kLista));
    }
    r.IntestazionePagina.Aggiungi(linea(0, 330, kLarga));
    r.IntestazionePagina.altezza = 370;
    r.Dettaglio.altezza = kRiga + 80;
}

// A narrow list: each record a block of caption and value pairs closed by a line.
std::unique_ptr<RapportoBande>
listaStretta(const QString& nome, const QString& testoTitolo,
             std::initializer_list<std::pair<QString, QString>> coppie) {
    auto r = std::make_unique<RapportoBande>(nome);
    titolo(*r, testoTitolo, false);
    int y = 40;
    for (const auto& [didascalia, nomeCampo] : coppie)
        y = coppia(r->Dettaglio, didascalia, nomeCampo, y);
    r->Dettaglio.Aggiungi(linea(0, y + 40, kStretta));
    r->Dettaglio.altezza = y + 100;
    pieConLinea(*r, kStretta);
    return r;
}

const std::map<QString, Fabbrica>& fabbriche() {
    static const std::map<QString, Fabbrica> f{
        {QStringLiteral("DR_ListaClienti"), &CatalogoRapporti::DR_ListaClienti},
        {QStringLiteral("DR_ListaClienti_n"), &CatalogoRapporti::DR_ListaClienti_n},
        {QStringLiteral("DR_ListaClienti_sub"), &CatalogoRapporti::DR_ListaClienti_sub},
        {QStringLiteral("DR_ListaClienti_sub_n"), &CatalogoRapporti::DR_ListaClienti_sub_n},
        {QStringLiteral("DR_ListaClienti_sin"), &CatalogoRapporti::DR_ListaClienti_sin},
        {QStringLiteral("DR_ListaClienti_sin_n"), &CatalogoRapporti::DR_ListaClienti_sin_n},
        {QStringLiteral("DR_ListaSMS"), &CatalogoRapporti::DR_ListaSMS},
        {QStringLiteral("DR_ListaSMS_n"), &CatalogoRapporti::DR_ListaSMS_n},
        {QStringLiteral("DR_ListaSMS_cliente"), &CatalogoRapporti::DR_ListaSMS_cliente},
        {QStringLiteral("DR_ListaSMS_cliente_n"), &CatalogoRapporti::DR_ListaSMS_cliente_n},
        {QStringLiteral("DR_SMS_singolo"), &CatalogoRapporti::DR_SMS_singolo},
        {QStringLiteral("DR_SMS_singolo_n"), &CatalogoRapporti::DR_SMS_singolo_n},
        {QStringLiteral("Dr_Volantino"), &CatalogoRapporti::Dr_Volantino},
        {QStringLiteral("Dr_Volantino_n"), &CatalogoRapporti::Dr_Volantino_n},
    };
    return f;
}

// One business card with its labels numbered from 10k + 1, at (x, y) of the detail band.
void bigliettoLargo(BandaRapporto& b, int k, int x, int y) {
    const auto nome = [k](int n) { return QStringLiteral("Label%1").arg(10 * k + n); };
    const auto in = [x, y](int dx, int dy, int w, int h) { return QRect(x + dx, y + dy, w, h); };
    b.Aggiungi(rettangolo(in(0, 0, 5040, 3165), QColor(), true));
    b.Aggiungi(rettangolo(in(283, 283, 4470, 450), kCelesteBiglietto, false));
    b.Aggiungi(fissa(etichetta(QStringLiteral("Nome Attività"), in(340, 300, 4356, 420), 20.25,
                               true, nome(1), Qt::AlignHCenter)));
    b.Aggiungi(linea(x + 283, y + 790, 4470));
    b.Aggiungi(fissa(etichetta(QStringLiteral("Informazioni e offerta"), in(283, 850, 4470, 1134),
                               11.25, false, nome(2))));
    b.Aggiungi(rettangolo(in(283, 2041, 4470, 857), kCelesteBiglietto, false));
    b.Aggiungi(tazza(in(340, 2080, 390, 285)));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Per Ordinare:"), in(780, 2090, 1250, 250), 9.75, true, nome(3))));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Telefono Gsm"), in(2180, 2090, 2520, 250), 9.75, true, nome(4))));
    b.Aggiungi(linea(x + 340, y + 2380, 4356));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Indirizzo:"), in(340, 2420, 900, 220), 8.25, true, nome(5))));
    b.Aggiungi(fissa(etichetta(QStringLiteral("Indirizzo Attività"), in(1250, 2420, 3450, 220),
                               8.25, false, nome(6))));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Contatto:"), in(340, 2650, 900, 220), 8.25, true, nome(7))));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Contatto"), in(1250, 2650, 1450, 220), 8.25, false, nome(8))));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Per Info:"), in(2750, 2650, 800, 220), 8.25, true, nome(9))));
    b.Aggiungi(fissa(
        etichetta(QStringLiteral("Telefono"), in(3560, 2650, 1150, 220), 8.25, false, nome(10))));
}

} // namespace

QStringList CatalogoRapporti::Nomi() {
    QStringList nomi;
    for (const auto& [nome, fabbrica] : fabbriche())
        nomi << nome;
    return nomi;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::Crea(const QString& nome) {
    const auto it = fabbriche().find(nome);
    return it == fabbriche().end() ? nullptr : it->second();
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaClienti"));
    titolo(*r, QStringLiteral("Lista Clienti"), true);
    colonneLarghe(*r, {{"ID", Campo::T1IdCliente, 227, 700},
                       {"Numero", Campo::T1Numero, 1000, 1400},
                       {"Nome", Campo::T1Nome, 2450, 2100},
                       {"Data Nascita", Campo::T1Nascita, 4600, 1200},
                       {"Indirizzo", Campo::T1Indirizzo, 5900, 2050},
                       {"Informazioni", Campo::T1Informazioni, 7994, 2494}});
    pieConPagina(*r, 8844, true);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti_n() {
    return listaStretta(QStringLiteral("DR_ListaClienti_n"), QStringLiteral("Lista Clienti"),
                        {{QStringLiteral("ID"), Campo::T1IdCliente},
                         {QStringLiteral("Numero"), Campo::T1Numero},
                         {QStringLiteral("Nome"), Campo::T1Nome},
                         {QStringLiteral("Data Nascita"), Campo::T1Nascita},
                         {QStringLiteral("Indirizzo"), Campo::T1Indirizzo},
                         {QStringLiteral("Informazioni"), Campo::T1Informazioni}});
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti_sub() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaClienti_sub"));
    titolo(*r, QStringLiteral("Lista Clienti Ridotta"), true);
    colonneLarghe(*r, {{"ID", Campo::T1IdCliente, 113, 1021},
                       {"Numero", Campo::T1Numero, 1134, 2041},
                       {"Nome", Campo::T1Nome, 3402, 2607}});
    pieConPagina(*r, 8844, false);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti_sub_n() {
    return listaStretta(QStringLiteral("DR_ListaClienti_sub_n"),
                        QStringLiteral("Lista Clienti Ridotta"),
                        {{QStringLiteral("ID"), Campo::T1IdCliente},
                         {QStringLiteral("Numero"), Campo::T1Numero},
                         {QStringLiteral("Nome"), Campo::T1Nome}});
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti_sin() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaClienti_sin"));
    titolo(*r, QStringLiteral("Stampa Cliente Singolo"), true);
    const struct {
        const char* didascalia;
        const char* campo;
        int larghezza;
    } righe[] = {{"Numero:", "Numero", 4000},
                 {"Nome:", "Nome", 8895},
                 {"Data Nascita:", "DataNascita", 3000},
                 {"Indirizzo:", "Indirizzo", 8895},
                 {"Informazioni:", "Informazioni", 8895}};
    int y = 100;
    for (const auto& riga : righe) {
        r->Dettaglio.Aggiungi(
            etichetta(QString::fromUtf8(riga.didascalia), QRect(170, y, 1280, 270), 9.75, true));
        r->Dettaglio.Aggiungi(
            campo(QString::fromLatin1(riga.campo), QRect(1474, y, riga.larghezza, 270), 9.75));
        y += 330;
    }
    r->Dettaglio.altezza = y + 100;
    pieConPagina(*r, 9071, false);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaClienti_sin_n() {
    return listaStretta(QStringLiteral("DR_ListaClienti_sin_n"),
                        QStringLiteral("Stampa Cliente Singolo"),
                        {{QStringLiteral("ID"), QStringLiteral("IDCliente")},
                         {QStringLiteral("Numero"), QStringLiteral("Numero")},
                         {QStringLiteral("Nome"), QStringLiteral("Nome")},
                         {QStringLiteral("Data Nascita"), QStringLiteral("DataNascita")},
                         {QStringLiteral("Indirizzo"), QStringLiteral("Indirizzo")},
                         {QStringLiteral("Informazioni"), QStringLiteral("Informazioni")}});
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaSMS() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaSMS"));
    titolo(*r, QStringLiteral("Lista SMS"), true);
    auto& d = r->Dettaglio;
    const int y1 = 40;
    const int y2 = y1 + kRiga + 30;
    d.Aggiungi(etichetta(QStringLiteral("ID"), QRect(113, y1, 400, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4IdSMS, QRect(520, y1, 700, kRiga), kLista));
    d.Aggiungi(etichetta(QStringLiteral("Nome"), QRect(1250, y1, 780, kRiga), kLista, true));
    d.Aggiungi(campo(RaccoltaDatiStampa::T4Nome, QRect(2041, y1, 1250, kRiga), kLista));
    d.Aggiungi(etichetta(QStringLiteral("Numero"), QRect(1250, y2, 780, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4Numero, QRect(2041, y2, 1250, kRiga), kLista));
    d.Aggiungi(
        etichetta(QStringLiteral("Data Arrivo"), QRect(3330, y1, 1580, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4DataArrivo, QRect(4932, y1, 1100, kRiga), kLista));
    d.Aggiungi(
        etichetta(QStringLiteral("Orario Arrivo"), QRect(3330, y2, 1580, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4OrarioArrivo, QRect(4932, y2, 1100, kRiga), kLista));
    d.Aggiungi(etichetta(QStringLiteral("SMS"), QRect(6080, y1, 540, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4TestoSmsRicevuto, QRect(6633, y1, 4025, 2 * kRiga), kLista));
    d.Aggiungi(linea(0, y2 + kRiga + 60, kLarga));
    d.altezza = y2 + kRiga + 100;
    pieConPagina(*r, 9128, true);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaSMS_n() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaSMS_n"));
    titolo(*r, QStringLiteral("Lista SMS"), false);
    auto& d = r->Dettaglio;
    int y = 40;
    y = coppia(d, QStringLiteral("ID"), Campo::T4IdSMS, y);
    y = coppia(d, QStringLiteral("Nome"), RaccoltaDatiStampa::T4Nome, y);
    y = coppia(d, QStringLiteral("Numero"), Campo::T4Numero, y);
    y = coppia(d, QStringLiteral("Data Arrivo"), Campo::T4DataArrivo, y);
    y = coppia(d, QStringLiteral("Orario Arrivo"), Campo::T4OrarioArrivo, y);
    d.Aggiungi(etichetta(QStringLiteral("Testo Ricevuto"), QRect(0, y, kStretta, kRiga - 30),
                         kBlocco, true));
    y += kRiga;
    d.Aggiungi(campo(Campo::T4TestoSmsRicevuto, QRect(0, y, kStretta, 2 * kRiga - 60), kBlocco));
    y += 2 * kRiga - 60;
    d.Aggiungi(linea(0, y + 40, kStretta));
    d.altezza = y + 100;
    pieConLinea(*r, kStretta);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaSMS_cliente() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaSMS_cliente"));
    titolo(*r, QStringLiteral("Lista SMS Singolo Cliente"), true);
    auto& d = r->Dettaglio;
    const int y1 = 40;
    const int y2 = y1 + kRiga + 30;
    d.Aggiungi(etichetta(QStringLiteral("Data Arrivo"), QRect(113, y1, 1400, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4DataArrivo, QRect(1550, y1, 1300, kRiga), kLista));
    d.Aggiungi(
        etichetta(QStringLiteral("Orario Arrivo"), QRect(3000, y1, 1500, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4OrarioArrivo, QRect(4550, y1, 1300, kRiga), kLista));
    d.Aggiungi(etichetta(QStringLiteral("SMS:"), QRect(113, y2, 780, kRiga), kLista, true));
    d.Aggiungi(campo(Campo::T4TestoSmsRicevuto, QRect(907, y2, 9638, kRiga), kLista));
    d.Aggiungi(linea(0, y2 + kRiga + 60, kLarga));
    d.altezza = y2 + kRiga + 100;
    pieConPagina(*r, 9184, false);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_ListaSMS_cliente_n() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_ListaSMS_cliente_n"));
    titolo(*r, QStringLiteral("Lista SMS Singolo cliente"), false);
    r->IntestazioneRapporto.Aggiungi(linea(0, 440, kStretta));
    r->IntestazioneRapporto.altezza = 520;
    auto& d = r->Dettaglio;
    int y = 40;
    y = coppia(d, QStringLiteral("Data Arrivo"), Campo::T4DataArrivo, y);
    y = coppia(d, QStringLiteral("Orario Arrivo"), Campo::T4OrarioArrivo, y);
    d.Aggiungi(etichetta(QStringLiteral("Testo Messaggio:"), QRect(0, y, kStretta, kRiga - 30),
                         kBlocco, true));
    y += kRiga;
    d.Aggiungi(campo(Campo::T4TestoSmsRicevuto, QRect(0, y, kStretta, kRiga - 30), kBlocco));
    y += kRiga;
    d.altezza = y + 60;
    pieConLinea(*r, kStretta);
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_SMS_singolo() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_SMS_singolo"));
    titolo(*r, QStringLiteral("Stampa SMS"), true);
    auto& d = r->Dettaglio;
    d.Aggiungi(linea(0, 0, kLarga));
    const auto valore = [](const QString& nome, QRect rect) {
        ControlloRapporto c = etichetta(QString(), rect, 12, false, nome);
        c.cresce = true;
        return c;
    };
    d.Aggiungi(etichetta(QStringLiteral("Data Arrivo:"), QRect(170, 150, 1620, 300), 12, true));
    d.Aggiungi(valore(QStringLiteral("LblDataArrivo"), QRect(1814, 150, 2000, 300)));
    d.Aggiungi(etichetta(QStringLiteral("Orario Arrivo:"), QRect(170, 480, 1620, 300), 12, true));
    d.Aggiungi(valore(QStringLiteral("LblOrarioArrivo"), QRect(1814, 480, 2000, 300)));
    d.Aggiungi(etichetta(QStringLiteral("Nome:"), QRect(3969, 150, 1170, 300), 12, true));
    d.Aggiungi(valore(QStringLiteral("LblNome"), QRect(5159, 150, 5500, 300)));
    d.Aggiungi(etichetta(QStringLiteral("Numero:"), QRect(3969, 480, 1170, 300), 12, true));
    d.Aggiungi(valore(QStringLiteral("LblNumero"), QRect(5159, 480, 5500, 300)));
    d.Aggiungi(
        etichetta(QStringLiteral("Testo Messaggio"), QRect(3969, 900, 4000, 380), 15.75, true));
    ControlloRapporto testo = etichetta(QString(), QRect(567, 1380, 9630, 1200), 15.75, false,
                                        QStringLiteral("LblTesto"));
    testo.cresce = true;
    d.Aggiungi(testo);
    d.Aggiungi(linea(0, 2700, kLarga));
    d.altezza = 2760;
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::DR_SMS_singolo_n() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("DR_SMS_singolo_n"));
    titolo(*r, QStringLiteral("Stampa SMS"), false);
    auto& d = r->Dettaglio;
    constexpr int kValore = 1247;
    const auto coppiaSms = [&](const QString& didascalia, const QString& nome, int y) {
        d.Aggiungi(etichetta(didascalia, QRect(0, y, kValore - 30, kRiga - 30), kBlocco, true));
        ControlloRapporto v = etichetta(
            QString(), QRect(kValore, y, kStretta - kValore, kRiga - 30), kBlocco, false, nome);
        v.cresce = true;
        d.Aggiungi(v);
        return y + kRiga;
    };
    d.Aggiungi(linea(0, 0, kStretta));
    int y = 60;
    y = coppiaSms(QStringLiteral("Data Arrivo:"), QStringLiteral("LblDataArrivo"), y);
    y = coppiaSms(QStringLiteral("Orario Arrivo:"), QStringLiteral("LblOrarioArrivo"), y);
    y = coppiaSms(QStringLiteral("Nome:"), QStringLiteral("LblNome"), y);
    y = coppiaSms(QStringLiteral("Numero:"), QStringLiteral("LblNumero"), y);
    d.Aggiungi(linea(0, y + 20, kStretta));
    y += 60;
    d.Aggiungi(etichetta(QStringLiteral("Testo Messaggio:"), QRect(0, y, kStretta, kRiga - 30),
                         kBlocco, true));
    y += kRiga;
    ControlloRapporto testo = etichetta(QString(), QRect(0, y, kStretta, 2 * kRiga - 60), kBlocco,
                                        false, QStringLiteral("LblTesto"));
    testo.cresce = true;
    d.Aggiungi(testo);
    y += 2 * kRiga - 60;
    d.Aggiungi(linea(0, y + 40, kStretta));
    d.altezza = y + 100;
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::Dr_Volantino() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("Dr_Volantino"));
    const int colonne[] = {0, 5726};
    const int righe[] = {0, 3798, 7654, 11452};
    int k = 0;
    for (int y : righe) {
        for (int x : colonne)
            bigliettoLargo(r->Dettaglio, k++, x, y);
    }
    r->Dettaglio.altezza = 14617;
    return r;
}

std::unique_ptr<RapportoBande> CatalogoRapporti::Dr_Volantino_n() {
    auto r = std::make_unique<RapportoBande>(QStringLiteral("Dr_Volantino_n"));
    auto& d = r->Dettaglio;
    d.Aggiungi(rettangolo(QRect(0, 0, kStretta, 450), kCelesteBiglietto, false));
    d.Aggiungi(fissa(etichetta(QStringLiteral("Nome Attività"), QRect(0, 20, kStretta, 420),
                               kTitoloStretto, true, QStringLiteral("Label1"), Qt::AlignHCenter)));
    d.Aggiungi(
        fissa(etichetta(QStringLiteral("Informazioni e offerta"), QRect(0, 566, kStretta, 1125),
                        9.75, false, QStringLiteral("Label2"))));
    d.Aggiungi(tazza(QRect(0, 1760, 390, 285)));
    d.Aggiungi(fissa(etichetta(QStringLiteral("Per Ordinare:"), QRect(450, 1760, 2555, 240), 9.75,
                               true, QStringLiteral("Label3"))));
    d.Aggiungi(fissa(etichetta(QStringLiteral("Telefono Gsm"), QRect(450, 2010, 2555, 240), 9.75,
                               true, QStringLiteral("Label4"))));
    const struct {
        const char* didascalia;
        const char* segnaposto;
        int n;
    } coppie[] = {{"Indirizzo:", "Indirizzo Attività", 5},
                  {"Contatto:", "Contatto", 7},
                  {"Per Info:", "Telefono", 9}};
    int y = 2330;
    for (const auto& c : coppie) {
        d.Aggiungi(fissa(etichetta(QString::fromUtf8(c.didascalia), QRect(0, y, 950, 220), kBlocco,
                                   true, QStringLiteral("Label%1").arg(c.n))));
        d.Aggiungi(
            fissa(etichetta(QString::fromUtf8(c.segnaposto), QRect(960, y, kStretta - 960, 440),
                            kBlocco, false, QStringLiteral("Label%1").arg(c.n + 1))));
        y += 450;
    }
    d.altezza = y + 60;
    return r;
}

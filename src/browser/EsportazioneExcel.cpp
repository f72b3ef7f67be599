#include "EsportazioneExcel.h"

#include "ModelloListaSms.h"
#include "platform/ErroreRuntime.h"
#include "platform/PermessiCondivisi.h"
#include "platform/Testo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <xlsxwriter.h>

namespace {

[[noreturn]] void NonSalvato(const QString& motivo) {
    throw ErroreRuntime(ErroreRuntime::SalvataggioFoglio,
                        QStringLiteral("Impossibile salvare il foglio di lavoro: ") + motivo);
}

void Verifica(lxw_error esito) {
    if (esito != LXW_NO_ERROR)
        NonSalvato(QString::fromUtf8(lxw_strerror(esito)));
}

// The workbook being written; one that was not completed is freed without writing anything.
class LibroXlsx {
public:
    explicit LibroXlsx(const QString& percorso) {
        lxw_workbook_options opzioni{};
        // Rows go to disk as they are written: memory stays flat whatever the list's size.
        opzioni.constant_memory = LXW_TRUE;
        wb_ = workbook_new_opt(QFile::encodeName(percorso).constData(), &opzioni);
        if (!wb_)
            NonSalvato(percorso);
    }
    ~LibroXlsx() {
        if (wb_)
            lxw_workbook_free(wb_);
    }
    LibroXlsx(const LibroXlsx&) = delete;
    LibroXlsx& operator=(const LibroXlsx&) = delete;

    lxw_workbook* get() const { return wb_; }
    void Chiudi() { Verifica(workbook_close(std::exchange(wb_, nullptr))); }

private:
    lxw_workbook* wb_ = nullptr;
};

// The text reads from `i` as "_xHHHH_", the format's escape of one UTF-16 unit.
bool sequenzaDiFuga(const QString& testo, qsizetype i) {
    const auto esadecimale = [](QChar h) {
        return (h >= u'0' && h <= u'9') || (h >= u'a' && h <= u'f') || (h >= u'A' && h <= u'F');
    };
    if (i + 7 > testo.size() || testo.at(i) != u'_' || testo.at(i + 1) != u'x' ||
        testo.at(i + 6) != u'_')
        return false;
    return std::all_of(testo.begin() + i + 2, testo.begin() + i + 6, esadecimale);
}

} // namespace

QString EsportazioneExcel::TestoCella(const QString& testo) {
    // Half a character has no form in XML.
    const QString intero = Testo::CaratteriInteri(testo);
    QString cella;
    qsizetype conMarca = 0; // the longest whole prefix that leaves room for "[…]"
    for (qsizetype i = 0; i < intero.size() && cella.size() <= MassimoCella; ++i) {
        const QChar c = intero.at(i);
        QString pezzo = c;
        if (c.isHighSurrogate()) {
            pezzo += intero.at(++i);
        } else if ((c.unicode() < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') ||
                   c.unicode() >= 0xFFFE || sequenzaDiFuga(intero, i)) {
            // Not allowed in XML, or an underscore that would read as an escape: escaped.
            pezzo = QStringLiteral("_x") +
                    QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0') +
                    QLatin1Char('_');
        }
        if (cella.size() + pezzo.size() <= MassimoCella - 3)
            conMarca = cella.size() + pezzo.size();
        cella += pezzo;
    }
    if (cella.size() > MassimoCella)
        cella = cella.left(conMarca) + QStringLiteral("[…]");
    return cella;
}

QString EsportazioneExcel::Cartella(const QString& cartellaProgramma) {
    return QDir(cartellaProgramma).filePath(QStringLiteral("Cartella File Excel"));
}

QString EsportazioneExcel::NomeFile(const QString& nomeSelezionato, const QDate& oggi) {
    const QString chi = nomeSelezionato.isEmpty() ? QStringLiteral("tutti") : nomeSelezionato;
    return QStringLiteral("ListaSMS_") + chi + QLatin1Char('_') +
           oggi.toString(QStringLiteral("dd-MM-yy")) + QStringLiteral(".xlsx");
}

void EsportazioneExcel::Scrivi(const QString& cartella, const QString& nomeFile,
                               const ModelloListaSms& lista) {
    // Only a plain name inside the folder: "/" would name another folder.
    if (nomeFile.contains(QLatin1Char('/')) || nomeFile.contains(QChar(0)))
        NonSalvato(nomeFile);
    if (!QFileInfo(cartella).isDir())
        NonSalvato(cartella);
    const QString destinazione = QDir(cartella).filePath(nomeFile);

    // Written beside the target under a name of its own, then renamed over it in one step.
    QTemporaryFile provvisorio(QDir(cartella).filePath(QStringLiteral(".ListaSMS-XXXXXX.xlsx")));
    if (!provvisorio.open())
        NonSalvato(provvisorio.errorString());
    provvisorio.close();

    {
        LibroXlsx libro(provvisorio.fileName());
        lxw_worksheet* foglio = workbook_add_worksheet(libro.get(), Foglio.toUtf8().constData());
        lxw_format* testo = workbook_add_format(libro.get());
        if (!foglio || !testo)
            NonSalvato(nomeFile);
        format_set_num_format(testo, "@");
        // The columns take the text format before any value is written.
        for (lxw_col_t c = 0; c < 5; ++c)
            Verifica(worksheet_set_column(foglio, c, c, Larghezze[c], testo));

        const QStringList intestazioni = ModelloListaSms::Colonne();
        for (lxw_col_t c = 0; c < 5; ++c)
            Verifica(
                worksheet_write_string(foglio, 0, c, intestazioni[c].toUtf8().constData(), testo));
        const int righe = lista.rowCount();
        for (int r = 0; r < righe; ++r) {
            const RigaListaSms riga = lista.Riga(r);
            const QString celle[] = {riga.numero, riga.nome, riga.data, riga.orario, riga.testo};
            for (int c = 0; c < 5; ++c)
                Verifica(worksheet_write_string(foglio, lxw_row_t(r + 1), lxw_col_t(c),
                                                TestoCella(celle[c]).toUtf8().constData(), testo));
        }
        libro.Chiudi();
    }

    // The temporary file is private to its owner; the workbook holds the customers' data, so it
    // is for the shop's users (the group of its folder) and nobody else, whatever the umask.
    if (!PermessiCondivisi::Applica(provvisorio.fileName(), PermessiCondivisi::Condiviso))
        NonSalvato(provvisorio.fileName());
    if (std::rename(QFile::encodeName(provvisorio.fileName()).constData(),
                    QFile::encodeName(destinazione).constData()) != 0)
        NonSalvato(destinazione);
    provvisorio.setAutoRemove(false);
}

#include "RecordsetInMemoria.h"

#include "platform/ErroreRuntime.h"

namespace {

ErroreRuntime nessunRecordCorrente() {
    return {ErroreRuntime::NessunRecordCorrente, QStringLiteral("Nessun record corrente.")};
}

} // namespace

RecordsetInMemoria::RecordsetInMemoria(QStringList campi, int larghezza)
    : campi_(std::move(campi))
    , larghezza_(larghezza) {}

void RecordsetInMemoria::Aggiungi(const QStringList& valori) {
    QStringList riga;
    for (qsizetype i = 0; i < campi_.size(); ++i)
        riga.append(i < valori.size() ? valori[i].left(larghezza_) : QString());
    righe_.append(riga);
}

void RecordsetInMemoria::MoveFirst() {
    posizione_ = 0;
    if (righe_.isEmpty())
        throw nessunRecordCorrente();
}

void RecordsetInMemoria::MoveNext() {
    if (isEOF())
        throw nessunRecordCorrente();
    ++posizione_;
}

int RecordsetInMemoria::indice(const QString& campo) const {
    for (qsizetype i = 0; i < campi_.size(); ++i) {
        if (campi_[i].compare(campo, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    throw ErroreRuntime(ErroreRuntime::ElementoNonTrovato,
                        QStringLiteral("Elemento non trovato in questo insieme."));
}

QString RecordsetInMemoria::Testo(const QString& campo) const {
    const int i = indice(campo);
    if (isEOF())
        throw nessunRecordCorrente();
    return righe_[posizione_][i];
}

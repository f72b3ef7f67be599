#include "Guardia.h"

#include "ErroreRuntime.h"
#include "MsgBox.h"

#include <exception>
#include <new>

Guardia::Guardia(QWidget* finestra)
    : finestra_(finestra) {}

bool Guardia::Esegui(const std::function<void()>& azione) {
    int numero = 0;
    QString descrizione;
    try {
        azione();
        mostrati_.clear();
        return true;
    } catch (const ErroreRuntime& e) {
        numero = e.Number();
        descrizione = e.Description();
    } catch (const std::bad_alloc&) {
        numero = ErroreRuntime::MemoriaEsaurita;
        descrizione = QStringLiteral("Memoria esaurita");
    } catch (const std::exception& e) {
        numero = ErroreRuntime::ErroreInterno;
        descrizione = QString::fromUtf8(e.what());
        if (descrizione.trimmed().isEmpty())
            descrizione = QStringLiteral("Errore interno");
    } catch (...) {
        numero = ErroreRuntime::ErroreInterno;
        descrizione = QStringLiteral("Errore interno");
    }
    // Shown outside the handler, so that the box's own event loop runs with no exception alive.
    segnala(numero, descrizione);
    return false;
}

void Guardia::segnala(int numero, const QString& descrizione) {
    const std::pair<int, QString> errore{numero, descrizione};
    if (mostrati_.contains(errore))
        return;
    // Noted before the box opens: ticks that fail the same way while it is open stay silent.
    mostrati_.append(errore);
    MsgBox(descrizione + QStringLiteral(" / ") + QString::number(numero), Stile::Critico, QString(),
           finestra_);
}

#include "DisposizioneElenco.h"

#include <algorithm>

DisposizioneElenco DisposizioneElenco::Calcola(QSize finestra, int larghezzaRiquadro,
                                               int altezzaTitolo) {
    const int w = finestra.width();
    const int h = finestra.height();
    const int margine = w * 3 / 100;
    const int larghezzaLista = (w - larghezzaRiquadro) * 85 / 100;
    const int larghezzaTitolo = larghezzaLista * 70 / 100;
    const int cima = Bordo + altezzaTitolo + Bordo;
    DisposizioneElenco d;
    d.titolo = QRect(margine + (larghezzaLista - larghezzaTitolo) / 2, Bordo, larghezzaTitolo,
                     altezzaTitolo);
    d.lista = QRect(margine, cima, larghezzaLista, std::max(0, h - cima - Bordo));
    d.riquadro = QRect(w - margine - larghezzaRiquadro, Bordo, larghezzaRiquadro,
                       std::max(0, h - 2 * Bordo));
    return d;
}

#pragma once

#include <QRect>
#include <QSize>

// The layout of the windows built around one list (the register, the campaign): the list takes
// 85 % of the width the button frame leaves, 3 % margins left and right, the title 70 % of the
// list's width centred over it, the frame at the right edge.
struct DisposizioneElenco {
    QRect titolo;
    QRect lista; // down to the bottom margin; a window may take its lower part for an editor
    QRect riquadro;

    static constexpr int Bordo = 10; // above the title, below the list, between the two

    static DisposizioneElenco Calcola(QSize finestra, int larghezzaRiquadro, int altezzaTitolo);
};

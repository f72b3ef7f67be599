#pragma once

#include <vector>

// Message boxes with the classic style values and answer codes.
// style = buttons (0 OK, 1 OK/Annulla, 2 Interrompi/Riprova/Ignora, 3 Sì/No/Annulla, 4 Sì/No,
// 5 Riprova/Annulla) + icon (16 critical, 32 question, 48 exclamation, 64 information)
// + default button (0 first, 256 second, 512 third). E.g. 36 = Sì/No with a question mark.
namespace Risposta {
constexpr int Ok = 1;
constexpr int Annulla = 2;
constexpr int Interrompi = 3;
constexpr int Riprova = 4;
constexpr int Ignora = 5;
constexpr int Si = 6;
constexpr int No = 7;
} // namespace Risposta

namespace Stile {
constexpr int SoloOk = 0;
constexpr int OkAnnulla = 1;
constexpr int InterrompiRiprovaIgnora = 2;
constexpr int SiNoAnnulla = 3;
constexpr int SiNo = 4;
constexpr int RiprovaAnnulla = 5;
constexpr int Critico = 16;
constexpr int Domanda = 32;
constexpr int Esclamazione = 48;
constexpr int Informazione = 64;
constexpr int SecondoPredefinito = 256;
constexpr int TerzoPredefinito = 512;
} // namespace Stile

// The answer codes of the style's buttons, in the order the buttons appear.
std::vector<int> RisposteDelloStile(int style);
// The answer a box gives when the user just presses Enter: its default button.
int RispostaPredefinita(int style);

// Writes notify.wav: a short, soft two-note chime (16-bit PCM, mono, 22050 Hz), made here from
// sine tones so that the program ships no sound it did not make itself.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {

void scrivi16(std::FILE* f, std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v & 0xff),
                                static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
}

void scrivi32(std::FILE* f, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        const unsigned char b = static_cast<unsigned char>((v >> (8 * i)) & 0xff);
        std::fwrite(&b, 1, 1, f);
    }
}

// A bell-like note: a fundamental with two soft partials, a quick attack and an exponential decay.
void aggiungiNota(std::vector<double>& campioni, int frequenzaCampioni, double inizio,
                  double frequenza, double durata, double volume) {
    const auto primo = static_cast<std::size_t>(inizio * frequenzaCampioni);
    const auto quanti = static_cast<std::size_t>(durata * frequenzaCampioni);
    if (campioni.size() < primo + quanti)
        campioni.resize(primo + quanti, 0.0);
    for (std::size_t i = 0; i < quanti; ++i) {
        const double t = double(i) / frequenzaCampioni;
        const double attacco = std::min(1.0, t / 0.008);
        const double decadimento = std::exp(-t * 5.5);
        const double w = 2.0 * std::numbers::pi * frequenza * t;
        const double onda = std::sin(w) + 0.35 * std::sin(2.0 * w) * std::exp(-t * 9.0) +
                            0.12 * std::sin(3.0 * w) * std::exp(-t * 14.0);
        campioni[primo + i] += volume * attacco * decadimento * onda;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: crea-suono <notify.wav>\n");
        return 2;
    }
    const int frequenzaCampioni = 22050;
    std::vector<double> campioni;
    aggiungiNota(campioni, frequenzaCampioni, 0.00, 880.00, 0.55, 0.30);  // A5
    aggiungiNota(campioni, frequenzaCampioni, 0.14, 1318.51, 0.75, 0.26); // E6

    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    const auto byteDati = static_cast<std::uint32_t>(campioni.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    scrivi32(f, 36 + byteDati);
    std::fwrite("WAVEfmt ", 1, 8, f);
    scrivi32(f, 16);
    scrivi16(f, 1); // PCM
    scrivi16(f, 1); // mono
    scrivi32(f, frequenzaCampioni);
    scrivi32(f, frequenzaCampioni * 2);
    scrivi16(f, 2);
    scrivi16(f, 16);
    std::fwrite("data", 1, 4, f);
    scrivi32(f, byteDati);
    for (double c : campioni) {
        const double limitato = std::max(-1.0, std::min(1.0, c));
        scrivi16(f, static_cast<std::uint16_t>(static_cast<std::int16_t>(limitato * 32767.0)));
    }
    return std::fclose(f) == 0 ? 0 : 1;
}

#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// What the benchmarks share: elapsed times, resident memory, medians, and the sqlcipher
// command-line tool timed as the floor of a query.
namespace Misure {

// The options every benchmark takes, --cartella <cartella> and --ripetizioni N; any other
// "--name value" goes to `altra`, which returns false for a name it does not know. False on an
// option nobody knows.
struct Opzioni {
    QString cartella;
    int ripetizioni = 5;
    // The folder given, or `temporanea` when none was.
    QString CartellaOppure(const QString& temporanea) const {
        return cartella.isEmpty() ? temporanea : cartella;
    }
};
bool LeggiOpzioni(const QStringList& argomenti, Opzioni& opzioni,
                  const std::function<bool(const QString&, const QString&)>& altra = {});

double Trascorso(const QElapsedTimer& t); // ms
// Resident memory in MB from /proc/self/status ("VmRSS", "VmHWM").
double MemoriaMb(const char* voce);
// Lets VmHWM measure the peak from now on.
void AzzeraPicco();
double Mediana(std::vector<double> v);

// What the `sqlcipher` tool is fed to key a file as the program does (ChiaveArchivio): the key
// and the pinned format; for an attached `schema` only its format (its key is in the ATTACH).
QString ChiaveCli(const QString& schema = QString());

// Runs `sqlcipher <cartella>/archivio.mdb`, fed the key and then `comandi`, and times the whole
// process: start, key derivation, query, output. -1 when the tool is missing or the output
// (when one is expected) is empty.
double SqlcipherCli(const QString& cartella, const QString& comandi, bool attendeUscita = true);

} // namespace Misure

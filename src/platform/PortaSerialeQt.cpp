#include "PortaSerialeQt.h"

#include "CodicePagina1252.h"
#include "ErroreRuntime.h"
#include "PorteCom.h"

#include <QElapsedTimer>
#include <poll.h>

namespace {

// What a noisy device may pile up between two reads; beyond it the device waits.
constexpr qint64 kMassimoInAttesa = 64 * 1024;

} // namespace

PortaSerialeQt::PortaSerialeQt(QString cartellaProgramma)
    : cartellaProgramma_(std::move(cartellaProgramma)) {
    porta_.setReadBufferSize(kMassimoInAttesa);
    // A hung-up device keeps reporting itself readable with nothing to read: stop listening to
    // it at once rather than spin until the next write.
    QObject::connect(
        &porta_, &QSerialPort::errorOccurred, &porta_, [this](QSerialPort::SerialPortError errore) {
            if ((errore == QSerialPort::ReadError || errore == QSerialPort::ResourceError) &&
                porta_.isOpen())
                perdi();
        });
}

void PortaSerialeQt::perdi() {
    consumati_ += porta_.bytesAvailable();
    porta_.close();
    perso_ = true;
}

// Qt 6.8 no longer reports a device that hung up (a modem or printer pulled out, the far end of
// a pseudo-terminal closed): the descriptor tells it itself, and it is then lost as above.
bool PortaSerialeQt::riagganciata() {
    if (porta_.isOpen()) {
        pollfd stato{int(porta_.handle()), POLLIN | POLLOUT, 0};
        if (::poll(&stato, 1, 0) > 0 && (stato.revents & (POLLHUP | POLLNVAL)))
            perdi();
    }
    return perso_;
}

PortaSerialeQt::~PortaSerialeQt() {
    if (porta_.isOpen())
        porta_.close();
}

void PortaSerialeQt::setCommPort(int numero) {
    if (PortOpen())
        Fallisci(ErroreRuntime::PortaGiaAperta);
    if (numero < 1 || numero > 16)
        Fallisci(ErroreRuntime::PortaNonValida);
    numero_ = numero;
}

void PortaSerialeQt::setPortOpen(bool aperta) {
    if (!aperta) {
        perso_ = false;
        if (porta_.isOpen()) {
            consumati_ += porta_.bytesAvailable(); // received, though nobody will read them
            porta_.close();
        }
        return;
    }
    if (PortOpen())
        Fallisci(ErroreRuntime::PortaGiaAperta);
    const QString dispositivo = PorteCom::Dispositivo(cartellaProgramma_, numero_);
    if (dispositivo.isEmpty())
        Fallisci(ErroreRuntime::PortaNonValida);
    porta_.setPortName(dispositivo);
    percorso_ = dispositivo;
    if (!porta_.open(QIODevice::ReadWrite)) {
        const auto errore = porta_.error();
        porta_.clearError();
        // Held by another program (or by this one through another object), or not ours to use.
        if (errore == QSerialPort::PermissionError || errore == QSerialPort::OpenError)
            Fallisci(ErroreRuntime::PortaGiaAperta);
        // Anything else: a device node with no device behind it.
        Fallisci(ErroreRuntime::PortaNonValida);
    }
    applicaImpostazioni();
    porta_.setDataTerminalReady(dtr_);
    porta_.clearError();
}

void PortaSerialeQt::setSettings(const QString& impostazioni) {
    settings_ = impostazioni;
    if (porta_.isOpen())
        applicaImpostazioni();
}

void PortaSerialeQt::applicaImpostazioni() {
    const QStringList parti = settings_.split(QLatin1Char(','));
    if (parti.size() != 4)
        return;
    bool ok = false;
    const int velocita = parti[0].trimmed().toInt(&ok);
    if (ok)
        porta_.setBaudRate(velocita);
    const QString parita = parti[1].trimmed().toUpper();
    switch (parita.isEmpty() ? 'N' : parita.at(0).toLatin1()) {
    case 'E':
        porta_.setParity(QSerialPort::EvenParity);
        break;
    case 'O':
        porta_.setParity(QSerialPort::OddParity);
        break;
    case 'M':
        porta_.setParity(QSerialPort::MarkParity);
        break;
    case 'S':
        porta_.setParity(QSerialPort::SpaceParity);
        break;
    default:
        porta_.setParity(QSerialPort::NoParity);
    }
    const int bit = parti[2].trimmed().toInt();
    if (bit >= 5 && bit <= 8)
        porta_.setDataBits(static_cast<QSerialPort::DataBits>(bit));
    const QString stop = parti[3].trimmed();
    porta_.setStopBits(stop == QLatin1String("2")     ? QSerialPort::TwoStop
                       : stop == QLatin1String("1.5") ? QSerialPort::OneAndHalfStop
                                                      : QSerialPort::OneStop);
    porta_.setFlowControl(QSerialPort::NoFlowControl);
    // A pseudo-terminal refuses some of these; that is not a failure of the port.
    porta_.clearError();
}

void PortaSerialeQt::setDTREnable(bool attivo) {
    dtr_ = attivo;
    if (porta_.isOpen()) {
        porta_.setDataTerminalReady(attivo);
        porta_.clearError();
    }
}

void PortaSerialeQt::leggiDisponibili() {
    // Ticks may come without the event loop having run: take what the device holds now.
    for (int giro = 0; giro < 8 && porta_.bytesAvailable() < kMassimoInAttesa; ++giro) {
        if (!porta_.waitForReadyRead(0))
            break;
    }
    // A device that has gone reports a read error; the missing replies tell the rest.
    porta_.clearError();
    // What came before a hang-up is still read; only then is the device taken as gone.
    if (porta_.bytesAvailable() == 0)
        riagganciata();
}

int PortaSerialeQt::InBufferCount() {
    if (!porta_.isOpen())
        return 0;
    leggiDisponibili();
    return porta_.isOpen() ? int(porta_.bytesAvailable()) : 0;
}

QString PortaSerialeQt::Input() {
    if (!porta_.isOpen())
        return {};
    leggiDisponibili();
    if (!porta_.isOpen())
        return {};
    const QByteArray letti = porta_.readAll();
    consumati_ += letti.size();
    return CodicePagina1252::Decodifica(letti);
}

void PortaSerialeQt::Output(const QString& testo) {
    giriAttesa_ = 0;
    if (riagganciata())
        Fallisci(ErroreRuntime::ScritturaSeriale);
    if (!porta_.isOpen())
        Fallisci(ErroreRuntime::PortaChiusa);
    const QByteArray byte = CodicePagina1252::Codifica(testo);
    if (porta_.write(byte) != byte.size()) {
        porta_.clearError();
        Fallisci(ErroreRuntime::ScritturaSeriale);
    }
    attendiInvio();
    scritti_ += byte.size();
}

// The text is out when the device has taken it. A printer at 9600 baud takes about a kilobyte a
// second, so a long document waits for it for as long as it keeps taking bytes; a device that
// takes nothing for a while, or reports a write error, fails the write.
void PortaSerialeQt::attendiInvio() {
    QElapsedTimer fermo;
    fermo.start();
    qint64 restanti = porta_.bytesToWrite();
    while (porta_.isOpen() && porta_.bytesToWrite() > 0) {
        // Writes only when the device can take bytes, so a full device is no error here.
        ++giriAttesa_;
        porta_.waitForBytesWritten(50);
        const auto errore = porta_.error();
        if (errore == QSerialPort::WriteError || errore == QSerialPort::ResourceError ||
            riagganciata()) {
            porta_.clearError();
            Fallisci(ErroreRuntime::ScritturaSeriale);
        }
        porta_.clearError();
        if (porta_.bytesToWrite() < restanti) {
            restanti = porta_.bytesToWrite();
            fermo.restart();
        } else if (fermo.elapsed() > attesaMassimaMs_) {
            Fallisci(ErroreRuntime::ScritturaSeriale);
        }
    }
    if (!porta_.isOpen())
        Fallisci(ErroreRuntime::ScritturaSeriale);
}

qint64 PortaSerialeQt::byteRicevuti() {
    if (!porta_.isOpen())
        return consumati_;
    leggiDisponibili();
    return consumati_ + porta_.bytesAvailable();
}

#pragma once
// One connection to the receipt printer, whatever carries it: a serial line,
// a printer device that is no serial line (a USB printer), or the network.
// The port class sees only this; each kind lives in a file of its own.
//
// Writes are queued and leave from the event loop, so the window never waits;
// what the printer sends back is kept until it is read.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <memory>

namespace zanti {

class DruckerVerbindung : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // False when the connection refuses the bytes; nothing is queued then.
    virtual bool schreiben(const QByteArray &bytes) = 0;
    // Bytes queued and not yet handed to the device.
    virtual qint64 zuSchreiben() const = 0;
    virtual qint64 wartend() const = 0;
    // hoechstens 0: everything waiting.
    virtual QByteArray lesen(qint64 hoechstens) = 0;
    virtual void eingangVerwerfen() = 0;
    // Waits until the queue is out or the deadline has passed. Only for the
    // end of the program: nothing else may wait for the printer.
    virtual void leeren(QDeadlineTimer frist) = 0;

signals:
    void geschrieben(qint64 anzahl);
    // The printer is gone: cable pulled, device removed, connection closed.
    void verloren();
};

// Why a connection did not open, as far as the system tells: the operator's
// message names the likely cause.
struct Oeffnungsfehler
{
    enum class Grund {
        Keiner,
        FehltGeraet,  // no such device: not plugged in, wrong name
        KeinZugriff,  // the user may not use the device
        Belegt,       // another program has it
        Steuerzeichen,
        Adresse,      // a network address that is wrong or not known
        Abgelehnt,    // the network printer refuses the connection
        KeineAntwort, // nobody answers in time
        Sonstiger,
    };
    Grund grund = Grund::Keiner;
    // KeinZugriff: the device's group, when its members may use it.
    QString gruppe;
    // Sonstiger: the system's own words.
    QString systemtext;
};

// Opens what schnittstellen.ini names: "tcp://host:port", or a device path
// (a serial line when the device is a terminal, else a plain device).
// Empty when it cannot be opened, and for names with control characters,
// which no device has and which the serial layer's lock files cannot take;
// *fehler then says why.
std::unique_ptr<DruckerVerbindung> VerbindungOeffnen(const QString &geraet,
                                                     Oeffnungsfehler *fehler = nullptr);

} // namespace zanti

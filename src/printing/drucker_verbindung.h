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

// Opens what schnittstellen.ini names: "tcp://host:port", or a device path
// (a serial line when the device is a terminal, else a plain device).
// Empty when it cannot be opened, and for names with control characters,
// which no device has and which the serial layer's lock files cannot take.
std::unique_ptr<DruckerVerbindung> VerbindungOeffnen(const QString &geraet);

} // namespace zanti

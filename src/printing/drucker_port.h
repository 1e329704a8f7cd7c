#pragma once
// The port of the receipt printer, offering just what the register has
// always used of its serial control: port number, input length, receive
// count, open state, output and input. What carries the bytes (a serial
// line, a USB printer device, the network) is the connection's business.
//
// Output never waits for the printer. A write that meets a closed or broken
// port is dropped and counted; the register keeps working without paper.
#include "printing/drucker_verbindung.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <deque>
#include <memory>

namespace zanti {

class DruckerPort : public QObject
{
    Q_OBJECT

public:
    static constexpr int kHoechsterPort = 16;
    // 9600 baud, 8N1: what the printer takes at most; bounds the wait at exit.
    static constexpr int kBytesProSekunde = 960;
    static constexpr int kNachlaufMs = 2000;

    explicit DruckerPort(QObject *eltern = nullptr);
    ~DruckerPort() override;

    // Refused while the port is open and for numbers outside 1 to 16.
    bool CommPortSetzen(int n);
    int CommPort() const { return m_commPort; }

    // 0: Input() returns everything waiting; n: at most n bytes.
    void InputLenSetzen(int n) { m_inputLen = qMax(0, n); }

    // Only 0 means something: it throws away what is waiting.
    void InBufferCountSetzen(int n);
    int InBufferCount() const;

    bool PortOpen() const;
    // Opens the device that stands for the port's COM number (a serial
    // line, a printer device or tcp://host:port). False when the port is
    // already open or the device cannot be opened.
    bool oeffnen(const QString &geraet);
    // Why the last oeffnen() failed; Keiner when the port was already open.
    const Oeffnungsfehler &oeffnungsfehler() const { return m_oeffnungsfehler; }
    // Output still on its way to the device is dropped and counted.
    void schliessen();
    // At the end of the program: what is queued may still go out, for as long
    // as it needs at 9600 baud plus two seconds; then the port closes.
    void ausgebenUndSchliessen();

    // The printer went away by itself (cable, device, connection) since the
    // port was last opened or closed on purpose.
    bool verbindungVerloren() const { return m_verloren; }

    void Output(const QByteArray &bytes);
    QByteArray Input();

    // Output calls that never fully reached the device.
    int verworfeneAusgaben() const { return m_verworfen; }
    // Output calls taken so far, and of those the ones the device has
    // taken whole, counted since the program started. A receipt whose last
    // write is not among the finished ones when the line breaks is not
    // known to be printed.
    qint64 ausgabenGenommen() const { return m_genommen; }
    qint64 ausgabenFertig() const { return m_fertig; }

signals:
    // Everything given to Output so far has reached the device.
    void alleGeschrieben();
    // A write met a closed or broken port (a printer unplugged mid-receipt).
    void ausgabeFehler();

private:
    void geschrieben(qint64 anzahl);
    void abgerissen();
    void offeneVerwerfen();
    void trennen();

    std::unique_ptr<DruckerVerbindung> m_verbindung;
    Oeffnungsfehler m_oeffnungsfehler;
    int m_commPort = 1;
    int m_inputLen = 0;
    int m_verworfen = 0;
    qint64 m_genommen = 0;
    qint64 m_fertig = 0;
    // The connection failed; it is closed at the next turn of the event
    // loop, never inside its own signal.
    bool m_defekt = false;
    bool m_verloren = false;
    // Sizes of the Output calls not yet confirmed as written, oldest first
    // (the first may be partly out).
    std::deque<qint64> m_offen;
};

} // namespace zanti

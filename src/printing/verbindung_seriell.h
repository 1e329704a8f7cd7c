#pragma once
// A serial line: 9600 baud, 8N1, no handshake.
#include "printing/drucker_verbindung.h"

#include <QSerialPort>

namespace zanti {

class VerbindungSeriell : public DruckerVerbindung
{
    Q_OBJECT

public:
    // Empty when the line cannot be opened; fehler says why.
    static std::unique_ptr<VerbindungSeriell> oeffnen(const QString &geraet, Oeffnungsfehler &fehler);
    ~VerbindungSeriell() override;

    bool schreiben(const QByteArray &bytes) override;
    qint64 zuSchreiben() const override { return m_port.bytesToWrite(); }
    qint64 wartend() const override { return m_port.bytesAvailable(); }
    QByteArray lesen(qint64 hoechstens) override;
    void eingangVerwerfen() override;
    void leeren(QDeadlineTimer frist) override;

private:
    VerbindungSeriell() = default;
    void fehler(QSerialPort::SerialPortError fehler);

    QSerialPort m_port;
    bool m_verloren = false;
};

} // namespace zanti

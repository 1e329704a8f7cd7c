#include "printing/verbindung_seriell.h"

namespace zanti {

std::unique_ptr<VerbindungSeriell> VerbindungSeriell::oeffnen(const QString &geraet, Oeffnungsfehler &fehler)
{
    std::unique_ptr<VerbindungSeriell> v(new VerbindungSeriell);
    QSerialPort &port = v->m_port;
    port.setPortName(geraet);
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        // The device itself opened a moment ago (on Unix), so a refusal now
        // is the lock of another program; on Windows it means the same.
        switch (port.error()) {
        case QSerialPort::DeviceNotFoundError:
            fehler.grund = Oeffnungsfehler::Grund::FehltGeraet;
            break;
        case QSerialPort::PermissionError:
            fehler.grund = Oeffnungsfehler::Grund::Belegt;
            break;
        default:
            fehler.grund = Oeffnungsfehler::Grund::Sonstiger;
            fehler.systemtext = port.errorString();
        }
        return {};
    }
    port.clearError();
    connect(&port, &QSerialPort::bytesWritten, v.get(), &DruckerVerbindung::geschrieben);
    connect(&port, &QSerialPort::errorOccurred, v.get(), &VerbindungSeriell::fehler);
    return v;
}

VerbindungSeriell::~VerbindungSeriell()
{
    // No signals from a half-destroyed object.
    m_port.disconnect(this);
}

bool VerbindungSeriell::schreiben(const QByteArray &bytes)
{
    return !m_verloren && m_port.write(bytes) == bytes.size();
}

QByteArray VerbindungSeriell::lesen(qint64 hoechstens)
{
    return hoechstens == 0 ? m_port.readAll() : m_port.read(hoechstens);
}

void VerbindungSeriell::eingangVerwerfen()
{
    m_port.clear(QSerialPort::Input);
    m_port.readAll();
}

void VerbindungSeriell::leeren(QDeadlineTimer frist)
{
    while (!m_verloren && m_port.bytesToWrite() > 0 && !frist.hasExpired()) {
        if (!m_port.waitForBytesWritten(int(qMax<qint64>(1, frist.remainingTime()))))
            break;
    }
}

void VerbindungSeriell::fehler(QSerialPort::SerialPortError fehler)
{
    // Only the faults of a line that was working count; a hang-up of the
    // device shows as a resource error.
    if (m_verloren || (fehler != QSerialPort::ResourceError && fehler != QSerialPort::WriteError))
        return;
    m_verloren = true;
    emit verloren();
}

} // namespace zanti

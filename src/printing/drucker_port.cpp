#include "printing/drucker_port.h"

#include "persistence/datei.h"
#include "persistence/ini_datei.h"

#include <QTimer>

namespace zanti {

namespace {

// Device paths can be long; the buffer only has to hold one.
constexpr int kGeraetPuffer = 1024;

} // namespace

QString ComGeraet(const QString &programmordner, int n)
{
    const QString schluessel = QStringLiteral("COM%1").arg(n);
    const QString eingetragen = IniLesen(ProgrammDatei(programmordner, QStringLiteral("schnittstellen.ini")),
                                         QStringLiteral("COM"), schluessel, kGeraetPuffer);
    if (eingetragen != kUnbekannt && !eingetragen.isEmpty())
        return eingetragen;
#ifdef Q_OS_WIN
    return schluessel;
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

DruckerPort::DruckerPort(const QString &programmordner, QObject *eltern)
    : QObject(eltern), m_programmordner(programmordner)
{
    connect(&m_port, &QSerialPort::bytesWritten, this, &DruckerPort::geschrieben);
    connect(&m_port, &QSerialPort::errorOccurred, this, &DruckerPort::fehler);
}

DruckerPort::~DruckerPort()
{
    // No signals from a half-destroyed object.
    m_port.disconnect(this);
}

bool DruckerPort::CommPortSetzen(int n)
{
    if (PortOpen() || n < 1 || n > kHoechsterPort)
        return false;
    m_commPort = n;
    return true;
}

void DruckerPort::InBufferCountSetzen(int n)
{
    if (n == 0 && PortOpen()) {
        m_port.clear(QSerialPort::Input);
        m_port.readAll();
    }
}

int DruckerPort::InBufferCount() const
{
    return PortOpen() ? static_cast<int>(m_port.bytesAvailable()) : 0;
}

bool DruckerPort::PortOpen() const
{
    return m_port.isOpen() && !m_defekt;
}

bool DruckerPort::oeffnen()
{
    if (PortOpen())
        return false;
    if (m_port.isOpen()) // broken and not yet closed
        schliessen();
    m_port.setPortName(ComGeraet(m_programmordner, m_commPort));
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_defekt = false;
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    m_port.clearError();
    return true;
}

void DruckerPort::schliessen()
{
    if (!m_port.isOpen())
        return;
    // Hand on what can go without waiting; the rest is lost.
    if (!m_defekt && m_port.bytesToWrite() > 0)
        m_port.flush();
    offeneVerwerfen();
    m_port.close();
    m_defekt = false;
}

void DruckerPort::Output(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (!PortOpen() || m_port.write(bytes) != bytes.size()) {
        ++m_verworfen;
        emit ausgabeFehler();
        return;
    }
    m_offen.push_back(bytes.size());
}

QByteArray DruckerPort::Input()
{
    if (!PortOpen())
        return {};
    return m_inputLen == 0 ? m_port.readAll() : m_port.read(m_inputLen);
}

void DruckerPort::geschrieben(qint64 anzahl)
{
    while (anzahl > 0 && !m_offen.empty()) {
        const qint64 teil = qMin(anzahl, m_offen.front());
        m_offen.front() -= teil;
        anzahl -= teil;
        if (m_offen.front() == 0)
            m_offen.pop_front();
    }
}

void DruckerPort::fehler(QSerialPort::SerialPortError fehler)
{
    // Open failures are the caller's business through oeffnen(); here only
    // the faults of a port that was working count.
    if (m_defekt || !m_port.isOpen())
        return;
    if (fehler != QSerialPort::ResourceError && fehler != QSerialPort::WriteError)
        return;
    m_defekt = true;
    if (!m_offen.empty()) {
        offeneVerwerfen();
        emit ausgabeFehler();
    }
    QTimer::singleShot(0, this, [this] {
        if (m_defekt)
            schliessen();
    });
}

void DruckerPort::offeneVerwerfen()
{
    m_verworfen += static_cast<int>(m_offen.size());
    m_offen.clear();
}

} // namespace zanti

#include "printing/drucker_port.h"

#include "printing/drucker_verbindung.h"

#include <QTimer>

namespace zanti {

DruckerPort::DruckerPort(QObject *eltern)
    : QObject(eltern)
{
}

DruckerPort::~DruckerPort()
{
    // No signals from a half-destroyed object.
    if (m_verbindung)
        m_verbindung->disconnect(this);
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
    if (n == 0 && PortOpen())
        m_verbindung->eingangVerwerfen();
}

int DruckerPort::InBufferCount() const
{
    return PortOpen() ? static_cast<int>(m_verbindung->wartend()) : 0;
}

bool DruckerPort::PortOpen() const
{
    return m_verbindung && !m_defekt;
}

bool DruckerPort::oeffnen(const QString &geraet)
{
    m_oeffnungsfehler = {};
    if (PortOpen())
        return false;
    trennen(); // broken and not yet closed
    m_verloren = false;
    m_verbindung = VerbindungOeffnen(geraet, &m_oeffnungsfehler);
    if (!m_verbindung)
        return false;
    connect(m_verbindung.get(), &DruckerVerbindung::geschrieben, this, &DruckerPort::geschrieben);
    connect(m_verbindung.get(), &DruckerVerbindung::verloren, this, &DruckerPort::abgerissen);
    return true;
}

void DruckerPort::schliessen()
{
    m_verloren = false;
    trennen();
}

void DruckerPort::ausgebenUndSchliessen()
{
    if (PortOpen()) {
        const qint64 zeitMs = m_verbindung->zuSchreiben() * 1000 / kBytesProSekunde + kNachlaufMs;
        m_verbindung->leeren(QDeadlineTimer(zeitMs));
    }
    schliessen();
}

void DruckerPort::trennen()
{
    if (!m_verbindung)
        return;
    // What has not gone yet is lost.
    offeneVerwerfen();
    m_fertig = m_genommen;
    m_verbindung->disconnect(this);
    m_verbindung.reset();
    m_defekt = false;
}

void DruckerPort::Output(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (!PortOpen() || !m_verbindung->schreiben(bytes)) {
        ++m_verworfen;
        emit ausgabeFehler();
        return;
    }
    m_offen.push_back(bytes.size());
    ++m_genommen;
}

QByteArray DruckerPort::Input()
{
    if (!PortOpen())
        return {};
    return m_verbindung->lesen(m_inputLen);
}

void DruckerPort::geschrieben(qint64 anzahl)
{
    if (m_offen.empty())
        return;
    while (anzahl > 0 && !m_offen.empty()) {
        const qint64 teil = qMin(anzahl, m_offen.front());
        m_offen.front() -= teil;
        anzahl -= teil;
        if (m_offen.front() == 0) {
            m_offen.pop_front();
            ++m_fertig;
        }
    }
    if (m_offen.empty())
        emit alleGeschrieben();
}

void DruckerPort::abgerissen()
{
    if (m_defekt)
        return;
    m_defekt = true;
    m_verloren = true;
    const int vorher = m_verworfen;
    offeneVerwerfen();
    if (m_verworfen != vorher)
        emit ausgabeFehler();
    // Those were told; from here the counts agree again.
    m_fertig = m_genommen;
    QTimer::singleShot(0, this, [this] {
        if (m_defekt)
            trennen();
    });
}

void DruckerPort::offeneVerwerfen()
{
    // Only what never reached the device is lost: the last bytes of the
    // queue. A confirmation of bytes that did go may still be on its way.
    qint64 uebrig = m_verbindung ? m_verbindung->zuSchreiben() : 0;
    while (uebrig > 0 && !m_offen.empty()) {
        uebrig -= m_offen.back();
        m_offen.pop_back();
        ++m_verworfen;
    }
    m_offen.clear();
}

} // namespace zanti

#include "printing/verbindung_netz.h"

#include <QUrl>

namespace zanti {

bool VerbindungNetz::istAdresse(const QString &geraet)
{
    return geraet.startsWith(u"tcp://", Qt::CaseInsensitive);
}

std::unique_ptr<VerbindungNetz> VerbindungNetz::oeffnen(const QString &adresse)
{
    const QUrl url(adresse, QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() || (!url.path().isEmpty() && url.path() != u"/") || url.hasQuery())
        return {};
    std::unique_ptr<VerbindungNetz> v(new VerbindungNetz);
    QTcpSocket &socket = v->m_socket;
    // Receipts are short bursts: no waiting to fill a packet.
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.connectToHost(url.host(), quint16(url.port(kStandardPort)));
    // Connecting does not run the event loop; it waits a short while at most.
    if (!socket.waitForConnected(kVerbindungsfristMs)) {
        socket.abort();
        return {};
    }
    connect(&socket, &QTcpSocket::bytesWritten, v.get(), &DruckerVerbindung::geschrieben);
    connect(&socket, &QTcpSocket::errorOccurred, v.get(), &VerbindungNetz::abgebrochen);
    connect(&socket, &QTcpSocket::disconnected, v.get(), &VerbindungNetz::abgebrochen);
    return v;
}

VerbindungNetz::~VerbindungNetz()
{
    m_socket.disconnect(this);
    m_socket.abort();
}

bool VerbindungNetz::schreiben(const QByteArray &bytes)
{
    return !m_verloren && m_socket.write(bytes) == bytes.size();
}

QByteArray VerbindungNetz::lesen(qint64 hoechstens)
{
    return hoechstens == 0 ? m_socket.readAll() : m_socket.read(hoechstens);
}

void VerbindungNetz::leeren(QDeadlineTimer frist)
{
    while (!m_verloren && m_socket.bytesToWrite() > 0 && !frist.hasExpired()) {
        if (!m_socket.waitForBytesWritten(int(qMax<qint64>(1, frist.remainingTime()))))
            break;
    }
}

void VerbindungNetz::abgebrochen()
{
    // Whatever was on its way is lost with the connection; the port counts it.
    if (m_verloren)
        return;
    m_verloren = true;
    emit verloren();
}

} // namespace zanti

#include "support/socket_drucker.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QTcpSocket>
#include <QTest>

#include <utility>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

namespace zanti::test {

namespace {

constexpr int kRuhezeitMs = 100;
constexpr int kSchrittMs = 5;

} // namespace

SocketDrucker::SocketDrucker()
{
    m_bereit = m_tcp.listen(QHostAddress::LocalHost, 0);
    m_adresse = u"tcp://127.0.0.1:%1"_qs.arg(m_tcp.serverPort());
    QObject::connect(&m_tcp, &QTcpServer::newConnection, &m_tcp, [this] {
        while (QTcpSocket *s = m_tcp.nextPendingConnection())
            annehmen(s);
    });
}

SocketDrucker::SocketDrucker(const QString &pfad)
{
    QLocalServer::removeServer(pfad);
    m_bereit = m_lokal.listen(pfad);
    m_adresse = pfad;
    QObject::connect(&m_lokal, &QLocalServer::newConnection, &m_lokal, [this] {
        while (QLocalSocket *s = m_lokal.nextPendingConnection())
            annehmen(s);
    });
}

void SocketDrucker::annehmen(QIODevice *verbindung)
{
    // The newest connection is the printer's; an older one is gone.
    if (m_verbindung)
        m_verbindung->deleteLater();
    m_verbindung = verbindung;
    ++m_verbindungen;
    QObject::connect(verbindung, &QIODevice::readyRead, verbindung, [this] { lesen(); });
}

void SocketDrucker::lesen()
{
    if (m_verbindung)
        m_eingang += m_verbindung->readAll();
}

QByteArray SocketDrucker::empfangen(int wartezeitMs)
{
    QDeadlineTimer frist(wartezeitMs);
    while (m_eingang.isEmpty() && !frist.hasExpired())
        QTest::qWait(kSchrittMs);
    if (!m_eingang.isEmpty()) {
        QDeadlineTimer ruhe(kRuhezeitMs);
        while (!ruhe.hasExpired()) {
            const qsizetype vorher = m_eingang.size();
            QTest::qWait(kSchrittMs);
            if (m_eingang.size() != vorher)
                ruhe.setRemainingTime(kRuhezeitMs);
        }
    }
    return std::exchange(m_eingang, {});
}

QByteArray SocketDrucker::empfangenBis(qsizetype anzahlBytes, int wartezeitMs)
{
    QDeadlineTimer frist(wartezeitMs);
    while (m_eingang.size() < anzahlBytes && !frist.hasExpired())
        QTest::qWait(kSchrittMs);
    return std::exchange(m_eingang, {});
}

void SocketDrucker::senden(const QByteArray &bytes)
{
    if (m_verbindung)
        m_verbindung->write(bytes);
}

void SocketDrucker::trennen()
{
    if (!m_verbindung)
        return;
    auto *tcp = qobject_cast<QTcpSocket *>(m_verbindung);
#ifdef Q_OS_UNIX
    // A reset, not an orderly end: what the register sends next is refused.
    if (tcp) {
        const linger sofort{1, 0};
        ::setsockopt(int(tcp->socketDescriptor()), SOL_SOCKET, SO_LINGER, &sofort, sizeof sofort);
    }
#endif
    if (tcp)
        tcp->abort();
    else if (auto *lokal = qobject_cast<QLocalSocket *>(m_verbindung))
        lokal->abort();
    m_verbindung->deleteLater();
    m_verbindung = nullptr;
    m_eingang.clear();
}

} // namespace zanti::test

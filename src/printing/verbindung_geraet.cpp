#include "printing/verbindung_geraet.h"

#ifdef Q_OS_UNIX

#include <QSocketNotifier>

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zanti {

namespace {

// One write at a time; a device takes what it can.
constexpr qsizetype kHoechstensAufEinmal = 64 * 1024;

// Errors after which the device is gone for good.
bool Weg(int fehler)
{
    return fehler == ENODEV || fehler == ENXIO || fehler == EPIPE || fehler == ECONNRESET
        || fehler == ESHUTDOWN || fehler == ENOTCONN;
}

} // namespace

VerbindungGeraet::VerbindungGeraet(int deskriptor, bool istSocket)
    : m_fd(deskriptor), m_socket(istSocket)
{
    m_lesen = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    m_schreiben = new QSocketNotifier(m_fd, QSocketNotifier::Write, this);
    m_schreiben->setEnabled(false);
    connect(m_lesen, &QSocketNotifier::activated, this, &VerbindungGeraet::einlesen);
    connect(m_schreiben, &QSocketNotifier::activated, this, &VerbindungGeraet::ausgeben);
}

VerbindungGeraet::~VerbindungGeraet()
{
    delete m_lesen;
    delete m_schreiben;
    ::close(m_fd);
}

bool VerbindungGeraet::schreiben(const QByteArray &bytes)
{
    if (m_verloren)
        return false;
    // Out from the event loop, as a serial line does it.
    m_ausgang += bytes;
    m_schreiben->setEnabled(true);
    return true;
}

void VerbindungGeraet::ausgeben()
{
    while (!m_verloren && !m_ausgang.isEmpty()) {
        const size_t laenge = size_t(qMin(m_ausgang.size(), kHoechstensAufEinmal));
        // A closed socket must not end the program with SIGPIPE.
        const ssize_t n = m_socket ? ::send(m_fd, m_ausgang.constData(), laenge, MSG_NOSIGNAL)
                                   : ::write(m_fd, m_ausgang.constData(), laenge);
        if (n > 0) {
            m_ausgang.remove(0, n);
            emit geschrieben(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return; // the notifier says when it takes more
        abbrechen();
        return;
    }
    if (m_ausgang.isEmpty())
        m_schreiben->setEnabled(false);
}

void VerbindungGeraet::einlesen()
{
    char puffer[4096];
    while (!m_verloren) {
        const ssize_t n = ::read(m_fd, puffer, sizeof puffer);
        if (n > 0) {
            m_eingang.append(puffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return;
        if ((n == 0 && m_socket) || (n < 0 && Weg(errno))) {
            abbrechen();
            return;
        }
        // A printer that sends nothing back (or cannot): stop asking, the
        // writes still tell when it is gone.
        m_lesen->setEnabled(false);
        return;
    }
}

QByteArray VerbindungGeraet::lesen(qint64 hoechstens)
{
    if (hoechstens == 0 || hoechstens >= m_eingang.size())
        return std::exchange(m_eingang, {});
    const QByteArray teil = m_eingang.left(hoechstens);
    m_eingang.remove(0, hoechstens);
    return teil;
}

void VerbindungGeraet::eingangVerwerfen()
{
    einlesen();
    m_eingang.clear();
}

void VerbindungGeraet::leeren(QDeadlineTimer frist)
{
    while (!m_verloren && !m_ausgang.isEmpty() && !frist.hasExpired()) {
        pollfd p{m_fd, POLLOUT, 0};
        if (::poll(&p, 1, int(qMax<qint64>(1, frist.remainingTime()))) < 0 && errno != EINTR)
            return;
        ausgeben();
    }
}

void VerbindungGeraet::abbrechen()
{
    m_verloren = true;
    m_lesen->setEnabled(false);
    m_schreiben->setEnabled(false);
    // m_ausgang stays: the port counts what never went.
    emit verloren();
}

} // namespace zanti

#endif

#include "support/pseudo_terminal.h"

#include <QDeadlineTimer>
#include <QTest>

#include <atomic>
#include <thread>
#include <utility>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace zanti::test {

namespace {

// How long the line must stay quiet before a burst counts as complete.
constexpr int kRuhezeitMs = 100;
constexpr int kSchrittMs = 5;

} // namespace

#ifdef Q_OS_UNIX

PseudoTerminal::PseudoTerminal()
{
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        qWarning("pseudo-terminal: no master (%s)", strerror(errno));
        schliessen();
        return;
    }
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
    const char *name = ::ptsname(m_master);
    m_geraet = name ? QString::fromLocal8Bit(name) : QString();
    m_slave = name ? ::open(name, O_RDWR | O_NOCTTY) : -1;
    if (m_slave < 0) {
        qWarning("pseudo-terminal: no slave (%s)", strerror(errno));
        schliessen();
        return;
    }
    // No echo and no line editing: bytes pass as they are in both directions.
    termios t{};
    ::tcgetattr(m_slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(m_slave, TCSANOW, &t);
}

#else

// No pseudo-terminals here: offen() stays false and the tests skip.
PseudoTerminal::PseudoTerminal() = default;

#endif

PseudoTerminal::~PseudoTerminal()
{
    schliessen();
}

void PseudoTerminal::lesen()
{
#ifdef Q_OS_UNIX
    if (m_master < 0)
        return;
    char puffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, puffer, sizeof puffer);
        if (n > 0) {
            m_eingang.append(puffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // EAGAIN: nothing more for now; EIO cannot happen while our own
        // slave descriptor is open, and would mean the same.
        return;
    }
#endif
}

QByteArray PseudoTerminal::empfangen(int wartezeitMs)
{
    QDeadlineTimer frist(wartezeitMs);
    lesen();
    while (m_eingang.isEmpty() && !frist.hasExpired() && offen()) {
        QTest::qWait(kSchrittMs);
        lesen();
    }
    if (!m_eingang.isEmpty()) {
        QDeadlineTimer ruhe(kRuhezeitMs);
        while (!ruhe.hasExpired()) {
            const qsizetype vorher = m_eingang.size();
            QTest::qWait(kSchrittMs);
            lesen();
            if (m_eingang.size() != vorher)
                ruhe.setRemainingTime(kRuhezeitMs);
        }
    }
    return std::exchange(m_eingang, {});
}

QByteArray PseudoTerminal::empfangenBis(qsizetype anzahlBytes, int wartezeitMs)
{
    QDeadlineTimer frist(wartezeitMs);
    lesen();
    while (m_eingang.size() < anzahlBytes && !frist.hasExpired() && offen()) {
        QTest::qWait(kSchrittMs);
        lesen();
    }
    return std::exchange(m_eingang, {});
}

QByteArray PseudoTerminal::empfangenWaehrend(const std::function<void()> &aktion,
                                             qsizetype anzahlBytes, int wartezeitMs)
{
    // Only the reader touches m_eingang until it is joined; once aktion is
    // done it stops when the line has been quiet for a while.
    std::atomic<bool> fertig{false};
    std::thread leser([this, anzahlBytes, wartezeitMs, &fertig] {
        QDeadlineTimer frist(wartezeitMs);
        QDeadlineTimer ruhe(kRuhezeitMs);
        while (m_eingang.size() < anzahlBytes && !frist.hasExpired() && offen()
               && !(fertig && ruhe.hasExpired())) {
#ifdef Q_OS_UNIX
            pollfd p{m_master, POLLIN, 0};
            ::poll(&p, 1, kSchrittMs);
#endif
            const qsizetype vorher = m_eingang.size();
            lesen();
            if (m_eingang.size() != vorher || !fertig)
                ruhe.setRemainingTime(kRuhezeitMs);
        }
    });
    aktion();
    fertig = true;
    leser.join();
    return std::exchange(m_eingang, {});
}

void PseudoTerminal::senden(const QByteArray &bytes)
{
#ifdef Q_OS_UNIX
    qsizetype gesendet = 0;
    while (m_master >= 0 && gesendet < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + gesendet,
                                  static_cast<size_t>(bytes.size() - gesendet));
        if (n > 0) {
            gesendet += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, kSchrittMs);
        } else {
            qWarning("pseudo-terminal: write failed (%s)", strerror(errno));
            return;
        }
    }
#else
    Q_UNUSED(bytes);
#endif
}

void PseudoTerminal::schliessen()
{
#ifdef Q_OS_UNIX
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
#endif
    m_slave = -1;
    m_master = -1;
}

void PseudoTerminal::letzterSchliessenderWeg()
{
#ifdef Q_OS_UNIX
    if (m_slave >= 0)
        ::ioctl(m_slave, TIOCNXCL);
#endif
}

} // namespace zanti::test

#include "app/signale.h"

#ifdef Q_OS_UNIX
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zanti {

#ifdef Q_OS_UNIX

namespace {

// The handler only writes a byte; the event loop reads it.
int g_signalPaar[2] = {-1, -1};

void SignalEmpfangen(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPaar[0], &byte, 1);
}

} // namespace

void SignaleAbfangen()
{
    if (g_signalPaar[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPaar) != 0)
        return;
    struct sigaction aktion {};
    aktion.sa_handler = SignalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &aktion, nullptr);
}

void BeiSignal(QObject *kontext, std::function<void()> beenden)
{
    SignaleAbfangen();
    if (g_signalPaar[1] < 0)
        return;
    auto *melder = new QSocketNotifier(g_signalPaar[1], QSocketNotifier::Read, kontext);
    QObject::connect(melder, &QSocketNotifier::activated, kontext, [beenden = std::move(beenden)] {
        char byte;
        [[maybe_unused]] const auto n = ::read(g_signalPaar[1], &byte, 1);
        beenden();
    });
}

#else

void SignaleAbfangen() {}

void BeiSignal(QObject *, std::function<void()>) {}

#endif

} // namespace zanti

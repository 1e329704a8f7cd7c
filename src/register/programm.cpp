// Running the register as a program: maximised window, and the signals of a
// shutting-down PC or a closing terminal end it as closing the window does.
#include "register/kasse.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zanti {

namespace {

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

int KasseAusfuehren(QApplication &app, const QString &programmordner, const Programmversion &version)
{
    // A signal that arrived during start-up waits in the pipe and ends the
    // program from the event loop, through the normal shutdown, never halfway.
    SignaleAbfangen();
    QPointer<Kasse> fenster;
    if (g_signalPaar[1] >= 0) {
        auto *melder = new QSocketNotifier(g_signalPaar[1], QSocketNotifier::Read, &app);
        QObject::connect(melder, &QSocketNotifier::activated, &app, [&fenster, &app] {
            char byte;
            [[maybe_unused]] const auto n = ::read(g_signalPaar[1], &byte, 1);
            if (fenster)
                fenster->close();
            // A failed save is on stderr; the PC is going down, nobody waits for OK.
            app.quit();
        });
    }

    auto *kasse = new Kasse(programmordner, version);
    fenster = kasse;
    kasse->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(kasse, &Kasse::beendet, &app, &QCoreApplication::quit, Qt::QueuedConnection);

    app.setQuitOnLastWindowClosed(false);
    kasse->zeigen();
    return app.exec();
}

} // namespace zanti

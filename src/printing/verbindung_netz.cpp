#include "printing/verbindung_netz.h"

#include <QUrl>

#ifdef Q_OS_UNIX
#include "printing/verbindung_geraet.h"

#include <QDeadlineTimer>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#endif

namespace zanti {

bool IstNetzadresse(const QString &geraet)
{
    return geraet.startsWith(u"tcp://", Qt::CaseInsensitive);
}

#ifdef Q_OS_UNIX

namespace {

using Adressen = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

// The addresses of host, looked up within the deadline. A name server that
// does not answer must not hold up the window: the lookup goes on in a thread
// of its own, which cleans up after itself whenever it ends.
Adressen Nachschlagen(const QByteArray &rechner, const QByteArray &port, QDeadlineTimer frist)
{
    struct Suche
    {
        std::mutex sperre;
        std::condition_variable fertig;
        bool erledigt = false;
        addrinfo *ergebnis = nullptr;
        ~Suche()
        {
            if (ergebnis)
                ::freeaddrinfo(ergebnis);
        }
    };
    auto suche = std::make_shared<Suche>();
    std::thread([suche, rechner, port] {
        addrinfo wunsch{};
        wunsch.ai_family = AF_UNSPEC;
        wunsch.ai_socktype = SOCK_STREAM;
        addrinfo *ergebnis = nullptr;
        if (::getaddrinfo(rechner.constData(), port.constData(), &wunsch, &ergebnis) != 0)
            ergebnis = nullptr;
        const std::lock_guard halten(suche->sperre);
        suche->ergebnis = ergebnis;
        suche->erledigt = true;
        suche->fertig.notify_all();
    }).detach();
    std::unique_lock warten(suche->sperre);
    suche->fertig.wait_for(warten, std::chrono::milliseconds(qMax<qint64>(0, frist.remainingTime())),
                           [&] { return suche->erledigt; });
    return Adressen(std::exchange(suche->ergebnis, nullptr), &::freeaddrinfo);
}

// A connected, non-blocking socket to one of the addresses, or -1 with the
// error of the last try in *letzter.
int Verbinden(const addrinfo *adressen, QDeadlineTimer frist, int *letzter)
{
    *letzter = ETIMEDOUT;
    for (const addrinfo *a = adressen; a && !frist.hasExpired(); a = a->ai_next) {
        const int s = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (s < 0)
            continue;
        int fehler = ::connect(s, a->ai_addr, a->ai_addrlen) == 0 ? 0 : errno;
        if (fehler == EINPROGRESS) {
            pollfd p{s, POLLOUT, 0};
            int bereit;
            do
                bereit = ::poll(&p, 1, int(qMax<qint64>(0, frist.remainingTime())));
            while (bereit < 0 && errno == EINTR);
            socklen_t laenge = sizeof fehler;
            if (bereit <= 0 || ::getsockopt(s, SOL_SOCKET, SO_ERROR, &fehler, &laenge) != 0)
                fehler = ETIMEDOUT;
        }
        if (fehler == 0) {
            // Receipts are short bursts: no waiting to fill a packet.
            const int an = 1;
            ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &an, sizeof an);
            return s;
        }
        *letzter = fehler;
        ::close(s);
    }
    return -1;
}

} // namespace

std::unique_ptr<DruckerVerbindung> NetzOeffnen(const QString &adresse, Oeffnungsfehler &fehler)
{
    const QUrl url(adresse, QUrl::StrictMode);
    fehler.grund = Oeffnungsfehler::Grund::Adresse;
    if (!url.isValid() || url.host().isEmpty() || (!url.path().isEmpty() && url.path() != u"/") || url.hasQuery())
        return {};
    // Connecting does not run the event loop; it waits a short while at most.
    const QDeadlineTimer frist(kNetzFristMs);
    const Adressen adressen = Nachschlagen(url.host(QUrl::FullyEncoded).toLatin1(),
                                           QByteArray::number(url.port(kNetzStandardPort)), frist);
    if (!adressen)
        return {};
    int letzter = 0;
    const int s = Verbinden(adressen.get(), frist, &letzter);
    if (s < 0) {
        fehler.grund = letzter == ECONNREFUSED ? Oeffnungsfehler::Grund::Abgelehnt
                                               : Oeffnungsfehler::Grund::KeineAntwort;
        return {};
    }
    fehler = {};
    return std::make_unique<VerbindungGeraet>(s, true);
}

#else

std::unique_ptr<DruckerVerbindung> NetzOeffnen(const QString &, Oeffnungsfehler &fehler)
{
    fehler.grund = Oeffnungsfehler::Grund::Sonstiger;
    return {};
}

#endif

} // namespace zanti

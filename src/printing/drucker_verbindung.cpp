#include "printing/drucker_verbindung.h"

#include "printing/verbindung_netz.h"
#include "printing/verbindung_seriell.h"

#include <QFile>
#include <algorithm>

#ifdef Q_OS_UNIX
#include "printing/verbindung_geraet.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace zanti {

namespace {

bool Steuerzeichen(QChar c)
{
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
}

#ifdef Q_OS_UNIX

// The group whose members may read and write the device; empty when the
// group cannot (only its owner may) or is root's.
QString Geraetegruppe(const QByteArray &pfad)
{
    struct stat info {};
    if (::stat(pfad.constData(), &info) != 0 || info.st_gid == 0
        || (info.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP))
        return {};
    const group *g = ::getgrgid(info.st_gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString();
}

Oeffnungsfehler AusErrno(int nummer, const QByteArray &pfad)
{
    Oeffnungsfehler f;
    switch (nummer) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
        f.grund = Oeffnungsfehler::Grund::FehltGeraet;
        break;
    case EACCES:
    case EPERM:
        f.grund = Oeffnungsfehler::Grund::KeinZugriff;
        f.gruppe = Geraetegruppe(pfad);
        break;
    case EBUSY:
        f.grund = Oeffnungsfehler::Grund::Belegt;
        break;
    case ECONNREFUSED:
        f.grund = Oeffnungsfehler::Grund::Abgelehnt;
        break;
    default:
        f.grund = Oeffnungsfehler::Grund::Sonstiger;
        f.systemtext = QString::fromLocal8Bit(std::strerror(nummer));
    }
    return f;
}

// A device that is no terminal, or a local socket. Empty for a terminal (the
// serial line takes it; istTerminal says so) and for what cannot be opened.
std::unique_ptr<DruckerVerbindung> GeraetOeffnen(const QByteArray &pfad, bool &istTerminal,
                                                 Oeffnungsfehler &fehler)
{
    istTerminal = false;
    const int fd = ::open(pfad.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        istTerminal = ::isatty(fd);
        if (istTerminal) {
            ::close(fd);
            return {};
        }
        return std::make_unique<VerbindungGeraet>(fd, false);
    }
    fehler = AusErrno(errno, pfad);
    struct stat info {};
    sockaddr_un adresse{};
    if (errno != ENXIO || ::stat(pfad.constData(), &info) != 0 || !S_ISSOCK(info.st_mode)
        || size_t(pfad.size()) >= sizeof adresse.sun_path)
        return {};
    const int s = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0)
        return {};
    adresse.sun_family = AF_UNIX;
    std::memcpy(adresse.sun_path, pfad.constData(), size_t(pfad.size()));
    // A local socket answers at once or not at all.
    if (::connect(s, reinterpret_cast<const sockaddr *>(&adresse), sizeof adresse) != 0) {
        fehler = AusErrno(errno, pfad);
        ::close(s);
        return {};
    }
    return std::make_unique<VerbindungGeraet>(s, true);
}

#endif

} // namespace

std::unique_ptr<DruckerVerbindung> VerbindungOeffnen(const QString &geraet, Oeffnungsfehler *fehler)
{
    Oeffnungsfehler ohne;
    Oeffnungsfehler &f = fehler ? *fehler : ohne;
    f = {};
    if (geraet.isEmpty()) {
        f.grund = Oeffnungsfehler::Grund::FehltGeraet;
        return {};
    }
    if (std::any_of(geraet.cbegin(), geraet.cend(), Steuerzeichen)) {
        f.grund = Oeffnungsfehler::Grund::Steuerzeichen;
        return {};
    }
    if (IstNetzadresse(geraet))
        return NetzOeffnen(geraet, f);
#ifdef Q_OS_UNIX
    bool istTerminal = false;
    if (auto v = GeraetOeffnen(QFile::encodeName(geraet), istTerminal, f))
        return v;
    if (!istTerminal)
        return {};
#endif
    return VerbindungSeriell::oeffnen(geraet, f);
}

} // namespace zanti

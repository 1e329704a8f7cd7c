#include "persistence/ordner_sperre.h"

#include "persistence/datei.h"

#ifdef Q_OS_UNIX
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#else
#include <QLockFile>
#endif

namespace zanti {

namespace {

const QString kSperrdatei = QStringLiteral("kasse.lock");

} // namespace

#ifdef Q_OS_UNIX

OrdnerSperre::OrdnerSperre(const QString &programmordner)
{
    const QByteArray pfad = QFile::encodeName(ProgrammDatei(programmordner, kSperrdatei));
    m_datei = ::open(pfad.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_datei < 0) // someone else's file, or a folder we cannot write
        m_datei = ::open(pfad.constData(), O_RDONLY | O_CLOEXEC);
    if (m_datei < 0)
        return;
    int ergebnis;
    do
        ergebnis = ::flock(m_datei, LOCK_EX | LOCK_NB);
    while (ergebnis != 0 && errno == EINTR);
    m_belegt = ergebnis != 0 && errno == EWOULDBLOCK;
}

OrdnerSperre::~OrdnerSperre()
{
    if (m_datei >= 0)
        ::close(m_datei);
}

#else

OrdnerSperre::OrdnerSperre(const QString &programmordner)
    : m_sperre(std::make_unique<QLockFile>(ProgrammDatei(programmordner, kSperrdatei)))
{
    // The lock file names its process; one whose process is gone is taken
    // over at once. Age alone never makes it stale: a register runs for days.
    m_sperre->setStaleLockTime(0);
    if (!m_sperre->tryLock(0))
        m_belegt = m_sperre->error() == QLockFile::LockFailedError;
}

OrdnerSperre::~OrdnerSperre() = default;

#endif

} // namespace zanti

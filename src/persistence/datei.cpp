#include "persistence/datei.h"

#include "persistence/dateischritt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zanti {

namespace {

bool DatenAufPlatte(QFileDevice &datei)
{
#ifdef Q_OS_UNIX
    return ::fdatasync(datei.handle()) == 0;
#else
    Q_UNUSED(datei);
    return true; // QSaveFile::commit syncs on its own there
#endif
}

// A rename is only safe from a power cut once the folder that holds the
// name is on disk too.
void OrdnerSynchronisieren(const QString &pfad)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(QFileInfo(pfad).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(pfad);
#endif
}

} // namespace

std::optional<QByteArray> DateiLesen(const QString &pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    return datei.readAll();
}

bool DateiSpeichern(const QString &pfad, const QByteArray &inhalt)
{
    // QSaveFile buffers small writes: a full disk shows only when the buffer
    // goes out. Every step is checked before the old file is replaced, so a
    // failure leaves it byte for byte as it was.
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    const bool geschrieben = datei.write(inhalt) == inhalt.size() && datei.flush()
        && datei.error() == QFileDevice::NoError;
    DateischrittMelden("geschrieben");
    if (!geschrieben || !DatenAufPlatte(datei)) {
        datei.cancelWriting();
        return false;
    }
    DateischrittMelden("synchronisiert");
    if (!datei.commit())
        return false;
    DateischrittMelden("umbenannt");
    OrdnerSynchronisieren(pfad);
    DateischrittMelden("ordner");
    return true;
}

QString ProgrammDatei(const QString &ordner, const QString &name)
{
    return QDir(ordner).filePath(name);
}

} // namespace zanti

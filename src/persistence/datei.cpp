#include "persistence/datei.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace zanti {

std::optional<QByteArray> DateiLesen(const QString &pfad)
{
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return std::nullopt;
    return datei.readAll();
}

bool DateiSpeichern(const QString &pfad, const QByteArray &inhalt)
{
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    if (datei.write(inhalt) != inhalt.size()) {
        datei.cancelWriting();
        return false;
    }
    return datei.commit();
}

QString ProgrammDatei(const QString &ordner, const QString &name)
{
    return QDir(ordner).filePath(name);
}

} // namespace zanti

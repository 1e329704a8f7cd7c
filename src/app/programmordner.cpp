#include "app/programmordner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace zanti {

OrdnerLage OrdnerLageErmitteln(const QString &befehlszeile, const QString &standardordner)
{
    const QString eigener = QCoreApplication::applicationDirPath();
    // A folder on the command line means one from where the user stands.
    const QString genannt = befehlszeile.isEmpty() ? QString() : QFileInfo(befehlszeile).absoluteFilePath();
    return {genannt, eigener, QFileInfo(eigener).isWritable(),
            QDir(eigener) == QDir(QStringLiteral(ZANTI_INSTALLATIONSORDNER)), standardordner};
}

QString ProgrammordnerWaehlen(const OrdnerLage &lage)
{
    if (!lage.befehlszeile.isEmpty())
        return QDir::cleanPath(lage.befehlszeile);
    // Root may write the installed folder, but it must not fill it either.
    if (lage.beschreibbar && !lage.installiert)
        return lage.programmordner;
    return lage.standardordner;
}

QString Standardordner(const QString &datenordner, const QString &programm)
{
    return QDir::cleanPath(datenordner + u"/zanti/"_qs + programm);
}

bool ProgrammordnerAnlegen(const QString &ordner, QString *hinweis, QString *fehler)
{
    if (QFileInfo(ordner).isDir())
        return true;
    if (!QDir().mkpath(ordner)) {
        *fehler = u"Der Programmordner „%1“ kann nicht angelegt werden."_qs.arg(ordner);
        return false;
    }
    // The samples are compiled in; files written here belong to the user.
    const QDir beispiel(u":/beispiel"_qs);
    for (const QString &name : beispiel.entryList(QDir::Files)) {
        const QString ziel = QDir(ordner).filePath(name);
        if (!QFile::copy(beispiel.filePath(name), ziel)
            || !QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                                | QFile::ReadOther)) {
            *fehler = u"Die Beispieldatei „%1“ kann nicht angelegt werden."_qs.arg(ziel);
            return false;
        }
    }
    *hinweis = u"Der Programmordner der Kasse ist neu angelegt:\n%1\n\n"
               "Dort liegen Tastenbelegung, Verkaufszahlen, Protokoll und Einstellungen. "
               "Die Tasten tragen ein Beispiel; im Einstellmodus (F12, Kennwort 1234) "
               "lassen sie sich ändern."_qs.arg(QDir::toNativeSeparators(ordner));
    return true;
}

} // namespace zanti

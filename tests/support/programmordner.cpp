#include "support/programmordner.h"

#include "support/testdaten.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace zanti::test {

Programmordner::Programmordner()
{
    QVERIFY2(m_ordner.isValid(), "temporary folder");
}

QString Programmordner::datei(const QString &name) const
{
    return QDir(pfad()).filePath(name);
}

void Programmordner::schreiben(const QString &name, const QByteArray &inhalt) const
{
    QFile f(datei(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

void Programmordner::schreibenZeilen(const QString &name, const QStringList &zeilen) const
{
    schreiben(name, Zeilen(zeilen));
}

QByteArray Programmordner::lesen(const QString &name) const
{
    QFile f(datei(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool Programmordner::gibt(const QString &name) const
{
    return QFile::exists(datei(name));
}

} // namespace zanti::test

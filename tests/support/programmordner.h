#pragma once
// A fresh program folder for one test, removed afterwards. Needs no window.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace zanti::test {

class Programmordner
{
public:
    Programmordner();
    QString pfad() const { return m_ordner.path(); }
    QString datei(const QString &name) const;
    void schreiben(const QString &name, const QByteArray &inhalt) const;
    // Windows-1252 text with CR LF line ends, one element a line.
    void schreibenZeilen(const QString &name, const QStringList &zeilen) const;
    QByteArray lesen(const QString &name) const;
    bool gibt(const QString &name) const;

private:
    QTemporaryDir m_ordner;
};

} // namespace zanti::test

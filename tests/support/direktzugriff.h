#pragma once
// A second, independent connection to daten.db: what is really stored, and a
// way to make the register's writes fail (a held write lock).
#include <QString>
#include <QStringList>

namespace zanti::test {

class Direktzugriff
{
public:
    explicit Direktzugriff(const QString &pfad);
    ~Direktzugriff();
    bool ausfuehren(const QString &sql);
    // One line per row, fields joined with '|'; "FEHLER" when the query fails.
    QStringList lesen(const QString &sql);

private:
    QString m_name;
};

} // namespace zanti::test

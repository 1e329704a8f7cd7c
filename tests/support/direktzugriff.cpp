#include "support/direktzugriff.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace zanti::test {

Direktzugriff::Direktzugriff(const QString &pfad)
{
    static int nummer = 0;
    m_name = QStringLiteral("direkt_%1").arg(++nummer);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(pfad);
    QVERIFY(db.open());
}

Direktzugriff::~Direktzugriff()
{
    QSqlDatabase::database(m_name, false).close();
    QSqlDatabase::removeDatabase(m_name);
}

bool Direktzugriff::ausfuehren(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    return q.exec(sql);
}

QStringList Direktzugriff::lesen(const QString &sql)
{
    QSqlQuery q(QSqlDatabase::database(m_name, false));
    QStringList zeilen;
    if (!q.exec(sql))
        return {QStringLiteral("FEHLER")};
    while (q.next()) {
        QStringList felder;
        for (int i = 0; i < q.record().count(); ++i)
            felder << q.value(i).toString();
        zeilen << felder.join(u'|');
    }
    return zeilen;
}

} // namespace zanti::test

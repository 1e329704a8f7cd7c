#include "persistence/server_verbindung.h"

#include <QSqlDatabase>
#include <QString>

namespace zanti {

void ServerVerbindungEinrichten(QSqlDatabase &db, const QString &conninfo, int fristS)
{
    db.setConnectOptions(QStringLiteral("connect_timeout=%1 keepalives_idle=10 keepalives_interval=5 "
                                        "keepalives_count=3 application_name=zanti %2")
                             .arg(fristS)
                             .arg(conninfo.trimmed())
                             .trimmed());
}

QString AllesGesendetSql(const QString &hoechste)
{
    return QStringLiteral("coalesce(stand.wartend = 0 AND stand.letzte_nummer = coalesce(%1, 0), false)").arg(hoechste);
}

} // namespace zanti

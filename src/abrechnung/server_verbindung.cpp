#include "abrechnung/server_verbindung.h"

#include <QSqlDatabase>
#include <QString>

namespace zanti {

void ServerVerbindungEinrichten(QSqlDatabase &db, const QString &conninfo)
{
    QString optionen = conninfo.trimmed();
    if (!optionen.contains(QLatin1String("connect_timeout")))
        optionen += QStringLiteral(" connect_timeout=10");
    db.setConnectOptions(optionen.trimmed());
}

} // namespace zanti

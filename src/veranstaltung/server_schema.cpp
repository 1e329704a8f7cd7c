#include "veranstaltung/server_schema.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The resources of a static library are linked only when named.
static void SchemaResourcen()
{
    Q_INIT_RESOURCE(veranstaltung);
}

namespace zanti {

namespace {

// Any number, the same on every register: two registers that start together
// create the schema one after the other.
constexpr const char *kSperre = "SELECT pg_advisory_xact_lock(20270617)";
constexpr auto kKeinRecht = "42501"; // insufficient_privilege

QString SqlAusResource(const QString &name)
{
    QFile datei(name);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(datei.readAll());
}

SchemaStand Abbrechen(QSqlDatabase &db, SchemaStand stand, const QSqlError &fehler)
{
    db.rollback();
    if (fehler.nativeErrorCode() == QLatin1String(kKeinRecht))
        stand.ergebnis = SchemaStand::KeineRechte;
    stand.fehler = fehler.text();
    return stand;
}

} // namespace

QList<SchemaSchritt> SchemaSchritte()
{
    SchemaResourcen();
    return {{1, SqlAusResource(QStringLiteral(":/veranstaltung/schema_v1.sql"))},
            {2, SqlAusResource(QStringLiteral(":/veranstaltung/schema_v2.sql"))}};
}

QString KassenrolleSql()
{
    SchemaResourcen();
    return SqlAusResource(QStringLiteral(":/veranstaltung/kassenrolle.sql"));
}

SchemaStand SchemaEinrichten(QSqlDatabase &db, const QList<SchemaSchritt> &schritte)
{
    SchemaStand stand;
    const int bekannt = schritte.isEmpty() ? 0 : schritte.last().version;
    if (!db.transaction()) {
        stand.fehler = db.lastError().text();
        return stand;
    }
    QSqlQuery q(db);
    if (!q.exec(QString::fromLatin1(kSperre)))
        return Abbrechen(db, stand, q.lastError());
    if (!q.exec(QStringLiteral("SELECT to_regclass('schema_version') IS NOT NULL")) || !q.next())
        return Abbrechen(db, stand, q.lastError());
    if (q.value(0).toBool()) {
        if (!q.exec(QStringLiteral("SELECT coalesce(max(version), 0) FROM schema_version")) || !q.next())
            return Abbrechen(db, stand, q.lastError());
        stand.version = q.value(0).toInt();
    }
    if (stand.version > bekannt) {
        db.rollback();
        stand.ergebnis = SchemaStand::Neuer;
        return stand;
    }
    for (const SchemaSchritt &schritt : schritte) {
        if (schritt.version <= stand.version)
            continue;
        if (schritt.sql.isEmpty() || !q.exec(schritt.sql))
            return Abbrechen(db, stand, q.lastError());
        if (!q.exec(QStringLiteral("UPDATE schema_version SET version = %1").arg(schritt.version)))
            return Abbrechen(db, stand, q.lastError());
    }
    if (!db.commit()) {
        stand.fehler = db.lastError().text();
        return stand;
    }
    stand.ergebnis = SchemaStand::Bereit;
    return stand;
}

} // namespace zanti

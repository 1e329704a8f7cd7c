#pragma once
// The event server's schema and its versions. The schema is an interface:
// the treasurer queries it with any SQL tool, so it changes only by whole
// versions, each one step of SQL run in the one transaction that also
// raises schema_version. A register never writes into a schema newer than
// the steps it knows.
#include <QList>
#include <QString>

class QSqlDatabase;

namespace zanti {

struct SchemaSchritt
{
    int version = 0; // the version this step leads to
    QString sql;
};

// The steps this register knows, oldest first, from the resources.
QList<SchemaSchritt> SchemaSchritte();
constexpr int kSchemaVersion = 2;
// The SQL an owner runs for the registers' insert-only role "kasse".
QString KassenrolleSql();

struct SchemaStand
{
    enum Ergebnis {
        Bereit,      // the server has the version the steps lead to
        Neuer,       // the server's schema is newer: send nothing
        KeineRechte, // older or missing, and this role may not create it
        Fehler       // the connection or the SQL failed
    };
    Ergebnis ergebnis = Fehler;
    int version = 0; // the server's version as found
    QString fehler;
};

// Creates or upgrades the schema on an open connection in one transaction,
// one register at a time (an advisory lock), or only checks it.
SchemaStand SchemaEinrichten(QSqlDatabase &db, const QList<SchemaSchritt> &schritte = SchemaSchritte());

} // namespace zanti

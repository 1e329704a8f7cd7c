#pragma once
// Puts a journal's receipts and voids on the event server as the forwarder
// would (same rows, same UUIDs), with a report per register that it has sent
// everything; for tests that set the server's figures against the journal's.
#include <QSqlDatabase>
#include <QString>

namespace zanti::test {

// journal: an open daten.db; server: an open connection to a database with
// the schema. Registers without a name in the journal are called
// "Kasse " + the first 8 characters of their id, as the statement calls them.
bool JournalAufServer(QSqlDatabase &journal, QSqlDatabase &server, const QString &veranstaltung, QString &fehler);

// The schema file of the event server, from the source tree.
QString ServerSchemaSql();

} // namespace zanti::test

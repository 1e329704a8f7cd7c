#pragma once
// A QPSQL connection from a libpq connection string ("host=... dbname=...",
// "service=NAME"). Qt's driver passes its connect options to libpq as they
// are, with ';' turned into blanks, so the whole string goes there.
class QSqlDatabase;
class QString;

namespace zanti {

// Sets the options on db (not yet open). A string without connect_timeout
// gets one of 10 seconds: an unreachable host must not keep the treasurer
// waiting for minutes.
void ServerVerbindungEinrichten(QSqlDatabase &db, const QString &conninfo);

} // namespace zanti

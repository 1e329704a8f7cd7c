#pragma once
// A QPSQL connection to the event server from a libpq connection string
// ("host=... dbname=...", "service=NAME"), for the forwarder and the
// statement alike. Qt's driver passes its connect options to libpq as they
// are, so the whole string goes there.
class QSqlDatabase;
class QString;

namespace zanti {

// Sets the options on db (not yet open): ours first, then conninfo, whose
// values win since libpq takes the last of a name. Ours: a connect timeout
// of fristS seconds (an unreachable host must not keep anyone waiting for
// minutes), keepalives that notice a dead line within half a minute, and
// the application's name in the server's activity view.
void ServerVerbindungEinrichten(QSqlDatabase &db, const QString &conninfo, int fristS = 10);

} // namespace zanti

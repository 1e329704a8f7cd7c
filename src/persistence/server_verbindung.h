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

// Every register of an event as its newest report to the server says: a
// WITH clause "stand" (kasse_id, kasse, letzte_nummer, wartend) whose one
// parameter is the event's name. For the F8 report and the statement alike.
inline constexpr char kKassenStandSql[] =
    "stand AS (SELECT DISTINCT ON (kasse_id) kasse_id, kasse, letzte_nummer, wartend FROM kasse_stand "
    "WHERE veranstaltung = ? ORDER BY kasse_id, zeit DESC, letzte_nummer DESC)";

// Whether a register has sent everything, as SQL: its newest report says
// nothing waits, and the server holds the highest number it has closed.
// hoechste: the SQL for the highest number the server holds of it.
QString AllesGesendetSql(const QString &hoechste);

} // namespace zanti

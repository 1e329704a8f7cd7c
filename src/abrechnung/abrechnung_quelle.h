#pragma once
// Where a statement's figures come from: one register's journal (daten.db,
// opened read-only) or the event server (PostgreSQL, in a read-only
// transaction). Both group in SQL, so a season of receipts comes back as a
// few hundred rows. Neither ever writes.
#include "abrechnung/abrechnung.h"

#include <QString>
#include <optional>

class QSqlDatabase;

namespace zanti {

// The journal of a register's program folder. fehler gets a German
// message when there is none or it cannot be read.
std::optional<Abrechnung> AbrechnungAusOrdner(const QString &ordner, const Zeitraum &zeitraum, QString &fehler);
// The same from a connection the caller opened on a journal.
std::optional<Abrechnung> AbrechnungAusJournal(QSqlDatabase &db, const Zeitraum &zeitraum, QString &fehler);

// The whole event from the server. conninfo is libpq's "key=value ..." or
// "service=NAME".
std::optional<Abrechnung> AbrechnungVomServer(const QString &conninfo, const QString &veranstaltung,
                                             const Zeitraum &zeitraum, QString &fehler);
std::optional<Abrechnung> AbrechnungVomServer(QSqlDatabase &db, const QString &veranstaltung,
                                             const Zeitraum &zeitraum, QString &fehler);

// The schema version the statement reads; a newer server is refused.
// Version 2 only added the later changes of receipts (amount given, print
// state), which the statement does not read.
constexpr int kServerSchemaVersion = 2;

} // namespace zanti

#pragma once
// Closing a receipt is all or nothing across daten.db, protokoll.txt and
// verkauf.ini.
//
// A close writes, in ONE transaction of daten.db, the deletion of the
// receipt's rows and a redo record: the protocol lines that go on top of
// protokoll.txt (or the whole protocol, after it was cleared) and verkauf.ini
// before and after the close. Only then is the receipt printed and are the
// two files replaced (each atomically); when both are on disk the record is
// deleted. A power cut
//   - before the commit leaves the rows in table Bon and the files as they
//     were: the receipt never happened (start-up drops the rows unprinted);
//   - after it leaves the record: the next start, before anything else,
//     finishes it. Each file is judged on its own evidence: verkauf.ini still
//     as before gets the new content, one that already has it is left alone;
//     the protocol gets the lines on top only when its size shows they are
//     not there yet. A file that matches neither (changed by a later run) is
//     left alone, so nothing is ever counted twice.
// A newer record replaces an older one in the same transaction: it carries
// everything that is not on disk yet, so at most one record exists.
#include <QByteArray>
#include <QList>
#include <optional>

class QSqlDatabase;
class QSqlError;

namespace zanti {

struct Abschluss
{
    qint64 nr = 0;                      // given by the database
    QByteArray protokollKopf;           // lines to put on top of protokoll.txt
    bool protokollErsetzen = false;     // protokollKopf is the whole file
    qint64 protokollVorherGroesse = 0;  // size of protokoll.txt the lines go on top of
    QByteArray verkaufVorher;           // verkauf.ini before the close (empty: missing)
    QByteArray verkaufNachher;          // verkauf.ini after the close
};

// What the next start must write to finish a record; nothing where the file
// already holds the result or matches neither side.
struct Nachholen
{
    std::optional<QByteArray> protokoll;
    std::optional<QByteArray> verkauf;
};
Nachholen AbschlussNachholen(const Abschluss &abschluss, const std::optional<QByteArray> &protokoll,
                             const std::optional<QByteArray> &verkauf);

// The record's table in the receipt database, next to table Bon.
bool AbschlussTabelleAnlegen(QSqlDatabase &db, QSqlError &fehler);
// Inside a transaction that the caller opened: stores the record, drops
// every older one and gives the new record its number.
bool AbschlussEintragen(QSqlDatabase &db, Abschluss &abschluss, QSqlError &fehler);
bool AbschlussLoeschen(QSqlDatabase &db, qint64 nr, QSqlError &fehler);
// Oldest first; empty when there are none or the table cannot be read.
QList<Abschluss> OffeneAbschluesse(QSqlDatabase &db);

} // namespace zanti

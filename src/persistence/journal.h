#pragma once
// The receipt journal: every closed receipt and every void, kept in daten.db
// for as long as the file lives. Start-up never empties it. It is the
// register's memory for receipts that wait for the printer, for copies, for
// the treasurer's statement and for the event server (its outbox).
//
// Tables (all amounts in whole cents, all times as milliseconds since
// 1970-01-01 UTC plus the local offset in seconds at that instant, so local
// hours stay right on the night the clocks go back):
//
//   Kassenkennung  one row: id (UUID text), name, maschine (a hash of the
//                  machine's id; another machine makes a new identity)
//   Beleg          lfd INTEGER PRIMARY KEY (order of closing), id (UUID text,
//                  the receipt's identity everywhere), kasse_id, nummer
//                  (consecutive per register identity, from 1), zeit_ms,
//                  offset_s, tisch (NULL: none), summe_cent, gegeben_cent
//                  and rueckgeld_cent (NULL until "GEG"), druck (Druckstatus),
//                  and what printing it again needs: kopf1..kopf4, logo,
//                  einzelbon, tischanzeige, salat (0/1)
//   Belegzeile     beleg (Beleg.lfd), pos (1..), taste, artikel (as shown),
//                  anzahl, preis_cent (unit price), betrag_cent (line amount),
//                  protokoll_nr (the line's number in protokoll.txt)
//   Storno         lfd INTEGER PRIMARY KEY, id (UUID text), kasse_id, zeit_ms,
//                  offset_s, beleg_nummer (the number the open receipt was to
//                  get), taste, artikel, anzahl, betrag_cent
//   Kopie          lfd INTEGER PRIMARY KEY, beleg (Beleg.lfd), kasse_id,
//                  zeit_ms, offset_s
//   Nachtrag       lfd INTEGER PRIMARY KEY (order of the changes), id (UUID
//                  text), beleg (Beleg.lfd), kasse_id (the register that made
//                  the change), zeit_ms, offset_s, and the receipt's state
//                  after it: gegeben_cent, rueckgeld_cent, druck. One row
//                  per change of a closed receipt ("GEG", a print state), so
//                  the event server, where nothing is ever updated, learns
//                  them as rows of their own.
//
// Writers run inside a transaction the caller opened (the close's one
// transaction); readers need none. The two that change a closed receipt
// open their own when the caller has none.
#include "core/geld.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <array>
#include <optional>

class QSqlDatabase;
class QSqlError;

namespace zanti {

// What became of a receipt's print. Stored as these numbers.
enum class Druckstatus {
    NichtVerlangt = 0, // the printer was switched off
    Gedruckt = 1,      // sent to a printer that was ready
    Wartet = 2,        // the printer could not print; it prints when ready
    SpaeterGedruckt = 3
};

struct Kassenkennung
{
    QString id;       // UUID without braces
    QString name;     // readable, the machine's host name by default
    QString maschine; // hash of the machine's id
};

// An instant as the journal keeps it.
struct Zeitpunkt
{
    qint64 ms = 0;      // since 1970-01-01 UTC
    int offsetS = 0;    // local offset from UTC then, in seconds
    static Zeitpunkt aus(const QDateTime &zeit);
    // The local clock time the register showed then.
    QDateTime lokal() const;
};

struct Belegzeile
{
    int taste = 0;
    QString artikel;
    int anzahl = 1;
    Cent preisCent = 0;  // unit price
    Cent betragCent = 0; // line amount
    qint32 protokollNr = 0; // the line's protocol number, printed on the receipt
};

// What a receipt's print needs besides its lines, as it was at "=".
struct Belegdruck
{
    std::array<QString, 4> kopf;
    int logo = 0;
    bool einzelbon = false;
    bool tischanzeige = false;
    bool salat = false;
};

struct Beleg
{
    qint64 lfd = 0;  // given by the journal
    QString id;      // UUID without braces
    QString kasseId;
    qint64 nummer = 0; // given by the journal
    Zeitpunkt zeit;
    std::optional<int> tisch;
    Cent summeCent = 0;
    std::optional<Cent> gegebenCent;
    std::optional<Cent> rueckgeldCent;
    Druckstatus druck = Druckstatus::NichtVerlangt;
    Belegdruck druckdaten;
    QList<Belegzeile> zeilen;
};

// A later change of a closed receipt with the receipt's state after it.
struct NachtragEintrag
{
    qint64 lfd = 0;
    QString id;
    qint64 beleg = 0; // Beleg.lfd
    QString belegId;  // Beleg.id
    QString kasseId;
    Zeitpunkt zeit;
    std::optional<Cent> gegebenCent;
    std::optional<Cent> rueckgeldCent;
    Druckstatus druck = Druckstatus::NichtVerlangt;
};

struct StornoEintrag
{
    qint64 lfd = 0;
    QString id;
    QString kasseId;
    Zeitpunkt zeit;
    qint64 belegNummer = 0;
    int taste = 0;
    QString artikel;
    int anzahl = 1;
    Cent betragCent = 0;
};

// A new random UUID as the journal writes it: lower case, no braces.
QString NeueUuid();

// Creates the tables and indexes when missing; inside the caller's transaction.
bool JournalAnlegen(QSqlDatabase &db, QSqlError &fehler);

// The register's identity. A stored one made on another machine (or none)
// is replaced by a new one named after hostName; neu tells that it was made,
// kopiert that it replaced one from another machine.
struct KennungErgebnis
{
    Kassenkennung kennung;
    bool neu = false;
    bool kopiert = false;
};
std::optional<KennungErgebnis> KennungSichern(QSqlDatabase &db, const QString &maschine,
                                              const QString &hostName, QSqlError &fehler);
std::optional<Kassenkennung> KennungLesen(QSqlDatabase &db);
// This machine's key: a hash of /etc/machine-id (or of the host name where
// there is none), never the id itself.
QString MaschinenSchluessel();

// Stores the receipt with its lines; gives it lfd, nummer (and an id when
// it has none). Inside the caller's transaction.
bool BelegEintragen(QSqlDatabase &db, Beleg &beleg, QSqlError &fehler);
// The number the next receipt of kasseId gets.
qint64 NaechsteBelegNummer(QSqlDatabase &db, const QString &kasseId);
bool StornoEintragen(QSqlDatabase &db, StornoEintrag &storno, QSqlError &fehler);
bool KopieEintragen(QSqlDatabase &db, qint64 belegLfd, const QString &kasseId, const Zeitpunkt &zeit,
                    QSqlError &fehler);
// Change a closed receipt and append its Nachtrag, both or neither.
bool DruckstatusSetzen(QSqlDatabase &db, qint64 belegLfd, Druckstatus status, QSqlError &fehler);
bool GegebenSetzen(QSqlDatabase &db, qint64 belegLfd, Cent gegeben, Cent rueckgeld, QSqlError &fehler);

// Receipts with their lines, in closing order, lfd > nach, at most hoechstens.
QList<Beleg> BelegeLesen(QSqlDatabase &db, qint64 nach, int hoechstens);
// The newest receipts first, at most hoechstens.
QList<Beleg> NeuesteBelege(QSqlDatabase &db, int hoechstens);
std::optional<Beleg> BelegLesen(QSqlDatabase &db, qint64 lfd);
// Receipts waiting for the printer, oldest first.
QList<Beleg> WartendeBelege(QSqlDatabase &db);
QList<StornoEintrag> StornosLesen(QSqlDatabase &db, qint64 nach, int hoechstens);
// Nachträge after nach, oldest first, at most hoechstens, and none from the
// first whose receipt is after belegBis on: a change never goes before its
// receipt, nor before an older change.
QList<NachtragEintrag> NachtraegeLesen(QSqlDatabase &db, qint64 nach, qint64 belegBis, int hoechstens);

} // namespace zanti

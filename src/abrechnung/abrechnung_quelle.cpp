#include "abrechnung/abrechnung_quelle.h"

#include "persistence/server_verbindung.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <functional>

namespace zanti {

namespace {

// Offsets lie within ±14 hours: a window on the UTC instant that the
// index serves, around the exact test on local time.
constexpr qint64 kOffsetRandMs = 14 * 3'600'000LL + 60'000;

// The SQL of one source. Receipts and voids are both read as alias b, and
// one filter (its values bound to every query) picks the period's rows.
struct Dialekt
{
    QString lokalMs; // local wall-clock ms of a row of b
    QString filter;  // a UTC window the index serves, then the exact local window
    QString belegTabelle, stornoTabelle, zeilenJoin, nummer, zeitMs, offset, betrag, stornoBetrag, kasse;
    QString zeitSpalte; // the stored instant, for ordering by index
};

Dialekt Sqlite()
{
    Dialekt d;
    d.lokalMs = QStringLiteral("(b.zeit_ms + b.offset_s * 1000)");
    d.filter = QStringLiteral("b.zeit_ms >= ? AND b.zeit_ms < ? AND %1 >= ? AND %1 < ?").arg(d.lokalMs);
    d.belegTabelle = QStringLiteral("Beleg b");
    d.stornoTabelle = QStringLiteral("Storno b");
    d.zeilenJoin = QStringLiteral("JOIN Belegzeile z ON z.beleg = b.lfd");
    d.nummer = QStringLiteral("b.nummer");
    d.zeitMs = QStringLiteral("b.zeit_ms");
    d.zeitSpalte = d.zeitMs;
    d.offset = QStringLiteral("b.offset_s");
    d.betrag = QStringLiteral("b.summe_cent");
    d.stornoBetrag = QStringLiteral("b.betrag_cent");
    d.kasse = QStringLiteral("b.kasse_id");
    return d;
}

Dialekt Postgres()
{
    Dialekt d;
    // date_part is a double, far quicker than extract's numeric; the instants
    // are whole milliseconds, so rounding gives them back exactly.
    d.zeitMs = QStringLiteral("round(date_part('epoch', b.zeit) * 1000)::bigint");
    d.zeitSpalte = QStringLiteral("b.zeit");
    d.lokalMs = QStringLiteral("(%1 + b.zeit_offset_s * 1000::bigint)").arg(d.zeitMs);
    d.filter = QStringLiteral("b.veranstaltung = ? AND b.zeit >= to_timestamp(?::bigint / 1000.0) "
                                   "AND b.zeit < to_timestamp(?::bigint / 1000.0) AND %1 >= ? AND %1 < ?")
                        .arg(d.lokalMs);
    d.belegTabelle = QStringLiteral("beleg b");
    d.stornoTabelle = QStringLiteral("storno b");
    d.zeilenJoin = QStringLiteral("JOIN belegzeile z ON z.beleg_id = b.id");
    d.nummer = QStringLiteral("b.nummer");
    d.offset = QStringLiteral("b.zeit_offset_s");
    d.betrag = QStringLiteral("b.summe_cent");
    d.stornoBetrag = QStringLiteral("b.betrag_cent");
    d.kasse = QStringLiteral("b.kasse_id::text");
    return d;
}

class Leser
{
public:
    Leser(QSqlDatabase &db, QVariantList filterWerte) : m_db(db), m_werte(std::move(filterWerte)) {}

    bool abfragen(const QString &sql, const std::function<void(const QSqlQuery &)> &zeile)
    {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (!q.prepare(sql)) {
            m_fehler = q.lastError().text();
            return false;
        }
        for (const QVariant &wert : std::as_const(m_werte))
            q.addBindValue(wert);
        if (!q.exec()) {
            m_fehler = q.lastError().text();
            return false;
        }
        while (q.next())
            zeile(q);
        return true;
    }

    // Count and sum per register and local hour with its offset.
    bool gruppen(const Dialekt &d, const QString &tabelle, const QString &betrag, QList<Rohdaten::Gruppe> &ziel)
    {
        const QString stunde = QStringLiteral("(%1 / 3600000)").arg(d.lokalMs);
        return abfragen(QStringLiteral("SELECT %1, %2, %3, COUNT(*), SUM(%4) FROM %5 WHERE %6 "
                                       "GROUP BY 1, 2, 3")
                            .arg(d.kasse, stunde, d.offset, betrag, tabelle, d.filter),
                        [&](const QSqlQuery &q) {
                            ziel.append({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toInt(),
                                         q.value(3).toLongLong(), q.value(4).toLongLong()});
                        });
    }

    bool marke(const Dialekt &d, bool letzte, std::optional<Rohdaten::Marke> &ziel)
    {
        const QString richtung = letzte ? QStringLiteral("DESC") : QStringLiteral("ASC");
        return abfragen(QStringLiteral("SELECT %1, %2, %3, %4 FROM %5 WHERE %6 ORDER BY %7 %8, %2 %8 LIMIT 1")
                            .arg(d.kasse, d.nummer, d.zeitMs, d.offset, d.belegTabelle, d.filter,
                                 d.zeitSpalte, richtung),
                        [&](const QSqlQuery &q) {
                            ziel = Rohdaten::Marke{q.value(0).toString(), q.value(1).toLongLong(),
                                                   {q.value(2).toLongLong(), q.value(3).toInt()}};
                        });
    }

    bool lesen(const Dialekt &d, Rohdaten &roh)
    {
        return gruppen(d, d.belegTabelle, d.betrag, roh.belege) && gruppen(d, d.stornoTabelle, d.stornoBetrag, roh.stornos)
            && abfragen(QStringLiteral("SELECT z.artikel, SUM(z.anzahl), SUM(z.betrag_cent) FROM %1 %2 "
                                       "WHERE %3 GROUP BY z.artikel")
                            .arg(d.belegTabelle, d.zeilenJoin, d.filter),
                        [&](const QSqlQuery &q) {
                            roh.artikel.append({q.value(0).toString(), q.value(1).toLongLong(),
                                                q.value(2).toLongLong(), 0});
                        })
            && marke(d, false, roh.erster) && marke(d, true, roh.letzter);
    }

    QString fehler() const { return m_fehler; }

private:
    QSqlDatabase &m_db;
    QVariantList m_werte;
    QString m_fehler;
};

QVariantList Fensterwerte(const Zeitraum &z)
{
    return {z.vonMs() - kOffsetRandMs, z.bisMs() + kOffsetRandMs, z.vonMs(), z.bisMs()};
}

// A connection that is removed with the object, under a name of its own.
class Verbindung
{
public:
    explicit Verbindung(const QString &treiber)
        : m_name(QStringLiteral("abrechnung-%1").arg(QUuid::createUuid().toString(QUuid::Id128)))
    {
        QSqlDatabase::addDatabase(treiber, m_name);
    }
    ~Verbindung()
    {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

std::optional<Abrechnung> AbrechnungAusJournal(QSqlDatabase &db, const Zeitraum &zeitraum, QString &fehler)
{
    // One read transaction: every query sees the same receipts, even while
    // the register closes more.
    db.transaction();
    Rohdaten roh;
    Leser leser(db, Fensterwerte(zeitraum));
    const bool ok = leser.lesen(Sqlite(), roh);
    QString name;
    if (ok) {
        if (const std::optional<Kassenkennung> kennung = KennungLesen(db)) {
            roh.kassen.append({kennung->id, kennung->name, std::nullopt});
            name = kennung->name;
        }
    }
    db.rollback();
    if (!ok) {
        fehler = QStringLiteral("Das Belegjournal kann nicht gelesen werden: %1").arg(leser.fehler());
        return std::nullopt;
    }
    if (name.isEmpty())
        name = QStringLiteral("Kasse");
    return Zusammenfassen(roh, zeitraum, QStringLiteral("Kasse %1").arg(name), name, false);
}

std::optional<Abrechnung> AbrechnungAusOrdner(const QString &ordner, const Zeitraum &zeitraum, QString &fehler)
{
    const QString pfad = QDir(ordner).filePath(QStringLiteral("daten.db"));
    if (!QFileInfo(pfad).isFile()) {
        fehler = QStringLiteral("Im Ordner %1 gibt es kein Belegjournal (daten.db).").arg(QDir::toNativeSeparators(ordner));
        return std::nullopt;
    }
    Verbindung verbindung(QStringLiteral("QSQLITE"));
    QSqlDatabase db = verbindung.db();
    db.setDatabaseName(pfad);
    // Read-only: the statement can never change a register's journal.
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        fehler = QStringLiteral("Das Belegjournal %1 kann nicht geöffnet werden: %2")
                     .arg(QDir::toNativeSeparators(pfad), db.lastError().text());
        return std::nullopt;
    }
    return AbrechnungAusJournal(db, zeitraum, fehler);
}

std::optional<Abrechnung> AbrechnungVomServer(QSqlDatabase &db, const QString &veranstaltung,
                                             const Zeitraum &zeitraum, QString &fehler)
{
    if (!db.transaction()) {
        fehler = QStringLiteral("Der Server nimmt keine Abfrage an: %1").arg(db.lastError().text());
        return std::nullopt;
    }
    QSqlQuery q(db);
    // One snapshot for all queries, and the server itself refuses any write.
    if (!q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"))) {
        fehler = QStringLiteral("Der Server nimmt keine Abfrage an: %1").arg(q.lastError().text());
        db.rollback();
        return std::nullopt;
    }
    // The planner cannot estimate the filter on local time (an expression
    // of two columns) and takes it for a handful of rows: it would walk an
    // event's million lines by nested loops and sorts. Hash joins and hash
    // aggregates in memory are right for every period of an event.
    for (const char *einstellung : {"SET LOCAL enable_nestloop = off", "SET LOCAL enable_sort = off",
                                    "SET LOCAL work_mem = '64MB'"})
        q.exec(QString::fromLatin1(einstellung));
    const auto abbrechen = [&](const QString &text) -> std::optional<Abrechnung> {
        fehler = text;
        db.rollback();
        return std::nullopt;
    };
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next())
        return abbrechen(QStringLiteral("Auf dem Server fehlen die Tabellen der Veranstaltungen."));
    const int version = q.value(0).toInt();
    if (version > kServerSchemaVersion)
        return abbrechen(QStringLiteral("Der Server hat eine neuere Fassung der Tabellen (%1), als dieses "
                                        "Programm lesen kann (%2). Bitte das Programm aktualisieren.")
                             .arg(version)
                             .arg(kServerSchemaVersion));

    Rohdaten roh;
    Leser kassenLeser(db, {veranstaltung, veranstaltung});
    const bool kassenOk = kassenLeser.abfragen(
        QStringLiteral("WITH %1, hoechste AS (SELECT kasse_id, max(kasse) AS kasse, max(nummer) AS nummer "
                       "FROM beleg WHERE veranstaltung = ? GROUP BY kasse_id) "
                       "SELECT kasse_id::text, coalesce(stand.kasse, hoechste.kasse), %2 "
                       "FROM stand FULL JOIN hoechste USING (kasse_id)")
            .arg(QLatin1String(kKassenStandSql), AllesGesendetSql(QStringLiteral("hoechste.nummer"))),
        [&](const QSqlQuery &z) {
            roh.kassen.append({z.value(0).toString(), z.value(1).toString(), z.value(2).toBool()});
        });
    if (!kassenOk)
        return abbrechen(QStringLiteral("Der Server liefert die Kassen nicht: %1").arg(kassenLeser.fehler()));
    if (roh.kassen.isEmpty()) {
        QStringList bekannt;
        if (q.exec(QStringLiteral("SELECT DISTINCT veranstaltung FROM kasse_stand ORDER BY 1"))) {
            while (q.next())
                bekannt.append(q.value(0).toString());
        }
        return abbrechen(QStringLiteral("Die Veranstaltung „%1“ ist auf dem Server nicht bekannt.%2")
                             .arg(veranstaltung,
                                  bekannt.isEmpty() ? QString()
                                                    : QStringLiteral(" Bekannt sind: %1.").arg(bekannt.join(u", "))));
    }

    QVariantList werte{veranstaltung};
    werte += Fensterwerte(zeitraum);
    Leser leser(db, werte);
    if (!leser.lesen(Postgres(), roh))
        return abbrechen(QStringLiteral("Die Belege können nicht vom Server gelesen werden: %1").arg(leser.fehler()));
    db.rollback();
    return Zusammenfassen(roh, zeitraum, QStringLiteral("Veranstaltung %1").arg(veranstaltung), veranstaltung, true);
}

std::optional<Abrechnung> AbrechnungVomServer(const QString &conninfo, const QString &veranstaltung,
                                             const Zeitraum &zeitraum, QString &fehler)
{
    Verbindung verbindung(QStringLiteral("QPSQL"));
    QSqlDatabase db = verbindung.db();
    if (!db.isValid()) {
        fehler = QStringLiteral("Der Treiber für PostgreSQL fehlt (Paket libqt6sql6-psql).");
        return std::nullopt;
    }
    ServerVerbindungEinrichten(db, conninfo);
    if (!db.open()) {
        fehler = QStringLiteral("Der Server ist nicht erreichbar: %1").arg(db.lastError().databaseText().trimmed());
        return std::nullopt;
    }
    return AbrechnungVomServer(db, veranstaltung, zeitraum, fehler);
}

} // namespace zanti

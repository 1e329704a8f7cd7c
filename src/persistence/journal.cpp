#include "persistence/journal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QUuid>
#include <QVariant>

namespace zanti {

namespace {

bool Ausfuehren(QSqlQuery &q, QSqlError &fehler)
{
    if (q.exec())
        return true;
    fehler = q.lastError();
    return false;
}

QVariant Wahlweise(const std::optional<qint64> &wert)
{
    return wert ? QVariant(*wert) : QVariant(QMetaType(QMetaType::LongLong));
}

std::optional<qint64> WahlweiseLesen(const QVariant &wert)
{
    if (wert.isNull())
        return std::nullopt;
    return wert.toLongLong();
}

constexpr const char *kBelegSpalten =
    "lfd, id, kasse_id, nummer, zeit_ms, offset_s, tisch, summe_cent, gegeben_cent, "
    "rueckgeld_cent, druck, kopf1, kopf2, kopf3, kopf4, logo, einzelbon, tischanzeige, salat";

Beleg BelegAusZeile(const QSqlQuery &q)
{
    Beleg b;
    b.lfd = q.value(0).toLongLong();
    b.id = q.value(1).toString();
    b.kasseId = q.value(2).toString();
    b.nummer = q.value(3).toLongLong();
    b.zeit = {q.value(4).toLongLong(), q.value(5).toInt()};
    if (!q.value(6).isNull())
        b.tisch = q.value(6).toInt();
    b.summeCent = q.value(7).toLongLong();
    b.gegebenCent = WahlweiseLesen(q.value(8));
    b.rueckgeldCent = WahlweiseLesen(q.value(9));
    b.druck = Druckstatus(q.value(10).toInt());
    for (int i = 0; i < 4; ++i)
        b.druckdaten.kopf[i] = q.value(11 + i).toString();
    b.druckdaten.logo = q.value(15).toInt();
    b.druckdaten.einzelbon = q.value(16).toInt() != 0;
    b.druckdaten.tischanzeige = q.value(17).toInt() != 0;
    b.druckdaten.salat = q.value(18).toInt() != 0;
    return b;
}

// Adds the lines to receipts read in one go: one query for all of them.
void ZeilenAnfuegen(QSqlDatabase &db, QList<Beleg> &belege)
{
    if (belege.isEmpty())
        return;
    qint64 von = belege.first().lfd, bis = von;
    for (const Beleg &b : belege) {
        von = std::min(von, b.lfd);
        bis = std::max(bis, b.lfd);
    }
    QHash<qint64, Beleg *> nachLfd;
    for (Beleg &b : belege)
        nachLfd.insert(b.lfd, &b);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT beleg, taste, artikel, anzahl, preis_cent, betrag_cent, protokoll_nr "
                             "FROM Belegzeile WHERE beleg BETWEEN ? AND ? ORDER BY beleg, pos"));
    q.addBindValue(von);
    q.addBindValue(bis);
    if (!q.exec())
        return;
    while (q.next()) {
        Beleg *b = nachLfd.value(q.value(0).toLongLong());
        if (!b)
            continue;
        b->zeilen.append({q.value(1).toInt(), q.value(2).toString(), q.value(3).toInt(),
                          q.value(4).toLongLong(), q.value(5).toLongLong(), q.value(6).toInt()});
    }
}

QList<Beleg> BelegeAbfragen(QSqlDatabase &db, const QString &bedingung, const QVariantList &werte)
{
    QList<Beleg> belege;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM Beleg %2").arg(QLatin1String(kBelegSpalten), bedingung));
    for (const QVariant &wert : werte)
        q.addBindValue(wert);
    if (!q.exec())
        return belege;
    while (q.next())
        belege.append(BelegAusZeile(q));
    ZeilenAnfuegen(db, belege);
    return belege;
}

// Updates the receipt and appends its state after the change as a
// Nachtrag. A savepoint is a transaction of its own when the caller has
// none and nests inside the caller's when there is one.
bool BelegAendern(QSqlDatabase &db, qint64 belegLfd, const char *setzen, const QVariantList &werte,
                  QSqlError &fehler)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SAVEPOINT nachtrag"))) {
        fehler = q.lastError();
        return false;
    }
    q.prepare(QStringLiteral("UPDATE Beleg SET %1 WHERE lfd = ?").arg(QLatin1String(setzen)));
    for (const QVariant &wert : werte)
        q.addBindValue(wert);
    q.addBindValue(belegLfd);
    bool ok = Ausfuehren(q, fehler);
    if (ok) {
        const Zeitpunkt jetzt = Zeitpunkt::aus(QDateTime::currentDateTime());
        q.prepare(QStringLiteral(
            "INSERT INTO Nachtrag (id, beleg, kasse_id, zeit_ms, offset_s, gegeben_cent, rueckgeld_cent, druck) "
            "SELECT ?, lfd, coalesce((SELECT id FROM Kassenkennung LIMIT 1), kasse_id), ?, ?, "
            "gegeben_cent, rueckgeld_cent, druck FROM Beleg WHERE lfd = ?"));
        for (const QVariant &wert : QVariantList{NeueUuid(), jetzt.ms, jetzt.offsetS, belegLfd})
            q.addBindValue(wert);
        ok = Ausfuehren(q, fehler);
    }
    if (!ok)
        q.exec(QStringLiteral("ROLLBACK TO nachtrag"));
    if (!q.exec(QStringLiteral("RELEASE nachtrag")) && ok) {
        fehler = q.lastError();
        ok = false;
    }
    return ok;
}

} // namespace

Zeitpunkt Zeitpunkt::aus(const QDateTime &zeit)
{
    return {zeit.toMSecsSinceEpoch(), zeit.offsetFromUtc()};
}

QDateTime Zeitpunkt::lokal() const
{
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offsetS);
}

QString NeueUuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool JournalAnlegen(QSqlDatabase &db, QSqlError &fehler)
{
    static const char *const tabellen[] = {
        "CREATE TABLE IF NOT EXISTS Kassenkennung (id TEXT NOT NULL, name TEXT NOT NULL, "
        "maschine TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS Beleg (lfd INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, "
        "kasse_id TEXT NOT NULL, nummer INTEGER NOT NULL, zeit_ms INTEGER NOT NULL, "
        "offset_s INTEGER NOT NULL, tisch INTEGER, summe_cent INTEGER NOT NULL, "
        "gegeben_cent INTEGER, rueckgeld_cent INTEGER, druck INTEGER NOT NULL, "
        "kopf1 TEXT, kopf2 TEXT, kopf3 TEXT, kopf4 TEXT, logo INTEGER, einzelbon INTEGER, "
        "tischanzeige INTEGER, salat INTEGER, UNIQUE (kasse_id, nummer))",
        "CREATE TABLE IF NOT EXISTS Belegzeile (beleg INTEGER NOT NULL, pos INTEGER NOT NULL, "
        "taste INTEGER NOT NULL, artikel TEXT NOT NULL, anzahl INTEGER NOT NULL, "
        "preis_cent INTEGER NOT NULL, betrag_cent INTEGER NOT NULL, protokoll_nr INTEGER NOT NULL, "
        "PRIMARY KEY (beleg, pos)) "
        "WITHOUT ROWID",
        "CREATE TABLE IF NOT EXISTS Storno (lfd INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, "
        "kasse_id TEXT NOT NULL, zeit_ms INTEGER NOT NULL, offset_s INTEGER NOT NULL, "
        "beleg_nummer INTEGER NOT NULL, taste INTEGER NOT NULL, artikel TEXT NOT NULL, "
        "anzahl INTEGER NOT NULL, betrag_cent INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS Kopie (lfd INTEGER PRIMARY KEY, beleg INTEGER NOT NULL, "
        "kasse_id TEXT NOT NULL, zeit_ms INTEGER NOT NULL, offset_s INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS Nachtrag (lfd INTEGER PRIMARY KEY, id TEXT NOT NULL UNIQUE, "
        "beleg INTEGER NOT NULL, kasse_id TEXT NOT NULL, zeit_ms INTEGER NOT NULL, "
        "offset_s INTEGER NOT NULL, gegeben_cent INTEGER, rueckgeld_cent INTEGER, druck INTEGER NOT NULL)",
        // Only the few receipts that wait are in this index.
        "CREATE INDEX IF NOT EXISTS BelegWartet ON Beleg (lfd) WHERE druck = 2",
        "CREATE INDEX IF NOT EXISTS BelegZeit ON Beleg (zeit_ms)",
    };
    QSqlQuery q(db);
    for (const char *sql : tabellen) {
        if (!q.exec(QString::fromLatin1(sql))) {
            fehler = q.lastError();
            return false;
        }
    }
    return true;
}

QString MaschinenSchluessel()
{
    QByteArray kennung;
    for (const char *pfad : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
        QFile datei(QString::fromLatin1(pfad));
        if (datei.open(QIODevice::ReadOnly)) {
            kennung = datei.readAll().trimmed();
            if (!kennung.isEmpty())
                break;
        }
    }
    if (kennung.isEmpty())
        kennung = QSysInfo::machineUniqueId();
    if (kennung.isEmpty())
        kennung = QSysInfo::machineHostName().toUtf8();
    // The machine id is not ours to spread; a salted hash tells machines apart.
    return QString::fromLatin1(
        QCryptographicHash::hash("zanti-kasse:" + kennung, QCryptographicHash::Sha256).toHex().left(32));
}

std::optional<Kassenkennung> KennungLesen(QSqlDatabase &db)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT id, name, maschine FROM Kassenkennung LIMIT 1")) || !q.next())
        return std::nullopt;
    return Kassenkennung{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
}

std::optional<KennungErgebnis> KennungSichern(QSqlDatabase &db, const QString &maschine,
                                              const QString &hostName, QSqlError &fehler)
{
    KennungErgebnis ergebnis;
    const std::optional<Kassenkennung> gespeichert = KennungLesen(db);
    if (gespeichert && gespeichert->maschine == maschine) {
        ergebnis.kennung = *gespeichert;
        return ergebnis;
    }
    ergebnis.neu = true;
    ergebnis.kopiert = gespeichert.has_value();
    ergebnis.kennung = {NeueUuid(), hostName.isEmpty() ? QStringLiteral("Kasse") : hostName, maschine};
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("DELETE FROM Kassenkennung"))) {
        fehler = q.lastError();
        return std::nullopt;
    }
    q.prepare(QStringLiteral("INSERT INTO Kassenkennung (id, name, maschine) VALUES (?, ?, ?)"));
    q.addBindValue(ergebnis.kennung.id);
    q.addBindValue(ergebnis.kennung.name);
    q.addBindValue(ergebnis.kennung.maschine);
    if (!Ausfuehren(q, fehler))
        return std::nullopt;
    return ergebnis;
}

qint64 NaechsteBelegNummer(QSqlDatabase &db, const QString &kasseId)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT MAX(nummer) FROM Beleg WHERE kasse_id = ?"));
    q.addBindValue(kasseId);
    if (!q.exec() || !q.next())
        return 1;
    return q.value(0).toLongLong() + 1;
}

bool BelegEintragen(QSqlDatabase &db, Beleg &b, QSqlError &fehler)
{
    if (b.id.isEmpty())
        b.id = NeueUuid();
    b.nummer = NaechsteBelegNummer(db, b.kasseId);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Beleg (id, kasse_id, nummer, zeit_ms, offset_s, tisch, "
                             "summe_cent, gegeben_cent, rueckgeld_cent, druck, kopf1, kopf2, kopf3, "
                             "kopf4, logo, einzelbon, tischanzeige, salat) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(b.id);
    q.addBindValue(b.kasseId);
    q.addBindValue(b.nummer);
    q.addBindValue(b.zeit.ms);
    q.addBindValue(b.zeit.offsetS);
    q.addBindValue(b.tisch ? QVariant(*b.tisch) : QVariant(QMetaType(QMetaType::Int)));
    q.addBindValue(b.summeCent);
    q.addBindValue(Wahlweise(b.gegebenCent));
    q.addBindValue(Wahlweise(b.rueckgeldCent));
    q.addBindValue(int(b.druck));
    for (const QString &zeile : b.druckdaten.kopf)
        q.addBindValue(zeile);
    q.addBindValue(b.druckdaten.logo);
    q.addBindValue(b.druckdaten.einzelbon ? 1 : 0);
    q.addBindValue(b.druckdaten.tischanzeige ? 1 : 0);
    q.addBindValue(b.druckdaten.salat ? 1 : 0);
    if (!Ausfuehren(q, fehler))
        return false;
    b.lfd = q.lastInsertId().toLongLong();

    QSqlQuery zeile(db);
    zeile.prepare(QStringLiteral("INSERT INTO Belegzeile (beleg, pos, taste, artikel, anzahl, "
                                 "preis_cent, betrag_cent, protokoll_nr) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    int pos = 0;
    for (const Belegzeile &z : std::as_const(b.zeilen)) {
        zeile.bindValue(0, b.lfd);
        zeile.bindValue(1, ++pos);
        zeile.bindValue(2, z.taste);
        zeile.bindValue(3, z.artikel);
        zeile.bindValue(4, z.anzahl);
        zeile.bindValue(5, z.preisCent);
        zeile.bindValue(6, z.betragCent);
        zeile.bindValue(7, z.protokollNr);
        if (!Ausfuehren(zeile, fehler))
            return false;
    }
    return true;
}

bool StornoEintragen(QSqlDatabase &db, StornoEintrag &s, QSqlError &fehler)
{
    if (s.id.isEmpty())
        s.id = NeueUuid();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Storno (id, kasse_id, zeit_ms, offset_s, beleg_nummer, "
                             "taste, artikel, anzahl, betrag_cent) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const QVariant &wert : QVariantList{s.id, s.kasseId, s.zeit.ms, s.zeit.offsetS, s.belegNummer,
                                             s.taste, s.artikel, s.anzahl, s.betragCent})
        q.addBindValue(wert);
    if (!Ausfuehren(q, fehler))
        return false;
    s.lfd = q.lastInsertId().toLongLong();
    return true;
}

bool KopieEintragen(QSqlDatabase &db, qint64 belegLfd, const QString &kasseId, const Zeitpunkt &zeit,
                    QSqlError &fehler)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Kopie (beleg, kasse_id, zeit_ms, offset_s) VALUES (?, ?, ?, ?)"));
    for (const QVariant &wert : QVariantList{belegLfd, kasseId, zeit.ms, zeit.offsetS})
        q.addBindValue(wert);
    return Ausfuehren(q, fehler);
}

bool DruckstatusSetzen(QSqlDatabase &db, qint64 belegLfd, Druckstatus status, QSqlError &fehler)
{
    return BelegAendern(db, belegLfd, "druck = ?", {int(status)}, fehler);
}

bool GegebenSetzen(QSqlDatabase &db, qint64 belegLfd, Cent gegeben, Cent rueckgeld, QSqlError &fehler)
{
    return BelegAendern(db, belegLfd, "gegeben_cent = ?, rueckgeld_cent = ?", {gegeben, rueckgeld}, fehler);
}

QList<Beleg> BelegeLesen(QSqlDatabase &db, qint64 nach, int hoechstens)
{
    return BelegeAbfragen(db, QStringLiteral("WHERE lfd > ? ORDER BY lfd LIMIT ?"), {nach, hoechstens});
}

QList<Beleg> NeuesteBelege(QSqlDatabase &db, int hoechstens)
{
    return BelegeAbfragen(db, QStringLiteral("ORDER BY lfd DESC LIMIT ?"), {hoechstens});
}

std::optional<Beleg> BelegLesen(QSqlDatabase &db, qint64 lfd)
{
    QList<Beleg> belege = BelegeAbfragen(db, QStringLiteral("WHERE lfd = ?"), {lfd});
    if (belege.isEmpty())
        return std::nullopt;
    return belege.takeFirst();
}

QList<Beleg> WartendeBelege(QSqlDatabase &db)
{
    return BelegeAbfragen(db, QStringLiteral("WHERE druck = 2 ORDER BY lfd"), {});
}

QList<StornoEintrag> StornosLesen(QSqlDatabase &db, qint64 nach, int hoechstens)
{
    QList<StornoEintrag> stornos;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT lfd, id, kasse_id, zeit_ms, offset_s, beleg_nummer, taste, artikel, "
                             "anzahl, betrag_cent FROM Storno WHERE lfd > ? ORDER BY lfd LIMIT ?"));
    q.addBindValue(nach);
    q.addBindValue(hoechstens);
    if (!q.exec())
        return stornos;
    while (q.next()) {
        StornoEintrag s;
        s.lfd = q.value(0).toLongLong();
        s.id = q.value(1).toString();
        s.kasseId = q.value(2).toString();
        s.zeit = {q.value(3).toLongLong(), q.value(4).toInt()};
        s.belegNummer = q.value(5).toLongLong();
        s.taste = q.value(6).toInt();
        s.artikel = q.value(7).toString();
        s.anzahl = q.value(8).toInt();
        s.betragCent = q.value(9).toLongLong();
        stornos.append(s);
    }
    return stornos;
}

QList<NachtragEintrag> NachtraegeLesen(QSqlDatabase &db, qint64 nach, qint64 belegBis, int hoechstens)
{
    QList<NachtragEintrag> nachtraege;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.prepare(QStringLiteral(
        "SELECT n.lfd, n.id, n.beleg, b.id, n.kasse_id, n.zeit_ms, n.offset_s, n.gegeben_cent, "
        "n.rueckgeld_cent, n.druck FROM Nachtrag n JOIN Beleg b ON b.lfd = n.beleg "
        "WHERE n.lfd > ? AND n.lfd < coalesce((SELECT min(lfd) FROM Nachtrag WHERE lfd > ? AND beleg > ?), "
        "9223372036854775807) ORDER BY n.lfd LIMIT ?"));
    for (const QVariant &wert : QVariantList{nach, nach, belegBis, hoechstens})
        q.addBindValue(wert);
    if (!q.exec())
        return nachtraege;
    while (q.next()) {
        NachtragEintrag n;
        n.lfd = q.value(0).toLongLong();
        n.id = q.value(1).toString();
        n.beleg = q.value(2).toLongLong();
        n.belegId = q.value(3).toString();
        n.kasseId = q.value(4).toString();
        n.zeit = {q.value(5).toLongLong(), q.value(6).toInt()};
        n.gegebenCent = WahlweiseLesen(q.value(7));
        n.rueckgeldCent = WahlweiseLesen(q.value(8));
        n.druck = Druckstatus(q.value(9).toInt());
        nachtraege.append(n);
    }
    return nachtraege;
}

} // namespace zanti

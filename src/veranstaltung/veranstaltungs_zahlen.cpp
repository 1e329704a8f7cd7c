#include "veranstaltung/veranstaltungs_zahlen.h"

#include "persistence/server_verbindung.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace zanti {

namespace {

// The newest heartbeat of each register tells its name and whether it has
// sent everything. A register without one (receipts a copied folder sent under its old
// identity) still counts, under the name on its receipts.
QString KassenSql()
{
    return QStringLiteral(R"(
WITH %1,
b AS (
    SELECT kasse_id, min(kasse) AS kasse, count(*) AS belege, sum(summe_cent) AS umsatz, max(nummer) AS hoechste
    FROM beleg WHERE veranstaltung = ? GROUP BY kasse_id),
s AS (
    SELECT kasse_id, min(kasse) AS kasse, count(*) AS stornos, sum(betrag_cent) AS betrag
    FROM storno WHERE veranstaltung = ? GROUP BY kasse_id),
alle AS (SELECT kasse_id FROM stand UNION SELECT kasse_id FROM b UNION SELECT kasse_id FROM s)
SELECT coalesce(stand.kasse, b.kasse, s.kasse) AS name, CAST(alle.kasse_id AS text) AS id,
       coalesce(b.belege, 0), coalesce(b.umsatz, 0), coalesce(s.stornos, 0), coalesce(s.betrag, 0),
       CAST(extract(epoch FROM l.zeit) * 1000 AS bigint), l.zeit_offset_s, %2
FROM alle
LEFT JOIN stand ON stand.kasse_id = alle.kasse_id
LEFT JOIN b ON b.kasse_id = alle.kasse_id
LEFT JOIN s ON s.kasse_id = alle.kasse_id
LEFT JOIN LATERAL (SELECT zeit, zeit_offset_s FROM beleg
                   WHERE beleg.kasse_id = alle.kasse_id AND beleg.nummer = b.hoechste) l ON true
ORDER BY name, id)")
        .arg(QLatin1String(kKassenStandSql), AllesGesendetSql(QStringLiteral("b.hoechste")));
}

constexpr auto kArtikelSql = R"(
SELECT z.artikel, sum(z.anzahl), sum(z.betrag_cent)
FROM belegzeile z JOIN beleg b ON b.id = z.beleg_id
WHERE b.veranstaltung = ?
GROUP BY z.artikel ORDER BY z.artikel)";

} // namespace

std::optional<VeranstaltungsZahlen> VeranstaltungsZahlenLesen(QSqlDatabase &db, const QString &veranstaltung,
                                                              QString &fehler)
{
    VeranstaltungsZahlen z;
    z.name = veranstaltung;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    const auto abbrechen = [&](const QSqlError &e) {
        fehler = e.text();
        if (db.isOpen())
            db.rollback();
        return std::nullopt;
    };
    if (!db.transaction())
        return abbrechen(db.lastError());
    // One snapshot for both queries, so registers and articles agree.
    if (!q.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY")))
        return abbrechen(q.lastError());
    q.prepare(KassenSql());
    for (int i = 0; i < 3; ++i)
        q.addBindValue(veranstaltung);
    if (!q.exec())
        return abbrechen(q.lastError());
    while (q.next()) {
        VeranstaltungsKasse k;
        k.kasse = q.value(0).toString();
        k.kasseId = q.value(1).toString();
        k.belege = q.value(2).toLongLong();
        k.umsatzCent = q.value(3).toLongLong();
        k.stornos = q.value(4).toLongLong();
        k.stornoCent = q.value(5).toLongLong();
        if (!q.value(6).isNull())
            k.letzterBeleg = Zeitpunkt{q.value(6).toLongLong(), q.value(7).toInt()};
        k.allesGesendet = q.value(8).toBool();
        z.belege += k.belege;
        z.umsatzCent += k.umsatzCent;
        z.stornos += k.stornos;
        z.stornoCent += k.stornoCent;
        z.kassen.append(k);
    }
    q.prepare(QString::fromLatin1(kArtikelSql));
    q.addBindValue(veranstaltung);
    if (!q.exec())
        return abbrechen(q.lastError());
    while (q.next())
        z.artikel.append({q.value(0).toString(), q.value(1).toLongLong(), q.value(2).toLongLong()});
    db.commit();
    return z;
}

} // namespace zanti

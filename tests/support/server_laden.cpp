#include "support/server_laden.h"

#include "persistence/journal.h"

#include <QFile>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zanti::test {

namespace {

bool Ausfuehren(QSqlQuery &q, const QVariantList &werte, QString &fehler)
{
    for (int i = 0; i < werte.size(); ++i)
        q.bindValue(i, werte[i]);
    if (q.exec())
        return true;
    fehler = q.lastError().text();
    return false;
}

} // namespace

QString ServerSchemaSql()
{
    QFile datei(QStringLiteral(ZANTI_QUELLEN "/src/veranstaltung/schema_v1.sql"));
    return datei.open(QIODevice::ReadOnly) ? QString::fromUtf8(datei.readAll()) : QString();
}

bool JournalAufServer(QSqlDatabase &journal, QSqlDatabase &server, const QString &veranstaltung, QString &fehler)
{
    const std::optional<Kassenkennung> kennung = KennungLesen(journal);
    const auto name = [&](const QString &id) {
        return kennung && kennung->id == id ? kennung->name : QStringLiteral("Kasse %1").arg(id.left(8));
    };
    server.transaction();
    QSqlQuery beleg(server), zeile(server), storno(server), stand(server);
    beleg.prepare(QStringLiteral("INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, "
                                 "tisch, summe_cent, gegeben_cent, rueckgeld_cent, druck) VALUES (?::uuid, ?, ?, "
                                 "?::uuid, ?, to_timestamp(?::bigint / 1000.0), ?, ?, ?, ?, ?, ?)"));
    zeile.prepare(QStringLiteral("INSERT INTO belegzeile (beleg_id, pos, taste, artikel, anzahl, preis_cent, betrag_cent) "
                                 "VALUES (?::uuid, ?, ?, ?, ?, ?, ?)"));
    storno.prepare(QStringLiteral("INSERT INTO storno (id, veranstaltung, kasse, kasse_id, zeit, zeit_offset_s, "
                                  "beleg_nummer, taste, artikel, anzahl, betrag_cent) VALUES (?::uuid, ?, ?, ?::uuid, "
                                  "to_timestamp(?::bigint / 1000.0), ?, ?, ?, ?, ?, ?)"));
    QHash<QString, std::pair<qint64, qint64>> jeKasse; // highest number, voids
    for (qint64 nach = 0;;) {
        const QList<Beleg> belege = BelegeLesen(journal, nach, 1000);
        if (belege.isEmpty())
            break;
        for (const Beleg &b : belege) {
            nach = b.lfd;
            const QVariant leer(QMetaType(QMetaType::LongLong));
            if (!Ausfuehren(beleg, {b.id, veranstaltung, name(b.kasseId), b.kasseId, b.nummer, b.zeit.ms, b.zeit.offsetS,
                                    b.tisch ? QVariant(*b.tisch) : QVariant(QMetaType(QMetaType::Int)), b.summeCent,
                                    b.gegebenCent ? QVariant(*b.gegebenCent) : leer,
                                    b.rueckgeldCent ? QVariant(*b.rueckgeldCent) : leer, int(b.druck)},
                            fehler))
                return false;
            int pos = 0;
            for (const Belegzeile &z : b.zeilen) {
                if (!Ausfuehren(zeile, {b.id, ++pos, z.taste, z.artikel, z.anzahl, z.preisCent, z.betragCent}, fehler))
                    return false;
            }
            jeKasse[b.kasseId].first = std::max(jeKasse[b.kasseId].first, b.nummer);
        }
    }
    for (qint64 nach = 0;;) {
        const QList<StornoEintrag> stornos = StornosLesen(journal, nach, 1000);
        if (stornos.isEmpty())
            break;
        for (const StornoEintrag &s : stornos) {
            nach = s.lfd;
            if (!Ausfuehren(storno, {s.id, veranstaltung, name(s.kasseId), s.kasseId, s.zeit.ms, s.zeit.offsetS,
                                     s.belegNummer, s.taste, s.artikel, s.anzahl, s.betragCent},
                            fehler))
                return false;
            ++jeKasse[s.kasseId].second;
        }
    }
    stand.prepare(QStringLiteral("INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, "
                                 "wartend) VALUES (?::uuid, ?, ?, ?, ?, 0)"));
    for (auto it = jeKasse.begin(); it != jeKasse.end(); ++it) {
        if (!Ausfuehren(stand, {it.key(), veranstaltung, name(it.key()), it->first, it->second}, fehler))
            return false;
    }
    return server.commit();
}

} // namespace zanti::test

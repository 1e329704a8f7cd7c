#include "abrechnung/abrechnung.h"

#include <QHash>
#include <QTimeZone>
#include <algorithm>

namespace zanti {

namespace {

constexpr qint64 kStundeMs = 3'600'000;

Stunde StundeAus(qint64 lokaleStunde, int offsetS)
{
    const QDateTime lokal = QDateTime::fromMSecsSinceEpoch(lokaleStunde * kStundeMs, QTimeZone::utc());
    return {lokal.date(), lokal.time().hour(), offsetS};
}

// a / b rounded half away from zero.
qint64 Gerundet(qint64 a, qint64 b)
{
    if (b == 0)
        return 0;
    const qint64 halb = b / 2;
    return a >= 0 ? (a + halb) / b : -((-a + halb) / b);
}

QString KassenName(const QHash<QString, QString> &namen, const QString &id)
{
    const QString name = namen.value(id);
    return name.isEmpty() ? QStringLiteral("Kasse %1").arg(id.left(8)) : name;
}

} // namespace

Zeitraum Zeitraum::Tage(QDate erster, QDate letzter)
{
    return {QDateTime(erster, QTime(0, 0), QTimeZone::utc()),
            QDateTime(letzter.addDays(1), QTime(0, 0), QTimeZone::utc())};
}

qint64 Stunde::beginnUtcMs() const
{
    return QDateTime(datum, QTime(stunde, 0), QTimeZone::utc()).toMSecsSinceEpoch() - qint64(offsetS) * 1000;
}

QStringList Abrechnung::unvollstaendig() const
{
    QStringList namen;
    for (const KassenZahlen &k : kassen) {
        if (k.allesGesendet == false)
            namen.append(k.name);
    }
    return namen;
}

bool Abrechnung::doppelteStunde(const Stunde &s) const
{
    return std::any_of(stunden.begin(), stunden.end(), [&](const StundenZahlen &z) {
        return z.stunde.datum == s.datum && z.stunde.stunde == s.stunde && z.stunde.offsetS != s.offsetS;
    });
}

Abrechnung Zusammenfassen(const Rohdaten &roh, const Zeitraum &zeitraum, const QString &quelle,
                          const QString &kurzname, bool veranstaltung)
{
    Abrechnung a;
    a.quelle = quelle;
    a.kurzname = kurzname;
    a.veranstaltung = veranstaltung;
    a.zeitraum = zeitraum;

    QHash<QString, QString> namen;
    QHash<QString, KassenZahlen> kassen;
    for (const Rohdaten::Kasse &k : roh.kassen) {
        namen.insert(k.id, k.name);
        kassen.insert(k.id, {k.id, {}, 0, 0, 0, 0, k.allesGesendet});
    }
    const auto kasse = [&](const QString &id) -> KassenZahlen & {
        KassenZahlen &k = kassen[id];
        k.kasseId = id;
        k.name = KassenName(namen, id);
        return k;
    };

    // Hours of all registers together, keyed by local hour and offset.
    QHash<QPair<qint64, int>, StundenZahlen> stunden;
    for (const Rohdaten::Gruppe &g : roh.belege) {
        a.belege += g.anzahl;
        a.umsatz += g.betrag;
        KassenZahlen &k = kasse(g.kasseId);
        k.belege += g.anzahl;
        k.umsatz += g.betrag;
        StundenZahlen &s = stunden[{g.lokaleStunde, g.offsetS}];
        s.stunde = StundeAus(g.lokaleStunde, g.offsetS);
        s.belege += g.anzahl;
        s.umsatz += g.betrag;
    }
    a.stunden = stunden.values();
    std::sort(a.stunden.begin(), a.stunden.end(), [](const StundenZahlen &x, const StundenZahlen &y) {
        return x.stunde.beginnUtcMs() < y.stunde.beginnUtcMs();
    });
    a.durchschnitt = Gerundet(a.umsatz, a.belege);

    for (const Rohdaten::Gruppe &g : roh.stornos) {
        a.stornos += g.anzahl;
        a.stornoCent += g.betrag;
        KassenZahlen &k = kasse(g.kasseId);
        k.stornos += g.anzahl;
        k.stornoCent += g.betrag;
        a.stornoStunden.append({k.name, StundeAus(g.lokaleStunde, g.offsetS), g.anzahl, g.betrag});
    }
    std::sort(a.stornoStunden.begin(), a.stornoStunden.end(), [](const StornoZahlen &x, const StornoZahlen &y) {
        if (x.kasse != y.kasse)
            return x.kasse < y.kasse;
        return x.stunde.beginnUtcMs() < y.stunde.beginnUtcMs();
    });

    for (auto it = kassen.begin(); it != kassen.end(); ++it)
        it->name = KassenName(namen, it.key());
    a.kassen = kassen.values();
    std::sort(a.kassen.begin(), a.kassen.end(), [](const KassenZahlen &x, const KassenZahlen &y) {
        return x.name != y.name ? x.name < y.name : x.kasseId < y.kasseId;
    });

    a.artikel = roh.artikel;
    for (ArtikelZahlen &z : a.artikel)
        z.anteilPromille = int(Gerundet(z.umsatz * 1000, a.umsatz));
    std::sort(a.artikel.begin(), a.artikel.end(), [](const ArtikelZahlen &x, const ArtikelZahlen &y) {
        return x.umsatz != y.umsatz ? x.umsatz > y.umsatz : x.artikel < y.artikel;
    });

    const auto marke = [&](const std::optional<Rohdaten::Marke> &m) -> std::optional<BelegMarke> {
        if (!m)
            return std::nullopt;
        return BelegMarke{KassenName(namen, m->kasseId), m->nummer, m->zeit};
    };
    a.erster = marke(roh.erster);
    a.letzter = marke(roh.letzter);
    return a;
}

} // namespace zanti

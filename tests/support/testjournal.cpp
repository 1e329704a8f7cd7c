#include "support/testjournal.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>
#include <QUuid>

namespace zanti::test {

Zeitpunkt LokalZeit(const QString &lokal, int offsetS)
{
    // Date and time apart: a local time this machine's zone skips stays as given.
    const QDateTime alsUtc(QDate::fromString(lokal.left(10), QStringLiteral("yyyy-MM-dd")),
                           QTime::fromString(lokal.mid(11), QStringLiteral("HH:mm:ss")), QTimeZone::utc());
    return {alsUtc.toMSecsSinceEpoch() - qint64(offsetS) * 1000, offsetS};
}

TestJournal::TestJournal(const QString &pfad, const QString &name)
    : m_name(QStringLiteral("testjournal-%1").arg(QUuid::createUuid().toString(QUuid::Id128)))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(pfad);
    if (!db.open())
        qFatal("cannot open %s", qPrintable(pfad));
    // WAL, as the register keeps daten.db.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    QSqlError fehler;
    db.transaction();
    const auto kennung = JournalAnlegen(db, fehler) ? KennungSichern(db, MaschinenSchluessel(), name, fehler)
                                                    : std::nullopt;
    if (!kennung)
        qFatal("journal: %s", qPrintable(fehler.text()));
    db.commit();
    m_kasseId = kennung->kennung.id;
}

TestJournal::~TestJournal()
{
    db().close();
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase TestJournal::db() const
{
    return QSqlDatabase::database(m_name, false);
}

Beleg TestJournal::bon(const Zeitpunkt &zeit, const QList<Belegzeile> &zeilen, const QString &kasseId)
{
    Beleg b;
    b.kasseId = kasseId.isEmpty() ? m_kasseId : kasseId;
    b.zeit = zeit;
    b.zeilen = zeilen;
    for (const Belegzeile &z : zeilen)
        b.summeCent += z.betragCent;
    b.druck = Druckstatus::Gedruckt;
    QSqlDatabase d = db();
    QSqlError fehler;
    d.transaction();
    if (!BelegEintragen(d, b, fehler))
        qFatal("journal: %s", qPrintable(fehler.text()));
    d.commit();
    return b;
}

void TestJournal::storno(const Zeitpunkt &zeit, const Belegzeile &zeile, const QString &kasseId)
{
    StornoEintrag s;
    s.kasseId = kasseId.isEmpty() ? m_kasseId : kasseId;
    s.zeit = zeit;
    QSqlDatabase d = db();
    s.belegNummer = NaechsteBelegNummer(d, s.kasseId);
    s.taste = zeile.taste;
    s.artikel = zeile.artikel;
    s.anzahl = zeile.anzahl;
    s.betragCent = zeile.betragCent;
    QSqlError fehler;
    if (!StornoEintragen(d, s, fehler))
        qFatal("journal: %s", qPrintable(fehler.text()));
}

void TestJournal::viele(int anzahl, const Zeitpunkt &start)
{
    static const Belegzeile artikel[] = {{1, QStringLiteral("Bier 0,5 l"), 1, 350, 350},
                                         {2, QStringLiteral("Cola"), 1, 200, 200},
                                         {3, QStringLiteral("Bratwurst"), 1, 300, 300},
                                         {4, QStringLiteral("Pommes"), 1, 250, 250},
                                         {5, QStringLiteral("Kaffee"), 1, 150, 150},
                                         {6, QStringLiteral("Kuchen"), 1, 180, 180}};
    QSqlDatabase d = db();
    QSqlError fehler;
    d.transaction();
    quint32 zufall = 12345;
    const auto naechste = [&zufall] { return (zufall = zufall * 1103515245u + 12345u) >> 16; };
    for (int i = 0; i < anzahl; ++i) {
        Beleg b;
        b.kasseId = m_kasseId;
        b.zeit = {start.ms + qint64(i) * 7000, start.offsetS};
        b.druck = Druckstatus::Gedruckt;
        const int zeilen = 1 + naechste() % 4;
        for (int k = 0; k < zeilen; ++k) {
            Belegzeile z = artikel[naechste() % 6];
            z.anzahl = 1 + naechste() % 3;
            z.betragCent = z.preisCent * z.anzahl;
            b.summeCent += z.betragCent;
            b.zeilen.append(z);
        }
        if (!BelegEintragen(d, b, fehler))
            qFatal("journal: %s", qPrintable(fehler.text()));
        if (i % 50 == 0) {
            StornoEintrag s;
            s.kasseId = m_kasseId;
            s.zeit = b.zeit;
            s.belegNummer = b.nummer + 1;
            s.artikel = artikel[0].artikel;
            s.betragCent = artikel[0].betragCent;
            if (!StornoEintragen(d, s, fehler))
                qFatal("journal: %s", qPrintable(fehler.text()));
        }
    }
    d.commit();
}

namespace {

constexpr int kSommer = 7200;
constexpr int kWinter = 3600;

Belegzeile Zeile(const QString &artikel, int anzahl, Cent preis)
{
    return {0, artikel, anzahl, preis, preis * anzahl};
}

} // namespace

QString NachtAlteKennung()
{
    return QStringLiteral("0a1b2c3d-0000-4000-8000-000000000001");
}

void NachtAnlegen(TestJournal &j)
{
    const QString alt = NachtAlteKennung();
    j.bon(LokalZeit(u"2026-10-23 23:30:00"_qs, kSommer), {Zeile(u"Bier"_qs, 1, 350)});
    j.bon(LokalZeit(u"2026-10-24 00:00:00"_qs, kSommer), {Zeile(u"Kaffee"_qs, 1, 150)});
    j.bon(LokalZeit(u"2026-10-24 20:15:00"_qs, kSommer), {Zeile(u"Bier"_qs, 2, 350), Zeile(u"Bratwurst"_qs, 1, 300)});
    j.bon(LokalZeit(u"2026-10-24 20:40:00"_qs, kSommer), {Zeile(u"Cola"_qs, 1, 200)}, alt);
    j.bon(LokalZeit(u"2026-10-25 02:10:00"_qs, kSommer), {Zeile(u"Bier"_qs, 1, 350)});
    j.bon(LokalZeit(u"2026-10-25 02:50:00"_qs, kSommer), {Zeile(u"Bier"_qs, 3, 350)});
    j.bon(LokalZeit(u"2026-10-25 02:05:00"_qs, kWinter), {Zeile(u"Bratwurst"_qs, 2, 300), Zeile(u"Cola"_qs, 1, 200)});
    j.bon(LokalZeit(u"2026-10-25 03:20:00"_qs, kWinter), {Zeile(u"Pfand zurück"_qs, -1, 200), Zeile(u"Bier"_qs, 1, 350)});
    j.bon(LokalZeit(u"2026-10-26 00:00:00"_qs, kWinter), {Zeile(u"Bier"_qs, 1, 350)});
    j.storno(LokalZeit(u"2026-10-25 02:40:00"_qs, kSommer), Zeile(u"Bier"_qs, 1, 350));
    j.storno(LokalZeit(u"2026-10-25 02:15:00"_qs, kWinter), Zeile(u"Cola"_qs, 1, 200));
    j.storno(LokalZeit(u"2026-10-25 02:20:00"_qs, kWinter), Zeile(u"Bratwurst"_qs, 2, 300));
    j.storno(LokalZeit(u"2026-10-24 20:41:00"_qs, kSommer), Zeile(u"Cola"_qs, 1, 200), alt);
    j.storno(LokalZeit(u"2026-10-26 09:00:00"_qs, kWinter), Zeile(u"Cola"_qs, 1, 200));
}

} // namespace zanti::test

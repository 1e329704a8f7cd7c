#include "support/testjournal.h"

#include <QDateTime>
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

namespace {

struct Artikel
{
    int taste;
    const char16_t *text;
    Cent preis;
};

// Texts that must cross the network unchanged.
constexpr Artikel kZufallsArtikel[] = {
    {1, u"Bier", 350},
    {2, u"Würstchen", 250},
    {3, u"Kuchen 'hausgemacht'", 180},
    {4, u"Saft \"klar\"", 200},
    {5, u"Wasser\\still", 150},
    {6, u"Kaffee; mit Milch", 120},
};

} // namespace

TestJournal::TestJournal(const QString &pfad, const QString &name)
    : m_name(QStringLiteral("testjournal-%1").arg(QUuid::createUuid().toString(QUuid::Id128)))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(pfad);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open())
        qFatal("cannot open %s", qPrintable(pfad));
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    schreibenOderEnden([&](QSqlDatabase &d, QSqlError &fehler) {
        const auto kennung =
            JournalAnlegen(d, fehler) ? KennungSichern(d, MaschinenSchluessel(), name, fehler) : std::nullopt;
        if (kennung)
            m_kasseId = kennung->kennung.id;
        return kennung.has_value();
    });
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

bool TestJournal::schreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &was)
{
    QSqlDatabase d = db();
    QSqlQuery q(d);
    QSqlError fehler;
    // As the close: BEGIN IMMEDIATE, so a writer that holds the file is
    // waited for (busy timeout) and not met half-way.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_fehler = q.lastError().text();
        return false;
    }
    if (!was(d, fehler) || !q.exec(QStringLiteral("COMMIT"))) {
        m_fehler = fehler.isValid() ? fehler.text() : q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

void TestJournal::schreibenOderEnden(const std::function<bool(QSqlDatabase &, QSqlError &)> &was)
{
    if (!schreiben(was))
        qFatal("journal: %s", qPrintable(m_fehler));
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
    schreibenOderEnden([&b](QSqlDatabase &d, QSqlError &fehler) { return BelegEintragen(d, b, fehler); });
    return b;
}

void TestJournal::storno(const Zeitpunkt &zeit, const Belegzeile &zeile, const QString &kasseId)
{
    StornoEintrag s;
    s.kasseId = kasseId.isEmpty() ? m_kasseId : kasseId;
    s.zeit = zeit;
    s.taste = zeile.taste;
    s.artikel = zeile.artikel;
    s.anzahl = zeile.anzahl;
    s.betragCent = zeile.betragCent;
    schreibenOderEnden([&s](QSqlDatabase &d, QSqlError &fehler) {
        s.belegNummer = NaechsteBelegNummer(d, s.kasseId);
        return StornoEintragen(d, s, fehler);
    });
}

void TestJournal::viele(int anzahl, const Zeitpunkt &start)
{
    static const Belegzeile artikel[] = {{1, QStringLiteral("Bier 0,5 l"), 1, 350, 350},
                                         {2, QStringLiteral("Cola"), 1, 200, 200},
                                         {3, QStringLiteral("Bratwurst"), 1, 300, 300},
                                         {4, QStringLiteral("Pommes"), 1, 250, 250},
                                         {5, QStringLiteral("Kaffee"), 1, 150, 150},
                                         {6, QStringLiteral("Kuchen"), 1, 180, 180}};
    quint32 zufall = 12345;
    const auto naechste = [&zufall] { return (zufall = zufall * 1103515245u + 12345u) >> 16; };
    schreibenOderEnden([&](QSqlDatabase &d, QSqlError &fehler) {
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
                return false;
            if (i % 50 == 0) {
                StornoEintrag s;
                s.kasseId = m_kasseId;
                s.zeit = b.zeit;
                s.belegNummer = b.nummer + 1;
                s.artikel = artikel[0].artikel;
                s.betragCent = artikel[0].betragCent;
                if (!StornoEintragen(d, s, fehler))
                    return false;
            }
        }
        return true;
    });
}

bool TestJournal::belegSchliessen(QRandomGenerator &zufall)
{
    Beleg b;
    b.kasseId = m_kasseId;
    b.zeit = Zeitpunkt::aus(QDateTime::currentDateTime());
    b.druck = Druckstatus::Gedruckt;
    if (zufall.bounded(4) == 0)
        b.tisch = zufall.bounded(1, 40);
    const int zeilen = zufall.bounded(1, 5);
    for (int i = 0; i < zeilen; ++i) {
        const Artikel &a = kZufallsArtikel[zufall.bounded(int(std::size(kZufallsArtikel)))];
        const int anzahl = zufall.bounded(1, 4);
        b.zeilen.append({a.taste, QString::fromUtf16(a.text), anzahl, a.preis, a.preis * anzahl});
        b.summeCent += a.preis * anzahl;
    }
    return schreiben([&b](QSqlDatabase &d, QSqlError &fehler) { return BelegEintragen(d, b, fehler); });
}

bool TestJournal::stornoBuchen(QRandomGenerator &zufall)
{
    const Artikel &a = kZufallsArtikel[zufall.bounded(int(std::size(kZufallsArtikel)))];
    StornoEintrag s;
    s.kasseId = m_kasseId;
    s.zeit = Zeitpunkt::aus(QDateTime::currentDateTime());
    s.taste = a.taste;
    s.artikel = QString::fromUtf16(a.text);
    s.betragCent = a.preis;
    return schreiben([&s](QSqlDatabase &d, QSqlError &fehler) {
        s.belegNummer = NaechsteBelegNummer(d, s.kasseId);
        return StornoEintragen(d, s, fehler);
    });
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

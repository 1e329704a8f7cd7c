#include "support/journal_kasse.h"

#include "persistence/datei.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>

namespace zanti::test {

namespace {

struct Artikel
{
    int taste;
    const char16_t *text;
    Cent preis;
};

// Texts that must cross the network unchanged.
constexpr Artikel kArtikel[] = {
    {1, u"Bier", 350},
    {2, u"Würstchen", 250},
    {3, u"Kuchen 'hausgemacht'", 180},
    {4, u"Saft \"klar\"", 200},
    {5, u"Wasser\\still", 150},
    {6, u"Kaffee; mit Milch", 120},
};

Zeitpunkt Jetzt()
{
    return Zeitpunkt::aus(QDateTime::currentDateTime());
}

} // namespace

JournalKasse::JournalKasse(const QString &ordner, const QString &name)
{
    static std::atomic_int nr{0};
    m_verbindung = QStringLiteral("journalkasse-%1").arg(++nr);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
    db.setDatabaseName(ProgrammDatei(ordner, QStringLiteral("daten.db")));
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=1000"));
    if (!db.open()) {
        m_fehler = db.lastError().text();
        return;
    }
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    q.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    std::optional<KennungErgebnis> kennung;
    QSqlError fehler;
    if (db.transaction() && JournalAnlegen(db, fehler)
        && (kennung = KennungSichern(db, MaschinenSchluessel(), name, fehler)) && db.commit())
        m_kasseId = kennung->kennung.id;
    else
        m_fehler = fehler.text();
}

JournalKasse::~JournalKasse()
{
    QSqlDatabase::database(m_verbindung, false).close();
    QSqlDatabase::removeDatabase(m_verbindung);
}

QSqlDatabase JournalKasse::db() const
{
    return QSqlDatabase::database(m_verbindung, false);
}

bool JournalKasse::schreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &was)
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

bool JournalKasse::belegSchliessen(QRandomGenerator &zufall)
{
    return belegeSchliessen(zufall, 1);
}

bool JournalKasse::belegeSchliessen(QRandomGenerator &zufall, int anzahl)
{
    return schreiben([&](QSqlDatabase &d, QSqlError &f) {
        for (int i = 0; i < anzahl; ++i) {
            Beleg b = zufallsBeleg(zufall);
            if (!BelegEintragen(d, b, f))
                return false;
        }
        return true;
    });
}

Beleg JournalKasse::zufallsBeleg(QRandomGenerator &zufall) const
{
    Beleg b;
    b.kasseId = m_kasseId;
    b.zeit = Jetzt();
    b.druck = Druckstatus::Gedruckt;
    if (zufall.bounded(4) == 0)
        b.tisch = zufall.bounded(1, 40);
    const int zeilen = zufall.bounded(1, 5);
    for (int i = 0; i < zeilen; ++i) {
        const Artikel &a = kArtikel[zufall.bounded(int(std::size(kArtikel)))];
        const int anzahl = zufall.bounded(1, 4);
        b.zeilen.append({a.taste, QString::fromUtf16(a.text), anzahl, a.preis, a.preis * anzahl});
        b.summeCent += a.preis * anzahl;
    }
    return b;
}

bool JournalKasse::stornoBuchen(QRandomGenerator &zufall)
{
    const Artikel &a = kArtikel[zufall.bounded(int(std::size(kArtikel)))];
    StornoEintrag s;
    s.kasseId = m_kasseId;
    s.zeit = Jetzt();
    QSqlDatabase d = db();
    s.belegNummer = NaechsteBelegNummer(d, m_kasseId);
    s.taste = a.taste;
    s.artikel = QString::fromUtf16(a.text);
    s.betragCent = a.preis;
    return schreiben([&](QSqlDatabase &d, QSqlError &f) { return StornoEintragen(d, s, f); });
}

} // namespace zanti::test

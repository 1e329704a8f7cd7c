// Forwarding to a real PostgreSQL: everything the journal holds arrives
// once, also when it is sent twice, when the server hangs and comes back,
// when the journal is replaced; a newer schema gets nothing, a name taken by
// another register is said once, and the event's figures equal the journals.
#include "support/testjournal.h"
#include "support/pg_testserver.h"
#include "veranstaltung/versand_stand.h"
#include "veranstaltung/veranstaltungs_bericht.h"
#include "veranstaltung/weiterleitung.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kGesendet = u"Server: alles gesendet"_qs;

WeiterleitungsOptionen Schnell()
{
    WeiterleitungsOptionen o;
    o.stapel = 7;
    o.antwortFristMs = 1000;
    o.verbindungsFristS = 2;
    o.pauseMinMs = 100;
    o.pauseMaxMs = 400;
    o.nachsehenMs = 200;
    return o;
}

QSet<QString> Ids(QSqlDatabase db, const QString &sql, const QString &kasseId)
{
    QSet<QString> ids;
    QSqlQuery q(db);
    q.prepare(sql);
    q.addBindValue(kasseId);
    if (q.exec())
        while (q.next())
            ids.insert(q.value(0).toString());
    return ids;
}

// Takes the later changes' mark out of versand.ini, as older registers wrote it.
bool OhneNachtragsmarke(const QString &pfad)
{
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    QByteArrayList zeilen = f.readAll().split('\n');
    f.close();
    zeilen.removeIf([](const QByteArray &z) { return z.startsWith("Nachtra"); });
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(zeilen.join('\n')) > 0;
}

qint64 Zahl(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

} // namespace

class TestWeiterleitung : public QObject
{
    Q_OBJECT

private:
    // A program folder with its journal and an event file for database fest.
    struct Kasse
    {
        Kasse(TestWeiterleitung &t, const QString &kasse, const QString &veranstaltung = u"Fest"_qs)
            : journal(QDir(ordner.path()).filePath(u"daten.db"_qs), u"host-"_qs + kasse)
        {
            QFile f(QDir(ordner.path()).filePath(kVeranstaltungsDatei));
            f.open(QIODevice::WriteOnly);
            f.write(u"[Veranstaltung]\r\nName=%1\r\nKasse=%2\r\nServer=%3\r\n"_qs
                        .arg(veranstaltung, kasse, t.m_server.verbindung(u"fest"_qs))
                        .toUtf8());
        }
        std::unique_ptr<Weiterleitung> starten(const WeiterleitungsOptionen &o = Schnell())
        {
            WeiterleitungsStart s = WeiterleitungStarten(ordner.path(), u"x"_qs, o);
            return std::move(s.weiterleitung);
        }
        QTemporaryDir ordner;
        TestJournal journal;
    };

    // The checker's own connection, opened again after the server was away.
    QSqlDatabase server()
    {
        QSqlDatabase db = QSqlDatabase::database(u"pruefer"_qs, false);
        if (QSqlQuery probe(db); !probe.exec(u"SELECT 1"_qs)) {
            db.close();
            db.open();
        }
        return db;
    }

    // Receipts and voids of the journal missing on the server, and rows the
    // server holds for this register that the journal does not know.
    std::pair<int, int> vergleichen(const TestJournal &kasse)
    {
        int fehlt = 0, fremd = 0;
        for (auto [tabelle, tabelleDort] : {std::pair{u"Beleg"_qs, u"beleg"_qs}, std::pair{u"Storno"_qs, u"storno"_qs}}) {
            const QSet<QString> hier = Ids(kasse.db(), u"SELECT id FROM %1 WHERE kasse_id = ?"_qs.arg(tabelle), kasse.kasseId());
            const QSet<QString> dort = Ids(server(), u"SELECT id::text FROM %1 WHERE kasse_id = CAST(? AS uuid)"_qs.arg(tabelleDort),
                                           kasse.kasseId());
            fehlt += int((hier - dort).size());
            fremd += int((dort - hier).size());
        }
        return {fehlt, fremd};
    }

    bool allesDa(const TestJournal &kasse, const Weiterleitung &w)
    {
        return w.zustand().text() == kGesendet && vergleichen(kasse) == std::pair{0, 0};
    }

    PgTestServer m_server;
    QRandomGenerator m_zufall{17};

private slots:
    void initTestCase()
    {
        QVERIFY2(PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
    }

    void init()
    {
        QSqlDatabase::removeDatabase(u"pruefer"_qs);
        QVERIFY2(m_server.sql(u"DROP DATABASE IF EXISTS fest WITH (FORCE); CREATE DATABASE fest;"_qs),
                 qPrintable(m_server.fehler()));
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"pruefer"_qs);
        db.setConnectOptions(m_server.verbindung(u"fest"_qs));
        QVERIFY(db.open());
    }

    void cleanup()
    {
        if (!m_server.laeuft())
            QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
    }

    // Batches of seven, oldest first, lines and texts unchanged; sent again
    // from the start (marks lost), everything lands once.
    void allesEinmal()
    {
        Kasse k(*this, u"Getränke"_qs);
        for (int i = 0; i < 30; ++i)
            QVERIFY(k.journal.belegSchliessen(m_zufall));
        for (int i = 0; i < 9; ++i)
            QVERIFY(k.journal.stornoBuchen(m_zufall));
        for (int mal = 0; mal < 2; ++mal) {
            auto w = k.starten();
            QVERIFY(w);
            QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
            w.reset();
            QVERIFY(QFile::remove(QDir(k.ordner.path()).filePath(kVersandDatei)));
        }
        QCOMPARE(Zahl(server(), u"SELECT count(*) FROM beleg"_qs), 30);
        QCOMPARE(Zahl(server(), u"SELECT count(*) FROM storno"_qs), 9);
        // Lines and amounts as the journal holds them, texts included.
        QSqlQuery hier(k.journal.db());
        QVERIFY(hier.exec(u"SELECT b.id, z.pos, z.artikel, z.anzahl, z.betrag_cent FROM Belegzeile z "
                          "JOIN Beleg b ON b.lfd = z.beleg ORDER BY b.id, z.pos"_qs));
        QSqlQuery dort(server());
        QVERIFY(dort.exec(u"SELECT beleg_id::text, pos, artikel, anzahl, betrag_cent FROM belegzeile "
                          "ORDER BY beleg_id::text, pos"_qs));
        int zeilen = 0;
        while (hier.next()) {
            QVERIFY(dort.next());
            for (int i = 0; i < 5; ++i)
                QCOMPARE(dort.value(i).toString(), hier.value(i).toString());
            ++zeilen;
        }
        QVERIFY(!dort.next());
        QVERIFY(zeilen >= 30);
    }

    // A server that hangs keeps nothing of the register waiting; the status
    // bar says that receipts wait long before the call is cut off, while a
    // server that answers never makes it flicker. When it goes on,
    // everything arrives.
    void haengenderServer()
    {
        Kasse k(*this, u"Kuchen"_qs);
        WeiterleitungsOptionen o = Schnell();
        o.antwortFristMs = 8000;
        auto w = k.starten(o);
        QVERIFY(k.journal.belegSchliessen(m_zufall));
        w->wecken();
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
        QSignalSpy zustand(w.get(), &Weiterleitung::zustandGeaendert);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(k.journal.belegSchliessen(m_zufall));
            w->wecken();
            QTest::qWait(300);
        }
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
        QCOMPARE(zustand.count(), 0);

        QVERIFY(m_server.einfrieren());
        for (int i = 0; i < 40; ++i) {
            QVERIFY2(k.journal.belegSchliessen(m_zufall), qPrintable(k.journal.fehler()));
            if (i % 5 == 0)
                QVERIFY2(k.journal.stornoBuchen(m_zufall), qPrintable(k.journal.fehler()));
            w->belegGeschlossen();
            QTest::qWait(50);
        }
        QTRY_COMPARE_WITH_TIMEOUT(w->zustand().text(), u"Server nicht erreichbar"_qs, 20000);
        // After a second the batch on its way shows as waiting, and every
        // receipt closed meanwhile counts on, up to all 40 (39 when one was
        // closed just while the worker took its batch).
        QStringList texte;
        for (const QList<QVariant> &signal : zustand)
            texte << signal[0].toString();
        QVERIFY2(texte.size() >= 3 && texte.last() == u"Server nicht erreichbar"_qs, qPrintable(texte.join(u'|')));
        for (const QString &wartet : texte.mid(0, texte.size() - 1))
            QVERIFY2(wartet.startsWith(u"Server: "_qs) && wartet.endsWith(u" Bons warten"_qs), qPrintable(wartet));
        const QString alle = texte[texte.size() - 2];
        QVERIFY2(alle == u"Server: 40 Bons warten"_qs || alle == u"Server: 39 Bons warten"_qs, qPrintable(alle));
        QVERIFY(m_server.auftauen());
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 30000);
        QCOMPARE(Zahl(server(), u"SELECT count(*) FROM beleg"_qs), 46);
    }

    // A daten.db replaced behind the marks (fewer entries than the marks
    // say) is sent from its start.
    void ersetztesJournal()
    {
        Kasse k(*this, u"Grill"_qs);
        for (int i = 0; i < 12; ++i)
            QVERIFY(k.journal.belegSchliessen(m_zufall));
        auto w = k.starten();
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
        w.reset();
        QTemporaryDir zweiter;
        QVERIFY(QFile::copy(QDir(k.ordner.path()).filePath(kVersandDatei), QDir(zweiter.path()).filePath(kVersandDatei)));
        QVERIFY(QFile::copy(QDir(k.ordner.path()).filePath(kVeranstaltungsDatei),
                            QDir(zweiter.path()).filePath(kVeranstaltungsDatei)));
        TestJournal neu(QDir(zweiter.path()).filePath(u"daten.db"_qs), u"host-neu"_qs);
        for (int i = 0; i < 3; ++i)
            QVERIFY(neu.belegSchliessen(m_zufall));
        auto w2 = WeiterleitungStarten(zweiter.path(), u"x"_qs, Schnell()).weiterleitung;
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(neu, *w2), 20000);
    }

    // Changes of a receipt not yet sent wait for it (they land only with
    // their receipt there), and an older change waits with them. Sent again
    // with the marks lost, or from a versand.ini without the changes' mark,
    // each lands once. "GEG" on a receipt already sent leaves its row as it
    // was and shows in beleg_aktuell; with the server away it waits.
    void nachtraege()
    {
        Kasse k(*this, u"Kasse"_qs);
        for (int i = 0; i < 20; ++i)
            QVERIFY(k.journal.belegSchliessen(m_zufall));
        QSqlDatabase db = k.journal.db();
        QSqlError fehler;
        QVERIFY(GegebenSetzen(db, 20, 5000, 100, fehler));
        QVERIFY(DruckstatusSetzen(db, 2, Druckstatus::SpaeterGedruckt, fehler));
        const QString versand = QDir(k.ordner.path()).filePath(kVersandDatei);
        auto w = k.starten();
        for (int mal = 0; mal < 3; ++mal) {
            QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
            QCOMPARE(Zahl(server(), u"SELECT count(*) FROM beleg_nachtrag"_qs), 2);
            if (mal < 2) {
                w.reset();
                QVERIFY(mal == 0 ? QFile::remove(versand) : OhneNachtragsmarke(versand));
                w = k.starten();
            }
        }
        QVERIFY(m_server.anhalten());
        QVERIFY(GegebenSetzen(db, 20, 6000, 1100, fehler));
        w->wecken();
        QTRY_COMPARE_WITH_TIMEOUT(w->zustand().text(), u"Server nicht erreichbar"_qs, 10000);
        QCOMPARE(w->zustand().nachtraege, 1);
        for (qint64 n : {1, 4}) // what the status bar would say with the server there
            QCOMPARE((Weiterleitungszustand{Weiterleitungszustand::Wartend, 0, 0, n}).text(),
                     n == 1 ? u"Server: 1 Nachtrag wartet"_qs : u"Server: 4 Nachträge warten"_qs);
        QVERIFY(m_server.starten());
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
        const QString aktuell = u"SELECT %1 FROM beleg_aktuell WHERE nummer = %2"_qs;
        QCOMPARE(Zahl(server(), aktuell.arg(u"gegeben_cent"_qs).arg(20)), 6000);
        QCOMPARE(Zahl(server(), aktuell.arg(u"rueckgeld_cent"_qs).arg(20)), 1100);
        QCOMPARE(Zahl(server(), aktuell.arg(u"druck"_qs).arg(2)), 3);
        QCOMPARE(Zahl(server(), u"SELECT gegeben_cent FROM beleg WHERE nummer = 20"_qs), 5000);
    }

    void marken_data()
    {
        QTest::addColumn<int>("fall");
        QTest::addColumn<qint64>("beginn");
        QTest::addColumn<qint64>("bis");
        QTest::addColumn<qint64>("nachtragBis");
        QTest::newRow("first event: the whole journal") << 0 << qint64(0) << qint64(0) << qint64(0);
        QTest::newRow("same event and server: go on") << 1 << qint64(3) << qint64(40) << qint64(30);
        QTest::newRow("same event, other server: from the event's start") << 2 << qint64(3) << qint64(3) << qint64(2);
        QTest::newRow("next event: from the journal's end") << 3 << qint64(90) << qint64(90) << qint64(12);
    }

    void marken()
    {
        QFETCH(int, fall);
        QFETCH(qint64, beginn);
        QFETCH(qint64, bis);
        QFETCH(qint64, nachtragBis);
        const VersandStand frueher = VersandStandFuer(std::nullopt, u"Fest"_qs, u"host=a"_qs, {90, 5, 12});
        VersandStand alt = frueher;
        alt.belege = {3, 40, u"x"_qs};
        alt.nachtraege = {2, 30, u"y"_qs};
        const std::optional<VersandStand> gespeichert = fall == 0 ? std::nullopt : std::optional(alt);
        const VersandStand s = VersandStandFuer(gespeichert, fall == 3 ? u"Fest 2"_qs : u"Fest"_qs,
                                                fall == 2 ? u"host=b"_qs : u"host=a"_qs, {90, 5, 12});
        QCOMPARE(s.belege.beginn, beginn);
        QCOMPARE(s.belege.bis, bis);
        QCOMPARE(s.nachtraege.bis, nachtragBis);
        // The marks survive the file.
        QTemporaryDir ordner;
        const QString pfad = QDir(ordner.path()).filePath(kVersandDatei);
        QVERIFY(VersandStandSpeichern(pfad, s));
        QCOMPARE(VersandStandLaden(pfad), std::optional(s));
        // A file from before the changes were sent keeps its marks; the
        // changes start at the journal's first.
        QVERIFY(OhneNachtragsmarke(pfad));
        VersandStand ohne = s;
        ohne.nachtraege = {};
        QCOMPARE(VersandStandLaden(pfad), std::optional(ohne));
    }

    // Same name, other identity: both arrive in full; the one that comes
    // second says so, once, also after a reconnect.
    void nameVergeben()
    {
        Kasse a(*this, u"Theke"_qs), b(*this, u"Theke"_qs);
        for (int i = 0; i < 5; ++i) {
            QVERIFY(a.journal.belegSchliessen(m_zufall));
            QVERIFY(b.journal.belegSchliessen(m_zufall));
        }
        auto wa = a.starten();
        QSignalSpy meldungenA(wa.get(), &Weiterleitung::meldung);
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(a.journal, *wa), 20000);
        auto wb = b.starten();
        QSignalSpy meldungenB(wb.get(), &Weiterleitung::meldung);
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(b.journal, *wb), 20000);
        QVERIFY(m_server.toeten());
        QVERIFY(m_server.starten());
        QVERIFY(b.journal.belegSchliessen(m_zufall));
        wb->wecken();
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(b.journal, *wb), 20000);
        QCOMPARE(meldungenA.size(), 0);
        QCOMPARE(meldungenB.size(), 1);
        QCOMPARE(meldungenB.first().first().toString(),
                 u"Der Kassenname „Theke“ wird in der Veranstaltung schon von einer anderen Kasse benutzt. "
                 "Beide Kassen werden vollständig gezählt; bitte in „veranstaltung.ini“ einen eigenen Namen "
                 "eintragen (Kasse=)."_qs);
        QCOMPARE(Zahl(server(), u"SELECT count(DISTINCT kasse_id) FROM beleg WHERE kasse = 'Theke'"_qs), 2);
    }

    // A schema newer than this register knows: nothing written, said once.
    void neueresSchema()
    {
        QVERIFY(m_server.sql(u"CREATE TABLE schema_version (version int NOT NULL); "
                             "INSERT INTO schema_version VALUES (3);"_qs, u"fest"_qs));
        Kasse k(*this, u"Bar"_qs);
        QVERIFY(k.journal.belegSchliessen(m_zufall));
        auto w = k.starten();
        QSignalSpy meldungen(w.get(), &Weiterleitung::meldung);
        QTRY_COMPARE_WITH_TIMEOUT(w->zustand().text(), u"Server: neueres Schema"_qs, 10000);
        QTest::qWait(600);
        QCOMPARE(meldungen.size(), 1);
        QCOMPARE(meldungen.first().first().toString(),
                 u"Die Datenbank der Veranstaltung hat ein neueres Schema (Version 3), als diese Kasse kennt "
                 "(Version 2). Die Kasse sendet nichts dorthin, bis sie erneuert ist, und verkauft allein weiter."_qs);
        QCOMPARE(Zahl(server(), u"SELECT count(*) FROM pg_tables WHERE tablename = 'beleg'"_qs), 0);
    }

    // The event's figures on any register: per register, per article and
    // in total, equal to the journals to the cent.
    void bericht()
    {
        Kasse a(*this, u"Getränke"_qs), b(*this, u"Essen"_qs);
        for (int i = 0; i < 25; ++i) {
            QVERIFY(a.journal.belegSchliessen(m_zufall));
            QVERIFY(b.journal.belegSchliessen(m_zufall));
        }
        QVERIFY(a.journal.stornoBuchen(m_zufall));
        auto wa = a.starten();
        auto wb = b.starten();
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(a.journal, *wa) && allesDa(b.journal, *wb), 20000);
        wb.reset();
        // b announced one more receipt than it sent, and went away.
        QSqlQuery q(server());
        QVERIFY(q.exec(u"INSERT INTO kasse_stand (kasse_id, veranstaltung, kasse, letzte_nummer, stornos, wartend) "
                       "VALUES ('%1', 'Fest', 'Essen', 26, 0, 1)"_qs.arg(b.journal.kasseId())));
        QSignalSpy bereit(wa.get(), &Weiterleitung::berichtBereit);
        wa->berichtAnfordern();
        QTRY_COMPARE_WITH_TIMEOUT(bereit.size(), 1, 10000);
        const auto z = bereit.first().first().value<VeranstaltungsZahlen>();
        QCOMPARE(z.kassen.size(), 2);
        const auto zahl = [](const TestJournal &k, const QString &sql) { return Zahl(k.db(), sql); };
        for (const auto &[kasse, journal, gesendet] :
             {std::tuple{z.kassen[0], &b.journal, false}, std::tuple{z.kassen[1], &a.journal, true}}) {
            QCOMPARE(kasse.kasseId, journal->kasseId());
            QCOMPARE(kasse.belege, zahl(*journal, u"SELECT count(*) FROM Beleg"_qs));
            QCOMPARE(kasse.umsatzCent, zahl(*journal, u"SELECT sum(summe_cent) FROM Beleg"_qs));
            QCOMPARE(kasse.stornos, zahl(*journal, u"SELECT count(*) FROM Storno"_qs));
            QCOMPARE(kasse.stornoCent, zahl(*journal, u"SELECT coalesce(sum(betrag_cent), 0) FROM Storno"_qs));
            QCOMPARE(kasse.allesGesendet, gesendet);
            QCOMPARE(kasse.letzterBeleg->ms, zahl(*journal, u"SELECT max(zeit_ms) FROM Beleg"_qs));
        }
        Cent artikel = 0;
        for (const VeranstaltungsArtikel &a : z.artikel)
            artikel += a.betragCent;
        QCOMPARE(artikel, z.umsatzCent);
        QCOMPARE(z.umsatzCent, z.kassen[0].umsatzCent + z.kassen[1].umsatzCent);
        for (const QString &zeile : VeranstaltungsBerichtZeilen(z))
            QVERIFY2(zeile.size() <= kBerichtBreite, qPrintable(zeile));
    }

    // Receipts under an identity that never sent a heartbeat (a copied
    // folder's old one) still count: as a register of their own.
    void berichtOhneHerzschlag()
    {
        Kasse k(*this, u"Bar"_qs);
        QVERIFY(k.journal.belegSchliessen(m_zufall));
        auto w = k.starten();
        QTRY_VERIFY_WITH_TIMEOUT(allesDa(k.journal, *w), 20000);
        QSqlQuery q(server());
        QVERIFY(q.exec(u"INSERT INTO beleg (id, veranstaltung, kasse, kasse_id, nummer, zeit, zeit_offset_s, "
                       "summe_cent, druck) VALUES (gen_random_uuid(), 'Fest', 'Alt', gen_random_uuid(), 1, now(), "
                       "0, 990, 1)"_qs));
        QSignalSpy bereit(w.get(), &Weiterleitung::berichtBereit);
        w->berichtAnfordern();
        QTRY_COMPARE_WITH_TIMEOUT(bereit.size(), 1, 10000);
        const auto z = bereit.first().first().value<VeranstaltungsZahlen>();
        QCOMPARE(z.kassen.size(), 2);
        QCOMPARE(z.kassen[0].kasse, u"Alt"_qs);
        QCOMPARE(z.kassen[0].umsatzCent, 990);
        QVERIFY(!z.kassen[0].allesGesendet);
        QVERIFY(z.kassen[1].allesGesendet);
        QCOMPARE(z.umsatzCent, 990 + Zahl(k.journal.db(), u"SELECT summe_cent FROM Beleg"_qs));
    }

    // Without the server the report says so.
    void berichtOhneServer()
    {
        Kasse k(*this, u"Bar"_qs);
        auto w = k.starten();
        QTRY_COMPARE_WITH_TIMEOUT(w->zustand().text(), kGesendet, 10000);
        QVERIFY(m_server.anhalten());
        QSignalSpy fehlt(w.get(), &Weiterleitung::berichtFehlt);
        w->berichtAnfordern();
        QTRY_COMPARE_WITH_TIMEOUT(fehlt.size(), 1, 10000);
        QCOMPARE(fehlt.first().first().toString(), u"Der Server der Veranstaltung ist nicht erreichbar."_qs);
    }
};

QTEST_GUILESS_MAIN(TestWeiterleitung)
#include "test_weiterleitung.moc"

// The register at an event: the real model forwards what "=" journals to a
// real PostgreSQL, and in set-up mode F8 shows the event's takings; without
// veranstaltung.ini there is no forwarder at all. And the statement button.
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"
#include "register/anzeige.h"
#include "register/dateiauswahl.h"
#include "support/kassen_fixture.h"
#include "support/pg_testserver.h"
#include "veranstaltung/veranstaltungs_bericht.h"
#include "veranstaltung/weiterleitung.h"

#include <QDir>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

const QString kGesendet = u"Server: alles gesendet"_qs;

QByteArray EventDatei(const PgTestServer &server, const QString &kasse)
{
    return u"[Veranstaltung]\r\nName=Fest\r\nKasse=%1\r\nServer=%2\r\n"_qs.arg(kasse, server.verbindung(u"fest"_qs))
        .toUtf8();
}

} // namespace

class TestKasseVeranstaltung : public QObject
{
    Q_OBJECT

    PgTestServer m_server;

    qint64 zahl(const QString &sql)
    {
        QSqlQuery q(QSqlDatabase::database(u"pruefer"_qs));
        return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(PgTestServer::vorhanden(), "PostgreSQL is not installed: scripts/install-deps.sh");
        QVERIFY2(m_server.starten(), qPrintable(m_server.fehler()));
        QVERIFY2(m_server.sql(u"CREATE DATABASE fest;"_qs), qPrintable(m_server.fehler()));
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_qs, u"pruefer"_qs);
        db.setConnectOptions(m_server.verbindung(u"fest"_qs));
        QVERIFY(db.open());
    }

    // The real model's "=" reaches the server; its sums are verkauf.ini's;
    // the amount given afterwards arrives as well.
    void modellSendetAbschluesse()
    {
        Programmordner ordner;
        ordner.schreiben(u"veranstaltung.ini"_qs, EventDatei(m_server, u"Theke"_qs));
        QStringList ohneDrucker{u"[COM]"_qs};
        for (int i = 1; i <= 16; ++i)
            ohneDrucker << u"COM%1=%2/kein-geraet"_qs.arg(i).arg(ordner.pfad());
        ordner.schreibenZeilen(u"schnittstellen.ini"_qs, ohneDrucker);
        ordner.schreibenZeilen(u"kasse.ini"_qs, {u"[Artikel]"_qs, u"Getraenke1=Artikel 1"_qs, u"Getraenke2=Artikel 2"_qs,
                                                u"Getraenke3=Artikel 3"_qs, u"[Preise]"_qs, u"Preis1=1,50"_qs,
                                                u"Preis2=2,50"_qs, u"Preis3=3,50"_qs});
        DruckerPort port;
        KassenModell m(ordner.pfad(), port);
        QString panel9;
        connect(&m, &KassenModell::statusSetzen, this, [&panel9](int panel, const QString &text) {
            if (panel == KassenModell::kServerPanel)
                panel9 = text;
        });
        m.startBeginnen();
        m.startBeenden();
        QVERIFY(m.weiterleitung());
        for (const QList<int> &bon : {QList<int>{1, 2}, {3}, {2, 2, 3}}) {
            for (int k : bon)
                m.ArtikelTaste(k);
            m.BonAbschliessen();
        }
        QTRY_COMPARE_WITH_TIMEOUT(panel9, kGesendet, 20000);

        const Verkaufszahlen verkauf =
            VerkaufszahlenLesen(IniDatei::Laden(QDir(ordner.pfad()).filePath(u"verkauf.ini"_qs)));
        const QString kasse = m.kennung().id;
        QCOMPARE(zahl(u"SELECT count(*) FROM beleg WHERE kasse_id = '%1'"_qs.arg(kasse)), 3);
        QCOMPARE(zahl(u"SELECT sum(summe_cent) FROM beleg WHERE kasse_id = '%1'"_qs.arg(kasse)), verkauf[kEinnahmen]);
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(zahl(u"SELECT sum(z.anzahl) * 100 FROM belegzeile z JOIN beleg b ON b.id = z.beleg_id "
                          "WHERE b.kasse_id = '%1' AND z.taste = %2"_qs.arg(kasse).arg(k)),
                     verkauf[k]);

        // "GEG" after "=" reaches the server as a change of the receipt.
        m.GegebenTaste();
        QVERIFY(m.EingabeUebernehmen(u"20"_qs));
        const QString letzter = u"FROM beleg_aktuell WHERE kasse_id = '%1' AND nummer = 3"_qs.arg(kasse);
        QTRY_COMPARE_WITH_TIMEOUT(zahl(u"SELECT gegeben_cent "_qs + letzter), 2000, 20000);
        QCOMPARE(zahl(u"SELECT rueckgeld_cent "_qs + letzter), 2000 - 850);
        QTRY_COMPARE_WITH_TIMEOUT(panel9, kGesendet, 20000);
        m.beenden();
        QVERIFY(!m.weiterleitung());
    }

    void alleinOhneWeiterleitung()
    {
        KassenFixture f;
        f.starten();
        f.rekorder.meldungen.clear(); // the port's message: there is no printer
        QVERIFY(!f.kasse().modell().weiterleitung());
        QVERIFY(!f.sichtbar(u"Panel9"_qs));
        QTest::keyClick(&f.kasse(), Qt::Key_F8); // outside set-up mode: nothing
        QTest::qWait(120);
        QVERIFY2(f.rekorder.texte().isEmpty(), qPrintable(f.rekorder.texte().join(u'|')));
        f.einstellen();
        QTest::keyClick(&f.kasse(), Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(f.rekorder.texte(), QStringList{kOhneVeranstaltung}, 1000);
    }

    // F8 shows the server's figures; with the server gone it says so.
    void f8ZeigtVeranstaltung()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreiben(u"veranstaltung.ini"_qs, EventDatei(m_server, u"Kuchen"_qs));
        f.starten();
        f.rekorder.meldungen.clear(); // the port's message: there is no printer
        f.klicken(u"Command2"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(9), kGesendet, 20000);
        QVERIFY(f.sichtbar(u"Panel9"_qs));
        f.einstellen();
        QTest::keyClick(&f.kasse(), Qt::Key_F8);
        Anzeige *anzeige = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((anzeige = f.kasse().findChild<Anzeige *>(u"Anzeige"_qs)) && anzeige->isVisible(), 10000);
        QSqlDatabase db = QSqlDatabase::database(u"pruefer"_qs);
        QString fehler;
        const std::optional<VeranstaltungsZahlen> zahlen = VeranstaltungsZahlenLesen(db, u"Fest"_qs, fehler);
        QVERIFY2(zahlen, qPrintable(fehler));
        for (const QString &zeile : VeranstaltungsBerichtZeilen(*zahlen))
            QVERIFY2(anzeige->text().contains(zeile), qPrintable(zeile));

        QVERIFY(m_server.anhalten());
        QTest::keyClick(&f.kasse(), Qt::Key_F8);
        QTRY_COMPARE_WITH_TIMEOUT(f.rekorder.texte(), QStringList{u"Der Server der Veranstaltung ist nicht erreichbar."_qs},
                                  20000);
    }

    // Both files of today, where the message says: in the program folder or
    // in the folder the operator picked.
    void abrechnungKnopf_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addRow("abrechnungen/") << u"AbrechnungButton"_qs;
        QTest::addRow("Stick") << u"AbrechnungStickButton"_qs;
    }

    void abrechnungKnopf()
    {
        QFETCH(QString, knopf);
        QTemporaryDir stick;
        DateiauswahlSetzen([&stick](QWidget *, Dateimodus modus, const QString &, const QString &, NachWahl nachWahl) {
            QCOMPARE(modus, Dateimodus::Ordner);
            nachWahl(stick.path());
        });
        const auto zurueck = qScopeGuard([] { DateiauswahlSetzen({}); });
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.rekorder.meldungen.clear(); // the port's message: there is no printer
        f.klicken(u"Command3"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QVERIFY(!f.sichtbar(knopf));
        f.einstellen();
        QTRY_VERIFY_WITH_TIMEOUT(f.sichtbar(knopf), 500);
        f.klicken(knopf);
        QCOMPARE(f.rekorder.texte().size(), 1);
        const QStringList zeilen = f.rekorder.meldungen[0].text.split(u'\n');
        QCOMPARE(zeilen.size(), 3);
        QCOMPARE(zeilen[0], u"Die Abrechnung von heute ist gespeichert:"_qs);
        const QString ziel = knopf == u"AbrechnungStickButton"_qs ? stick.path()
                                                                  : QDir(f.ordner.pfad()).filePath(u"abrechnungen"_qs);
        for (const QString &datei : {zeilen[1], zeilen[2]}) {
            QCOMPARE(QFileInfo(datei).absolutePath(), ziel);
            QVERIFY(QFileInfo(datei).size() > 0);
        }
        QVERIFY(zeilen[1].endsWith(u".pdf"_qs) && zeilen[2].endsWith(u".csv"_qs));
    }
};

QTEST_MAIN(TestKasseVeranstaltung)
#include "test_kasse_veranstaltung.moc"

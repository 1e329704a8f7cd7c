// The statement's figures and its CSV from a real journal file: the night
// the clocks go back (25.10.2026, 03:00 summer time becomes 02:00), voids,
// a receipt of an earlier identity of the register, the period's edges.
#include "abrechnung/abrechnung_csv.h"
#include "abrechnung/abrechnung_format.h"
#include "abrechnung/abrechnung_quelle.h"
#include "support/testjournal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTest>

using namespace zanti;
using zanti::test::NachtAnlegen;
using zanti::test::TestJournal;

namespace {

QDateTime Wand(const QString &text)
{
    return QDateTime(QDate::fromString(text.left(10), u"dd.MM.yyyy"_qs), QTime::fromString(text.mid(11), u"HH:mm"_qs),
                     QTimeZone::utc());
}

} // namespace

class TestAbrechnung : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;
    QString m_journal;

private slots:
    void initTestCase()
    {
        QVERIFY(m_ordner.isValid());
        m_journal = m_ordner.filePath(u"daten.db"_qs);
        TestJournal j(m_journal, u"Theke"_qs);
        NachtAnlegen(j);
    }

    void zahlenJeZeitraum_data()
    {
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        QTest::addColumn<int>("belege");
        QTest::addColumn<int>("umsatz");
        QTest::addColumn<int>("stornos");
        QTest::addColumn<int>("stunden");
        // Local wall-clock times: 02:00-03:00 holds both hours of the night.
        QTest::newRow("die ganze Nacht") << u"24.10.2026 00:00"_qs << u"26.10.2026 00:00"_qs << 7 << 3700 << 4 << 5;
        QTest::newRow("die doppelte Stunde") << u"25.10.2026 02:00"_qs << u"25.10.2026 03:00"_qs << 3 << 2200 << 3 << 2;
        QTest::newRow("Ende ausschließlich") << u"24.10.2026 00:00"_qs << u"24.10.2026 20:15"_qs << 1 << 150 << 0 << 1;
        QTest::newRow("Tag davor") << u"23.10.2026 00:00"_qs << u"24.10.2026 00:00"_qs << 1 << 350 << 0 << 1;
        QTest::newRow("nichts verkauft") << u"01.01.2027 00:00"_qs << u"02.01.2027 00:00"_qs << 0 << 0 << 0 << 0;
    }
    void zahlenJeZeitraum()
    {
        QFETCH(QString, von);
        QFETCH(QString, bis);
        QString fehler;
        const auto a = AbrechnungAusOrdner(m_ordner.path(), {Wand(von), Wand(bis)}, fehler);
        QVERIFY2(a, qPrintable(fehler));
        QTEST(int(a->belege), "belege");
        QTEST(int(a->umsatz), "umsatz");
        QTEST(int(a->stornos), "stornos");
        QTEST(int(a->stunden.size()), "stunden");
        // Every view of the takings adds up to the same total.
        Cent jeArtikel = 0, jeStunde = 0, jeKasse = 0;
        for (const ArtikelZahlen &z : a->artikel)
            jeArtikel += z.umsatz;
        for (const StundenZahlen &z : a->stunden)
            jeStunde += z.umsatz;
        for (const KassenZahlen &z : a->kassen)
            jeKasse += z.umsatz;
        QCOMPARE(jeArtikel, a->umsatz);
        QCOMPARE(jeStunde, a->umsatz);
        QCOMPARE(jeKasse, a->umsatz);
        QCOMPARE(a->erster.has_value(), a->belege > 0);
    }

    void nachtDerZeitumstellung()
    {
        QString fehler;
        const auto a = AbrechnungAusOrdner(m_ordner.path(), Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler);
        QVERIFY2(a, qPrintable(fehler));
        QCOMPARE(a->stunden.size(), 5);
        const Stunde erste = a->stunden[2].stunde, zweite = a->stunden[3].stunde;
        QCOMPARE(StundeBeschriftung(*a, erste, false), u"02:00–03:00 (UTC+2)"_qs);
        QCOMPARE(StundeBeschriftung(*a, zweite, true), u"25.10. 02:00–03:00 (UTC+1)"_qs);
        QCOMPARE(StundeBeschriftung(*a, a->stunden[4].stunde, false), u"03:00–04:00"_qs);
        QCOMPARE(ZeitraumText(a->zeitraum), u"24.10.2026 – 25.10.2026"_qs);
        QCOMPARE(DateinameVorschlag(*a), u"Abrechnung_Theke_2026-10-24_bis_2026-10-25"_qs);
        QCOMPARE(a->durchschnitt, 529); // 37,00 / 7, rounded
        QVERIFY(a->unvollstaendig().isEmpty());
    }

    // Byte for byte, as LibreOffice and Excel in Germany open it.
    void csvDerNacht()
    {
        QString fehler;
        const auto a = AbrechnungAusOrdner(m_ordner.path(), Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler);
        QVERIFY2(a, qPrintable(fehler));
        const QStringList zeilen = {
            u"Abschnitt;Bezeichnung;Kasse;Datum;Stunde;UTC-Versatz;Bons;Menge;Betrag;Anteil %;Stornos;Stornobetrag;Alles gesendet"_qs,
            u"Zeitraum;von;;24.10.2026 00:00;;;;;;;;;"_qs,
            u"Zeitraum;bis ausschließlich;;26.10.2026 00:00;;;;;;;;;"_qs,
            u"Quelle;Kasse Theke;;;;;;;;;;;"_qs,
            u"Übersicht;Umsatz;;;;;7;;37,00;;;;"_qs,
            u"Übersicht;Durchschnitt je Bon;;;;;;;5,29;;;;"_qs,
            u"Übersicht;Erster Bon Nr. 2;Theke;24.10.2026 00:00:00;;UTC+2;;;;;;;"_qs,
            u"Übersicht;Letzter Bon Nr. 7;Theke;25.10.2026 03:20:00;;UTC+1;;;;;;;"_qs,
            u"Übersicht;Stornos;;;;;;;;;4;13,50;"_qs,
            u"Kassenbestand;Soll (Umsatz bar);;;;;;;37,00;;;;"_qs,
            u"Kassenbestand;Wechselgeld (Anfangsbestand);;;;;;;;;;;"_qs,
            u"Kassenbestand;Gezählt;;;;;;;;;;;"_qs,
            u"Kassenbestand;Differenz;;;;;;;;;;;"_qs,
            u"Artikel;Bier;;;;;;7;24,50;66,2;;;"_qs,
            u"Artikel;Bratwurst;;;;;;3;9,00;24,3;;;"_qs,
            u"Artikel;Cola;;;;;;2;4,00;10,8;;;"_qs,
            u"Artikel;Kaffee;;;;;;1;1,50;4,1;;;"_qs,
            u"Artikel;Pfand zurück;;;;;;-1;-2,00;-5,4;;;"_qs,
            u"Stunde;;;24.10.2026;00:00;UTC+2;1;;1,50;;;;"_qs,
            u"Stunde;;;24.10.2026;20:00;UTC+2;2;;12,00;;;;"_qs,
            u"Stunde;;;25.10.2026;02:00;UTC+2;2;;14,00;;;;"_qs,
            u"Stunde;;;25.10.2026;02:00;UTC+1;1;;8,00;;;;"_qs,
            u"Stunde;;;25.10.2026;03:00;UTC+1;1;;1,50;;;;"_qs,
            u"Kasse;;Kasse 0a1b2c3d;;;;1;;2,00;;1;2,00;"_qs,
            u"Kasse;;Theke;;;;6;;35,00;;3;11,50;"_qs,
            u"Storno;;Kasse 0a1b2c3d;24.10.2026;20:00;UTC+2;;;;;1;2,00;"_qs,
            u"Storno;;Theke;25.10.2026;02:00;UTC+2;;;;;1;3,50;"_qs,
            u"Storno;;Theke;25.10.2026;02:00;UTC+1;;;;;2;8,00;"_qs,
        };
        const QByteArray erwartet = "\xEF\xBB\xBF" + (zeilen.join(u"\r\n"_qs) + u"\r\n"_qs).toUtf8();
        QCOMPARE(AbrechnungCsv(*a), erwartet);
    }

    void csvFelderMitTrennzeichen()
    {
        Abrechnung a;
        a.zeitraum = Zeitraum::Tage({2026, 1, 1}, {2026, 1, 1});
        a.quelle = u"Kasse \"Grill\"; Süd"_qs;
        const QList<QByteArray> zeilen = AbrechnungCsv(a).split('\n');
        QCOMPARE(zeilen[3], QByteArray("Quelle;\"Kasse \"\"Grill\"\"; S\xC3\xBC" "d\";;;;;;;;;;;\r"));
    }

    // Nothing the statement does changes the register's file.
    void journalBleibtUnveraendert()
    {
        const auto pruefsumme = [this] {
            QFile f(m_journal);
            f.open(QIODevice::ReadOnly);
            return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
        };
        const QByteArray vorher = pruefsumme();
        QString fehler;
        QVERIFY(AbrechnungAusOrdner(m_ordner.path(), Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler));
        QCOMPARE(pruefsumme(), vorher);
    }

    void fehlendesOderFremdesJournal()
    {
        QTemporaryDir leer;
        QString fehler;
        const Zeitraum tag = Zeitraum::Tage({2026, 10, 24}, {2026, 10, 24});
        QVERIFY(!AbrechnungAusOrdner(leer.path(), tag, fehler));
        QCOMPARE(fehler, u"Im Ordner %1 gibt es kein Belegjournal (daten.db)."_qs.arg(leer.path()));
        QVERIFY(!QFile::exists(leer.filePath(u"daten.db"_qs)));

        QFile fremd(leer.filePath(u"daten.db"_qs));
        QVERIFY(fremd.open(QIODevice::WriteOnly));
        fremd.write("keine Datenbank, nur Text\n");
        fremd.close();
        QVERIFY(!AbrechnungAusOrdner(leer.path(), tag, fehler));
        QVERIFY2(fehler.startsWith(u"Das Belegjournal kann nicht gelesen werden: "_qs), qPrintable(fehler));
    }
};

QTEST_GUILESS_MAIN(TestAbrechnung)
#include "test_abrechnung.moc"

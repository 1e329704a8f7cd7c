// The open receipt in daten.db: record-set moves, deleting, the grid model,
// and what happens when the file cannot be opened or written.
#include "persistence/bon_tabelle.h"
#include "support/direktzugriff.h"
#include "support/programmordner.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include "support/testdaten.h"

#include <QTest>

using namespace zanti;
using namespace zanti::test;
using zanti::test::Programmordner;

namespace {


QString Text(const BonZeile &z)
{
    return QStringList{z.Anzahl, z.Artikel, z.Preis, QString::number(z.Tastennr),
                       QString::number(z.BonId)}
        .join(u'|');
}

QStringList Texte(const QList<BonZeile> &zeilen)
{
    QStringList t;
    for (const BonZeile &z : zeilen)
        t << Text(z);
    return t;
}

QStringList Artikel(const BonTabelle &t)
{
    QStringList a;
    for (const BonZeile &z : t.zeilen())
        a << z.Artikel;
    return a;
}

void Fuellen(BonTabelle &t, const QStringList &artikel)
{
    for (const QString &a : artikel)
        QVERIFY2(t.hinzufuegen(Zeile(QStringLiteral("1"), a, QStringLiteral("1,00"))),
                 qPrintable(t.fehlertext()));
}

} // namespace

class TestBonTabelle : public QObject
{
    Q_OBJECT

private slots:
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void legtDateiUndTabelleAn()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY2(t.oeffnen(ordner.datei("daten.db")), qPrintable(t.fehlertext()));
        QVERIFY(t.offen());
        QVERIFY(ordner.gibt("daten.db"));
        QCOMPARE(t.anzahl(), 0);
        QVERIFY(t.BOF() && t.EOF_());
        QCOMPARE(t.aktuelleZeile(), -1);

        Direktzugriff d(ordner.datei("daten.db"));
        QCOMPARE(d.lesen("SELECT name, type, pk FROM pragma_table_info('Bon')"),
                 QStringList({"Autowert|INTEGER|1", "Anzahl|TEXT|0", "Artikel|TEXT|0",
                              "Preis|TEXT|0", "Tastennr|INTEGER|0", "BonId|INTEGER|0"}));
        QVERIFY(d.lesen("SELECT sql FROM sqlite_master WHERE name = 'Bon'").value(0).contains(
            "AUTOINCREMENT"));
        QCOMPARE(d.lesen("PRAGMA journal_mode"), QStringList{"wal"});
    }

    void zeilenKommenGenauZurueck()
    {
        Programmordner ordner;
        const QList<BonZeile> rein = {Zeile("1", "Bier", "2,50", 3, 17),
                                      Zeile("10", "Würstchen groß", "35,00", 35, 40000),
                                      Zeile("2", "Äpfel & Öl / Süßes", "0,50", 1, 32768)};
        QList<BonZeile> geschrieben;
        {
            BonTabelle t;
            QVERIFY(t.oeffnen(ordner.datei("daten.db")));
            for (const BonZeile &z : rein)
                QVERIFY(t.hinzufuegen(z));
            QCOMPARE(Texte(t.zeilen()), Texte(rein));
            geschrieben = t.zeilen();
            QVERIFY(geschrieben[0].Autowert > 0);
            QVERIFY(geschrieben[0].Autowert < geschrieben[1].Autowert);
            QVERIFY(geschrieben[1].Autowert < geschrieben[2].Autowert);
        }
        // Stored as text, so "10" and "2,50" are not turned into numbers.
        Direktzugriff d(ordner.datei("daten.db"));
        QCOMPARE(d.lesen("SELECT typeof(Anzahl), Anzahl, typeof(Preis), Preis FROM Bon ORDER BY Autowert"),
                 QStringList({"text|1|text|2,50", "text|10|text|35,00", "text|2|text|0,50"}));

        BonTabelle wieder;
        QVERIFY(wieder.oeffnen(ordner.datei("daten.db")));
        QCOMPARE(Texte(wieder.zeilen()), Texte(rein));
        QCOMPARE(wieder.zeilen()[2].Autowert, geschrieben[2].Autowert);
        QCOMPARE(wieder.aktuelleZeile(), 0);
    }

    void zeilenEinesFrueherenLaufs()
    {
        Programmordner ordner;
        {
            Direktzugriff d(ordner.datei("daten.db"));
            QVERIFY(d.ausfuehren("CREATE TABLE Bon (Autowert INTEGER PRIMARY KEY AUTOINCREMENT, "
                                 "Anzahl TEXT, Artikel TEXT, Preis TEXT, Tastennr INTEGER, BonId INTEGER)"));
            QVERIFY(d.ausfuehren("INSERT INTO Bon VALUES (7, '1', 'Cola', '2,00', 4, 9)"));
            QVERIFY(d.ausfuehren("INSERT INTO Bon VALUES (3, '2', 'Wasser', '3,00', 5, 8)"));
        }
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        QCOMPARE(Artikel(t), QStringList({"Wasser", "Cola"}));
        QCOMPARE(t.zeilen()[0].Autowert, qint64(3));
        QVERIFY(!t.BOF() && !t.EOF_());

        QVERIFY(t.alleLoeschen());
        QCOMPARE(t.anzahl(), 0);
        QVERIFY(t.BOF() && t.EOF_());
        QCOMPARE(Direktzugriff(ordner.datei("daten.db")).lesen("SELECT count(*) FROM Bon"),
                 QStringList{"0"});
    }

    void anfangUndEnde_data()
    {
        QTest::addColumn<int>("zeilen");
        QTest::newRow("leer") << 0;
        QTest::newRow("eine") << 1;
        QTest::newRow("viele") << 4;
    }
    void anfangUndEnde()
    {
        QFETCH(int, zeilen);
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        for (int i = 0; i < zeilen; ++i)
            Fuellen(t, {QStringLiteral("A%1").arg(i)});

        const bool leer = zeilen == 0;
        QCOMPARE(t.aktuelleZeile(), zeilen - 1); // the newest row is current
        t.aktuelleZeileSetzen(0);
        QCOMPARE(t.BOF(), leer);
        QCOMPARE(t.EOF_(), leer);
        QCOMPARE(t.aktuelleZeile(), leer ? -1 : 0);
        QCOMPARE(t.aktuell().Artikel, leer ? QString() : u"A0"_qs);
    }

    void durchlaufenUndAbbauen()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        Fuellen(t, {"A", "B", "C"});

        // Voiding from the top: the follower is current at once.
        QStringList gelesen;
        t.aktuelleZeileSetzen(0);
        for (int schutz = 0; !t.BOF() && !t.EOF_() && schutz < 10; ++schutz) {
            gelesen << t.aktuell().Artikel;
            QVERIFY(t.loeschen());
        }
        QCOMPARE(gelesen, QStringList({"A", "B", "C"}));
        QCOMPARE(t.anzahl(), 0);

        // Emptying: the newest row away until at the beginning.
        Fuellen(t, {"D", "E"});
        for (int schutz = 0; !t.BOF() && schutz < 10; ++schutz)
            t.loeschen();
        QVERIFY(t.BOF() && t.EOF_());
        QCOMPARE(Direktzugriff(ordner.datei("daten.db")).lesen("SELECT count(*) FROM Bon"),
                 QStringList{"0"});
    }

    void loeschen_data()
    {
        QTest::addColumn<int>("aktuell");
        QTest::addColumn<QStringList>("bleiben");
        QTest::addColumn<QString>("danach"); // empty: no current row
        QTest::newRow("erste") << 0 << QStringList{"B", "C"} << "B";
        QTest::newRow("mittlere") << 1 << QStringList{"A", "C"} << "C";
        QTest::newRow("letzte") << 2 << QStringList{"A", "B"} << "B";
    }
    void loeschen()
    {
        QFETCH(int, aktuell);
        QFETCH(QStringList, bleiben);
        QFETCH(QString, danach);
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        Fuellen(t, {"A", "B", "C"});
        t.aktuelleZeileSetzen(aktuell);

        QVERIFY(t.loeschen());
        QCOMPARE(Artikel(t), bleiben);
        QCOMPARE(t.aktuell().Artikel, danach);
        QCOMPARE(Direktzugriff(ordner.datei("daten.db")).lesen("SELECT Artikel FROM Bon ORDER BY Autowert"),
                 bleiben);
    }

    void loeschenOhneAktuelleZeile()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        QVERIFY(!t.loeschen()); // empty

        Fuellen(t, {"A"});
        QVERIFY(t.loeschen());
        QVERIFY(t.BOF() && t.EOF_());
        QVERIFY(!t.loeschen()); // the deleted row is not deleted twice

        // A second void without a new selection takes an existing row.
        Fuellen(t, {"B", "C"});
        t.aktuelleZeileSetzen(1);
        QVERIFY(t.loeschen());
        QVERIFY(t.loeschen());
        QCOMPARE(t.anzahl(), 0);
    }

    void meldetDieAktuelleZeile()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        QSignalSpy spion(&t, &BonTabelle::aktuelleZeileGeaendert);
        auto gemeldet = [&spion] {
            QList<int> z;
            for (const auto &argumente : spion)
                z << argumente.at(0).toInt();
            spion.clear();
            return z;
        };

        Fuellen(t, {"A", "B", "C"});
        QCOMPARE(gemeldet(), QList<int>({0, 1, 2}));
        t.aktuelleZeileSetzen(0);
        t.aktuelleZeileSetzen(0);  // no change, no signal: the grid would loop
        t.aktuelleZeileSetzen(3);  // out of range
        t.aktuelleZeileSetzen(-1);
        QCOMPARE(gemeldet(), QList<int>({0}));
        QCOMPARE(t.aktuell().Artikel, QString("A"));

        QVERIFY(t.loeschen()); // B moves up to row 0 and must be selected again
        QCOMPARE(gemeldet(), QList<int>({0}));
        t.aktuelleZeileSetzen(1);
        QCOMPARE(gemeldet(), QList<int>({1}));
        QVERIFY(t.alleLoeschen());
        QCOMPARE(gemeldet(), QList<int>({-1}));
    }

    void modellFuerDasRaster()
    {
        Programmordner ordner;
        BonTabelle t;
        QAbstractItemModelTester pruefer(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));

        QCOMPARE(t.columnCount(), 6);
        QStringList koepfe;
        for (int s = 0; s < t.columnCount(); ++s)
            koepfe << t.headerData(s, Qt::Horizontal).toString();
        QCOMPARE(koepfe, QStringList({"Autowert", "Anzahl", "Artikel", "Preis", "Tastennr", "BonId"}));

        QSignalSpy eingefuegt(&t, &QAbstractItemModel::rowsInserted);
        QSignalSpy entfernt(&t, &QAbstractItemModel::rowsRemoved);
        QSignalSpy zurueckgesetzt(&t, &QAbstractItemModel::modelReset);

        QVERIFY(t.hinzufuegen(Zeile("10", "Grillkäse", "12345,50", 35, 40000)));
        Fuellen(t, {"B", "C"});
        QCOMPARE(eingefuegt.count(), 3);
        QCOMPARE(eingefuegt.at(2).at(1).toInt(), 2);
        QCOMPARE(eingefuegt.at(2).at(2).toInt(), 2);
        QCOMPARE(t.rowCount(), 3);

        QStringList zelle;
        for (int s = 0; s < t.columnCount(); ++s)
            zelle << t.index(0, s).data().toString();
        QCOMPARE(zelle, QStringList({QString::number(t.zeilen()[0].Autowert), "10", "Grillkäse",
                                     "12345,50", "35", "40000"}));
        const auto ausrichtung = [&t](int spalte) {
            return t.index(0, spalte).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        };
        QVERIFY(ausrichtung(SpaltePreis) & Qt::AlignRight);
        QVERIFY(!(ausrichtung(SpalteArtikel) & Qt::AlignRight));

        t.aktuelleZeileSetzen(1);
        QVERIFY(t.loeschen());
        QCOMPARE(entfernt.count(), 1);
        QCOMPARE(entfernt.at(0).at(1).toInt(), 1);
        QCOMPARE(t.index(1, SpalteArtikel).data().toString(), QString("C"));

        QVERIFY(t.alleLoeschen());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(zurueckgesetzt.count() >= 1);

        Fuellen(t, {"D"});
        t.schliessen();
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        QCOMPARE(t.rowCount(), 1);
        QCOMPARE(t.index(0, SpalteArtikel).data().toString(), QString("D"));
    }

    void schliessenUndWiederOeffnen()
    {
        Programmordner ordner, anderer;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        Fuellen(t, {"A", "B"});
        t.schliessen();
        QVERIFY(!t.offen());
        QCOMPARE(t.anzahl(), 0);
        QVERIFY(!t.hinzufuegen(Zeile("1", "X", "1,00")));

        QVERIFY(t.oeffnen(anderer.datei("daten.db")));
        Fuellen(t, {"C"});
        QVERIFY(t.oeffnen(ordner.datei("daten.db"))); // straight from one file to the other
        QCOMPARE(Artikel(t), QStringList({"A", "B"}));
        QVERIFY(t.oeffnen(anderer.datei("daten.db")));
        QCOMPARE(Artikel(t), QStringList({"C"}));
    }

    void nichtZuOeffnen_data()
    {
        QTest::addColumn<QString>("unterpfad"); // below the program folder
        QTest::addColumn<QByteArray>("inhalt");  // written to daten.db first
        QTest::newRow("ordner fehlt") << "fehlt/daten.db" << QByteArray();
        QTest::newRow("keine datenbank") << "daten.db" << QByteArray(4096, 'x');
        QTest::newRow("ein ordner") << "." << QByteArray();
    }
    void nichtZuOeffnen()
    {
        QFETCH(QString, unterpfad);
        QFETCH(QByteArray, inhalt);
        Programmordner ordner;
        if (!inhalt.isEmpty())
            ordner.schreiben("daten.db", inhalt);
        const QString pfad = QDir(ordner.pfad()).filePath(unterpfad);

        BonTabelle t;
        QAbstractItemModelTester pruefer(&t, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(!t.oeffnen(pfad));
        QVERIFY(!t.offen());
        QVERIFY2(t.fehlertext().contains(QDir::toNativeSeparators(pfad)), qPrintable(t.fehlertext()));
        QVERIFY2(t.fehlertext().contains("kann nicht geöffnet werden"), qPrintable(t.fehlertext()));

        QVERIFY(!t.hinzufuegen(Zeile("1", "Bier", "2,50")));
        QVERIFY(!t.loeschen());
        QVERIFY(!t.alleLoeschen());
        t.aktuelleZeileSetzen(0);
        QVERIFY(t.BOF() && t.EOF_());
        QCOMPARE(t.aktuelleZeile(), -1);
        QCOMPARE(t.aktuell().Artikel, QString());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(!QDir(ordner.datei("fehlt")).exists());
        if (!inhalt.isEmpty())
            QCOMPARE(ordner.lesen("daten.db"), inhalt);
    }

    void schreibfehlerLassenSpeicherUndDateiGleich()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        Fuellen(t, {"A", "B"});
        Direktzugriff d(ordner.datei("daten.db"));
        QSignalSpy eingefuegt(&t, &QAbstractItemModel::rowsInserted);

        QVERIFY(d.ausfuehren("CREATE TRIGGER kein_neu BEFORE INSERT ON Bon "
                             "BEGIN SELECT RAISE(ABORT, 'voll'); END"));
        QVERIFY(!t.hinzufuegen(Zeile("1", "Cola", "2,00")));
        QVERIFY(t.fehlertext().contains(QDir::toNativeSeparators(ordner.datei("daten.db"))));
        QVERIFY(t.fehlertext().contains("nicht"));
        QCOMPARE(Artikel(t), QStringList({"A", "B"}));
        QCOMPARE(t.aktuell().Artikel, QString("B"));
        QCOMPARE(eingefuegt.count(), 0);
        QVERIFY(d.ausfuehren("DROP TRIGGER kein_neu"));
        QVERIFY(t.hinzufuegen(Zeile("1", "Cola", "2,00"))); // the connection is still good

        QVERIFY(d.ausfuehren("CREATE TRIGGER kein_weg BEFORE DELETE ON Bon "
                             "BEGIN SELECT RAISE(ABORT, 'gesperrt'); END"));
        t.aktuelleZeileSetzen(0);
        QVERIFY(!t.loeschen());
        QVERIFY(!t.alleLoeschen());
        QCOMPARE(Artikel(t), QStringList({"A", "B", "Cola"}));
        QCOMPARE(t.aktuell().Artikel, QString("A"));
        QCOMPARE(d.lesen("SELECT count(*) FROM Bon"), QStringList{"3"});
    }

    void gesperrteDatei()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        Direktzugriff d(ordner.datei("daten.db"));
        QVERIFY(d.ausfuehren("BEGIN EXCLUSIVE"));
        QVERIFY(!t.hinzufuegen(Zeile("1", "Bier", "2,50")));
        QVERIFY2(t.fehlertext().contains("gesperrt"), qPrintable(t.fehlertext()));
        QCOMPARE(t.anzahl(), 0);
        QVERIFY(d.ausfuehren("ROLLBACK"));
        QVERIFY(t.hinzufuegen(Zeile("1", "Bier", "2,50")));
        QCOMPARE(t.anzahl(), 1);
    }

    void zweiTabellenNebeneinander()
    {
        Programmordner erster, zweiter;
        BonTabelle b;
        {
            BonTabelle a;
            QVERIFY(a.oeffnen(erster.datei("daten.db")));
            QVERIFY(b.oeffnen(zweiter.datei("daten.db")));
            Fuellen(a, {"A"});
            Fuellen(b, {"B"});
            QCOMPARE(Artikel(a), QStringList{"A"});
            QCOMPARE(Artikel(b), QStringList{"B"});

            BonTabelle gleicheDatei;
            QVERIFY(gleicheDatei.oeffnen(erster.datei("daten.db")));
            QCOMPARE(Artikel(gleicheDatei), QStringList{"A"});
        }
        Fuellen(b, {"C"}); // the other one's end leaves this one open
        QCOMPARE(Artikel(b), QStringList({"B", "C"}));
    }

    // The register falls back to this when daten.db cannot be opened.
    void nurImSpeicher()
    {
        BonTabelle t;
        QVERIFY(t.oeffnen(":memory:"));
        Fuellen(t, {"A", "B"});
        QVERIFY(t.loeschen());
        QCOMPARE(Artikel(t), QStringList{"A"});
    }

    void hinzufuegenIstSchnell()
    {
        Programmordner ordner;
        BonTabelle t;
        QVERIFY(t.oeffnen(ordner.datei("daten.db")));
        QElapsedTimer uhr;
        uhr.start();
        for (int i = 0; i < 500; ++i)
            QVERIFY(t.hinzufuegen(Zeile("1", "Bier", "2,50", 1, i)));
        QVERIFY2(uhr.elapsed() < 500, qPrintable(QString::number(uhr.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestBonTabelle)
#include "test_bon_tabelle.moc"

// The statement's command line: the rules of its arguments through the pure
// function, then the real program as the treasurer starts it (help, bad
// arguments, a missing journal, an unreachable server, files that exist),
// and the register's call that writes today's files.
#include "abrechnung/abrechnung_aufruf.h"
#include "abrechnung/abrechnung_csv.h"
#include "abrechnung/abrechnung_dateien.h"
#include "abrechnung/abrechnung_quelle.h"
#include "support/testjournal.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using namespace zanti;

namespace {

struct Lauf
{
    int ende = -1;
    QString aus, fehler;
};

Lauf Starten(const QStringList &argumente, const QString &ordner)
{
    QProcess p;
    p.setWorkingDirectory(ordner);
    p.start(qEnvironmentVariable("ZANTI_BUILD_DIR", QCoreApplication::applicationDirPath()) + u"/zanti_abrechnung"_qs,
            argumente);
    if (!p.waitForFinished(60000))
        return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QByteArray Lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestAbrechnungAufruf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_kasse;

private slots:
    void initTestCase()
    {
        test::TestJournal j(m_kasse.filePath(u"daten.db"_qs), u"Theke"_qs);
        test::NachtAnlegen(j);
    }

    void gueltig_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("bis");
        QTest::addColumn<QString>("dateien"); // which files are wanted
        QTest::newRow("heute") << QStringList{u"--ordner"_qs, u"k"_qs} << u"2026-10-25 00:00"_qs << u"2026-10-26 00:00"_qs << u"pdf csv"_qs;
        QTest::newRow("ein Tag, deutsch") << QStringList{u"--ordner=k"_qs, u"--von"_qs, u"24.10.2026"_qs}
                                           << u"2026-10-24 00:00"_qs << u"2026-10-25 00:00"_qs << u"pdf csv"_qs;
        QTest::newRow("Tage, ISO") << QStringList{u"--ordner"_qs, u"k"_qs, u"--von"_qs, u"2026-07-03"_qs, u"--bis"_qs, u"2026-07-05"_qs}
                                   << u"2026-07-03 00:00"_qs << u"2026-07-06 00:00"_qs << u"pdf csv"_qs;
        QTest::newRow("mit Uhrzeit, nur PDF")
            << QStringList{u"--server"_qs, u"service=fest"_qs, u"--veranstaltung"_qs, u"Fest"_qs, u"--von"_qs,
                           u"24.10.2026 18:00"_qs, u"--bis"_qs, u"2026-10-25T02:30"_qs, u"--pdf"_qs, u"a.pdf"_qs}
            << u"2026-10-24 18:00"_qs << u"2026-10-25 02:30"_qs << u"pdf"_qs;
        QTest::newRow("nur CSV") << QStringList{u"--ordner"_qs, u"k"_qs, u"--csv"_qs, u"a.csv"_qs, u"--ueberschreiben"_qs}
                                 << u"2026-10-25 00:00"_qs << u"2026-10-26 00:00"_qs << u"csv"_qs;
    }
    void gueltig()
    {
        QFETCH(QStringList, argumente);
        QString fehler;
        const auto a = AufrufLesen(argumente, QDate(2026, 10, 25), fehler);
        QVERIFY2(a, qPrintable(fehler));
        const QString format = u"yyyy-MM-dd HH:mm"_qs;
        QTEST(a->zeitraum.von.toString(format), "von");
        QTEST(a->zeitraum.bis.toString(format), "bis");
        QStringList dateien;
        if (a->pdfGewuenscht)
            dateien << u"pdf"_qs;
        if (a->csvGewuenscht)
            dateien << u"csv"_qs;
        QTEST(dateien.join(u' '), "dateien");
    }

    void falsch_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("keine Quelle") << QStringList{} << u"Bitte --ordner (eine Kasse) oder --server (die Veranstaltung) angeben."_qs;
        QTest::newRow("zwei Quellen") << QStringList{u"--ordner"_qs, u"k"_qs, u"--server"_qs, u"x"_qs} << u"--ordner und --server schließen sich aus."_qs;
        QTest::newRow("Server ohne Fest") << QStringList{u"--server"_qs, u"x"_qs} << u"Zu --server gehört --veranstaltung NAME."_qs;
        QTest::newRow("Fest ohne Server") << QStringList{u"--ordner"_qs, u"k"_qs, u"--veranstaltung"_qs, u"F"_qs} << u"--veranstaltung gilt nur mit --server."_qs;
        QTest::newRow("unbekannt") << QStringList{u"--ordner"_qs, u"k"_qs, u"--drucken"_qs} << u"Unbekannte Angabe: --drucken"_qs;
        QTest::newRow("Wert fehlt") << QStringList{u"--ordner"_qs} << u"Nach --ordner fehlt der Wert."_qs;
        QTest::newRow("leerer Wert") << QStringList{u"--ordner="_qs} << u"Der Wert von --ordner ist leer."_qs;
        QTest::newRow("kein Datum") << QStringList{u"--ordner"_qs, u"k"_qs, u"--von"_qs, u"31.02.2026"_qs}
                                    << u"--von 31.02.2026 ist kein Datum (TT.MM.JJJJ oder JJJJ-MM-TT, wahlweise mit Uhrzeit HH:MM)."_qs;
        QTest::newRow("keine Uhrzeit") << QStringList{u"--ordner"_qs, u"k"_qs, u"--bis"_qs, u"25.10.2026 24:30"_qs}
                                       << u"--bis 25.10.2026 24:30 ist kein Datum (TT.MM.JJJJ oder JJJJ-MM-TT, wahlweise mit Uhrzeit HH:MM)."_qs;
        QTest::newRow("rückwärts") << QStringList{u"--ordner"_qs, u"k"_qs, u"--von"_qs, u"25.10.2026"_qs, u"--bis"_qs, u"24.10.2026"_qs}
                                   << u"--bis liegt nicht nach --von."_qs;
    }
    void falsch()
    {
        QFETCH(QStringList, argumente);
        QString fehler;
        QVERIFY(!AufrufLesen(argumente, QDate(2026, 10, 25), fehler));
        QTEST(fehler, "fehler");
    }

    void programm_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<int>("ende");
        QTest::addColumn<QString>("ausgabe"); // in stdout or stderr
        QTest::newRow("Hilfe") << QStringList{u"--help"_qs} << 0 << u"Aufruf: zanti_abrechnung (--ordner ORDNER"_qs;
        QTest::newRow("falscher Aufruf") << QStringList{u"--ordner"_qs} << 2
                                         << u"zanti_abrechnung: Nach --ordner fehlt der Wert.\nHilfe: zanti_abrechnung --help\n"_qs;
        QTest::newRow("kein Journal") << QStringList{u"--ordner"_qs, u"/nirgends"_qs} << 3
                                      << u"Im Ordner /nirgends gibt es kein Belegjournal (daten.db)."_qs;
        QTest::newRow("Server fehlt")
            << QStringList{u"--server"_qs, u"host=/nirgends/sock dbname=fest"_qs, u"--veranstaltung"_qs, u"Fest"_qs} << 3
            << u"zanti_abrechnung: Der Server ist nicht erreichbar: "_qs;
    }
    void programm()
    {
        QFETCH(QStringList, argumente);
        QTemporaryDir arbeit;
        const Lauf lauf = Starten(argumente, arbeit.path());
        QTEST(lauf.ende, "ende");
        QFETCH(QString, ausgabe);
        QVERIFY2((lauf.aus + lauf.fehler).contains(ausgabe), qPrintable(lauf.aus + lauf.fehler));
        if (lauf.ende != 0)
            QVERIFY(QDir(arbeit.path()).isEmpty());
    }

    // Default names carry register and period; a second run refuses to
    // replace them unless told to.
    void dateienNieStillUeberschrieben()
    {
        QTemporaryDir arbeit;
        const QStringList argumente = {u"--ordner"_qs, m_kasse.path(), u"--von"_qs, u"24.10.2026"_qs, u"--bis"_qs, u"25.10.2026"_qs};
        Lauf lauf = Starten(argumente, arbeit.path());
        QCOMPARE(lauf.ende, 0);
        QVERIFY2(lauf.aus.startsWith(u"Kasse Theke, 24.10.2026 – 25.10.2026: Umsatz 37,00 € aus 7 Bons.\n"_qs), qPrintable(lauf.aus));
        const QString csv = arbeit.filePath(u"Abrechnung_Theke_2026-10-24_bis_2026-10-25.csv"_qs);
        const QString pdf = arbeit.filePath(u"Abrechnung_Theke_2026-10-24_bis_2026-10-25.pdf"_qs);
        QString fehler;
        const auto a = AbrechnungAusOrdner(m_kasse.path(), Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler);
        QCOMPARE(Lesen(csv), AbrechnungCsv(*a));
        QVERIFY(Lesen(pdf).startsWith("%PDF-"));

        QFile::resize(csv, 10);
        lauf = Starten(argumente, arbeit.path());
        QCOMPARE(lauf.ende, 4);
        QVERIFY2(lauf.fehler.contains(u"gibt es schon. Sie wird nicht überschrieben"_qs), qPrintable(lauf.fehler));
        QCOMPARE(Lesen(csv).size(), 10);
        lauf = Starten(argumente + QStringList{u"--ueberschreiben"_qs, u"--csv"_qs, csv}, arbeit.path());
        QCOMPARE(lauf.ende, 0);
        QCOMPARE(Lesen(csv), AbrechnungCsv(*a));
    }

    // What the register's button calls: today's files, a second press beside them.
    void tagesabrechnungDerKasse()
    {
        QTemporaryDir ziel;
        const QString ordner = ziel.filePath(u"abrechnungen"_qs);
        const QDateTime jetzt(QDate(2026, 10, 25), QTime(9, 0), QTimeZone(3600));
        QString fehler;
        const auto erste = TagesabrechnungSchreiben(m_kasse.path(), ordner, jetzt, fehler);
        QVERIFY2(erste, qPrintable(fehler));
        QCOMPARE(erste->pdf, ordner + u"/Abrechnung_Theke_2026-10-25.pdf"_qs);
        QVERIFY(Lesen(erste->csv).contains("Übersicht;Umsatz;;;;;4;;23,50;;;;"));
        const auto zweite = TagesabrechnungSchreiben(m_kasse.path(), ordner, jetzt, fehler);
        QVERIFY2(zweite, qPrintable(fehler));
        QCOMPARE(zweite->csv, ordner + u"/Abrechnung_Theke_2026-10-25_2.csv"_qs);
        QVERIFY(Lesen(erste->pdf).startsWith("%PDF-"));

        QVERIFY(!TagesabrechnungSchreiben(ziel.path(), ordner, jetzt, fehler));
        QVERIFY2(fehler.contains(u"gibt es kein Belegjournal"_qs), qPrintable(fehler));
    }
};

QTEST_MAIN(TestAbrechnungAufruf)
#include "test_abrechnung_aufruf.moc"

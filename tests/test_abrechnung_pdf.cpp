// The statement's PDF as a reader gets it: the text pdftotext extracts
// from it (figures, labels of the doubled hour, the warning of a register
// that has not sent everything, page numbers), and the embedded font.
#include "abrechnung/abrechnung_pdf.h"
#include "abrechnung/abrechnung_quelle.h"
#include "support/testjournal.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTimeZone>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;

namespace {

// A tool of poppler-utils on the file; its output.
QString Poppler(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(programm, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text in reading layout, runs of blanks as one: "Bier 7 24,50 € 66,2 %".
QString Text(const QString &pdf)
{
    QString text = Poppler(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs});
    static const QRegularExpression blanks(u"[ \\t]+"_qs);
    return text.replace(blanks, u" "_qs);
}

// Into the build folder when the tests run there, so anyone can look at
// the pages (pdftoppm); else into the test's temporary folder.
QString Schreiben(const QTemporaryDir &ordner, const QString &name, const Abrechnung &a)
{
    const QString bau = qEnvironmentVariable("ZANTI_BUILD_DIR", QCoreApplication::applicationDirPath());
    const QString pfad = bau.isEmpty() ? ordner.filePath(name) : bau + u"/abrechnung_"_qs + name;
    QFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return {};
    datei.write(AbrechnungPdf(a, QDateTime(QDate(2026, 10, 26), QTime(9, 30), QTimeZone::utc())));
    return pfad;
}

} // namespace

class TestAbrechnungPdf : public QObject
{
    Q_OBJECT

    QTemporaryDir m_ordner;

private slots:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty(), "poppler-utils: scripts/install-deps.sh");
    }

    void nachtAlsPdf_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::newRow("Kopf") << u"Abrechnung\nKasse Theke\nZeitraum: 24.10.2026 – 25.10.2026\nErstellt am 26.10.2026 um 09:30 Uhr"_qs;
        QTest::newRow("Umsatz") << u"Umsatz 37,00 €"_qs;
        QTest::newRow("Bons") << u"Bons 7"_qs;
        QTest::newRow("Durchschnitt") << u"Durchschnitt je Bon 5,29 €"_qs;
        QTest::newRow("erster Bon") << u"Erster Bon Nr. 2 am 24.10.2026 00:00:00, Theke"_qs;
        QTest::newRow("Stornos") << u"Stornos 4 über zusammen 13,50 €"_qs;
        QTest::newRow("Kassenbestand") << u"Umsatz bar laut Kasse 37,00 €"_qs;
        QTest::newRow("Diagramm") << u"Umsatz je Stunde"_qs;
        QTest::newRow("doppelte Stunde erklärt")
            << u"Die Uhr wurde umgestellt: 02:00–03:00 am 25.10.2026 gab es zweimal, zuerst in UTC+2 (Balken „+2“), "
               "dann in UTC+1 („+1“)."_qs;
        QTest::newRow("Artikel zuerst der größte") << u"Artikel Menge Umsatz Anteil\nBier 7 24,50 € 66,2 %"_qs;
        QTest::newRow("Rückgabe") << u"Pfand zurück -1 -2,00 € -5,4 %"_qs;
        QTest::newRow("Artikelsumme") << u"Summe 12 37,00 € 100,0 %"_qs;
        QTest::newRow("Sommerzeit") << u"25.10. 02:00–03:00 (UTC+2) 2 14,00 €"_qs;
        QTest::newRow("Winterzeit") << u"25.10. 02:00–03:00 (UTC+1) 1 8,00 €"_qs;
        QTest::newRow("Kasse") << u"Theke 6 35,00 € 3 11,50 €"_qs;
        QTest::newRow("Storno je Stunde") << u"Theke 25.10. 02:00–03:00 (UTC+1) 2 8,00 €"_qs;
        QTest::newRow("Seiten") << u"Seite 2 von 2"_qs;
    }
    void nachtAlsPdf()
    {
        static QString text;
        if (text.isEmpty()) {
            QTemporaryDir kasse;
            test::TestJournal j(kasse.filePath(u"daten.db"_qs), u"Theke"_qs);
            test::NachtAnlegen(j);
            QString fehler;
            const auto a = AbrechnungAusOrdner(kasse.path(), Zeitraum::Tage({2026, 10, 24}, {2026, 10, 25}), fehler);
            QVERIFY2(a, qPrintable(fehler));
            text = Text(Schreiben(m_ordner, u"nacht.pdf"_qs, *a));
        }
        QFETCH(QString, zeile);
        QVERIFY2(text.contains(zeile) || QString(text).replace(u'\n', u' ').contains(zeile), qPrintable(text));
    }

    // The font travels inside the file, so every machine shows the same.
    void schriftEingebettet()
    {
        Abrechnung a;
        a.zeitraum = Zeitraum::Tage({2026, 10, 24}, {2026, 10, 24});
        const QString schriften = Poppler(u"pdffonts"_qs, {Schreiben(m_ordner, u"leer.pdf"_qs, a)});
        const QStringList zeilen = schriften.split(u'\n').filter(u"DejaVuSans"_qs);
        QVERIFY2(!zeilen.isEmpty(), qPrintable(schriften));
        for (const QString &zeile : zeilen)
            QVERIFY2(zeile.contains(QRegularExpression(u"Identity-H +yes "_qs)), qPrintable(zeile)); // embedded
        QVERIFY(schriften.split(u'\n').filter(u"TrueType"_qs).size() == schriften.split(u'\n').filter(u"DejaVu"_qs).size());
        QVERIFY(Text(Schreiben(m_ordner, u"leer.pdf"_qs, a)).contains(u"Im Zeitraum wurde nichts verkauft."_qs));
    }

    // A register that has not sent everything is named on page 1, and long
    // tables go on over pages with their header.
    void unvollstaendigUndLang()
    {
        Abrechnung a;
        a.veranstaltung = true;
        a.quelle = u"Veranstaltung Sommerfest"_qs;
        a.zeitraum = Zeitraum::Tage({2026, 7, 4}, {2026, 7, 5});
        a.kassen = {{u"1"_qs, u"Grill"_qs, 10, 5000, 0, 0, false}, {u"2"_qs, u"Theke"_qs, 20, 7000, 1, 200, true}};
        a.belege = 30;
        a.umsatz = 12000;
        for (int i = 0; i < 120; ++i)
            a.artikel.append({u"Artikel %1"_qs.arg(i, 3, 10, QLatin1Char('0')), 1, 100, 8});
        const QString text = Text(Schreiben(m_ordner, u"fest.pdf"_qs, a));
        QVERIFY2(QString(text).replace(QRegularExpression(u"\\s+"_qs), u" "_qs).contains(
                     u"Achtung, unvollständig: Grill hat noch nicht alle Belege an den Server gesendet."_qs),
                 qPrintable(text));
        QVERIFY(text.contains(u"Grill 10 50,00 € 0 0,00 € NEIN"_qs));
        QVERIFY(text.contains(u"Theke 20 70,00 € 1 2,00 € ja"_qs));
        QVERIFY(text.contains(u"Artikel (Fortsetzung)"_qs));
        QVERIFY(text.contains(u"Artikel 119 1 1,00 €"_qs));
        QVERIFY(text.contains(u"Summe 120 120,00 € 100,0 %"_qs));
        const QRegularExpressionMatch letzte = QRegularExpression(u"Seite (\\d+) von (\\d+)\\s*$"_qs).match(text);
        QVERIFY(letzte.hasMatch() && letzte.captured(1) == letzte.captured(2) && letzte.captured(1).toInt() > 3);
    }
};

QTEST_MAIN(TestAbrechnungPdf)
#include "test_abrechnung_pdf.moc"

// "STO": voiding lines of the open receipt, what the protocol records and
// what stays as it was.
#include "persistence/bon_tabelle.h"
#include "support/kassen_fixture.h"

#include <QRegularExpression>
#include <QTableView>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {

// The top protocol line is "nr hh:mm:ss  rest Storno".
void PruefeStorno(Kasse &kasse, int nr, const QString &rest, int zeilenUebrig)
{
    const QString oben = kasse.protokollText().section(u"\r\n"_qs, 0, 0);
    QVERIFY2(QRegularExpression(u"^%1 \\d\\d:\\d\\d:\\d\\d  %2 Storno$"_qs.arg(nr).arg(
                                    QRegularExpression::escape(rest)))
                 .match(oben)
                 .hasMatch(),
             qPrintable(oben));
    QCOMPARE(kasse.bonTabelle().anzahl(), zeilenUebrig);
}

} // namespace

class TestKasseStorno : public QObject
{
    Q_OBJECT

private slots:
    void stornieren()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.klicken(u"Taste02"_qs);
        for (const char *taste : {"Command5", "Command3", "Command4", "Command6"})
            f.klicken(QString::fromLatin1(taste)); // numbers 0 (2 x 5,00) to 3
        const QString vorher = f.kasse().protokollText();

        f.klicken(u"Storno"_qs); // the line just booked
        PruefeStorno(f.kasse(), 3, u"1 x Artikel 6   -6,00"_qs, 3);
        QCOMPARE(f.kasse().protokollText().section(u"\r\n"_qs, 1), vorher);
        QCOMPARE(f.kasse().zustand().Zaehler, 4);
        QCOMPARE((QStringList{f.text(u"Label1_0"_qs), f.text(u"Label1_1"_qs), f.text(u"Label2"_qs)}),
                 (QStringList{u"Artikel 6"_qs, u"6,00"_qs, u"1"_qs}));
        QVERIFY(f.aktiv(u"Storno"_qs) && f.aktiv(u"IstgleichTaste"_qs) && !f.aktiv(u"GegebenTaste"_qs));

        f.klicken(u"Storno"_qs); // again: the row before the deleted last one
        PruefeStorno(f.kasse(), 2, u"1 x Artikel 4   -4,00"_qs, 2);

        // An earlier line picked in the grid carries its own number.
        auto *raster = f.finden<QTableView>(u"DataGrid1"_qs);
        // The grid shows quantity, article and amount only.
        for (int spalte = 0; spalte < Spaltenzahl; ++spalte)
            QCOMPARE(raster->isColumnHidden(spalte),
                     spalte == SpalteAutowert || spalte == SpalteTastennr
                         || spalte == SpalteBonId);
        const QModelIndex erste = raster->model()->index(0, SpalteArtikel);
        QTest::mouseClick(raster->viewport(), Qt::LeftButton, {}, raster->visualRect(erste).center());
        f.klicken(u"Storno"_qs);
        PruefeStorno(f.kasse(), 0, u"2 x Artikel 5   -10,00"_qs, 1);
        QCOMPARE(raster->selectionModel()->selectedRows().value(0).row(), 0);

        // With the selection cleared (ctrl-tap) nothing is voided.
        f.klicken(u"Command4"_qs);
        const QModelIndex neu = raster->model()->index(1, SpalteArtikel);
        QTest::mouseClick(raster->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          raster->visualRect(neu).center());
        QVERIFY(raster->selectionModel()->selectedRows().isEmpty());
        const QString ohneAuswahl = f.kasse().protokollText();
        f.klicken(u"Storno"_qs);
        QCOMPARE(f.kasse().bonTabelle().anzahl(), 2);
        QCOMPARE(f.kasse().protokollText(), ohneAuswahl);
        QTest::mouseClick(raster->viewport(), Qt::LeftButton, {}, raster->visualRect(neu).center());
        f.klicken(u"Storno"_qs);
        PruefeStorno(f.kasse(), 4, u"1 x Artikel 4   -4,00"_qs, 1);

        // The only line: the receipt is empty and the tick locks its keys.
        QTest::mouseClick(raster->viewport(), Qt::LeftButton, {}, raster->visualRect(erste).center());
        f.klicken(u"Storno"_qs);
        PruefeStorno(f.kasse(), 1, u"1 x Artikel 3   -3,00"_qs, 0);
        QTRY_VERIFY_WITH_TIMEOUT(!f.aktiv(u"Storno"_qs) && !f.aktiv(u"IstgleichTaste"_qs), 500);

        // Nothing was counted; the next line continues the numbering.
        f.klicken(u"Command2"_qs);
        QVERIFY(f.kasse().protokollText().startsWith(u"5 "_qs));
        f.klicken(u"IstgleichTaste"_qs);
        QCOMPARE(f.panel(3), u"2,00"_qs);
        QCOMPARE(f.kasse().zustand().Verkauft[5], Cent(0));
    }
};

QTEST_MAIN(TestKasseStorno)
#include "test_kasse_storno.moc"

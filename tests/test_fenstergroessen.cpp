// The register's windows at different screen sizes: the secondary windows
// scale with the register and stand where the design puts them, the status
// bar and the protocol box show their texts whole.
#include "register/beschriftung.h"
#include "register/entwurfsflaeche.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "model/protokoll.h"
#include "register/meldung.h"
#include "register/protokoll_box.h"
#include "support/kassen_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <cmath>

using namespace zanti;
using namespace zanti::test;

namespace {

// Twips at factor s, as the design tables give them, to the nearest pixel.
int Px(int twips, int s)
{
    return int(std::lround(twips * s / 15.0));
}

QWidget *Offen(KassenFixture &f, const QString &name)
{
    auto *w = f.kasse().findChild<QWidget *>(name);
    if (!w || !w->isVisible())
        qFatal("window %s is not open", qPrintable(name));
    return w;
}

} // namespace

class TestFenstergroessen : public QObject
{
    Q_OBJECT

private slots:
    void fensterWachsenMitDerKasse_data()
    {
        // A board of 784 x 580 plus a status bar of 24 pixels, once and twice.
        QTest::addColumn<int>("s");
        QTest::newRow("einfach") << 1;
        QTest::newRow("doppelt") << 2;
    }

    void fensterWachsenMitDerKasse()
    {
        QFETCH(int, s);
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(784 * s, 604 * s);
        QTest::qWait(20);
        // The status bar's panels, sized for the larger start, hold nothing.
        QCOMPARE(f.kasse().size(), QSize(784 * s, 604 * s));
        const QPoint ecke = f.kasse().frameGeometry().topLeft();

        f.klicken(u"Command4"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        f.klicken(u"GegebenTaste"_qs);
        QWidget *tastenfeld = Offen(f, u"Eingabefeld"_qs);
        QCOMPARE(tastenfeld->size(), QSize(Px(8415, s), Px(6855, s)));
        QCOMPARE(tastenfeld->findChild<QWidget *>(u"Eingabe7"_qs)->geometry(),
                 QRect(Px(960, s), Px(480, s), Px(1455, s), Px(1215, s)));
        QCOMPARE(tastenfeld->findChild<QWidget *>(u"Command1"_qs)->font().pixelSize(), 34 * s);
        QCOMPARE(tastenfeld->pos(), ecke + QPoint(Px(3860, s), Px(1740, s)));

        QTest::mouseDClick(f.finden<QLabel>(u"Label1_0"_qs), Qt::LeftButton);
        QWidget *anmeldung = Offen(f, u"Anmeldung"_qs);
        QCOMPARE(anmeldung->pos(), ecke + QPoint(Px(4515, s), Px(3375, s)));
        QCOMPARE(anmeldung->size(), QSize(Px(3885, s), Px(3015, s)));
        QCOMPARE(anmeldung->findChild<QWidget *>(u"Command6"_qs)->geometry(),
                 QRect(Px(120, s), Px(1560, s), Px(735, s), Px(735, s)));

        QTest::mouseClick(f.finden<QLabel>(u"Label1_1"_qs), Qt::LeftButton);
        f.klicken(u"Command109"_qs);
        QCOMPARE(Offen(f, u"Anzeige"_qs)->pos(), ecke + QPoint(Px(3675, s), Px(840, s)));

        std::unique_ptr<QMessageBox> box(Meldungsfenster(anmeldung, u"Text"_qs, u"Titel"_qs));
        QCOMPARE(box->button(QMessageBox::Ok)->minimumHeight(), 48 * s);
    }

    void okReichtFuerDenFingerBei800x600()
    {
        KassenFixture f;
        f.starten();
        f.kasse().resize(800, 600);
        QTest::qWait(20);
        std::unique_ptr<QMessageBox> box(Meldungsfenster(&f.kasse(), u"Text"_qs, u"Titel"_qs));
        box->setWindowModality(Qt::NonModal);
        box->show();
        QVERIFY(box->button(QMessageBox::Ok)->height() >= 40);
    }

    void texteStehenGanzDa_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<bool>("veranstaltung"); // the server's panel 9 shows
        for (const QSize g : {QSize(800, 600), QSize(1024, 768), QSize(1280, 800), QSize(1920, 1080)}) {
            QTest::addRow("%dx%d", g.width(), g.height()) << g << false;
            QTest::addRow("%dx%d Veranstaltung", g.width(), g.height()) << g << true;
        }
    }

    void texteStehenGanzDa()
    {
        QFETCH(QSize, groesse);
        QFETCH(bool, veranstaltung);
        KassenFixture f;
        QByteArray zeilen;
        for (int i = 0; i < 40; ++i) // more than the box shows: the scroll bar comes
            zeilen += ProtokollBox::Musterzeile().toLatin1() + "\r\n";
        f.ordner.schreiben(u"protokoll.txt"_qs, zeilen);
        f.starten();
        f.kasse().resize(groesse);
        // The longest text each panel can show.
        const QStringList texte{u"23:59:59"_qs,        u"31.12.2026"_qs,       u"999999,99"_qs,
                                u"F1 - Tastenhilfe"_qs, u"F2 - Drucker aus"_qs, u"F3 - Einzelbon aus"_qs,
                                u"F4 - Tischnr. aus"_qs, u"Schublade offen "_qs, u"Server: 9999 Nachträge warten"_qs};
        QStatusBar *leiste = f.kasse().statusBar();
        const int panels = veranstaltung ? 9 : 8;
        if (veranstaltung) // as the model shows its forwarder's state
            emit const_cast<KassenModell &>(f.kasse().modell()).statusSetzen(KassenModell::kServerPanel, texte[8]);
        for (int i = 1; i <= panels; ++i)
            leiste->findChild<QLabel *>(u"Panel"_qs + QString::number(i))->setText(texte[i - 1]);

        auto *box = f.finden<ProtokollBox>(u"Protokoll"_qs);
        QTest::qWait(20);

        int rechts = 0;
        for (int i = 1; i <= panels; ++i) {
            auto *panel = leiste->findChild<QLabel *>(u"Panel"_qs + QString::number(i));
            const QString name = panel->objectName();
            QVERIFY2(panel->width() >= panel->sizeHint().width(), qPrintable(name));
            QVERIFY2(panel->x() >= rechts, qPrintable(name));
            rechts = panel->geometry().right() + 1;
        }
        QVERIFY(rechts <= leiste->width());

        const int noetig = QFontMetrics(box->font()).horizontalAdvance(ProtokollBox::Musterzeile());
        QVERIFY(box->verticalScrollBar()->isVisible());
        // Whole on one row, or readable and wrapped into a second one.
        const qreal pixel = box->font().pointSizeF() * box->logicalDpiY() / 72;
        if (!box->umbrechen()) {
            QVERIFY2(noetig <= box->viewport()->width() - 2 * ProtokollBox::kRand,
                     qPrintable(QString::number(noetig)));
            // And as large as fits, to the quarter pixel.
            QFont groesser = box->font();
            groesser.setPointSizeF((pixel + 0.25) * 72 / box->logicalDpiY());
            QVERIFY(QFontMetricsF(groesser).horizontalAdvance(ProtokollBox::Musterzeile())
                    > box->viewport()->width() - 2 * ProtokollBox::kRand - 2);
        } else
            // Readable: at least 11 px at the design size, growing with it.
            QVERIFY2(pixel >= 11 * RegisterMassstab(box) - 0.25, qPrintable(QString::number(pixel)));
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
        qInfo("protocol font %.2f px, status font %d px",
              box->font().pointSizeF() * box->logicalDpiY() / 72, leiste->font().pixelSize());
    }

    void tastenBeschriftungPasst_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<int>("schrift");
        QTest::newRow("passt") << u"Cola\n1,50"_qs << QSize(105, 57) << 14;
        QTest::newRow("langes Wort") << u"Apfelschorlenkanne\n3,50"_qs << QSize(105, 57) << 14;
        QTest::newRow("schmale Taste") << u"GEG"_qs << QSize(49, 65) << 22;
        QTest::newRow("viele Worte") << u"Bier vom Fass mit Schaum und Glas\n4,00"_qs << QSize(105, 57) << 14;
        QTest::newRow("passt nie") << u"Donaudampfschifffahrtsgesellschaft"_qs << QSize(40, 20) << 14;
    }

    // A caption is drawn at the largest size, up to the key's own, at which
    // it fits the key whole; below 8 pixels it would not be read, so 8 stays.
    void tastenBeschriftungPasst()
    {
        QFETCH(QString, text);
        QFETCH(QSize, groesse);
        QFETCH(int, schrift);
        QWidget eltern;
        KassenTaste taste(u"Probe"_qs, &eltern);
        taste.setFixedSize(groesse);
        QFont f = taste.font();
        f.setPixelSize(schrift);
        taste.setFont(f);
        taste.beschriftungSetzen(text);

        const QRect feld = QRect(QPoint(), groesse).adjusted(4, 2, -4, -2);
        const auto passt = [&](int px) {
            f.setPixelSize(px);
            const QRect r = QFontMetrics(f).boundingRect(feld, Qt::AlignCenter | Qt::TextWordWrap, text);
            return r.width() <= feld.width() && r.height() <= feld.height();
        };
        int erwartet = schrift;
        while (erwartet > 8 && !passt(erwartet))
            --erwartet;
        QCOMPARE(taste.beschriftungsPixel(), erwartet);
    }

    // A key lays its caption out once, for measuring and drawing; the layout
    // is the one QPainter::drawText makes, to the pixel, also where the
    // caption is cut off.
    void beschriftungWieDrawText_data()
    {
        tastenBeschriftungPasst_data();
        QTest::newRow("drei Zeilen, zu hoch") << u"Eins\nZwei\nDrei"_qs << QSize(60, 30) << 14;
        QTest::newRow("Tabulator, CR, Und-Zeichen") << u"Kaffee\t&\rKuchen"_qs << QSize(105, 57) << 14;
        QTest::newRow("leer") << QString() << QSize(105, 57) << 14;
    }
    void beschriftungWieDrawText()
    {
        QFETCH(QString, text);
        QFETCH(QSize, groesse);
        QFETCH(int, schrift);
        constexpr int kFlags = Qt::AlignCenter | Qt::TextWordWrap;
        const QRect feld = QRect(QPoint(), groesse).adjusted(4, 2, -4, -2);
        QFont f = QApplication::font();
        for (int px : {schrift, 8}) {
            f.setPixelSize(px);
            const Beschriftungssatz satz(text, f, feld);
            if (!text.isEmpty())
                QCOMPARE(satz.benoetigt(), QFontMetrics(f).boundingRect(feld, kFlags, text));
            QImage eigen(groesse, QImage::Format_ARGB32_Premultiplied);
            eigen.fill(Qt::white);
            QImage vorbild = eigen;
            {
                QPainter maler(&eigen);
                maler.setPen(Qt::black);
                satz.zeichnen(maler);
            }
            {
                QPainter maler(&vorbild);
                maler.setPen(Qt::black);
                maler.setFont(f);
                maler.drawText(feld, kFlags, text);
            }
            QVERIFY2(eigen == vorbild, qPrintable(u"%1 px"_qs.arg(px)));
        }
    }
};

QTEST_MAIN(TestFenstergroessen)
#include "test_fenstergroessen.moc"

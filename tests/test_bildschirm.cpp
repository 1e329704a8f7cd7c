// Screenshots of the register's main states as PNG files under the build
// folder, for anyone to look at without a display.
#include "register/kasse.h"
#include "support/kassen_fixture.h"

#include <QAbstractButton>
#include <QDir>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

class BildschirmTest : public QObject
{
    Q_OBJECT

private:
    static void speichern(QWidget &fenster, const QString &name)
    {
        const QString ordner = QDir(BuildOrdner()).filePath(u"screenshots"_qs);
        QDir().mkpath(ordner);
        const QString pfad = QDir(ordner).filePath(name + u".png"_qs);
        QVERIFY(fenster.grab().save(pfad));
    }

private slots:
    void kasseNachBuchungen()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(1280, 800);
        f.klicken(u"Command1"_qs);
        f.klicken(u"Taste03"_qs);
        f.klicken(u"Command12"_qs);
        f.klicken(u"Command27"_qs);
        QTest::qWait(60);
        speichern(f.kasse(), u"kasse_buchungen"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QTest::qWait(60);
        speichern(f.kasse(), u"kasse_gesamt"_qs);
        // A small touch PC and a full-HD screen: the board scales with them.
        for (const QSize groesse : {QSize(1024, 768), QSize(1920, 1080)}) {
            f.kasse().resize(groesse);
            QTest::qWait(60);
            speichern(f.kasse(), u"kasse_%1x%2"_qs.arg(groesse.width()).arg(groesse.height()));
        }
    }

    void einstellmodusMitEditor()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(1280, 800);
        f.kasse().einstellmodusSetzen(1);
        QTest::qWait(60);
        f.klicken(u"Command5"_qs);
        QTest::qWait(60);
        speichern(f.kasse(), u"kasse_einstellmodus"_qs);
    }

    void eingabefeldNachGesamt()
    {
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(1280, 800);
        f.klicken(u"Command4"_qs);
        f.klicken(u"Command9"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        f.klicken(u"GegebenTaste"_qs);
        auto *tastenfeld = f.kasse().findChild<QWidget *>(u"Eingabefeld"_qs);
        QVERIFY(tastenfeld);
        QVERIFY(tastenfeld->isVisible());
        QTest::qWait(60);
        speichern(*tastenfeld, u"eingabefeld"_qs);
    }

    void anzeigeMitVerkaufsbeleg()
    {
        // The printer is missing, so the report goes into the window.
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(1280, 800);
        f.klicken(u"Taste03"_qs);
        f.klicken(u"Command2"_qs);
        f.klicken(u"Command11"_qs);
        f.klicken(u"IstgleichTaste"_qs);
        QTest::mouseClick(f.finden<QLabel>(u"Label1_1"_qs), Qt::LeftButton);
        f.klicken(u"Command108"_qs);
        auto *fenster = f.kasse().findChild<QWidget *>(u"Anzeige"_qs);
        QVERIFY(fenster);
        QVERIFY(fenster->isVisible());
        QTest::qWait(60);
        speichern(*fenster, u"anzeige_verkaufsbeleg"_qs);
    }

    void passwortFenster()
    {
        KassenFixture f;
        f.starten();
        QTest::keyClick(&f.kasse(), Qt::Key_F12);
        QTRY_VERIFY_WITH_TIMEOUT(f.kasse().findChild<QWidget *>(u"Anmeldung"_qs), 500);
        auto *fenster = f.kasse().findChild<QWidget *>(u"Anmeldung"_qs);
        QTest::mouseClick(fenster->findChild<QAbstractButton *>(u"Command1"_qs), Qt::LeftButton);
        QTest::mouseClick(fenster->findChild<QAbstractButton *>(u"Command2"_qs), Qt::LeftButton);
        QTest::qWait(60);
        speichern(*fenster, u"anmeldung"_qs);
    }
};

QTEST_MAIN(BildschirmTest)
#include "test_bildschirm.moc"

// Screenshots of every window of the register at the screen sizes of small
// touch PCs up to full HD, as PNG files under the build folder, for anyone to
// look at without a display.
#include "register/dateiauswahl.h"
#include "register/kasse.h"
#include "register/meldung.h"
#include "support/kassen_fixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

class TestBildschirm : public QObject
{
    Q_OBJECT

private:
    QString m_groesse;

    void speichern(QWidget &fenster, const QString &name)
    {
        QVERIFY2(fenster.isVisible(), qPrintable(name));
        QTest::qWait(20);
        const QString ordner = QDir(BuildOrdner()).filePath(u"screenshots"_qs);
        QDir().mkpath(ordner);
        const QString pfad = QDir(ordner).filePath(name + u'_' + m_groesse + u".png"_qs);
        QVERIFY(fenster.grab().save(pfad));
    }

    static QWidget *fenster(KassenFixture &f, const QString &name)
    {
        auto *w = f.kasse().findChild<QWidget *>(name);
        if (!w || !w->isVisible())
            qFatal("window %s is not open", qPrintable(name));
        return w;
    }

    static void tippen(QWidget *fenster, const QString &knopf)
    {
        QTest::mouseClick(fenster->findChild<QAbstractButton *>(knopf), Qt::LeftButton);
    }

private slots:
    void alleFenster_data()
    {
        QTest::addColumn<QSize>("groesse");
        for (const QSize g : {QSize(800, 600), QSize(1024, 768), QSize(1280, 800), QSize(1920, 1080)})
            QTest::addRow("%dx%d", g.width(), g.height()) << g;
    }

    void alleFenster()
    {
        QFETCH(QSize, groesse);
        m_groesse = u"%1x%2"_qs.arg(groesse.width()).arg(groesse.height());
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.starten();
        f.kasse().resize(groesse);

        f.klicken(u"Command1"_qs);
        f.klicken(u"Taste03"_qs);
        f.klicken(u"Command12"_qs);
        f.klicken(u"Command27"_qs);
        QTest::qWait(60);
        speichern(f.kasse(), u"kasse_buchungen"_qs);

        f.klicken(u"IstgleichTaste"_qs);
        f.klicken(u"GegebenTaste"_qs);
        QWidget *tastenfeld = fenster(f, u"Eingabefeld"_qs);
        speichern(*tastenfeld, u"eingabefeld"_qs);
        tastenfeld->close();

        // The printer is missing, so the report goes into the window.
        QTest::mouseClick(f.finden<QLabel>(u"Label1_1"_qs), Qt::LeftButton);
        f.klicken(u"Command108"_qs);
        QWidget *anzeige = fenster(f, u"Anzeige"_qs);
        speichern(*anzeige, u"anzeige"_qs);
        anzeige->close();

        QTest::mouseDClick(f.finden<QLabel>(u"Label1_0"_qs), Qt::LeftButton);
        QWidget *anmeldung = fenster(f, u"Anmeldung"_qs);
        tippen(anmeldung, u"Command1"_qs);
        tippen(anmeldung, u"Command2"_qs);
        speichern(*anmeldung, u"anmeldung"_qs);
        tippen(anmeldung, u"cmdCancel"_qs);

        std::unique_ptr<QMessageBox> box(Meldungsfenster(
            &f.kasse(), u"Ungültiges Kennwort. Bitte versuchen Sie es noch einmal!"_qs,
            u"Anmeldung"_qs));
        box->setWindowModality(Qt::NonModal); // the watchdog stands for a person here
        box->show();
        speichern(*box, u"meldung"_qs);
        box.reset();

        f.einstellen();
        QTest::qWait(60);
        f.klicken(u"Command5"_qs);
        QTest::qWait(60);
        speichern(f.kasse(), u"kasse_einstellmodus"_qs);

        f.klicken(u"Command105"_qs);
        QWidget *bonkopf = fenster(f, u"Bonkopf"_qs);
        speichern(*bonkopf, u"bonkopf"_qs);
        tippen(bonkopf, u"CancelButton"_qs);

        // F9: the receipts for a copy, one of them picked.
        QTest::keyClick(&f.kasse(), Qt::Key_F9);
        QTRY_VERIFY(f.kasse().findChild<QWidget *>(u"BonListe"_qs));
        QWidget *bonListe = fenster(f, u"BonListe"_qs);
        QTest::mouseClick(bonListe->findChild<QAbstractItemView *>(u"Liste1"_qs)->viewport(), Qt::LeftButton,
                          {}, QPoint(20, 10));
        speichern(*bonListe, u"bonliste"_qs);
        tippen(bonListe, u"Command2"_qs);

        f.klicken(u"Command106"_qs);
        QWidget *einstell = fenster(f, u"Einstell"_qs);
        speichern(*einstell, u"einstell"_qs);
        tippen(einstell, u"Command2"_qs);

        std::unique_ptr<QFileDialog> datei(DateiFenster(&f.kasse(), Dateimodus::Oeffnen,
                                                        f.ordner.pfad(), u"*.ini"_qs));
        datei->show();
        QTest::qWait(60);
        speichern(*datei, u"dateiauswahl"_qs);
    }

    // At an event the status bar has a ninth panel; here its server cannot
    // be reached (no socket in that folder), the longest of its usual texts.
    void veranstaltung_data() { alleFenster_data(); }
    void veranstaltung()
    {
        QFETCH(QSize, groesse);
        m_groesse = u"%1x%2"_qs.arg(groesse.width()).arg(groesse.height());
        KassenFixture f;
        f.ordner.schreibenZeilen(u"kasse.ini"_qs, KassenFixture::BeispielLayout());
        f.ordner.schreibenZeilen(u"veranstaltung.ini"_qs,
                                 {u"[Veranstaltung]"_qs, u"Name=Sommerfest 2027"_qs, u"Kasse=Getränke"_qs,
                                  u"Server=host=%1 dbname=zanti"_qs.arg(f.ordner.pfad())});
        f.starten();
        f.kasse().resize(groesse);
        f.klicken(u"Command5"_qs);
        f.klicken(u"Command9"_qs);
        QTRY_COMPARE_WITH_TIMEOUT(f.panel(9), u"Server nicht erreichbar"_qs, 10000);
        speichern(f.kasse(), u"kasse_veranstaltung"_qs);
    }
};

QTEST_MAIN(TestBildschirm)
#include "test_bildschirm.moc"

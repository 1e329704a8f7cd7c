// The message when the printer's port does not open: the sentence the
// register always showed, then the device and the likely cause, worded for
// the person at the stand. Built from the causes, and from real devices that
// are missing, refuse or are no device at all.
#include "model/drucker_dienst.h"
#include "printing/drucker_port.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;
using Grund = Oeffnungsfehler::Grund;
Q_DECLARE_METATYPE(Oeffnungsfehler::Grund)

namespace {

const QString kSatz = u"Schnittstelle an COM 2 kann nicht geöffnet werden!"_qs;

} // namespace

class TestDruckerMeldung : public QObject
{
    Q_OBJECT

private slots:
    void ursachen_data()
    {
        QTest::addColumn<QString>("geraet");
        QTest::addColumn<Grund>("grund");
        QTest::addColumn<QString>("gruppe");
        QTest::addColumn<QString>("zusatz"); // after the first sentence

        QTest::newRow("Geraet fehlt")
            << u"/dev/ttyUSB0"_qs << Grund::FehltGeraet << QString()
            << u"\nGerät /dev/ttyUSB0: nicht vorhanden. Ist der Drucker angeschlossen und eingeschaltet, "
               "und stimmt der Name in schnittstellen.ini?"_qs;
        QTest::newRow("kein Zugriff, serielle Leitung")
            << u"/dev/ttyUSB0"_qs << Grund::KeinZugriff << QString()
            << u"\nGerät /dev/ttyUSB0: keine Berechtigung. Der Benutzer kasse muss zur Gruppe dialout "
               "gehören (sudo adduser kasse dialout, danach neu anmelden)."_qs;
        QTest::newRow("kein Zugriff, USB-Drucker")
            << u"/dev/usb/lp0"_qs << Grund::KeinZugriff << QString()
            << u"\nGerät /dev/usb/lp0: keine Berechtigung. Der Benutzer kasse muss zur Gruppe lp "
               "gehören (sudo adduser kasse lp, danach neu anmelden)."_qs;
        QTest::newRow("kein Zugriff, Gruppe des Geraets")
            << u"/dev/ttyACM0"_qs << Grund::KeinZugriff << u"uucp"_qs
            << u"\nGerät /dev/ttyACM0: keine Berechtigung. Der Benutzer kasse muss zur Gruppe uucp "
               "gehören (sudo adduser kasse uucp, danach neu anmelden)."_qs;
        QTest::newRow("belegt") << u"/dev/ttyS1"_qs << Grund::Belegt << QString()
                                << u"\nGerät /dev/ttyS1: wird schon von einem anderen Programm benutzt."_qs;
        QTest::newRow("Netz: abgelehnt")
            << u"tcp://192.168.1.50:9100"_qs << Grund::Abgelehnt << QString()
            << u"\nDrucker tcp://192.168.1.50:9100: nimmt keine Verbindung an. Ist der Port richtig?"_qs;
        QTest::newRow("Netz: keine Antwort")
            << u"tcp://192.168.1.50"_qs << Grund::KeineAntwort << QString()
            << u"\nDrucker tcp://192.168.1.50: keine Antwort im Netz. Ist der Drucker eingeschaltet?"_qs;
        QTest::newRow("Netz: Adresse") << u"tcp://kasse-drucker"_qs << Grund::Adresse << QString()
                                       << u"\nDrucker tcp://kasse-drucker: Adresse ungültig oder "
                                          "Rechnername unbekannt."_qs;
        QTest::newRow("Steuerzeichen ohne Namen")
            << u"/dev/\x1b[2J"_qs << Grund::Steuerzeichen << QString()
            << u"\nDer Gerätename in schnittstellen.ini enthält Steuerzeichen."_qs;
        // The device opened; the setting was what failed.
        QTest::newRow("kein Geraetefehler") << u"/dev/ttyS1"_qs << Grund::Keiner << QString() << QString();
    }

    void ursachen()
    {
        QFETCH(QString, geraet);
        QFETCH(Grund, grund);
        QFETCH(QString, gruppe);
        QFETCH(QString, zusatz);
        Oeffnungsfehler fehler;
        fehler.grund = grund;
        fehler.gruppe = gruppe;
        QCOMPARE(DruckerDienst::PortMeldung(u"2"_qs, geraet, fehler, u"kasse"_qs), kSatz + zusatz);
    }

    // Start-up, the printer switch and the port dialog tell the same cause.
    void echteGeraete_data()
    {
        QTest::addColumn<QString>("geraet"); // %1: a fresh folder
        QTest::addColumn<QString>("zusatz"); // start of what follows the first sentence

        QTest::newRow("fehlt") << u"%1/usb/lp0"_qs << u"\nGerät %1/usb/lp0: nicht vorhanden."_qs;
        QTest::newRow("Ordner statt Geraet") << u"%1"_qs << u"\nGerät %1: "_qs;
        QTest::newRow("Netz: Port zu") << u"tcp://127.0.0.1:%2"_qs
                                       << u"\nDrucker tcp://127.0.0.1:%2: nimmt keine Verbindung an."_qs;
        QTest::newRow("Netz: Port ungueltig") << u"tcp://127.0.0.1:99999"_qs
                                              << u"\nDrucker tcp://127.0.0.1:99999: Adresse ungültig"_qs;
    }

    void echteGeraete()
    {
        QFETCH(QString, geraet);
        QFETCH(QString, zusatz);
        QTemporaryDir ordner;
        QVERIFY(ordner.isValid());
        // A port nobody listens on any more.
        QTcpServer frei;
        QVERIFY(frei.listen(QHostAddress::LocalHost));
        const QString zu = QString::number(frei.serverPort());
        frei.close();
        const auto einsetzen = [&](QString text) {
            return text.replace(u"%1"_qs, ordner.path()).replace(u"%2"_qs, zu);
        };
        QFile ini(QDir(ordner.path()).filePath(u"schnittstellen.ini"_qs));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(("[COM]\r\nCOM1=" + einsetzen(geraet) + "\r\n").toUtf8());
        ini.close();

        DruckerPort port;
        DruckerDienst dienst(ordner.path(), port);
        const QString erwartet = u"Schnittstelle an COM 1 kann nicht geöffnet werden!"_qs + einsetzen(zusatz);
        QString meldung;
        QVERIFY(!dienst.starten(u"1"_qs, &meldung));
        QVERIFY2(meldung.startsWith(erwartet), qPrintable(meldung));
        meldung.clear();
        QVERIFY(!dienst.umschalten(false, u"1"_qs, DruckerDienst::Schaltweg::Taste, &meldung));
        QVERIFY2(meldung.startsWith(erwartet), qPrintable(meldung));
        const std::optional<QString> gewaehlt = dienst.waehlen(1, u"1"_qs);
        QVERIFY(gewaehlt);
        QVERIFY2(gewaehlt->startsWith(erwartet), qPrintable(*gewaehlt));
    }
};

QTEST_GUILESS_MAIN(TestDruckerMeldung)
#include "test_drucker_meldung.moc"

// The printer's four-byte status report, read from bytes as they arrive.
#include "printing/drucker_status.h"
#include "printing/escpos.h"

#include <QTest>

using namespace zanti;

namespace {

QByteArray Bytes(std::initializer_list<int> werte)
{
    QByteArray b;
    for (int w : werte)
        b.append(char(w));
    return b;
}

} // namespace

class TestDruckerStatus : public QObject
{
    Q_OBJECT

private slots:
    void bloecke_data()
    {
        QTest::addColumn<QList<QByteArray>>("stuecke");
        QTest::addColumn<bool>("kannDrucken");
        QTest::addColumn<QString>("text");
        auto zeile = [](const char *name, QList<QByteArray> stuecke, bool kann, const QString &text) {
            QTest::newRow(name) << stuecke << kann << text;
        };
        zeile("bereit", {Bytes({20, 0, 0, 0})}, true, u"Drucker bereit "_qs);
        zeile("offline", {Bytes({28, 0, 0, 0})}, false, u" Papier ? "_qs);
        zeile("Deckel offen", {Bytes({60, 0, 0, 0})}, false, u" Fehler "_qs);
        zeile("Papier zu Ende", {Bytes({28, 0, 12, 0})}, false, u" Papier ?  Papier leer "_qs);
        zeile("Papier fast zu Ende druckt noch", {Bytes({20, 0, 3, 0})}, true, u"Drucker bereit "_qs);
        zeile("Abschneider klemmt", {Bytes({20, 8, 0, 0})}, false, u"Drucker bereit "_qs);
        zeile("in Stuecken", {Bytes({28, 0}), Bytes({12}), Bytes({0})}, false, u" Papier ?  Papier leer "_qs);
        zeile("zwei Bloecke, der letzte gilt", {Bytes({28, 0, 12, 0, 20, 0, 0, 0})}, true,
              u"Drucker bereit "_qs);
        zeile("Rauschen vor dem Block", {Bytes({0xff, 0x03, 20, 0, 0, 0})}, true, u"Drucker bereit "_qs);
        zeile("abgerissener Block", {Bytes({28, 60, 0, 0, 0})}, false, u" Fehler "_qs);
        zeile("nur das erste Byte", {Bytes({92})}, false, u" Feedtaste "_qs);
        zeile("kein erstes Byte wird uebergangen", {Bytes({28, 0, 0, 0, 18})}, false, u" Papier ? "_qs);
    }

    void bloecke()
    {
        QFETCH(QList<QByteArray>, stuecke);
        QFETCH(bool, kannDrucken);
        QFETCH(QString, text);
        StatusLeser leser;
        for (const QByteArray &stueck : stuecke)
            leser.einspeisen(stueck);
        QCOMPARE(leser.stand().kannDrucken(), kannDrucken);
        QCOMPARE(DruckerStatusText(leser.stand().erstesByte, leser.stand()), text);
    }

    // What the virtual printer answers in each trouble reads back as that trouble.
    void gespielteStoerungen()
    {
        StatusLeser leser;
        leser.einspeisen(escpos::Statusblock(false, true, false));
        QVERIFY(leser.stand().deckelOffen && !leser.stand().kannDrucken());
        leser.einspeisen(escpos::Statusblock(false, false, true));
        QVERIFY(leser.stand().papierLeer && !leser.stand().deckelOffen);
        leser.einspeisen(escpos::Statusblock(false, false, false));
        QCOMPARE(escpos::Statusblock(false, false, false), escpos::StatusBereit());
        QVERIFY(leser.stand().kannDrucken());
        leser.einspeisen(Bytes({28}));
        leser.zuruecksetzen();
        QVERIFY(leser.stand().kannDrucken());
    }
};

QTEST_APPLESS_MAIN(TestDruckerStatus)
#include "test_drucker_status.moc"

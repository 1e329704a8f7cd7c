// The statement of a shift sold through the real register model: with the
// period covering everything since the counts were cleared, its takings and
// units equal verkauf.ini, and its voids the protocol's void lines.
#include "abrechnung/abrechnung_quelle.h"
#include "core/tasten.h"
#include "model/kassen_modell.h"
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "printing/drucker_port.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;

class TestAbrechnungKasse : public QObject
{
    Q_OBJECT

private slots:
    void gleichVerkaufIni()
    {
        QTemporaryDir ordner;
        QFile layout(QDir(ordner.path()).filePath(u"kasse.ini"_qs));
        QVERIFY(layout.open(QIODevice::WriteOnly));
        layout.write("[Artikel]\r\nGetraenke1=Cola\r\nGetraenke2=Bier\r\nGetraenke3=Brezel\r\n"
                     "[Preise]\r\nPreis1=2,20\r\nPreis2=3,50\r\nPreis3=0,333\r\n");
        layout.close();
        QFile com(QDir(ordner.path()).filePath(u"schnittstellen.ini"_qs));
        QVERIFY(com.open(QIODevice::WriteOnly));
        com.write("[COM]\r\nCOM1=" + QFile::encodeName(ordner.path()) + "/kein-drucker\r\n");
        com.close();
        {
            DruckerPort port;
            KassenModell m(ordner.path(), port);
            m.startBeginnen();
            m.startBeenden();
            // Receipts with quantities, a third of a cent rounded, voids.
            const QList<QList<int>> schicht = {{1, 1, 2}, {3, 3, 3}, {2}, {1, 3}, {2, 2, 1}};
            int bon = 0;
            for (const QList<int> &tasten : schicht) {
                for (int k : tasten) {
                    if (k == 3)
                        m.MengenZiffer(3);
                    m.ArtikelTaste(k);
                }
                if (++bon % 2 == 0)
                    QVERIFY(m.Storno(0));
                m.BonAbschliessen();
            }
            QVERIFY(m.beenden().isEmpty());
        }

        const QDate heute = QDate::currentDate();
        QString fehler;
        const std::optional<Abrechnung> a =
            AbrechnungAusOrdner(ordner.path(), Zeitraum::Tage(heute.addDays(-1), heute.addDays(1)), fehler);
        QVERIFY2(a, qPrintable(fehler));
        const Verkaufszahlen gezaehlt =
            VerkaufszahlenLesen(IniDatei::Laden(QDir(ordner.path()).filePath(u"verkauf.ini"_qs)));
        QCOMPARE(a->umsatz, gezaehlt[kEinnahmen]);
        QCOMPARE(a->belege, 5);
        QVERIFY(a->umsatz > 0);
        Cent einheiten = 0, ausVerkauf = 0;
        for (const ArtikelZahlen &artikel : a->artikel)
            einheiten += artikel.menge * 100;
        for (int k = 1; k <= kArtikelTasten; ++k)
            ausVerkauf += gezaehlt[k];
        QCOMPARE(einheiten, ausVerkauf);

        QFile protokoll(QDir(ordner.path()).filePath(u"protokoll.txt"_qs));
        QVERIFY(protokoll.open(QIODevice::ReadOnly));
        const qint64 stornoZeilen = protokoll.readAll().count(" Storno\r\n");
        QCOMPARE(a->stornos, stornoZeilen);
        QCOMPARE(a->stornos, 2);
    }
};

QTEST_MAIN(TestAbrechnungKasse)
#include "test_abrechnung_kasse.moc"

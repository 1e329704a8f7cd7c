// A printer that cannot print never swallows a receipt: the model on a real
// network printer stand-in that reports offline, cover open, paper end, loses
// its connection or breaks mid-receipt. The sale is counted and journalled,
// the drawer opens, the receipt waits and prints when the printer is ready,
// in order and whole, and nothing prints twice unless its print was cut off.
// Also the copy: marked, journalled, set-up mode only. No widgets.
#include "escpos/escpos_decoder.h"
#include "model/kassen_modell.h"
#include "persistence/bon_tabelle.h"
#include "persistence/journal.h"
#include "printing/drucker_port.h"
#include "support/socket_drucker.h"
#include "support/testdaten.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;
using namespace zanti::test;

namespace {


// A register in a fresh folder whose COM 1 is the printer stand-in; key k
// sells "Artikel k" at k,00.
struct Stand
{
    QTemporaryDir ordner;
    SocketDrucker drucker;
    DruckerPort port;
    std::unique_ptr<KassenModell> m;
    EscPosDecoder papier;
    QStringList meldungen;
    QString panel8;

    Stand()
    {
        schreiben(u"schnittstellen.ini"_qs, "[COM]\r\nCOM1=" + drucker.adresse().toUtf8() + "\r\n");
        schreiben(u"Einstellungen.ini"_qs, "[Status]\r\nEinstellung6=1\r\nEinstellung4=1234\r\n");
        QByteArray kasse = "[Artikel]\r\n";
        for (int k = 1; k <= 5; ++k)
            kasse += "Getraenke" + QByteArray::number(k) + "=Artikel " + QByteArray::number(k) + "\r\n";
        kasse += "[Preise]\r\n";
        for (int k = 1; k <= 5; ++k)
            kasse += "Preis" + QByteArray::number(k) + "=" + QByteArray::number(k) + ",00\r\n";
        schreiben(u"kasse.ini"_qs, kasse);
        starten();
    }

    void starten()
    {
        m = std::make_unique<KassenModell>(ordner.path(), port);
        QObject::connect(m.get(), &KassenModell::meldung,
                         [this](const QString &text, const QString &) { meldungen << text; });
        QObject::connect(m.get(), &KassenModell::statusSetzen, [this](int panel, const QString &text) {
            if (panel == 8)
                panel8 = text;
        });
        m->startBeginnen();
        m->startBeenden();
    }

    void schreiben(const QString &name, const QByteArray &inhalt)
    {
        QFile f(QDir(ordner.path()).filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
    }

    // What reached the printer since the last look, with the drawer pulses
    // taken out; the receipts it cut.
    QStringList gedruckt(int wartezeitMs = 500)
    {
        papier.einspeisen(drucker.empfangen(wartezeitMs));
        return papier.fertigeBons();
    }

    void verkaufen(int k)
    {
        m->ArtikelTaste(k);
        m->BonAbschliessen();
    }

    // The printer reports; the register reads it at its next ticks.
    void melden(const QByteArray &status)
    {
        drucker.senden(status);
        QTRY_VERIFY_WITH_TIMEOUT(port.InBufferCount() >= status.size(), 2000);
        m->DruckerStatusLesen();
    }

    QList<Druckstatus> journal()
    {
        QList<Druckstatus> status;
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"lesen"_qs);
        db.setDatabaseName(QDir(ordner.path()).filePath(u"daten.db"_qs));
        if (db.open()) {
            QList<Beleg> belege = BelegeLesen(db, 0, 1000);
            for (const Beleg &b : belege)
                status << b.druck;
        }
        db = {};
        QSqlDatabase::removeDatabase(u"lesen"_qs);
        return status;
    }
};

QString Artikel(const QString &bon)
{
    for (const QString &zeile : bon.split(u'\n')) {
        if (zeile.contains(u" x Artikel "_qs))
            return zeile.section(u' ', 2, 3).trimmed();
    }
    return {};
}

} // namespace

class TestBonWarten : public QObject
{
    Q_OBJECT

private slots:
    void stoerung_data()
    {
        QTest::addColumn<QByteArray>("stoerung");
        QTest::addColumn<QString>("panel8");
        QTest::newRow("offline") << Bytes({28, 0, 0, 0}) << u" Papier ?   2 Bons warten"_qs;
        QTest::newRow("Deckel offen") << Bytes({60, 0, 0, 0}) << u" Fehler   2 Bons warten"_qs;
        QTest::newRow("Papier leer") << Bytes({28, 0, 12, 0}) << u" Papier ?  Papier leer   2 Bons warten"_qs;
        QTest::newRow("Papier leer, sonst bereit") << Bytes({20, 0, 12, 0})
                                                    << u"Drucker bereit  Papier leer   2 Bons warten"_qs;
    }

    // Each trouble the printer reports holds the receipts; "ready" prints
    // them in order, once each.
    void stoerung()
    {
        QFETCH(QByteArray, stoerung);
        QFETCH(QString, panel8);
        Stand s;
        QVERIFY(s.drucker.bereit());
        s.gedruckt();
        s.verkaufen(1);
        QCOMPARE(s.gedruckt(1000).size(), 1);

        s.melden(stoerung);
        s.verkaufen(2);
        s.verkaufen(3);
        // The drawer opened both times; no receipt went out.
        const QByteArray roh = s.drucker.empfangen(300);
        QCOMPARE(roh, kSchublade + kSchublade);
        QCOMPARE(s.m->wartendeBons(), 2);
        QCOMPARE(s.panel8, panel8);
        QCOMPARE(s.m->zustand().Gesamteinnahme, Cent(600));
        QCOMPARE(s.journal(), (QList<Druckstatus>{Druckstatus::Gedruckt, Druckstatus::Wartet, Druckstatus::Wartet}));

        s.melden(Bytes({20, 0, 0, 0}));
        const QStringList spaeter = s.gedruckt(1000);
        QCOMPARE(spaeter.size(), 2);
        QCOMPARE(Artikel(spaeter[0]), u"Artikel 2"_qs);
        QCOMPARE(Artikel(spaeter[1]), u"Artikel 3"_qs);
        QVERIFY(spaeter[1].contains(u"GESAMT"_qs) && spaeter[1].contains(u"3,00 E"_qs));
        QCOMPARE(s.m->wartendeBons(), 0);
        QCOMPARE(s.panel8, u"Drucker bereit "_qs);
        QCOMPARE(s.journal(), (QList<Druckstatus>{Druckstatus::Gedruckt, Druckstatus::SpaeterGedruckt,
                                                  Druckstatus::SpaeterGedruckt}));
        // Ready again and again: nothing prints a second time.
        s.melden(Bytes({20, 0, 0, 0}));
        QCOMPARE(s.gedruckt(300), QStringList());
    }

    // The line breaks: what waits prints after F2 connects again, and a new
    // receipt waits behind the older ones.
    void verbindungWeg()
    {
        Stand s;
        s.gedruckt();
        s.drucker.trennen();
        QTRY_VERIFY(!s.port.PortOpen());
        s.verkaufen(4);
        QCOMPARE(s.m->wartendeBons(), 1);
        QCOMPARE(s.panel8, u" Fehler   1 Bon wartet"_qs);

        s.m->DruckerUmschalten(KassenModell::Schaltweg::Taste);
        QTRY_VERIFY(s.port.PortOpen());
        s.verkaufen(5);
        const QStringList bons = s.gedruckt(1000);
        QCOMPARE(bons.size(), 2);
        QCOMPARE(Artikel(bons[0]), u"Artikel 4"_qs);
        QCOMPARE(Artikel(bons[1]), u"Artikel 5"_qs);
        QCOMPARE(s.m->wartendeBons(), 0);
    }

    // Cut off mid-receipt: its print state is unknown, so it prints again
    // in full once the printer is back; the receipts before it do not.
    void abgerissenMittenImBon()
    {
        Stand s;
        s.verkaufen(1);
        QCOMPARE(s.gedruckt(1000).size(), 1);
        for (int i = 0; i < 30; ++i)
            s.m->ArtikelTaste(2);
        s.m->BonAbschliessen();
        s.drucker.trennen();
        QTRY_VERIFY(!s.port.PortOpen());
        QCOMPARE(s.m->wartendeBons(), 1);
        QCOMPARE(s.journal(), (QList<Druckstatus>{Druckstatus::Gedruckt, Druckstatus::Wartet}));

        s.m->DruckerUmschalten(KassenModell::Schaltweg::Taste);
        QTRY_COMPARE(s.drucker.verbindungen(), 2);
        s.melden(Bytes({20, 0, 0, 0}));
        const QStringList bons = s.gedruckt(1500);
        QCOMPARE(bons.size(), 1);
        QCOMPARE(bons[0].count(u"1 x Artikel 2"_qs), 30);
        QVERIFY(bons[0].contains(u"60,00 E"_qs));
        QCOMPARE(s.journal(), (QList<Druckstatus>{Druckstatus::Gedruckt, Druckstatus::SpaeterGedruckt}));
    }

    // Switched off by the operator: nothing waits, nothing prints later.
    void druckerAusgeschaltet()
    {
        Stand s;
        s.gedruckt();
        s.m->DruckerUmschalten(KassenModell::Schaltweg::Taste);
        s.verkaufen(2);
        QCOMPARE(s.m->wartendeBons(), 0);
        QCOMPARE(s.journal(), QList<Druckstatus>{Druckstatus::NichtVerlangt});
    }

    // Waiting receipts outlive the program: the next start says how many
    // and prints them once the printer is ready.
    void wartenUeberNeustart()
    {
        Stand s;
        s.gedruckt();
        s.melden(Bytes({28, 0, 12, 0}));
        s.verkaufen(2);
        s.verkaufen(3);
        QVERIFY(s.m->beenden().isEmpty());
        s.m.reset();
        s.gedruckt();

        s.meldungen.clear();
        s.starten();
        QCOMPARE(s.meldungen, QStringList{u"2 Bons vom letzten Mal warten auf den Drucker. Sie werden "
                                          "gedruckt, sobald der Drucker bereit ist."_qs});
        QTRY_COMPARE(s.drucker.verbindungen(), 2);
        s.gedruckt();
        s.melden(Bytes({20, 0, 0, 0}));
        const QStringList bons = s.gedruckt(1000);
        QCOMPARE(bons.size(), 2);
        QCOMPARE(Artikel(bons[0]), u"Artikel 2"_qs);
    }

    // A folder copied from another machine gets an identity of its own,
    // said once; its receipts count on from 1 under the new identity.
    void kopierterOrdner()
    {
        Stand s;
        s.verkaufen(1);
        const QString ersteKennung = s.m->kennung().id;
        QVERIFY(s.m->beenden().isEmpty());
        s.m.reset();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"kopiert"_qs);
            db.setDatabaseName(QDir(s.ordner.path()).filePath(u"daten.db"_qs));
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec(u"UPDATE Kassenkennung SET maschine = 'ein-anderer-rechner'"_qs));
        }
        QSqlDatabase::removeDatabase(u"kopiert"_qs);

        s.meldungen.clear();
        s.starten();
        QCOMPARE(s.meldungen.size(), 1);
        QVERIFY2(s.meldungen[0].startsWith(u"Dieser Programmordner kommt von einem anderen Rechner."_qs),
                 qPrintable(s.meldungen[0]));
        const QString neueKennung = s.m->kennung().id;
        QVERIFY(neueKennung != ersteKennung);
        s.verkaufen(2);
        QCOMPARE(s.m->NeuesteBons(1).first().nummer, u"1"_qs);

        QVERIFY(s.m->beenden().isEmpty());
        s.m.reset();
        s.meldungen.clear();
        s.starten();
        QCOMPARE(s.meldungen, QStringList());
        QCOMPARE(s.m->kennung().id, neueKennung);
    }

    // A copy in set-up mode only, marked, and noted in the journal.
    void kopie()
    {
        Stand s;
        s.verkaufen(3);
        s.gedruckt();
        const QList<BonListenEintrag> liste = s.m->NeuesteBons(20);
        QCOMPARE(liste.size(), 1);
        QCOMPARE(liste[0].nummer, u"1"_qs);
        QCOMPARE(liste[0].summe, u"3,00"_qs);
        QCOMPARE(liste[0].druck, u"gedruckt"_qs);

        s.m->KopieDrucken(liste[0].lfd);
        QCOMPARE(s.gedruckt(300), QStringList());
        QVERIFY(s.m->KennwortPruefen(u"1234"_qs));
        s.m->KopieDrucken(liste[0].lfd);
        const QStringList kopie = s.gedruckt(1000);
        QCOMPARE(kopie.size(), 1);
        QCOMPARE(kopie[0].count(u"*** KOPIE ***"_qs), 2);
        QCOMPARE(Artikel(kopie[0]), u"Artikel 3"_qs);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"kopien"_qs);
        db.setDatabaseName(QDir(s.ordner.path()).filePath(u"daten.db"_qs));
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(u"SELECT beleg, kasse_id FROM Kopie"_qs) && q.next());
        QCOMPARE(q.value(0).toLongLong(), liste[0].lfd);
        QCOMPARE(q.value(1).toString(), s.m->kennung().id);
        q = QSqlQuery();
        db = {};
        QSqlDatabase::removeDatabase(u"kopien"_qs);
    }
};

QTEST_GUILESS_MAIN(TestBonWarten)
#include "test_bon_warten.moc"

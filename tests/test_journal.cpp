// The receipt journal on a real daten.db: what goes in comes out, numbers
// count on per register and survive reopening, and a folder from another
// machine gets an identity of its own.
#include "persistence/journal.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace zanti;

namespace {

// One connection to a journal file, opened and created like the register's.
class Journaldatei
{
public:
    explicit Journaldatei(const QString &pfad)
    {
        static int nummer = 0;
        m_name = QStringLiteral("journal_test_%1").arg(++nummer);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(pfad);
        QVERIFY(db.open());
        QSqlError fehler;
        QVERIFY2(JournalAnlegen(db, fehler), qPrintable(fehler.text()));
    }
    ~Journaldatei() { QSqlDatabase::removeDatabase(m_name); }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    Beleg eintragen(Beleg b)
    {
        QSqlDatabase d = db();
        QSqlError fehler;
        d.transaction();
        const bool ok = BelegEintragen(d, b, fehler);
        d.commit();
        if (!ok)
            qWarning("%s", qPrintable(fehler.text()));
        return b;
    }

private:
    QString m_name;
};

Beleg Beispiel(const QString &kasse)
{
    Beleg b;
    b.kasseId = kasse;
    b.zeit = {1'700'000'000'123, 3600};
    b.summeCent = 570;
    b.druck = Druckstatus::Gedruckt;
    b.druckdaten = {{u"Sportverein"_qs, u"Sommerfest"_qs, {}, u"Danke"_qs}, 2, true, false, true};
    b.zeilen = {{36, u"Cola"_qs, 2, 200, 400, 17}, {3, u"Würstchen"_qs, 1, 170, 170, 18}};
    return b;
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT

private slots:
    void belegKommtWieGeschriebenZurueck()
    {
        QTemporaryDir ordner;
        Journaldatei j(ordner.filePath(u"daten.db"_qs));
        Beleg b = Beispiel(u"k1"_qs);
        b.tisch = 7;
        const Beleg geschrieben = j.eintragen(b);
        QCOMPARE(geschrieben.nummer, 1);
        QCOMPARE(geschrieben.id.size(), 36);

        QSqlDatabase db = j.db();
        const std::optional<Beleg> gelesen = BelegLesen(db, geschrieben.lfd);
        QVERIFY(gelesen);
        QCOMPARE(gelesen->id, geschrieben.id);
        QCOMPARE(gelesen->tisch, std::optional<int>(7));
        QCOMPARE(gelesen->summeCent, 570);
        QVERIFY(!gelesen->gegebenCent);
        QCOMPARE(gelesen->druckdaten.kopf[1], u"Sommerfest"_qs);
        QCOMPARE(gelesen->druckdaten.kopf[2], QString());
        QCOMPARE(gelesen->druckdaten.logo, 2);
        QVERIFY(gelesen->druckdaten.einzelbon && !gelesen->druckdaten.tischanzeige && gelesen->druckdaten.salat);
        QCOMPARE(gelesen->zeilen.size(), 2);
        QCOMPARE(gelesen->zeilen[1].artikel, u"Würstchen"_qs);
        QCOMPARE(gelesen->zeilen[0].anzahl, 2);
        QCOMPARE(gelesen->zeilen[0].betragCent, 400);
        QCOMPARE(gelesen->zeilen[1].protokollNr, 18);
        QCOMPARE(gelesen->zeit.lokal().toString(u"dd.MM.yyyy HH:mm:ss"_qs), u"14.11.2023 23:13:20"_qs);

        QSqlError fehler;
        QVERIFY(GegebenSetzen(db, geschrieben.lfd, 1000, 430, fehler));
        QCOMPARE(BelegLesen(db, geschrieben.lfd)->rueckgeldCent, std::optional<Cent>(430));
    }

    // Numbers count on from 1 for each register identity, across closing
    // and reopening the file; a receipt's UUID is never given twice.
    void nummernLueckenlosUndJeKasse()
    {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(u"daten.db"_qs);
        QSet<QString> ids;
        {
            Journaldatei j(pfad);
            for (int i = 1; i <= 3; ++i) {
                const Beleg b = j.eintragen(Beispiel(u"k1"_qs));
                QCOMPARE(b.nummer, i);
                ids.insert(b.id);
            }
            QCOMPARE(j.eintragen(Beispiel(u"k2"_qs)).nummer, 1);
        }
        Journaldatei j(pfad);
        const Beleg b = j.eintragen(Beispiel(u"k1"_qs));
        QCOMPARE(b.nummer, 4);
        ids.insert(b.id);
        QCOMPARE(ids.size(), 4);
        QSqlDatabase db = j.db();
        QCOMPARE(BelegeLesen(db, 0, 100).size(), 5);
        QCOMPARE(NeuesteBelege(db, 2).first().nummer, 4);
        // Read in pages, oldest first, as the event server takes them.
        const QList<Beleg> seite = BelegeLesen(db, 2, 2);
        QCOMPARE(seite.size(), 2);
        QCOMPARE(seite[0].lfd, 3);
        QCOMPARE(seite[1].zeilen.size(), 2);
    }

    void wartendeBelegeInReihenfolge()
    {
        QTemporaryDir ordner;
        Journaldatei j(ordner.filePath(u"daten.db"_qs));
        QList<qint64> wartend;
        for (int i = 0; i < 4; ++i) {
            Beleg b = Beispiel(u"k1"_qs);
            b.druck = i % 2 ? Druckstatus::Wartet : Druckstatus::Gedruckt;
            b = j.eintragen(b);
            if (i % 2)
                wartend.append(b.lfd);
        }
        QSqlDatabase db = j.db();
        QList<qint64> gefunden;
        for (const Beleg &b : WartendeBelege(db))
            gefunden.append(b.lfd);
        QCOMPARE(gefunden, wartend);
        QSqlError fehler;
        QVERIFY(DruckstatusSetzen(db, wartend[0], Druckstatus::SpaeterGedruckt, fehler));
        QCOMPARE(WartendeBelege(db).size(), 1);
        QCOMPARE(BelegLesen(db, wartend[0])->druck, Druckstatus::SpaeterGedruckt);
    }

    void stornoUndKopie()
    {
        QTemporaryDir ordner;
        Journaldatei j(ordner.filePath(u"daten.db"_qs));
        QSqlDatabase db = j.db();
        StornoEintrag s;
        s.kasseId = u"k1"_qs;
        s.zeit = {1'700'000'000'000, 3600};
        s.belegNummer = 5;
        s.taste = 4;
        s.artikel = u"Bier"_qs;
        s.anzahl = 3;
        s.betragCent = 750;
        QSqlError fehler;
        QVERIFY(StornoEintragen(db, s, fehler));
        QVERIFY(KopieEintragen(db, 1, u"k1"_qs, s.zeit, fehler));
        const QList<StornoEintrag> gelesen = StornosLesen(db, 0, 10);
        QCOMPARE(gelesen.size(), 1);
        QCOMPARE(gelesen[0].id, s.id);
        QCOMPARE(gelesen[0].belegNummer, 5);
        QCOMPARE(gelesen[0].artikel, u"Bier"_qs);
        QCOMPARE(gelesen[0].betragCent, 750);
        QVERIFY(StornosLesen(db, gelesen[0].lfd, 10).isEmpty());
    }

    // A daten.db from before the Nachtrag table gets it at the next open.
    // "GEG" and each print state then append the receipt's whole state after
    // the change, in order; a caller's transaction rolled back takes both
    // the change and its Nachtrag back.
    void nachtragJeAenderung()
    {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(u"daten.db"_qs);
        Beleg b = Beispiel(u"k1"_qs);
        b.druck = Druckstatus::Wartet;
        {
            Journaldatei alt(pfad);
            b = alt.eintragen(b);
            QSqlQuery q(alt.db());
            QVERIFY(q.exec(u"DROP TABLE Nachtrag"_qs));
        }
        Journaldatei j(pfad);
        QSqlDatabase db = j.db();
        QSqlError fehler;
        QVERIFY2(GegebenSetzen(db, b.lfd, 1000, 430, fehler), qPrintable(fehler.text()));
        QVERIFY(DruckstatusSetzen(db, b.lfd, Druckstatus::SpaeterGedruckt, fehler));
        QVERIFY(db.transaction());
        QVERIFY(GegebenSetzen(db, b.lfd, 2000, 1430, fehler));
        QVERIFY(db.rollback());

        QCOMPARE(BelegLesen(db, b.lfd)->gegebenCent, std::optional<Cent>(1000));
        const QList<NachtragEintrag> n = NachtraegeLesen(db, 0, b.lfd, 10);
        QCOMPARE(n.size(), 2);
        QCOMPARE(n[0].druck, Druckstatus::Wartet);
        QCOMPARE(n[1].belegId, b.id);
        QCOMPARE(n[1].gegebenCent, std::optional<Cent>(1000));
        QCOMPARE(n[1].rueckgeldCent, std::optional<Cent>(430));
        QCOMPARE(n[1].druck, Druckstatus::SpaeterGedruckt);
        // Not before its receipt is sent.
        QVERIFY(NachtraegeLesen(db, 0, b.lfd - 1, 10).isEmpty());
    }

    // The identity stays on its machine; a copied folder gets a new one.
    void kennungJeMaschine()
    {
        QTemporaryDir ordner;
        Journaldatei j(ordner.filePath(u"daten.db"_qs));
        QSqlDatabase db = j.db();
        QSqlError fehler;
        const auto erste = KennungSichern(db, u"maschine-a"_qs, u"theke"_qs, fehler);
        QVERIFY(erste && erste->neu && !erste->kopiert);
        QCOMPARE(erste->kennung.name, u"theke"_qs);

        const auto wieder = KennungSichern(db, u"maschine-a"_qs, u"anders"_qs, fehler);
        QVERIFY(wieder && !wieder->neu);
        QCOMPARE(wieder->kennung.id, erste->kennung.id);
        QCOMPARE(wieder->kennung.name, u"theke"_qs);

        const auto kopiert = KennungSichern(db, u"maschine-b"_qs, u"grill"_qs, fehler);
        QVERIFY(kopiert && kopiert->neu && kopiert->kopiert);
        QVERIFY(kopiert->kennung.id != erste->kennung.id);
        QCOMPARE(KennungLesen(db)->id, kopiert->kennung.id);
        QCOMPARE(KennungLesen(db)->name, u"grill"_qs);

        const QString schluessel = MaschinenSchluessel();
        QCOMPARE(schluessel.size(), 32);
        QCOMPARE(MaschinenSchluessel(), schluessel);
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "test_journal.moc"

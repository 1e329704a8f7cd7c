// Power cuts: the real register window in a process of its own sells receipt
// after receipt and is killed with SIGKILL at random instants, and once at
// every disk step of a close. After every kill the next start must find
// whole files whose takings and unit counts equal the closed receipts in the
// protocol, and no receipt may have been printed twice.
#include "core/tasten.h"
#include "core/geld.h"
#include "persistence/ini_datei.h"
#include "persistence/verkauf.h"
#include "support/pseudo_terminal.h"
#include "support/testumgebung.h"
#include "escpos/escpos_decoder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <csignal>

using namespace zanti;
using namespace zanti::test;

namespace {

constexpr int kTasten = 6; // the keys the shift uses

class Versuchsfeld
{
public:
    Versuchsfeld()
    {
        QStringList layout{u"[Artikel]"_qs};
        for (int i = 1; i <= 35; ++i)
            layout << u"Getraenke%1=Artikel %1"_qs.arg(i);
        layout << u"[Preise]"_qs;
        for (int i = 1; i <= 35; ++i)
            layout << u"Preis%1=%1,%2"_qs.arg(i).arg(i * 5 % 100, 2, 10, QLatin1Char('0'));
        ordner.schreibenZeilen(u"kasse.ini"_qs, layout);
        ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + drucker.geraet()});
        ordner.schreibenZeilen(u"Einstellungen.ini"_qs, {u"[Status]"_qs, u"Einstellung6=1"_qs});
    }

    // Starts the shift and waits until its start-up is done.
    bool starten(QProcess &p, int seed, const QStringList &mehr = {})
    {
        const QString programm = QDir(BuildOrdner()).filePath(u"zanti_dauerlauf"_qs);
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        p.setProcessEnvironment(umgebung);
        p.start(programm, QStringList{ordner.pfad(), QString::number(seed)} + mehr);
        if (!p.waitForStarted(5000))
            return false;
        for (int i = 0; i < 300 && !p.canReadLine() && p.state() == QProcess::Running; ++i) {
            drucken();
            p.waitForReadyRead(50);
        }
        return p.canReadLine() && p.readLine() == "bereit\n";
    }

    // What arrived so far; a busy shift never leaves the line quiet.
    void drucken() { decoder.einspeisen(drucker.empfangenBis(1 << 30, 5)); }

    void toeten(QProcess &p)
    {
        ::kill(pid_t(p.processId()), SIGKILL);
        p.waitForFinished(5000);
        drucken();
    }

    // The state a start left behind; every fault is counted and named.
    int verluste(const QString &wann)
    {
        int fehler = 0;
        const auto melden = [&](const QString &was) {
            ++fehler;
            qWarning("%s: %s", qPrintable(wann), qPrintable(was));
        };

        // The protocol: whole lines only, added up per key and in money.
        Verkaufszahlen ausProtokoll{};
        int stornoZeilen = 0;
        Cent stornoSumme = 0;
        static const QRegularExpression zeile(
            uR"(^\d+ \d\d:\d\d:\d\d  (\d+) x Artikel (\d+)   (-?)(\d+,\d\d)( Storno)?$)"_qs);
        const QByteArray protokoll = ordner.lesen(u"protokoll.txt"_qs);
        if (!protokoll.isEmpty() && !protokoll.endsWith("\r\n"))
            melden(u"protokoll.txt endet mitten in einer Zeile"_qs);
        for (const QByteArray &roh : protokoll.split('\n')) {
            if (roh.isEmpty())
                continue;
            const auto m = zeile.match(QString::fromLatin1(roh.chopped(roh.endsWith('\r') ? 1 : 0)));
            if (!m.hasMatch()) {
                melden(u"Zeile im Protokoll: "_qs + QString::fromLatin1(roh));
                continue;
            }
            const Cent vorzeichen = m.captured(3).isEmpty() ? 1 : -1;
            if (vorzeichen < 0) {
                ++stornoZeilen;
                stornoSumme += *BetragLesen(m.captured(4));
            }
            ausProtokoll[m.captured(2).toInt()] += vorzeichen * m.captured(1).toInt() * 100;
            ausProtokoll[36] += vorzeichen * *BetragLesen(m.captured(4));
        }

        // The counts: a whole file of 36 numbers that match the protocol.
        if (ordner.gibt(u"verkauf.ini"_qs)) {
            const IniDatei ini = IniDatei::Laden(ordner.datei(u"verkauf.ini"_qs));
            for (int i = 1; i <= 36; ++i) {
                if (!BetragLesen(ini.lesen(u"verkauft"_qs, u"Taste%1"_qs.arg(i), 40)))
                    melden(u"verkauf.ini ohne Taste%1"_qs.arg(i));
            }
        }
        const Verkaufszahlen gezaehlt =
            VerkaufszahlenLesen(IniDatei::Laden(ordner.datei(u"verkauf.ini"_qs)));
        for (int i = 1; i <= 36; ++i) {
            if (gezaehlt[i] != ausProtokoll[i])
                melden(u"Taste%1: verkauf.ini %2, Protokoll %3"_qs.arg(i)
                           .arg(BetragFormat(gezaehlt[i]), BetragFormat(ausProtokoll[i])));
        }

        // Printed at most what was counted: a receipt printed twice shows.
        static const QRegularExpression gesamt(uR"(GESAMT\s+(\d+,\d\d) E)"_qs);
        for (const QString &bon : decoder.fertigeBons()) {
            const auto m = gesamt.match(bon);
            if (m.hasMatch())
                gedruckt += *BetragLesen(m.captured(1));
        }
        if (gedruckt > gezaehlt[36])
            melden(u"gedruckt %1, gezählt %2"_qs.arg(BetragFormat(gedruckt), BetragFormat(gezaehlt[36])));

        // Start-up finished the interrupted close and dropped the open rows.
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, u"pruefen"_qs);
            db.setDatabaseName(ordner.datei(u"daten.db"_qs));
            if (db.open()) {
                QSqlQuery q(db);
                if (q.exec(u"SELECT (SELECT COUNT(*) FROM Abschluss), (SELECT COUNT(*) FROM Bon)"_qs) && q.next()) {
                    if (q.value(0).toInt() != 0 || q.value(1).toInt() != 0)
                        melden(u"daten.db: %1 Abschlüsse, %2 Zeilen nach dem Start"_qs
                                   .arg(q.value(0).toInt()).arg(q.value(1).toInt()));
                }
                // The journal holds exactly the closes the files counted.
                Verkaufszahlen imJournal{};
                if (q.exec(u"SELECT taste, SUM(anzahl) FROM Belegzeile GROUP BY taste"_qs)) {
                    while (q.next())
                        imJournal[q.value(0).toInt()] = q.value(1).toLongLong() * 100;
                }
                if (q.exec(u"SELECT COALESCE(SUM(summe_cent), 0) FROM Beleg"_qs) && q.next())
                    imJournal[36] = q.value(0).toLongLong();
                for (int i = 1; i <= 36; ++i) {
                    if (imJournal[i] != gezaehlt[i])
                        melden(u"Taste%1: Journal %2, verkauf.ini %3"_qs.arg(i)
                                   .arg(BetragFormat(imJournal[i]), BetragFormat(gezaehlt[i])));
                }
                if (q.exec(u"SELECT COUNT(*), COALESCE(SUM(betrag_cent), 0) FROM Storno"_qs) && q.next()
                    && (q.value(0).toInt() != stornoZeilen || q.value(1).toLongLong() != stornoSumme))
                    melden(u"Storno: Journal %1 (%2), Protokoll %3 (%4)"_qs.arg(q.value(0).toInt())
                               .arg(BetragFormat(q.value(1).toLongLong())).arg(stornoZeilen)
                               .arg(BetragFormat(stornoSumme)));
            }
        }
        QSqlDatabase::removeDatabase(u"pruefen"_qs);
        return fehler;
    }

    Programmordner ordner;
    PseudoTerminal drucker;
    EscPosDecoder decoder;
    Cent gedruckt = 0;
};

void Berichten(int versuche, int verluste)
{
    const QByteArray zeilen =
        "crash_trials " + QByteArray::number(versuche) + "\ncrash_losses " + QByteArray::number(verluste) + "\n";
    std::fputs(zeilen.constData(), stdout);
    QFile datei(QDir(BuildOrdner()).filePath(u"stromausfall.txt"_qs));
    if (datei.open(QIODevice::Append))
        datei.write(zeilen);
}

} // namespace

class TestStromausfall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!QFile::exists(QDir(BuildOrdner()).filePath(u"zanti_dauerlauf"_qs)))
            QSKIP("zanti_dauerlauf is not built");
        QFile::remove(QDir(BuildOrdner()).filePath(u"stromausfall.txt"_qs));
    }

    // At every step of a close that puts something on disk.
    void beiJedemSchritt()
    {
        Versuchsfeld feld;
        int verluste = 0;
        int schritte = -1;
        int versuch = 1;
        for (; versuch <= 40 && schritte < 0; ++versuch) {
            QProcess p;
            QVERIFY2(feld.starten(p, versuch, {u"--schritt"_qs, QString::number(versuch)}),
                     qPrintable(p.readAllStandardError()));
            verluste += feld.verluste(u"vor Schritt %1"_qs.arg(versuch));
            p.write("weiter\n");
            QVERIFY(p.waitForFinished(10000));
            feld.drucken();
            const QByteArray aus = p.readAllStandardOutput();
            if (p.exitStatus() == QProcess::NormalExit) {
                QVERIFY2(aus.startsWith("schritte "), aus.constData());
                schritte = aus.mid(9).trimmed().toInt();
            }
        }
        QProcess p;
        QVERIFY(feld.starten(p, 0));
        verluste += feld.verluste(u"nach dem letzten Schritt"_qs);
        feld.toeten(p);
        // Two saves of the database and three files of four steps each.
        QVERIFY2(schritte >= 14, qPrintable(QString::number(schritte)));
        Berichten(versuch - 1, verluste);
        QCOMPARE(verluste, 0);
    }

    // At random instants of a running shift.
    void zufaellig()
    {
        const int versuche = qEnvironmentVariableIntValue("ZANTI_STROMAUSFALL_VERSUCHE") > 0
            ? qEnvironmentVariableIntValue("ZANTI_STROMAUSFALL_VERSUCHE")
            : 200;
        Versuchsfeld feld;
        QRandomGenerator zufall(20261208);
        int verluste = 0;
        for (int versuch = 1; versuch <= versuche; ++versuch) {
            QProcess p;
            QVERIFY2(feld.starten(p, versuch), qPrintable(p.readAllStandardError()));
            verluste += feld.verluste(u"Versuch %1"_qs.arg(versuch));
            p.write("weiter\n");
            const int ms = 10 + zufall.bounded(300);
            for (QElapsedTimer uhr; !uhr.isValid() || uhr.elapsed() < ms;) {
                if (!uhr.isValid())
                    uhr.start();
                feld.drucken();
            }
            feld.toeten(p);
        }
        QProcess p;
        QVERIFY(feld.starten(p, 0));
        verluste += feld.verluste(u"nach dem letzten Versuch"_qs);
        feld.toeten(p);
        QVERIFY2(feld.gedruckt > 0, "the shift sold nothing");
        Berichten(versuche, verluste);
        QCOMPARE(verluste, 0);
    }
};

QTEST_GUILESS_MAIN(TestStromausfall)
#include "test_stromausfall.moc"

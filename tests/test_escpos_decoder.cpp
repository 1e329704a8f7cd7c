// The ESC/POS decoder reads receipts back as text; the virtual printer runs
// it behind a pseudo-terminal.
#include "escpos/escpos_decoder.h"
#include "printing/berichte.h"
#include "printing/bon_layout.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUrl>
#include "support/testdaten.h"

#include <QTest>

#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <unistd.h>

using namespace zanti;
using namespace zanti::test;

namespace {


QByteArray Verbinden(const QList<QByteArray> &writes)
{
    QByteArray alles;
    for (const QByteArray &w : writes)
        alles += w;
    return alles;
}

QString Leer(int n)
{
    return QString(n, u' ');
}

const QString RULE = QString(42, u'_');

BonDruckDaten Daten()
{
    BonDruckDaten d;
    d.Kopfzeile = {QString(), QStringLiteral("Sportverein"), QStringLiteral("Sommerfest"),
                   QString(), QStringLiteral("Grüße")};
    d.zeit = QTime(14, 5, 9);
    d.datum = QDate(2026, 12, 7);
    d.Einstellung8 = QStringLiteral("1");
    return d;
}


QStringList Kopf()
{
    return {QString(), Leer(15) + "Sportverein", Leer(16) + "Sommerfest", QString(),
            Leer(18) + QStringLiteral("Grüße"), RULE};
}

QStringList Fuss()
{
    return {RULE, "14:05:09" + Leer(24) + "07.12.2026", QString(), QString(), QString(),
            QString()};
}

QByteArray GanzerBon()
{
    BonDruckDaten d = Daten();
    d.BonImageNr = 3;
    d.TischnummerAnzeige = true;
    d.Tischnummer = 5;
    d.BonSumme = 650;
    return Verbinden(BonAusgabe(d, {Zeile("2", "Cola", "4,00", 1, 17),
                                    Zeile("1", QStringLiteral("Bratwürste"), "2,50", 2, 18)}));
}

QString GanzerBonText()
{
    QStringList z{QStringLiteral("[Logo 3]")};
    z << Kopf();
    z << "17   TISCHNUMMER 5" << QString();
    z << "2 x Cola" + Leer(27) + "4,00 E";
    z << QStringLiteral("1 x Bratwürste") + Leer(21) + "2,50 E";
    z << QString() << "    GESAMT" + Leer(25) + "6,50 E";
    z << Fuss();
    return z.join(u'\n');
}

// The virtual printer's binary, or an empty text when it was not built.
QString DruckerProgramm()
{
    QStringList orte;
    const QString build = qEnvironmentVariable("ZANTI_BUILD_DIR");
    if (!build.isEmpty())
        orte << build;
    orte << QCoreApplication::applicationDirPath();
    for (const QString &ort : orte) {
        const QString pfad = QDir(ort).filePath(QStringLiteral("virtueller_drucker"));
        if (QFileInfo(pfad).isExecutable())
            return pfad;
    }
    return {};
}

bool AllesSchreiben(int fd, const QByteArray &bytes)
{
    qsizetype gesendet = 0;
    while (gesendet < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + gesendet, size_t(bytes.size() - gesendet));
        if (n <= 0)
            return false;
        gesendet += n;
    }
    return true;
}

QByteArray Lesen(int fd, int anzahl, int ms)
{
    QByteArray gelesen;
    QElapsedTimer uhr;
    uhr.start();
    while (gelesen.size() < anzahl && uhr.elapsed() < ms) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) > 0) {
            char puffer[64];
            const ssize_t n = ::read(fd, puffer, sizeof puffer);
            if (n > 0)
                gelesen.append(puffer, int(n));
        }
    }
    return gelesen;
}

} // namespace

class TestEscPosDecoder : public QObject
{
    Q_OBJECT

private slots:
    void ganzerBon();
    void stueckweise_data();
    void stueckweise();
    void einzelbonDoppelteBreite();
    void doppelteBreiteUngesperrt();
    void codepage437();
    void bericht();
    void impulseUndStatus();
    void unbekannteBytes();
    void tabulatorHinterDemStop();
    void initialisierenVerwirftZeile();
    void virtuellerDrucker();
    void virtuellerNetzdrucker();
};

void TestEscPosDecoder::ganzerBon()
{
    EscPosDecoder d;
    d.einspeisen(GanzerBon());
    QCOMPARE(d.anzahlFertigeBons(), 1);
    const QStringList bons = d.fertigeBons();
    QCOMPARE(bons.size(), 1);
    QCOMPARE(bons.first(), GanzerBonText());
    QCOMPARE(d.logos(), QList<int>{3});
    QCOMPARE(d.unbekannteBytes(), 0);
    QVERIFY(d.offenerBon().isEmpty());
    // Taken means gone.
    QVERIFY(d.fertigeBons().isEmpty());
}

void TestEscPosDecoder::stueckweise_data()
{
    QTest::addColumn<int>("stueck");
    QTest::newRow("byte by byte") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
    QTest::newRow("7") << 7;
}

void TestEscPosDecoder::stueckweise()
{
    QFETCH(int, stueck);
    // A pulse and a status request inside, so that 5- and 3-byte commands split.
    const QByteArray alles = Bytes({16, 20, 1, 0, 1}) + GanzerBon() + Bytes({29, 97, 15});
    const qsizetype schnittEnde = alles.size() - 3;
    EscPosDecoder d;
    for (qsizetype i = 0; i < alles.size(); i += stueck) {
        d.einspeisen(alles.mid(i, stueck));
        // Complete only once the last byte of the cut is in.
        QCOMPARE(d.anzahlFertigeBons(), i + stueck < schnittEnde ? 0 : 1);
    }
    QCOMPARE(d.fertigeBons(), QStringList{GanzerBonText()});
    QCOMPARE(d.schubladenImpulse(), 1);
    QCOMPARE(d.statusAnfragen(), 1);
    QCOMPARE(d.unbekannteBytes(), 0);
}

void TestEscPosDecoder::einzelbonDoppelteBreite()
{
    BonDruckDaten daten = Daten();
    daten.Einzelbon = true;
    EscPosDecoder d;
    d.einspeisen(Verbinden(BonAusgabe(daten, {Zeile("2", "Cola", "4,00", 1, 20),
                                              Zeile("1", "Salat", "4,50", 25, 21)})));
    const QStringList bons = d.fertigeBons();
    QCOMPARE(bons.size(), 3);

    QStringList cola = Kopf();
    cola << "20" << QString() << "2 x   C o l a" << Leer(30) + "4 , 0 0   E";
    cola << Fuss();
    QCOMPARE(bons.at(0), cola.join(u'\n'));

    QStringList coupon = Kopf();
    coupon << "21" << QString() << "1   x   S a l a t b o n   z u   2 1";
    coupon << Fuss();
    QCOMPARE(bons.at(2), coupon.join(u'\n'));
    QVERIFY(bons.at(1).contains(u"1 x   S a l a t"));
}

void TestEscPosDecoder::doppelteBreiteUngesperrt()
{
    EscPosDecoder d;
    d.setBreitGesperrt(false);
    d.einspeisen(Bytes({29, 33, 16}) + "2x Cola\n" + Bytes({27, 97, 50}) + "4,00 E\n"
                 + Bytes({27, 97, 48, 29, 33, 0}) + "x\n" + Bytes({29, 86, 49}));
    // Double width still counts two columns: 42 - 12 = 30 blanks in front.
    QCOMPARE(d.fertigeBons(), QStringList{"2x Cola\n" + Leer(30) + "4,00 E\nx"});
    QCOMPARE(EscPosDecoder::gesperrt(QStringLiteral("Cola")), QStringLiteral("C o l a "));
}

void TestEscPosDecoder::codepage437()
{
    EscPosDecoder d;
    d.einspeisen(Bytes({142, 153, 154, 132, 148, 129, 225}) + " ok" + Bytes({10}));
    QCOMPARE(d.offenerBon(), QStringLiteral("ÄÖÜäöüß ok"));
    QCOMPARE(EscPosDecoder::cp437(0x80), QChar(0x00C7));
    QCOMPARE(EscPosDecoder::cp437('A'), QChar(u'A'));
    QCOMPARE(d.anzahlFertigeBons(), 0);
}

void TestEscPosDecoder::bericht()
{
    BerichtDaten daten;
    daten.Verkauft[1] = 300;
    daten.Verkauft[36] = 600;
    daten.ArtikelText[1] = QStringLiteral("Käse");
    daten.zeit = QTime(18, 30, 5);
    daten.datum = QDate(2026, 7, 4);
    EscPosDecoder d;
    d.einspeisen(Verbinden(VerkaufsbelegDruck(daten)));
    const QStringList bons = d.fertigeBons();
    QCOMPARE(bons.size(), 1);
    const QStringList z = bons.first().split(u'\n');
    QCOMPARE(z.size(), 51);
    QCOMPARE(z.at(5), RULE);
    QCOMPARE(z.at(6), QString());
    QCOMPARE(z.at(7), QStringLiteral("    V E R K A U F S B E L E G"));
    QCOMPARE(z.at(8), QString());
    QCOMPARE(z.at(9), QStringLiteral("    3 x Käse"));
    QCOMPARE(z.at(10), QStringLiteral("    0 x"));
    QCOMPARE(z.at(44), QStringLiteral("    6,00 Euro Gesamteinnahmen"));
    // ESC d 5 prints the unfinished date line and feeds four more lines.
    QCOMPARE(z.mid(45), (QStringList{RULE, "18:30:05" + Leer(24) + "04.07.2026", QString(),
                                     QString(), QString(), QString()}));
}

void TestEscPosDecoder::impulseUndStatus()
{
    EscPosDecoder d;
    d.einspeisen(Bytes({16, 20, 1, 0, 1, 29, 97, 15, 27, 64, 16, 20, 1, 0}));
    QCOMPARE(d.schubladenImpulse(), 1);
    d.einspeisen(Bytes({1}));
    QCOMPARE(d.schubladenImpulse(), 2);
    QCOMPARE(d.statusAnfragen(), 1);
    QCOMPARE(d.letzteStatusGruppe(), 15);
    QCOMPARE(d.initialisierungen(), 1);
    QCOMPARE(d.unbekannteBytes(), 0);
    QCOMPARE(d.anzahlFertigeBons(), 0);
    QVERIFY(d.offenerBon().isEmpty());
}

void TestEscPosDecoder::unbekannteBytes()
{
    EscPosDecoder d;
    // BEL alone, ESC z, CR.
    d.einspeisen(Bytes({7}) + "a" + Bytes({27, 'z'}) + "b" + Bytes({13}) + "\n");
    QCOMPARE(d.unbekannteBytes(), 4);
    QCOMPARE(d.offenerBon(), QStringLiteral("ab"));
}

void TestEscPosDecoder::tabulatorHinterDemStop()
{
    EscPosDecoder d;
    d.einspeisen(Bytes({27, 68, 35, 0}) + QByteArray(36, 'x') + "\t1,00\n");
    QCOMPARE(d.offenerBon(), QString(36, u'x') + "1,00");
}

void TestEscPosDecoder::initialisierenVerwirftZeile()
{
    EscPosDecoder d;
    d.einspeisen(Bytes({27, 97, 50}) + "weg" + Bytes({27, 64}) + "a\tb\n");
    // Alignment back to left, tab stops every 8 columns.
    QCOMPARE(d.offenerBon(), QStringLiteral("a       b"));
}

void TestEscPosDecoder::virtuellerDrucker()
{
    const QString programm = DruckerProgramm();
    if (programm.isEmpty())
        QSKIP("virtueller_drucker is not built");
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    const QString link = ordner.filePath(QStringLiteral("drucker"));

    QProcess drucker;
    drucker.start(programm, {QStringLiteral("--ausgabe"), ordner.path(), QStringLiteral("--link"),
                             link});
    QVERIFY(drucker.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(drucker.canReadLine(), 5000);
    const QString geraet = QString::fromLocal8Bit(drucker.readLine()).trimmed();
    QVERIFY2(geraet.startsWith(QStringLiteral("/dev/")), qPrintable(geraet));
    QCOMPARE(QFileInfo(link).symLinkTarget(), geraet);

    // A register comes, prints, asks for the status and goes.
    int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QVERIFY(AllesSchreiben(fd, Bytes({16, 20, 1, 0, 1}) + GanzerBon()));
    QVERIFY(AllesSchreiben(fd, Bytes({29, 97, 15})));
    QCOMPARE(Lesen(fd, 4, 5000), Bytes({20, 0, 0, 0}));
    ::close(fd);

    const QString bon1 = ordner.filePath(QStringLiteral("bon-0001.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(bon1), 5000);
    QFile datei(bon1);
    QTRY_COMPARE_WITH_TIMEOUT(QFileInfo(bon1).size(), qint64(GanzerBonText().toUtf8().size() + 1),
                              5000);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(datei.readAll()), GanzerBonText() + "\n");

    // The device outlives the register: a second one prints the next receipt.
    fd = ::open(QFile::encodeName(geraet).constData(), O_RDWR | O_NOCTTY);
    QVERIFY(fd >= 0);
    QVERIFY(AllesSchreiben(fd, "zweiter\n" + Bytes({29, 86, 49})));
    ::close(fd);
    const QString bon2 = ordner.filePath(QStringLiteral("bon-0002.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(bon2).size() > 0, 5000);

    QByteArray ausgabe;
    QTRY_VERIFY_WITH_TIMEOUT((ausgabe += drucker.readAllStandardOutput()).contains("Schublade"),
                             5000);

    drucker.terminate();
    QVERIFY(drucker.waitForFinished(5000));
    QCOMPARE(drucker.exitStatus(), QProcess::NormalExit);
    QCOMPARE(drucker.exitCode(), 0);
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestEscPosDecoder::virtuellerNetzdrucker()
{
    const QString programm = DruckerProgramm();
    if (programm.isEmpty())
        QSKIP("virtueller_drucker is not built");
    QTemporaryDir ordner;
    QVERIFY(ordner.isValid());
    QProcess drucker;
    drucker.start(programm, {u"--ausgabe"_qs, ordner.path(), u"--tcp"_qs, u"0"_qs});
    QVERIFY(drucker.waitForStarted(5000));
    QTRY_VERIFY_WITH_TIMEOUT(drucker.canReadLine(), 5000);
    const QString adresse = QString::fromLocal8Bit(drucker.readLine()).trimmed();
    const QUrl url(adresse);
    QVERIFY2(url.scheme() == u"tcp"_qs && url.host() == u"127.0.0.1"_qs && url.port() > 0,
             qPrintable(adresse));

    // A register connects, prints, asks for the status; then it reconnects
    // (F2) and prints the next receipt on the new connection.
    QTcpSocket kasse;
    kasse.connectToHost(url.host(), quint16(url.port()));
    QVERIFY(kasse.waitForConnected(5000));
    kasse.write(Bytes({16, 20, 1, 0, 1}) + GanzerBon() + Bytes({29, 97, 15}));
    QByteArray status;
    QTRY_VERIFY_WITH_TIMEOUT((status += kasse.readAll()).size() >= 4, 5000);
    QCOMPARE(status, Bytes({20, 0, 0, 0}));
    kasse.abort();
    QTcpSocket wieder;
    wieder.connectToHost(url.host(), quint16(url.port()));
    QVERIFY(wieder.waitForConnected(5000));
    wieder.write("zweiter\n" + Bytes({29, 86, 49}));

    const QString bon1 = ordner.filePath(u"bon-0001.txt"_qs);
    const QString bon2 = ordner.filePath(u"bon-0002.txt"_qs);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(bon2).size() > 0, 5000);
    QFile datei(bon1);
    QVERIFY(datei.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(datei.readAll()), GanzerBonText() + "\n");

    drucker.terminate();
    QVERIFY(drucker.waitForFinished(5000));
    QCOMPARE(drucker.exitStatus(), QProcess::NormalExit);
    QCOMPARE(drucker.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestEscPosDecoder)
#include "test_escpos_decoder.moc"

#include "vorlage.h"

#include "support/testdaten.h"
#include "support/testjournal.h"

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include <QTime>

namespace zanti::bench {

namespace {

// The files are written here line by line, as the register keeps them, so
// the benchmark does not hang on the register's own file code.

const char *const kArtikel[35] = {
    "Bier 0,3l", "Bier 0,5l", "Radler", "Weizen", "Cola", "Fanta", "Spezi", "Wasser",
    "Apfelschorle", "Orangensaft", "Rotwein", "Weißwein", "Sekt", "Kaffee", "Tee",
    "Kakao", "Bratwurst", "Currywurst", "Pommes", "Schnitzel", "Brezel", "Steak",
    "Käsebrot", "Kuchen", "Salat", "Waffel", "Eis", "Nachos", "Popcorn", "Schnaps",
    "Likör", "Glühwein", "Pfand", "Losnummer", "Spende"};

qint64 Preis(int taste)
{
    return 150 + (taste * 37 % 12) * 50; // 1,50 .. 7,00
}

QString Betrag(qint64 cent)
{
    return QString::number(cent / 100) + u',' + QString::number(cent % 100).rightJustified(2, u'0');
}

// The numbers of verkauf.ini: hundredths without trailing zeros ("23456,5").
QString Zahl(qint64 hundertstel)
{
    QString text = Betrag(hundertstel);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u','))
        text.chop(1);
    return text;
}

} // namespace

Vorlage::Vorlage(int protokollZeilen, int journalBelege)
{
    if (journalBelege > 0) {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(u"daten.db"_qs);
        {
            test::TestJournal journal(pfad, QSysInfo::machineHostName());
            journal.viele(journalBelege, test::LokalZeit(u"2026-05-01 10:00:00"_qs, 7200));
        }
        QFile datei(pfad);
        if (datei.open(QIODevice::ReadOnly))
            datenbank = datei.readAll();
    }

    QStringList zeilen{u"[Artikel]"_qs};
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Getraenke%1=%2"_qs.arg(i).arg(QString::fromUtf8(kArtikel[i - 1]));
    zeilen << u"[Preise]"_qs;
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Preis%1=%2"_qs.arg(i).arg(Betrag(Preis(i)));
    zeilen << u"[Farben]"_qs;
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Farbe%1=%2"_qs.arg(i).arg(i % 2 ? 8454143 : 16777088);
    kasse = test::Zeilen(zeilen);

    zeilen = QStringList{u"[verkauft]"_qs};
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Taste%1=%2"_qs.arg(i).arg(Zahl((1000 / i) * 100));
    zeilen << u"Taste36="_qs + Zahl(2345650); // takings
    verkauf = test::Zeilen(zeilen);

    bonkopf = test::Zeilen({u"[kopf]"_qs, u"Titel1=Sportverein Musterdorf e.V."_qs,
                            u"Titel2=Sommerfest 2026"_qs, u"Titel3=Festwiese am Sportplatz"_qs,
                            u"Titel4=Vielen Dank!"_qs});

    // Newest line first, as the register keeps it.
    zeilen.clear();
    zeilen.reserve(protokollZeilen);
    for (int nr = protokollZeilen - 1; nr >= 0; --nr) {
        const int taste = 1 + nr % 35;
        const int menge = 1 + nr % 3;
        zeilen << u"%1 %2  %3 x %4   %5"_qs.arg(nr)
                      .arg(QTime(10, 0).addSecs(nr % 36000).toString(u"hh:mm:ss"_qs))
                      .arg(menge)
                      .arg(QString::fromUtf8(kArtikel[taste - 1]), Betrag(menge * Preis(taste)));
    }
    protokoll = test::Zeilen(zeilen);
}

QByteArray Vorlage::Einstellungsdatei(bool drucker)
{
    return test::Zeilen({u"[Status]"_qs, drucker ? u"Einstellung1=1"_qs : u"Einstellung1=0"_qs,
                         u"Einstellung2=0"_qs, u"Einstellung3=0"_qs, u"Einstellung4=geheim"_qs,
                         u"Einstellung5=0"_qs, u"Einstellung6=1"_qs, u"Einstellung7=1"_qs,
                         u"Einstellung8=0"_qs, u"Einstellung9=0"_qs});
}

void Vorlage::anlegen(const test::Programmordner &ordner, bool drucker) const
{
    ordner.schreiben(u"kasse.ini"_qs, kasse);
    ordner.schreiben(u"verkauf.ini"_qs, verkauf);
    ordner.schreiben(u"bonkopf.ini"_qs, bonkopf);
    ordner.schreiben(u"protokoll.txt"_qs, protokoll);
    ordner.schreiben(u"Einstellungen.ini"_qs, Einstellungsdatei(drucker));
    if (!datenbank.isEmpty())
        ordner.schreiben(u"daten.db"_qs, datenbank);
}

} // namespace zanti::bench

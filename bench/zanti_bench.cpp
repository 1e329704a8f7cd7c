// The benchmark behind "make bench": what an operator waits for at the
// register, measured through the real window. One line per figure on stdout
// ("name value", milliseconds, MiB or a ratio); everything else goes to
// stderr. The ratios set the register against the floor program (boden/),
// which does the same visible work with nothing else; start-up and peak
// memory are taken from new processes of both (messpunkt.cpp).
//
//   zanti_bench [--kurz] [figure ...]
//
// Figures named on the command line run alone; --kurz repeats less, for runs
// under a profiler.
#include "abrechnung_messen.h"
#include "grosse_veranstaltung.h"
#include "boden/boden_fenster.h"
#include "messen.h"
#include "prozess.h"
#include "register.h"
#include "veranstaltung_messen.h"
#include "vorlage.h"

#include "support/kassen_fixture.h"
#include "support/pseudo_terminal.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QFileInfo>
#include <QTest>

#include <cstdio>
#include <limits>
#include <optional>

using namespace zanti;
using namespace zanti::bench;
using zanti::test::KassenFixture;
using zanti::test::PseudoTerminal;

namespace {

constexpr int kGrossesProtokoll = 32000;
constexpr int kSaisonProtokoll = 320000; // a season of a busy stand, never cleared
constexpr int kKleinesProtokoll = 1000;
constexpr int kBonZeilen = 20;
constexpr int kBons = 20; // receipts before the peak memory is read
constexpr int kJournalBelege = 100000;

bool g_kurz = false;

// The offscreen platform says this for every window shown; noise here.
QtMessageHandler g_nachrichten = nullptr;
void NachrichtFiltern(QtMsgType typ, const QMessageLogContext &kontext, const QString &text)
{
    if (text != u"This plugin does not support propagateSizeHints()")
        g_nachrichten(typ, kontext, text);
}

int Runden(int voll, int kurz)
{
    return g_kurz ? kurz : voll;
}

void SpaetBerichten(const char *name)
{
    const QString spaet = SpaeteMalungen();
    if (!spaet.isEmpty())
        std::fprintf(stderr, "# %s: painted after the measurement: %s\n", name, qPrintable(spaet));
}

// ----------------------------------------------------------------- figures

double StartMessen(const Vorlage &vorlage)
{
    Reihe zeiten;
    Reihe ruhig; // until the window stops repainting by itself
    QSet<QString> ersterFrame;
    const int runden = Runden(9, 3);
    for (int i = 0; i < runden; ++i) {
        KassenFixture f; // a fresh folder each time
        vorlage.anlegen(f.ordner, false);
        const int vorher = Malungen();
        MalungenAufzeichnen(i == 0 ? &ersterFrame : nullptr);
        const Uhr uhr;
        f.starten();
        // The frame is complete when the event that painted it is done.
        while (Malungen() == vorher && uhr.stand().wand < 10000)
            QCoreApplication::processEvents();
        zeiten << uhr.stand();
        MalungenAufzeichnen(nullptr);
        if (Malungen() == vorher)
            std::fprintf(stderr, "# warning: no frame within 10 s\n");
        if (i == 0) {
            // The first start in the process also loads fonts, style and the
            // database driver, as a real program start does.
            std::fprintf(stderr, "# startup_ms: first (cold) start %.2f ms; its frame paints %s\n",
                         uhr.stand().wand, qPrintable(Namen(ersterFrame)));
        }
        ruhig << Nacharbeit(uhr);
        if (f.rekorder.meldungen.size() != 1) // "Schnittstelle an COM 1 ..."
            std::fprintf(stderr, "# warning: %lld messages at start-up\n",
                         static_cast<long long>(f.rekorder.meldungen.size()));
    }
    ruhig.bericht("startup, window settled");
    zeiten.bericht("startup_ms");
    return zeiten.median();
}

// Presses on one register; every 20th press the receipt is closed, outside
// the measurement.
struct Buchungsreihe
{
    const char *name;
    Register r;
    Reihe zeiten;
    int gemalt = 0; // presses that repainted within their measurement

    Buchungsreihe(const char *n, const Vorlage &vorlage) : name(n), r(vorlage, false) {}
    void druecken(int nr)
    {
        const int vorher = Malungen();
        zeiten << r.artikel();
        gemalt += Malungen() != vorher;
        if (nr % kBonZeilen == 0) {
            r.bonzeilenPruefen(kBonZeilen, name);
            r.istgleich();
        }
    }
    double median()
    {
        std::fprintf(stderr, "# %s: %d of %lld presses repainted within the measurement\n",
                     name, gemalt, static_cast<long long>(zeiten.anzahl()));
        zeiten.bericht(name);
        return zeiten.median();
    }
};

// The medians with the large and the small protocol. Both registers are
// pressed in turn, so whatever else runs on the machine weighs on both alike.
std::pair<double, double> BuchungMessen(const Vorlage &gross, const Vorlage &klein)
{
    Buchungsreihe reihen[] = {{"booking_ms", gross}, {"booking_ms (1,000 lines)", klein}};
    Beruhigen();
    // Warm-up: one whole receipt each; one of its presses shows what a press
    // repaints.
    for (Buchungsreihe &reihe : reihen) {
        QSet<QString> gemalt;
        for (int i = 1; i <= kBonZeilen; ++i) {
            MalungenAufzeichnen(i == kBonZeilen - 1 ? &gemalt : nullptr);
            reihe.druecken(i);
        }
        MalungenAufzeichnen(nullptr);
        std::fprintf(stderr, "# %s: a press repaints %s\n", reihe.name, qPrintable(Namen(gemalt)));
        reihe.zeiten.leeren();
        reihe.gemalt = 0;
    }
    const int druecke = Runden(200, 40);
    for (int i = 1; i <= druecke; ++i) {
        for (Buchungsreihe &reihe : reihen)
            reihe.druecken(i);
    }
    SpaetBerichten("booking_ms");
    const double mitGrossem = reihen[0].median();
    return {mitGrossem, reihen[1].median()};
}

double AbschlussMessen(const Vorlage &vorlage, const char *name = "close_ms")
{
    Register r(vorlage, false);
    Reihe zeiten;
    const int runden = Runden(17, 3);
    for (int i = 0; i < runden; ++i) {
        for (int k = 0; k < kBonZeilen; ++k)
            r.artikel();
        r.bonzeilenPruefen(kBonZeilen, name);
        zeiten << r.istgleich();
        r.bonzeilenPruefen(0, name);
    }
    const qsizetype gespeichert = r.f.ordner.lesen(u"protokoll.txt"_qs).count('\n');
    if (gespeichert != kGrossesProtokoll + runden * kBonZeilen)
        std::fprintf(stderr, "# warning: protokoll.txt has %lld lines\n",
                     static_cast<long long>(gespeichert));
    SpaetBerichten(name);
    zeiten.bericht(name);
    return zeiten.median();
}

double BereitMessen(const Vorlage &vorlage)
{
    PseudoTerminal drucker;
    if (!drucker.offen()) {
        std::fprintf(stderr, "# no pseudo-terminal: close_to_ready_ms not measured\n");
        return 0;
    }
    Register r(vorlage, true, drucker.geraet());
    // A printer that came on was sent its opening sequence.
    if (drucker.empfangen(300).isEmpty() || !r.f.rekorder.meldungen.isEmpty())
        std::fprintf(stderr, "# warning: the printer did not come on (%s)\n",
                     qPrintable(r.f.rekorder.texte().join(u"; ")));

    Reihe zeiten;
    QList<double> bytes;
    const int runden = Runden(17, 3);
    // Right after "=" an article key must book again: that press is the first
    // line of the next receipt.
    r.artikel();
    for (int i = 0; i < runden; ++i) {
        for (int k = 1; k < kBonZeilen; ++k)
            r.artikel();
        r.bonzeilenPruefen(kBonZeilen, "close_to_ready_ms");
        zeiten << r.istgleich();
        r.artikel();
        r.bonzeilenPruefen(1, "close_to_ready_ms");
        // Drained between receipts, so the line never backs up.
        const QByteArray bon = drucker.empfangen(500);
        bytes << double(bon.size());
        if (!bon.contains("GESAMT"))
            std::fprintf(stderr, "# warning: receipt %d did not reach the printer whole\n", i + 1);
    }
    SpaetBerichten("close_to_ready_ms");
    zeiten.bericht("close_to_ready_ms");
    std::fprintf(stderr, "# close_to_ready_ms: median %.0f bytes per receipt reached the printer\n",
                 Median(bytes));
    return zeiten.median();
}

// A program folder for a program of the benchmark in a process of its own:
// the files of the template, the printer on the pseudo-terminal, and the
// executable itself, since the register finds its folder from its own path.
struct Kindordner
{
    test::Programmordner ordner;
    QString programm;
    QString fenster;

    Kindordner(const Vorlage &vorlage, const PseudoTerminal &drucker, const char *name,
               const char *fensterName)
        : fenster(QString::fromLatin1(fensterName))
    {
        vorlage.anlegen(ordner, true);
        ordner.schreibenZeilen(u"schnittstellen.ini"_qs, {u"[COM]"_qs, u"COM1="_qs + drucker.geraet()});
        programm = ordner.datei(QString::fromLatin1(name));
        const QString quelle = QCoreApplication::applicationDirPath() + u'/' + QString::fromLatin1(name);
        if (!ProgrammAblegen(quelle, programm))
            std::fprintf(stderr, "# warning: cannot place %s\n", qPrintable(quelle));
    }
    // What the program reported; the printer's bytes are drained meanwhile.
    Kindbericht ausfuehren(PseudoTerminal &drucker, int bons = 0) const
    {
        QStringList umgebung{u"ZANTI_MESSEN_FENSTER="_qs + fenster};
        if (bons > 0)
            umgebung << u"ZANTI_MESSEN_BONS="_qs + QString::number(bons);
        const QString fehler = ordner.datei(u"stderr.txt"_qs);
        const Kindbericht bericht = KindAusfuehren(programm, umgebung, fehler, 120000, [&drucker] {
            drucker.empfangenBis(std::numeric_limits<qsizetype>::max(), 0);
        });
        const QByteArray ausgabe = ordner.lesen(u"stderr.txt"_qs);
        if (!bericht.beendet)
            std::fprintf(stderr, "# warning: %s ended abnormally; its stderr:\n%s\n",
                         qPrintable(programm), ausgabe.right(2000).constData());
        else if (ausgabe.contains("# warning"))
            std::fprintf(stderr, "%s", ausgabe.constData());
        return bericht;
    }
    // From exec to the first frame; beside it the CPU time the process took.
    std::optional<Messwert> ersterFrame(PseudoTerminal &drucker) const
    {
        const Kindbericht bericht = ausfuehren(drucker);
        if (!bericht.werte.contains(u"erster_frame"_qs))
            return std::nullopt;
        return Messwert{double(bericht.werte.value(u"erster_frame"_qs) - bericht.startNs) / 1e6,
                        double(bericht.werte.value(u"erster_frame_cpu"_qs)) / 1e6};
    }
};

// From exec to the first frame, register against floor, in new processes
// taking turns (which goes first alternates).
double KaltstartMessen(const char *name, const Vorlage &vorlage, PseudoTerminal &drucker)
{
    const Kindordner kasse(vorlage, drucker, "zanti_kassenstart", "Kasse");
    const Kindordner boden(vorlage, drucker, "zanti_boden", "Boden");
    // The first start of each lays out daten.db and reads the executable
    // and the folder's files into the page cache; it is not counted.
    kasse.ersterFrame(drucker);
    boden.ersterFrame(drucker);
    Reihe kasseZeiten, bodenZeiten;
    // A start takes some 25 ms, and on a shared machine a few of them are
    // held up by others; enough of them keep the median steady.
    const int runden = Runden(31, 2);
    for (int i = 0; i < runden; ++i) {
        for (int k = 0; k < 2; ++k) {
            const bool kasseDran = (i + k) % 2 == 0;
            if (const std::optional<Messwert> wert = (kasseDran ? kasse : boden).ersterFrame(drucker))
                (kasseDran ? kasseZeiten : bodenZeiten) << *wert;
        }
    }
    kasseZeiten.bericht(qPrintable(QString::fromLatin1(name) + u", register"_qs));
    bodenZeiten.bericht(qPrintable(QString::fromLatin1(name) + u", floor"_qs));
    return bodenZeiten.median() > 0 ? kasseZeiten.median() / bodenZeiten.median() : 0;
}

// VmHWM of a new process with the season's protocol, after it settled,
// closed kBons receipts and settled again; in MiB.
double SpitzeMessen(const Vorlage &saison, PseudoTerminal &drucker, const char *programm,
                    const char *fenster)
{
    const Kindordner kind(saison, drucker, programm, fenster);
    const Kindbericht bericht = kind.ausfuehren(drucker, kBons);
    const qsizetype zeilen = kind.ordner.lesen(u"protokoll.txt"_qs).count('\n');
    if (zeilen != kSaisonProtokoll + kBons * kBonZeilen)
        std::fprintf(stderr, "# warning: %s left %lld protocol lines\n", programm,
                     static_cast<long long>(zeilen));
    const double mib = double(bericht.werte.value(u"vmhwm_kb"_qs, 0)) / 1024;
    std::fprintf(stderr, "# peak_rss_320k_mb: %s %.1f MiB after %d receipts\n", programm, mib, kBons);
    return mib;
}

// Receipts of kBonZeilen lines closed at the register and at the floor in
// turn; the ratio of the medians of the clicks on "=".
double AbschlussVerhaeltnisMessen(const Vorlage &vorlage)
{
    Register r(vorlage, false);
    test::Programmordner bodenOrdner;
    vorlage.anlegen(bodenOrdner, false);
    BodenFenster boden(bodenOrdner.pfad());
    boden.showMaximized();
    if (!QTest::qWaitForWindowExposed(&boden))
        std::fprintf(stderr, "# warning: the floor window was never exposed\n");
    const auto bodenTaste = [&boden](const QString &name) {
        auto *knopf = boden.findChild<QAbstractButton *>(name);
        if (!knopf)
            qFatal("the floor has no key %s", qPrintable(name));
        return knopf;
    };
    Beruhigen();

    Reihe kasse, bodenZeiten;
    const int runden = Runden(25, 3);
    for (int i = 0; i < runden; ++i) {
        for (int k = 0; k < kBonZeilen; ++k)
            r.artikel();
        r.bonzeilenPruefen(kBonZeilen, "close_ratio_320k");
        kasse << r.istgleich();
        r.bonzeilenPruefen(0, "close_ratio_320k");
        for (int k = 1; k <= kBonZeilen; ++k)
            Klick(bodenTaste(u"Command"_qs + QString::number(k)));
        bodenZeiten << Klick(bodenTaste(u"IstgleichTaste"_qs));
    }
    SpaetBerichten("close_ratio_320k");
    kasse.bericht("close_ratio_320k, register");
    bodenZeiten.bericht("close_ratio_320k, floor");
    std::fprintf(stderr, "# close_ratio_320k: protokoll.txt now %lld bytes at the register, %lld at the floor\n",
                 static_cast<long long>(QFileInfo(r.f.ordner.datei(u"protokoll.txt"_qs)).size()),
                 static_cast<long long>(QFileInfo(bodenOrdner.datei(u"protokoll.txt"_qs)).size()));
    return bodenZeiten.median() > 0 ? kasse.median() / bodenZeiten.median() : 0;
}

void Ausgeben(const char *name, double wert)
{
    std::printf("%s %.2f\n", name, wert);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_nachrichten = qInstallMessageHandler(NachrichtFiltern);
    QApplication app(argc, argv);
    QStringList gewaehlt = app.arguments().mid(1);
    g_kurz = gewaehlt.removeAll(u"--kurz"_qs) > 0;
    const auto laeuft = [&](const char *name) {
        return gewaehlt.isEmpty() || gewaehlt.contains(QString::fromLatin1(name));
    };
    MalungenZaehlen();

    const Uhr gesamt;
    const Vorlage leer(0);
    const Vorlage klein(kKleinesProtokoll);
    const Vorlage gross(kGrossesProtokoll);
    const Vorlage saison(kSaisonProtokoll);
    // The same register after a season of receipts in its journal.
    const bool journalLaeuft = laeuft("startup_cold_ratio_journal_100k") || laeuft("journal_close_ms_100k");
    const Vorlage journal(kGrossesProtokoll, journalLaeuft ? kJournalBelege : 0);
    std::fprintf(stderr, "# templates laid out after %.1f s\n", gesamt.stand().wand / 1000);

    // New processes first, while this one is still small.
    PseudoTerminal drucker;
    if (!drucker.offen())
        std::fprintf(stderr, "# warning: no pseudo-terminal for the printer\n");
    for (auto [name, vorlage] : {std::pair{"startup_cold_ratio_0", &leer},
                                 std::pair{"startup_cold_ratio_32k", &gross},
                                 std::pair{"startup_cold_ratio_320k", &saison},
                                 std::pair{"startup_cold_ratio_journal_100k", &journal}}) {
        if (laeuft(name))
            Ausgeben(name, KaltstartMessen(name, *vorlage, drucker));
    }
    if (laeuft("peak_rss_320k_mb")) {
        const double kasse = SpitzeMessen(saison, drucker, "zanti_kassenstart", "Kasse");
        SpitzeMessen(saison, drucker, "zanti_boden", "Boden");
        Ausgeben("peak_rss_320k_mb", kasse);
    }

    if (laeuft("startup_ms"))
        Ausgeben("startup_ms", StartMessen(gross));
    if (laeuft("booking_ms") || laeuft("booking_growth")) {
        const auto [mitGrossem, mitKleinem] = BuchungMessen(saison, klein);
        if (laeuft("booking_ms"))
            Ausgeben("booking_ms", mitGrossem);
        if (laeuft("booking_growth"))
            Ausgeben("booking_growth", mitKleinem > 0 ? mitGrossem / mitKleinem : 0);
    }
    double schliessen = 0;
    if (laeuft("close_ms"))
        Ausgeben("close_ms", schliessen = AbschlussMessen(gross));
    if (laeuft("journal_close_ms_100k")) {
        const double mitJournal = AbschlussMessen(journal, "journal_close_ms_100k");
        Ausgeben("journal_close_ms_100k", mitJournal);
        if (schliessen > 0)
            Ausgeben("journal_close_ratio_100k", mitJournal / schliessen);
    }
    if (laeuft("close_to_ready_ms"))
        Ausgeben("close_to_ready_ms", BereitMessen(gross));
    if (laeuft("close_ratio_320k"))
        Ausgeben("close_ratio_320k", AbschlussVerhaeltnisMessen(saison));

    if (laeuft("statement_ms_100k"))
        Ausgeben("statement_ms_100k", AbrechnungMessen100k());
    VeranstaltungMessen(gross, laeuft, Ausgeben);
    if (laeuft("statement_ms_1m_event") || laeuft("event_report_ms_1m")) {
        GrosseVeranstaltung veranstaltung;
        if (veranstaltung.anlegen()) {
            if (laeuft("statement_ms_1m_event"))
                if (const std::optional<double> ms = VeranstaltungMessen1m(veranstaltung))
                    Ausgeben("statement_ms_1m_event", *ms);
            if (laeuft("event_report_ms_1m"))
                VeranstaltungsberichtMessen(veranstaltung, Ausgeben);
        }
    }

    std::fprintf(stderr, "# whole run: %.1f s\n", gesamt.stand().wand / 1000);
    return 0;
}

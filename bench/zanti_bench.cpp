// The benchmark behind "make bench": what an operator waits for at the
// register, measured through the real window. One line per figure on stdout
// ("name value", milliseconds or a ratio); everything else goes to stderr.
//
//   zanti_bench [--kurz] [figure ...]
//
// Figures named on the command line run alone; --kurz repeats less, for runs
// under a profiler.
#include "messen.h"
#include "vorlage.h"

#include "persistence/bon_tabelle.h"
#include "support/kassen_fixture.h"
#include "support/pseudo_terminal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <cstdio>

using namespace zanti;
using namespace zanti::bench;
using zanti::test::KassenFixture;
using zanti::test::PseudoTerminal;

namespace {

constexpr int kGrossesProtokoll = 32000;
constexpr int kKleinesProtokoll = 1000;
constexpr int kBonZeilen = 20;

bool g_kurz = false;

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

// A started register whose article keys are pressed in turn, so the display
// changes with every press.
struct Register
{
    KassenFixture f;
    int taste = 0;

    Register(const Vorlage &vorlage, bool drucker, const QString &druckerGeraet = {})
    {
        vorlage.anlegen(f.ordner, drucker);
        if (!druckerGeraet.isEmpty())
            f.ordner.schreibenZeilen(u"schnittstellen.ini"_qs,
                                     {u"[COM]"_qs, u"COM1="_qs + druckerGeraet});
        f.starten();
        if (!QTest::qWaitForWindowExposed(&f.kasse()))
            std::fprintf(stderr, "# warning: the register window was never exposed\n");
    }
    Messwert artikel()
    {
        taste = taste % 35 + 1;
        return Klick(f.finden<QAbstractButton>(u"Command"_qs + QString::number(taste)));
    }
    Messwert istgleich() { return Klick(f.finden<QAbstractButton>(u"IstgleichTaste"_qs)); }
    void bonzeilenPruefen(int erwartet, const char *wo)
    {
        if (f.kasse().bonTabelle().anzahl() != erwartet)
            std::fprintf(stderr, "# warning (%s): %d receipt lines, expected %d\n", wo,
                         f.kasse().bonTabelle().anzahl(), erwartet);
    }
};

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
    QTest::qWait(100);
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

double AbschlussMessen(const Vorlage &vorlage)
{
    Register r(vorlage, false);
    Reihe zeiten;
    const int runden = Runden(17, 3);
    for (int i = 0; i < runden; ++i) {
        for (int k = 0; k < kBonZeilen; ++k)
            r.artikel();
        r.bonzeilenPruefen(kBonZeilen, "close_ms");
        zeiten << r.istgleich();
        r.bonzeilenPruefen(0, "close_ms");
    }
    const qsizetype gespeichert = r.f.ordner.lesen(u"protokoll.txt"_qs).count('\n');
    if (gespeichert != kGrossesProtokoll + runden * kBonZeilen)
        std::fprintf(stderr, "# warning: protokoll.txt has %lld lines\n",
                     static_cast<long long>(gespeichert));
    SpaetBerichten("close_ms");
    zeiten.bericht("close_ms");
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
    if (r.f.kasse().zustand().DruckerEin != 1 || !r.f.rekorder.meldungen.isEmpty())
        std::fprintf(stderr, "# warning: the printer did not come on (%s)\n",
                     qPrintable(r.f.rekorder.texte().join(u"; ")));
    drucker.empfangen(300); // what the start sent

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
    QApplication app(argc, argv);
    QStringList gewaehlt = app.arguments().mid(1);
    g_kurz = gewaehlt.removeAll(u"--kurz"_qs) > 0;
    const auto laeuft = [&](const char *name) {
        return gewaehlt.isEmpty() || gewaehlt.contains(QString::fromLatin1(name));
    };
    MalungenZaehlen();

    const Uhr gesamt;
    const Vorlage gross(kGrossesProtokoll);
    const Vorlage klein(kKleinesProtokoll);

    if (laeuft("startup_ms"))
        Ausgeben("startup_ms", StartMessen(gross));
    if (laeuft("booking_ms") || laeuft("booking_growth")) {
        const auto [mitGrossem, mitKleinem] = BuchungMessen(gross, klein);
        if (laeuft("booking_ms"))
            Ausgeben("booking_ms", mitGrossem);
        if (laeuft("booking_growth"))
            Ausgeben("booking_growth", mitKleinem > 0 ? mitGrossem / mitKleinem : 0);
    }
    if (laeuft("close_ms"))
        Ausgeben("close_ms", AbschlussMessen(gross));
    if (laeuft("close_to_ready_ms"))
        Ausgeben("close_to_ready_ms", BereitMessen(gross));

    std::fprintf(stderr, "# whole run: %.1f s\n", gesamt.stand().wand / 1000);
    return 0;
}

#include "abrechnung_messen.h"

#include "grosse_veranstaltung.h"
#include "messen.h"

#include "abrechnung/abrechnung_csv.h"
#include "abrechnung/abrechnung_pdf.h"
#include "abrechnung/abrechnung_quelle.h"
#include "support/testjournal.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace zanti::bench {

namespace {

constexpr int kRunden = 5;

// One whole statement: figures from the source, then both files' bytes.
template <typename Quelle>
double Messen(const char *name, Quelle quelle)
{
    Reihe zeiten, zahlen, pdf;
    for (int i = 0; i < kRunden; ++i) {
        const Uhr uhr;
        QString fehler;
        const std::optional<Abrechnung> a = quelle(fehler);
        if (!a) {
            std::fprintf(stderr, "# %s: %s\n", name, qPrintable(fehler));
            return 0;
        }
        zahlen << uhr.stand();
        const QByteArray csv = AbrechnungCsv(*a);
        const Uhr pdfUhr;
        const QByteArray datei = AbrechnungPdf(*a, QDateTime::currentDateTime());
        pdf << pdfUhr.stand();
        zeiten << uhr.stand();
        if (i == 0)
            std::fprintf(stderr, "# %s: %lld receipts, %lld articles, %lld hours, PDF %lld bytes\n", name,
                         static_cast<long long>(a->belege), static_cast<long long>(a->artikel.size()),
                         static_cast<long long>(a->stunden.size()), static_cast<long long>(datei.size()));
    }
    zahlen.bericht(qPrintable(QStringLiteral("%1, figures from the source").arg(QLatin1String(name))));
    pdf.bericht(qPrintable(QStringLiteral("%1, PDF").arg(QLatin1String(name))));
    zeiten.bericht(name);
    return zeiten.median();
}

} // namespace

double AbrechnungMessen100k()
{
    QTemporaryDir ordner;
    {
        QElapsedTimer aufbau;
        aufbau.start();
        test::TestJournal j(ordner.filePath(QStringLiteral("daten.db")), QStringLiteral("Theke"));
        j.viele(100000, test::LokalZeit(QStringLiteral("2026-07-01 10:00:00"), 7200));
        std::fprintf(stderr, "# statement_ms_100k: journal of 100,000 receipts built in %.1f s\n",
                     aufbau.elapsed() / 1000.0);
    }
    const Zeitraum saison = Zeitraum::Tage({2026, 7, 1}, {2026, 7, 31});
    return Messen("statement_ms_100k",
                  [&](QString &fehler) { return AbrechnungAusOrdner(ordner.path(), saison, fehler); });
}

std::optional<double> VeranstaltungMessen1m(const GrosseVeranstaltung &veranstaltung)
{
    if (!veranstaltung.bereit())
        return std::nullopt;
    const QString verbindung = veranstaltung.verbindung();
    const Zeitraum fest = Zeitraum::Tage({2026, 7, 3}, {2026, 7, 5});
    return Messen("statement_ms_1m_event", [&](QString &fehler) {
        return AbrechnungVomServer(verbindung, QStringLiteral("Bench"), fest, fehler);
    });
}

} // namespace zanti::bench

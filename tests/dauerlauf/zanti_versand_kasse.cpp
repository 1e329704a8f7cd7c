// A register for the sync trials: the real model (without its window) in a
// program folder at an event, selling through its keys until the trial
// kills it, or only forwarding what waits.
//
//   zanti_versand_kasse ORDNER SEED verkaufen   sells until killed: now and
//                                               then a quantity, one to three
//                                               articles, now and then STO on
//                                               one of them, then "=", now
//                                               and then "GEG" after it
//   zanti_versand_kasse ORDNER 0 nachsenden     starts, forwards, and ends
//                                               through the model's own
//                                               shutdown once all is sent
//
// stdout: "bereit" when the start is done; "meldung TEXT" for every message
// the register gives after that (a trial fails on any); "fertig". The
// forwarder takes short pauses, so a server back after a fault is reached
// within a trial, not after half a minute.
#include "model/kassen_modell.h"
#include "persistence/bon_tabelle.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTimer>

#include <cstdio>
#include <utility>

using namespace zanti;

namespace {

void Zeile(const QByteArray &text)
{
    std::fputs(text.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// One tap per call, so the forwarder's answers and the saves run between
// taps as in a real shift.
class Verkaeufer
{
public:
    Verkaeufer(KassenModell &m, quint32 seed) : m_m(m), m_zufall(seed) {}
    void tippen()
    {
        if (std::exchange(m_geg, false)) {
            m_m.GegebenTaste();
            m_m.EingabeUebernehmen(QString::number(5 + m_zufall.bounded(50)));
            return;
        }
        if (m_offen == 0) {
            m_offen = 1 + m_zufall.bounded(3);
            if (m_zufall.bounded(4) == 0)
                m_m.MengenZiffer(2 + m_zufall.bounded(8));
            return;
        }
        const int zeilen = m_m.bonTabelle().anzahl();
        if (m_offen-- > 1 || zeilen == 0) {
            m_m.ArtikelTaste(1 + m_zufall.bounded(kArtikel));
        } else if (m_zufall.bounded(5) == 0 && zeilen > 1) {
            m_m.Storno(m_zufall.bounded(zeilen));
        } else {
            m_m.BonAbschliessen();
            // Now and then "GEG" with the amount given, after the close.
            m_geg = m_zufall.bounded(3) == 0;
            return;
        }
    }
    static constexpr int kArtikel = 6;

private:
    KassenModell &m_m;
    QRandomGenerator m_zufall;
    int m_offen = 0;
    bool m_geg = false;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList argumente = app.arguments();
    if (argumente.size() != 4)
        return 2;
    const bool verkaufen = argumente[3] == u"verkaufen"_qs;

    KassenModell m(argumente[1]);
    WeiterleitungsOptionen optionen;
    optionen.stapel = 50;
    optionen.antwortFristMs = 1000;
    optionen.verbindungsFristS = 2;
    optionen.pauseMinMs = 50;
    optionen.pauseMaxMs = 200;
    optionen.nachsehenMs = 100;
    m.weiterleitungsOptionenSetzen(optionen);

    bool gestartet = false;
    QObject::connect(&m, &KassenModell::meldung, &app, [&](const QString &text) {
        if (gestartet)
            Zeile("meldung " + text.toUtf8().replace('\n', ' '));
        else
            std::fprintf(stderr, "start: %s\n", qPrintable(text));
    });
    QObject::connect(&m, &KassenModell::statusSetzen, &app, [&](int panel, const QString &text) {
        if (!verkaufen && panel == KassenModell::kServerPanel && text == u"Server: alles gesendet"_qs) {
            const QStringList nichtGespeichert = m.beenden();
            if (!nichtGespeichert.isEmpty())
                Zeile("meldung nicht gespeichert: " + nichtGespeichert.join(u' ').toUtf8());
            Zeile("fertig");
            app.quit();
        }
    });
    m.startBeginnen();
    m.startBeenden();
    if (!m.weiterleitung()) {
        Zeile("meldung ohne Weiterleitung");
        return 1;
    }
    gestartet = true;
    Zeile("bereit");

    Verkaeufer verkaeufer(m, argumente[2].toUInt());
    QTimer takt;
    if (verkaufen) {
        QObject::connect(&takt, &QTimer::timeout, &app, [&] { verkaeufer.tippen(); });
        takt.start(1);
    }
    return app.exec();
}

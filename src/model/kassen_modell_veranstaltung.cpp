// The register at an event: its journal goes to the event server through a
// forwarder of its own thread, and F8 shows the whole event's takings. A
// register without veranstaltung.ini has no forwarder, no thread, nothing.
#include "model/kassen_modell.h"

#include "veranstaltung/veranstaltungs_bericht.h"
#include "veranstaltung/weiterleitung.h"

#include <QDateTime>

namespace zanti {

void KassenModell::weiterleitungStarten()
{
    WeiterleitungsStart start = WeiterleitungStarten(m_ordner, m_kennung.name, m_weiterleitungsOptionen);
    if (!start.meldung.isEmpty())
        emit meldung(start.meldung, {});
    m_weiterleitung = std::move(start.weiterleitung);
    if (!m_weiterleitung)
        return;
    Weiterleitung *w = m_weiterleitung.get();
    connect(w, &Weiterleitung::zustandGeaendert, this, [this](const QString &text) {
        emit statusSetzen(kServerPanel, text);
    });
    connect(w, &Weiterleitung::meldung, this, [this](const QString &text) { emit meldung(text, {}); });
    connect(w, &Weiterleitung::berichtBereit, this, &KassenModell::veranstaltungsberichtAusgeben);
    connect(w, &Weiterleitung::berichtFehlt, this, [this](const QString &text) { emit meldung(text, {}); });
    emit statusSetzen(kServerPanel, w->zustand().text());
}

void KassenModell::weiterleitungWecken()
{
    if (m_weiterleitung)
        m_weiterleitung->wecken();
}

void KassenModell::VeranstaltungsberichtAnfordern()
{
    if (!m_zustand.Einstellmodus)
        return;
    if (!m_weiterleitung) {
        emit meldung(kOhneVeranstaltung, {});
        return;
    }
    m_weiterleitung->berichtAnfordern();
}

void KassenModell::veranstaltungsberichtAusgeben(const VeranstaltungsZahlen &zahlen)
{
    const QDateTime jetzt = QDateTime::currentDateTime();
    berichtAusgeben(VeranstaltungsBerichtDruck(zahlen, jetzt.time(), jetzt.date()),
                    VeranstaltungsBerichtText(zahlen, jetzt.time(), jetzt.date()));
}

} // namespace zanti

// The receipt journal's side of the register: its identity, the receipt
// each close journals, the voids, and the prints that wait in the journal
// while the printer cannot print. A printer that is switched on but offline,
// open, out of paper or gone gets nothing; the receipts wait and print, in
// order and exactly as at "=", when it reports ready again. A receipt whose
// bytes were on their way when the line broke prints again in full.
#include "model/kassen_modell.h"

#include "core/bon_zeile.h"
#include "persistence/bon_tabelle.h"
#include "printing/bon_layout.h"
#include "printing/drucker_port.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSysInfo>

#include <limits>

namespace zanti {

namespace {

// What a journalled receipt prints: the same layout input as at "=".
BonDruckDaten DruckDatenAus(const Beleg &beleg, bool kopie)
{
    BonDruckDaten d;
    d.BonImageNr = beleg.druckdaten.logo;
    for (int i = 0; i < 4; ++i)
        d.Kopfzeile[i + 1] = beleg.druckdaten.kopf[i];
    d.Einzelbon = beleg.druckdaten.einzelbon;
    d.TischnummerAnzeige = beleg.druckdaten.tischanzeige;
    d.Tischnummer = beleg.tisch.value_or(0);
    d.Einstellung8 = beleg.druckdaten.salat ? QStringLiteral("1") : QStringLiteral("0");
    d.BonSumme = beleg.summeCent;
    const QDateTime zeit = beleg.zeit.lokal();
    d.zeit = zeit.time();
    d.datum = zeit.date();
    d.Kopie = kopie;
    return d;
}

QList<BonZeile> ZeilenAus(const Beleg &beleg)
{
    QList<BonZeile> zeilen;
    for (const Belegzeile &z : beleg.zeilen) {
        BonZeile zeile;
        zeile.Anzahl = QString::number(z.anzahl);
        zeile.Artikel = z.artikel;
        zeile.Preis = BetragFormat(z.betragCent);
        zeile.Menge = Cent(z.anzahl) * 100;
        zeile.Betrag = z.betragCent;
        zeile.Tastennr = z.taste;
        zeile.BonId = z.protokollNr;
        zeilen.append(zeile);
    }
    return zeilen;
}

QString WartenText(int wartend)
{
    if (wartend <= 0)
        return {};
    return wartend == 1 ? QStringLiteral("1 Bon wartet") : QStringLiteral("%1 Bons warten").arg(wartend);
}

} // namespace

void KassenModell::kennungSichern()
{
    QSqlDatabase db = m_bon->datenbank();
    QSqlError fehler;
    std::optional<KennungErgebnis> ergebnis;
    if (db.transaction()) {
        ergebnis = KennungSichern(db, MaschinenSchluessel(), QSysInfo::machineHostName(), fehler);
        if (!ergebnis || !db.commit()) {
            db.rollback();
            ergebnis.reset();
        }
    }
    if (!ergebnis) {
        // Without a stored identity the register still sells: this run's
        // receipts carry a new one.
        m_kennung = {NeueUuid(), QSysInfo::machineHostName(), MaschinenSchluessel()};
        return;
    }
    m_kennung = ergebnis->kennung;
    if (ergebnis->kopiert)
        m_kennungMeldung = QStringLiteral("Dieser Programmordner kommt von einem anderen Rechner. Die Kasse hat "
                                          "eine eigene Kennung bekommen und heißt jetzt „%1“.")
                               .arg(m_kennung.name);
    m_wartend = int(WartendeBelege(db).size());
}

Beleg KassenModell::belegVorbereiten(const QList<BonZeile> &zeilen, Cent summe) const
{
    Beleg b;
    b.kasseId = m_kennung.id;
    b.zeit = Zeitpunkt::aus(QDateTime::currentDateTime());
    if (m_zustand.Tischnummer != 0)
        b.tisch = m_zustand.Tischnummer;
    b.summeCent = summe;
    if (!m_zustand.Einstellung.DruckerEin)
        b.druck = Druckstatus::NichtVerlangt;
    else
        b.druck = druckerBereit() && m_wartend == 0 ? Druckstatus::Gedruckt : Druckstatus::Wartet;
    for (int i = 1; i <= 4; ++i)
        b.druckdaten.kopf[i - 1] = m_zustand.Kopfzeile[i];
    b.druckdaten.logo = m_zustand.Einstellung.BonImageNr;
    b.druckdaten.einzelbon = m_zustand.Einstellung.Einzelbon;
    b.druckdaten.tischanzeige = m_zustand.Einstellung.TischnummerAnzeige;
    b.druckdaten.salat = SalatbonEin(m_zustand.Einstellung.Salat);
    for (const BonZeile &zeile : zeilen) {
        const int anzahl = int(zeile.Menge / 100);
        b.zeilen.append({zeile.Tastennr, zeile.Artikel, anzahl, anzahl > 0 ? zeile.Betrag / anzahl : zeile.Betrag,
                         zeile.Betrag, zeile.BonId});
    }
    return b;
}

void KassenModell::stornoVormerken(const BonZeile &zeile)
{
    StornoEintrag s;
    s.kasseId = m_kennung.id;
    s.zeit = Zeitpunkt::aus(QDateTime::currentDateTime());
    QSqlDatabase db = m_bon->datenbank();
    s.belegNummer = NaechsteBelegNummer(db, m_kennung.id);
    s.taste = zeile.Tastennr;
    s.artikel = zeile.Artikel;
    s.anzahl = int(zeile.Menge / 100);
    s.betragCent = zeile.Betrag;
    m_offeneStornos.append(s);
}

void KassenModell::BonDrucken(const Beleg &beleg)
{
    m_zustand.Tischnummer = 0;
    if (beleg.druck == Druckstatus::Wartet) {
        ++m_wartend;
        if (!m_port.PortOpen())
            m_statusText = u" Fehler "_qs;
        panel8Zeigen();
        wartendeDrucken();
    } else if (beleg.druck == Druckstatus::Gedruckt) {
        belegSenden(beleg, false);
    }
}

bool KassenModell::belegSenden(const Beleg &beleg, bool kopie)
{
    // Known as on its way before the first byte: a write that fails at
    // once finds it there.
    const qsizetype platz = m_unterwegs.size();
    m_unterwegs.append({beleg.lfd, std::numeric_limits<qint64>::max()});
    // The port queues every write; nothing waits for the line.
    for (const QByteArray &ausgabe : BonAusgabe(DruckDatenAus(beleg, kopie), ZeilenAus(beleg))) {
        m_port.Output(ausgabe);
        if (m_unterwegs.size() <= platz || m_unterwegs[platz].first != beleg.lfd)
            return false; // the line broke: the receipt waits again
    }
    m_unterwegs[platz].second = m_port.ausgabenGenommen();
    // A copy is no receipt of its own: it never waits.
    if (kopie)
        m_unterwegs.removeAt(platz);
    return true;
}

bool KassenModell::druckerBereit() const
{
    return m_zustand.Einstellung.DruckerEin && m_port.PortOpen() && m_status.stand().kannDrucken();
}

void KassenModell::wartendeDrucken()
{
    if (m_wartend == 0 || !druckerBereit())
        return;
    QSqlDatabase db = m_bon->datenbank();
    for (const Beleg &beleg : WartendeBelege(db)) {
        QSqlError fehler;
        if (!druckerBereit() || !DruckstatusSetzen(db, beleg.lfd, Druckstatus::SpaeterGedruckt, fehler))
            break;
        --m_wartend;
        if (!belegSenden(beleg, false))
            break;
    }
    m_wartend = int(WartendeBelege(db).size());
    panel8Zeigen();
    weiterleitungWecken();
}

void KassenModell::alleGeschrieben()
{
    m_unterwegs.clear();
}

void KassenModell::DruckerFehler()
{
    // What the printer did not take whole prints again when it is back.
    QSqlDatabase db = m_bon->datenbank();
    const qint64 fertig = m_port.ausgabenFertig();
    for (const auto &[lfd, bis] : std::as_const(m_unterwegs)) {
        QSqlError fehler;
        if (bis > fertig)
            DruckstatusSetzen(db, lfd, Druckstatus::Wartet, fehler);
    }
    if (!m_unterwegs.isEmpty())
        weiterleitungWecken();
    m_unterwegs.clear();
    if (db.isValid())
        m_wartend = int(WartendeBelege(db).size());
    // The receipt on its way may be incomplete: the operator must see it.
    m_statusText = u" Fehler "_qs;
    panel8Zeigen();
}

void KassenModell::panel8Zeigen()
{
    const QString warten = WartenText(m_wartend);
    emit statusSetzen(8, warten.isEmpty() ? m_statusText : m_statusText + u"  "_qs + warten);
}

QList<BonListenEintrag> KassenModell::NeuesteBons(int hoechstens)
{
    QList<BonListenEintrag> liste;
    QSqlDatabase db = m_bon->datenbank();
    for (const Beleg &beleg : NeuesteBelege(db, hoechstens))
        liste.append(BonListenEintragAus(beleg));
    return liste;
}

void KassenModell::KopieDrucken(qint64 lfd)
{
    if (!m_zustand.Einstellmodus)
        return;
    QSqlDatabase db = m_bon->datenbank();
    const std::optional<Beleg> beleg = BelegLesen(db, lfd);
    if (!beleg)
        return;
    if (!druckerBereit()) {
        emit meldung(u"Der Drucker ist aus oder nicht bereit. Die Kopie wird nicht gedruckt."_qs, {});
        return;
    }
    QSqlError fehler;
    if (!KopieEintragen(db, lfd, m_kennung.id, Zeitpunkt::aus(QDateTime::currentDateTime()), fehler)) {
        emit meldung(u"Die Kopie kann nicht im Journal vermerkt werden und wird nicht gedruckt."_qs,
                     u"Fehler"_qs);
        return;
    }
    belegSenden(*beleg, true);
}

} // namespace zanti

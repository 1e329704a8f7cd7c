#pragma once
// The register without its window.
//
// How a sale flows: the window hands a tap to the model (one way in). An
// article key calls ArtikelTaste(k): the line's amount is the key's price
// from kasse.ini times the quantity typed, in whole cents, computed once; the
// row, its cents beside the texts, goes into the open receipt, table Bon of
// daten.db (BonTabelle), and the protocol line goes on top of the Protokoll,
// which keeps protokoll.txt's bytes ready. "=" calls BonAbschliessen(): the
// rows' cents give the counts per key and the takings, and ONE transaction
// of daten.db deletes the receipt's rows and stores a
// redo record (the protocol's new lines, verkauf.ini before and after).
// Only then does the drawer open, the receipt go to the printer port, and
// protokoll.txt, verkauf.ini and Einstellungen.ini get replaced; the record
// is dropped when both files are on disk, and the next start finishes one
// that a power cut left. "GEG" and the keypad give the change.
//
// What the operator is to see leaves as signals: the display lines, which
// receipt keys may act, status texts, messages. The model never touches a
// widget; Kasse builds the controls and shows what it is told.
#include "model/bon_liste.h"
#include "model/drucker_dienst.h"
#include "model/kassen_zustand.h"
#include "persistence/journal.h"
#include "printing/drucker_status.h"
#include "veranstaltung/weiterleitungs_optionen.h"

#include <QAbstractTableModel>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>

namespace zanti {

struct Abschluss;
struct BerichtDaten;
class BonTabelle;
struct BonZeile;
class DruckerPort;
class Protokoll;
struct Protokolldatei;
class Weiterleitung;
struct VeranstaltungsZahlen;
template <typename T>
class Vorab;

class KassenModell : public QObject
{
    Q_OBJECT

public:
    // The lines of the customer display.
    enum class Anzeigefeld { Text, Betrag, Menge, Waehrung };
    // The receipt keys whose state follows the receipt.
    enum class Knopf { Istgleich, Storno, Gegeben };

    // Printer bytes go to port, which must outlive the model; without one
    // the model has a port of its own.
    KassenModell(const QString &programmordner, DruckerPort &port, QObject *eltern = nullptr);
    explicit KassenModell(const QString &programmordner, QObject *eltern = nullptr);
    ~KassenModell() override;

    KassenZustand &zustand() { return m_zustand; }
    const KassenZustand &zustand() const { return m_zustand; }
    BonTabelle &bonTabelle() { return *m_bon; }
    const BonTabelle &bonTabelle() const { return *m_bon; }
    Protokoll &protokoll() { return *m_protokoll; }
    const Protokoll &protokoll() const { return *m_protokoll; }

    // The start (kassen_modell_start.cpp), in two parts for a window that
    // builds itself in between: first what needs no window (the database,
    // the files, the printer), then the status texts, the receipt table and
    // the printer's state, each announced by startSchritt.
    void startBeginnen();
    void startBeenden();

    // Booking (kassen_modell.cpp).
    void ArtikelTaste(int k);
    void MengenZiffer(int ziffer);
    void MengeNull();
    void MengeLoeschen();
    // An empty receipt can neither be closed nor voided.
    void BonTastenPruefen();

    // Closing and voiding (kassen_modell_abschluss.cpp).
    void BonAbschliessen();
    // Opens the cash drawer by hand.
    void SchubladeOeffnen();
    // Voids row zeile of the open receipt; false when nothing was voided.
    bool Storno(int zeile);

    // The keypad (kassen_modell_eingabe.cpp): "GEG" starts an amount given;
    // "OK" gives the change or sets the table number. False when the entry
    // is refused (the reason went out as a message).
    void GegebenTaste();
    bool EingabeUebernehmen(const QString &eingabe);
    void EingabeAbgebrochen();
    // Whether the keypad offers the quick amounts 10, 20, 50.
    bool Schnellbetraege() const;
    // True opens set-up mode.
    bool KennwortPruefen(const QString &eingabe);
    // Leaving asks no password (F12, HOME).
    void EinstellmodusVerlassen() { einstellmodusSetzen(false); }
    // The head lines as bonkopf.ini holds them now (they become the
    // register's), and the new ones from the dialog as typed, saved at once:
    // an empty line is kept as one blank, an empty logo number as 0. When
    // the logo number is no number nothing changes and the message to show
    // in the dialog comes back.
    Kopfzeilen BonkopfLesen();
    std::optional<QString> BonkopfUebernehmen(const Kopfzeilen &kopfzeile, const QString &logo);

    // The key editor's "Übernahme" for key k (saved at once), and a layout
    // file chosen by the operator. Text the files and the printer cannot
    // hold is refused with a message naming the characters (false): the key
    // keeps what it had, so key, file, protocol and receipt stay alike.
    bool TasteAendern(int k, const QString &text, const QString &preis, const QString &farbe);
    void TastenLadenAus(const QString &pfad);
    // The layout into a file the operator chose; false when it failed.
    bool TastenSpeichernUnter(const QString &pfad);

    // The switches; all but the salad key act in set-up mode only.
    void SalatUmschalten();
    QString SalatBeschriftung() const;
    void EinzelbonUmschalten();
    void TischnummerUmschalten();
    void SchalterAnzeigen();
    void ProtokollLoeschen();
    void VerkaufszahlenLoeschen();

    // The printer (kassen_modell_drucker.cpp), through the printer service.
    using Schaltweg = DruckerDienst::Schaltweg;
    void DruckerUmschalten(Schaltweg weg);
    // The port dialog's choice: nothing when the printer runs on it, else
    // the message to show there.
    std::optional<QString> SchnittstelleWaehlen(int nummer, const QString &text);
    void DruckerStatusLesen();
    // A write met a broken line (a printer unplugged mid-receipt): what was
    // on its way waits in the journal and prints again in full.
    void DruckerFehler();

    // The journal (kassen_modell_journal.cpp): the newest receipts for the
    // copy list, and a copy marked as one (set-up mode only).
    QList<BonListenEintrag> NeuesteBons(int hoechstens);
    void KopieDrucken(qint64 lfd);
    // Receipts waiting for a printer that could not print.
    int wartendeBons() const { return m_wartend; }
    const Kassenkennung &kennung() const { return m_kennung; }

    // The open receipt as the receipt grid shows it (columns: BonSpalte),
    // and the row the operator picked there.
    QAbstractTableModel &bonRaster();
    int gewaehlteZeile() const;
    void ZeileWaehlen(int zeile);
    const DruckerPort &druckerPort() const { return m_port; }
    // The key help, always in the window.
    void HilfeAnzeigen();
    // Printed when the printer is on, else handed out by berichtZeigen.
    void VerkaufsbelegAusgeben();
    void TastenbelegungAusgeben();

    // The event server (kassen_modell_veranstaltung.cpp): a forwarder only
    // when veranstaltung.ini is there, started at the end of the start.
    // Its state goes to status panel 9, which only an event shows.
    static constexpr int kServerPanel = 9;
    const Weiterleitung *weiterleitung() const { return m_weiterleitung.get(); }
    // Before the start: how the forwarder paces itself (batch, pauses).
    void weiterleitungsOptionenSetzen(const WeiterleitungsOptionen &optionen) { m_weiterleitungsOptionen = optionen; }
    // F8 in set-up mode: the event's takings, asked of the worker; printed
    // or shown (like the sales report) when the answer comes.
    void VeranstaltungsberichtAnfordern();

    // Saving (kassen_modell_dateien.cpp), each file on its own: one that
    // cannot be written is reported once and saved again next time.
    // False when either file could not be written.
    bool VerkaufSpeichern();
    void EinstellungenSpeichern();
    // The shutdown: saves the counts, the protocol and the settings, lets
    // the printer finish what it was sent, closes the port and daten.db.
    // Returns the names of the files that could not be saved, sorted; they
    // are not reported one by one. Once only; a second call returns nothing.
    QStringList beenden();

signals:
    // A progress text of the start.
    void startSchritt(const QString &text);
    // The key layout or the mode changed: the keys are to be shown anew
    // (ArtikelTastenAnsicht).
    void tastenGeaendert();
    // Set-up mode was entered (true) or left.
    void einstellmodusGeaendert(bool ein);
    // The printer button's caption, "Com n".
    void comBeschriftung(const QString &text);
    void anzeigeSetzen(KassenModell::Anzeigefeld feld, const QString &text);
    void knopfFreigeben(KassenModell::Knopf knopf, bool aktiv);
    void statusSetzen(int panel, const QString &text);
    void salatGeaendert(const QString &beschriftung);
    // The keypad is wanted for the table number.
    void tischnummerErfragen();
    // An article key in set-up mode opens the key editor; 0 closes it.
    void tastenEditor(int k);
    void piep();
    void meldung(const QString &text, const QString &titel);
    // A report for the window, the printer being off.
    void berichtZeigen(const QString &text);
    // The open receipt's current row changed; -1: none.
    void zeileGewaehlt(int zeile);

private:
    // Start-up steps (kassen_modell_dateien.cpp). Opens daten.db and, before
    // any file is read, finishes a close a power cut interrupted.
    bool DatenbankOeffnen();
    // Drops the rows an earlier run left; without the file the receipt is
    // kept in memory.
    void DatenbankEinrichten(bool offen);
    void ProtokollLaden();
    void TastenLaden();
    void VerkaufszahlenLaden();
    void BonkopfLaden();
    void EinstellungenLaden();
    // The printer is opened in the start's first part and told in its second.
    void DruckerOeffnen();
    void DruckerStarten();

    void ArtikelBuchen();
    void ProtokollEintragen(const BonZeile &zeile);
    // Prints the receipt when its state says so, else counts it as waiting.
    void BonDrucken(const Beleg &beleg);
    void TastenSpeichern();

    Abschluss abschlussVorbereiten(const Verkaufszahlen &verkauft) const;
    // The receipt as the journal keeps it, with the print it is due.
    Beleg belegVorbereiten(const QList<BonZeile> &zeilen, Cent summe) const;
    void stornoVormerken(const BonZeile &zeile);
    void kennungSichern();
    // Sends a journalled receipt's bytes (as printed at "=", or as a copy).
    bool belegSenden(const Beleg &beleg, bool kopie);
    bool druckerBereit() const;
    // The waiting receipts, in order, once the printer is ready again.
    void wartendeDrucken();
    void panel8Zeigen();
    void alleGeschrieben();
    void abschlussFehlgeschlagen();
    void abschluesseNachholen();
    // Moves the open receipt into memory with one message; false when it
    // already is there or could not move.
    bool datenbankAusgefallen();
    bool dateiGespeichert(const QString &pfad, bool erfolg);
    // protokoll.txt from the protocol's bytes and verkauf.ini as given.
    bool dateienSchreiben(const QByteArray &verkauf);
    void fehler(const QString &text);
    void einstellmodusSetzen(bool ein);
    void comZeigen(const QString &port);
    // Panel 4 outside set-up mode.
    static const QString kTastenhilfe;
    bool rueckgeld(QString eingabe);
    bool tischnummer(const QString &eingabe);
    QString datei(const QString &name) const;
    void druckerSchalter(bool ein);
    BerichtDaten berichtDaten() const;
    void berichtAusgeben(const QList<QByteArray> &druck, const QString &text);
    void weiterleitungStarten();
    // After a change of a closed receipt: the forwarder looks now.
    void weiterleitungWecken();
    void veranstaltungsberichtAusgeben(const VeranstaltungsZahlen &zahlen);

    KassenModell(const QString &programmordner, DruckerPort *port, QObject *eltern);

    const QString m_ordner;
    DruckerPort *m_eigenerPort; // a child of the model, when it has its own
    DruckerPort &m_port;
    std::unique_ptr<DruckerDienst> m_drucker;
    KassenZustand m_zustand;
    BonTabelle *m_bon = nullptr;
    Protokoll *m_protokoll = nullptr;
    QSet<QString> m_fehlerhafteDateien;
    bool m_beendet = false;
    // Whether daten.db opened at the start, for the start's second part.
    bool m_datenbankOffen = false;
    // The printer as DruckerOeffnen found it, until DruckerStarten tells it.
    struct Druckerstart
    {
        bool ein = false;
        QString meldung;
    };
    std::optional<Druckerstart> m_druckerstart;
    // The journal's side of the register: who it is, the voids since the
    // last close, the receipt "GEG" belongs to, and the printer's trouble.
    Kassenkennung m_kennung;
    std::optional<QString> m_kennungMeldung;
    QList<StornoEintrag> m_offeneStornos;
    qint64 m_letzterBeleg = 0;
    StatusLeser m_status;
    QString m_statusText;        // panel 8 as the printer's first byte says
    int m_wartend = 0;           // receipts waiting in the journal
    // Receipts on their way to the printer: the port's output count that
    // completes each. What is not written when the line breaks prints again.
    QList<QPair<qint64, qint64>> m_unterwegs;

    // Forwards the journal to the event server; none without an event.
    std::unique_ptr<Weiterleitung> m_weiterleitung;
    WeiterleitungsOptionen m_weiterleitungsOptionen;

    // protokoll.txt, read on another core between the start's two parts.
    std::unique_ptr<Vorab<Protokolldatei>> m_protokollVorab;
    void protokollVorabLesen();
};

} // namespace zanti

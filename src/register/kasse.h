#pragma once
// The register window: the keys, the customer display, the open receipt and
// the protocol. It builds the controls, hands every tap to the model
// (model/kassen_modell.h), shows what the model says and keeps Timer1; its
// parts are spread over several files by concern.
#include "model/kassen_modell.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <array>
#include <memory>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTableView;

namespace zanti {

class Anmeldung;
class Anzeige;
class BonListe;
class BonTabelle;
class Eingabefeld;
struct BerichtDaten;
struct BonZeile;
class DruckerPort;
class Entwurfsflaeche;
class KassenTaste;
class ProtokollBox;
class Tastenabfrage;

struct Programmversion
{
    int major = 0;
    int minor = 0;
    int revision = 0;
    QString fenstertitel; // "Zanti 2016" or "Zanti 2017"
};

class Kasse : public QMainWindow
{
    Q_OBJECT

public:
    // Start-up runs here, with the data files of the program folder.
    Kasse(const QString &programmordner, const Programmversion &version,
          QWidget *eltern = nullptr);
    ~Kasse() override;

    // Shows the register maximised, as the program does. It starts at the
    // size of the screen's free area, the size its controls were made for.
    void zeigen();

    // What the window shows, for reading.
    const KassenModell &modell() const { return *m_modell; }
    const KassenZustand &zustand() const { return m_zustand; }
    const BonTabelle &bonTabelle() const { return m_modell->bonTabelle(); }
    const DruckerPort &druckerPort() const { return m_modell->druckerPort(); }
    // The protocol, every line ending in CR LF.
    QString protokollText() const;
    // Progress texts of the start-up, in order.
    const QStringList &startVerlauf() const { return m_startVerlauf; }

signals:
    // The shutdown has run; the program may end.
    void beendet();

protected:
    void closeEvent(QCloseEvent *ereignis) override;
    void resizeEvent(QResizeEvent *ereignis) override;

private:
    // The article keys as the model's layout and mode say (kasse_editor.cpp).
    void TastenBeschriften();
    void FunktionstastenAus();
    void FunktionstastenEin();
    void HilfeAnzeigen();
    // F9 in set-up mode: the newest receipts, for a copy.
    void bonListeZeigen();

    // Building the window (kasse_aufbau.cpp).
    void aufbauen();
    void tastenAnlegen();
    void anzeigeAnlegen();
    void editorAnlegen();
    // The key editor's text fields Text1..Text3, made on first use.
    const std::array<QLineEdit *, 3> &editorFelder();
    void mengenrahmenAnlegen();
    void statusleisteAnlegen(QSize fenster);
    void statusleisteSkalieren();
    // The window's size when it fills the screen's free area.
    QSize bildschirmGroesse();
    KassenTaste *taste(const QString &name, const QRect &twips, const QString &text,
                       qreal schriftPx, QWidget *eltern = nullptr);
    // The keys that are neither article keys nor the function row, as data.
    enum class Wirkung {
        Storno, Gegeben, Istgleich, Home, Hilfe, Laden, Speichern,
        Ziffer, Null, MengeLoeschen, RahmenZu
    };
    struct FesteTaste
    {
        const char16_t *name;
        QRect twips;
        const char16_t *text;
        qreal schriftPx;
        qint64 farbe;
        Wirkung wirkung;
        int ziffer = 0;
        bool imRahmen = false; // in the frame "Anzahl"
    };
    static const FesteTaste kFesteTasten[];
    void festeTasteAnlegen(const FesteTaste &t, QWidget *eltern);
    void festeTaste(Wirkung wirkung, int ziffer);

    // Start-up and shutdown (kasse_start.cpp, kasse_ende.cpp).
    void starten();
    void startText(const QString &text);
    void rasterEinrichten();
    void rasterSpaltenBreiten();
    void beenden();

    // What the model says, shown (kasse_anzeige.cpp).
    void modellVerbinden();
    void anzeigeSetzen(KassenModell::Anzeigefeld feld, const QString &text);
    void knopfFreigeben(KassenModell::Knopf knopf, bool aktiv);
    void meldungZeigen(const QString &text, const QString &titel);
    void panelSetzen(int panel, const QString &text);

    // Printer and reports (kasse_drucker.cpp).
    void schnittstelleWaehlen();
    Anzeige &anzeige();
    void berichtZeigen(const QString &text);

    // Function buttons, display gestures, keypad (kasse_funktionen.cpp).
    void funktionenVerbinden();
    void bonkopfZeigen();
    void anmeldungZeigen();
    void kennwortEingegeben(const QString &kennwort);
    Eingabefeld &eingabefeld();
    void eingabefeldZeigen();
    void eingabeBestaetigt(const QString &eingabe);
    void GegebenTaste_Click();
    bool anzeigeGeste(QObject *objekt, QEvent *ereignis);

    // Key editor and layout files (kasse_editor.cpp).
    void editorOeffnen(int k);
    void editorZeigen(bool sichtbar);
    void editorUebernehmen();
    void LadenButton_Click();
    void HomeButton_Click();
    void SpeichernButton_Click();

    // Today's statement as PDF and CSV (kasse_abrechnung.cpp): into
    // abrechnungen/ of the program folder, or onto a stick the operator picks.
    void abrechnungTastenAnlegen();
    void AbrechnungButton_Click();
    void AbrechnungStickButton_Click();
    void abrechnungSchreiben(const QString &zielOrdner);
    bool eventFilter(QObject *objekt, QEvent *ereignis) override;

    // Void of the current receipt line (kasse_storno.cpp).
    void Storno_Click();

    // The timer: receipt guard, ESC and the function keys; the look of the
    // mode (kasse_timer.cpp).
    void Timer1_Timer();
    // The look of set-up mode (true) or of selling.
    void modusZeigen(bool einstellmodus);

    const QString m_ordner;
    const Programmversion m_version;
    KassenModell *m_modell;
    // The model's state, for the parts of the window that show it.
    const KassenZustand &m_zustand;
    QStringList m_startVerlauf;
    bool m_beendet = false;
    // Messages of the model open over this window, or over the dialog whose
    // entry is being handed over.
    QPointer<QWidget> m_meldungsEltern;

    Anzeige *m_anzeige = nullptr;
    BonListe *m_bonListe = nullptr;
    Eingabefeld *m_eingabefeld = nullptr;
    Anmeldung *m_anmeldung = nullptr;
    Tastenabfrage *m_tastenabfrage = nullptr;
    QTimer m_timer1;

    Entwurfsflaeche *m_flaeche = nullptr;
    std::array<KassenTaste *, kArtikelTasten + 1> m_artikel{};
    std::array<KassenTaste *, 10> m_funktion{}; // Command100..Command109
    std::array<KassenTaste *, 5> m_farbTasten{}; // Command40..Command44
    KassenTaste *m_storno = nullptr;
    KassenTaste *m_gegebenTaste = nullptr;
    KassenTaste *m_istgleich = nullptr;
    KassenTaste *m_uebernahme = nullptr;
    KassenTaste *m_abrechnung = nullptr;
    KassenTaste *m_abrechnungStick = nullptr;
    std::array<QLabel *, 2> m_label1{};
    QLabel *m_label2 = nullptr;
    QLabel *m_euro = nullptr;
    QLabel *m_label6 = nullptr;
    std::array<QLabel *, 3> m_editorEtiketten{}; // Label3..Label5
    std::array<QLineEdit *, 3> m_editorFelder{}; // Text1..Text3
    QFrame *m_shape2 = nullptr;
    QGroupBox *m_rahmen1 = nullptr;
    ProtokollBox *m_protokoll = nullptr;
    QTableView *m_raster = nullptr;
    std::array<QLabel *, 10> m_panel{}; // panels 1..8, and 9 at an event
};

} // namespace zanti

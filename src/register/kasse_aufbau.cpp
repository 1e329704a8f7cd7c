// Building the register window: every control at its design position.
#include "register/entwurfsflaeche.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/kundenanzeige.h"
#include "register/protokoll_box.h"
#include "register/rahmen.h"
#include "register/tastenabfrage.h"

#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QWindow>

namespace zanti {

namespace {

// Colour numbers of the window system: red in the lowest byte.
constexpr qint64 kRot = 255;
constexpr qint64 kGelb = 65535;
constexpr qint64 kGruen = 65280;
constexpr qint64 kHellgrau = 14737632;

// The status bar: its height and the width of each panel in twips, made for
// the panel's longest text ("Schublade offen ", a six-figure takings amount,
// "Server: 9999 Nachträge warten"),
// and its font size at scale 1.
constexpr int kLeisteHoehe = 360;
constexpr int kPanelBreite[] = {0, 870, 1080, 1140, 1440, 1500, 1680, 1500, 1530, 2760};
// The bar's spacing beside each panel, in pixels.
constexpr int kPanelAbstand = 6;
constexpr qreal kLeisteSchrift = 11;

// The grid's font size at scale 1, and with it the board's for text without
// a size of its own.
constexpr qreal kRasterSchrift = 14;

int LeistenHoehe(QSize fenster)
{
    // Scaled from the whole window: the bar's height takes from the board,
    // so the board's factor would feed back into the bar.
    return Skaliert(kLeisteHoehe, FensterMassstab(fenster, kLeisteHoehe));
}

QFont LeistenSchrift(QFont schrift, QSize fenster)
{
    schrift.setPixelSize(SchriftPixel(kLeisteSchrift, FensterMassstab(fenster, kLeisteHoehe)));
    return schrift;
}

// Design rectangle (twips) of article key 1..35: five columns, numbered
// down each column.
QRect ArtikelTastenPlatz(int nummer)
{
    static const int achtOben[] = {1800, 2640, 3480, 4320, 5160, 6000, 6840, 7680};
    static const int spalte4Oben[] = {1800, 2880, 4080, 5160, 6360, 7440};
    static const int spalte5Oben[] = {1800, 2880, 4080, 4920, 5760};
    if (nummer <= 24) {
        const int spalte = (nummer - 1) / 8;
        return {3840 + spalte * 1560, achtOben[(nummer - 1) % 8], 1575, 855};
    }
    if (nummer <= 30) {
        const int hoehe = (nummer == 26 || nummer == 28) ? 1215 : 1095;
        return {8520, spalte4Oben[nummer - 25], 1575, hoehe};
    }
    const int hoehe = nummer == 31 ? 1095 : nummer == 32 ? 1215 : 855;
    return {10080, spalte5Oben[nummer - 31], 1575, hoehe};
}

// A quantity key in the frame "Anzahl": rows of four, 7 8 9 0 / 4 5 6 P /
// 1 2 3 C.
constexpr QRect Mengenplatz(int reihe, int spalte)
{
    return {120 + spalte * 840, 240 + reihe * 840, 855, 855};
}

} // namespace

// The keys beside the article keys and the function row: name, place in
// twips, caption, font size, colour (-1: the button face) and what a tap does.
const Kasse::FesteTaste Kasse::kFesteTasten[] = {
    {u"Storno", {10080, 6600, 855, 975}, u"STO", 24, kRot, Wirkung::Storno},
    {u"GegebenTaste", {10920, 6600, 735, 975}, u"GEG", 22, kGelb, Wirkung::Gegeben},
    {u"IstgleichTaste", {10080, 7560, 1575, 975}, u"=", 40, kGelb, Wirkung::Istgleich},
    {u"HomeButton", {120, 120, 855, 615}, u"HOME", 13, -1, Wirkung::Home},
    {u"HilfeButton", {1020, 120, 855, 615}, u"Hilfe", 13, -1, Wirkung::Hilfe},
    {u"LadenButton", {1920, 120, 855, 615}, u"Tasten - Laden", 11, -1, Wirkung::Laden},
    {u"SpeichernButton", {2820, 120, 915, 615}, u"Tasten - Speichern", 11, -1, Wirkung::Speichern},
    {u"Taste07", Mengenplatz(0, 0), u"7", 26, -1, Wirkung::Ziffer, 7, true},
    {u"Taste08", Mengenplatz(0, 1), u"8", 26, -1, Wirkung::Ziffer, 8, true},
    {u"Taste09", Mengenplatz(0, 2), u"9", 26, -1, Wirkung::Ziffer, 9, true},
    {u"Taste0", Mengenplatz(0, 3), u"0", 26, -1, Wirkung::Null, 0, true},
    {u"Taste04", Mengenplatz(1, 0), u"4", 26, -1, Wirkung::Ziffer, 4, true},
    {u"Taste05", Mengenplatz(1, 1), u"5", 26, -1, Wirkung::Ziffer, 5, true},
    {u"Taste06", Mengenplatz(1, 2), u"6", 26, -1, Wirkung::Ziffer, 6, true},
    {u"TasteFrei", Mengenplatz(1, 3), u"P", 26, kHellgrau, Wirkung::RahmenZu, 0, true},
    {u"Taste01", Mengenplatz(2, 0), u"1", 26, -1, Wirkung::Ziffer, 1, true},
    {u"Taste02", Mengenplatz(2, 1), u"2", 26, -1, Wirkung::Ziffer, 2, true},
    {u"Taste03", Mengenplatz(2, 2), u"3", 26, -1, Wirkung::Ziffer, 3, true},
    {u"TasteC", Mengenplatz(2, 3), u"C", 26, -1, Wirkung::MengeLoeschen, 0, true},
};

namespace {

QColor Farbe(qint64 nummer)
{
    return FarbeAusNummer(nummer, QColor());
}

QLabel *Etikett(QWidget *eltern, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, eltern);
    label->setObjectName(name);
    return label;
}

} // namespace

KassenTaste *Kasse::taste(const QString &name, const QRect &twips, const QString &text,
                          qreal schriftPx, QWidget *eltern)
{
    auto *knopf = new KassenTaste(name, eltern ? eltern : m_flaeche);
    knopf->beschriftungSetzen(text);
    m_flaeche->platzieren(knopf, twips, schriftPx);
    return knopf;
}

void Kasse::aufbauen()
{
    setWindowTitle(m_version.fenstertitel);
    m_flaeche = new Entwurfsflaeche(this);
    m_flaeche->setObjectName(QStringLiteral("Kasse_Flaeche"));
    setCentralWidget(m_flaeche);
    // The grid's headers measure themselves while the grid is made, in the
    // board's font: it is the grid's own. And the board knows its size on
    // screen already, so no control measures at a size never shown.
    m_flaeche->grundschriftSetzen(kRasterSchrift);
    const QSize fenster = bildschirmGroesse();
    m_flaeche->groesseVorwegnehmen(fenster - QSize(0, LeistenHoehe(fenster)));
    anzeigeAnlegen();
    tastenAnlegen();
    editorAnlegen();
    mengenrahmenAnlegen();
    abrechnungTastenAnlegen();
    statusleisteAnlegen(fenster);
    funktionenVerbinden();
    m_tastenabfrage = new Tastenabfrage(this);
}

void Kasse::tastenAnlegen()
{
    for (int i = 1; i <= kArtikelTasten; ++i) {
        m_artikel[i] = taste(u"Command"_qs + QString::number(i), ArtikelTastenPlatz(i), {}, 14);
        QFont f = m_artikel[i]->font();
        f.setBold(true);
        m_artikel[i]->setFont(f);
        connect(m_artikel[i], &QPushButton::clicked, this, [this, i] { m_modell->ArtikelTaste(i); });
    }

    for (const FesteTaste &t : kFesteTasten) {
        if (!t.imRahmen)
            festeTasteAnlegen(t, m_flaeche);
    }

    static const char *const kFunktionen[] = {
        "Salat", "Einzel- bon", "Tischnr.", "Protokoll löschen", "Umsatz löschen",
        "Bonkopf", "Com", "Drucker", "Verkauf drucken", "Tasten drucken"};
    for (int i = 0; i < 10; ++i) {
        m_funktion[i] = taste(u"Command"_qs + QString::number(100 + i),
                              {3840 + i * 783, 1320, 765, 495}, QString::fromUtf8(kFunktionen[i]), 11);
        m_funktion[i]->farbeSetzen(Farbe(kGruen));
    }
}

void Kasse::festeTasteAnlegen(const FesteTaste &t, QWidget *eltern)
{
    KassenTaste *knopf = taste(QString::fromUtf16(t.name), t.twips, QString::fromUtf16(t.text),
                               t.schriftPx, eltern);
    if (t.farbe >= 0)
        knopf->farbeSetzen(Farbe(t.farbe));
    const Wirkung wirkung = t.wirkung;
    const int ziffer = t.ziffer;
    connect(knopf, &QPushButton::clicked, this, [this, wirkung, ziffer] { festeTaste(wirkung, ziffer); });
    switch (wirkung) {
    case Wirkung::Storno: m_storno = knopf; break;
    case Wirkung::Gegeben: m_gegebenTaste = knopf; break;
    case Wirkung::Istgleich: m_istgleich = knopf; break;
    default: break;
    }
}

void Kasse::festeTaste(Wirkung wirkung, int ziffer)
{
    switch (wirkung) {
    case Wirkung::Storno: Storno_Click(); break;
    case Wirkung::Gegeben: GegebenTaste_Click(); break;
    case Wirkung::Istgleich:
        m_modell->BonAbschliessen();
        FunktionstastenAus();
        break;
    case Wirkung::Home: HomeButton_Click(); break;
    case Wirkung::Hilfe: HilfeAnzeigen(); break;
    case Wirkung::Laden: LadenButton_Click(); break;
    case Wirkung::Speichern: SpeichernButton_Click(); break;
    case Wirkung::Ziffer: m_modell->MengenZiffer(ziffer); break;
    case Wirkung::Null: m_modell->MengeNull(); break;
    case Wirkung::MengeLoeschen: m_modell->MengeLoeschen(); break;
    case Wirkung::RahmenZu: m_rahmen1->hide(); break;
    }
}

void Kasse::anzeigeAnlegen()
{
    // The customer display: text line, amount line, quantity and currency.
    m_flaeche->platzieren(new Kundenanzeige(m_flaeche), {3840, 120, 7815, 1080});
    m_label2 = Etikett(m_flaeche, u"Label2"_qs, {});
    m_label1[0] = Etikett(m_flaeche, u"Label1_0"_qs, {});
    m_label1[1] = Etikett(m_flaeche, u"Label1_1"_qs, u"0.00"_qs);
    m_euro = Etikett(m_flaeche, u"Euro"_qs, u"€  "_qs);
    m_label2->setAlignment(Qt::AlignCenter);
    m_label1[0]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_label1[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_euro->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (QLabel *l : {m_label2, m_label1[0], m_label1[1], m_euro}) {
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, Kundenanzeige::Schriftfarbe());
        l->setPalette(p);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    m_flaeche->platzieren(m_label2, {3900, 120, 1080, 1080}, 44);
    m_flaeche->platzieren(m_label1[0], {5100, 150, 6480, 450}, 24);
    m_flaeche->platzieren(m_label1[1], {5100, 600, 5700, 570}, 34);
    m_flaeche->platzieren(m_euro, {10860, 600, 780, 570}, 34);

    m_label6 = Etikett(m_flaeche, u"Label6"_qs, {});
    m_flaeche->platzieren(m_label6, {120, 795, 3615, 255}, 10);

    m_raster = new QTableView(m_flaeche);
    m_raster->setObjectName(QStringLiteral("DataGrid1"));
    m_raster->setFocusPolicy(Qt::NoFocus);
    m_raster->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_raster->setSelectionMode(QAbstractItemView::SingleSelection);
    m_raster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_raster->verticalHeader()->hide();
    m_flaeche->platzieren(m_raster, {120, 1080, 3615, 2520}, kRasterSchrift);

    m_protokoll = new ProtokollBox(m_flaeche);
    // The box sizes its font itself, to its widest line.
    QFont mono = m_protokoll->font();
    mono.setFamily(QStringLiteral("DejaVu Sans Mono"));
    mono.setStyleHint(QFont::Monospace);
    m_protokoll->setFont(mono);
    m_flaeche->platzieren(m_protokoll, {120, 3720, 3615, 1920});
}

void Kasse::editorAnlegen()
{
    m_shape2 = new QFrame(m_flaeche);
    m_shape2->setObjectName(QStringLiteral("Shape2"));
    m_shape2->setFrameShape(QFrame::Box);
    m_shape2->setLineWidth(2);
    m_flaeche->platzieren(m_shape2, {120, 1080, 3615, 4560});
    m_shape2->hide();

    static const char *const kEtiketten[] = {"Artikeltext:", "Preis:", "Farbe:"};
    for (int i = 0; i < 3; ++i) {
        m_editorEtiketten[i] = Etikett(m_flaeche, u"Label"_qs + QString::number(3 + i),
                                       QString::fromUtf8(kEtiketten[i]));
        m_flaeche->platzieren(m_editorEtiketten[i], {360, 1200 + i * 900, 3135, 300}, 14);
    }

    static const qint64 kFarben[] = {65280, 255, 8438015, 16761024, 16744703};
    for (int i = 0; i < 5; ++i) {
        m_farbTasten[i] = taste(u"Command"_qs + QString::number(40 + i),
                                {360 + i * 600, 4080, 495, 615}, {}, 0);
        m_farbTasten[i]->farbeSetzen(Farbe(kFarben[i]));
        const QString nummer = QString::number(kFarben[i]);
        connect(m_farbTasten[i], &QPushButton::clicked, this,
                [this, nummer] { editorFelder()[2]->setText(nummer); });
    }
    m_uebernahme = taste(u"Übernahme"_qs, {360, 4860, 3135, 615}, u"Übernahme"_qs, 16);
    connect(m_uebernahme, &QPushButton::clicked, this, &Kasse::editorUebernehmen);
    editorZeigen(false);
}

const std::array<QLineEdit *, 3> &Kasse::editorFelder()
{
    // Made when the editor first opens: a text field measures its font as
    // it is made, and the register would wait for that on every start.
    if (m_editorFelder[0])
        return m_editorFelder;
    for (int i = 0; i < 3; ++i) {
        m_editorFelder[i] = new QLineEdit(m_flaeche);
        m_editorFelder[i]->setObjectName(u"Text"_qs + QString::number(1 + i));
        m_editorFelder[i]->installEventFilter(this);
        m_flaeche->platzieren(m_editorFelder[i], {360, 1500 + i * 900, 3135, 495}, 18);
    }
    connect(m_editorFelder[0], &QLineEdit::returnPressed, this, &Kasse::editorUebernehmen);
    connect(m_editorFelder[1], &QLineEdit::returnPressed, this, &Kasse::editorUebernehmen);
    return m_editorFelder;
}

void Kasse::mengenrahmenAnlegen()
{
    m_rahmen1 = new Rahmen(u"Anzahl"_qs, m_flaeche);
    m_rahmen1->setObjectName(QStringLiteral("Rahmen1"));
    m_flaeche->platzieren(m_rahmen1, {120, 5760, 3615, 2895}, 13);

    for (const FesteTaste &t : kFesteTasten) {
        if (t.imRahmen)
            festeTasteAnlegen(t, m_rahmen1);
    }
}

void Kasse::statusleisteAnlegen(QSize fenster)
{
    // A bar measures its font as it is made. Made on the board, it measures
    // in the board's font, loaded already, and has its own before it goes
    // to the window's foot.
    auto *leiste = new QStatusBar(m_flaeche);
    leiste->setObjectName(QStringLiteral("StatusBar1"));
    leiste->setSizeGripEnabled(false);
    leiste->setFont(LeistenSchrift(leiste->font(), fenster));
    // The panels' widths follow the window's (statusleisteSkalieren); the
    // widths of a larger window never hold the window at that size.
    leiste->setMinimumWidth(1);
    setStatusBar(leiste);
    for (int i = 1; i <= 8; ++i) {
        m_panel[i] = Etikett(leiste, u"Panel"_qs + QString::number(i), {});
        m_panel[i]->setFrameShape(QFrame::StyledPanel);
        // What is left over goes to the panels with texts, by their widths.
        leiste->addPermanentWidget(m_panel[i], i >= 3 ? kPanelBreite[i] : 0);
    }
    // The event server's state, shown only at an event (panelSetzen).
    m_panel[9] = Etikett(leiste, u"Panel9"_qs, {});
    m_panel[9]->setFrameShape(QFrame::StyledPanel);
    leiste->addPermanentWidget(m_panel[9], kPanelBreite[9]);
    m_panel[9]->hide();
    // Its height and font follow the window's size (resizeEvent).
}

void Kasse::statusleisteSkalieren()
{
    qreal massstab = FensterMassstab(size(), kLeisteHoehe);
    statusBar()->setFixedHeight(LeistenHoehe(size()));
    // At an event the server's panel shares the bar: the panels and their
    // font shrink alike until all nine fit, each text still whole.
    const bool mitServer = !m_panel[9]->isHidden();
    const int panels = mitServer ? 9 : 8;
    if (mitServer) {
        int twips = 0;
        for (int i = 1; i <= panels; ++i)
            twips += kPanelBreite[i];
        const int frei = width() - panels * kPanelAbstand;
        massstab = qMin(massstab, frei * 15.0 / twips);
    }
    QFont schrift = statusBar()->font();
    schrift.setPixelSize(SchriftPixel(kLeisteSchrift, massstab));
    statusBar()->setFont(schrift);
    for (int i = 1; i <= 9; ++i)
        m_panel[i]->setMinimumWidth(Skaliert(kPanelBreite[i], massstab));
}

QSize Kasse::bildschirmGroesse()
{
    // The frame the platform puts around the window takes from the screen's
    // free area. The frame is known once the window has its native side;
    // where a window manager tells it only when the window is shown, the
    // board places itself again then.
    winId();
    return screen()->availableGeometry().size().shrunkBy(windowHandle()->frameMargins());
}

void Kasse::zeigen()
{
    resize(bildschirmGroesse());
    showMaximized();
}

void Kasse::resizeEvent(QResizeEvent *ereignis)
{
    QMainWindow::resizeEvent(ereignis);
    statusleisteSkalieren();
}

} // namespace zanti

// Start-up: the model opens the database, the window builds itself and does
// its own part, then the model's start goes on (files, receipt table,
// printer); the window keeps its progress texts and labels its keys.
#include "core/bon_zeile.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/start_fenster.h"

#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableView>

namespace zanti {

namespace {

// Only while the register starts.
QPointer<Start> g_start;

} // namespace

Kasse::Kasse(const QString &programmordner, const Programmversion &version, QWidget *eltern)
    : QMainWindow(eltern)
    , m_ordner(programmordner)
    , m_version(version)
    , m_modell(new KassenModell(programmordner, this))
    , m_zustand(m_modell->zustand())
{
    setObjectName(QStringLiteral("Kasse"));
    // The database opens before the window is built: it needs no window,
    // and meanwhile the program reads the fonts on a second core.
    connect(m_modell, &KassenModell::startSchritt, this, &Kasse::startText);
    connect(m_modell, &KassenModell::meldung, this, &Kasse::meldungZeigen);
    m_modell->startBeginnen();
    aufbauen();
    modellVerbinden();
    starten();
    m_timer1.setInterval(50);
    connect(&m_timer1, &QTimer::timeout, this, &Kasse::Timer1_Timer);
    m_timer1.start();
    Timer1_Timer();
}

Kasse::~Kasse()
{
    beenden();
}

void Kasse::startText(const QString &text)
{
    if (!g_start)
        g_start = new Start(this);
    g_start->textSetzen(text);
    m_startVerlauf << text;
}

void Kasse::starten()
{
    // The window's own part: the function row waits for set-up mode, the
    // version line, the grid on the open receipt (its rows come with the
    // database).
    FunktionstastenAus();
    m_label6->setText(u" Zanti V %1.%2.%3 / Zantissen Software für Vereine "_qs
                          .arg(m_version.major)
                          .arg(m_version.minor)
                          .arg(m_version.revision));
    rasterEinrichten();
    m_modell->startBeenden();
    delete g_start;
}

void Kasse::rasterEinrichten()
{
    m_raster->setModel(&m_modell->bonRaster());
    m_raster->setColumnHidden(SpalteAutowert, true);
    m_raster->setColumnHidden(SpalteTastennr, true);
    m_raster->setColumnHidden(SpalteBonId, true);
    QHeaderView *kopf = m_raster->horizontalHeader();
    kopf->setSectionResizeMode(QHeaderView::Fixed);
    kopf->setSectionResizeMode(SpalteArtikel, QHeaderView::Stretch);
    // The widths follow the grid's font and size as they come.
    m_raster->installEventFilter(this);
    connect(m_modell, &KassenModell::zeileGewaehlt, this, [this](int zeile) {
        if (zeile >= 0)
            m_raster->selectRow(zeile);
        else
            m_raster->clearSelection();
    });
    connect(m_raster->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &aktuell) {
                if (aktuell.isValid())
                    m_modell->ZeileWaehlen(aktuell.row());
            });
}

void Kasse::rasterSpaltenBreiten()
{
    // Quantity and price as wide as "Anz  " and " 1000,00" in the grid's
    // font (or its header, whichever is wider); the article takes the rest.
    const QFontMetrics zeilen(m_raster->font());
    const QFontMetrics kopf(m_raster->horizontalHeader()->font());
    const auto breite = [&](const QString &muster, const QString &titel) {
        return qMax(zeilen.horizontalAdvance(muster), kopf.horizontalAdvance(titel) + 8) + 8;
    };
    m_raster->setColumnWidth(SpalteAnzahl, breite(u"Anz  "_qs, u"Anzahl"_qs));
    m_raster->setColumnWidth(SpaltePreis, breite(u" 1000,00"_qs, u"Preis"_qs));
}

} // namespace zanti

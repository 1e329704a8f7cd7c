#include "register/bon_liste.h"

#include <QHeaderView>
#include <QPushButton>
#include <QScroller>
#include <QTableWidget>

namespace zanti {

namespace {

constexpr int kObenTwips = 840;
constexpr int kLinksTwips = 2175;
constexpr int kBreiteTwips = 9300;
constexpr int kHoeheTwips = 7680;
// A row as high as a finger is wide.
constexpr int kZeilenHoeheTwips = 600;

} // namespace

BonListe::BonListe(QWidget *hauptfenster)
    : QWidget(hauptfenster, Qt::Window), m_hauptfenster(hauptfenster),
      m_entwurf(this, {kBreiteTwips, kHoeheTwips}, 16)
{
    setObjectName(QStringLiteral("BonListe"));
    setWindowTitle(QStringLiteral("Bons"));

    m_liste = new QTableWidget(0, 4, this);
    m_liste->setObjectName(QStringLiteral("Liste1"));
    m_liste->setHorizontalHeaderLabels(
        {QStringLiteral("Nr."), QStringLiteral("Zeit"), QStringLiteral("Summe"), QStringLiteral("Druck")});
    m_liste->verticalHeader()->hide();
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Number and time as wide as they need; number and print state
    // centred, so no text runs into its neighbour's.
    m_liste->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_liste->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_liste->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_liste->setFocusPolicy(Qt::NoFocus);
    m_entwurf.platzieren(m_liste, {120, 120, kBreiteTwips - 240, 6360}, 16);
    QScroller::grabGesture(m_liste->viewport(), QScroller::LeftMouseButtonGesture);

    m_kopie = new QPushButton(QStringLiteral("Kopie drucken"), this);
    m_kopie->setObjectName(QStringLiteral("Command1"));
    m_kopie->setEnabled(false);
    auto *schliessen = new QPushButton(QStringLiteral("Schließen"), this);
    schliessen->setObjectName(QStringLiteral("Command2"));
    for (QPushButton *knopf : {m_kopie, schliessen})
        knopf->setFocusPolicy(Qt::NoFocus);
    m_entwurf.platzieren(m_kopie, {120, 6600, 4440, 840}, 18);
    m_entwurf.platzieren(schliessen, {kBreiteTwips - 4560, 6600, 4440, 840}, 18);

    connect(m_liste, &QTableWidget::itemSelectionChanged, this,
            [this] { m_kopie->setEnabled(!m_liste->selectedItems().isEmpty()); });
    connect(m_kopie, &QPushButton::clicked, this, [this] {
        const int zeile = m_liste->currentRow();
        if (zeile >= 0 && zeile < m_eintraege.size())
            emit kopieDrucken(m_eintraege[zeile].lfd);
    });
    connect(schliessen, &QPushButton::clicked, this, &BonListe::close);
    m_entwurf.anwenden(m_hauptfenster);
}

void BonListe::eintraegeSetzen(const QList<BonListenEintrag> &eintraege)
{
    m_eintraege = eintraege;
    m_liste->setRowCount(int(eintraege.size()));
    const int hoehe = Skaliert(kZeilenHoeheTwips, RegisterMassstab(this));
    for (int i = 0; i < eintraege.size(); ++i) {
        const BonListenEintrag &e = eintraege[i];
        const QStringList spalten{e.nummer, e.zeit, e.summe, e.druck};
        for (int s = 0; s < spalten.size(); ++s) {
            auto *feld = new QTableWidgetItem(spalten[s]);
            if (s == 2)
                feld->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            else if (s != 1)
                feld->setTextAlignment(Qt::AlignCenter);
            m_liste->setItem(i, s, feld);
        }
        m_liste->setRowHeight(i, hoehe);
    }
    m_liste->clearSelection();
    m_kopie->setEnabled(false);
}

void BonListe::showEvent(QShowEvent *ereignis)
{
    m_entwurf.beimZeigen(m_hauptfenster, {kLinksTwips, kObenTwips});
    QWidget::showEvent(ereignis);
}

} // namespace zanti

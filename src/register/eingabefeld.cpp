#include "register/eingabefeld.h"

#include "register/kassen_taste.h"

#include <QAbstractButton>
#include <QCloseEvent>

namespace zanti {

namespace {

constexpr int kTasteBreite = 1455;
constexpr int kTasteHoehe = 1215;
constexpr int kSpalte[] = {960, 2640, 4320, 6000};
constexpr int kZeile[] = {480, 2040, 3600, 5160};
// The same margin right of the last column and below the last row.
constexpr int kFensterBreite = kSpalte[3] + kTasteBreite + kSpalte[0];
constexpr int kFensterHoehe = kZeile[3] + kTasteHoehe + kZeile[0];
// From the register window's corner (a sizeable border).
constexpr int kObenTwips = 1740;
constexpr int kLinksTwips = 3860;
constexpr int kSchriftPx = 34;

} // namespace

Eingabefeld::Eingabefeld(QWidget *kasse)
    : QWidget(kasse, Qt::Tool), m_kasse(kasse),
      m_entwurf(this, {kFensterBreite, kFensterHoehe}, kSchriftPx)
{
    setObjectName(QStringLiteral("Eingabefeld"));
    setWindowTitle(QStringLiteral("Eingabe"));

    // The keypad as it stands, row by row from the top.
    static const struct
    {
        const char16_t *name;
        const char16_t *text;
        int zeile, spalte;
        Art art;
        int wert;
    } kTasten[] = {
        {u"Eingabe7", u"7", 0, 0, Art::Ziffer, 7},
        {u"Eingabe8", u"8", 0, 1, Art::Ziffer, 8},
        {u"Eingabe9", u"9", 0, 2, Art::Ziffer, 9},
        {u"Eingabe10", u"10", 0, 3, Art::Schnell, 10},
        {u"Eingabe4", u"4", 1, 0, Art::Ziffer, 4},
        {u"Eingabe5", u"5", 1, 1, Art::Ziffer, 5},
        {u"Eingabe6", u"6", 1, 2, Art::Ziffer, 6},
        {u"Eingabe11", u"20", 1, 3, Art::Schnell, 20},
        {u"Eingabe1", u"1", 2, 0, Art::Ziffer, 1},
        {u"Eingabe2", u"2", 2, 1, Art::Ziffer, 2},
        {u"Eingabe3", u"3", 2, 2, Art::Ziffer, 3},
        {u"Eingabe12", u"50", 2, 3, Art::Schnell, 50},
        {u"Eingabe0", u"0", 3, 0, Art::Ziffer, 0},
        {u"Back", u",", 3, 1, Art::Komma, 0},
        {u"Löschen", u"C", 3, 2, Art::Loeschen, 0},
        {u"Command1", u"OK", 3, 3, Art::Ok, 0},
    };
    for (const auto &t : kTasten) {
        tasteAnlegen(QString::fromUtf16(t.name), QString::fromUtf16(t.text), kSpalte[t.spalte],
                     kZeile[t.zeile], t.art, t.wert);
    }
    m_entwurf.anwenden(m_kasse);
}

void Eingabefeld::tasteAnlegen(const QString &name, const QString &text, int links, int oben,
                               Art art, int wert)
{
    auto *knopf = new KassenTaste(name, this);
    knopf->beschriftungSetzen(text);
    QFont schrift = knopf->font();
    schrift.setBold(true);
    knopf->setFont(schrift);
    m_entwurf.platzieren(knopf, {links, oben, kTasteBreite, kTasteHoehe}, kSchriftPx);
    connect(knopf, &QAbstractButton::clicked, this, [this, art, wert] { taste(art, wert); });
    // Quick amounts are notes, not digits, and OK ends the entry: both must
    // stand out at a glance.
    if (art == Art::Schnell) {
        knopf->farbeSetzen(QColor(192, 192, 255));
        m_schnelltasten << knopf;
    } else if (art == Art::Ok) {
        knopf->farbeSetzen(QColor(0, 255, 0));
    }
}

void Eingabefeld::zeigen(bool schnellbetraege)
{
    // A window just shown is on top already.
    if (isVisible()) {
        raise();
        return;
    }
    laden(schnellbetraege);
    show();
}

void Eingabefeld::laden(bool schnellbetraege)
{
    Schnellbetrag = 0;
    EingabeText.clear();
    m_entwurf.anwenden(m_kasse);
    m_entwurf.verschieben(m_kasse, {kLinksTwips, kObenTwips});
    for (QWidget *t : std::as_const(m_schnelltasten))
        t->setVisible(schnellbetraege);
}

void Eingabefeld::closeEvent(QCloseEvent *ereignis)
{
    EingabeText.clear();
    emit abgebrochen();
    QWidget::closeEvent(ereignis);
}

void Eingabefeld::angenommen()
{
    EingabeText.clear();
    hide();
}

void Eingabefeld::abgelehnt()
{
    // The amount line keeps what was typed.
    EingabeText.clear();
}

void Eingabefeld::taste(Art art, int wert)
{
    switch (art) {
    case Art::Ziffer:
        ziffer(wert);
        break;
    case Art::Schnell:
        Schnellbetrag = 1;
        EingabeText = QString::number(wert);
        break;
    case Art::Komma:
        // Neither a second comma nor a quick amount is checked here; "OK"
        // deals with what comes of it.
        if (EingabeText.isEmpty())
            EingabeText = QStringLiteral("0");
        EingabeText += u',';
        break;
    case Art::Loeschen:
        EingabeText.clear();
        break;
    case Art::Ok:
        emit bestaetigt(EingabeText);
        return;
    }
    emit eingabeGeaendert(EingabeText);
}

void Eingabefeld::ziffer(int d)
{
    if (d == 0) {
        if (!EingabeText.isEmpty()) // no leading zero
            EingabeText += u'0';
    } else if (Schnellbetrag == 1) {
        EingabeText = QString::number(d);
        Schnellbetrag = 0;
    } else {
        EingabeText += QString::number(d);
    }
}

} // namespace zanti

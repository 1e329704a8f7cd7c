#include "register/anzeige.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScroller>

namespace zanti {

namespace {

// Offset from the main window's corner.
constexpr int kObenTwips = 840;
constexpr int kLinksTwips = 3675;
// From there to the board's lower right corner, so the window never hides
// behind the screen's edge; the reports scroll.
constexpr int kBreiteTwips = 7800;
constexpr int kHoeheTwips = 7680;

} // namespace

Anzeige::Anzeige(QWidget *hauptfenster)
    : QWidget(hauptfenster, Qt::Window), m_hauptfenster(hauptfenster),
      m_entwurf(this, {kBreiteTwips, kHoeheTwips}, 14)
{
    setObjectName(QStringLiteral("Anzeige"));
    setWindowTitle(QStringLiteral("Zanti . . ."));

    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed pitch, so the columns of a report line up as on paper: the
    // family the set-up installs, else the system's fixed font; 12 px leave
    // room for the longest help line.
    QFont schrift = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    schrift.setFamilies({QStringLiteral("DejaVu Sans Mono"), schrift.family()});
    schrift.setStyleHint(QFont::Monospace);
    m_text1->setFont(schrift);
    m_entwurf.platzieren(m_text1, {120, 120, kBreiteTwips - 240, 6360}, 12);
    // A finger drags the text.
    QScroller::grabGesture(m_text1->viewport(), QScroller::LeftMouseButtonGesture);

    auto *command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    m_entwurf.platzieren(command1, {(kBreiteTwips - 2400) / 2, 6600, 2400, 840}, 18);
    command1->setFocusPolicy(Qt::NoFocus);
    connect(command1, &QPushButton::clicked, this, &Anzeige::close);
    m_entwurf.anwenden(m_hauptfenster);
}

void Anzeige::textSetzen(const QString &text)
{
    QString zeilen = text;
    zeilen.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_text1->setPlainText(zeilen);
    m_text1->moveCursor(QTextCursor::Start);
}

QString Anzeige::text() const
{
    return m_text1->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void Anzeige::showEvent(QShowEvent *ereignis)
{
    m_entwurf.beimZeigen(m_hauptfenster, {kLinksTwips, kObenTwips});
    QWidget::showEvent(ereignis);
}

} // namespace zanti

#include "printing/anzeige.h"

#include "register/entwurfsflaeche.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zanti {

namespace {

// Offset from the main window's corner.
constexpr int kObenTwips = 840;
constexpr int kLinksTwips = 3675;

} // namespace

Anzeige::Anzeige(QWidget *hauptfenster)
    : QWidget(hauptfenster, Qt::Window), m_hauptfenster(hauptfenster)
{
    setObjectName(QStringLiteral("Anzeige"));
    setWindowTitle(QStringLiteral("Zanti . . ."));
    // Tall enough for the whole sales report: 35 keys, title and takings.
    setFixedSize(Twips(0, 0, 9000, 10800).size());

    m_text1 = new QPlainTextEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(Twips(120, 120, 8760, 9480));
    m_text1->setReadOnly(true);
    m_text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Fixed pitch, so the columns of a report line up as on paper: the
    // family the set-up installs, else the system's fixed font.
    QFont schrift = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    schrift.setFamilies({QStringLiteral("DejaVu Sans Mono"), schrift.family()});
    schrift.setStyleHint(QFont::Monospace);
    schrift.setPixelSize(12);
    m_text1->setFont(schrift);

    auto *command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(Twips(3300, 9780, 2400, 840));
    QFont knopf = command1->font();
    knopf.setPixelSize(18);
    command1->setFont(knopf);
    command1->setFocusPolicy(Qt::NoFocus);
    connect(command1, &QPushButton::clicked, this, &Anzeige::close);
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
    if (!m_platziert && m_hauptfenster) {
        const QPoint ecke = m_hauptfenster->window()->pos();
        move(ecke + QPoint(kLinksTwips / kTwipsProPixel, kObenTwips / kTwipsProPixel));
    }
    m_platziert = true;
    QWidget::showEvent(ereignis);
}

} // namespace zanti

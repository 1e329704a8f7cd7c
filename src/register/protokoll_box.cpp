#include "register/protokoll_box.h"

#include "model/protokoll.h"

#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <cmath>

namespace zanti {

namespace {

QString AnzeigeText(QString text)
{
    if (text.endsWith(QStringLiteral("\r\n")))
        text.chop(2);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

constexpr int kZeilenJeSchritt = 2000;
constexpr qreal kMindestPixel = 11;

// Index of the line break after the first n lines, or -1 when there are
// no more than n lines from position ab.
qsizetype NachZeilen(const QString &text, qsizetype ab, int n)
{
    for (qsizetype i = ab; i < text.size(); ++i) {
        if (text.at(i) == u'\n' && --n == 0)
            return i;
    }
    return -1;
}

} // namespace

ProtokollBox::ProtokollBox(QWidget *eltern)
    : QPlainTextEdit(eltern)
{
    setObjectName(QStringLiteral("Protokoll"));
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFocusPolicy(Qt::NoFocus);
    setTextInteractionFlags(Qt::NoTextInteraction);
    m_nachladen.setInterval(0);
    connect(&m_nachladen, &QTimer::timeout, this, &ProtokollBox::restAnhaengen);
}

void ProtokollBox::zeigen(const Protokoll &protokoll)
{
    connect(&protokoll, &QAbstractItemModel::modelReset, this,
            [this, &protokoll] { textSetzen(protokoll.text()); });
    connect(&protokoll, &QAbstractItemModel::rowsInserted, this,
            [this, &protokoll] { zeileVoranstellen(protokoll.zeile(0) + QStringLiteral("\r\n")); });
    textSetzen(protokoll.text());
}

void ProtokollBox::textSetzen(const QString &text)
{
    m_leer = text.isEmpty();
    m_rest = AnzeigeText(text);
    m_restPos = 0;
    const qsizetype schnitt = NachZeilen(m_rest, 0, kZeilenJeSchritt);
    setPlainText(schnitt < 0 ? m_rest : m_rest.left(schnitt));
    if (schnitt < 0) {
        m_rest.clear();
        m_nachladen.stop();
    } else {
        m_restPos = schnitt + 1;
        m_nachladen.start();
    }
}

void ProtokollBox::restAnhaengen()
{
    const qsizetype schnitt = NachZeilen(m_rest, m_restPos, kZeilenJeSchritt);
    const qsizetype ende = schnitt < 0 ? m_rest.size() : schnitt;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(u'\n' + QStringView(m_rest).mid(m_restPos, ende - m_restPos).toString());
    if (schnitt < 0) {
        m_rest.clear();
        m_nachladen.stop();
    } else {
        m_restPos = schnitt + 1;
    }
}

void ProtokollBox::zeileVoranstellen(const QString &zeile)
{
    const bool warLeer = m_leer;
    m_leer = false;
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    const QString anzeige = AnzeigeText(zeile);
    cursor.insertText(warLeer ? anzeige : anzeige + u'\n');
    verticalScrollBar()->setValue(0);
}

QString ProtokollBox::Musterzeile()
{
    // A five-figure line number, the void of ten units of an article of 25
    // characters at a four-figure amount.
    return QStringLiteral("12345 23:59:59  10 x 1234567890123456789012345   -1000,00 Storno");
}

void ProtokollBox::resizeEvent(QResizeEvent *ereignis)
{
    QPlainTextEdit::resizeEvent(ereignis);
    schriftAnpassen();
}

void ProtokollBox::schriftAnpassen()
{
    // The vertical scroll bar is counted as present: it comes with the
    // protocol's growth, and must not push the line's end out then.
    const qreal platz = contentsRect().width() - verticalScrollBar()->sizeHint().width()
                        - 2 * document()->documentMargin() - cursorWidth() - 1;
    const QString muster = Musterzeile();
    // The design gives the box little width for its 64 characters, so the
    // size goes in quarter pixels rather than whole ones.
    const qreal punktJePixel = 72.0 / logicalDpiY();
    QFont schrift = font();
    // Narrower letters read better than smaller ones.
    schrift.setStretch(QFont::Condensed);
    schrift.setPointSizeF(10 * punktJePixel);
    // Widths grow about in proportion: start just above, then step down.
    qreal pixel = std::floor(10 * platz / QFontMetricsF(schrift).horizontalAdvance(muster)) + 1;
    for (; pixel > kMindestPixel; pixel -= 0.25) {
        schrift.setPointSizeF(pixel * punktJePixel);
        if (QFontMetricsF(schrift).horizontalAdvance(muster) <= platz)
            break;
    }
    // Below a size an operator can read at arm's length, the font stays
    // readable and only the longest lines go on in a second row.
    const bool umbrechen = pixel <= kMindestPixel;
    if (umbrechen)
        schrift.setPointSizeF(kMindestPixel * punktJePixel);
    setLineWrapMode(umbrechen ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    if (schrift != font())
        setFont(schrift);
}

void ProtokollBox::mousePressEvent(QMouseEvent *ereignis)
{
    emit geklickt();
    QPlainTextEdit::mousePressEvent(ereignis);
}

} // namespace zanti

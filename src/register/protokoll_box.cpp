#include "register/protokoll_box.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QScrollBar>

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

void ProtokollBox::textSetzen(const QString &text)
{
    m_text = text;
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
    const bool warLeer = m_text.isEmpty();
    m_text.prepend(zeile);
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    const QString anzeige = AnzeigeText(zeile);
    cursor.insertText(warLeer ? anzeige : anzeige + u'\n');
    verticalScrollBar()->setValue(0);
}

void ProtokollBox::mousePressEvent(QMouseEvent *ereignis)
{
    emit geklickt();
    QPlainTextEdit::mousePressEvent(ereignis);
}

} // namespace zanti

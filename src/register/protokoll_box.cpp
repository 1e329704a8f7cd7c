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
}

void ProtokollBox::textSetzen(const QString &text)
{
    m_text = text;
    setPlainText(AnzeigeText(text));
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

#include "register/tastenabfrage.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QWindow>

namespace zanti {

namespace {

// The file dialog is the desktop's, not one of the register's windows: there
// ESC cancels it and the other keys do what they do everywhere. A key reaches
// the filter first for the native window, then for the widget.
bool ImDateidialog(QObject *objekt)
{
    const QWidget *widget = qobject_cast<QWidget *>(objekt);
    if (const auto *fenster = qobject_cast<QWindow *>(objekt)) {
        for (const QWidget *oben : QApplication::topLevelWidgets()) {
            if (oben->windowHandle() == fenster)
                widget = oben;
        }
    }
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<const QFileDialog *>(widget))
            return true;
    }
    return false;
}

} // namespace

Tastenabfrage::Tastenabfrage(QObject *eltern) : QObject(eltern)
{
    QCoreApplication::instance()->installEventFilter(this);
}

Tastenabfrage::~Tastenabfrage()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool Tastenabfrage::abgefragt(int taste)
{
    switch (taste) {
    case Qt::Key_Escape:
    case Qt::Key_F1: case Qt::Key_F2: case Qt::Key_F3: case Qt::Key_F4:
    case Qt::Key_F5: case Qt::Key_F6: case Qt::Key_F7: case Qt::Key_F8: case Qt::Key_F9:
    case Qt::Key_F10: case Qt::Key_F11: case Qt::Key_F12:
        return true;
    default:
        return false;
    }
}

bool Tastenabfrage::gedrueckt(Qt::Key taste)
{
    return m_gedrueckt.remove(taste);
}

bool Tastenabfrage::eventFilter(QObject *objekt, QEvent *ereignis)
{
    const QEvent::Type art = ereignis->type();
    if (art != QEvent::KeyPress && art != QEvent::KeyRelease && art != QEvent::ShortcutOverride)
        return QObject::eventFilter(objekt, ereignis);
    auto *taste = static_cast<QKeyEvent *>(ereignis);
    if (!abgefragt(taste->key()) || ImDateidialog(objekt))
        return QObject::eventFilter(objekt, ereignis);
    // Accepted, no shortcut of a dialog claims the key; a held key acts once.
    ereignis->accept();
    if (art == QEvent::KeyPress && !taste->isAutoRepeat())
        m_gedrueckt.insert(taste->key());
    return true;
}

} // namespace zanti

// A finger for the installed register, loaded into its own process with
// LD_PRELOAD (the fresh-root check, scripts/paket-pruefen.sh): it taps the
// keys named in ZANTI_KLICKS one after another, "ESC" presses ESC, and it
// answers every message box with OK after writing its text to stderr, as an
// operator reads it. Nothing of it is in the package.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include <cstdio>

namespace {

QStringList g_schritte;

QWidget *Kasse()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == u"Kasse" && w->isVisible())
            return w;
    return nullptr;
}

void Tippen(QAbstractButton *taste)
{
    const QPointF mitte = QRectF(taste->rect()).center();
    const QPointF global = taste->mapToGlobal(mitte);
    QMouseEvent druck(QEvent::MouseButtonPress, mitte, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent los(QEvent::MouseButtonRelease, mitte, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(taste, &druck);
    QApplication::sendEvent(taste, &los);
}

void Schritt()
{
    QWidget *kasse = Kasse();
    if (!kasse)
        return;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (box && box->isVisible()) {
            std::fprintf(stderr, "klicker: Meldung: %s\n", qPrintable(box->text()));
            Tippen(box->button(QMessageBox::Ok));
            return;
        }
    }
    if (g_schritte.isEmpty())
        return;
    const QString schritt = g_schritte.takeFirst();
    std::fprintf(stderr, "klicker: %s\n", qPrintable(schritt));
    if (schritt == u"ESC") {
        QKeyEvent druck(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QKeyEvent los(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(kasse, &druck);
        QApplication::sendEvent(kasse, &los);
        return;
    }
    auto *taste = kasse->findChild<QAbstractButton *>(schritt);
    if (!taste || !taste->isEnabled()) {
        std::fprintf(stderr, "klicker: keine Taste %s\n", qPrintable(schritt));
        g_schritte.prepend(schritt); // "=" waits for the booking to show
        return;
    }
    Tippen(taste);
}

void Beginnen()
{
    g_schritte = qEnvironmentVariable("ZANTI_KLICKS").split(u' ', Qt::SkipEmptyParts);
    auto *takt = new QTimer(qApp);
    QObject::connect(takt, &QTimer::timeout, qApp, &Schritt);
    takt->start(400);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(Beginnen)

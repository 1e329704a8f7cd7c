#include "app/nach_dem_start.h"

#include "register/meldung.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace zanti {

void NachDemStart(bool vollbild, const QString &hinweis)
{
    if (!vollbild && hinweis.isEmpty())
        return;
    QTimer::singleShot(0, qApp, [vollbild, hinweis] {
        const QWidgetList fenster = QApplication::topLevelWidgets();
        const auto kasse = std::find_if(fenster.cbegin(), fenster.cend(), [](const QWidget *w) {
            return w->objectName() == u"Kasse";
        });
        if (kasse == fenster.cend())
            return;
        if (vollbild)
            (*kasse)->showFullScreen();
        if (!hinweis.isEmpty())
            Meldung(*kasse, hinweis);
    });
}

} // namespace zanti

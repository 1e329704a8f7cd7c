// A remote for the real program in tests, never part of the product. Qt
// loads it into Zanti as a generic plugin when the environment says
//   QT_PLUGIN_PATH=<build>/testplugins  QT_QPA_GENERIC_PLUGINS=zantifern:STEPS
// and it then does what a person at the register would do. Once the window
// "Kasse" is up it prints "BEREIT" on stdout and runs STEPS, separated by
// commas: "esc" presses ESC, "doppelklick:NAME" and "klick:NAME" click the
// control of that name, "schliessen" closes the window as the window manager
// does. Every message box that opens is printed ("MELDUNG " and its text)
// and answered with OK, as the person would read and press it.
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace {

void Ausgeben(const QString &zeile)
{
    std::fputs(qPrintable(zeile + u'\n'), stdout);
    std::fflush(stdout);
}

class Fernbedienung : public QObject
{
    Q_OBJECT

public:
    explicit Fernbedienung(const QString &schritte)
        : m_schritte(schritte.split(u',', Qt::SkipEmptyParts))
    {
        connect(&m_takt, &QTimer::timeout, this, &Fernbedienung::schauen);
        m_takt.start(20);
    }

private:
    void schauen()
    {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()
                && !box->property("zantifern").toBool()) {
                box->setProperty("zantifern", true);
                Ausgeben(u"MELDUNG "_qs + box->text());
                if (QAbstractButton *ok = box->button(QMessageBox::Ok))
                    QTest::mouseClick(ok, Qt::LeftButton);
                return;
            }
            if (!m_kasse && w->objectName() == u"Kasse" && w->isVisible()) {
                m_kasse = w;
                Ausgeben(u"BEREIT"_qs);
            }
        }
        // One step a tick, so the register's timer sees each press on its own.
        if (m_kasse && !m_schritte.isEmpty())
            schritt(m_schritte.takeFirst());
    }

    void schritt(const QString &text)
    {
        const QString art = text.section(u':', 0, 0);
        const QString name = text.section(u':', 1);
        QWidget *ziel = name.isEmpty() ? m_kasse.data() : m_kasse->findChild<QWidget *>(name);
        if (!ziel) {
            Ausgeben(u"FEHLT "_qs + text);
            return;
        }
        if (art == u"esc")
            QTest::keyClick(ziel, Qt::Key_Escape);
        else if (art == u"klick")
            QTest::mouseClick(ziel, Qt::LeftButton);
        else if (art == u"doppelklick")
            QTest::mouseDClick(ziel, Qt::LeftButton);
        else if (art == u"schliessen")
            ziel->windowHandle()->close();
        else
            Ausgeben(u"FEHLT "_qs + text);
    }

    QStringList m_schritte;
    QTimer m_takt;
    QPointer<QWidget> m_kasse;
};

} // namespace

class FernbedienungPlugin : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "fernbedienung.json")

public:
    QObject *create(const QString &name, const QString &schritte) override
    {
        return name.compare(u"zantifern", Qt::CaseInsensitive) == 0 ? new Fernbedienung(schritte)
                                                                      : nullptr;
    }
};

#include "fernbedienung.moc"

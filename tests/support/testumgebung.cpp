#include "support/testumgebung.h"

#include "support/testdaten.h"

#include "core/text_helfer.h"
#include "register/meldung.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QWidget>

namespace zanti::test {

Meldungsrekorder::Meldungsrekorder()
{
    MeldungsAnzeigeSetzen([this](QWidget *, const QString &text, const QString &titel, NachOk nachOk) {
        meldungen.append({text, titel});
        if (nachOk)
            nachOk();
    });
}

Meldungsrekorder::~Meldungsrekorder()
{
    MeldungsAnzeigeSetzen({});
}

QStringList Meldungsrekorder::texte() const
{
    QStringList t;
    for (const auto &m : meldungen)
        t << m.text;
    return t;
}

QStringList Meldungsrekorder::ersteZeilen() const
{
    QStringList zeilen;
    for (const QString &text : texte())
        zeilen << text.section(u'\n', 0, 0);
    return zeilen;
}

ModalWaechter::ModalWaechter()
{
    m_timer.setInterval(200);
    QObject::connect(&m_timer, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            const QString name = modal->objectName() + u' ' + modal->windowTitle();
            modal->close();
            QFAIL(qPrintable(u"unexpected modal window: "_qs + name));
        }
    });
    m_timer.start();
}

QString BuildOrdner()
{
    const QString ordner = qEnvironmentVariable("ZANTI_BUILD_DIR");
    return ordner.isEmpty() ? QDir::currentPath() : ordner;
}

} // namespace zanti::test

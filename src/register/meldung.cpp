#include "register/meldung.h"

#include <QApplication>
#include <QMessageBox>

namespace zanti {

namespace {

MeldungsAnzeige &Anzeige()
{
    static MeldungsAnzeige anzeige;
    return anzeige;
}

void Nachrichtenfenster(QWidget *eltern, const QString &text, const QString &titel, NachOk nachOk)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, titel, text, QMessageBox::Ok, eltern);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(eltern ? Qt::WindowModal : Qt::ApplicationModal);
    if (nachOk)
        QObject::connect(box, &QMessageBox::finished, box, [nachOk](int) { nachOk(); });
    box->open();
}

} // namespace

void Meldung(QWidget *eltern, const QString &text, const QString &titel, NachOk nachOk)
{
    const QString titelText = titel.isEmpty() ? QCoreApplication::applicationName() : titel;
    if (Anzeige())
        Anzeige()(eltern, text, titelText, std::move(nachOk));
    else
        Nachrichtenfenster(eltern, text, titelText, std::move(nachOk));
}

void Piep()
{
    QApplication::beep();
}

void MeldungsAnzeigeSetzen(MeldungsAnzeige anzeige)
{
    Anzeige() = std::move(anzeige);
}

} // namespace zanti

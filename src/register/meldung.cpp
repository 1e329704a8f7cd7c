#include "register/meldung.h"

#include "register/entwurfsflaeche.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zanti {

namespace {

// At scale 1; the OK button is then the size of a small register key.
constexpr int kSchriftPx = 16;
constexpr int kKnopfBreite = 1800;
constexpr int kKnopfHoehe = 720;

MeldungsAnzeige &Anzeige()
{
    static MeldungsAnzeige anzeige;
    return anzeige;
}

void Nachrichtenfenster(QWidget *eltern, const QString &text, const QString &titel, NachOk nachOk)
{
    QMessageBox *box = Meldungsfenster(eltern, text, titel);
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

QMessageBox *Meldungsfenster(QWidget *eltern, const QString &text, const QString &titel)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, titel, text, QMessageBox::Ok, eltern);
    const qreal massstab = RegisterMassstab(eltern);
    QFont schrift = box->font();
    schrift.setPixelSize(SchriftPixel(kSchriftPx, massstab));
    box->setFont(schrift);
    box->button(QMessageBox::Ok)->setMinimumSize(Skaliert(kKnopfBreite, massstab),
                                                  Skaliert(kKnopfHoehe, massstab));
    return box;
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

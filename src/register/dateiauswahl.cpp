#include "register/dateiauswahl.h"

#include "register/entwurfsflaeche.h"

#include <QAbstractItemView>
#include <QFileDialog>
#include <QPushButton>
#include <QScroller>
#include <QToolButton>

namespace zanti {

namespace {

// At scale 1: most of the board, rows and buttons a finger hits.
constexpr int kBreite = 10800;
constexpr int kHoehe = 7800;
constexpr int kSchriftPx = 16;
constexpr int kZeilensymbol = 480;
constexpr int kKnopfHoehe = 720;
constexpr int kKnopfBreite = 1800;
constexpr int kOrteBreite = 2400;

Dateiauswahl &Ersatz()
{
    static Dateiauswahl ersatz;
    return ersatz;
}

} // namespace

void DateiWaehlen(QWidget *eltern, Dateimodus modus, const QString &startordner,
                  const QString &filter, NachWahl nachWahl)
{
    if (Ersatz()) {
        Ersatz()(eltern, modus, startordner, filter, std::move(nachWahl));
        return;
    }
    QFileDialog *dialog = DateiFenster(eltern, modus, startordner, filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, nachWahl](int ergebnis) {
        const QStringList gewaehlt = dialog->selectedFiles();
        nachWahl(ergebnis == QDialog::Accepted && !gewaehlt.isEmpty() ? gewaehlt.first() : QString());
    });
    dialog->open();
}

QFileDialog *DateiFenster(QWidget *eltern, Dateimodus modus, const QString &startordner,
                         const QString &filter)
{
    auto *dialog = new QFileDialog(eltern, {}, startordner, filter);
    // The desktop's own dialog would ignore the sizes below.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(modus == Dateimodus::Speichern ? QFileDialog::AcceptSave
                                                         : QFileDialog::AcceptOpen);
    dialog->setFileMode(modus == Dateimodus::Speichern ? QFileDialog::AnyFile
                        : modus == Dateimodus::Ordner  ? QFileDialog::Directory
                                                       : QFileDialog::ExistingFile);
    if (modus == Dateimodus::Ordner)
        dialog->setOption(QFileDialog::ShowDirsOnly);
    // The register speaks German whatever translations the machine has.
    dialog->setWindowTitle(modus == Dateimodus::Speichern ? u"Tasten speichern"_qs
                           : modus == Dateimodus::Ordner  ? u"Ordner für die Abrechnung"_qs
                                                          : u"Tasten laden"_qs);
    dialog->setLabelText(QFileDialog::LookIn, u"Ordner:"_qs);
    dialog->setLabelText(QFileDialog::FileName, u"Dateiname:"_qs);
    dialog->setLabelText(QFileDialog::FileType, u"Dateityp:"_qs);
    dialog->setLabelText(QFileDialog::Accept,
                         modus == Dateimodus::Oeffnen ? u"Öffnen"_qs : u"Speichern"_qs);
    dialog->setLabelText(QFileDialog::Reject, u"Abbrechen"_qs);

    const qreal massstab = RegisterMassstab(eltern);
    QFont schrift = dialog->font();
    schrift.setPixelSize(SchriftPixel(kSchriftPx, massstab));
    dialog->setFont(schrift);
    dialog->resize(Skaliert(kBreite, massstab), Skaliert(kHoehe, massstab));
    // Names only: the list of a few layout files needs no columns of sizes
    // and dates that would squeeze the names.
    dialog->setViewMode(QFileDialog::List);
    const int knopfHoehe = Skaliert(kKnopfHoehe, massstab);
    for (QPushButton *knopf : dialog->findChildren<QPushButton *>())
        knopf->setMinimumSize(Skaliert(kKnopfBreite, massstab), knopfHoehe);
    const int symbol = Skaliert(kZeilensymbol, massstab);
    for (QToolButton *knopf : dialog->findChildren<QToolButton *>()) {
        knopf->setIconSize({symbol, symbol});
        knopf->setFixedSize(knopfHoehe, knopfHoehe);
    }
    if (auto *orte = dialog->findChild<QWidget *>(QStringLiteral("sidebar")))
        orte->setMinimumWidth(Skaliert(kOrteBreite, massstab));
    for (QAbstractItemView *liste : dialog->findChildren<QAbstractItemView *>()) {
        // Tall rows, and a finger drags the list instead of hunting the scroll bar.
        liste->setIconSize({symbol, symbol});
        QScroller::grabGesture(liste->viewport(), QScroller::LeftMouseButtonGesture);
    }
    return dialog;
}

void DateiauswahlSetzen(Dateiauswahl auswahl)
{
    Ersatz() = std::move(auswahl);
}

} // namespace zanti

#include "register/dateiauswahl.h"

#include <QFileDialog>

namespace zanti {

namespace {

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
    auto *dialog = new QFileDialog(eltern, {}, startordner, filter);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(modus == Dateimodus::Speichern ? QFileDialog::AcceptSave
                                                         : QFileDialog::AcceptOpen);
    dialog->setFileMode(modus == Dateimodus::Speichern ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, nachWahl](int ergebnis) {
        const QStringList gewaehlt = dialog->selectedFiles();
        nachWahl(ergebnis == QDialog::Accepted && !gewaehlt.isEmpty() ? gewaehlt.first() : QString());
    });
    dialog->open();
}

void DateiauswahlSetzen(Dateiauswahl auswahl)
{
    Ersatz() = std::move(auswahl);
}

} // namespace zanti

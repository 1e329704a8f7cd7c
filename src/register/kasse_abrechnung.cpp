// The statement buttons of set-up mode: today's statement of this register's
// journal as PDF and CSV, into abrechnungen/ of the program folder or into a
// folder the operator picks (a USB stick). They stand in the left column,
// where the quantity frame is, which set-up mode hides; the function row has
// no free place.
#include "abrechnung/abrechnung_dateien.h"
#include "register/dateiauswahl.h"
#include "register/entwurfsflaeche.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"

#include <QDateTime>
#include <QDir>

namespace zanti {

namespace {

constexpr qint64 kGruen = 65280;

// Where a stick appears on a Linux desktop; the home folder elsewhere.
QString StickOrdner()
{
    for (const QString &ort : {u"/media"_qs, u"/run/media"_qs}) {
        if (QDir(ort).exists())
            return ort;
    }
    return QDir::homePath();
}

} // namespace

void Kasse::abrechnungTastenAnlegen()
{
    m_abrechnung = taste(u"AbrechnungButton"_qs, {120, 5760, 1755, 615}, u"Abrechnung heute"_qs, 11);
    m_abrechnungStick = taste(u"AbrechnungStickButton"_qs, {1980, 5760, 1755, 615}, u"Abrechnung auf Stick"_qs, 11);
    for (KassenTaste *knopf : {m_abrechnung, m_abrechnungStick}) {
        knopf->farbeSetzen(FarbeAusNummer(kGruen, QColor()));
        knopf->hide();
    }
    connect(m_abrechnung, &QPushButton::clicked, this, &Kasse::AbrechnungButton_Click);
    connect(m_abrechnungStick, &QPushButton::clicked, this, &Kasse::AbrechnungStickButton_Click);
}

void Kasse::AbrechnungButton_Click()
{
    abrechnungSchreiben(QDir(m_ordner).filePath(u"abrechnungen"_qs));
}

void Kasse::AbrechnungStickButton_Click()
{
    DateiWaehlen(this, Dateimodus::Ordner, StickOrdner(), {}, [this](const QString &ordner) {
        if (!ordner.isEmpty())
            abrechnungSchreiben(ordner);
    });
}

void Kasse::abrechnungSchreiben(const QString &zielOrdner)
{
    if (!m_zustand.Einstellmodus)
        return;
    QString fehler;
    const std::optional<AbrechnungsDateien> dateien =
        TagesabrechnungSchreiben(m_ordner, zielOrdner, QDateTime::currentDateTime(), fehler);
    if (!dateien) {
        Meldung(this, fehler, u"Fehler"_qs);
        return;
    }
    Meldung(this, u"Die Abrechnung von heute ist gespeichert:\n%1\n%2"_qs.arg(QDir::toNativeSeparators(dateien->pdf),
                                                                             QDir::toNativeSeparators(dateien->csv)));
}

} // namespace zanti

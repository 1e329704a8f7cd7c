// Article keys: their captions and colours, the key editor of set-up mode and
// the key-layout files.
#include "model/tasten_ansicht.h"
#include "register/dateiauswahl.h"
#include "register/entwurfsflaeche.h"
#include "register/kasse.h"
#include "register/kassen_taste.h"
#include "register/meldung.h"

#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>

namespace zanti {

namespace {

const QString kLayoutFilter = QStringLiteral("Zantidateien (*.bon);;Inidateien (*.ini)");

} // namespace

void Kasse::TastenBeschriften()
{
    const JeTaste<TastenAnsicht> ansicht = ArtikelTastenAnsicht(m_zustand.Tasten, m_zustand.Einstellmodus);
    for (int i = 1; i <= kArtikelTasten; ++i) {
        if (ansicht[i].aktiv)
            m_artikel[i]->setEnabled(*ansicht[i].aktiv);
        m_artikel[i]->beschriftungSetzen(ansicht[i].beschriftung);
        if (ansicht[i].farbe)
            m_artikel[i]->farbeSetzen(FarbeAusNummer(*ansicht[i].farbe, QColor()));
    }
}

void Kasse::editorZeigen(bool sichtbar)
{
    for (QWidget *w : {static_cast<QWidget *>(m_editorEtiketten[0]), static_cast<QWidget *>(m_editorEtiketten[1]),
                       static_cast<QWidget *>(m_editorEtiketten[2]), static_cast<QWidget *>(m_uebernahme)})
        w->setVisible(sichtbar);
    for (KassenTaste *farbe : m_farbTasten)
        farbe->setVisible(sichtbar);
    if (!sichtbar && !m_editorFelder[0])
        return;
    for (QLineEdit *feld : editorFelder()) {
        feld->setVisible(sichtbar);
        if (sichtbar)
            feld->raise();
    }
}

void Kasse::editorOeffnen(int k)
{
    const std::array<QLineEdit *, 3> &felder = editorFelder();
    felder[0]->setText(m_zustand.Tasten.ArtikelText[k]);
    felder[1]->setText(m_zustand.Tasten.ArtikelPreis[k]);
    felder[2]->setText(m_zustand.Tasten.ArtikelFarbe[k]);
    const QColor farbe = FarbeAusNummer(Farbnummer(m_zustand.Tasten.ArtikelFarbe[k]).value_or(0x8000000F),
                                        QColor());
    felder[2]->setStyleSheet(farbe.isValid()
                                 ? u"QLineEdit { background: %1; }"_qs.arg(farbe.name())
                                 : QString());
    editorZeigen(true);
}

void Kasse::editorUebernehmen()
{
    const int k = m_zustand.Taste;
    if (k < 1 || k > kArtikelTasten)
        return;
    const std::array<QLineEdit *, 3> &felder = editorFelder();
    QLineEdit *text2 = felder[1];
    // Refused text stays in the fields, for the operator to mend.
    if (!m_modell->TasteAendern(k, felder[0]->text(), text2->text(), felder[2]->text()))
        return;
    // Empty fields show what was stored for them; a price keeps its typing.
    felder[0]->setText(m_zustand.Tasten.ArtikelText[k]);
    if (text2->text().isEmpty())
        text2->setText(u" "_qs);
    felder[2]->setText(m_zustand.Tasten.ArtikelFarbe[k]);
}

bool Kasse::eventFilter(QObject *objekt, QEvent *ereignis)
{
    // Focus on a field of the key editor selects its whole text.
    if (anzeigeGeste(objekt, ereignis))
        return true;
    if (objekt == m_raster
        && (ereignis->type() == QEvent::FontChange || ereignis->type() == QEvent::Resize))
        rasterSpaltenBreiten();
    if (ereignis->type() == QEvent::FocusIn) {
        for (QLineEdit *feld : m_editorFelder) {
            if (objekt == feld)
                QTimer::singleShot(0, feld, &QLineEdit::selectAll);
        }
    }
    return QMainWindow::eventFilter(objekt, ereignis);
}

void Kasse::LadenButton_Click()
{
    DateiWaehlen(this, Dateimodus::Oeffnen, m_ordner, kLayoutFilter, [this](const QString &pfad) {
        if (pfad.isEmpty())
            return;
        m_modell->TastenLadenAus(pfad);
    });
}

void Kasse::SpeichernButton_Click()
{
    DateiWaehlen(this, Dateimodus::Speichern, m_ordner, kLayoutFilter, [this](const QString &pfad) {
        if (pfad.isEmpty())
            return;
        // Saved once, on request: the operator must choose another place.
        if (!m_modell->TastenSpeichernUnter(pfad))
            Meldung(this, u"Die Tastenbelegung konnte nicht in der Datei %1 gespeichert werden."_qs
                              .arg(QFileInfo(pfad).fileName()),
                    u"Fehler"_qs);
    });
}

} // namespace zanti

#include "persistence/bonkopf.h"

#include "persistence/datei.h"
#include "persistence/geld.h"
#include "persistence/ini_datei.h"
#include "register/meldung.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zanti {

namespace {

constexpr int kDialogPuffer = 30;
constexpr int kTwipsProPx = 15;
constexpr int kSchriftPx = 20;       // readable at arm's length
constexpr int kFeldHoehe = 48;       // a finger hits a field
constexpr int kKnopfHoehe = 60;
constexpr int kKnopfBreite = 180;

const QString kDateiname = QStringLiteral("bonkopf.ini");

QLineEdit *Feld(const QString &name, QWidget *eltern)
{
    auto *feld = new QLineEdit(eltern);
    feld->setObjectName(name);
    feld->setMinimumHeight(kFeldHoehe);
    return feld;
}

QPushButton *Knopf(const QString &name, const QString &text, QWidget *eltern)
{
    auto *knopf = new QPushButton(text, eltern);
    knopf->setObjectName(name);
    knopf->setMinimumSize(kKnopfBreite, kKnopfHoehe);
    return knopf;
}

} // namespace

Bonkopf::Bonkopf(const QString &programmordner, Kopfzeilen &kopfzeile, int &bonImageNr,
                 QWidget *hauptfenster)
    : QWidget(hauptfenster, Qt::Dialog)
    , m_pfad(ProgrammDatei(programmordner, kDateiname))
    , m_kopfzeile(kopfzeile)
    , m_bonImageNr(bonImageNr)
{
    setObjectName(QStringLiteral("Bonkopf"));
    setWindowTitle(QStringLiteral("Bonkopfeinstellung"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont schrift = font();
    schrift.setPixelSize(kSchriftPx);
    setFont(schrift);

    auto *spalte = new QVBoxLayout(this);
    spalte->setSpacing(10);
    for (int i = 1; i <= 4; ++i) {
        m_text[i] = Feld(QStringLiteral("Text%1").arg(i), this);
        // A head line is printed 42 characters wide.
        m_text[i]->setMinimumWidth(fontMetrics().horizontalAdvance(QString(42, u'M')) * 3 / 4);
        spalte->addWidget(m_text[i]);
    }

    auto *logoZeile = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("Bonkopf Logo Nr."), this);
    label->setObjectName(QStringLiteral("Label2"));
    m_logo = Feld(QStringLiteral("Text5"), this);
    m_logo->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 24);
    label->setBuddy(m_logo);
    logoZeile->addWidget(label);
    logoZeile->addWidget(m_logo);
    logoZeile->addStretch();
    spalte->addLayout(logoZeile);

    auto *knoepfe = new QHBoxLayout;
    auto *ok = Knopf(QStringLiteral("OKButton"), QStringLiteral("OK"), this);
    auto *abbrechen = Knopf(QStringLiteral("CancelButton"), QStringLiteral("Abbrechen"), this);
    knoepfe->addStretch();
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    spalte->addLayout(knoepfe);

    connect(ok, &QPushButton::clicked, this, &Bonkopf::uebernehmen);
    connect(abbrechen, &QPushButton::clicked, this, &QWidget::close);

    // The file is the truth: what an earlier OK saved is what is shown.
    const Kopfzeilen gelesen = KopfzeilenLesen(IniDatei::Laden(m_pfad), kDialogPuffer);
    for (int i = 1; i <= 4; ++i) {
        m_kopfzeile[i] = gelesen[i];
        m_text[i]->setText(gelesen[i]);
    }
    m_logo->setText(QString::number(m_bonImageNr));

    if (hauptfenster) {
        move(hauptfenster->frameGeometry().topLeft()
             + QPoint(kAbstandX / kTwipsProPx, kAbstandY / kTwipsProPx));
    }
}

void Bonkopf::uebernehmen()
{
    // Checked first, so that a typing error changes nothing at all.
    const QString logoText = m_logo->text().isEmpty() ? QStringLiteral("0") : m_logo->text();
    const std::optional<int> logo = GanzzahlLesen(logoText);
    if (!logo) {
        Meldung(this, QStringLiteral("Bitte nur Zahlen eingeben."), QStringLiteral("Fehler"));
        return;
    }

    for (int i = 1; i <= 4; ++i) {
        if (m_text[i]->text().isEmpty())
            m_text[i]->setText(QStringLiteral(" "));
        m_kopfzeile[i] = m_text[i]->text();
    }
    m_logo->setText(logoText);
    m_bonImageNr = *logo;

    IniDatei ini = IniDatei::Laden(m_pfad);
    KopfzeilenSchreiben(ini, m_kopfzeile);
    if (!ini.speichern()) {
        // The lines stay in memory and go to the printer all the same; the
        // message belongs to the main window because this one closes now.
        Meldung(parentWidget(), QStringLiteral("Die Datei bonkopf.ini konnte nicht gespeichert werden."),
                QStringLiteral("Fehler"));
    }
    close();
}

} // namespace zanti

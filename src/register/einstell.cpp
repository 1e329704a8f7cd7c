#include "register/einstell.h"

#include "model/drucker_dienst.h"
#include "register/entwurfsflaeche.h"
#include "register/meldung.h"
#include "register/rahmen.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zanti {

namespace {

// From the register window's corner: below the row of function buttons.
constexpr int kLinksTwips = 5400;
constexpr int kObenTwips = 2160;

} // namespace

Einstell::Einstell(const QString &einstellung6, QWidget *eltern)
    : QDialog(eltern)
{
    setObjectName(QStringLiteral("Einstell"));
    setWindowTitle(QStringLiteral("Druckerschnittstelle"));
    setModal(false);
    // Drawn in twips and scaled with the register, like every window of it.
    Fensterentwurf entwurf(this, {4680, 2760}, 16);

    auto *frame1 = new Rahmen(QStringLiteral("Serielle Schnittstelle Drucker "), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    entwurf.platzieren(frame1, {240, 120, 4200, 1320});

    auto *label1 = new QLabel(QStringLiteral("COM:"), frame1);
    label1->setObjectName(QStringLiteral("Label1"));
    entwurf.platzieren(label1, {360, 600, 840, 480});

    m_text1 = new QLineEdit(frame1);
    m_text1->setObjectName(QStringLiteral("Text1"));
    entwurf.platzieren(m_text1, {1320, 540, 1320, 600}, 20);

    auto *command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    entwurf.platzieren(command1, {240, 1680, 1920, 840});
    auto *command2 = new QPushButton(QStringLiteral("Abbruch"), this);
    command2->setObjectName(QStringLiteral("Command2"));
    entwurf.platzieren(command2, {2520, 1680, 1920, 840});
    entwurf.anwenden(eltern);
    entwurf.verschieben(eltern, {kLinksTwips, kObenTwips});
    // Typing stays in the field; Enter there means OK.
    for (QPushButton *b : {command1, command2})
        b->setFocusPolicy(Qt::NoFocus);
    command1->setDefault(true);
    command2->setAutoDefault(false);

    connect(command1, &QPushButton::clicked, this, &Einstell::ok);
    connect(command2, &QPushButton::clicked, this, &Einstell::reject);

    // Selected, so the first key typed replaces the old number.
    m_text1->setText(einstellung6);
    m_text1->selectAll();
    m_text1->setFocus();
}

void Einstell::ok()
{
    QString text = m_text1->text();
    const std::optional<int> nummer = DruckerDienst::PortEingabe(text);
    if (!nummer)
        return nurZahlen();
    if (text != m_text1->text())
        m_text1->setText(text);
    emit portGewaehlt(*nummer, text);
}

void Einstell::nichtGeoeffnet(const QString &meldung)
{
    Meldung(this, meldung);
}

void Einstell::nurZahlen()
{
    m_text1->setText(QStringLiteral("1"));
    m_text1->selectAll();
    Meldung(this, QStringLiteral("Bitte nur Zahlen eingeben."));
}

} // namespace zanti

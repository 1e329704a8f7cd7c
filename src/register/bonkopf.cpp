#include "register/bonkopf.h"

#include "register/entwurfsflaeche.h"
#include "register/meldung.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zanti {

namespace {

// Design in twips, scaled with the register: from its place to the board's
// lower right corner, fields a finger hits and a head line of 39 characters
// fits into.
constexpr int kBreite = 6960;
constexpr int kHoehe = 4800;
constexpr int kSchriftPx = 16;

} // namespace

Bonkopf::Bonkopf(const Kopfzeilen &kopfzeile, int bonImageNr, QWidget *hauptfenster)
    : QWidget(hauptfenster, Qt::Dialog)
{
    setObjectName(QStringLiteral("Bonkopf"));
    setWindowTitle(QStringLiteral("Bonkopfeinstellung"));
    setAttribute(Qt::WA_DeleteOnClose);
    Fensterentwurf entwurf(this, {kBreite, kHoehe}, kSchriftPx);
    for (int i = 1; i <= 4; ++i) {
        m_text[i] = new QLineEdit(this);
        m_text[i]->setObjectName(QStringLiteral("Text%1").arg(i));
        entwurf.platzieren(m_text[i], {120, 120 + (i - 1) * 660, kBreite - 240, 600});
    }

    auto *label = new QLabel(QStringLiteral("Bonkopf Logo Nr."), this);
    label->setObjectName(QStringLiteral("Label2"));
    entwurf.platzieren(label, {120, 2880, 2400, 600});
    m_logo = new QLineEdit(this);
    m_logo->setObjectName(QStringLiteral("Text5"));
    entwurf.platzieren(m_logo, {2640, 2880, 1200, 600});
    label->setBuddy(m_logo);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    entwurf.platzieren(ok, {kBreite - 4440, 3720, 2040, 900});
    auto *abbrechen = new QPushButton(QStringLiteral("Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("CancelButton"));
    entwurf.platzieren(abbrechen, {kBreite - 2280, 3720, 2040, 900});

    connect(ok, &QPushButton::clicked, this, [this] {
        Kopfzeilen kopfzeile;
        for (int i = 1; i <= 4; ++i)
            kopfzeile[i] = m_text[i]->text();
        emit uebernommen(kopfzeile, m_logo->text());
    });
    connect(abbrechen, &QPushButton::clicked, this, &QWidget::close);
    entwurf.anwenden(hauptfenster);
    entwurf.verschieben(hauptfenster, {kAbstandX, kAbstandY});

    for (int i = 1; i <= 4; ++i)
        m_text[i]->setText(kopfzeile[i]);
    m_logo->setText(QString::number(bonImageNr));
}

void Bonkopf::beantworten(const std::optional<QString> &fehler)
{
    if (fehler)
        Meldung(this, *fehler, QStringLiteral("Fehler"));
    else
        close();
}

} // namespace zanti

#include "register/anmeldung.h"

#include "register/kassen_taste.h"
#include "register/meldung.h"

#include <QLabel>
#include <QLineEdit>

namespace zanti {

namespace {

void Fett(QWidget *w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

// From the register window's corner.
constexpr int kLinksTwips = 4515;
constexpr int kObenTwips = 3375;

} // namespace

Anmeldung::Anmeldung(QWidget *kasse)
    : QWidget(kasse, Qt::Dialog), m_kasse(kasse), m_entwurf(this, {3885, 3015}, 14)
{
    setObjectName(QStringLiteral("Anmeldung"));
    setWindowTitle(QStringLiteral("Passworteingabe"));

    auto *label = new QLabel(QStringLiteral("&Kennwort:"), this);
    label->setObjectName(QStringLiteral("lblLabels"));
    m_entwurf.platzieren(label, {120, 300, 1050, 375});

    m_txtPassword = new QLineEdit(this);
    m_txtPassword->setObjectName(QStringLiteral("txtPassword"));
    // Large enough that every typed digit shows as a mark from arm's length.
    m_entwurf.platzieren(m_txtPassword, {1200, 240, 2565, 435}, 20);
    m_txtPassword->setEchoMode(QLineEdit::Password);
    m_txtPassword->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    label->setBuddy(m_txtPassword);
    connect(m_txtPassword, &QLineEdit::returnPressed, this, &Anmeldung::ok);

    // Two rows of five: 1 to 5, then 6 to 9 and 0.
    static constexpr int kLinks[] = {120, 840, 1560, 2280, 3000};
    for (int i = 1; i <= 10; ++i) {
        auto *knopf = new KassenTaste(QStringLiteral("Command%1").arg(i), this);
        const QString d = QString::number(i % 10);
        knopf->beschriftungSetzen(d);
        Fett(knopf);
        m_entwurf.platzieren(knopf, {kLinks[(i - 1) % 5], i <= 5 ? 840 : 1560, 735, 735}, 24);
        connect(knopf, &QPushButton::clicked, this, [this, d] { ziffer(d); });
    }

    const auto knopf = [this](const QString &name, const QString &text, const QRect &platz) {
        auto *k = new KassenTaste(name, this);
        k->beschriftungSetzen(text);
        Fett(k);
        m_entwurf.platzieren(k, platz, 16);
        return k;
    };
    connect(knopf(QStringLiteral("cmdOK"), QStringLiteral("OK"), QRect(120, 2280, 1455, 615)),
            &QPushButton::clicked, this, &Anmeldung::ok);
    connect(knopf(QStringLiteral("Command11"), QStringLiteral("C"), QRect(1560, 2280, 735, 615)),
            &QPushButton::clicked, m_txtPassword, &QLineEdit::clear);
    connect(knopf(QStringLiteral("cmdCancel"), QStringLiteral("Abbrechen"),
                  QRect(2280, 2280, 1455, 615)),
            &QPushButton::clicked, this, &Anmeldung::abbrechen);
    m_entwurf.anwenden(m_kasse);
}

void Anmeldung::zeigen()
{
    // The size follows the register at every showing; the place is taken
    // once, later showings stay there even if the register window has moved.
    m_entwurf.beimZeigen(m_kasse, {kLinksTwips, kObenTwips});
    show();
    raise();
    activateWindow();
    m_txtPassword->setFocus();
}

void Anmeldung::ziffer(const QString &d)
{
    m_txtPassword->setText(m_txtPassword->text() + d);
}

void Anmeldung::ok()
{
    emit kennwortEingegeben(m_txtPassword->text());
}

void Anmeldung::angenommen()
{
    m_txtPassword->clear();
    hide();
}

void Anmeldung::abgelehnt()
{
    Meldung(this, QStringLiteral("Ungültiges Kennwort. Bitte versuchen Sie es noch einmal!"),
            QStringLiteral("Anmeldung"), [this] { m_txtPassword->setFocus(); });
}

void Anmeldung::abbrechen()
{
    hide();
}

} // namespace zanti

#include "support/kassen_fixture.h"

#include "register/kassen_taste.h"

#include <QApplication>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

namespace zanti::test {

KassenFixture::KassenFixture()
{
    QStringList schnittstellen{u"[COM]"_qs};
    for (int i = 1; i <= 16; ++i)
        schnittstellen << u"COM%1=%2/kein-geraet-%1"_qs.arg(i).arg(ordner.pfad());
    ordner.schreibenZeilen(u"schnittstellen.ini"_qs, schnittstellen);
}

KassenFixture::~KassenFixture()
{
    m_kasse.reset();
}

void KassenFixture::starten(const Programmversion &version)
{
    m_kasse = std::make_unique<Kasse>(ordner.pfad(), version);
    m_kasse->resize(1024, 740);
    m_kasse->show();
}

KassenZustand &KassenFixture::zustandVonHand()
{
    return m_kasse->findChild<KassenModell *>()->zustand();
}

void KassenFixture::schliessen()
{
    m_kasse->close();
}

void KassenFixture::klicken(const QString &name)
{
    auto *knopf = finden<QAbstractButton>(name);
    QVERIFY2(knopf->isVisible() || !m_kasse->isVisible(), qPrintable(name + u" is hidden"_qs));
    QVERIFY2(knopf->isEnabled(), qPrintable(name + u" is disabled"_qs));
    QTest::mouseClick(knopf, Qt::LeftButton);
}

void KassenFixture::einstellen()
{
    // A widget sees a double click as a click and then the double click.
    QTest::mouseClick(finden(u"Label1_0"_qs), Qt::LeftButton);
    QTest::mouseDClick(finden(u"Label1_0"_qs), Qt::LeftButton);
    auto *feld = finden<QLineEdit>(u"txtPassword"_qs);
    feld->clear();
    QTest::keyClicks(feld, m_kasse->zustand().Einstellung.Passwort);
    klicken(u"cmdOK"_qs);
    QVERIFY(m_kasse->zustand().Einstellmodus);
}

QString KassenFixture::text(const QString &labelName) const
{
    return finden<QLabel>(labelName)->text();
}

QString KassenFixture::panel(int nummer) const
{
    return m_kasse->statusBar()->findChild<QLabel *>(u"Panel"_qs + QString::number(nummer))->text();
}

QString KassenFixture::tastenBeschriftung(int nummer) const
{
    return finden<KassenTaste>(u"Command"_qs + QString::number(nummer))->beschriftung();
}

bool KassenFixture::aktiv(const QString &name) const
{
    return finden(name)->isEnabled();
}

bool KassenFixture::sichtbar(const QString &name) const
{
    return finden(name)->isVisible();
}

QStringList KassenFixture::BeispielLayout()
{
    QStringList zeilen{u"[Artikel]"_qs};
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Getraenke%1=Artikel %1"_qs.arg(i);
    zeilen << u"[Preise]"_qs;
    for (int i = 1; i <= 35; ++i)
        zeilen << (i == 7 ? u"Preis7= "_qs : u"Preis%1=%1,00"_qs.arg(i));
    zeilen << u"[Farben]"_qs;
    for (int i = 1; i <= 35; ++i)
        zeilen << u"Farbe%1=%2"_qs.arg(i).arg(i % 2 ? 8454143 : 16777088);
    return zeilen;
}

} // namespace zanti::test

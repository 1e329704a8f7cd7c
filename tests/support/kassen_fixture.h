#pragma once
// A register window in a fresh program folder, driven like a person: click
// the buttons by name, read the labels, the status bar and the files.
#include "register/kasse.h"
#include "support/testumgebung.h"

#include <QLabel>
#include <memory>

namespace zanti::test {

class KassenFixture
{
public:
    // Without a printer: COM 1 to 16 name devices that do not exist. Files
    // of the folder can be laid out before starten().
    KassenFixture();
    ~KassenFixture();

    void starten(const Programmversion &version = {3, 3, 18, QStringLiteral("Zanti 2016")});
    // Closes the window as a person would; the shutdown runs.
    void schliessen();

    Kasse &kasse() { return *m_kasse; }
    // The model's state behind the window, for laying out what no tap
    // reaches in a few steps (a total given, a table number left over).
    KassenZustand &zustandVonHand();
    Programmordner ordner;
    Meldungsrekorder rekorder;

    void klicken(const QString &name);
    // Enters set-up mode as the operator does: a double click on the
    // display, the password of the settings, OK.
    void einstellen();
    QString text(const QString &labelName) const;
    QString panel(int nummer) const;
    QString tastenBeschriftung(int nummer) const;
    bool aktiv(const QString &name) const;
    bool sichtbar(const QString &name) const;
    template<typename T = QWidget>
    T *finden(const QString &name) const
    {
        T *w = m_kasse->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }

    // A standard key layout: key i sells "Artikel i" at i,00 (key 7 without
    // price), plus what the test adds.
    static QStringList BeispielLayout();

private:
    std::unique_ptr<Kasse> m_kasse;
    ModalWaechter m_waechter;
};

} // namespace zanti::test

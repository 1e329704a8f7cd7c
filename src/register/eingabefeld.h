#pragma once
// The on-screen keypad for the amount given and for the table number. It has
// no display of its own: what is typed goes out as text for the register's
// amount line, and "OK" hands it over; the register decides what it is for
// and answers with angenommen() or abgelehnt().
#include "register/entwurfsflaeche.h"

#include <QList>
#include <QString>
#include <QWidget>

namespace zanti {

class Eingabefeld : public QWidget
{
    Q_OBJECT

public:
    // kasse is the register window: parent (the keypad goes with it) and the
    // corner the keypad is placed from.
    explicit Eingabefeld(QWidget *kasse);

    // Shows the keypad without waiting for it; a keypad that was closed
    // starts afresh, with or without the quick amounts 10, 20, 50.
    void zeigen(bool schnellbetraege);
    // The entry was taken: the keypad closes.
    void angenommen();
    // The entry was refused: it starts again from nothing, the keypad stays.
    void abgelehnt();

signals:
    // What is typed so far, after every key but "OK".
    void eingabeGeaendert(const QString &text);
    void bestaetigt(const QString &text);
    // Closed other than by "OK".
    void abgebrochen();

protected:
    // Closed other than by "OK": the amount given is given up, so that the
    // next "OK" cannot count as one.
    void closeEvent(QCloseEvent *ereignis) override;

private:
    enum class Art { Ziffer, Schnell, Komma, Loeschen, Ok };

    void tasteAnlegen(const QString &name, const QString &text, int links, int oben, Art art,
                      int wert);
    void laden(bool schnellbetraege);
    void taste(Art art, int wert);
    void ziffer(int d);

    QWidget *m_kasse;
    Fensterentwurf m_entwurf;
    QList<QWidget *> m_schnelltasten;

    QString EingabeText;
    int Schnellbetrag = 0; // 1: the next digit replaces the quick amount
};

} // namespace zanti

#pragma once
// The on-screen keypad for the amount given and for the table number. It has
// no display of its own: what is typed shows in the register's amount line.
// Only "OK" decides what the number is for, from Gegeben and
// TischnummerAnzeige.
#include "register/entwurfsflaeche.h"

#include <QList>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QLabel;

namespace zanti {

struct KassenZustand;

class Eingabefeld : public QWidget
{
    Q_OBJECT

public:
    // kasse is the register window: parent (the keypad goes with it) and the
    // corner the keypad is placed from.
    Eingabefeld(KassenZustand &z, QLabel *label1_0, QLabel *label1_1,
                QAbstractButton *gegebenTaste, QWidget *kasse);

    // Shows the keypad without waiting for it; a keypad that was closed
    // starts afresh.
    void zeigen();

protected:
    // Closed other than by "OK": the amount given is given up, so that the
    // next "OK" cannot count as one.
    void closeEvent(QCloseEvent *ereignis) override;

private:
    enum class Art { Ziffer, Schnell, Komma, Loeschen, Ok };

    void tasteAnlegen(const QString &name, const QString &text, int links, int oben, Art art,
                      int wert);
    void laden();
    void taste(Art art, int wert);
    void ziffer(int d);
    void okBetrag();
    void okTischnummer();
    void ungueltig(const QString &text);

    KassenZustand &z;
    QLabel *m_label1_0;
    QLabel *m_label1_1;
    QAbstractButton *m_gegebenTaste;
    QWidget *m_kasse;
    Fensterentwurf m_entwurf;
    QList<QWidget *> m_schnelltasten;

    QString EingabeText;
    int Schnellbetrag = 0; // 1: the next digit replaces the quick amount
};

} // namespace zanti

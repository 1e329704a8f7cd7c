// Measuring the register window: clocks, series with their medians, and
// clicks that include the work they leave queued for the event loop.
#pragma once

#include <QList>
#include <QSet>
#include <QString>

class QAbstractButton;

namespace zanti::bench {

// Wall time is the figure. The CPU time of the thread beside it tells the
// register's own work from waiting (the disk, other programs on the machine).
struct Messwert
{
    double wand = 0; // ms
    double cpu = 0;  // ms
};

class Uhr
{
public:
    Uhr();
    Messwert stand() const;

private:
    qint64 m_wandStart;
    qint64 m_cpuStart;
};

double Median(QList<double> werte);

class Reihe
{
public:
    Reihe &operator<<(const Messwert &wert);
    double median() const { return Median(m_wand); }
    qsizetype anzahl() const { return m_wand.size(); }
    void leeren();
    // Count, min, median and max on stderr, with the CPU median.
    void bericht(const char *name) const;

private:
    QList<double> m_wand;
    QList<double> m_cpu;
};

// From here on, paint events of register and floor windows (object names
// "Kasse" and "Boden") are counted; needs the application.
void MalungenZaehlen();
int Malungen();
// The names of painted controls go into the set until the next call;
// returns the set that was collecting before.
QSet<QString> *MalungenAufzeichnen(QSet<QString> *namen);

QString Namen(QSet<QString> &namen); // sorted, comma separated; empties the set

// Runs what is queued (layout, repaint), pass after pass, until a pass paints
// nothing more of the register; the reading is taken after the last pass
// that still painted.
Messwert Nacharbeit(const Uhr &uhr);

// Runs the event loop until the process is idle (under 10 % CPU over
// 300 ms), so work a window defers (a long protocol filled in after the
// first frame) does not weigh on the measurements that follow.
void Beruhigen();

// A click as a person makes it (press and release), plus the work it leaves
// queued, both before the clock stops. Afterwards one more pass checks that
// nothing was left for later; such clicks are counted for the report.
Messwert Klick(QAbstractButton *knopf);

// Clicks since the last call that still painted after their measurement,
// and what they painted.
QString SpaeteMalungen();

} // namespace zanti::bench

#include "messen.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

namespace zanti::bench {

namespace {

qint64 CpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

qint64 ProzessCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

qint64 WandNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

class Filter : public QObject
{
public:
    int malungen = 0;
    QSet<QString> *namen = nullptr;

protected:
    bool eventFilter(QObject *objekt, QEvent *ereignis) override
    {
        if (ereignis->type() != QEvent::Paint || !objekt->isWidgetType())
            return false;
        const QString fenster = static_cast<QWidget *>(objekt)->window()->objectName();
        if (fenster != u"Kasse" && fenster != u"Boden")
            return false;
        ++malungen;
        if (namen) {
            // Inner parts of a control (viewport, scroll bar) go by its name.
            QObject *benannt = objekt;
            while (benannt->objectName().isEmpty() && benannt->parent())
                benannt = benannt->parent();
            namen->insert(benannt->objectName());
        }
        return false;
    }
};

Filter *g_filter = nullptr;
int g_spaeteKlicks = 0;
QSet<QString> g_spaetGemalt;

} // namespace

Uhr::Uhr() : m_wandStart(WandNs()), m_cpuStart(CpuNs()) {}

Messwert Uhr::stand() const
{
    return {double(WandNs() - m_wandStart) / 1e6, double(CpuNs() - m_cpuStart) / 1e6};
}

double Median(QList<double> werte)
{
    if (werte.isEmpty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const qsizetype mitte = werte.size() / 2;
    return werte.size() % 2 ? werte[mitte] : (werte[mitte - 1] + werte[mitte]) / 2;
}

Reihe &Reihe::operator<<(const Messwert &wert)
{
    m_wand << wert.wand;
    m_cpu << wert.cpu;
    return *this;
}

void Reihe::leeren()
{
    m_wand.clear();
    m_cpu.clear();
}

void Reihe::bericht(const char *name) const
{
    if (m_wand.isEmpty())
        return;
    const auto [kleinster, groesster] = std::minmax_element(m_wand.begin(), m_wand.end());
    std::fprintf(stderr, "# %s: %lld runs, min %.2f, median %.2f, max %.2f ms; CPU median %.2f ms\n",
                 name, static_cast<long long>(m_wand.size()), *kleinster, Median(m_wand),
                 *groesster, Median(m_cpu));
}

void MalungenZaehlen()
{
    if (!g_filter) {
        g_filter = new Filter;
        g_filter->setParent(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(g_filter);
    }
}

int Malungen()
{
    return g_filter->malungen;
}

QSet<QString> *MalungenAufzeichnen(QSet<QString> *namen)
{
    return std::exchange(g_filter->namen, namen);
}

QString Namen(QSet<QString> &namen)
{
    QStringList liste = namen.values();
    liste.sort();
    namen.clear();
    return liste.join(u", ");
}

Messwert Nacharbeit(const Uhr &uhr)
{
    QCoreApplication::processEvents();
    Messwert ende = uhr.stand();
    for (int pass = 0; pass < 10; ++pass) {
        const int vorher = Malungen();
        QCoreApplication::processEvents();
        if (Malungen() == vorher)
            break;
        ende = uhr.stand();
    }
    return ende;
}

void Beruhigen()
{
    const Uhr uhr;
    Messwert vorher = uhr.stand();
    qint64 cpuVorher = ProzessCpuNs();
    while (uhr.stand().wand < 30000) {
        QTest::qWait(300);
        const Messwert jetzt = uhr.stand();
        const qint64 cpu = ProzessCpuNs();
        if (double(cpu - cpuVorher) / 1e6 * 10 < jetzt.wand - vorher.wand)
            return;
        vorher = jetzt;
        cpuVorher = cpu;
    }
    std::fprintf(stderr, "# warning: the benchmark never settled\n");
}

Messwert Klick(QAbstractButton *knopf)
{
    if (!knopf->isEnabled())
        std::fprintf(stderr, "# warning: %s is disabled\n", qPrintable(knopf->objectName()));
    const Uhr uhr;
    QTest::mouseClick(knopf, Qt::LeftButton);
    const Messwert wert = Nacharbeit(uhr);

    const int vorher = Malungen();
    QSet<QString> *bisher = MalungenAufzeichnen(&g_spaetGemalt);
    QCoreApplication::processEvents();
    MalungenAufzeichnen(bisher);
    g_spaeteKlicks += Malungen() != vorher;
    return wert;
}

QString SpaeteMalungen()
{
    if (g_spaeteKlicks == 0)
        return {};
    const QString text = QStringLiteral("%1 clicks (%2)").arg(g_spaeteKlicks).arg(Namen(g_spaetGemalt));
    g_spaeteKlicks = 0;
    return text;
}

} // namespace zanti::bench

#include "abrechnung/abrechnung_format.h"

#include <QRegularExpression>

namespace zanti {

namespace {

QString Gruppiert(QString ziffern)
{
    const bool negativ = ziffern.startsWith(u'-');
    if (negativ)
        ziffern.remove(0, 1);
    for (qsizetype i = ziffern.size() - 3; i > 0; i -= 3)
        ziffern.insert(i, u'.');
    return negativ ? u'-' + ziffern : ziffern;
}

bool GanzeTage(const Zeitraum &z)
{
    return z.von.time() == QTime(0, 0) && z.bis.time() == QTime(0, 0);
}

} // namespace

QString BetragLesbar(Cent betrag)
{
    const QString text = BetragFormat(betrag);
    const qsizetype komma = text.indexOf(u',');
    return Gruppiert(text.left(komma)) + text.mid(komma);
}

QString ZahlLesbar(qint64 zahl)
{
    return Gruppiert(QString::number(zahl));
}

QString AnteilFormat(int promille)
{
    const QString vorzeichen = promille < 0 ? QStringLiteral("-") : QString();
    const int betrag = std::abs(promille);
    return QStringLiteral("%1%2,%3").arg(vorzeichen).arg(betrag / 10).arg(betrag % 10);
}

QString OffsetText(int offsetS)
{
    const int betrag = std::abs(offsetS);
    QString text = (offsetS < 0 ? QStringLiteral("UTC-") : QStringLiteral("UTC+")) + QString::number(betrag / 3600);
    if (betrag % 3600)
        text += QStringLiteral(":%1").arg(betrag % 3600 / 60, 2, 10, QLatin1Char('0'));
    return text;
}

QString StundeText(const Stunde &s)
{
    return QStringLiteral("%1:00–%2:00").arg(s.stunde, 2, 10, QLatin1Char('0')).arg((s.stunde + 1) % 24, 2, 10,
                                                                                     QLatin1Char('0'));
}

QString StundeBeschriftung(const Abrechnung &a, const Stunde &s, bool mitDatum)
{
    QString text = StundeText(s);
    if (mitDatum)
        text = s.datum.toString(QStringLiteral("dd.MM.")) + u' ' + text;
    if (a.doppelteStunde(s))
        text += QStringLiteral(" (%1)").arg(OffsetText(s.offsetS));
    return text;
}

QString ZeitText(const Zeitpunkt &zeit)
{
    return zeit.lokal().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}

bool UeberMehrereTage(const Zeitraum &z)
{
    return z.von.date().daysTo(z.bis.addMSecs(-1).date()) > 0;
}

QString ZeitraumText(const Zeitraum &z)
{
    const QString datum = QStringLiteral("dd.MM.yyyy");
    if (GanzeTage(z)) {
        const QDate letzter = z.bis.date().addDays(-1);
        if (letzter == z.von.date())
            return z.von.toString(datum);
        return z.von.toString(datum) + QStringLiteral(" – ") + letzter.toString(datum);
    }
    const QString mitZeit = QStringLiteral("dd.MM.yyyy HH:mm");
    return z.von.toString(mitZeit) + QStringLiteral(" – ") + z.bis.toString(mitZeit);
}

QString DateinameVorschlag(const Abrechnung &a)
{
    const Zeitraum &z = a.zeitraum;
    QString zeitraum;
    if (GanzeTage(z)) {
        const QDate letzter = z.bis.date().addDays(-1);
        zeitraum = z.von.toString(QStringLiteral("yyyy-MM-dd"));
        if (letzter != z.von.date())
            zeitraum += QStringLiteral("_bis_") + letzter.toString(QStringLiteral("yyyy-MM-dd"));
    } else {
        const QString format = QStringLiteral("yyyy-MM-dd_HHmm");
        zeitraum = z.von.toString(format) + QStringLiteral("_bis_") + z.bis.toString(format);
    }
    // Letters (umlauts too), digits, dot, dash and underscore; the rest
    // (blanks, slashes, colons) becomes a dash.
    static const QRegularExpression fremd(QStringLiteral("[^\\w.-]+"), QRegularExpression::UseUnicodePropertiesOption);
    QString name = a.kurzname;
    name.replace(fremd, QStringLiteral("-"));
    while (name.startsWith(u'.') || name.startsWith(u'-'))
        name.remove(0, 1);
    if (name.isEmpty())
        name = QStringLiteral("Kasse");
    return QStringLiteral("Abrechnung_%1_%2").arg(name.left(60), zeitraum);
}

} // namespace zanti

#include "core/geld.h"

#include <cstdlib>
#include <limits>
#include <vector>

namespace zanti {

namespace {

// Sign, whole digits (without leading zeros) and decimals of a number as
// typed. Returns false on anything that is not a plain decimal number.
bool Zerlegen(QString text, bool &negativ, QString &ganz, QString &bruch)
{
    text = text.trimmed();
    negativ = false;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        negativ = text.startsWith(u'-');
        text.remove(0, 1);
    }
    const bool komma = text.contains(u',');
    const bool punkt = text.contains(u'.');
    if (komma && punkt) {
        // "1.234,50": dots group thousands.
        text.remove(u'.');
    } else if (punkt) {
        // "2.5" is meant as 2,50, never as 25.
        text.replace(u'.', u',');
    }
    const qsizetype trenner = text.indexOf(u',');
    if (trenner != text.lastIndexOf(u','))
        return false;
    ganz = trenner < 0 ? text : text.left(trenner);
    bruch = trenner < 0 ? QString() : text.mid(trenner + 1);
    if (ganz.isEmpty() && bruch.isEmpty())
        return false;
    for (const QString *teil : {&ganz, &bruch}) {
        for (QChar c : *teil) {
            if (!c.isDigit() || c.unicode() > u'9')
                return false;
        }
    }
    while (ganz.size() > 1 && ganz.startsWith(u'0'))
        ganz.remove(0, 1);
    return true;
}

} // namespace

std::optional<Cent> BetragLesen(const QString &text)
{
    bool negativ = false;
    QString ganz, bruch;
    if (!Zerlegen(text, negativ, ganz, bruch))
        return std::nullopt;
    // Up to 15 integer digits keep every sum far from the 64-bit limit.
    if (ganz.size() > 15)
        return std::nullopt;
    Cent wert = 0;
    for (QChar c : ganz)
        wert = wert * 10 + (c.unicode() - u'0');
    const QString hundertstel = (bruch + QStringLiteral("00")).left(2);
    wert = wert * 100 + hundertstel.toInt();
    if (bruch.size() > 2 && bruch.at(2).unicode() >= u'5')
        ++wert;
    if (wert > kHoechstbetrag)
        return std::nullopt;
    return negativ ? -wert : wert;
}

std::optional<Cent> ZeilenBetrag(const QString &preis, const QString &anzahl)
{
    if (!BetragLesen(preis) || !BetragLesen(anzahl))
        return std::nullopt;
    bool preisNegativ = false, mengeNegativ = false;
    QString preisGanz, preisBruch, mengeGanz, mengeBruch;
    Zerlegen(preis, preisNegativ, preisGanz, preisBruch);
    Zerlegen(anzahl, mengeNegativ, mengeGanz, mengeBruch);

    // Long multiplication of the digits, so no decimal is lost and nothing
    // can overflow; the point lies "stellen" digits from the right.
    const QString a = preisGanz + preisBruch;
    const QString b = mengeGanz + mengeBruch;
    std::vector<int> ziffern(a.size() + b.size(), 0);
    for (qsizetype i = a.size() - 1; i >= 0; --i) {
        for (qsizetype j = b.size() - 1; j >= 0; --j)
            ziffern[i + j + 1] += (a.at(i).unicode() - u'0') * (b.at(j).unicode() - u'0');
    }
    for (qsizetype k = qsizetype(ziffern.size()) - 1; k > 0; --k) {
        ziffern[k - 1] += ziffern[k] / 10;
        ziffern[k] %= 10;
    }
    const qsizetype stellen = preisBruch.size() + mengeBruch.size();
    // Whole cents are the digits up to two places after the point.
    const qsizetype centEnde = qsizetype(ziffern.size()) - qMax<qsizetype>(stellen - 2, 0);
    Cent betrag = 0;
    for (qsizetype k = 0; k < centEnde; ++k) {
        if (betrag > kHoechstbetrag)
            return std::nullopt;
        betrag = betrag * 10 + ziffern[k];
    }
    for (qsizetype k = stellen; k < 2; ++k)
        betrag *= 10;
    // Rounded once, half away from zero.
    if (centEnde < qsizetype(ziffern.size()) && ziffern[centEnde] >= 5)
        ++betrag;
    if (betrag > kHoechstbetrag)
        return std::nullopt;
    return preisNegativ != mengeNegativ ? -betrag : betrag;
}

std::optional<Cent> SummeAddieren(Cent summe, Cent betrag)
{
    const auto imRahmen = [](Cent wert) { return wert >= -kHoechstbetrag && wert <= kHoechstbetrag; };
    if (!imRahmen(summe) || !imRahmen(betrag) || !imRahmen(summe + betrag))
        return std::nullopt;
    return summe + betrag;
}

QString BetragFormat(Cent betrag)
{
    const qint64 betragAbs = betrag < 0 ? -betrag : betrag;
    QString text = QString::number(betragAbs / 100) + u','
        + QString::number(betragAbs % 100).rightJustified(2, u'0');
    return betrag < 0 ? u'-' + text : text;
}

QString ZahlAllgemein(Cent hundertstel)
{
    QString text = BetragFormat(hundertstel);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u','))
        text.chop(1);
    return text;
}

std::optional<int> GanzzahlLesen(const QString &text)
{
    bool negativ = false;
    QString ganz, bruch;
    if (!Zerlegen(text, negativ, ganz, bruch))
        return std::nullopt;
    // Rounded from all decimals, not from a cent value: 2,501 is 3.
    if (ganz.size() > 6)
        return std::nullopt;
    qint64 wert = ganz.isEmpty() ? 0 : ganz.toLongLong();
    const QChar erste = bruch.isEmpty() ? QChar(u'0') : bruch.at(0);
    bool restNachFuenf = false;
    for (qsizetype i = 1; i < bruch.size(); ++i)
        restNachFuenf = restNachFuenf || bruch.at(i) != u'0';
    const bool ueberHalb = erste > u'5' || (erste == u'5' && restNachFuenf);
    const bool genauHalb = erste == u'5' && !restNachFuenf;
    // Halves go to the even number, on both sides of zero alike.
    if (ueberHalb || (genauHalb && wert % 2 != 0))
        ++wert;
    if (negativ)
        wert = -wert;
    if (wert < std::numeric_limits<qint16>::min() || wert > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<int>(wert);
}

} // namespace zanti

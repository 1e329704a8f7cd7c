#include "abrechnung/abrechnung_pdf.h"

#include "abrechnung/abrechnung_diagramm.h"
#include "abrechnung/abrechnung_format.h"
#include "abrechnung/pdf_blatt.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace zanti {

namespace {

QString Euro(Cent betrag)
{
    return BetragLesbar(betrag) + QStringLiteral(" €");
}

QString MarkeText(const Abrechnung &a, const std::optional<BelegMarke> &m)
{
    if (!m)
        return QStringLiteral("–");
    QString text = QStringLiteral("Nr. %1 am %2").arg(m->nummer).arg(ZeitText(m->zeit));
    return a.kassen.size() > 1 ? text + QStringLiteral(", ") + m->kasse : text;
}

// The chart's labels of the hour that happened twice, explained once.
QString UmstellungHinweis(const Abrechnung &a)
{
    if (DiagrammJeTag(a))
        return {};
    for (qsizetype i = 0; i + 1 < a.stunden.size(); ++i) {
        const Stunde &s = a.stunden[i].stunde;
        for (qsizetype k = i + 1; k < a.stunden.size(); ++k) {
            const Stunde &t = a.stunden[k].stunde;
            if (t.datum == s.datum && t.stunde == s.stunde && t.offsetS != s.offsetS)
                return QStringLiteral("Die Uhr wurde umgestellt: %1 am %2 gab es zweimal, zuerst in %3 (Balken „%4“), "
                                      "dann in %5 („%6“).")
                    .arg(StundeText(s), s.datum.toString(QStringLiteral("dd.MM.yyyy")), OffsetText(s.offsetS),
                         OffsetText(s.offsetS).mid(3), OffsetText(t.offsetS), OffsetText(t.offsetS).mid(3));
        }
    }
    return {};
}

void Kopf(PdfBlatt &b, const Abrechnung &a, const QDateTime &erstellt)
{
    const QRectF seite = b.inhalt();
    const auto zeile = [&](const QString &text, const QFont &f, qreal danach) {
        b.text(QRectF(seite.left(), b.y, seite.width(), b.zeilenhoehe(f)), Qt::AlignLeft | Qt::AlignVCenter, text, f);
        b.y += b.zeilenhoehe(f) + danach;
    };
    zeile(QStringLiteral("Abrechnung"), b.schrift(20, true), b.mm(1));
    zeile(a.quelle, b.schrift(13, true), b.mm(1));
    zeile(QStringLiteral("Zeitraum: ") + ZeitraumText(a.zeitraum), b.schrift(11), b.mm(0.5));
    zeile(QStringLiteral("Erstellt am %1 um %2 Uhr")
              .arg(erstellt.toString(QStringLiteral("dd.MM.yyyy")), erstellt.toString(QStringLiteral("HH:mm"))),
          b.schrift(9), b.mm(3));
    if (QPainter *p = b.painter()) {
        p->setPen(QPen(Qt::black, b.mm(0.5)));
        p->drawLine(QPointF(seite.left(), b.y), QPointF(seite.right(), b.y));
    }
    b.y += b.mm(4);
}

// A register that has not sent everything makes the statement short: said
// where nobody can miss it.
void Warnung(PdfBlatt &b, const Abrechnung &a)
{
    const QStringList fehlend = a.unvollstaendig();
    if (fehlend.isEmpty())
        return;
    const QFont fett = b.schrift(11, true);
    const QString text = QStringLiteral("Achtung, unvollständig: %1 %2 noch nicht alle Belege an den Server gesendet. "
                                        "Die Zahlen dieser Abrechnung sind zu klein.")
                             .arg(fehlend.join(u", "), fehlend.size() == 1 ? QStringLiteral("hat") : QStringLiteral("haben"));
    const QRectF rahmen(b.inhalt().left(), b.y, b.inhalt().width(), 3 * b.zeilenhoehe(fett) + b.mm(4));
    if (QPainter *p = b.painter()) {
        p->setPen(QPen(Qt::black, b.mm(0.8)));
        p->setBrush(QColor(225, 225, 225));
        p->drawRect(rahmen);
    }
    b.text(rahmen.adjusted(b.mm(3), b.mm(2), -b.mm(3), -b.mm(2)), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
           text, fett);
    b.y = rahmen.bottom() + b.mm(5);
}

// Two columns: what and how much.
void Kennzahlen(PdfBlatt &b, const QList<std::pair<QString, QString>> &zeilen, qreal links, bool ersteFett)
{
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QFont f = b.schrift(i == 0 && ersteFett ? 13 : 10.5, i == 0 && ersteFett);
        const qreal h = b.zeilenhoehe(f) + b.mm(1.2);
        b.text(QRectF(b.inhalt().left(), b.y, links, h), Qt::AlignLeft | Qt::AlignVCenter, zeilen[i].first, f);
        b.text(QRectF(b.inhalt().left() + links, b.y, b.inhalt().width() - links, h), Qt::AlignLeft | Qt::AlignVCenter,
               zeilen[i].second, f);
        b.y += h;
    }
}

// The line for the cash count; the float and the counted cash are not
// known to the register, so they are blanks to fill in by hand.
void Kassenbestand(PdfBlatt &b, const Abrechnung &a)
{
    b.ueberschrift(QStringLiteral("Kassenbestand"), b.mm(6));
    const QFont f = b.schrift(10.5);
    const qreal h = b.zeilenhoehe(f) + b.mm(2.6);
    const qreal links = b.mm(78);
    const qreal feld = b.mm(45);
    const QStringList zeilen = {QStringLiteral("Umsatz bar laut Kasse"), QStringLiteral("+ Wechselgeld (Anfangsbestand)"),
                                QStringLiteral("= Soll-Bestand in der Kasse"), QStringLiteral("Gezählter Bestand"),
                                QStringLiteral("Differenz (gezählt − Soll)")};
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        const QRectF wert(b.inhalt().left() + links, b.y, feld, h);
        b.text(QRectF(b.inhalt().left(), b.y, links, h), Qt::AlignLeft | Qt::AlignVCenter, zeilen[i], f);
        if (i == 0) {
            b.text(wert, Qt::AlignRight | Qt::AlignVCenter, Euro(a.sollBestand()), b.schrift(10.5, true));
        } else {
            // The blank ends where the amounts' digits end, the € below theirs.
            b.text(wert, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("€"), f);
            const qreal ende = wert.right() - b.textbreite(f, QStringLiteral(" €"));
            if (QPainter *p = b.painter()) {
                p->setPen(QPen(Qt::black, b.mm(0.2)));
                p->drawLine(QPointF(wert.left(), wert.bottom() - b.mm(0.8)), QPointF(ende, wert.bottom() - b.mm(0.8)));
            }
        }
        b.y += h;
    }
    b.y += b.mm(3);
    const QRectF unterschrift(b.inhalt().left(), b.y, b.inhalt().width(), h);
    b.text(unterschrift, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Gezählt von, Datum, Unterschrift:"), f);
    if (QPainter *p = b.painter()) {
        p->setPen(QPen(Qt::black, b.mm(0.2)));
        p->drawLine(QPointF(unterschrift.left() + links, unterschrift.bottom() - b.mm(0.8)),
                    QPointF(unterschrift.right(), unterschrift.bottom() - b.mm(0.8)));
    }
    b.y += h;
}

void ErsteSeite(PdfBlatt &b, const Abrechnung &a, const QDateTime &erstellt)
{
    Kopf(b, a, erstellt);
    Warnung(b, a);
    Kennzahlen(b,
               {{QStringLiteral("Umsatz"), Euro(a.umsatz)},
                {QStringLiteral("Bons"), ZahlLesbar(a.belege)},
                {QStringLiteral("Durchschnitt je Bon"), Euro(a.durchschnitt)},
                {QStringLiteral("Erster Bon"), MarkeText(a, a.erster)},
                {QStringLiteral("Letzter Bon"), MarkeText(a, a.letzter)},
                {QStringLiteral("Stornos"), a.stornos ? QStringLiteral("%1 über zusammen %2").arg(ZahlLesbar(a.stornos), Euro(a.stornoCent))
                                                      : QStringLiteral("keine")}},
               b.mm(52), true);
    Kassenbestand(b, a);

    const QList<Balken> balken = StundenBalken(a);
    b.ueberschrift(DiagrammJeTag(a) ? QStringLiteral("Umsatz je Tag") : QStringLiteral("Umsatz je Stunde"), b.mm(7));
    if (balken.isEmpty()) {
        b.text(QRectF(b.inhalt().left(), b.y, b.inhalt().width(), b.zeilenhoehe(b.schrift(10.5))), Qt::AlignLeft,
               QStringLiteral("Im Zeitraum wurde nichts verkauft."), b.schrift(10.5));
        return;
    }
    const QString hinweis = UmstellungHinweis(a);
    const QFont klein = b.schrift(8.5);
    const qreal hinweisHoehe = hinweis.isEmpty() ? 0 : 2 * b.zeilenhoehe(klein) + b.mm(2);
    const qreal hoehe = std::min(b.inhalt().bottom() - b.y - hinweisHoehe, b.mm(100));
    DiagrammZeichnen(b, balken, QRectF(b.inhalt().left(), b.y, b.inhalt().width(), hoehe));
    b.y += hoehe + b.mm(2);
    b.text(QRectF(b.inhalt().left(), b.y, b.inhalt().width(), hinweisHoehe), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
           hinweis, klein);
    b.y += hinweisHoehe;
}

void Tabellen(PdfBlatt &b, const Abrechnung &a)
{
    using S = PdfBlatt::Spalte;
    QList<QStringList> zeilen;
    qint64 menge = 0;
    for (const ArtikelZahlen &z : a.artikel) {
        zeilen.append({z.artikel, ZahlLesbar(z.menge), Euro(z.umsatz), AnteilFormat(z.anteilPromille) + QStringLiteral(" %")});
        menge += z.menge;
    }
    b.tabelle(QStringLiteral("Artikel"),
              {S{QStringLiteral("Artikel"), 0.5, false}, S{QStringLiteral("Menge"), 0.14, true},
               S{QStringLiteral("Umsatz"), 0.22, true}, S{QStringLiteral("Anteil"), 0.14, true}},
              zeilen, {QStringLiteral("Summe"), ZahlLesbar(menge), Euro(a.umsatz), a.umsatz ? QStringLiteral("100,0 %") : QString()});

    zeilen.clear();
    const bool mitDatum = UeberMehrereTage(a.zeitraum);
    for (const StundenZahlen &z : a.stunden)
        zeilen.append({StundeBeschriftung(a, z.stunde, mitDatum), ZahlLesbar(z.belege), Euro(z.umsatz)});
    b.tabelle(QStringLiteral("Stunden"),
              {S{QStringLiteral("Stunde"), 0.5, false}, S{QStringLiteral("Bons"), 0.2, true}, S{QStringLiteral("Umsatz"), 0.3, true}},
              zeilen, {QStringLiteral("Summe"), ZahlLesbar(a.belege), Euro(a.umsatz)});

    zeilen.clear();
    QList<S> spalten = {S{QStringLiteral("Kasse"), 0.25, false}, S{QStringLiteral("Bons"), 0.1, true},
                        S{QStringLiteral("Umsatz"), 0.17, true}, S{QStringLiteral("Stornos"), 0.12, true},
                        S{QStringLiteral("Stornobetrag"), 0.17, true}};
    if (a.veranstaltung)
        spalten.append(S{QStringLiteral("Alles gesendet"), 0.19, true});
    for (const KassenZahlen &k : a.kassen) {
        QStringList z = {k.name, ZahlLesbar(k.belege), Euro(k.umsatz), ZahlLesbar(k.stornos), Euro(k.stornoCent)};
        if (a.veranstaltung)
            z.append(k.allesGesendet.value_or(false) ? QStringLiteral("ja") : QStringLiteral("NEIN"));
        zeilen.append(z);
    }
    b.tabelle(QStringLiteral("Kassen"), spalten, zeilen,
              {QStringLiteral("Summe"), ZahlLesbar(a.belege), Euro(a.umsatz), ZahlLesbar(a.stornos), Euro(a.stornoCent)});

    zeilen.clear();
    for (const StornoZahlen &s : a.stornoStunden)
        zeilen.append({s.kasse, StundeBeschriftung(a, s.stunde, mitDatum), ZahlLesbar(s.anzahl), Euro(s.betrag)});
    if (zeilen.isEmpty()) {
        b.ueberschrift(QStringLiteral("Stornos je Kasse und Stunde"), b.mm(7));
        b.text(QRectF(b.inhalt().left(), b.y, b.inhalt().width(), b.zeilenhoehe(b.schrift(10))), Qt::AlignLeft,
               QStringLiteral("Keine Stornos im Zeitraum."), b.schrift(10));
        return;
    }
    b.tabelle(QStringLiteral("Stornos je Kasse und Stunde"),
              {S{QStringLiteral("Kasse"), 0.3, false}, S{QStringLiteral("Stunde"), 0.36, false},
               S{QStringLiteral("Anzahl"), 0.14, true}, S{QStringLiteral("Betrag"), 0.2, true}},
              zeilen, {QStringLiteral("Summe"), QString(), ZahlLesbar(a.stornos), Euro(a.stornoCent)});
}

void Inhalt(PdfBlatt &b, const Abrechnung &a, const QDateTime &erstellt)
{
    ErsteSeite(b, a, erstellt);
    b.neueSeite();
    Tabellen(b, a);
    b.abschliessen();
}

void Einrichten(QPdfWriter &writer, const Abrechnung &a)
{
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("Abrechnung %1, %2").arg(a.quelle, ZeitraumText(a.zeitraum)));
    writer.setCreator(QStringLiteral("zanti_abrechnung"));
}

} // namespace

QByteArray AbrechnungPdf(const Abrechnung &a, const QDateTime &erstellt)
{
    const QString fuss = QStringLiteral("Abrechnung %1, %2").arg(a.quelle, ZeitraumText(a.zeitraum));
    int seiten = 1;
    {
        // First pass: measure only, to count the pages for "Seite n von m".
        QBuffer leer;
        leer.open(QIODevice::WriteOnly);
        QPdfWriter messung(&leer);
        Einrichten(messung, a);
        PdfBlatt blatt(messung, nullptr, fuss, 0);
        Inhalt(blatt, a, erstellt);
        seiten = blatt.seite();
    }
    QBuffer puffer;
    puffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&puffer);
        Einrichten(writer, a);
        QPainter painter(&writer);
        PdfBlatt blatt(writer, &painter, fuss, seiten);
        Inhalt(blatt, a, erstellt);
        painter.end();
    }
    return puffer.data();
}

} // namespace zanti

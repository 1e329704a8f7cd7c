#include "abrechnung/abrechnung_csv.h"

#include "abrechnung/abrechnung_format.h"

namespace zanti {

namespace {

enum Spalte { Abschnitt, Bezeichnung, Kasse, Datum, Uhrzeit, Versatz, Bons, Menge, Betrag, Anteil, Stornos,
              Stornobetrag, Gesendet, Spalten };

const char *const kKopf[Spalten] = {"Abschnitt", "Bezeichnung", "Kasse", "Datum", "Stunde", "UTC-Versatz",
                                    "Bons", "Menge", "Betrag", "Anteil %", "Stornos", "Stornobetrag",
                                    "Alles gesendet"};

// A text field; quoted only when it holds what would split it.
QString Feld(const QString &text)
{
    if (!text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')
        && text.trimmed() == text)
        return text;
    QString innen = text;
    innen.replace(u'"', QStringLiteral("\"\""));
    return u'"' + innen + u'"';
}

class Tabelle
{
public:
    Tabelle()
    {
        QStringList kopf;
        for (const char *name : kKopf)
            kopf.append(QString::fromUtf8(name));
        m_text = kopf.join(u';') + QStringLiteral("\r\n");
    }
    struct Zeile
    {
        QString felder[Spalten];
        Zeile &text(Spalte s, const QString &wert)
        {
            felder[s] = Feld(wert);
            return *this;
        }
        Zeile &zahl(Spalte s, qint64 wert)
        {
            felder[s] = QString::number(wert);
            return *this;
        }
        Zeile &betrag(Spalte s, Cent wert)
        {
            felder[s] = BetragFormat(wert);
            return *this;
        }
        Zeile &stunde(const Stunde &st)
        {
            felder[Datum] = st.datum.toString(QStringLiteral("dd.MM.yyyy"));
            felder[Uhrzeit] = QStringLiteral("%1:00").arg(st.stunde, 2, 10, QLatin1Char('0'));
            felder[Versatz] = OffsetText(st.offsetS);
            return *this;
        }
    };
    Zeile zeile(const QString &abschnitt, const QString &bezeichnung = {})
    {
        Zeile z;
        z.text(Abschnitt, abschnitt).text(Bezeichnung, bezeichnung);
        return z;
    }
    void add(const Zeile &z)
    {
        QStringList felder;
        for (const QString &f : z.felder)
            felder.append(f);
        m_text += felder.join(u';') + QStringLiteral("\r\n");
    }
    QByteArray bytes() const { return QByteArray("\xEF\xBB\xBF") + m_text.toUtf8(); }

private:
    QString m_text;
};

void Marke(Tabelle &t, const QString &bezeichnung, const std::optional<BelegMarke> &m)
{
    if (!m)
        return;
    Tabelle::Zeile z = t.zeile(QStringLiteral("Übersicht"), QStringLiteral("%1 Nr. %2").arg(bezeichnung).arg(m->nummer));
    z.text(Kasse, m->kasse).text(Datum, ZeitText(m->zeit)).text(Versatz, OffsetText(m->zeit.offsetS));
    t.add(z);
}

} // namespace

QByteArray AbrechnungCsv(const Abrechnung &a)
{
    Tabelle t;
    const QString tagZeit = QStringLiteral("dd.MM.yyyy HH:mm");
    t.add(t.zeile(QStringLiteral("Zeitraum"), QStringLiteral("von")).text(Datum, a.zeitraum.von.toString(tagZeit)));
    t.add(t.zeile(QStringLiteral("Zeitraum"), QStringLiteral("bis ausschließlich"))
              .text(Datum, a.zeitraum.bis.toString(tagZeit)));
    t.add(t.zeile(QStringLiteral("Quelle"), a.quelle));

    const QString uebersicht = QStringLiteral("Übersicht");
    t.add(t.zeile(uebersicht, QStringLiteral("Umsatz")).zahl(Bons, a.belege).betrag(Betrag, a.umsatz));
    t.add(t.zeile(uebersicht, QStringLiteral("Durchschnitt je Bon")).betrag(Betrag, a.durchschnitt));
    Marke(t, QStringLiteral("Erster Bon"), a.erster);
    Marke(t, QStringLiteral("Letzter Bon"), a.letzter);
    t.add(t.zeile(uebersicht, QStringLiteral("Stornos")).zahl(Stornos, a.stornos).betrag(Stornobetrag, a.stornoCent));

    // The drawer's float is not known to the register: empty cells to fill in.
    const QString bestand = QStringLiteral("Kassenbestand");
    t.add(t.zeile(bestand, QStringLiteral("Soll (Umsatz bar)")).betrag(Betrag, a.sollBestand()));
    for (const char *leer : {"Wechselgeld (Anfangsbestand)", "Gezählt", "Differenz"})
        t.add(t.zeile(bestand, QString::fromUtf8(leer)));

    for (const ArtikelZahlen &z : a.artikel) {
        t.add(t.zeile(QStringLiteral("Artikel"), z.artikel)
                  .zahl(Menge, z.menge)
                  .betrag(Betrag, z.umsatz)
                  .text(Anteil, AnteilFormat(z.anteilPromille)));
    }
    for (const StundenZahlen &z : a.stunden)
        t.add(t.zeile(QStringLiteral("Stunde")).stunde(z.stunde).zahl(Bons, z.belege).betrag(Betrag, z.umsatz));
    for (const KassenZahlen &k : a.kassen) {
        Tabelle::Zeile z = t.zeile(QStringLiteral("Kasse"));
        z.text(Kasse, k.name).zahl(Bons, k.belege).betrag(Betrag, k.umsatz).zahl(Stornos, k.stornos);
        z.betrag(Stornobetrag, k.stornoCent);
        if (k.allesGesendet)
            z.text(Gesendet, *k.allesGesendet ? QStringLiteral("ja") : QStringLiteral("nein"));
        t.add(z);
    }
    for (const StornoZahlen &s : a.stornoStunden) {
        t.add(t.zeile(QStringLiteral("Storno"))
                  .text(Kasse, s.kasse)
                  .stunde(s.stunde)
                  .zahl(Stornos, s.anzahl)
                  .betrag(Stornobetrag, s.betrag));
    }
    return t.bytes();
}

} // namespace zanti

#include "persistence/ini_datei.h"

#include "persistence/datei.h"
#include "core/text_helfer.h"

namespace zanti {

namespace {

// The name of a "[name]" line, or a null view for any other line.
QStringView AbschnittName(QStringView zeile)
{
    const QStringView t = zeile.trimmed();
    if (!t.startsWith(u'['))
        return {};
    const qsizetype ende = t.indexOf(u']');
    return ende < 0 ? t.mid(1).trimmed() : t.mid(1, ende - 1).trimmed();
}

bool IstAbschnitt(QStringView zeile)
{
    return zeile.trimmed().startsWith(u'[');
}

// Names are compared without case: by their case-folded form.
QString Namensform(QStringView name)
{
    return name.toString().toCaseFolded();
}

QStringView SchluesselName(QStringView zeile)
{
    const qsizetype gleich = zeile.indexOf(u'=');
    return gleich < 0 ? QStringView() : zeile.left(gleich).trimmed();
}

QString WertOhneHuellen(const QString &zeile)
{
    QString wert = zeile.mid(zeile.indexOf(u'=') + 1).trimmed();
    if (wert.size() >= 2 && (wert.front() == u'"' || wert.front() == u'\'')
        && wert.back() == wert.front())
        wert = wert.mid(1, wert.size() - 2);
    return wert;
}

} // namespace

IniDatei IniDatei::Laden(const QString &pfad)
{
    return AusBytes(pfad, DateiLesen(pfad).value_or(QByteArray()));
}

IniDatei IniDatei::AusBytes(const QString &pfad, const QByteArray &bytes)
{
    IniDatei ini;
    ini.m_pfad = pfad;
    if (!bytes.isEmpty()) {
        // A modern editor may have saved it as UTF-8 with a byte-order mark;
        // the mark is no part of the first line. It is written back as
        // Windows-1252 like every other file.
        static const QByteArray bom("\xEF\xBB\xBF");
        const bool utf8 = bytes.startsWith(bom);
        QString text = utf8 ? QString::fromUtf8(bytes.mid(bom.size())) : Cp1252Lesen(bytes);
        // CR, LF and CR LF end a line alike.
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(u'\r', u'\n');
        if (text.endsWith(u'\n'))
            text.chop(1);
        if (!(utf8 && text.isEmpty()))
            ini.m_zeilen = text.split(u'\n');
    }
    return ini;
}

qsizetype IniDatei::abschnittZeile(const QString &abschnitt) const
{
    if (m_abschnitte.isEmpty()) {
        for (qsizetype i = 0; i < m_zeilen.size(); ++i) {
            if (!IstAbschnitt(m_zeilen[i]))
                continue;
            const QString name = Namensform(AbschnittName(m_zeilen[i]));
            if (!m_abschnitte.contains(name))
                m_abschnitte.insert(name, i);
        }
    }
    return m_abschnitte.value(Namensform(abschnitt), -1);
}

qsizetype IniDatei::schluesselZeile(qsizetype abschnitt, const QString &schluessel) const
{
    auto eintrag = m_schluessel.find(abschnitt);
    if (eintrag == m_schluessel.end()) {
        QHash<QString, qsizetype> zeilen;
        for (qsizetype i = abschnitt + 1; i < m_zeilen.size() && !IstAbschnitt(m_zeilen[i]); ++i) {
            const QStringView name = SchluesselName(m_zeilen[i]);
            if (name.isNull())
                continue;
            const QString form = Namensform(name);
            if (!zeilen.contains(form))
                zeilen.insert(form, i);
        }
        eintrag = m_schluessel.insert(abschnitt, zeilen);
    }
    return eintrag->value(Namensform(schluessel), -1);
}

QString IniDatei::lesen(const QString &abschnitt, const QString &schluessel, int puffer) const
{
    QString wert = kUnbekannt;
    const qsizetype a = abschnittZeile(abschnitt);
    if (a >= 0) {
        if (const qsizetype s = schluesselZeile(a, schluessel); s >= 0)
            wert = WertOhneHuellen(m_zeilen[s]);
    }
    return wert.left(qMax(0, puffer - 1));
}

void IniDatei::schreiben(const QString &abschnitt, const QString &schluessel, const QString &wert)
{
    const QString name = IniTextBereinigen(abschnitt);
    const QString schluesselName = IniTextBereinigen(schluessel);
    const QString sauber = IniTextBereinigen(wert);
    const QString zeile = schluesselName + u'=' + sauber;
    const qsizetype a = abschnittZeile(name);
    if (a < 0) {
        m_zeilen << u'[' + name + u']' << zeile;
        zeilenVerschoben();
        return;
    }
    if (const qsizetype s = schluesselZeile(a, schluesselName); s >= 0) {
        // Only the value changes; the key keeps the spelling of the file.
        m_zeilen[s] = SchluesselName(m_zeilen[s]).toString() + u'=' + sauber;
        return;
    }
    // After the last line of the section that is not blank.
    qsizetype letzte = a;
    for (qsizetype i = a + 1; i < m_zeilen.size() && !IstAbschnitt(m_zeilen[i]); ++i) {
        if (!m_zeilen[i].trimmed().isEmpty())
            letzte = i;
    }
    m_zeilen.insert(letzte + 1, zeile);
    zeilenVerschoben();
}

void IniDatei::zeilenVerschoben()
{
    m_abschnitte.clear();
    m_schluessel.clear();
}

QByteArray IniDatei::inhalt() const
{
    QByteArray bytes;
    for (const QString &zeile : m_zeilen) {
        bytes += Cp1252Schreiben(zeile);
        bytes += "\r\n";
    }
    return bytes;
}

bool IniDatei::speichern() const
{
    return DateiSpeichern(m_pfad, inhalt());
}

QString IniLesen(const QString &pfad, const QString &abschnitt, const QString &schluessel,
                 int puffer)
{
    return IniDatei::Laden(pfad).lesen(abschnitt, schluessel, puffer);
}

} // namespace zanti

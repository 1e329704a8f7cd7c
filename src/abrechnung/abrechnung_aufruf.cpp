#include "abrechnung/abrechnung_aufruf.h"

#include <QRegularExpression>
#include <QTimeZone>

namespace zanti {

std::optional<QDateTime> ZeitpunktLesen(const QString &text, bool &mitZeit)
{
    static const QRegularExpression form(QStringLiteral(
        R"(^\s*(?:(\d{1,2})\.(\d{1,2})\.(\d{4})|(\d{4})-(\d{2})-(\d{2}))(?:[ T]+(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const bool deutsch = !m.captured(1).isEmpty();
    const QDate datum = deutsch ? QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt())
                                : QDate(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt());
    mitZeit = !m.captured(7).isEmpty();
    const QTime zeit = mitZeit ? QTime(m.captured(7).toInt(), m.captured(8).toInt(), m.captured(9).toInt()) : QTime(0, 0);
    if (!datum.isValid() || !zeit.isValid())
        return std::nullopt;
    // Wall-clock time, kept away from this machine's zone.
    return QDateTime(datum, zeit, QTimeZone::utc());
}

std::optional<Aufruf> AufrufLesen(const QStringList &argumente, QDate heute, QString &fehler)
{
    Aufruf a;
    QString von, bis;
    bool pdfAngegeben = false, csvAngegeben = false;
    const QList<std::pair<QString, QString *>> mitWert = {
        {QStringLiteral("--ordner"), &a.ordner}, {QStringLiteral("--server"), &a.server},
        {QStringLiteral("--veranstaltung"), &a.veranstaltung}, {QStringLiteral("--von"), &von},
        {QStringLiteral("--bis"), &bis}, {QStringLiteral("--pdf"), &a.pdf}, {QStringLiteral("--csv"), &a.csv}};
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        QString name = argumente[i];
        QString wert;
        bool wertDabei = false;
        if (const qsizetype gleich = name.indexOf(u'='); name.startsWith(QStringLiteral("--")) && gleich > 0) {
            wert = name.mid(gleich + 1);
            name = name.left(gleich);
            wertDabei = true;
        }
        if (name == u"--help" || name == u"-h" || name == u"--hilfe") {
            a.hilfe = true;
            return a;
        }
        if (name == u"--ueberschreiben") {
            a.ueberschreiben = true;
            continue;
        }
        const auto ziel = std::find_if(mitWert.begin(), mitWert.end(), [&](const auto &p) { return p.first == name; });
        if (ziel == mitWert.end()) {
            fehler = QStringLiteral("Unbekannte Angabe: %1").arg(argumente[i]);
            return std::nullopt;
        }
        if (!wertDabei) {
            if (i + 1 >= argumente.size()) {
                fehler = QStringLiteral("Nach %1 fehlt der Wert.").arg(name);
                return std::nullopt;
            }
            wert = argumente[++i];
        }
        if (wert.trimmed().isEmpty()) {
            fehler = QStringLiteral("Der Wert von %1 ist leer.").arg(name);
            return std::nullopt;
        }
        *ziel->second = wert;
        pdfAngegeben = pdfAngegeben || name == u"--pdf";
        csvAngegeben = csvAngegeben || name == u"--csv";
    }

    if (a.ordner.isEmpty() == a.server.isEmpty()) {
        fehler = a.ordner.isEmpty() ? QStringLiteral("Bitte --ordner (eine Kasse) oder --server (die Veranstaltung) angeben.")
                                    : QStringLiteral("--ordner und --server schließen sich aus.");
        return std::nullopt;
    }
    if (!a.server.isEmpty() && a.veranstaltung.isEmpty()) {
        fehler = QStringLiteral("Zu --server gehört --veranstaltung NAME.");
        return std::nullopt;
    }
    if (a.server.isEmpty() && !a.veranstaltung.isEmpty()) {
        fehler = QStringLiteral("--veranstaltung gilt nur mit --server.");
        return std::nullopt;
    }

    bool vonMitZeit = false, bisMitZeit = false;
    std::optional<QDateTime> anfang = von.isEmpty() ? QDateTime(heute, QTime(0, 0), QTimeZone::utc())
                                                    : ZeitpunktLesen(von, vonMitZeit);
    if (!anfang) {
        fehler = QStringLiteral("--von %1 ist kein Datum (TT.MM.JJJJ oder JJJJ-MM-TT, wahlweise mit Uhrzeit HH:MM).").arg(von);
        return std::nullopt;
    }
    // Without --bis: to the end of the day --von names.
    std::optional<QDateTime> ende = bis.isEmpty() ? QDateTime(anfang->date(), QTime(0, 0), QTimeZone::utc())
                                                  : ZeitpunktLesen(bis, bisMitZeit);
    if (!ende) {
        fehler = QStringLiteral("--bis %1 ist kein Datum (TT.MM.JJJJ oder JJJJ-MM-TT, wahlweise mit Uhrzeit HH:MM).").arg(bis);
        return std::nullopt;
    }
    if (!bisMitZeit)
        *ende = ende->addDays(1); // a date means the whole of that day
    if (*ende <= *anfang) {
        fehler = QStringLiteral("--bis liegt nicht nach --von.");
        return std::nullopt;
    }
    a.zeitraum = {*anfang, *ende};
    if (pdfAngegeben != csvAngegeben) {
        a.pdfGewuenscht = pdfAngegeben;
        a.csvGewuenscht = csvAngegeben;
    }
    return a;
}

QString AufrufHilfe()
{
    return QStringLiteral(
        "Aufruf: zanti_abrechnung (--ordner ORDNER | --server \"VERBINDUNG\" --veranstaltung NAME)\n"
        "                         [--von DATUM] [--bis DATUM] [--pdf DATEI] [--csv DATEI] [--ueberschreiben]\n"
        "\n"
        "Schreibt die Abrechnung eines Zeitraums als PDF (zum Ablegen und Ausdrucken) und als CSV\n"
        "(für LibreOffice und Excel): Umsatz, Bons, Artikel, Stunden, Kassen, Stornos und die Zeile\n"
        "für den Kassensturz. Das Journal und der Server werden nur gelesen, nie verändert.\n"
        "\n"
        "  --ordner ORDNER        der Programmordner einer Kasse (mit daten.db)\n"
        "  --server \"VERBINDUNG\"  der Server der Veranstaltung, z. B. \"host=kasse-server dbname=fest\"\n"
        "                         oder \"service=fest\"; Kennwörter stehen in ~/.pgpass\n"
        "  --veranstaltung NAME   die Veranstaltung auf dem Server (nur mit --server)\n"
        "  --von DATUM            Beginn: TT.MM.JJJJ oder JJJJ-MM-TT, wahlweise mit Uhrzeit HH:MM\n"
        "                         (ohne Angabe: heute)\n"
        "  --bis DATUM            Ende: ein Datum schließt den ganzen Tag ein, eine Uhrzeit gehört\n"
        "                         nicht mehr dazu (ohne Angabe: der Tag von --von)\n"
        "  --pdf DATEI            die PDF-Datei (oder ein Ordner für den vorgeschlagenen Namen)\n"
        "  --csv DATEI            die CSV-Datei (oder ein Ordner für den vorgeschlagenen Namen)\n"
        "                         Ohne --pdf und --csv entstehen beide im aktuellen Ordner, mit\n"
        "                         Zeitraum und Kasse bzw. Veranstaltung im Namen; mit nur einer\n"
        "                         der beiden Angaben nur diese Datei.\n"
        "  --ueberschreiben       vorhandene Dateien ersetzen (sonst bricht das Programm ab)\n"
        "  --help                 diese Hilfe\n"
        "\n"
        "Zeiten gelten in der Ortszeit der Kassen; in der Nacht der Zeitumstellung wird die doppelte\n"
        "Stunde getrennt gezeigt.\n"
        "Ende: 0 fertig, 2 falscher Aufruf, 3 Journal oder Server nicht lesbar, 4 Datei nicht geschrieben.\n");
}

} // namespace zanti

// zanti_abrechnung: the treasurer's statement from a register's journal or
// the event server, as PDF and CSV. See AufrufHilfe() for the command line.
#include "abrechnung/abrechnung_aufruf.h"
#include "abrechnung/abrechnung_dateien.h"
#include "abrechnung/abrechnung_format.h"
#include "abrechnung/abrechnung_quelle.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace zanti;

namespace {

void Ausgeben(FILE *ziel, const QString &text)
{
    std::fputs(text.toUtf8().constData(), ziel);
    std::fflush(ziel);
}

// A folder (or nothing) takes the default name; a file stays as given.
QString Zieldatei(const QString &angabe, const QString &vorschlag, const QString &endung)
{
    const QString ordner = angabe.isEmpty() ? QDir::currentPath() : angabe;
    if (angabe.isEmpty() || QFileInfo(angabe).isDir())
        return QDir(ordner).filePath(vorschlag + endung);
    return angabe;
}

// Qt's notes about the platform it runs without a display are not the
// treasurer's business; warnings about the work itself still show.
QtMessageHandler g_weiter = nullptr;
void Meldung(QtMsgType typ, const QMessageLogContext &kontext, const QString &text)
{
    if (typ == QtDebugMsg || typ == QtInfoMsg || text.startsWith(u"QStandardPaths:"))
        return;
    g_weiter(typ, kontext, text);
}

} // namespace

int main(int argc, char **argv)
{
    // No window: the PDF needs Qt Gui's fonts, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    g_weiter = qInstallMessageHandler(Meldung);
    QGuiApplication app(argc, argv);

    QString fehler;
    const QDateTime jetzt = QDateTime::currentDateTime();
    const std::optional<Aufruf> aufruf = AufrufLesen(app.arguments().mid(1), jetzt.date(), fehler);
    if (!aufruf) {
        Ausgeben(stderr, QStringLiteral("zanti_abrechnung: %1\nHilfe: zanti_abrechnung --help\n").arg(fehler));
        return kEndeAufruf;
    }
    if (aufruf->hilfe) {
        Ausgeben(stdout, AufrufHilfe());
        return kEndeOk;
    }

    const std::optional<Abrechnung> abrechnung =
        aufruf->ordner.isEmpty() ? AbrechnungVomServer(aufruf->server, aufruf->veranstaltung, aufruf->zeitraum, fehler)
                                 : AbrechnungAusOrdner(aufruf->ordner, aufruf->zeitraum, fehler);
    if (!abrechnung) {
        Ausgeben(stderr, QStringLiteral("zanti_abrechnung: %1\n").arg(fehler));
        return kEndeQuelle;
    }

    const QString vorschlag = DateinameVorschlag(*abrechnung);
    AbrechnungsDateien dateien;
    if (aufruf->pdfGewuenscht)
        dateien.pdf = Zieldatei(aufruf->pdf, vorschlag, QStringLiteral(".pdf"));
    if (aufruf->csvGewuenscht)
        dateien.csv = Zieldatei(aufruf->csv, vorschlag, QStringLiteral(".csv"));
    if (!AbrechnungSpeichern(*abrechnung, dateien, aufruf->ueberschreiben, jetzt, fehler)) {
        Ausgeben(stderr, QStringLiteral("zanti_abrechnung: %1\n").arg(fehler));
        return kEndeDatei;
    }
    Ausgeben(stdout, QStringLiteral("%1, %2: Umsatz %3 € aus %4 Bons.\n")
                         .arg(abrechnung->quelle, ZeitraumText(abrechnung->zeitraum), BetragLesbar(abrechnung->umsatz),
                              ZahlLesbar(abrechnung->belege)));
    for (const QString &pfad : {dateien.pdf, dateien.csv}) {
        if (!pfad.isEmpty())
            Ausgeben(stdout, QStringLiteral("Geschrieben: %1\n").arg(QDir::toNativeSeparators(pfad)));
    }
    for (const QString &kasse : abrechnung->unvollstaendig())
        Ausgeben(stderr, QStringLiteral("Achtung: %1 hat noch nicht alles an den Server gesendet; die Abrechnung ist "
                                        "unvollständig.\n").arg(kasse));
    return kEndeOk;
}

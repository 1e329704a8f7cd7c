#include "abrechnung/abrechnung_dateien.h"

#include "abrechnung/abrechnung_csv.h"
#include "abrechnung/abrechnung_format.h"
#include "abrechnung/abrechnung_pdf.h"
#include "abrechnung/abrechnung_quelle.h"
#include "persistence/datei.h"

#include <QDir>
#include <QFileInfo>

namespace zanti {

namespace {

bool Speichern(const QString &pfad, const QByteArray &inhalt, QString &fehler)
{
    if (DateiSpeichern(pfad, inhalt))
        return true;
    fehler = QStringLiteral("Die Datei %1 kann nicht geschrieben werden.").arg(QDir::toNativeSeparators(pfad));
    return false;
}

// The first of name.ext, name_2.ext, ... where neither file exists yet.
QString FreierName(const QDir &ordner, const QString &name)
{
    for (int nummer = 1;; ++nummer) {
        const QString kandidat = nummer == 1 ? name : QStringLiteral("%1_%2").arg(name).arg(nummer);
        if (!QFileInfo::exists(ordner.filePath(kandidat + QStringLiteral(".pdf")))
            && !QFileInfo::exists(ordner.filePath(kandidat + QStringLiteral(".csv"))))
            return ordner.filePath(kandidat);
    }
}

} // namespace

bool AbrechnungSpeichern(const Abrechnung &a, const AbrechnungsDateien &dateien, bool ueberschreiben,
                         const QDateTime &erstellt, QString &fehler)
{
    for (const QString &pfad : {dateien.pdf, dateien.csv}) {
        if (pfad.isEmpty())
            continue;
        if (QFileInfo(pfad).isDir()) {
            fehler = QStringLiteral("%1 ist ein Ordner, keine Datei.").arg(QDir::toNativeSeparators(pfad));
            return false;
        }
        if (!ueberschreiben && QFileInfo::exists(pfad)) {
            fehler = QStringLiteral("Die Datei %1 gibt es schon. Sie wird nicht überschrieben "
                                    "(anderen Namen wählen oder --ueberschreiben angeben).")
                         .arg(QDir::toNativeSeparators(pfad));
            return false;
        }
    }
    if (!dateien.csv.isEmpty() && !Speichern(dateien.csv, AbrechnungCsv(a), fehler))
        return false;
    return dateien.pdf.isEmpty() || Speichern(dateien.pdf, AbrechnungPdf(a, erstellt), fehler);
}

std::optional<AbrechnungsDateien> TagesabrechnungSchreiben(const QString &programmOrdner, const QString &zielOrdner,
                                                          const QDateTime &jetzt, QString &fehler)
{
    const QDate heute = jetzt.date(); // on the register's own clock
    const std::optional<Abrechnung> a = AbrechnungAusOrdner(programmOrdner, Zeitraum::Tage(heute, heute), fehler);
    if (!a)
        return std::nullopt;
    const QDir ordner(zielOrdner);
    if (!ordner.mkpath(QStringLiteral("."))) {
        fehler = QStringLiteral("Der Ordner %1 kann nicht angelegt werden.").arg(QDir::toNativeSeparators(zielOrdner));
        return std::nullopt;
    }
    const QString name = FreierName(ordner, DateinameVorschlag(*a));
    const AbrechnungsDateien dateien{name + QStringLiteral(".pdf"), name + QStringLiteral(".csv")};
    if (!AbrechnungSpeichern(*a, dateien, false, jetzt, fehler))
        return std::nullopt;
    return dateien;
}

} // namespace zanti

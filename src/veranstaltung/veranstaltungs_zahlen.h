#pragma once
// The event's takings as the server holds them: per register, per article
// over all registers, and the total. Read in one transaction, so the parts
// agree with each other; amounts in whole cents.
#include "core/geld.h"
#include "persistence/journal.h"

#include <QList>
#include <QMetaType>
#include <QString>
#include <optional>

class QSqlDatabase;

namespace zanti {

struct VeranstaltungsKasse
{
    QString kasse; // the name it sent last
    QString kasseId;
    qint64 belege = 0;
    Cent umsatzCent = 0;
    qint64 stornos = 0;
    Cent stornoCent = 0;
    std::optional<Zeitpunkt> letzterBeleg;
    bool allesGesendet = false;
};

struct VeranstaltungsArtikel
{
    QString artikel;
    qint64 anzahl = 0;
    Cent betragCent = 0;
};

struct VeranstaltungsZahlen
{
    QString name;
    QList<VeranstaltungsKasse> kassen;    // by name
    QList<VeranstaltungsArtikel> artikel;  // by article text
    qint64 belege = 0;
    Cent umsatzCent = 0;
    qint64 stornos = 0;
    Cent stornoCent = 0;
};

// Nothing when the server could not answer; fehler says why.
std::optional<VeranstaltungsZahlen> VeranstaltungsZahlenLesen(QSqlDatabase &db, const QString &veranstaltung,
                                                              QString &fehler);

} // namespace zanti

Q_DECLARE_METATYPE(zanti::VeranstaltungsZahlen)

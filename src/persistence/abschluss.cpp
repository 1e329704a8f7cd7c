#include "persistence/abschluss.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zanti {

Nachholen AbschlussNachholen(const Abschluss &a, const std::optional<QByteArray> &protokoll,
                             const std::optional<QByteArray> &verkauf)
{
    Nachholen n;
    const QByteArray verkaufJetzt = verkauf.value_or(QByteArray());
    if (verkaufJetzt != a.verkaufNachher && verkaufJetzt == a.verkaufVorher)
        n.verkauf = a.verkaufNachher;

    const QByteArray protokollJetzt = protokoll.value_or(QByteArray());
    if (a.protokollErsetzen) {
        // The cleared protocol plus this receipt's lines: correct as long as
        // the sales counts belong to the same close.
        const bool gleicherStand = verkaufJetzt == a.verkaufVorher || verkaufJetzt == a.verkaufNachher;
        if (gleicherStand && protokollJetzt != a.protokollKopf)
            n.protokoll = a.protokollKopf;
    } else if (protokollJetzt.size() == a.protokollVorherGroesse) {
        n.protokoll = a.protokollKopf + protokollJetzt;
    }
    return n;
}

bool AbschlussTabelleAnlegen(QSqlDatabase &db, QSqlError &fehler)
{
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS Abschluss ("
                              "Nr INTEGER PRIMARY KEY AUTOINCREMENT, "
                              "ProtokollKopf BLOB, ProtokollErsetzen INTEGER, "
                              "ProtokollVorherGroesse INTEGER, "
                              "VerkaufVorher BLOB, VerkaufNachher BLOB)")))
        return true;
    fehler = q.lastError();
    return false;
}

bool AbschlussEintragen(QSqlDatabase &db, Abschluss &a, QSqlError &fehler)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO Abschluss (ProtokollKopf, ProtokollErsetzen, "
                             "ProtokollVorherGroesse, VerkaufVorher, VerkaufNachher) "
                             "VALUES (?, ?, ?, ?, ?)"));
    // Never a null blob: an empty file is an empty file.
    q.addBindValue(a.protokollKopf.isNull() ? QByteArray("") : a.protokollKopf);
    q.addBindValue(a.protokollErsetzen ? 1 : 0);
    q.addBindValue(a.protokollVorherGroesse);
    q.addBindValue(a.verkaufVorher.isNull() ? QByteArray("") : a.verkaufVorher);
    q.addBindValue(a.verkaufNachher.isNull() ? QByteArray("") : a.verkaufNachher);
    if (!q.exec()) {
        fehler = q.lastError();
        return false;
    }
    a.nr = q.lastInsertId().toLongLong();
    QSqlQuery aeltere(db);
    aeltere.prepare(QStringLiteral("DELETE FROM Abschluss WHERE Nr <> ?"));
    aeltere.addBindValue(a.nr);
    if (!aeltere.exec()) {
        fehler = aeltere.lastError();
        return false;
    }
    return true;
}

bool AbschlussLoeschen(QSqlDatabase &db, qint64 nr, QSqlError &fehler)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM Abschluss WHERE Nr = ?"));
    q.addBindValue(nr);
    if (q.exec())
        return true;
    fehler = q.lastError();
    return false;
}

QList<Abschluss> OffeneAbschluesse(QSqlDatabase &db)
{
    QList<Abschluss> offen;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Nr, ProtokollKopf, ProtokollErsetzen, ProtokollVorherGroesse, "
                               "VerkaufVorher, VerkaufNachher FROM Abschluss ORDER BY Nr")))
        return offen;
    while (q.next()) {
        Abschluss a;
        a.nr = q.value(0).toLongLong();
        a.protokollKopf = q.value(1).toByteArray();
        a.protokollErsetzen = q.value(2).toInt() != 0;
        a.protokollVorherGroesse = q.value(3).toLongLong();
        a.verkaufVorher = q.value(4).toByteArray();
        a.verkaufNachher = q.value(5).toByteArray();
        offen.append(a);
    }
    return offen;
}

} // namespace zanti

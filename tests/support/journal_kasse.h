#pragma once
// A register reduced to its journal, for the event server's tests, trials and
// benchmark: daten.db opened as the register opens it (WAL, busy timeout,
// full sync for a close), an identity, and closes and voids written through
// the persistence API, each in its own transaction as "=" writes them.
#include "persistence/journal.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QString>
#include <functional>

namespace zanti::test {

class JournalKasse
{
public:
    // name: the host name a new identity takes.
    JournalKasse(const QString &ordner, const QString &name);
    ~JournalKasse();
    JournalKasse(const JournalKasse &) = delete;
    JournalKasse &operator=(const JournalKasse &) = delete;

    bool offen() const { return !m_kasseId.isEmpty(); }
    const QString &kasseId() const { return m_kasseId; }
    QSqlDatabase db() const;

    // A receipt of 1..4 random lines (articles with umlauts, quotes and
    // backslashes); false when the close's transaction failed.
    bool belegSchliessen(QRandomGenerator &zufall);
    // Many receipts in one transaction: a journal filled for a benchmark.
    bool belegeSchliessen(QRandomGenerator &zufall, int anzahl);
    bool stornoBuchen(QRandomGenerator &zufall);
    // The last error of a failed write.
    QString fehler() const { return m_fehler; }

private:
    Beleg zufallsBeleg(QRandomGenerator &zufall) const;
    bool schreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &was);

    QString m_verbindung;
    QString m_kasseId;
    QString m_fehler;
};

} // namespace zanti::test

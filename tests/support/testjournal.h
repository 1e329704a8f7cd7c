#pragma once
// A register's journal built by a test or the benchmark, in daten.db opened
// as the register opens it (WAL, full sync, a busy timeout) and written
// through the journal's own functions, each write in a transaction of its
// own as "=" writes it. Receipts at explicit local times with their offsets,
// so nothing depends on this machine's time zone, or random ones at the
// current time for the event server's tests.
#include "persistence/journal.h"

#include <QRandomGenerator>
#include <QSqlDatabase>
#include <functional>

namespace zanti::test {

// "2026-10-25 02:30:00" on a clock that was offsetS ahead of UTC.
Zeitpunkt LokalZeit(const QString &lokal, int offsetS);

class TestJournal
{
public:
    // Creates daten.db at pfad (or opens it) with the journal's tables and
    // an identity named name.
    TestJournal(const QString &pfad, const QString &name);
    ~TestJournal();
    TestJournal(const TestJournal &) = delete;
    TestJournal &operator=(const TestJournal &) = delete;

    QSqlDatabase db() const;
    QString kasseId() const { return m_kasseId; }

    Beleg bon(const Zeitpunkt &zeit, const QList<Belegzeile> &zeilen, const QString &kasseId = {});
    void storno(const Zeitpunkt &zeit, const Belegzeile &zeile, const QString &kasseId = {});
    // anzahl receipts of one to four lines from a few articles, a few
    // seconds apart from start on, with a void every 50th; one transaction.
    void viele(int anzahl, const Zeitpunkt &start);

    // Now: a receipt of 1..4 random lines, now and then at a table, or a
    // void, from articles whose texts must cross the network unchanged
    // (umlauts, quotes, a backslash, a semicolon). False when the write
    // failed, with fehler().
    bool belegSchliessen(QRandomGenerator &zufall);
    bool stornoBuchen(QRandomGenerator &zufall);
    QString fehler() const { return m_fehler; }

private:
    bool schreiben(const std::function<bool(QSqlDatabase &, QSqlError &)> &was);
    void schreibenOderEnden(const std::function<bool(QSqlDatabase &, QSqlError &)> &was);

    QString m_name;
    QString m_kasseId;
    QString m_fehler;
};

// The night the clocks go back (25.10.2026, 03:00 summer time becomes
// 02:00): receipts of 24 and 25 October, one before and one after, a
// receipt of the register's identity before its folder was copied, voids.
// Over 24.-25.10.: 7 receipts, 37,00, 4 voids over 13,50.
void NachtAnlegen(TestJournal &j);
QString NachtAlteKennung();

} // namespace zanti::test

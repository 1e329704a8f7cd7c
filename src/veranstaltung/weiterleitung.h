#pragma once
// Forwarding to the event server. The model owns one Weiterleitung only when
// veranstaltung.ini is there and good (WeiterleitungStarten). Its worker runs
// on a thread of its own with connections of its own: QPSQL to the server,
// QSQLITE to daten.db, which it only reads. Nothing the register does waits
// for it; wecken() after a close returns at once.
//
//   model --wecken()--> worker: reads the journal after the marks (versand.ini),
//                       sends a batch, commits, then moves the marks
//   worker --zustandGeaendert(text)--> status bar: "Server: alles gesendet",
//                       "Server: 37 Bons warten", "Server: 1 Nachtrag wartet",
//                       "Server nicht erreichbar"; a batch the server has not
//                       committed within a second shows as waiting meanwhile
//   worker --meldung(text)--> one message per kind, once (newer schema, no
//                       rights, name taken); never for a lost connection
//   model --berichtAnfordern()--> worker --berichtBereit(zahlen) | berichtFehlt(text)
#include "veranstaltung/antwortfrist.h"
#include "veranstaltung/veranstaltung_datei.h"
#include "veranstaltung/veranstaltungs_zahlen.h"
#include "veranstaltung/weiterleitungs_optionen.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

class QThread;

namespace zanti {

class VersandArbeiter;

// What the status bar shows.
struct Weiterleitungszustand
{
    enum Art { Verbinden, Gesendet, Wartend, NichtErreichbar, SchemaNeuer, KeineRechte };
    Art art = Verbinden;
    qint64 belege = 0;  // receipts not yet on the server
    qint64 stornos = 0; // voids not yet on the server
    qint64 nachtraege = 0; // later changes of receipts not yet on the server
    QString text() const;
};

class Weiterleitung : public QObject
{
    Q_OBJECT

public:
    // ordner: the program folder with daten.db (journal and identity made).
    Weiterleitung(const Veranstaltung &veranstaltung, const QString &ordner,
                  const WeiterleitungsOptionen &optionen = {}, QObject *parent = nullptr);
    // Bounded: a call under way is cut off, the thread ends.
    ~Weiterleitung() override;

    const Veranstaltung &veranstaltung() const { return m_veranstaltung; }
    Weiterleitungszustand zustand() const { return m_zustand; }

public slots:
    // After a close or a void: queued to the worker, never waits.
    void wecken();
    // After "=": wecken(), and while a batch hangs on the server, one more
    // receipt counts as waiting in the status bar.
    void belegGeschlossen();
    // The event's figures from the server, answered by a signal.
    void berichtAnfordern();

signals:
    void zustandGeaendert(const QString &text);
    void meldung(const QString &text);
    void berichtBereit(const zanti::VeranstaltungsZahlen &zahlen);
    void berichtFehlt(const QString &text);

    // To the worker's thread.
    void weckenAngefordert();
    void berichtAngefordert();

private:
    void zustandUebernehmen(int art, qint64 belege, qint64 stornos, qint64 nachtraege);
    void zeigen(const Weiterleitungszustand &neu);

    Veranstaltung m_veranstaltung;
    Weiterleitungszustand m_zustand;
    std::shared_ptr<Antwortfrist> m_frist;
    std::shared_ptr<std::atomic_bool> m_ende;
    QThread *m_thread = nullptr;
    QTimer m_wache;
    // A batch on its way, shown when the server takes long to commit it.
    Weiterleitungszustand m_unterwegs;
    QTimer m_verzug;
    bool m_unterwegsGezeigt = false;
};

// What the start does with the event file: nothing without it; the message
// when it is bad (the register sells alone); otherwise a running forwarder.
struct WeiterleitungsStart
{
    std::unique_ptr<Weiterleitung> weiterleitung;
    QString meldung;
};
WeiterleitungsStart WeiterleitungStarten(const QString &ordner, const QString &kassenName,
                                         const WeiterleitungsOptionen &optionen = {});

} // namespace zanti

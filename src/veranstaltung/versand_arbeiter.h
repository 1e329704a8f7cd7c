#pragma once
// The forwarder's worker: lives on its own thread and does all the network
// work there. Reads the journal after the marks, sends one batch per turn
// of its event loop (so a report request gets its turn during a catch-up),
// and moves the marks only after the server's commit.
#include "veranstaltung/veranstaltung_datei.h"
#include "veranstaltung/veranstaltungs_zahlen.h"
#include "veranstaltung/versand_stand.h"
#include "veranstaltung/weiterleitung.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QTimer>

namespace zanti {

class VersandArbeiter : public QObject
{
    Q_OBJECT

public:
    VersandArbeiter(const Veranstaltung &veranstaltung, const QString &ordner, const WeiterleitungsOptionen &optionen,
                    std::shared_ptr<Antwortfrist> frist, std::shared_ptr<std::atomic_bool> ende);
    ~VersandArbeiter() override;

    void starten();
    void wecken();
    void berichtErstellen();

signals:
    void zustand(int art, qint64 belege, qint64 stornos, qint64 nachtraege);
    // A batch goes out; what it counts waits until the server commits.
    void unterwegs(qint64 belege, qint64 stornos, qint64 nachtraege);
    void meldung(const QString &text);
    void berichtBereit(const zanti::VeranstaltungsZahlen &zahlen);
    void berichtFehlt(const QString &text);

private:
    bool journalOeffnen();
    bool verbinden();
    void trennen();
    void arbeiten();
    void spaeter(int art);
    // Sent entries, 0 when nothing waits, -1 when the server failed.
    int stapelSenden();
    bool standPruefen();
    void standSpeichern();
    void zustandMelden();
    void einmalMelden(const QString &art, const QString &text);

    Veranstaltung m_veranstaltung;
    QString m_ordner;
    WeiterleitungsOptionen m_optionen;
    std::shared_ptr<Antwortfrist> m_frist;
    std::shared_ptr<std::atomic_bool> m_ende;
    QString m_journal; // connection names
    QString m_server;
    QString m_kasseId;
    int m_socket = -1;
    bool m_verbunden = false;
    int m_verbindungsFehler = Weiterleitungszustand::NichtErreichbar;
    bool m_weiter = false; // a turn is queued
    VersandStand m_stand;
    bool m_standGeladen = false;
    bool m_standOffen = false; // marks moved but not yet in the file
    QElapsedTimer m_standUhr;
    int m_pauseMs = 0;
    QTimer *m_pause = nullptr;
    QTimer *m_nachsehen = nullptr;
    QSet<QString> m_gemeldet;
    qint64 m_letzteBelege = -1, m_letzteStornos = -1, m_letzteNachtraege = -1;
    int m_letzteArt = -1;
};

} // namespace zanti

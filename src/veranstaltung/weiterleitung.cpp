#include "veranstaltung/weiterleitung.h"

#include "veranstaltung/versand_arbeiter.h"

#include <QSqlDatabase>
#include <QThread>

namespace zanti {

namespace {

// How often the watch looks whether a call to the server overran.
constexpr int kWacheMs = 250;
// A batch the server has not committed after this long shows as waiting; a
// quick answer never makes the status bar flicker.
constexpr int kUnterwegsMs = 1000;

} // namespace

QString Weiterleitungszustand::text() const
{
    switch (art) {
    case Verbinden:
        return QStringLiteral("Server: verbinde");
    case Gesendet:
        return QStringLiteral("Server: alles gesendet");
    case Wartend:
        if (belege == 1)
            return QStringLiteral("Server: 1 Bon wartet");
        if (belege > 1)
            return QStringLiteral("Server: %1 Bons warten").arg(belege);
        if (stornos == 1)
            return QStringLiteral("Server: 1 Storno wartet");
        if (stornos > 1)
            return QStringLiteral("Server: %1 Stornos warten").arg(stornos);
        return nachtraege == 1 ? QStringLiteral("Server: 1 Nachtrag wartet")
                               : QStringLiteral("Server: %1 Nachträge warten").arg(nachtraege);
    case NichtErreichbar:
        return QStringLiteral("Server nicht erreichbar");
    case SchemaNeuer:
        return QStringLiteral("Server: neueres Schema");
    case KeineRechte:
        return QStringLiteral("Server: keine Tabellen");
    }
    return {};
}

Weiterleitung::Weiterleitung(const Veranstaltung &veranstaltung, const QString &ordner,
                             const WeiterleitungsOptionen &optionen, QObject *parent)
    : QObject(parent)
    , m_veranstaltung(veranstaltung)
    , m_frist(std::make_shared<Antwortfrist>())
    , m_ende(std::make_shared<std::atomic_bool>(false))
{
    qRegisterMetaType<VeranstaltungsZahlen>();
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("Weiterleitung"));
    auto *arbeiter = new VersandArbeiter(veranstaltung, ordner, optionen, m_frist, m_ende);
    arbeiter->moveToThread(m_thread);
    connect(m_thread, &QThread::started, arbeiter, &VersandArbeiter::starten);
    connect(m_thread, &QThread::finished, arbeiter, &QObject::deleteLater);
    connect(this, &Weiterleitung::weckenAngefordert, arbeiter, &VersandArbeiter::wecken);
    connect(this, &Weiterleitung::berichtAngefordert, arbeiter, &VersandArbeiter::berichtErstellen);
    connect(arbeiter, &VersandArbeiter::zustand, this, &Weiterleitung::zustandUebernehmen);
    connect(arbeiter, &VersandArbeiter::unterwegs, this, [this](qint64 belege, qint64 stornos, qint64 nachtraege) {
        m_unterwegs = {Weiterleitungszustand::Wartend, belege, stornos, nachtraege};
        m_verzug.start(kUnterwegsMs);
    });
    m_verzug.setSingleShot(true);
    connect(&m_verzug, &QTimer::timeout, this, [this] {
        m_unterwegsGezeigt = true;
        zeigen(m_unterwegs);
    });
    connect(arbeiter, &VersandArbeiter::meldung, this, &Weiterleitung::meldung);
    connect(arbeiter, &VersandArbeiter::berichtBereit, this, &Weiterleitung::berichtBereit);
    connect(arbeiter, &VersandArbeiter::berichtFehlt, this, &Weiterleitung::berichtFehlt);
    // The watch runs here, since the worker's own thread is the one that waits.
    connect(&m_wache, &QTimer::timeout, this, [frist = m_frist] { frist->pruefen(); });
    m_wache.start(kWacheMs);
    m_thread->start();
}

Weiterleitung::~Weiterleitung()
{
    *m_ende = true;
    m_frist->pruefen(true);
    m_thread->quit();
    // A connect to a server that hangs ends within libpq's connect_timeout.
    if (m_thread->wait(QDeadlineTimer(8000))) {
        delete m_thread;
        return;
    }
    // Still inside libpq: left to end with the process rather than waited for.
    m_frist->pruefen(true);
    qWarning("Weiterleitung: the server does not answer; the worker is left behind");
}

void Weiterleitung::wecken()
{
    emit weckenAngefordert();
}

void Weiterleitung::belegGeschlossen()
{
    // While a batch is on its way the worker cannot count: one more waits.
    if (m_verzug.isActive() || m_unterwegsGezeigt) {
        ++m_unterwegs.belege;
        if (m_unterwegsGezeigt)
            zeigen(m_unterwegs);
    }
    wecken();
}

void Weiterleitung::berichtAnfordern()
{
    emit berichtAngefordert();
}

void Weiterleitung::zustandUebernehmen(int art, qint64 belege, qint64 stornos, qint64 nachtraege)
{
    m_verzug.stop();
    m_unterwegsGezeigt = false;
    zeigen({Weiterleitungszustand::Art(art), belege, stornos, nachtraege});
}

void Weiterleitung::zeigen(const Weiterleitungszustand &neu)
{
    const QString alt = m_zustand.text();
    m_zustand = neu;
    if (neu.text() != alt || neu.art == Weiterleitungszustand::Verbinden)
        emit zustandGeaendert(neu.text());
}

WeiterleitungsStart WeiterleitungStarten(const QString &ordner, const QString &kassenName,
                                         const WeiterleitungsOptionen &optionen)
{
    WeiterleitungsStart start;
    const VeranstaltungsDatei datei = VeranstaltungLaden(ordner, kassenName);
    if (!datei.vorhanden)
        return start;
    if (!datei.veranstaltung) {
        start.meldung = datei.meldung();
        return start;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        start.meldung = QStringLiteral("Der PostgreSQL-Treiber von Qt fehlt (Paket libqt6sql6-psql).\n"
                                       "Die Kasse verkauft allein weiter, ohne Server.");
        return start;
    }
    start.weiterleitung = std::make_unique<Weiterleitung>(*datei.veranstaltung, ordner, optionen);
    return start;
}

} // namespace zanti

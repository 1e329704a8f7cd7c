// The virtual receipt printer: a pseudo-terminal (or a network printer on
// 127.0.0.1) that reads what the register sends, writes every cut receipt as
// bon-0001.txt, bon-0002.txt, ... and shows it, notes drawer pulses, and
// answers "GS a n" with its status block (20 0 0 0 when ready).
//
//   virtueller_drucker [--ausgabe DIR] [--link PATH | --tcp PORT] [--steuerung FIFO]
//
// It plays the troubles of a real printer: a line on stdin, or written into
// the FIFO that --steuerung makes, switches it
//   offline   offline (the feed button held, say)
//   deckel    cover open
//   papier    paper ended
//   weg       gone: the pseudo-terminal or the connection closes
//   bereit    ready again (and back after "weg")
// It then sends its new status block by itself, as a real printer with
// automatic status does, and throws away what it cannot print.
//
// Line 1 of stdout is what schnittstellen.ini should name: the device, or
// tcp://127.0.0.1:PORT (PORT 0 takes a free one). --link also makes PATH a
// symbolic link to the device, so the ini file can name a stable path.
#include "escpos/escpos_decoder.h"
#include "printing/escpos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QPointer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextStream>
#include <QUrl>
#include <memory>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <unistd.h>

namespace {

int g_signalRohr[2] = {-1, -1};

void SignalBehandeln(int)
{
    const char b = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalRohr[1], &b, 1);
}

void Ausgeben(const QString &text)
{
    QTextStream out(stdout);
    out << text << Qt::endl;
}

void Fehler(const QString &text)
{
    QTextStream err(stderr);
    err << "virtueller_drucker: " << text << Qt::endl;
}

// The next free number, so a second run never overwrites older receipts.
int NaechsteNummer(const QDir &ordner)
{
    static const QRegularExpression muster(QStringLiteral("^bon-(\\d+)\\.txt$"));
    int hoechste = 0;
    const QStringList namen = ordner.entryList({QStringLiteral("bon-*.txt")}, QDir::Files);
    for (const QString &name : namen) {
        const auto treffer = muster.match(name);
        if (treffer.hasMatch())
            hoechste = std::max(hoechste, treffer.captured(1).toInt());
    }
    return hoechste + 1;
}

class Drucker
{
public:
    // How an answer gets back to the register.
    using Antworten = std::function<void(const QByteArray &)>;
    enum class Stoerung { Keine, Offline, Deckel, Papier };

    explicit Drucker(const QDir &ausgabe) : m_ausgabe(ausgabe), m_nummer(NaechsteNummer(ausgabe)) {}

    void verarbeiten(const QByteArray &bytes, const Antworten &antworten)
    {
        const int status = m_decoder.statusAnfragen();
        const int impulse = m_decoder.schubladenImpulse();
        m_decoder.einspeisen(bytes);
        for (int i = status; i < m_decoder.statusAnfragen(); ++i)
            antworten(statusblock());
        // The drawer pulse is a real-time command: it works in any trouble.
        for (int i = impulse; i < m_decoder.schubladenImpulse(); ++i)
            Ausgeben(QStringLiteral("[Schublade: Impuls %1]").arg(i + 1));
        const QStringList bons = m_decoder.fertigeBons();
        for (const QString &bon : bons) {
            if (m_stoerung == Stoerung::Keine)
                ablegen(bon);
            else
                Ausgeben(QStringLiteral("[nicht gedruckt: %1 Zeilen]").arg(bon.count(u'\n') + 1));
        }
    }

    QByteArray statusblock() const
    {
        return zanti::escpos::Statusblock(m_stoerung == Stoerung::Offline, m_stoerung == Stoerung::Deckel,
                                          m_stoerung == Stoerung::Papier);
    }

    void stoerungSetzen(Stoerung stoerung) { m_stoerung = stoerung; }

private:
    void ablegen(const QString &bon)
    {
        const QString name = QStringLiteral("bon-%1.txt").arg(m_nummer++, 4, 10, QLatin1Char('0'));
        QFile datei(m_ausgabe.filePath(name));
        if (datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
            datei.write(bon.toUtf8() + '\n');
        else
            Fehler(QStringLiteral("%1 kann nicht geschrieben werden").arg(datei.fileName()));
        Ausgeben(QStringLiteral("----- %1 -----").arg(name));
        Ausgeben(bon);
        Ausgeben(QStringLiteral("-----"));
    }

    QDir m_ausgabe;
    int m_nummer = 1;
    EscPosDecoder m_decoder;
    Stoerung m_stoerung = Stoerung::Keine;
};

// The printer on a pseudo-terminal: the register opens the slave.
class PtyAnschluss
{
public:
    PtyAnschluss(Drucker &drucker) : m_drucker(drucker) {}
    ~PtyAnschluss() { trennen(); }

    // Gone: the register's side sees the line hang up.
    void trennen()
    {
        delete m_melder;
        m_melder = nullptr;
        if (!m_link.isEmpty())
            ::unlink(QFile::encodeName(m_link).constData());
        m_link.clear();
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
        m_slave = m_master = -1;
    }
    bool offen() const { return m_master >= 0; }

    void melden(const QByteArray &block)
    {
        if (m_master >= 0)
            antworten(block);
    }

    // The device, empty when there is none.
    QString starten(const QString &link)
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            Fehler(QStringLiteral("kein Pseudo-Terminal: %1").arg(QString::fromLocal8Bit(strerror(errno))));
            return {};
        }
        const char *slaveName = ::ptsname(m_master);
        if (!slaveName) {
            Fehler(QStringLiteral("ptsname fehlgeschlagen"));
            return {};
        }
        const QString slavePfad = QString::fromLocal8Bit(slaveName);
        // Our own slave fd keeps the terminal alive while no register has it open.
        m_slave = ::open(slaveName, O_RDWR | O_NOCTTY);
        if (m_slave < 0) {
            Fehler(QStringLiteral("%1 kann nicht geöffnet werden").arg(slavePfad));
            return {};
        }
        termios roh{};
        if (::tcgetattr(m_slave, &roh) == 0) {
            ::cfmakeraw(&roh);
            ::cfsetispeed(&roh, B9600);
            ::cfsetospeed(&roh, B9600);
            ::tcsetattr(m_slave, TCSANOW, &roh);
        }
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);

        if (!link.isEmpty()) {
            const QByteArray linkPfad = QFile::encodeName(link);
            // A link left by an earlier run goes; a real file there stays.
            if (QFileInfo(link).isSymLink())
                ::unlink(linkPfad.constData());
            if (::symlink(slaveName, linkPfad.constData()) == 0)
                m_link = link;
            else
                Fehler(QStringLiteral("Verweis %1 kann nicht angelegt werden").arg(link));
        }
        m_melder = new QSocketNotifier(m_master, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(m_melder, &QSocketNotifier::activated, [this] { lesen(); });
        return slavePfad;
    }

private:
    void lesen()
    {
        char puffer[4096];
        for (;;) {
            const ssize_t n = ::read(m_master, puffer, sizeof puffer);
            if (n > 0) {
                m_drucker.verarbeiten(QByteArray(puffer, int(n)), [this](const QByteArray &a) { antworten(a); });
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            // EAGAIN: all read. EIO cannot happen while our own slave fd is
            // open; should it, the next notification tries again.
            return;
        }
    }

    void antworten(const QByteArray &antwort)
    {
        qsizetype gesendet = 0;
        while (gesendet < antwort.size()) {
            const ssize_t n = ::write(m_master, antwort.constData() + gesendet,
                                      size_t(antwort.size() - gesendet));
            if (n > 0)
                gesendet += n;
            else if (n < 0 && errno != EINTR && errno != EAGAIN)
                return;
        }
    }

    Drucker &m_drucker;
    int m_master = -1;
    int m_slave = -1;
    QString m_link;
    QSocketNotifier *m_melder = nullptr;
};

// The printer on the network: one register at a time; a new connection (the
// register reconnecting) takes over from the old one.
class TcpAnschluss
{
public:
    TcpAnschluss(Drucker &drucker) : m_drucker(drucker) {}

    void trennen()
    {
        if (m_verbindung)
            m_verbindung->abort();
        m_server.close();
    }
    bool offen() const { return m_server.isListening(); }

    void melden(const QByteArray &block)
    {
        if (m_verbindung)
            m_verbindung->write(block);
    }

    // The address for schnittstellen.ini, empty when the port is taken.
    QString starten(quint16 port)
    {
        if (!m_server.listen(QHostAddress::LocalHost, port)) {
            Fehler(QStringLiteral("Port %1: %2").arg(port).arg(m_server.errorString()));
            return {};
        }
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket *neu = m_server.nextPendingConnection()) {
                if (m_verbindung)
                    m_verbindung->deleteLater();
                m_verbindung = neu;
                QObject::connect(neu, &QTcpSocket::readyRead, neu, [this, neu] {
                    m_drucker.verarbeiten(neu->readAll(), [neu](const QByteArray &a) { neu->write(a); });
                });
                QObject::connect(neu, &QTcpSocket::disconnected, neu, &QObject::deleteLater);
            }
        });
        return QStringLiteral("tcp://127.0.0.1:%1").arg(m_server.serverPort());
    }

private:
    Drucker &m_drucker;
    QTcpServer m_server;
    QPointer<QTcpSocket> m_verbindung;
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString ausgabe = QDir::currentPath();
    QString link;
    QString steuerung;
    int tcpPort = -1;
    const QStringList args = app.arguments();
    bool richtig = true;
    for (int i = 1; i < args.size() && richtig; ++i) {
        if (args[i] == QLatin1String("--ausgabe") && i + 1 < args.size()) {
            ausgabe = args[++i];
        } else if (args[i] == QLatin1String("--link") && i + 1 < args.size()) {
            link = args[++i];
        } else if (args[i] == QLatin1String("--steuerung") && i + 1 < args.size()) {
            steuerung = args[++i];
        } else if (args[i] == QLatin1String("--tcp") && i + 1 < args.size()) {
            bool zahl = false;
            tcpPort = args[++i].toInt(&zahl);
            richtig = zahl && tcpPort >= 0 && tcpPort <= 65535;
        } else {
            richtig = false;
        }
    }
    if (!richtig || (tcpPort >= 0 && !link.isEmpty())) {
        Fehler(QStringLiteral("Aufruf: virtueller_drucker [--ausgabe ORDNER] [--link PFAD | --tcp PORT] "
                              "[--steuerung FIFO]"));
        return 2;
    }
    QDir ausgabeOrdner(ausgabe);
    if (!ausgabeOrdner.exists() && !QDir().mkpath(ausgabe)) {
        Fehler(QStringLiteral("Ordner %1 fehlt").arg(ausgabe));
        return 1;
    }

    Drucker drucker(ausgabeOrdner);
    PtyAnschluss pty(drucker);
    TcpAnschluss tcp(drucker);
    const QString anschluss = tcpPort >= 0 ? tcp.starten(quint16(tcpPort)) : pty.starten(link);
    if (anschluss.isEmpty())
        return 1;
    Ausgeben(anschluss);

    // The troubles, from stdin or the control FIFO, one word a line.
    const quint16 festerPort = tcpPort >= 0 ? quint16(QUrl(anschluss).port()) : 0;
    auto befehl = [&](const QByteArray &zeile) {
        const QByteArray wort = zeile.trimmed();
        static const QHash<QByteArray, Drucker::Stoerung> stoerungen = {
            {"bereit", Drucker::Stoerung::Keine}, {"offline", Drucker::Stoerung::Offline},
            {"deckel", Drucker::Stoerung::Deckel}, {"papier", Drucker::Stoerung::Papier}};
        if (wort == "weg") {
            tcpPort >= 0 ? tcp.trennen() : pty.trennen();
            Ausgeben(QStringLiteral("[weg]"));
            return;
        }
        if (!stoerungen.contains(wort)) {
            if (!wort.isEmpty())
                Fehler(QStringLiteral("unbekannt: %1 (bereit, offline, deckel, papier, weg)")
                           .arg(QString::fromLocal8Bit(wort)));
            return;
        }
        drucker.stoerungSetzen(stoerungen.value(wort));
        if (tcpPort >= 0 && !tcp.offen())
            tcp.starten(festerPort);
        else if (tcpPort < 0 && !pty.offen())
            Ausgeben(pty.starten(link));
        tcpPort >= 0 ? tcp.melden(drucker.statusblock()) : pty.melden(drucker.statusblock());
        Ausgeben(QStringLiteral("[%1]").arg(QString::fromLatin1(wort)));
    };
    auto zeilenLesen = [befehl](int fd, QByteArray &rest) {
        char puffer[256];
        const ssize_t n = ::read(fd, puffer, sizeof puffer);
        if (n <= 0)
            return n;
        rest.append(puffer, int(n));
        for (qsizetype ende; (ende = rest.indexOf('\n')) >= 0; rest.remove(0, ende + 1))
            befehl(rest.left(ende));
        return n;
    };
    QByteArray eingabeRest, steuerRest;
    QSocketNotifier eingabe(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&eingabe, &QSocketNotifier::activated, [&] {
        if (zeilenLesen(STDIN_FILENO, eingabeRest) <= 0)
            eingabe.setEnabled(false); // end of input: nothing more to say
    });
    int steuerFd = -1;
    std::unique_ptr<QSocketNotifier> steuerMelder;
    if (!steuerung.isEmpty()) {
        const QByteArray pfad = QFile::encodeName(steuerung);
        ::unlink(pfad.constData());
        // Opened read-write, so the FIFO never reports an end when a writer goes.
        if (::mkfifo(pfad.constData(), 0600) != 0 || (steuerFd = ::open(pfad.constData(), O_RDWR | O_NONBLOCK)) < 0) {
            Fehler(QStringLiteral("Steuerung %1 kann nicht angelegt werden").arg(steuerung));
        } else {
            steuerMelder = std::make_unique<QSocketNotifier>(steuerFd, QSocketNotifier::Read);
            QObject::connect(steuerMelder.get(), &QSocketNotifier::activated,
                             [&] { zeilenLesen(steuerFd, steuerRest); });
        }
    }

    if (::pipe(g_signalRohr) == 0) {
        struct sigaction sa{};
        sa.sa_handler = SignalBehandeln;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }
    QSocketNotifier signalMelder(g_signalRohr[0], QSocketNotifier::Read);
    QObject::connect(&signalMelder, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    const int ergebnis = app.exec();
    if (steuerFd >= 0) {
        ::close(steuerFd);
        ::unlink(QFile::encodeName(steuerung).constData());
    }
    return ergebnis;
}

// The virtual receipt printer: a pseudo-terminal (or a network printer on
// 127.0.0.1) that reads what the register sends, writes every cut receipt as
// bon-0001.txt, bon-0002.txt, ... and shows it, notes drawer pulses, and
// answers "GS a n" with the status block 20 0 0 0.
//
//   virtueller_drucker [--ausgabe DIR] [--link PATH | --tcp PORT]
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

    explicit Drucker(const QDir &ausgabe) : m_ausgabe(ausgabe), m_nummer(NaechsteNummer(ausgabe)) {}

    void verarbeiten(const QByteArray &bytes, const Antworten &antworten)
    {
        const int status = m_decoder.statusAnfragen();
        const int impulse = m_decoder.schubladenImpulse();
        m_decoder.einspeisen(bytes);
        for (int i = status; i < m_decoder.statusAnfragen(); ++i)
            antworten(zanti::escpos::StatusBereit());
        for (int i = impulse; i < m_decoder.schubladenImpulse(); ++i)
            Ausgeben(QStringLiteral("[Schublade: Impuls %1]").arg(i + 1));
        const QStringList bons = m_decoder.fertigeBons();
        for (const QString &bon : bons)
            ablegen(bon);
    }

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
};

// The printer on a pseudo-terminal: the register opens the slave.
class PtyAnschluss
{
public:
    PtyAnschluss(Drucker &drucker) : m_drucker(drucker) {}
    ~PtyAnschluss()
    {
        if (!m_link.isEmpty())
            ::unlink(QFile::encodeName(m_link).constData());
        if (m_slave >= 0)
            ::close(m_slave);
        if (m_master >= 0)
            ::close(m_master);
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
    int tcpPort = -1;
    const QStringList args = app.arguments();
    bool richtig = true;
    for (int i = 1; i < args.size() && richtig; ++i) {
        if (args[i] == QLatin1String("--ausgabe") && i + 1 < args.size()) {
            ausgabe = args[++i];
        } else if (args[i] == QLatin1String("--link") && i + 1 < args.size()) {
            link = args[++i];
        } else if (args[i] == QLatin1String("--tcp") && i + 1 < args.size()) {
            bool zahl = false;
            tcpPort = args[++i].toInt(&zahl);
            richtig = zahl && tcpPort >= 0 && tcpPort <= 65535;
        } else {
            richtig = false;
        }
    }
    if (!richtig || (tcpPort >= 0 && !link.isEmpty())) {
        Fehler(QStringLiteral("Aufruf: virtueller_drucker [--ausgabe ORDNER] [--link PFAD | --tcp PORT]"));
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

    if (::pipe(g_signalRohr) == 0) {
        struct sigaction sa{};
        sa.sa_handler = SignalBehandeln;
        sigemptyset(&sa.sa_mask);
        sigaction(SIGTERM, &sa, nullptr);
        sigaction(SIGINT, &sa, nullptr);
    }
    QSocketNotifier signalMelder(g_signalRohr[0], QSocketNotifier::Read);
    QObject::connect(&signalMelder, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    return app.exec();
}

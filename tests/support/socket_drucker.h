#pragma once
// A printer stand-in behind a socket, for the printers that are no serial
// line: a network printer on 127.0.0.1 (a port the system picks) or a device
// path that is a local socket. The test reads what the register sends and
// answers as the printer.
//
// Waiting runs the Qt event loop (QTest::qWait); it is meant for tests only.
#include <QByteArray>
#include <QLocalServer>
#include <QPointer>
#include <QString>
#include <QTcpServer>

namespace zanti::test {

class SocketDrucker
{
public:
    // A network printer on 127.0.0.1.
    SocketDrucker();
    // A local socket at pfad.
    explicit SocketDrucker(const QString &pfad);

    bool bereit() const { return m_bereit; }
    // What schnittstellen.ini names: "tcp://127.0.0.1:port" or the path.
    QString adresse() const { return m_adresse; }
    // Connections taken so far.
    int verbindungen() const { return m_verbindungen; }

    // As PseudoTerminal: up to wartezeitMs for the first byte, then until
    // the line is quiet; or until anzahlBytes arrived.
    QByteArray empfangen(int wartezeitMs = 1000);
    QByteArray empfangenBis(qsizetype anzahlBytes, int wartezeitMs = 5000);
    void senden(const QByteArray &bytes);
    // Cuts the connection hard, as a pulled cable or a printer switched off.
    void trennen();

private:
    void annehmen(QIODevice *verbindung);
    void lesen();

    QTcpServer m_tcp;
    QLocalServer m_lokal;
    QPointer<QIODevice> m_verbindung;
    QString m_adresse;
    QByteArray m_eingang;
    int m_verbindungen = 0;
    bool m_bereit = false;
};

} // namespace zanti::test

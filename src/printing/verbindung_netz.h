#pragma once
// A network printer on raw TCP ("tcp://192.168.1.50:9100"); its automatic
// status comes back on the same connection.
#include "printing/drucker_verbindung.h"

#include <QTcpSocket>

namespace zanti {

class VerbindungNetz : public DruckerVerbindung
{
    Q_OBJECT

public:
    // A printer that is not there must not hold up the window for long.
    static constexpr int kVerbindungsfristMs = 1500;
    static constexpr quint16 kStandardPort = 9100;

    static bool istAdresse(const QString &geraet);
    // Empty when the address is wrong or nobody answers in time.
    static std::unique_ptr<VerbindungNetz> oeffnen(const QString &adresse);
    ~VerbindungNetz() override;

    bool schreiben(const QByteArray &bytes) override;
    qint64 zuSchreiben() const override { return m_socket.bytesToWrite(); }
    qint64 wartend() const override { return m_socket.bytesAvailable(); }
    QByteArray lesen(qint64 hoechstens) override;
    void eingangVerwerfen() override { m_socket.readAll(); }
    void leeren(QDeadlineTimer frist) override;

private:
    VerbindungNetz() = default;
    void abgebrochen();

    QTcpSocket m_socket;
    bool m_verloren = false;
};

} // namespace zanti

#pragma once
// A printer device that is no serial line, such as a USB printer
// (/dev/usb/lp0): opened read and write, bytes written as they are, status
// bytes read when the device returns them. A path that names a local socket
// (a printer emulator or a print proxy) is connected to instead, since such a
// path cannot be opened as a file.
#include "printing/drucker_verbindung.h"

class QSocketNotifier;

namespace zanti {

// Unix only; it adds no signals of its own.
class VerbindungGeraet : public DruckerVerbindung
{
public:
    // Takes an open, non-blocking descriptor; istSocket: end of file then
    // means the other side has gone.
    VerbindungGeraet(int deskriptor, bool istSocket);
    ~VerbindungGeraet() override;

    bool schreiben(const QByteArray &bytes) override;
    qint64 zuSchreiben() const override { return m_ausgang.size(); }
    qint64 wartend() const override { return m_eingang.size(); }
    QByteArray lesen(qint64 hoechstens) override;
    void eingangVerwerfen() override;
    void leeren(QDeadlineTimer frist) override;

private:
    void ausgeben();
    void einlesen();
    void abbrechen();

    int m_fd;
    bool m_socket;
    bool m_verloren = false;
    QSocketNotifier *m_lesen = nullptr;
    QSocketNotifier *m_schreiben = nullptr;
    QByteArray m_ausgang;
    QByteArray m_eingang;
};

} // namespace zanti

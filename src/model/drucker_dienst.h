#pragma once
// The printer service: the one place that opens, switches and re-chooses
// the receipt printer's port, with the commands a freshly opened printer
// needs and the message when the port does not open. Start-up, F2, the
// printer button and the port dialog all go through it. It shows nothing:
// a failure comes back as the German text to show.
#include "printing/drucker_verbindung.h"

#include <QString>
#include <optional>

namespace zanti {

class DruckerPort;

class DruckerDienst
{
public:
    // The program folder's schnittstellen.ini says which device each COM
    // number stands for.
    DruckerDienst(const QString &programmordner, DruckerPort &port)
        : m_ordner(programmordner), m_port(port) {}

    // "Schnittstelle an COM n kann nicht geöffnet werden!"
    static QString PortMeldung(const QString &port);
    // The same, and on a line of its own the device and the likely cause,
    // with what the user can do about it. benutzer: the login name.
    static QString PortMeldung(const QString &port, const QString &geraet, const Oeffnungsfehler &fehler,
                               const QString &benutzer);

    // At start-up, with setting 6 as stored: true when the printer is on.
    // A setting that is no number still opens the port the control had, but
    // counts as a failure (the printer stays off). On failure *meldung is set.
    bool starten(const QString &einstellung6, QString *meldung);

    // The printer switch (F2, the button): true when the printer is on
    // afterwards. A printer that went away while on is connected again.
    // The message names setting 6 for the key and the port in use for the
    // button, as the register always did.
    enum class Schaltweg { Knopf, Taste };
    bool umschalten(bool ein, const QString &einstellung6, Schaltweg weg, QString *meldung);

    // The port dialog's entry as typed, changed to what is to stand in the
    // field: empty means 1, a number above the last port the last port.
    // The port number, or nothing when the entry is no port number.
    static std::optional<int> PortEingabe(QString &text);

    // The port dialog's choice: closes the old port and opens port nummer;
    // nothing (the printer runs on it) or the message to show. text is the
    // number as typed, for the message.
    std::optional<QString> waehlen(int nummer, const QString &text);

    int port() const;

private:
    // The device of the port's COM number, looked up anew each time: the
    // file may have been changed while the register runs.
    bool oeffnen();
    // The message after a failed attempt: with the cause when the device
    // itself did not open in this attempt.
    QString meldung(const QString &port) const;

    const QString m_ordner;
    DruckerPort &m_port;
    QString m_geraet;
    Oeffnungsfehler m_fehler;
};

} // namespace zanti

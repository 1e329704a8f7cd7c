#pragma once
// The statement's files: made from a source, written atomically, never over
// an existing file unless asked. Also the one call the register's set-up
// button needs.
#include "abrechnung/abrechnung.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace zanti {

struct AbrechnungsDateien
{
    QString pdf; // empty: not wanted
    QString csv;
};

// Writes the wanted files of a; an existing one is refused with a German
// message unless ueberschreiben. Needs a QGuiApplication for the PDF.
bool AbrechnungSpeichern(const Abrechnung &a, const AbrechnungsDateien &dateien, bool ueberschreiben,
                         const QDateTime &erstellt, QString &fehler);

// For the register's button: today's statement (the local calendar day of
// jetzt) of the journal in programmOrdner, as PDF and CSV under their
// default names in zielOrdner (made when missing; the register passes
// programmOrdner/abrechnungen or a folder the operator picked). A name that
// exists gets "_2", "_3", ...: a second press never replaces the first
// files. The paths written, or nothing and a German message.
std::optional<AbrechnungsDateien> TagesabrechnungSchreiben(const QString &programmOrdner, const QString &zielOrdner,
                                                          const QDateTime &jetzt, QString &fehler);

} // namespace zanti

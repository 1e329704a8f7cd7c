#pragma once
// Whole-file reads and atomic saves in the program folder.
#include <QByteArray>
#include <QString>
#include <optional>

namespace zanti {

// The file's bytes, or nothing when it is missing or unreadable.
std::optional<QByteArray> DateiLesen(const QString &pfad);

// Replaces the file atomically: a power cut leaves the old or the new file,
// never a truncated one. False when the file could not be written.
bool DateiSpeichern(const QString &pfad, const QByteArray &inhalt);

// A file of the program folder: the folder, a separator and the name.
QString ProgrammDatei(const QString &ordner, const QString &name);

} // namespace zanti

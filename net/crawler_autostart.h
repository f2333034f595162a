#pragma once

#include <QString>

// The start-with-login entry: an XDG autostart desktop entry that starts the program with the switch that
// makes it minimise itself once its first project is open.

inline constexpr char16_t kAutostartSwitch[] = u"--GoProject4";

// program as one argument of a desktop entry's Exec value, ready for the file: quoted, with '"', '`', '$'
// and '\' escaped inside the quotes and '%' doubled, then the string escapes of the file format applied.
QString DesktopExecArgument(const QString& program);

// The whole entry for executable.
QString AutostartEntryText(const QString& executable);

// Writes the entry atomically, making its folder when missing; false when it could not be written (an
// existing entry is then untouched).
bool WriteAutostartEntry(const QString& entryPath, const QString& executable);

// Removes the entry; true when none is left.
bool RemoveAutostartEntry(const QString& entryPath);

// True when an entry exists and is not empty.
bool HasAutostartEntry(const QString& entryPath);

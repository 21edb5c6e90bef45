#pragma once
#include <QString>

// The embedded engine runs in SuperClassic mode from a private Firebird root in the
// program directory, so gbak and other processes on this machine can open the same
// database file while the program is connected. Must run before the client library
// is first used; child processes inherit FIREBIRD and FIREBIRD_LOCK.
// Returns false (with a reason) when the root cannot be prepared.
bool PrepareFirebirdRoot(const QString &rootDir, QString *error = nullptr);

// The system's Firebird installation the private root links to.
QString SystemFirebirdRoot();

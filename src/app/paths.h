#pragma once
#include <QString>

// The program directory: where settings.ini, lng/, db/, backups/, bug.log and the
// helper programs live. It is the executable's directory unless LORMEN_HOME names another.
QString ProgramDir();

// A path inside the program directory, e.g. ProgramFile("settings.ini").
QString ProgramFile(const QString &relative);

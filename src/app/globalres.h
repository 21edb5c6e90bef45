#pragma once
// Program-wide state and the small routines every window shares.
#include "app/language.h"
#include "app/settings.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QTime>

extern TSettings Settings;
extern TLanguageString LanguageString;

// x rounded to a multiple of 1/R; halves go to the even neighbour (2.5 → 2, 3.5 → 4).
double RoundPrice(double R, double x);

// The greatest value of `column` in `table` (0 for an empty table); a new row's ID is this + 1.
// Table and column are names the program chooses, never user text. Throws ELormenError on a
// database error.
int HighestId(const QSqlDatabase &db, const QString &table, const QString &column = QStringLiteral("ID"));

// `wanted` when it is free, the highest value + 1 when it is taken, the highest value when 0.
int MaxIdFree(int wanted, const QSqlDatabase &db, const QString &table, const QString &column);

// The current time of day with seconds and milliseconds cleared.
QTime TimeWithoutSeconds();

// The main window's title: the caption text, the version, and the logged-in user in brackets.
QString TitleText();

// Commits the shared transaction; true when a transaction is still active afterwards.
bool CommitWork();

// Writes the settings the dialogs manage into settings.ini; throws ELormenError when it cannot.
void WriteSettings();

class QWidget;

// Empties the given inputs (texts, notes, rich texts; combo boxes to their first item;
// date and time pickers to now) and enables them.
void ClearInputs(const QList<QWidget *> &controls);
void EnableControls(const QList<QWidget *> &controls);
void DisableControls(const QList<QWidget *> &controls);

// Linux has no short path forms: the path as it is.
QString ShortPath(const QString &path);

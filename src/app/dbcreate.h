#pragma once
#include <QString>
#include <QStringList>

// Creates a database file and runs the schema on it through the Firebird client API.
// Qt's driver can do neither: it cannot create databases and prepares in dialect 3,
// where the schema's DATE columns would mean something else.
class TDatabaseCreator
{
public:
    // Creates `file` (dialect 1, WIN1250) and executes every statement of `schemaSql`.
    // Throws ELormenError with the server's message when anything fails; a half-made
    // file is removed again.
    static void Create(const QString &file, const QString &schemaSql,
                       const QString &user, const QString &password);

    // The schema shipped inside the program.
    static QString BuiltInSchema();

    // Splits a schema script into statements the way isql does: ';' ends a
    // statement, "SET TERM" changes the terminator, lines starting with "--" are comments.
    static QStringList SplitStatements(const QString &script);
};

#include "app/globalres.h"
#include "app/datamod_main.h"
#include "app/paths.h"

#include <QRegularExpression>
#include <QTime>

#include <cfenv>
#include <cmath>

TSettings Settings;
TLanguageString LanguageString;

double RoundPrice(double R, double x)
{
    // nearbyint follows the current rounding mode, which is to-nearest-even.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(x * R) / R;
    std::fesetround(previous);
    return rounded;
}

namespace {
// Table and column names come from the program; make sure they are plain identifiers.
QString identifier(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw ELormenError(QStringLiteral("Not a database name: %1").arg(name));
    return name;
}

int highest(const QSqlDatabase &db, const QString &table, const QString &column)
{
    QSqlQuery query = PrepareQuery(QStringLiteral("SELECT MAX(%1) FROM %2").arg(identifier(column), identifier(table)), db);
    ExecQuery(query);
    return query.next() ? query.value(0).toInt() : 0;
}
} // namespace

int HighestId(const QSqlDatabase &db, const QString &table, const QString &column)
{
    return highest(db, table, column);
}

int MaxIdFree(int wanted, const QSqlDatabase &db, const QString &table, const QString &column)
{
    const int top = highest(db, table, column);
    if (wanted == 0)
        return top;
    QSqlQuery taken = PrepareQuery(QStringLiteral("SELECT 1 FROM RDB$DATABASE WHERE EXISTS (SELECT 1 FROM %1 WHERE %2 = ?)")
                                       .arg(identifier(table), identifier(column)), db);
    ExecQuery(taken, {wanted});
    return taken.next() ? top + 1 : wanted;
}

QTime TimeWithoutSeconds()
{
    const QTime now = QTime::currentTime();
    return QTime(now.hour(), now.minute());
}

QString TitleText()
{
    QString title = LanguageString.Caption + ' ' + Settings.Version;
    if (!Settings.User.Name.isEmpty())
        title += QStringLiteral(" [") + Settings.User.Name + ']';
    return title;
}

bool CommitWork()
{
    return DataModule_main().CommitWork();
}

void WriteSettings()
{
    WriteSettingsFile(Settings, ProgramFile(QStringLiteral("settings.ini")));
}

QString ShortPath(const QString &path)
{
    return path;
}

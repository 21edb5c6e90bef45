#include "app/globalres.h"
#include "app/datamod_main.h"
#include "app/paths.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextEdit>
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

void ClearInputs(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        if (auto *edit = qobject_cast<QLineEdit *>(control))
            edit->clear();
        else if (auto *memo = qobject_cast<QPlainTextEdit *>(control))
            memo->clear();
        else if (auto *rich = qobject_cast<QTextEdit *>(control))
            rich->clear();
        else if (auto *combo = qobject_cast<QComboBox *>(control))
            combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
        else if (auto *picker = qobject_cast<QDateTimeEdit *>(control))
            picker->setDateTime(QDateTime::currentDateTime());
    }
    EnableControls(controls);
}

void EnableControls(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls)
        control->setEnabled(true);
}

void DisableControls(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls)
        control->setEnabled(false);
}

QString ShortPath(const QString &path)
{
    return path;
}

#include "app/errorlog.h"
#include "app/dialogs.h"
#include "app/errors.h"
#include "app/globalres.h"
#include "app/paths.h"

#include <QDateTime>
#include <QFile>
#include <QGuiApplication>

QString LogLine(const QDateTime &when, const QString &text)
{
    QString stamp = when.toString(QStringLiteral("dd.MM.yyyy"));
    if (when.time() != QTime(0, 0))
        stamp += ' ' + when.toString(QStringLiteral("HH:mm:ss"));
    return stamp + '\t' + text;
}

void AppendLog(const QString &text)
{
    QFile log(ProgramFile(QStringLiteral("bug.log")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        throw ELormenError(QStringLiteral("Cannot write the error log %1: %2").arg(log.fileName(), log.errorString()));
    const QByteArray line = (LogLine(QDateTime::currentDateTime(), text) + '\n').toUtf8();
    if (log.write(line) != line.size() || !log.flush())
        throw ELormenError(QStringLiteral("Cannot write the error log %1: %2").arg(log.fileName(), log.errorString()));
}

void AppException(const QString &message)
{
    QString shown = message;
    try {
        AppendLog(message);
    } catch (const ELormenError &logError) {
        // The user still learns what went wrong, and why it is not in the log.
        shown += "\n\n" + logError.message();
    }
    Dialogs().ShowError(shown);
    if (Settings.SendBugReport
        && Dialogs().Ask(LanguageString.STR_SENDBUG_TEXT, LanguageString.STR_SENDBUG_CAPT)) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const QString helper = ProgramFile(QStringLiteral("sendbug"));
        if (QFile::exists(helper))
            Dialogs().StartDetached(helper, {});
        QGuiApplication::restoreOverrideCursor();
    }
    QCoreApplication::exit(1);
}

TLormenApplication::TLormenApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool TLormenApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ELormenError &error) {
        AppException(error.message());
    } catch (const std::exception &error) {
        AppException(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        AppException(QStringLiteral("Unknown error"));
    }
    return false;
}

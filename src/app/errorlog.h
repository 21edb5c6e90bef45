#pragma once
#include <QApplication>
#include <QString>

// Appends one line "date time<TAB>text" to bug.log in the program directory.
// Throws ELormenError when the log cannot be written.
void AppendLog(const QString &text);

// The line AppendLog writes for `text` at `when` (the time is left out at exactly midnight).
QString LogLine(const QDateTime &when, const QString &text);

// Handles an error that no routine caught: logs it, shows it, offers the bug report
// helper when configured, and ends the application.
void AppException(const QString &message);

// The application object: errors escaping an event handler end in AppException
// instead of unwinding through Qt's event loop.
class TLormenApplication : public QApplication
{
public:
    TLormenApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

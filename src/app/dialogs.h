#pragma once
#include <QString>
#include <QStringList>

class QWidget;

// The one seam for message boxes, questions, file choosers and detached processes.
// The program uses the real implementation; tests install one that answers at once.
class TDialogs
{
public:
    virtual ~TDialogs() = default;
    virtual void ShowText(const QString &text);
    virtual void ShowError(const QString &text);
    virtual bool Ask(const QString &text, const QString &caption);
    virtual QString SaveFileName(const QString &filter);
    virtual QString OpenFileName(const QString &filter);
    // Starts a program without waiting for it; returns its process ID, 0 when it cannot start.
    virtual qint64 StartDetached(const QString &program, const QStringList &arguments);
    // Hands an address or document to the system to open.
    virtual void OpenUrl(const QString &address);
};

// The dialogs in use; never null.
TDialogs &Dialogs();
// Installs another implementation (the caller keeps ownership); nullptr restores the real one.
void SetDialogs(TDialogs *dialogs);

// Shows the text in a message box with an OK button.
void ShowText(const QString &text);

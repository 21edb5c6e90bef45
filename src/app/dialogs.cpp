#include "app/dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>

namespace {
TDialogs realDialogs;
TDialogs *current = &realDialogs;

QWidget *parentWindow()
{
    return QApplication::activeWindow();
}
} // namespace

void TDialogs::ShowText(const QString &text)
{
    QMessageBox::information(parentWindow(), QApplication::applicationName(), text);
}

void TDialogs::ShowError(const QString &text)
{
    QMessageBox::critical(parentWindow(), QApplication::applicationName(), text);
}

bool TDialogs::Ask(const QString &text, const QString &caption)
{
    return QMessageBox::question(parentWindow(), caption, text, QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

QString TDialogs::SaveFileName(const QString &filter)
{
    return QFileDialog::getSaveFileName(parentWindow(), QString(), QString(), filter);
}

QString TDialogs::OpenFileName(const QString &filter)
{
    return QFileDialog::getOpenFileName(parentWindow(), QString(), QString(), filter);
}

qint64 TDialogs::StartDetached(const QString &program, const QStringList &arguments)
{
    qint64 pid = 0;
    return QProcess::startDetached(program, arguments, QString(), &pid) ? pid : 0;
}

void TDialogs::OpenUrl(const QString &address)
{
    QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

TDialogs &Dialogs()
{
    return *current;
}

void SetDialogs(TDialogs *dialogs)
{
    current = dialogs ? dialogs : &realDialogs;
}

void ShowText(const QString &text)
{
    Dialogs().ShowText(text);
}

#pragma once
// Test fixture: a fresh program directory and a fresh embedded database per test.
#include "app/dialogs.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class TestEnv
{
public:
    // withDatabase false gives just the program directory.
    explicit TestEnv(bool withDatabase = true);
    ~TestEnv();
    TestEnv(const TestEnv &) = delete;
    TestEnv &operator=(const TestEnv &) = delete;

    QString home() const;          // the program directory, ending in "/"
    QString databaseDir() const;   // home() + "db/"
    QString databaseFile() const;  // databaseDir() + "TARN07.GDB"
    // A QIBASE connection of its own to the fixture's database (opened on first use).
    QSqlDatabase connection(const QString &name = QStringLiteral("tst"));

    // The schema of the source tree.
    static QString schema();
    // Copies the shipped language files into the program directory's "lng/".
    void installLanguages() const;
    // The program directory's settings.ini, and a way to give it a content of the test's.
    QString settingsFile() const;
    void writeSettings(const QByteArray &content) const;

private:
    QTemporaryDir m_dir;
    QStringList m_connections;
};

// Message boxes and questions answered at once; detached programs recorded (and, when
// `startForReal` is set, also started).
class TRecordingDialogs : public TDialogs
{
public:
    TRecordingDialogs() { SetDialogs(this); }
    ~TRecordingDialogs() override { SetDialogs(nullptr); }

    void ShowText(const QString &text) override { texts << text; }
    void ShowError(const QString &text) override { errors << text; }
    bool Ask(const QString &text, const QString &caption) override
    {
        questions << text;
        Q_UNUSED(caption);
        return answers.isEmpty() ? false : answers.takeFirst();
    }
    QString SaveFileName(const QString &) override { return fileNames.isEmpty() ? QString() : fileNames.takeFirst(); }
    QString OpenFileName(const QString &) override { return fileNames.isEmpty() ? QString() : fileNames.takeFirst(); }
    qint64 StartDetached(const QString &program, const QStringList &arguments) override
    {
        started << (QStringList{program} + arguments);
        return startForReal ? TDialogs::StartDetached(program, arguments) : 4242;
    }

    void OpenUrl(const QString &address) override { opened << address; }

    QStringList texts, errors, questions, fileNames, opened;
    QList<bool> answers;
    QList<QStringList> started;
    bool startForReal = false;
};

class TDataModule_main;

// Connects the module to the database of Settings.Database.Path as the program does once it
// has started: connected, the shared transaction running and the lists open.
bool ConnectAsProgram(TDataModule_main &module);

// Waits (processing events) until a process that is not our child has ended.
bool WaitForPid(qint64 pid, int timeoutMs = 60000);

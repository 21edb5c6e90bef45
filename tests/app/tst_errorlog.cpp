// The error log and the handler of errors that escape an event handler.
#include "fixture.h"

#include "app/errorlog.h"
#include "app/errors.h"
#include "app/globalres.h"

#include <QFile>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestErrorLog : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;

    QString logText() const
    {
        QFile log(env->home() + QStringLiteral("bug.log"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    // Lets `failure` escape from a timer handler inside the event loop; returns the loop's exit code.
    int runFailingHandler(const std::function<void()> &failure)
    {
        QTimer::singleShot(0, qApp, failure);
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(99); });
        return QCoreApplication::exec();
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>(false);
        dialogs = std::make_unique<TRecordingDialogs>();
        LanguageString.STR_SENDBUG_TEXT = QStringLiteral("Send a report?");
        LanguageString.STR_SENDBUG_CAPT = QStringLiteral("Report");
    }
    void cleanup()
    {
        dialogs.reset();
        env.reset();
    }

    void logLineFormat()
    {
        QCOMPARE(LogLine(QDateTime(QDate(2008, 1, 5), QTime(14, 30, 5)), QStringLiteral("Boom")),
                 QStringLiteral("05.01.2008 14:30:05\tBoom"));
        QCOMPARE(LogLine(QDateTime(QDate(2008, 1, 5), QTime(0, 0)), QStringLiteral("Midnight")),
                 QStringLiteral("05.01.2008\tMidnight"));
    }

    void appendCreatesThenAppends()
    {
        QVERIFY(!QFile::exists(env->home() + "bug.log"));
        AppendLog(QStringLiteral("první"));
        AppendLog(QStringLiteral("second"));
        const QStringList lines = logText().split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].endsWith(QStringLiteral("\tprvní")));
        QVERIFY(lines[1].endsWith(QStringLiteral("\tsecond")));
    }

    void unwritableSettingsReachTheHandler()
    {
        // Settings written where no file can be: the error ends in the handler, is logged,
        // shown, and ends the program.
        Settings.SendBugReport = false;
        const QString blocked = env->home() + QStringLiteral("blocker");
        QFile(blocked).open(QIODevice::WriteOnly);
        const int code = runFailingHandler([&] { WriteSettingsFile(Settings, blocked + "/settings.ini"); });
        QCOMPARE(code, 1);
        QCOMPARE(dialogs->errors.size(), 1);
        QVERIFY2(dialogs->errors[0].contains(blocked + "/settings.ini"), qPrintable(dialogs->errors[0]));
        QVERIFY(logText().contains('\t' + dialogs->errors[0]));
        QVERIFY(dialogs->questions.isEmpty());
    }

    void bugReportOffer_data()
    {
        QTest::addColumn<bool>("helperPresent");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("started");
        QTest::newRow("yes") << true << true << true;
        QTest::newRow("no") << true << false << false;
        QTest::newRow("helper missing") << false << true << false;
    }

    void bugReportOffer()
    {
        QFETCH(bool, helperPresent);
        QFETCH(bool, answer);
        QFETCH(bool, started);
        Settings.SendBugReport = true;
        if (helperPresent)
            QFile(env->home() + QStringLiteral("sendbug")).open(QIODevice::WriteOnly);
        dialogs->answers << answer;
        const int code = runFailingHandler([] { throw std::runtime_error("unexpected"); });
        QCOMPARE(code, 1);
        QCOMPARE(dialogs->questions, QStringList{QStringLiteral("Send a report?")});
        QCOMPARE(dialogs->started.size(), started ? 1 : 0);
        if (started)
            QCOMPARE(dialogs->started[0], QStringList{env->home() + QStringLiteral("sendbug")});
        QVERIFY(logText().contains(QStringLiteral("\tunexpected")));
    }

    void unwritableLogStillShowsTheError()
    {
        Settings.SendBugReport = false;
        QDir().mkpath(env->home() + QStringLiteral("bug.log")); // a directory where the log should be
        QCOMPARE(runFailingHandler([] { throw ELormenError(QStringLiteral("Disk full")); }), 1);
        QCOMPARE(dialogs->errors.size(), 1);
        QVERIFY(dialogs->errors[0].startsWith(QStringLiteral("Disk full")));
        QVERIFY(dialogs->errors[0].contains(QStringLiteral("bug.log")));
    }
};

int main(int argc, char **argv)
{
    TLormenApplication app(argc, argv);
    TestErrorLog test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorlog.moc"

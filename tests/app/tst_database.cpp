// The connection module against real embedded databases: retries, events, backups,
// the shared routines that ask the database, and text round trips.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/errorlog.h"
#include "app/globalres.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <utime.h>

namespace {
int count(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next())
        qFatal("count failed: %s", qPrintable(sql));
    return q.value(0).toInt();
}

void touch(const QString &path, qint64 secondsAgo)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
    f.close();
    const time_t t = time(nullptr) - secondsAgo;
    utimbuf times{t, t};
    utime(QFile::encodeName(path).constData(), &times);
}
} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TDataModule_main> module;
    std::unique_ptr<TRecordingDialogs> dialogs;
    int pauses = 0;

    // The program's module connected to the fixture's database, pauses counted not slept.
    void connectModule()
    {
        QVERIFY(ConnectAsProgram(*module));
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        dialogs = std::make_unique<TRecordingDialogs>();
        module = std::make_unique<TDataModule_main>();
        SetDataModule_main(module.get());
        pauses = 0;
        module->Pause = [this](int ms) { QCOMPARE(ms, 3000); ++pauses; };
        LanguageString.STR_WAS_BACKUP_ON = QStringLiteral("Backup started:");
        LanguageString.STR_MISTAKE_BACKUP = QStringLiteral("No backup");
        LanguageString.STR_WAS_RESTORE = QStringLiteral("Restored");
        LanguageString.STR_RESTORE_FAILED = QStringLiteral("Restore failed");
        LanguageString.STR_DB_CHARSET = QStringLiteral("Character not allowed");
        LanguageString.STR_REOPENDB_ERR = QStringLiteral("Reload failed");
    }

    void cleanup()
    {
        module.reset();
        dialogs.reset();
        env.reset();
    }

    void unreachableDatabaseFailsAfterNineAttemptsThenTriesOnce()
    {
        Settings.Database.Path = env->home() + QStringLiteral("nowhere/");
        QVERIFY(!module->ConnectDatabase(Settings.Database.Path));
        QCOMPARE(module->ConnectRetries, 9);
        QCOMPARE(pauses, 8);
        QVERIFY(!module->ConnectDatabase(Settings.Database.Path));
        QCOMPARE(module->ConnectRetries, 10);
        QCOMPARE(pauses, 8);
    }

    void fifthAttemptSucceeds()
    {
        // The database appears while the program waits before its fifth attempt.
        const QString real = env->databaseFile();
        const QString hidden = real + QStringLiteral(".away");
        QVERIFY(QFile::rename(real, hidden));
        module->Pause = [&](int) {
            if (++pauses == 4)
                QFile::rename(hidden, real);
        };
        QVERIFY(module->ConnectDatabase(Settings.Database.Path));
        QCOMPARE(module->ConnectRetries, 5);
        QVERIFY(dialogs->texts.isEmpty());
        QVERIFY(dialogs->errors.isEmpty());
    }

    void emptyDirectoryMeansProgramDb()
    {
        QCOMPARE(TDataModule_main::DatabaseFile(QString()), env->home() + QStringLiteral("db/TARN07.GDB"));
        QCOMPARE(TDataModule_main::DatabaseFile(QStringLiteral("server:/data/")), QStringLiteral("server:/data/TARN07.GDB"));
        QVERIFY(module->ConnectDatabase(QString()));
    }

    void missingLocalDatabaseIsCreated()
    {
        QVERIFY(QFile::remove(env->databaseFile()));
        TDataModule_main::EnsureLocalDatabase(Settings.Database.Path);
        connectModule();
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM USERS WHERE JMENO = 'admin'"), 1);
    }

    void eventReachesAnotherConnectionAndReloads()
    {
        connectModule();
        QVERIFY(module->ListenerRegistered());
        QSignalSpy events(module.get(), &TDataModule_main::DatabaseEvent);
        QSignalSpy reloads(module.get(), &TDataModule_main::DataRefreshed);

        QSqlDatabase other = env->connection(QStringLiteral("workstationB"));
        QVERIFY(other.transaction());
        QSqlQuery insert(other);
        QVERIFY(insert.prepare("INSERT INTO GOODS (ID, NAZEV) VALUES (?, ?)"));
        insert.addBindValue(7);
        insert.addBindValue(QStringLiteral("Vrtačka"));
        QVERIFY(insert.exec());
        QTest::qWait(200);
        QCOMPARE(events.count(), 0); // nothing before the commit
        QVERIFY(other.commit());
        QVERIFY(events.wait(5000));
        QVERIFY(reloads.count() >= 1);
        // The reload started a new snapshot: the other workstation's row is visible.
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM GOODS WHERE ID = 7"), 1);
    }

    void eventReachesAnotherProcess()
    {
        connectModule();
        QSignalSpy events(module.get(), &TDataModule_main::DatabaseEvent);
        const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
        if (isql.isEmpty())
            QSKIP("isql-fb is not installed");
        QProcess process;
        process.start(isql, {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"),
                             QStringLiteral("-user"), Settings.Database.User, env->databaseFile()});
        QVERIFY(process.waitForStarted());
        process.write("UPDATE LORMEN SET NAZEV = 'Jiná půjčovna' WHERE ID = 1;\nCOMMIT;\nQUIT;\n");
        process.closeWriteChannel();
        QVERIFY(events.wait(15000));
        QVERIFY(process.waitForFinished(15000));
        QCOMPARE(process.exitCode(), 0);
    }

    void disconnectedModuleIgnoresEvents()
    {
        connectModule();
        module->SetDisconnected();
        QVERIFY(!Settings.Database.Connected);
        QSignalSpy reloads(module.get(), &TDataModule_main::DataRefreshed);
        QSignalSpy events(module.get(), &TDataModule_main::DatabaseEvent);
        QSqlDatabase other = env->connection(QStringLiteral("workstationB"));
        QSqlQuery(other).exec("UPDATE LORMEN SET MESTO = 'Brno' WHERE ID = 1");
        QVERIFY(events.wait(5000));
        QCOMPARE(reloads.count(), 0);
    }

    void textsRoundTripUnchanged_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << QStringLiteral("O'Neill");
        QTest::newRow("czech") << QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
        QTest::newRow("sql characters") << QStringLiteral("a \"quoted\"; DROP TABLE USERS; -- b");
        QTest::newRow("empty") << QString();
        QTest::newRow("long czech") << QString(64, QChar(0x0159)); // 64 × ř fills VARCHAR(64)
    }

    void textsRoundTripUnchanged()
    {
        QFETCH(QString, text);
        connectModule();
        {
            TWorkTransaction work(*module);
            QSqlQuery insert = PrepareQuery(QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, ID_TYP) VALUES (?, ?, 1)"));
            ExecQuery(insert, {HighestId(module->IBDatabase1(), "CUSTOMERS") + 1, text});
            work.Commit();
        }
        QSqlQuery select = PrepareQuery(QStringLiteral("SELECT JMENO FROM CUSTOMERS WHERE JMENO = ?"));
        ExecQuery(select, {text});
        QVERIFY(select.next());
        QCOMPARE(select.value(0).toString(), text);
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM USERS"), 1);
    }

    void characterOutsideWin1250IsRefusedAndNothingWritten()
    {
        connectModule();
        try {
            TWorkTransaction work(*module);
            QSqlQuery first = PrepareQuery(QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, ID_TYP) VALUES (1, ?, 1)"));
            ExecQuery(first, {QStringLiteral("Novák")});
            QSqlQuery second = PrepareQuery(QStringLiteral("INSERT INTO CUSTOMERS (ID, JMENO, ID_TYP) VALUES (2, ?, 1)"));
            ExecQuery(second, {QStringLiteral("漢字")});
            work.Commit();
            QFAIL("the text was accepted");
        } catch (const EDatabaseError &error) {
            QVERIFY2(error.message().startsWith(QStringLiteral("Character not allowed")), qPrintable(error.message()));
        }
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM CUSTOMERS"), 0);
        QCOMPARE(count(env->connection(), "SELECT COUNT(*) FROM CUSTOMERS"), 0);
    }

    void highestIdAndMaxIdFree()
    {
        connectModule();
        QSqlDatabase db = module->IBDatabase1();
        QCOMPARE(HighestId(db, "INVOICE"), 0);
        for (int number : {1, 2, 7}) {
            QSqlQuery insert = PrepareQuery(QStringLiteral("INSERT INTO INVOICE (ID, CIS_FAKT) VALUES (?, ?)"));
            ExecQuery(insert, {number * 10, number});
        }
        QCOMPARE(HighestId(db, "INVOICE"), 70);
        QCOMPARE(HighestId(db, "INVOICE", "CIS_FAKT"), 7);
        QCOMPARE(MaxIdFree(0, db, "INVOICE", "CIS_FAKT"), 7);
        QCOMPARE(MaxIdFree(7, db, "INVOICE", "CIS_FAKT"), 8);
        QCOMPARE(MaxIdFree(5, db, "INVOICE", "CIS_FAKT"), 5);
        QVERIFY_THROWS_EXCEPTION(ELormenError, HighestId(db, "INVOICE; DROP TABLE USERS"));
    }

    void backupWhileConnectedRestoresTheSameRows()
    {
        connectModule();
        QSqlQuery insert = PrepareQuery(QStringLiteral("INSERT INTO GOODS (ID, NAZEV) VALUES (?, ?)"));
        ExecQuery(insert, {1, QStringLiteral("Sekačka")});
        module->CommitWork();
        module->RefreshData();

        dialogs->startForReal = true;
        const QString backup = env->home() + QStringLiteral("záloha; 1.fbk");
        const qint64 pid = module->BackupDatabase(backup, true);
        QVERIFY(pid > 0);
        QVERIFY(WaitForPid(pid));
        QVERIFY(QFileInfo(backup).size() > 0);
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("Backup started: ") + backup});

        // A change after the backup is gone once the backup is restored.
        QSqlQuery later = PrepareQuery(QStringLiteral("INSERT INTO GOODS (ID, NAZEV) VALUES (?, ?)"));
        ExecQuery(later, {2, QStringLiteral("Pila")});
        module->CommitWork();
        QVERIFY(module->RestoreDatabase(backup));
        QVERIFY(module->IBDatabase1().isOpen());
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM GOODS"), 1);
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM GOODS WHERE NAZEV = 'Sekačka'"), 1);
        QVERIFY(dialogs->texts.contains(QStringLiteral("Restored")));

        QFile log(env->home() + "bug.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString logged = QString::fromUtf8(log.readAll());
        QVERIFY(logged.contains(QStringLiteral("\tBackup started: ") + backup));
        QVERIFY(logged.contains(QStringLiteral("\tRestored")));
    }

    void brokenBackupLeavesTheDatabaseAsItWas()
    {
        connectModule();
        QSqlQuery insert = PrepareQuery(QStringLiteral("INSERT INTO GOODS (ID, NAZEV) VALUES (1, 'Kladivo')"));
        ExecQuery(insert);
        module->CommitWork();
        const QString broken = env->home() + QStringLiteral("broken.fbk");
        touch(broken, 0);
        QVERIFY(!module->RestoreDatabase(broken));
        QVERIFY(dialogs->texts.contains(QStringLiteral("Restore failed")));
        QCOMPARE(count(module->IBDatabase1(), "SELECT COUNT(*) FROM GOODS WHERE NAZEV = 'Kladivo'"), 1);
    }

    void backupArgumentsAreAList()
    {
        Settings.Database.Password = QStringLiteral("pass word");
        connectModule();
        const QString backup = env->home() + QStringLiteral("my backup.fbk");
        QVERIFY(module->BackupDatabase(backup, false) > 0);
        QCOMPARE(dialogs->started.size(), 1);
        QCOMPARE(dialogs->started[0].mid(1),
                 (QStringList{"-B", "-user", "SYSDBA", "-pas", "pass word", env->databaseFile(), backup}));
        QVERIFY(dialogs->texts.isEmpty()); // no messages asked for
    }

    void backupRefusedOrImpossible()
    {
        connectModule();
        QCOMPARE(module->BackupDatabase(QString(), true), 0);
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("No backup")});
        Settings.Database.Kind = QStringLiteral("Remote");
        QCOMPARE(module->BackupDatabase(env->home() + "x.fbk", true), 0);
        QVERIFY(!module->RestoreDatabase(env->home() + "x.fbk"));
        QCOMPARE(dialogs->started.size(), 0);
    }

    void deleteOldBackupsKeepsNewestThirty()
    {
        const QString dir = env->home() + QStringLiteral("backups/");
        QDir().mkpath(dir);
        for (int i = 0; i < 35; ++i)
            touch(dir + QStringLiteral("a_%1.fbk").arg(i, 2, 10, QLatin1Char('0')), 1000 - i * 10);
        for (const char *other : {"manual.fbk", "b_1.fbk", "a_1.txt"})
            touch(dir + QLatin1String(other), 5000);
        QCOMPARE(TDataModule_main::DeleteOldBackups(30, dir, QStringLiteral("a_*.fbk")), 5);
        const QStringList left = QDir(dir).entryList({QStringLiteral("a_*.fbk")}, QDir::Files, QDir::Name);
        QCOMPARE(left.size(), 30);
        QCOMPARE(left.first(), QStringLiteral("a_05.fbk"));
        for (const char *other : {"manual.fbk", "b_1.fbk", "a_1.txt"})
            QVERIFY(QFile::exists(dir + QLatin1String(other)));
        QCOMPARE(TDataModule_main::DeleteOldBackups(30, dir, QStringLiteral("a_*.fbk")), 0);
    }

    void failedReloadDisconnects()
    {
        connectModule();
        QSignalSpy disconnected(module.get(), &TDataModule_main::Disconnected);
        module->IBDatabase1().close();
        module->RefreshData();
        QCOMPARE(dialogs->texts, QStringList{QStringLiteral("Reload failed")});
        QCOMPARE(disconnected.count(), 1);
        QVERIFY(!Settings.Database.Connected);
    }
};

QTEST_MAIN(TestDatabase)
#include "tst_database.moc"

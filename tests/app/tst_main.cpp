// The main window: tray states, panels, closing, title, background, help, login at start
// and the language switch, against a real database, offscreen.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/floatpanel.h"
#include "app/globalres.h"
#include "app/localisation.h"
#include "app/main.h"
#include "app/startup.h"
#include "data/datmod_user.h"

#include <QAction>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSqlQuery>
#include <QToolBar>
#include <QtTest>

#include <memory>

class TestMain : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;
    std::unique_ptr<TTarnovka> window;
    std::unique_ptr<TFloatingPanel> events;
    TDataModule_main *module = nullptr;
    int loginWindows = 0;

    // A main window with its data modules and an events panel; connected unless asked not to.
    void makeWindow(bool connect = true, const QStringList &arguments = {QStringLiteral("lormen")})
    {
        window = std::make_unique<TTarnovka>(arguments);
        module = new TDataModule_main(QStringLiteral("lormen"), window.get());
        SetDataModule_main(module);
        module->Pause = [](int) {};
        SetDataModule_user(new TDataModule_user(*module, module));
        events = std::make_unique<TFloatingPanel>();
        window->SetPanels(nullptr, nullptr, nullptr, events.get());
        window->LoginDialog = [this] { ++loginWindows; };
        ClearJazykWindows();
        RegisterJazyk([this](const QString &file) { window->Jazyk(file); });
        NastavZobrazJazyk();
        if (connect) {
            Settings.Database.Path = env->databaseDir();
            module->ConnectRetries = 0;
            window->ConnectOpenDB();
            QVERIFY(Settings.Database.Connected);
        }
    }

    QString settingsFile() const { return env->settingsFile(); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        env->installLanguages();
        dialogs = std::make_unique<TRecordingDialogs>();
        loginWindows = 0;
    }

    void cleanup()
    {
        ClearJazykWindows();
        events.reset();
        window.reset();
        SetDataModule_main(nullptr);
        dialogs.reset();
        env.reset();
    }

    void trayStartArgument_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("tray");
        QTest::newRow("none") << QStringList{"lormen"} << false;
        QTest::newRow("-m") << QStringList{"lormen", "-m"} << true;
        QTest::newRow("-M") << QStringList{"lormen", "-M"} << false;
        QTest::newRow("-m second") << QStringList{"lormen", "x", "-m"} << false;
        QTest::newRow("-mx") << QStringList{"lormen", "-mx"} << false;
    }

    void trayStartArgument()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, tray);
        QCOMPARE(IsTrayStart(arguments), tray);
        makeWindow(false, arguments);
        QCOMPARE(Settings.TrayState, tray ? QStringLiteral("hide") : QStringLiteral("show"));
        QCOMPARE(window->Zobrazovatpaneludlost1->isVisible(), tray);
    }

    void hidingAndShowingThroughTheTray()
    {
        makeWindow();
        window->show();
        Settings.PanelEvents = true;

        // Hiding with the toolbar button: the events panel stays on screen.
        window->btnMinimalizedClick();
        QCOMPARE(Settings.TrayState, QStringLiteral("hide"));
        QVERIFY(!window->isVisible());
        QVERIFY(events->isVisible());
        QCOMPARE(window->N11->text(), LanguageString.popOpenSW);
        QVERIFY(window->Zobrazovatpaneludlost1->isVisible());
        QVERIFY(window->Zobrazovatpaneludlost1->isChecked());

        // Closing it by hand in the tray switches the tray panel off.
        events->close();
        QVERIFY(!Settings.PanelEvents);
        QVERIFY(!window->Zobrazovatpaneludlost1->isChecked());

        // The tray menu's switch brings it back and on.
        window->Zobrazovatpaneludlost1->setChecked(true);
        window->Zobrazovatpaneludlost1Click();
        QVERIFY(Settings.PanelEvents);
        QVERIFY(events->isVisible());
        QCOMPARE(Settings.TrayState, QStringLiteral("hide"));

        // Opening from the tray: the panel closes unless it was shown in the window too.
        Settings.EventsPanel.Visible = false;
        window->N11Click();
        QCOMPARE(Settings.TrayState, QStringLiteral("show"));
        QVERIFY(window->isVisible());
        QVERIFY(!events->isVisible());
        QCOMPARE(window->N11->text(), LanguageString.popHideSW);
        QVERIFY(!window->Zobrazovatpaneludlost1->isVisible());
        QVERIFY(Settings.PanelEvents); // re-opening is not a user's close

        // Hiding through the tray menu ends as the toolbar button does.
        window->N11Click();
        QCOMPARE(Settings.TrayState, QStringLiteral("hide"));
        QVERIFY(events->isVisible());

        // While shown, closing the panel only records it as hidden.
        window->N11Click();
        window->mnuWindowsViewEventsClick();
        QVERIFY(events->isVisible());
        QVERIFY(Settings.EventsPanel.Visible);
        events->close();
        QVERIFY(!window->mnuWindowsViewEvents->isChecked());
        QVERIFY(!Settings.EventsPanel.Visible);
        QVERIFY(Settings.PanelEvents);
    }

    void panelsPlacedOnlyOnFirstShowing()
    {
        Settings.EventsPanel = {true, 300, 50};
        makeWindow();
        Settings.EventsPanel = {true, 300, 50};
        window->show();
        QCOMPARE(events->pos(), QPoint(300, 50));
        QVERIFY(events->isVisible());
        QVERIFY(window->mnuWindowsViewEvents->isChecked());
        events->move(500, 400);
        window->btnMinimalizedClick();
        window->N11Click();
        QCOMPARE(events->pos(), QPoint(500, 400));
    }

    void disconnectedFirstShowLeavesPanelsHidden()
    {
        makeWindow(false);
        window->show();
        QVERIFY(!events->isVisible());
        QVERIFY(!window->mnuWindowsViewEvents->isChecked());
        QVERIFY(!window->mnuWindowsViewEvents->isEnabled());
        QCOMPARE(loginWindows, 0);
    }

    void closingWithAutomaticBackups_data()
    {
        QTest::addColumn<bool>("connected");
        QTest::newRow("connected") << true;
        QTest::newRow("disconnected") << false;
    }

    void closingWithAutomaticBackups()
    {
        QFETCH(bool, connected);
        makeWindow(connected);
        Settings.Database.AutoBackups = true;
        Settings.Database.AutoDelBackups = false;
        dialogs->startForReal = true;
        window->FormClose();
        const QString dir = env->home() + QStringLiteral("backups");
        QCOMPARE(QFileInfo::exists(settingsFile()), true);
        if (!connected) {
            QVERIFY(!QFileInfo::exists(dir));
            QVERIFY(dialogs->started.isEmpty());
            return;
        }
        QCOMPARE(dialogs->started.size(), 1);
        const QString backup = dialogs->started[0].last();
        QVERIFY2(QRegularExpression(QStringLiteral("/backups/a_\\d{8}_\\d{6}\\.fbk$")).match(backup).hasMatch(),
                 qPrintable(backup));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(backup).size() > 0, 30000);
        QCOMPARE(QDir(dir).entryList({QStringLiteral("a_*.fbk")}).size(), 1);
    }

    void backupAndRestoreCommands()
    {
        makeWindow();
        // ".fbk" is always added to the chosen name.
        dialogs->fileNames << env->home() + "data" << env->home() + "data.fbk";
        window->mnuDataBackupClick();
        window->mnuDataBackupClick();
        QCOMPARE(dialogs->started.size(), 2);
        QCOMPARE(dialogs->started[0].last(), env->home() + "data.fbk");
        QCOMPARE(dialogs->started[1].last(), env->home() + "data.fbk.fbk");
        // A restore the user does not confirm changes nothing.
        dialogs->fileNames << env->home() + "data.fbk";
        dialogs->answers << false;
        window->mnuDataRestoreClick();
        QCOMPARE(dialogs->questions, QStringList{LanguageString.STR_RESTOREDB_TEXT});
        QVERIFY(Settings.Database.Connected);
        // A remote database is refused at once.
        Settings.Database.Kind = QStringLiteral("Remote");
        dialogs->texts.clear();
        window->mnuDataBackupClick();
        window->mnuDataRestoreClick();
        QCOMPARE(dialogs->texts, (QStringList{LanguageString.STR_BACKUP_ONLYLOCALDB, LanguageString.STR_RESTORE_ONLYLOCALDB}));
        QCOMPARE(dialogs->started.size(), 2);
    }

    void programStart_data()
    {
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("panelEvents");
        QTest::newRow("normal") << false << true;
        QTest::newRow("tray with events panel") << true << true;
        QTest::newRow("tray without events panel") << true << false;
    }

    void programStart()
    {
        QFETCH(bool, tray);
        QFETCH(bool, panelEvents);
        env->writeSettings(QStringLiteral("[Application]\nPanelEvents=%1\n[panelEvents]\nLeft=321\nTop=123\n")
                               .arg(panelEvents ? "True" : "False").toUtf8());
        TProgram program(tray ? QStringList{"lormen", "-m"} : QStringList{"lormen"});
        program.Create();
        QCOMPARE(program.Screen != nullptr, !tray);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(program.Start(tray ? 0 : 300));
        if (!tray)
            QVERIFY(clock.elapsed() >= 300); // the start-up picture stays its minimum time
        QVERIFY(Settings.Database.Connected);
        QVERIFY(!program.Screen);
        QCOMPARE(program.Tarnovka->isVisible(), !tray);
        QCOMPARE(Settings.TrayState, tray ? QStringLiteral("hide") : QStringLiteral("show"));
        if (tray) {
            QCOMPARE(program.PanelEvents->isVisible(), panelEvents);
            QCOMPARE(program.PanelEvents->pos(), QPoint(321, 123));
        }
    }

    void automaticBackupName()
    {
        QCOMPARE(TTarnovka::AutomaticBackupName(QDateTime(QDate(2008, 1, 5), QTime(14, 30, 5))),
                 QStringLiteral("a_05012008_143005.fbk"));
    }

    void trayEndItemSkipsSaving()
    {
        makeWindow();
        QVERIFY(!QFileInfo::exists(settingsFile()));
        Settings.Database.AutoBackups = true;
        window->Koecn1Click();
        QVERIFY(!QFileInfo::exists(settingsFile()));
        QVERIFY(dialogs->started.isEmpty());
        QVERIFY(dialogs->questions.isEmpty());
    }

    void exitAsksFirst()
    {
        makeWindow(false);
        window->show();
        dialogs->answers << false;
        window->btnAppCloseClick();
        QVERIFY(window->isVisible());
        QVERIFY(!QFileInfo::exists(settingsFile()));
        dialogs->answers << true;
        window->btnAppCloseClick();
        QVERIFY(!window->isVisible());
        QVERIFY(QFileInfo::exists(settingsFile()));
        QCOMPARE(dialogs->questions.size(), 2);
    }

    void titleWithAndWithoutUser()
    {
        makeWindow(false);
        Settings.Version = QStringLiteral("1.0");
        window->ShowTitle();
        QCOMPARE(window->windowTitle(), QStringLiteral("Lormen 1.0"));
        Settings.User = {QStringLiteral("admin"), 1};
        window->ShowTitle();
        QCOMPARE(window->windowTitle(), QStringLiteral("Lormen 1.0 [admin]"));
        Settings.User = {};
    }

    void vanishedBackgroundSwitchesOff()
    {
        makeWindow(false);
        const QString picture = env->home() + QStringLiteral("pozadí.png");
        QImage(40, 30, QImage::Format_RGB32).save(picture);
        Settings.Background.Show = true;
        Settings.Background.Path = picture;
        window->showBackground();
        QVERIFY(window->mdiArea->HasPicture());
        QFile::remove(picture);
        window->showBackground();
        QVERIFY(!window->mdiArea->HasPicture());
        QVERIFY(!Settings.Background.Show);
        QVERIFY(Settings.Background.Path.isEmpty());
    }

    void helpAddressGetsTheTitle()
    {
        makeWindow(false);
        Settings.User = {QStringLiteral("eva"), 2};
        window->ShowTitle();
        QCOMPARE(window->HelpAddress(QStringLiteral("https://example.org/bug?v=%s")),
                 QStringLiteral("https://example.org/bug?v=Lormen 1.0 [eva]"));
        window->mnuHlpBug->trigger();
        QCOMPARE(dialogs->opened, QStringList{window->HelpAddress(LanguageString.STR_MAIN_BUG)});
        Settings.User = {};
    }

    void automaticLoginAtShow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("viewLogScreen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("windows");
        QTest::newRow("exact") << "admin" << 1 << true << "Lormen 1.0 [admin]" << 0;
        QTest::newRow("wrong case") << "Admin" << 1 << true << "Lormen 1.0" << 1;
        QTest::newRow("wrong id") << "admin" << 2 << false << "Lormen 1.0" << 0;
    }

    void automaticLoginAtShow()
    {
        QFETCH(QString, name);
        QFETCH(int, id);
        QFETCH(bool, viewLogScreen);
        QFETCH(QString, title);
        QFETCH(int, windows);
        makeWindow();
        Settings.Users.AutoLoginName = name;
        Settings.Users.AutoLoginId = id;
        Settings.Users.ViewLogScreen = viewLogScreen;
        window->show();
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(loginWindows, windows);
        const bool in = Settings.User.Id > 0;
        QCOMPARE(window->Prihlas->isEnabled(), !in);
        QCOMPARE(window->Odhlas->isEnabled(), in);
        Settings.User = {};
    }

    void languageSwitchChangesTextsAtOnce()
    {
        makeWindow(false);
        QCOMPARE(Settings.Language, QStringLiteral("czech.ini"));
        QCOMPARE(window->btnAppClose->text(), QStringLiteral("Konec"));
        QCOMPARE(LanguageString.Month[0], QStringLiteral("Leden"));
        Settings.Language = QStringLiteral("english.ini");
        const QList<TLanguageItem> items = NastavZobrazJazyk();
        QCOMPARE(window->btnAppClose->text(), QStringLiteral("Exit"));
        QCOMPARE(window->mnuHlp->title(), QStringLiteral("&Help"));
        QCOMPARE(LanguageString.Month[0], QStringLiteral("January"));
        QCOMPARE(items.size(), 2);
        for (const TLanguageItem &item : items) {
            QCOMPARE(item.Current, item.FileName == QLatin1String("english.ini"));
            QVERIFY(!item.Icon.isNull());
        }
    }

    void brokenOrMissingLanguageFiles()
    {
        makeWindow(false);
        // A file without a key and without months.
        QFile partial(env->home() + QStringLiteral("lng/partial.ini"));
        QVERIFY(partial.open(QIODevice::WriteOnly));
        partial.write("[frmMain]\ntbClose=Zavřít\n");
        partial.close();
        Settings.Language = QStringLiteral("partial.ini");
        NastavZobrazJazyk();
        QCOMPARE(window->btnAppClose->text(), QStringLiteral("Zavřít"));
        QCOMPARE(window->btnReload->text(), QString());
        QCOMPARE(window->btnReload->toolTip(), QString());
        for (int i = 0; i < 12; ++i)
            QCOMPARE(LanguageString.Month[i], QString::number(i + 1));

        // A file that is not there falls back to English.
        Settings.Language = QStringLiteral("klingon.ini");
        NastavZobrazJazyk();
        QCOMPARE(Settings.Language, QStringLiteral("english.ini"));
        QCOMPARE(window->btnAppClose->text(), QStringLiteral("Exit"));
    }
};

QTEST_MAIN(TestMain)
#include "tst_main.moc"

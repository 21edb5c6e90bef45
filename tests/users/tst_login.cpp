// Logging in against a real embedded database: the login dialog's password check, the
// automatic login, the login check of editing windows and the administrator dialog.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "data/datmod_user.h"
#include "users/login.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QtTest>

#include <memory>

namespace {
struct UserSpec
{
    int id;
    QString name;
    QString password;
};

const QString PassOk = QStringLiteral("Welcome");
const QString WrongPass = QStringLiteral("Wrong password");
const QString AdminPassOk = QStringLiteral("Admin welcome");
const QString AdminWrongPass = QStringLiteral("Wrong admin password");
} // namespace

class TestLogin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TRecordingDialogs> dialogs;
    std::unique_ptr<TDataModule_main> module;
    std::unique_ptr<TDataModule_user> users;

    // Written through a second connection of its own, committed at once.
    void addUser(const UserSpec &user)
    {
        QSqlQuery insert(env->connection());
        QVERIFY(insert.prepare("INSERT INTO USERS (ID, JMENO, HESLO, NUM_LOGIN) VALUES (?, ?, ?, 0)"));
        insert.addBindValue(user.id);
        insert.addBindValue(user.name);
        insert.addBindValue(user.password);
        QVERIFY(insert.exec());
    }

    void deleteUser(int id)
    {
        QSqlQuery remove(env->connection());
        QVERIFY(remove.prepare("DELETE FROM USERS WHERE ID = ?"));
        remove.addBindValue(id);
        QVERIFY(remove.exec());
    }

    // Read from the second connection: what the program committed.
    int numLogin(int id)
    {
        QSqlQuery select(env->connection());
        if (!select.prepare("SELECT NUM_LOGIN FROM USERS WHERE ID = ?"))
            qFatal("prepare failed");
        select.addBindValue(id);
        if (!select.exec() || !select.next())
            qFatal("no user %d", id);
        return select.value(0).toInt();
    }

    void connectModule()
    {
        QVERIFY(ConnectAsProgram(*module));
    }

    void writeLanguageFile()
    {
        QDir().mkpath(env->home() + "lng");
        QFile file(env->home() + "lng/test.ini");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[frmLogin]\nCaption=Sign in\nUser=User:\nHeslo=Password:\n"
                   "STR_PASS_OK=" + PassOk.toUtf8() + "\nSTR_WRONG_PASS=" + WrongPass.toUtf8() + "\n"
                   "[frmLoginAdmin]\nCaption=Users\nInfo=Enter the administrator password\n"
                   "User=User:\nHeslo=Password:\n"
                   "STR_PASS_OK=" + AdminPassOk.toUtf8() + "\nSTR_WRONG_PASS=" + AdminWrongPass.toUtf8() + "\n"
                   "[CommonStrings]\nSTR_ONLYLOGIN=Log in first\n");
        file.close();
        Settings.Language = QStringLiteral("test.ini");
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnv>();
        dialogs = std::make_unique<TRecordingDialogs>();
        module = std::make_unique<TDataModule_main>();
        SetDataModule_main(module.get());
        users = std::make_unique<TDataModule_user>(*module);
        SetDataModule_user(users.get());
        writeLanguageFile();
        // The schema's administrator is user 1.
        addUser({5, QStringLiteral("Petr"), QStringLiteral("heslo5")});
        addUser({3, QStringLiteral("Eva"), QStringLiteral("Tajne1")});
        addUser({4, QStringLiteral("eva"), QStringLiteral("jine")});
    }

    void cleanup()
    {
        module.reset();
        users.reset();
        dialogs.reset();
        env.reset();
    }

    void standingQueryFollowsReloadAndDisconnect()
    {
        connectModule();
        QCOMPARE(users->IBQUsers()->rowCount(), 4);
        module->SetDisconnected();
        QCOMPARE(users->IBQUsers()->rowCount(), 0);
    }

    void loginDialog_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("loggedInId");

        // Users in ID order: admin (1), Eva (3), eva (4), Petr (5).
        QTest::newRow("right password") << 1 << "Tajne1" << 3;
        QTest::newRow("one letter in other case") << 1 << "tajne1" << 0;
        QTest::newRow("all capitals") << 1 << "TAJNE1" << 0;
        QTest::newRow("trailing space") << 1 << "Tajne1 " << 0;
        QTest::newRow("empty") << 1 << "" << 0;
        QTest::newRow("another user's password") << 2 << "Tajne1" << 0;
        QTest::newRow("the user below") << 2 << "jine" << 4;
    }

    void loginDialog()
    {
        QFETCH(int, index);
        QFETCH(QString, typed);
        QFETCH(int, loggedInId);
        connectModule();
        Tfrm_login dialog;
        QList<bool> states;
        dialog.OnLoginState = [&](bool loggedIn) { states << loggedIn; };
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Sign in"));
        QCOMPARE(dialog.lblPass->text(), QStringLiteral("Password:"));
        QVERIFY(!dialog.comboUser->isEditable());
        QCOMPARE(dialog.editPass->echoMode(), QLineEdit::Password);
        QStringList names;
        for (int i = 0; i < dialog.comboUser->count(); ++i)
            names << dialog.comboUser->itemText(i);
        QCOMPARE(names, QStringList({"admin", "Eva", "eva", "Petr"}));
        QCOMPARE(dialog.comboUser->currentIndex(), 0);

        dialog.comboUser->setCurrentIndex(index);
        dialog.editPass->setText(typed);
        dialog.btnLoginClick();

        const bool right = loggedInId > 0;
        QCOMPARE(dialogs->texts, QStringList(right ? PassOk : WrongPass));
        QCOMPARE(states, QList<bool>({right}));
        QCOMPARE(Settings.User.Id, loggedInId);
        QCOMPARE(Settings.User.Name, right ? dialog.comboUser->itemText(index) : QString());
        QCOMPARE(dialog.isVisible(), !right);
        QCOMPARE(dialog.result(), right ? int(QDialog::Accepted) : int(QDialog::Rejected));
        if (!right) {
            QVERIFY(dialog.editPass->text().isEmpty());
            QCOMPARE(dialog.focusWidget(), dialog.editPass);
        }
        for (int id : {3, 4})
            QCOMPARE(numLogin(id), id == loggedInId ? 1 : 0);
        if (right)
            QVERIFY(!module->InTransaction()); // committed
    }

    void secondTryAfterWrongPasswordLogsIn()
    {
        connectModule();
        Tfrm_login dialog;
        dialog.show();
        dialog.comboUser->setCurrentIndex(3);
        dialog.editPass->setText("Heslo5");
        dialog.btnLoginClick();
        dialog.editPass->setText("heslo5");
        dialog.btnLoginClick();
        QCOMPARE(dialogs->texts, QStringList({WrongPass, PassOk}));
        QCOMPARE(Settings.User.Id, 5);
        QCOMPARE(numLogin(5), 1);
    }

    void noUsersLogsNobodyIn()
    {
        deleteUser(1);
        for (int id : {3, 4, 5})
            deleteUser(id);
        connectModule();
        Tfrm_login dialog;
        dialog.show();
        QCOMPARE(dialog.comboUser->count(), 0);
        dialog.btnLoginClick();
        QVERIFY(dialogs->texts.isEmpty());
        QCOMPARE(Settings.User.Id, 0);
        QVERIFY(dialog.isVisible());
    }

    void autoLogin_data()
    {
        QTest::addColumn<int>("autoId");
        QTest::addColumn<QString>("autoName");
        QTest::addColumn<bool>("loggedIn");
        QTest::addColumn<int>("userIdAfter");

        // Logged in as user 9 before; user 3 is "Eva", user 4 is "eva".
        QTest::newRow("name in other case") << 3 << "eva" << false << 0;
        QTest::newRow("wrong id") << 2 << "Eva" << false << 0;
        QTest::newRow("another user's id") << 4 << "Eva" << false << 0;
        QTest::newRow("trailing space") << 3 << "Eva " << false << 0;
        QTest::newRow("right pair") << 3 << "Eva" << true << 3;
        QTest::newRow("right pair, small letter") << 4 << "eva" << true << 4;
        QTest::newRow("no automatic user") << 0 << "" << false << 9;
        QTest::newRow("name without id") << 0 << "Eva" << false << 9;
    }

    void autoLogin()
    {
        QFETCH(int, autoId);
        QFETCH(QString, autoName);
        QFETCH(bool, loggedIn);
        QFETCH(int, userIdAfter);
        connectModule();
        Settings.User = {QStringLiteral("Someone"), 9};
        Settings.Users.AutoLoginId = autoId;
        Settings.Users.AutoLoginName = autoName;

        QCOMPARE(AutoLogin(), loggedIn);
        QCOMPARE(Settings.User.Id, userIdAfter);
        if (loggedIn)
            QCOMPARE(Settings.User.Name, autoName);
        for (int id : {3, 4})
            QCOMPARE(numLogin(id), id == userIdAfter ? 1 : 0);
        QVERIFY(dialogs->texts.isEmpty());
        QVERIFY(module->InTransaction()); // reloaded after the commit
    }

    void noAutoLoginWhileDisconnected()
    {
        connectModule();
        Settings.Database.Connected = false;
        Settings.Users.AutoLoginId = 3;
        Settings.Users.AutoLoginName = QStringLiteral("Eva");
        QVERIFY(!AutoLogin());
        QCOMPARE(Settings.User.Id, 0);
        QCOMPARE(numLogin(3), 0);
    }

    void loginCheck_data()
    {
        QTest::addColumn<bool>("requireLogin");
        QTest::addColumn<int>("userId");
        QTest::addColumn<bool>("refused");
        QTest::newRow("required, nobody") << true << 0 << true;
        QTest::newRow("required, negative id") << true << -1 << true;
        QTest::newRow("required, logged in") << true << 3 << false;
        QTest::newRow("not required, nobody") << false << 0 << false;
        QTest::newRow("not required, logged in") << false << 3 << false;
    }

    void loginCheck()
    {
        QFETCH(bool, requireLogin);
        QFETCH(int, userId);
        QFETCH(bool, refused);
        LanguageString.STR_ONLYLOGIN = QStringLiteral("Log in first");
        Settings.Users.RequireLogin = requireLogin;
        Settings.User = {userId > 0 ? QStringLiteral("Eva") : QString(), userId};
        QCOMPARE(LoginRequiredRefused(), refused);
        QCOMPARE(dialogs->texts, refused ? QStringList(LanguageString.STR_ONLYLOGIN) : QStringList());
    }

    void logoutClearsUser()
    {
        Settings.User = {QStringLiteral("Eva"), 3};
        Logout();
        QCOMPARE(Settings.User.Id, 0);
        QVERIFY(Settings.User.Name.isEmpty());
    }

    void adminDialog_data()
    {
        QTest::addColumn<bool>("keepSchemaAdmin");
        QTest::addColumn<QString>("extraName"); // user 7, empty for none
        QTest::addColumn<QString>("extraPassword");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("right password") << true << "" << "" << "admin" << true;
        QTest::newRow("other case") << true << "" << "" << "Admin" << false;
        QTest::newRow("empty") << true << "" << "" << "" << false;
        QTest::newRow("last admin row counts") << true << "admin" << "nove" << "nove" << true;
        QTest::newRow("earlier admin row refused") << true << "admin" << "nove" << "admin" << false;
        QTest::newRow("'Admin' is not the administrator") << true << "Admin" << "x" << "x" << false;
        QTest::newRow("no admin row, empty password") << false << "" << "" << "" << false;
        QTest::newRow("no admin row, old password") << false << "" << "" << "admin" << false;
        QTest::newRow("no admin row, 'Admin' exists") << false << "Admin" << "x" << "x" << false;
    }

    void adminDialog()
    {
        QFETCH(bool, keepSchemaAdmin);
        QFETCH(QString, extraName);
        QFETCH(QString, extraPassword);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        if (!keepSchemaAdmin)
            deleteUser(1);
        if (!extraName.isEmpty())
            addUser({7, extraName, extraPassword});
        connectModule();

        Tfrm_loginAdmin dialog;
        int administrations = 0;
        dialog.OnAccepted = [&] {
            QVERIFY(dialog.isVisible()); // user administration opens over the dialog
            ++administrations;
        };
        dialog.show();
        QCOMPARE(dialog.lblInfo->text(), QStringLiteral("Enter the administrator password"));
        QVERIFY(!dialog.comboUser->isEnabled());
        QCOMPARE(dialog.comboUser->currentText(), QStringLiteral("admin"));

        dialog.editPass->setText(typed);
        dialog.btnLoginClick();

        QCOMPARE(dialogs->texts, QStringList(accepted ? AdminPassOk : AdminWrongPass));
        QCOMPARE(administrations, accepted ? 1 : 0);
        QCOMPARE(dialog.isVisible(), !accepted);
        if (!accepted) {
            QVERIFY(dialog.editPass->text().isEmpty());
            QCOMPARE(dialog.focusWidget(), dialog.editPass);
        }
        QCOMPARE(Settings.User.Id, 0); // the password logs nobody in
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"

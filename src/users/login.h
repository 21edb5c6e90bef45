#pragma once
// Logging in and out: the login dialog, the administrator password dialog and the
// login rules the main window and the editing windows apply.
#include "data/datmod_user.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Logs the user in: sets Settings.User, adds one to the user's login count and commits.
void LogIn(int id, const QString &name);

// The automatic login of the main window's FormShow. Only while the database is connected
// and when Settings.Users names a user (AutoLoginId above 0, AutoLoginName not empty):
// logs in the user whose ID and name are exactly those, then reloads all data. When no such
// user exists, nobody is logged in (no message). Returns true when it logged someone in;
// the caller sets the Prihlas/Odhlas items from that, refreshes the title, and opens the
// login dialog when Settings.Users.ViewLogScreen is on and Settings.User.Id is 0.
bool AutoLogin();

// Logs out (clears Settings.User). The caller asks first and refreshes menus and title.
void Logout();

// The check before creating or changing data: true (after showing STR_ONLYLOGIN) when a
// login is required and nobody is logged in; the caller then does nothing.
bool LoginRequiredRefused();

// The login dialog: pick a user, type the password.
class Tfrm_login : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_login(QWidget *parent = nullptr);

    // Called after every try with the menu state to show: false after a wrong password,
    // true after a login. The main window sets Prihlas/Odhlas and refreshes the title here.
    std::function<void(bool loggedIn)> OnLoginState;

    void Jazyk(const QString &languageFile);
    // Loads the texts (the dialog is shown once: it is made when opened and freed when closed).
    void FormShow();
    // Fills the user list from the database (empty while disconnected) and selects the first user.
    void FormActivate();
    void btnLoginClick();

    QLabel *lblUser;
    QComboBox *comboUser;
    QLabel *lblPass;
    QLineEdit *editPass;
    QPushButton *btnLogin;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QList<TUserRow> m_users;
    QString STR_PASS_OK, STR_WRONG_PASS;
};

// The administrator password dialog that guards user administration.
class Tfrm_loginAdmin : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_loginAdmin(QWidget *parent = nullptr);

    // Run after a correct password (opens user administration modally); the dialog closes
    // when it returns.
    std::function<void()> OnAccepted;

    void Jazyk(const QString &languageFile);
    void FormShow();
    // Reads the administrator's password (none while disconnected) and clears the typed one.
    void FormActivate();
    void btnLoginClick();

    QLabel *lblInfo;
    QLabel *lblUser;
    QComboBox *comboUser;
    QLabel *lblPass;
    QLineEdit *editPass;
    QPushButton *btnLogin;

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Nothing while there is no administrator: then no password is accepted.
    std::optional<QString> m_expected;
    QString STR_PASS_OK, STR_WRONG_PASS;
};

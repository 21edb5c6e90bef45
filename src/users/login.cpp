#include "users/login.h"

#include "app/dialogs.h"
#include "app/globalres.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

void LogIn(int id, const QString &name)
{
    Settings.User.Name = name;
    Settings.User.Id = id;
    TWorkTransaction work(DataModule_main());
    DataModule_user().CountLogin(id);
    work.Commit();
}

bool AutoLogin()
{
    if (!Settings.Database.Connected)
        return false;
    const TUserSettings &users = Settings.Users;
    if (users.AutoLoginId <= 0 || users.AutoLoginName.isEmpty())
        return false;
    if (!DataModule_user().IsUser(users.AutoLoginId, users.AutoLoginName)) {
        Settings.User = TUser();
        return false;
    }
    LogIn(users.AutoLoginId, users.AutoLoginName);
    DataModule_main().RefreshData();
    return true;
}

void Logout()
{
    Settings.User = TUser();
}

bool LoginRequiredRefused()
{
    if (Settings.User.Id > 0 || !Settings.Users.RequireLogin)
        return false;
    Dialogs().ShowText(LanguageString.STR_ONLYLOGIN);
    return true;
}

namespace {
// The layout both dialogs share: an optional info line, then user and password, then OK.
void buildLoginLayout(QDialog *dialog, QLabel *info, QLabel *lblUser, QComboBox *comboUser,
                      QLabel *lblPass, QLineEdit *editPass, QPushButton *btnLogin)
{
    comboUser->setEditable(false);
    editPass->setEchoMode(QLineEdit::Password);
    btnLogin->setDefault(true);
    lblUser->setBuddy(comboUser);
    lblPass->setBuddy(editPass);

    auto *grid = new QGridLayout;
    grid->addWidget(lblUser, 0, 0);
    grid->addWidget(comboUser, 0, 1);
    grid->addWidget(lblPass, 1, 0);
    grid->addWidget(editPass, 1, 1);
    grid->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnLogin);

    auto *layout = new QVBoxLayout(dialog);
    if (info) {
        info->setWordWrap(true);
        layout->addWidget(info);
    }
    layout->addLayout(grid);
    layout->addLayout(buttons);
    dialog->setMinimumWidth(300);
}
} // namespace

Tfrm_login::Tfrm_login(QWidget *parent)
    : QDialog(parent),
      lblUser(new QLabel(QStringLiteral("Uživatel:"), this)),
      comboUser(new QComboBox(this)),
      lblPass(new QLabel(QStringLiteral("Heslo:"), this)),
      editPass(new QLineEdit(this)),
      btnLogin(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frm_login"));
    setWindowTitle(QStringLiteral("Přihlášení uživatele"));
    buildLoginLayout(this, nullptr, lblUser, comboUser, lblPass, editPass, btnLogin);
    connect(btnLogin, &QPushButton::clicked, this, &Tfrm_login::btnLoginClick);
}

void Tfrm_login::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("frmLogin");
    setWindowTitle(file.Text(section, QStringLiteral("Caption")));
    lblUser->setText(file.Text(section, QStringLiteral("User")));
    lblPass->setText(file.Text(section, QStringLiteral("Heslo")));
    STR_PASS_OK = file.Text(section, QStringLiteral("STR_PASS_OK"));
    STR_WRONG_PASS = file.Text(section, QStringLiteral("STR_WRONG_PASS"));
}

void Tfrm_login::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        FormActivate();
    }
}

void Tfrm_login::FormShow()
{
    Jazyk(Settings.Language);
}

void Tfrm_login::FormActivate()
{
    comboUser->clear();
    // Without a connection the list is empty, as the closed standing query is.
    m_users = Settings.Database.Connected ? DataModule_user().Users() : QList<TUserRow>();
    for (const TUserRow &user : std::as_const(m_users))
        comboUser->addItem(user.Jmeno);
    comboUser->setCurrentIndex(m_users.isEmpty() ? -1 : 0);
    editPass->clear();
    editPass->setFocus();
}

void Tfrm_login::btnLoginClick()
{
    const int index = comboUser->currentIndex();
    if (index < 0 || index >= m_users.size())
        return;
    const TUserRow user = m_users.at(index);
    if (editPass->text() != user.Heslo) {
        Dialogs().ShowText(STR_WRONG_PASS);
        if (OnLoginState)
            OnLoginState(false);
        editPass->clear();
        editPass->setFocus();
        return;
    }
    Dialogs().ShowText(STR_PASS_OK);
    LogIn(user.Id, user.Jmeno);
    if (OnLoginState)
        OnLoginState(true);
    accept();
}

Tfrm_loginAdmin::Tfrm_loginAdmin(QWidget *parent)
    : QDialog(parent),
      lblInfo(new QLabel(QStringLiteral("Pro vstup do nastavení/ správy uživatelských účtů zadejte"), this)),
      lblUser(new QLabel(QStringLiteral("Uživatel:"), this)),
      comboUser(new QComboBox(this)),
      lblPass(new QLabel(QStringLiteral("Heslo:"), this)),
      editPass(new QLineEdit(this)),
      btnLogin(new QPushButton(QStringLiteral("OK"), this))
{
    setObjectName(QStringLiteral("frm_loginAdmin"));
    setWindowTitle(QStringLiteral("Editace uživatelů"));
    buildLoginLayout(this, lblInfo, lblUser, comboUser, lblPass, editPass, btnLogin);
    comboUser->addItem(QStringLiteral("admin"));
    comboUser->setCurrentIndex(0);
    comboUser->setEnabled(false);
    connect(btnLogin, &QPushButton::clicked, this, &Tfrm_loginAdmin::btnLoginClick);
}

void Tfrm_loginAdmin::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("frmLoginAdmin");
    setWindowTitle(file.Text(section, QStringLiteral("Caption")));
    lblInfo->setText(file.Text(section, QStringLiteral("Info")));
    lblUser->setText(file.Text(section, QStringLiteral("User")));
    lblPass->setText(file.Text(section, QStringLiteral("Heslo")));
    STR_PASS_OK = file.Text(section, QStringLiteral("STR_PASS_OK"));
    STR_WRONG_PASS = file.Text(section, QStringLiteral("STR_WRONG_PASS"));
}

void Tfrm_loginAdmin::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
        FormActivate();
    }
}

void Tfrm_loginAdmin::FormShow()
{
    Jazyk(Settings.Language);
}

void Tfrm_loginAdmin::FormActivate()
{
    editPass->clear();
    editPass->setFocus();
    m_expected = Settings.Database.Connected ? DataModule_user().AdminPassword() : std::nullopt;
}

void Tfrm_loginAdmin::btnLoginClick()
{
    if (!m_expected || editPass->text() != *m_expected) {
        Dialogs().ShowText(STR_WRONG_PASS);
        editPass->clear();
        editPass->setFocus();
        return;
    }
    Dialogs().ShowText(STR_PASS_OK);
    if (OnAccepted)
        OnAccepted();
    accept();
}

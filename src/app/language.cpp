#include "app/language.h"
#include "app/inifile.h"
#include "app/paths.h"

TLanguageString::TLanguageString()
{
    for (int i = 0; i < 12; ++i)
        Month[i] = QString::number(i + 1);
}

void TLanguageString::Load(const TLanguageFile &file)
{
    for (int i = 0; i < 12; ++i)
        Month[i] = file.Text(QStringLiteral("Month"), QString::number(i + 1), QString::number(i + 1));
    CelkemRok = file.Text(QStringLiteral("Month"), QStringLiteral("CelkemRok"), QString());

    const QString main = QStringLiteral("frmMain");
    struct Key { const char *name; QString *text; };
    const Key keys[] = {
        {"Caption", &Caption},
        {"STR_MAIN_WISH", &STR_MAIN_WISH}, {"STR_MAIN_BUG", &STR_MAIN_BUG},
        {"STR_MAIN_HOWTO", &STR_MAIN_HOWTO}, {"STR_MAIN_MANUAL", &STR_MAIN_MANUAL},
        {"STR_MAIN_SUPPORT", &STR_MAIN_SUPPORT},
        {"popOpenSW", &popOpenSW}, {"popHideSW", &popHideSW},
        {"STR_RESTOREDB_TEXT", &STR_RESTOREDB_TEXT}, {"STR_RESTOREDB_CAPT", &STR_RESTOREDB_CAPT},
        {"STR_RESTOREDB_INFO", &STR_RESTOREDB_INFO}, {"STR_RESTORE_ONLYLOCALDB", &STR_RESTORE_ONLYLOCALDB},
        {"STR_RESTORE_FAILED", &STR_RESTORE_FAILED},
        {"STR_CONNECT_DB_ON", &STR_CONNECT_DB_ON}, {"STR_BACKUP_ONLYLOCALDB", &STR_BACKUP_ONLYLOCALDB},
        {"STR_DB_NOTCONNECT", &STR_DB_NOTCONNECT},
        {"STR_CLOSE_TEXT", &STR_CLOSE_TEXT}, {"STR_CLOSE_CAPT", &STR_CLOSE_CAPT},
        {"STR_ODHLASIT_TEXT", &STR_ODHLASIT_TEXT}, {"STR_ODHLASIT_CAPT", &STR_ODHLASIT_CAPT},
        {"STR_SENDBUG_TEXT", &STR_SENDBUG_TEXT}, {"STR_SENDBUG_CAPT", &STR_SENDBUG_CAPT},
        {"STR_RECORD_NUM_OF", &STR_RECORD_NUM_OF}, {"STR_WAS_RESTORE", &STR_WAS_RESTORE},
        {"STR_WAS_BACKUP_ON", &STR_WAS_BACKUP_ON}, {"STR_MISTAKE_BACKUP", &STR_MISTAKE_BACKUP},
        {"STR_CONNECTING_DB", &STR_CONNECTING_DB}, {"STR_NO_CONNECT_DB", &STR_NO_CONNECT_DB},
        {"STR_TRAYICON_CLICK", &STR_TRAYICON_CLICK}, {"STR_REOPENDB_ERR", &STR_REOPENDB_ERR},
        {"STR_DB_CHARSET", &STR_DB_CHARSET}, {"STR_DB_CREATE_FAILED", &STR_DB_CREATE_FAILED},
    };
    for (const Key &key : keys)
        *key.text = file.Text(main, QLatin1String(key.name), QString());

    const QString common = QStringLiteral("CommonStrings");
    STR_ONLYLOGIN = file.Text(common, QStringLiteral("STR_ONLYLOGIN"), QString());
    STR_GRAF_Y_POCET = file.Text(common, QStringLiteral("STR_GRAF_Y_POCET"), QString());
    STR_NO_GOODS = file.Text(common, QStringLiteral("STR_NO_GOODS"), QString());
}

namespace {
std::function<void(const QString &, const QString &)> &recorder()
{
    static std::function<void(const QString &, const QString &)> instance;
    return instance;
}
} // namespace

TLanguageFile::TLanguageFile(const QString &fileName)
    : m_ini(std::make_unique<TIniFile>(LanguageFilePath(fileName)))
{
}

TLanguageFile::~TLanguageFile() = default;

QString TLanguageFile::Text(const QString &section, const QString &key, const QString &def) const
{
    if (recorder())
        recorder()(section, key);
    return m_ini->ReadString(section, key, def);
}

void TLanguageFile::SetRecorder(std::function<void(const QString &, const QString &)> newRecorder)
{
    recorder() = std::move(newRecorder);
}

QString LanguageFilePath(const QString &name)
{
    return ProgramFile(QStringLiteral("lng/") + name);
}

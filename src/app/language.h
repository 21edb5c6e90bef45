#pragma once
#include <QString>

#include <functional>
#include <memory>

class TIniFile;

// A language file "lng/<name>" opened for one window's Jazyk: absent keys and a missing
// file give empty texts.
class TLanguageFile
{
public:
    explicit TLanguageFile(const QString &fileName);
    ~TLanguageFile();
    QString Text(const QString &section, const QString &key, const QString &def = QString()) const;
    const TIniFile &Ini() const { return *m_ini; }

    // Reports every section and key asked for (used to check that both language files hold them).
    static void SetRecorder(std::function<void(const QString &section, const QString &key)> recorder);

private:
    std::unique_ptr<TIniFile> m_ini;
};

// Message texts shared by several windows, loaded with the main window's texts.
struct TLanguageString
{
    QString Month[12];
    QString CelkemRok;
    QString Caption;
    QString STR_MAIN_WISH, STR_MAIN_BUG, STR_MAIN_HOWTO, STR_MAIN_MANUAL, STR_MAIN_SUPPORT;
    QString STR_GRAF_Y_POCET;
    QString STR_NO_GOODS; // the goods lists' first entry
    QString popOpenSW, popHideSW;
    QString STR_RESTOREDB_TEXT, STR_RESTOREDB_CAPT, STR_RESTOREDB_INFO, STR_RESTORE_ONLYLOCALDB;
    QString STR_RESTORE_FAILED;
    QString STR_CONNECT_DB_ON, STR_BACKUP_ONLYLOCALDB, STR_DB_NOTCONNECT;
    QString STR_CLOSE_TEXT, STR_CLOSE_CAPT, STR_ODHLASIT_TEXT, STR_ODHLASIT_CAPT;
    QString STR_SENDBUG_TEXT, STR_SENDBUG_CAPT;
    QString STR_RECORD_NUM_OF, STR_WAS_RESTORE, STR_WAS_BACKUP_ON, STR_MISTAKE_BACKUP;
    QString STR_ONLYLOGIN, STR_CONNECTING_DB, STR_NO_CONNECT_DB, STR_TRAYICON_CLICK;
    QString STR_REOPENDB_ERR;
    QString STR_DB_CHARSET, STR_DB_CREATE_FAILED;

    TLanguageString();
    // Reads the shared texts from an open language file; absent keys give empty texts,
    // absent month names give the month's number.
    void Load(const TLanguageFile &file);
};

// The language file "lng/<name>" in the program directory.
QString LanguageFilePath(const QString &name);

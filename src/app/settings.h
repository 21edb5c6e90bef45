#pragma once
#include <QString>
#include <QStringList>

#include <array>

class TIniFile;

// Column settings of one grid: index i is the grid's column i.
struct TParamsColumn
{
    static constexpr int Count = 33;

    TParamsColumn();
    // A column is shown unless its View text is exactly "False".
    bool IsVisible(int column) const { return View[column] != QLatin1String("False"); }

    std::array<QString, Count> View;  // "True" or "False"
    std::array<QString, Count> Width; // width in pixels as decimal text
};

// A picture: the main window background (Show = key "Visible", Center unused)
// or the logo of printed documents (Show = key "Use").
struct TBackground
{
    QString Path;
    bool Stretch = true;
    bool Show = true;
    bool Center = true;
};

// Names of the three price tariffs.
struct TCenSazba
{
    QString Name1;
    QString Name2;
    QString Name3;
};

// Database location and backups.
struct Tdb
{
    QString Path;              // directory ending with a separator, or "host:/directory/"
    QString Kind;              // "Local", "LocalOther" or "Remote"
    bool AutoBackups = false;
    bool AutoDelBackups = false;
    int KeepBackups = 30;
    bool Connected = false;    // not stored
    bool RefreshByEvent = true; // not stored: lists reload on the database event only
    QString User = QStringLiteral("SYSDBA");       // "Database" "User"
    QString Password = QStringLiteral("quiltbark"); // "Database" "Password"
};

// The logged-in user; Id 0 means nobody. Not stored.
struct TUser
{
    QString Name;
    int Id = 0;
};

struct TUserSettings
{
    QString AutoLoginName;
    int AutoLoginId = 0;
    bool ViewLogScreen = false;
    bool RequireLogin = true;
};

struct TUpdateSW
{
    bool AutoCheckVersion = false;
    bool AutoDownloadMessages = false;
    bool ProxyUse = false;
    QString ProxyName;
    int ProxyPort = 0;
};

// Saved state of a floating panel.
struct TPanelState
{
    bool Visible = true;
    int Left = 10;
    int Top = 100;
};

// Saved state of a window: WindowState "wsMaximized", "wsMinimized" (nothing is
// stored for a minimised window) or anything else for a normal window at the
// given geometry.
struct TWindowPlacement
{
    QString WindowState;
    int Left = 260;
    int Top = 100;
    int Height = 570;
    int Width = 660;
};

// The program-wide settings record. The defaults are those of a missing settings file.
struct TSettings
{
    TParamsColumn CustomersColumns;
    TParamsColumn GoodsColumns;
    TParamsColumn RentsColumns;
    TParamsColumn InvoicesColumns;
    TBackground Background = {QString(), true, false, true};
    TBackground Logo;
    TCenSazba Tariffs;
    int DefaultTextContract = 1;
    QString Language;
    QString TrayState = QStringLiteral("show"); // "show", "hide" or "no"; not stored
    QString Currency = QStringLiteral("Kč");
    int DueDays = 30;
    int VatRate = 19;
    bool VatPayer = true;
    int RemindDays = 14;
    bool RemindControls = false;
    double RoundOn = 1.0;
    Tdb Database;
    TUser User;
    bool ToolbarVisible = true;
    TUserSettings Users;
    TPanelState EventsPanel;
    TPanelState RentsPanel;
    TPanelState CustomersPanel;
    TPanelState GoodsPanel;
    bool AutoRun = true;
    bool PanelEvents = true;
    QString Version = QStringLiteral("1.0");
    TUpdateSW Update;
    int Messages = 0;
    bool SendBugReport = true;
    TWindowPlacement MainForm;
};

// Key names of the grid columns, in column order; the same names serve the
// grid's ...ColumnView and ...ColumnHeight sections.
extern const QStringList CustomersColumnKeys; // 20 columns
extern const QStringList GoodsColumnKeys;     // 17 columns
extern const QStringList RentsColumnKeys;     // 33 columns
extern const QStringList InvoicesColumnKeys;  // 19 columns (widths only)

// "settings.ini" in the program directory.
QString SettingsFilePath();

// Fills the record from the file; absent keys and a missing file give the defaults.
void ReadSettingsFile(TSettings &s, const QString &path);

// Writes the settings that the settings dialog, the lessor window, user
// administration and the updater manage. Throws ELormenError when the file
// cannot be written.
void WriteSettingsFile(const TSettings &s, const QString &path);

// Writes the layout kept in the record at closing: reminder days, grid columns,
// main window, toolbar and panel positions. The windows that own a grid or a
// panel copy their state into the record first. The TIniFile variant lets the
// caller add the keys of its windows (filter check boxes, invoice book) before
// calling UpdateFile(); the path variant writes the file at once and throws
// ELormenError when it cannot be written.
void SaveSettingsFile(const TSettings &s, TIniFile &ini);
void SaveSettingsFile(const TSettings &s, const QString &path);

// A window's placement in the given section ("MainForm", "InvoicesBook").
TWindowPlacement ReadWindowPlacement(const TIniFile &ini, const QString &section);
void WriteWindowPlacement(TIniFile &ini, const QString &section, const TWindowPlacement &placement);

// RoundOn as text and back: the written form reads back exactly; "." or ","
// separate the fraction; anything that is not a positive number gives 1.
QString RoundOnText(double value);
double RoundOnFromText(const QString &text);

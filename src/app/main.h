#pragma once
#include <QMainWindow>
#include <QMdiArea>
#include <QPixmap>

#include <functional>

class QAction;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolBar;
class TFloatingPanel;
class Tfrm_vypujcky;

// The client area of the main window: child windows over an optional background picture.
class TBackgroundArea : public QMdiArea
{
    Q_OBJECT
public:
    using QMdiArea::QMdiArea;
    void SetPicture(const QPixmap &picture, bool stretch);
    void ClearPicture();
    bool HasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
    bool m_stretch = false;
};

// The program's main window: the frame of the list windows with menus, toolbar,
// status bar, background picture and tray icon.
class TTarnovka : public QMainWindow
{
    Q_OBJECT
public:
    // `arguments` are the program's command line (the first one after the program name decides
    // the tray start).
    explicit TTarnovka(const QStringList &arguments, QWidget *parent = nullptr);
    ~TTarnovka() override;

    void Jazyk(const QString &languageFile);
    void LoadSettings();
    void SaveSettings();
    void FormShow();
    void FormClose();
    void ConnectOpenDB();
    void SetConnectedState(bool connected);
    // The first status bar panel shows whether and where the database is connected.
    void ShowDatabaseState();
    void showBackground();
    void ShowTitle();

    // The floating panels, created by the program entry; any may be missing.
    void SetPanels(TFloatingPanel *rents, TFloatingPanel *goods, TFloatingPanel *customers, TFloatingPanel *events);

    // The list windows, created by the program entry; shown in the client area.
    void SetListWindows(Tfrm_vypujcky *rents);

    // Tray and visibility.
    void HideApplication();
    void btnMinimalizedClick();
    void N11Click();
    void Zobrazovatpaneludlost1Click();
    void Koecn1Click();
    void EventsPanelClosed();
    bool HiddenInTray() const { return m_hidden; }

    // Commands.
    void btnAppCloseClick();
    void mnuDataBackupClick();
    void mnuDataRestoreClick();
    void PrihlasClick();
    void OdhlasClick();
    void TogglePanel(TFloatingPanel *panel, QAction *item);
    void mnuWindowsViewEventsClick();
    void OpenHelp(const QString &addressTemplate);
    // The help address with "%s" replaced by the window title.
    QString HelpAddress(const QString &addressTemplate) const;
    // The backup name written at closing, for a moment in time.
    static QString AutomaticBackupName(const QDateTime &when);

    // Opens the login dialog modally; tests replace it.
    void ShowLoginDialog();
    std::function<void()> LoginDialog;

    // The start-up wait and other windows may ask whether the first showing has happened.
    bool FirstShowPending() const { return m_firstShow; }

    // Controls.
    TBackgroundArea *mdiArea = nullptr;
    QToolBar *ToolBarUp1 = nullptr;
    QLabel *StatusPanel[3] = {};
    QAction *btnNovaZakazka, *btnNovyZakaznik, *btnNoveZbozi, *btnReload, *btnZaloha, *btnMinimalized,
        *btnKnihaFaktur, *btnSetup, *btnAbout, *btnAppClose;
    QMenu *mnuData, *mnuDataUsers, *mnuTools, *mnuWindows, *mnuWindowsView, *mnuHlp;
    QAction *mnuDataReload, *mnuDataZpravy, *mnuDataZpravyAkt, *mnuDataBackup, *mnuDataRestore,
        *mnuDataAktualizaceSW, *Prihlas, *Odhlas, *NastavUser, *Pehledy1, *mnuToolsSettings, *mnuToolsOur,
        *mnuWindowsCascade, *mnuWindowsTile, *mnuWindowsArrange, *mnuWindowsKnihaFakt, *mnuWindowsRents,
        *mnuWindowsViewGoods, *mnuWindowsViewCustomers, *mnuWindowsViewEvents, *mnuWindowsViewTool,
        *mnuHlpManual, *mnuHlpHowTo, *mnuHlpBug, *mnuHlpWish, *mnuHlpAbout;
    QSystemTrayIcon *TrayIcon = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N11, *Zobrazovatpaneludlost1, *Koecn1;

    Tfrm_vypujcky *frmVypujcky = nullptr;
    TFloatingPanel *panelRents = nullptr, *panelGoods = nullptr, *panelCustomers = nullptr,
                   *panelEvents = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createTray();
    void placePanel(TFloatingPanel *panel, QAction *item, bool wanted, int left, int top);
    void reopenEventsPanel();
    QAction *action(const QString &caption, const std::function<void()> &handler = {});

    bool m_firstShow = true;
    bool m_hidden = false;
    bool m_closing = false;
    QList<TFloatingPanel *> m_panelsHiddenWithWindow;
};

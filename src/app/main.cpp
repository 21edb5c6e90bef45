#include "app/main.h"
#include "app/datamod_main.h"
#include "app/dialogs.h"
#include "app/errors.h"
#include "app/floatpanel.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "app/paths.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcky.h"
#include "users/login.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>

void TBackgroundArea::SetPicture(const QPixmap &picture, bool stretch)
{
    m_picture = picture;
    m_stretch = stretch;
    viewport()->update();
}

void TBackgroundArea::ClearPicture()
{
    m_picture = QPixmap();
    viewport()->update();
}

void TBackgroundArea::paintEvent(QPaintEvent *event)
{
    QMdiArea::paintEvent(event);
    if (m_picture.isNull())
        return;
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    if (m_stretch) {
        painter.drawPixmap(area, m_picture);
    } else {
        QRect target(QPoint(), m_picture.size());
        target.moveCenter(area.center());
        painter.drawPixmap(target, m_picture);
    }
}

TTarnovka::TTarnovka(const QStringList &arguments, QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Tarnovka"));
    setWindowTitle(QStringLiteral("Lormen"));
    setWindowIcon(QIcon(QStringLiteral(":/resources/lormen.png")));
    mdiArea = new TBackgroundArea(this);
    setCentralWidget(mdiArea);
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createTray();

    // FormCreate
    const bool trayStart = arguments.size() > 1 && arguments.at(1) == QLatin1String("-m");
    Settings.TrayState = trayStart ? QStringLiteral("hide") : QStringLiteral("show");
    Zobrazovatpaneludlost1->setVisible(trayStart);
    m_firstShow = true;
    Settings.Database.Connected = false;
    LoadSettings();
    SetConnectedState(false);
}

TTarnovka::~TTarnovka() = default;

QAction *TTarnovka::action(const QString &caption, const std::function<void()> &handler)
{
    auto *item = new QAction(caption, this);
    if (handler)
        connect(item, &QAction::triggered, this, handler);
    else
        item->setProperty("unbuilt", true); // its window comes later: stays disabled
    return item;
}

void TTarnovka::createActions()
{
    btnNovaZakazka = action(QStringLiteral("Nová zakázka"), [this] {
        if (frmVypujcky)
            frmVypujcky->mnuRentsNewClick();
    });
    btnNovyZakaznik = action(QStringLiteral("Nový zákazník"));
    btnNoveZbozi = action(QStringLiteral("Přidat nové zboží"));
    btnReload = action(QStringLiteral("Aktualizovat data"), [this] { ConnectOpenDB(); });
    btnZaloha = action(QStringLiteral("Záloha dat"), [this] { mnuDataBackupClick(); });
    btnMinimalized = action(QStringLiteral("Minimalizovat"), [this] { btnMinimalizedClick(); });
    btnKnihaFaktur = action(QStringLiteral("Kniha faktur"));
    btnSetup = action(QStringLiteral("Nastavení"));
    btnAbout = action(QStringLiteral("Info"));
    btnAppClose = action(QStringLiteral("Konec"), [this] { btnAppCloseClick(); });

    mnuDataReload = action(QStringLiteral("Aktualizovat data"), [this] { ConnectOpenDB(); });
    mnuDataReload->setShortcut(QKeySequence(Qt::Key_F5));
    mnuDataZpravy = action(QStringLiteral("Zprávy"));
    mnuDataZpravyAkt = action(QStringLiteral("Aktualizace zpráv"));
    mnuDataBackup = action(QStringLiteral("Záloha databáze"), [this] { mnuDataBackupClick(); });
    mnuDataRestore = action(QStringLiteral("Obnovit ze zálohy"), [this] { mnuDataRestoreClick(); });
    mnuDataRestore->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    mnuDataAktualizaceSW = action(QStringLiteral("Aktualizace programu"));
    Prihlas = action(QStringLiteral("Přihlásit"), [this] { PrihlasClick(); });
    Odhlas = action(QStringLiteral("Odhlásit"), [this] { OdhlasClick(); });
    NastavUser = action(QStringLiteral("Nastavení"));
    Pehledy1 = action(QStringLiteral("Přehledy"));
    mnuToolsSettings = action(QStringLiteral("Nastavení programu"));
    mnuToolsOur = action(QStringLiteral("Údaje o nás"));
    mnuWindowsCascade = action(QStringLiteral("Kaskáda"), [this] { mdiArea->cascadeSubWindows(); });
    mnuWindowsTile = action(QStringLiteral("Vedle sebe"), [this] { mdiArea->tileSubWindows(); });
    mnuWindowsArrange = action(QStringLiteral("Seřadit minimalizovaná"), [this] { mdiArea->tileSubWindows(); });
    mnuWindowsKnihaFakt = action(QStringLiteral("Kniha faktur"));
    mnuWindowsKnihaFakt->setCheckable(true);
    mnuWindowsKnihaFakt->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    mnuWindowsRents = action(QStringLiteral("Vypůjčky - filtry"), [this] { TogglePanel(panelRents, mnuWindowsRents); });
    mnuWindowsViewGoods = action(QStringLiteral("Zboží - filtry"), [this] { TogglePanel(panelGoods, mnuWindowsViewGoods); });
    mnuWindowsViewCustomers = action(QStringLiteral("Zákazníci - filtry"),
                                     [this] { TogglePanel(panelCustomers, mnuWindowsViewCustomers); });
    mnuWindowsViewEvents = action(QStringLiteral("Události"), [this] { mnuWindowsViewEventsClick(); });
    mnuWindowsViewTool = action(QStringLiteral("Nástrojová lišta"),
                                [this] { ToolBarUp1->setVisible(mnuWindowsViewTool->isChecked()); });
    for (QAction *item : {mnuWindowsRents, mnuWindowsViewGoods, mnuWindowsViewCustomers, mnuWindowsViewEvents,
                          mnuWindowsViewTool})
        item->setCheckable(true);
    mnuHlpManual = action(QStringLiteral("Uživatelský manuál"), [this] { OpenHelp(LanguageString.STR_MAIN_MANUAL); });
    mnuHlpHowTo = action(QStringLiteral("Jak správně hlásit chyby"), [this] { OpenHelp(LanguageString.STR_MAIN_HOWTO); });
    mnuHlpBug = action(QStringLiteral("Ohlásit chybu"), [this] { OpenHelp(LanguageString.STR_MAIN_BUG); });
    mnuHlpWish = action(QStringLiteral("Poslat návrh na vylepšení / úpravu"), [this] { OpenHelp(LanguageString.STR_MAIN_WISH); });
    mnuHlpAbout = action(QStringLiteral("O programu"));

    N11 = action(QStringLiteral("Skrýt program"), [this] { N11Click(); });
    Zobrazovatpaneludlost1 = action(QStringLiteral("Zobrazovat panel událostí"), [this] { Zobrazovatpaneludlost1Click(); });
    Zobrazovatpaneludlost1->setCheckable(true);
    Koecn1 = action(QStringLiteral("Konec"), [this] { Koecn1Click(); });
}

void TTarnovka::createMenus()
{
    menuBar()->setObjectName(QStringLiteral("mnuMain"));
    mnuData = menuBar()->addMenu(QStringLiteral("Data"));
    mnuData->addActions({mnuDataReload, mnuDataZpravy, mnuDataZpravyAkt});
    mnuData->addSeparator();
    mnuData->addActions({mnuDataBackup, mnuDataRestore, mnuDataAktualizaceSW});
    mnuData->addSeparator();
    mnuDataUsers = mnuData->addMenu(QStringLiteral("Uživatelé"));
    mnuDataUsers->addActions({Prihlas, Odhlas, NastavUser, Pehledy1});

    mnuTools = menuBar()->addMenu(QStringLiteral("Nástroje"));
    mnuTools->addActions({mnuToolsSettings, mnuToolsOur});

    mnuWindows = menuBar()->addMenu(QStringLiteral("Okna"));
    mnuWindows->addActions({mnuWindowsCascade, mnuWindowsTile, mnuWindowsArrange});
    mnuWindows->addSeparator();
    mnuWindows->addAction(mnuWindowsKnihaFakt);
    mnuWindows->addSeparator();
    mnuWindowsView = mnuWindows->addMenu(QStringLiteral("Zobrazit panely"));
    mnuWindowsView->addActions({mnuWindowsRents, mnuWindowsViewGoods, mnuWindowsViewCustomers});
    mnuWindowsView->addSeparator();
    mnuWindowsView->addAction(mnuWindowsViewEvents);
    mnuWindowsView->addSeparator();
    mnuWindowsView->addAction(mnuWindowsViewTool);
    mnuWindows->addSeparator();
    // The list of open child windows follows the last separator.
    connect(mnuWindows, &QMenu::aboutToShow, this, [this] {
        for (QAction *old : mnuWindows->actions())
            if (old->property("windowItem").toBool())
                mnuWindows->removeAction(old);
        for (QMdiSubWindow *child : mdiArea->subWindowList()) {
            QAction *item = mnuWindows->addAction(child->windowTitle(), this, [this, child] {
                mdiArea->setActiveSubWindow(child);
            });
            item->setProperty("windowItem", true);
            item->setCheckable(true);
            item->setChecked(child == mdiArea->activeSubWindow());
        }
    });

    mnuHlp = menuBar()->addMenu(QStringLiteral("Nápověda"));
    mnuHlp->addAction(mnuHlpManual);
    mnuHlp->addSeparator();
    mnuHlp->addActions({mnuHlpHowTo, mnuHlpBug, mnuHlpWish});
    mnuHlp->addSeparator();
    mnuHlp->addAction(mnuHlpAbout);
}

void TTarnovka::createToolBar()
{
    ToolBarUp1 = addToolBar(QStringLiteral("Nástrojová lišta"));
    ToolBarUp1->setObjectName(QStringLiteral("ToolBarUp1"));
    ToolBarUp1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    ToolBarUp1->addAction(btnNovaZakazka);
    ToolBarUp1->addSeparator();
    ToolBarUp1->addAction(btnNovyZakaznik);
    ToolBarUp1->addSeparator();
    ToolBarUp1->addAction(btnNoveZbozi);
    ToolBarUp1->addSeparator();
    ToolBarUp1->addActions({btnReload, btnZaloha, btnMinimalized});
    ToolBarUp1->addSeparator();
    ToolBarUp1->addAction(btnKnihaFaktur);
    ToolBarUp1->addSeparator();
    ToolBarUp1->addActions({btnSetup, btnAbout, btnAppClose});
    // Hidden by the user (not by hiding the whole window): the menu's check mark follows.
    connect(ToolBarUp1, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (visible || ToolBarUp1->isHidden())
            mnuWindowsViewTool->setChecked(visible);
    });
}

void TTarnovka::createStatusBar()
{
    const int widths[3] = {410, 150, 100};
    const Qt::Alignment alignments[3] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < 3; ++i) {
        StatusPanel[i] = new QLabel(this);
        StatusPanel[i]->setFixedWidth(widths[i]);
        StatusPanel[i]->setAlignment(alignments[i] | Qt::AlignVCenter);
        statusBar()->addWidget(StatusPanel[i]);
    }
}

void TTarnovka::createTray()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addActions({N11, Zobrazovatpaneludlost1});
    PopupMenu1->addSeparator();
    PopupMenu1->addAction(Koecn1);
    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setToolTip(QStringLiteral("Program"));
    TrayIcon->setContextMenu(PopupMenu1);
    connect(TrayIcon, &QSystemTrayIcon::activated, this, [](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick)
            ShowText(LanguageString.STR_TRAYICON_CLICK);
    });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        TrayIcon->show();
}

void TTarnovka::SetPanels(TFloatingPanel *rents, TFloatingPanel *goods, TFloatingPanel *customers,
                          TFloatingPanel *events)
{
    panelRents = rents;
    panelGoods = goods;
    panelCustomers = customers;
    panelEvents = events;
    const QList<QPair<TFloatingPanel *, QAction *>> filters = {
        {panelRents, mnuWindowsRents}, {panelGoods, mnuWindowsViewGoods}, {panelCustomers, mnuWindowsViewCustomers}};
    for (const auto &[panel, item] : filters)
        if (panel)
            connect(panel, &TFloatingPanel::Closed, this, [item = item] { item->setChecked(false); });
    if (panelEvents)
        connect(panelEvents, &TFloatingPanel::Closed, this, [this] { EventsPanelClosed(); });
    SetConnectedState(Settings.Database.Connected);
}

void TTarnovka::SetListWindows(Tfrm_vypujcky *rents)
{
    frmVypujcky = rents;
    if (rents) {
        QMdiSubWindow *child = mdiArea->addSubWindow(rents);
        child->setAttribute(Qt::WA_DeleteOnClose, false);
        child->showMaximized();
    }
    SetConnectedState(Settings.Database.Connected);
}

void TTarnovka::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    LanguageString.Load(file);
    const QString section = QStringLiteral("frmMain");
    auto text = [&](const char *key) { return file.Text(section, QLatin1String(key)); };
    const QList<QPair<const char *, QAction *>> buttons = {
        {"tbNovaVypujcka", btnNovaZakazka}, {"tbNovyZakaznik", btnNovyZakaznik}, {"tbNoveZbozi", btnNoveZbozi},
        {"tbObnovit", btnReload}, {"tbBackup", btnZaloha}, {"tbMinimalized", btnMinimalized},
        {"tbKnihaFakt", btnKnihaFaktur}, {"tbSettings", btnSetup}, {"tbAbout", btnAbout}, {"tbClose", btnAppClose}};
    for (const auto &[key, button] : buttons) {
        button->setText(text(key));
        button->setToolTip(text(key));
    }
    const QList<QPair<const char *, QAction *>> items = {
        {"mnuDataAktualizace", mnuDataReload}, {"mnuDataZpravy", mnuDataZpravy},
        {"mnuDataAktualizaceZ", mnuDataZpravyAkt}, {"mnuDataZaloha", mnuDataBackup},
        {"mnuDataObnova", mnuDataRestore}, {"mnuDataAktualizaceSW", mnuDataAktualizaceSW},
        {"mnumnuDataUsersSub1", Prihlas}, {"mnumnuDataUsersSub2", Odhlas}, {"mnumnuDataUsersSub3", NastavUser},
        {"mnumnuDataUsersSub4", Pehledy1}, {"mnuSettingsSW", mnuToolsSettings}, {"mnuSettingsOur", mnuToolsOur},
        {"mnuWindowsBehind", mnuWindowsCascade}, {"mnuWindowsNext", mnuWindowsTile},
        {"mnuWindowsMin", mnuWindowsArrange}, {"mnuWindowsKnihaFakt", mnuWindowsKnihaFakt},
        {"mnuWindowsPanelySub1", mnuWindowsRents}, {"mnuWindowsPanelySub2", mnuWindowsViewGoods},
        {"mnuWindowsPanelySub3", mnuWindowsViewCustomers}, {"mnuWindowsPanelySub4", mnuWindowsViewEvents},
        {"mnuWindowsPanelySub5", mnuWindowsViewTool}, {"mnuHelpFile", mnuHlpManual}, {"mnuHelpHow", mnuHlpHowTo},
        {"mnuHelpBug", mnuHlpBug}, {"mnuHelpWish", mnuHlpWish}, {"mnuHelpAbout", mnuHlpAbout},
        {"popPanel", Zobrazovatpaneludlost1}, {"popKonec", Koecn1}};
    for (const auto &[key, item] : items)
        item->setText(text(key));
    mnuDataReload->setStatusTip(text("mnuDataAktualizaceHint"));
    const QList<QPair<const char *, QMenu *>> menus = {
        {"mnuData", mnuData}, {"mnumnuDataUsers", mnuDataUsers}, {"mnuSettings", mnuTools},
        {"mnuWindows", mnuWindows}, {"mnuWindowsPanely", mnuWindowsView}, {"mnuHelp", mnuHlp}};
    for (const auto &[key, menu] : menus)
        menu->setTitle(text(key));
    ToolBarUp1->setWindowTitle(text("ToolBarUp1"));
    N11->setText(Settings.TrayState == QLatin1String("hide") ? LanguageString.popOpenSW : LanguageString.popHideSW);
    ShowDatabaseState();
    ShowTitle();
}

void TTarnovka::ShowTitle()
{
    setWindowTitle(TitleText());
}

void TTarnovka::LoadSettings()
{
    ReadSettingsFile(Settings, ProgramFile(QStringLiteral("settings.ini")));
    const TWindowPlacement &placement = Settings.MainForm;
    if (placement.WindowState == QLatin1String("wsMaximized")) {
        setWindowState(Qt::WindowMaximized);
    } else {
        move(placement.Left, placement.Top);
        resize(placement.Width, placement.Height);
    }
    Zobrazovatpaneludlost1->setChecked(Settings.PanelEvents);
    Settings.Database.KeepBackups = 30;
    Settings.Database.RefreshByEvent = true;
}

void TTarnovka::SaveSettings()
{
    TWindowPlacement &placement = Settings.MainForm;
    if (isMinimized()) {
        placement.WindowState = QStringLiteral("wsMinimized");
    } else if (isMaximized()) {
        placement.WindowState = QStringLiteral("wsMaximized");
    } else {
        placement.WindowState = QStringLiteral("wsNormal");
        placement.Left = x();
        placement.Top = y();
        placement.Width = width();
        placement.Height = height();
    }
    Settings.ToolbarVisible = mnuWindowsViewTool->isChecked();
    if (frmVypujcky)
        frmVypujcky->UlozSloupce();
    const QList<QPair<TFloatingPanel *, TPanelState *>> panels = {
        {panelRents, &Settings.RentsPanel}, {panelGoods, &Settings.GoodsPanel},
        {panelCustomers, &Settings.CustomersPanel}, {panelEvents, &Settings.EventsPanel}};
    for (const auto &[panel, state] : panels) {
        if (!panel)
            continue;
        state->Visible = panel->Showing() || m_panelsHiddenWithWindow.contains(panel);
        state->Left = panel->x();
        state->Top = panel->y();
    }
    if (panelEvents)
        Settings.EventsPanel.Visible = mnuWindowsViewEvents->isChecked();
    TIniFile ini(ProgramFile(QStringLiteral("settings.ini")));
    SaveSettingsFile(Settings, ini);
    for (TFloatingPanel *panel : {panelRents, panelGoods, panelCustomers})
        if (panel)
            panel->WriteChecks(ini);
    ini.UpdateFile();
}

void TTarnovka::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TTarnovka::placePanel(TFloatingPanel *panel, QAction *item, bool wanted, int left, int top)
{
    if (!panel)
        return;
    panel->move(left, top);
    const bool show = wanted && Settings.Database.Connected && item->isEnabled();
    if (show)
        panel->show();
    item->setChecked(show);
}

void TTarnovka::FormShow()
{
    showBackground();
    if (Settings.Database.Path.isEmpty() || Settings.Database.Kind == QLatin1String("Local"))
        Settings.Database.Path = ProgramFile(QStringLiteral("db/"));
    if (Settings.Database.Connected) {
        Prihlas->setEnabled(true);
        Odhlas->setEnabled(false);
        const bool loggedIn = AutoLogin();
        Prihlas->setEnabled(!loggedIn);
        Odhlas->setEnabled(loggedIn);
        if (Settings.User.Id == 0 && Settings.Users.ViewLogScreen)
            ShowLoginDialog();
    }
    ShowTitle();
    if (m_firstShow) {
        ToolBarUp1->setVisible(Settings.ToolbarVisible);
        mnuWindowsViewTool->setChecked(Settings.ToolbarVisible);
        placePanel(panelRents, mnuWindowsRents, Settings.RentsPanel.Visible, Settings.RentsPanel.Left, Settings.RentsPanel.Top);
        placePanel(panelGoods, mnuWindowsViewGoods, Settings.GoodsPanel.Visible, Settings.GoodsPanel.Left, Settings.GoodsPanel.Top);
        placePanel(panelCustomers, mnuWindowsViewCustomers, Settings.CustomersPanel.Visible, Settings.CustomersPanel.Left,
                   Settings.CustomersPanel.Top);
        placePanel(panelEvents, mnuWindowsViewEvents, Settings.EventsPanel.Visible, Settings.EventsPanel.Left,
                   Settings.EventsPanel.Top);
        m_firstShow = false;
    }
}

void TTarnovka::ShowLoginDialog()
{
    if (LoginDialog) {
        LoginDialog();
        return;
    }
    Tfrm_login login(this);
    login.OnLoginState = [this](bool loggedIn) {
        Prihlas->setEnabled(!loggedIn);
        Odhlas->setEnabled(loggedIn);
        ShowTitle();
    };
    login.exec();
}

QString TTarnovka::AutomaticBackupName(const QDateTime &when)
{
    return QStringLiteral("a_") + when.toString(QStringLiteral("ddMMyyyy_HHmmss")) + QStringLiteral(".fbk");
}

void TTarnovka::FormClose()
{
    SaveSettings();
    if (Settings.Database.Connected && Settings.Database.AutoBackups) {
        const QString dir = ProgramFile(QStringLiteral("backups/"));
        QDir().mkpath(dir);
        if (Settings.Database.AutoDelBackups)
            TDataModule_main::DeleteOldBackups(Settings.Database.KeepBackups, dir, QStringLiteral("a_*.fbk"));
        DataModule_main().BackupDatabase(dir + AutomaticBackupName(QDateTime::currentDateTime()), false);
    }
}

void TTarnovka::closeEvent(QCloseEvent *event)
{
    if (!m_closing && !Dialogs().Ask(LanguageString.STR_CLOSE_TEXT, LanguageString.STR_CLOSE_CAPT)) {
        event->ignore();
        return;
    }
    m_closing = true;
    FormClose();
    event->accept();
    QCoreApplication::quit();
}

void TTarnovka::btnAppCloseClick()
{
    if (!Dialogs().Ask(LanguageString.STR_CLOSE_TEXT, LanguageString.STR_CLOSE_CAPT))
        return;
    m_closing = true;
    close();
}

void TTarnovka::Koecn1Click()
{
    // Ends at once: no question, no saved layout, no automatic backup.
    m_closing = true;
    QCoreApplication::exit(0);
}

void TTarnovka::ShowDatabaseState()
{
    StatusPanel[0]->setText(Settings.Database.Connected
                                ? LanguageString.STR_CONNECT_DB_ON + ' ' + TDataModule_main::DatabaseFile(Settings.Database.Path)
                                : LanguageString.STR_NO_CONNECT_DB);
}

void TTarnovka::SetConnectedState(bool connected)
{
    ShowDatabaseState();
    const QList<QAction *> items = {btnNovaZakazka, btnNovyZakaznik, btnNoveZbozi, btnZaloha, btnKnihaFaktur,
                                    mnuDataReload, mnuDataBackup, mnuWindowsRents, mnuWindowsViewGoods,
                                    mnuWindowsViewCustomers, mnuWindowsViewEvents, mnuToolsOur};
    for (QAction *item : items)
        item->setEnabled(connected && !item->property("unbuilt").toBool());
    // The reload stays possible while disconnected: it is how the user reconnects.
    mnuDataReload->setEnabled(true);
    btnReload->setEnabled(true);
    const QList<QPair<TFloatingPanel *, QAction *>> panels = {{panelRents, mnuWindowsRents},
                                                              {panelGoods, mnuWindowsViewGoods},
                                                              {panelCustomers, mnuWindowsViewCustomers},
                                                              {panelEvents, mnuWindowsViewEvents}};
    for (const auto &[panel, item] : panels)
        if (!panel)
            item->setEnabled(false);
    if (frmVypujcky)
        frmVypujcky->SetConnectedState(connected);
    else
        btnNovaZakazka->setEnabled(false);
    // Items whose windows do not exist yet stay disabled whatever the connection.
    for (QAction *item : findChildren<QAction *>())
        if (item->property("unbuilt").toBool())
            item->setEnabled(false);
}

void TTarnovka::ConnectOpenDB()
{
    TDataModule_main &module = DataModule_main();
    if (Settings.Database.Connected) {
        module.RefreshData();
        return;
    }
    module.UnregisterListener();
    StatusPanel[0]->setText(LanguageString.STR_CONNECTING_DB);
    StatusPanel[0]->repaint();
    bool opened = false;
    try {
        if (Settings.Database.Kind != QLatin1String("Remote"))
            TDataModule_main::EnsureLocalDatabase(Settings.Database.Path);
        opened = module.ConnectDatabase(Settings.Database.Path);
    } catch (const ELormenError &error) {
        Dialogs().ShowError(LanguageString.STR_DB_CREATE_FAILED + QStringLiteral("\n\n") + error.message());
    }
    if (!opened) {
        Dialogs().ShowText(LanguageString.STR_DB_NOTCONNECT);
        module.SetDisconnected();
        return;
    }
    Settings.Database.Connected = true;
    SetConnectedState(true);
    module.RefreshData();
    if (!Settings.Database.Connected)
        return; // the reload failed and disconnected again
    // The lists with their filters, and the filter panels' type boxes.
    if (frmVypujcky) {
        frmVypujcky->ViewRents(0);
        frmVypujcky->Zobraz();
    }
    if (auto *rentsPanel = qobject_cast<Tpanel_zakazky *>(panelRents))
        rentsPanel->FillCustomerTypeChecks();
}

void TTarnovka::showBackground()
{
    TBackground &background = Settings.Background;
    if (background.Show && !background.Path.isEmpty()) {
        QPixmap picture;
        if (QFileInfo::exists(background.Path) && picture.load(background.Path)) {
            mdiArea->SetPicture(picture, background.Stretch);
            return;
        }
        // The picture went away: stop asking for it.
        background.Show = false;
        background.Path.clear();
    }
    mdiArea->ClearPicture();
}

void TTarnovka::HideApplication()
{
    m_hidden = true;
    m_panelsHiddenWithWindow.clear();
    for (TFloatingPanel *panel : {panelRents, panelGoods, panelCustomers})
        if (panel && panel->Showing()) {
            m_panelsHiddenWithWindow << panel;
            panel->hide();
        }
    hide();
}

void TTarnovka::reopenEventsPanel()
{
    if (!panelEvents)
        return;
    panelEvents->close();
    panelEvents->show();
    panelEvents->raise();
    panelEvents->activateWindow();
}

void TTarnovka::btnMinimalizedClick()
{
    HideApplication();
    if (Settings.PanelEvents && Settings.Database.Connected) {
        Settings.TrayState = QStringLiteral("no");
        reopenEventsPanel();
    }
    Settings.TrayState = QStringLiteral("hide");
    N11->setText(LanguageString.popOpenSW);
    Zobrazovatpaneludlost1->setVisible(true);
    Zobrazovatpaneludlost1->setChecked(Settings.PanelEvents);
}

void TTarnovka::N11Click()
{
    if (!m_hidden) {
        Zobrazovatpaneludlost1->setVisible(true);
        HideApplication();
        Settings.TrayState = QStringLiteral("no");
        N11->setText(LanguageString.popOpenSW);
        if (Settings.PanelEvents) {
            reopenEventsPanel();
            Zobrazovatpaneludlost1->setChecked(true);
        } else {
            Zobrazovatpaneludlost1->setChecked(false);
        }
        Settings.TrayState = QStringLiteral("hide");
        return;
    }
    Settings.TrayState = QStringLiteral("no");
    m_hidden = false;
    show();
    for (TFloatingPanel *panel : std::as_const(m_panelsHiddenWithWindow))
        panel->show();
    m_panelsHiddenWithWindow.clear();
    if (!Settings.EventsPanel.Visible && panelEvents)
        panelEvents->close();
    N11->setText(LanguageString.popHideSW);
    Zobrazovatpaneludlost1->setVisible(false);
    Settings.TrayState = QStringLiteral("show");
}

void TTarnovka::Zobrazovatpaneludlost1Click()
{
    if (Zobrazovatpaneludlost1->isChecked()) {
        Settings.TrayState = QStringLiteral("no");
        if (panelEvents)
            panelEvents->close();
        Settings.TrayState = QStringLiteral("hide");
        Settings.PanelEvents = true;
        if (panelEvents)
            panelEvents->show();
    } else {
        Settings.TrayState = QStringLiteral("hide");
        Settings.PanelEvents = false;
        if (panelEvents)
            panelEvents->close();
    }
}

void TTarnovka::EventsPanelClosed()
{
    if (Settings.TrayState == QLatin1String("hide")) {
        Settings.PanelEvents = false;
        Zobrazovatpaneludlost1->setChecked(false);
    } else if (Settings.TrayState == QLatin1String("show")) {
        mnuWindowsViewEvents->setChecked(false);
        Settings.EventsPanel.Visible = false;
    }
}

void TTarnovka::mnuWindowsViewEventsClick()
{
    if (!panelEvents)
        return;
    if (panelEvents->Showing()) {
        panelEvents->close();
    } else {
        panelEvents->show();
        Settings.EventsPanel.Visible = true;
        mnuWindowsViewEvents->setChecked(true);
    }
}

void TTarnovka::TogglePanel(TFloatingPanel *panel, QAction *item)
{
    if (!panel)
        return;
    if (panel->Showing())
        panel->close();
    else
        panel->show();
    item->setChecked(panel->Showing());
}

QString TTarnovka::HelpAddress(const QString &addressTemplate) const
{
    return QString(addressTemplate).replace(QLatin1String("%s"), windowTitle());
}

void TTarnovka::OpenHelp(const QString &addressTemplate)
{
    const QString address = HelpAddress(addressTemplate);
    if (!address.isEmpty())
        Dialogs().OpenUrl(address);
}

void TTarnovka::mnuDataBackupClick()
{
    if (Settings.Database.Kind == QLatin1String("Remote")) {
        ShowText(LanguageString.STR_BACKUP_ONLYLOCALDB);
        return;
    }
    const QString file = Dialogs().SaveFileName(QStringLiteral("Firebird backup (*.fbk)"));
    if (!file.isEmpty())
        DataModule_main().BackupDatabase(file + QStringLiteral(".fbk"), true);
}

void TTarnovka::mnuDataRestoreClick()
{
    if (Settings.Database.Kind == QLatin1String("Remote")) {
        ShowText(LanguageString.STR_RESTORE_ONLYLOCALDB);
        return;
    }
    const QString file = Dialogs().OpenFileName(QStringLiteral("Firebird backup (*.fbk)"));
    if (file.isEmpty())
        return;
    ShowText(LanguageString.STR_RESTOREDB_INFO);
    if (!Dialogs().Ask(LanguageString.STR_RESTOREDB_TEXT, LanguageString.STR_RESTOREDB_CAPT))
        return;
    // The restore waits for gbak while the window keeps answering.
    QProgressDialog progress(LanguageString.STR_RESTOREDB_CAPT, QString(), 0, 0, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.show();
    const bool wasConnected = Settings.Database.Connected;
    DataModule_main().RestoreDatabase(file);
    progress.close();
    if (wasConnected && !Settings.Database.Connected)
        SetConnectedState(false);
}

void TTarnovka::PrihlasClick()
{
    ShowLoginDialog();
}

void TTarnovka::OdhlasClick()
{
    if (!Dialogs().Ask(LanguageString.STR_ODHLASIT_TEXT, LanguageString.STR_ODHLASIT_CAPT))
        return;
    Logout();
    Prihlas->setEnabled(true);
    Odhlas->setEnabled(false);
    ShowTitle();
}

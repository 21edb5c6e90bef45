#include "app/startup.h"
#include "app/datamod_main.h"
#include "app/floatpanel.h"
#include "app/globalres.h"
#include "app/localisation.h"
#include "app/main.h"
#include "app/resources.h"
#include "app/screen.h"
#include "app/termination.h"
#include "data/datmod_user.h"
#include "online/panelUdalosti.h"
#include "data/datm_zakaznik.h"
#include "data/datmod_vypujka.h"
#include "data/datmod_znozi.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcky.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

bool IsTrayStart(const QStringList &arguments)
{
    return arguments.size() > 1 && arguments.at(1) == QLatin1String("-m");
}

TProgram::TProgram(const QStringList &arguments)
    : TrayStart(IsTrayStart(arguments)), m_arguments(arguments)
{
    InitLormenResources();
}

TProgram::~TProgram()
{
    ClearJazykWindows();
    m_eventsPanel.reset();
    m_mainWindow.reset(); // its children, the data modules, go with it
    SetDataModule_main(nullptr);
}

void TProgram::Create()
{
    if (!TrayStart) {
        Screen = std::make_unique<Tfrm_screen>();
        Screen->show();
        Screen->SetText(QStringLiteral("starting application..."));
    }
    QCoreApplication::setApplicationName(QStringLiteral("Lormen"));

    m_mainWindow = std::make_unique<TTarnovka>(m_arguments);
    Tarnovka = m_mainWindow.get();
    auto *panelRents = new Tpanel_zakazky(Tarnovka);
    DataModuleMain = new TDataModule_main(QStringLiteral("lormen"), Tarnovka);
    SetDataModule_main(DataModuleMain);
    QObject::connect(DataModuleMain, &TDataModule_main::Disconnected, Tarnovka,
                     [this] { Tarnovka->SetConnectedState(false); });
    SetDataModule_vypujcka(new TDataModule_vypujcka(*DataModuleMain, DataModuleMain));
    SetDataModule_zbozi(new TDataModule_zbozi(*DataModuleMain, DataModuleMain));
    SetDataModule_zakaznik(new TDataModule_zakaznik(*DataModuleMain, DataModuleMain));
    auto *frmVypujcky = new Tfrm_vypujcky(*DataModuleMain);
    frmVypujcky->SetFilterPanel(panelRents);
    m_eventsPanel = std::make_unique<Tpanel_udalosti>();
    PanelEvents = m_eventsPanel.get();
    DataModuleUser = new TDataModule_user(*DataModuleMain, DataModuleMain);
    SetDataModule_user(DataModuleUser);
    Tarnovka->SetListWindows(frmVypujcky);
    Tarnovka->SetPanels(panelRents, nullptr, nullptr, PanelEvents);

    RegisterJazyk([this](const QString &file) { Tarnovka->Jazyk(file); });
    RegisterJazyk([frmVypujcky](const QString &file) { frmVypujcky->Jazyk(file); });
    RegisterJazyk([this](const QString &file) { PanelEvents->Jazyk(file); });
    RegisterJazyk([panelRents](const QString &file) { panelRents->Jazyk(file); });
    NastavZobrazJazyk();
}

bool TProgram::Start(int minimumMs)
{
    QElapsedTimer started;
    started.start();
    if (Screen)
        Screen->SetText(QStringLiteral("connecting with database..."));
    Settings.Database.Connected = false;
    DataModuleMain->ConnectRetries = 0;
    Tarnovka->ConnectOpenDB();
    EndOnTerminationSignal();

    if (!TrayStart) {
        // Asked to end while waiting (the system shuts down): stop at once.
        while (started.elapsed() < minimumMs) {
            QCoreApplication::processEvents();
            if (TerminationRequested())
                return false;
            QThread::msleep(10);
        }
        Screen.reset();
        Tarnovka->show();
    } else {
        Tarnovka->HideApplication();
        if (PanelEvents) {
            PanelEvents->move(Settings.EventsPanel.Left, Settings.EventsPanel.Top);
            if (Settings.PanelEvents && Settings.Database.Connected)
                PanelEvents->show();
        }
        if (Settings.Database.Connected)
            DataModuleMain->RefreshData();
        Settings.TrayState = QStringLiteral("hide");
    }
    return true;
}

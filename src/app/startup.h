#pragma once
#include <QStringList>

#include <functional>
#include <memory>

class TDataModule_main;
class TDataModule_user;
class TFloatingPanel;
class TTarnovka;
class Tfrm_screen;

// The tray start is asked for by exactly "-m" as the first argument.
bool IsTrayStart(const QStringList &arguments);

// The program's long-lived windows and data modules, created once, in start-up order.
class TProgram
{
public:
    explicit TProgram(const QStringList &arguments);
    ~TProgram();

    // Shows the start-up picture (normal start), creates every window and data module and
    // loads their texts.
    void Create();
    // Connects, keeps the picture up for at least `minimumMs`, or hides in the tray.
    // Returns false when the application was told to end meanwhile.
    bool Start(int minimumMs = 4000);

    bool TrayStart = false;
    std::unique_ptr<Tfrm_screen> Screen;
    TTarnovka *Tarnovka = nullptr;
    TDataModule_main *DataModuleMain = nullptr;
    TDataModule_user *DataModuleUser = nullptr;
    TFloatingPanel *PanelEvents = nullptr;

private:
    QStringList m_arguments;
    std::unique_ptr<TTarnovka> m_mainWindow;
    std::unique_ptr<TFloatingPanel> m_eventsPanel;
};

#include "app/datamod_main.h"
#include "app/dialogs.h"
#include "app/errorlog.h"
#include "app/fbroot.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "app/paths.h"

#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

int main(int argc, char **argv)
{
    TLormenApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lormen"));

    QString error;
    if (!PrepareFirebirdRoot(ProgramFile(QStringLiteral("firebird")), &error)) {
        Dialogs().ShowError(error);
        return 1;
    }
    ReadSettingsFile(Settings, ProgramFile(QStringLiteral("settings.ini")));
    QString language = Settings.Language.isEmpty() ? QStringLiteral("czech.ini") : Settings.Language;
    if (!QFile::exists(LanguageFilePath(language)))
        language = QStringLiteral("english.ini");
    LanguageString.Load(TLanguageFile(language));

    QMainWindow frame;
    frame.setWindowTitle(QStringLiteral("Lormen ") + Settings.Version);
    frame.resize(660, 570);
    frame.show();

    TDataModule_main module;
    SetDataModule_main(&module);
    if (Settings.Database.Kind != QLatin1String("Remote") && Settings.Database.Kind != QLatin1String("LocalOther"))
        Settings.Database.Path = ProgramFile(QStringLiteral("db/"));
    frame.statusBar()->showMessage(LanguageString.STR_CONNECTING_DB);
    try {
        if (Settings.Database.Kind != QLatin1String("Remote"))
            TDataModule_main::EnsureLocalDatabase(Settings.Database.Path);
    } catch (const ELormenError &e) {
        Dialogs().ShowError(LanguageString.STR_DB_CREATE_FAILED + "\n\n" + e.message());
    }
    if (module.ConnectDatabase(Settings.Database.Path)) {
        Settings.Database.Connected = true;
        module.RefreshData();
        frame.statusBar()->showMessage(LanguageString.STR_CONNECT_DB_ON + ' ' + Settings.Database.Path);
    } else {
        Dialogs().ShowText(LanguageString.STR_DB_NOTCONNECT);
        module.SetDisconnected();
        frame.statusBar()->showMessage(LanguageString.STR_NO_CONNECT_DB);
    }
    return app.exec();
}

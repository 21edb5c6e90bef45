#include "app/dialogs.h"
#include "app/errorlog.h"
#include "app/fbroot.h"
#include "app/paths.h"
#include "app/startup.h"

int main(int argc, char **argv)
{
    TLormenApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lormen"));
    // The tray keeps the program running while no window is open.
    QApplication::setQuitOnLastWindowClosed(false);

    QString error;
    if (!PrepareFirebirdRoot(ProgramFile(QStringLiteral("firebird")), &error)) {
        Dialogs().ShowError(error);
        return 1;
    }
    TProgram program(QCoreApplication::arguments());
    program.Create();
    if (!program.Start())
        return 0;
    return app.exec();
}

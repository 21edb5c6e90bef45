#include "app/dialogs.h"
#include "app/errorlog.h"
#include "app/fbroot.h"
#include "app/paths.h"
#include "app/startup.h"
#include "app/termination.h"

#include <unistd.h>

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
    const int code = program.Start() ? app.exec() : 0;
    // After a termination signal the database engine is already shutting itself down and
    // would not let the connection close: end without tidying up.
    if (TerminationRequested())
        ::_exit(code);
    return code;
}

#include "app/paths.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramDir()
{
    const QByteArray home = qgetenv("LORMEN_HOME");
    QString dir = home.isEmpty() ? QCoreApplication::applicationDirPath() : QString::fromLocal8Bit(home);
    dir = QDir::cleanPath(QDir(dir).absolutePath());
    return dir.endsWith('/') ? dir : dir + '/';
}

QString ProgramFile(const QString &relative)
{
    return ProgramDir() + relative;
}

#include "app/fbroot.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

// Points `link` at `target` unless it already does.
bool ensureLink(const QString &target, const QString &link)
{
    const QFileInfo info(link);
    if (info.isSymLink() && info.symLinkTarget() == target)
        return true;
    if (info.exists() || info.isSymLink())
        QFile::remove(link);
    return QFile::link(target, link);
}

bool ensureCopy(const QString &source, const QString &copy)
{
    const QFileInfo from(source), to(copy);
    if (to.exists() && !to.isSymLink() && to.size() == from.size())
        return true;
    QFile::remove(copy);
    return QFile::copy(source, copy);
}

} // namespace

QString SystemFirebirdRoot()
{
    const QByteArray forced = qgetenv("LORMEN_SYSTEM_FIREBIRD");
    return forced.isEmpty() ? QStringLiteral("/usr/lib/x86_64-linux-gnu/firebird/3.0")
                            : QString::fromLocal8Bit(forced);
}

bool PrepareFirebirdRoot(const QString &rootDir, QString *error)
{
    const QString system = SystemFirebirdRoot();
    if (!QFileInfo(system + "/plugins").isDir())
        return fail(error, QStringLiteral("Firebird is not installed in %1").arg(system));

    QDir root(rootDir);
    if (!root.mkpath(".") || !root.mkpath("intl") || !root.mkpath("lock"))
        return fail(error, QStringLiteral("Cannot create the Firebird directory %1").arg(rootDir));

    QFile conf(root.filePath("firebird.conf"));
    const QByteArray wanted = "# Written by the program: embedded engine shared by local processes.\n"
                              "ServerMode = SuperClassic\n";
    if (!conf.exists() || (conf.open(QIODevice::ReadOnly) && conf.readAll() != wanted)) {
        conf.close();
        if (!conf.open(QIODevice::WriteOnly | QIODevice::Truncate) || conf.write(wanted) != wanted.size())
            return fail(error, QStringLiteral("Cannot write %1").arg(conf.fileName()));
    }
    conf.close();

    for (const char *name : {"plugins", "plugins.conf", "lib", "UDF", "firebird.msg"}) {
        const QString target = system + '/' + name;
        if (QFileInfo::exists(target) && !ensureLink(target, root.filePath(name)))
            return fail(error, QStringLiteral("Cannot link %1").arg(root.filePath(name)));
    }
    if (!ensureLink(system + "/intl/fbintl.conf", root.filePath("intl/fbintl.conf")))
        return fail(error, QStringLiteral("Cannot link %1").arg(root.filePath("intl/fbintl.conf")));
    // Through a link the engine reports the WIN1250 character set as not installed.
    if (!ensureCopy(system + "/intl/libfbintl.so", root.filePath("intl/libfbintl.so")))
        return fail(error, QStringLiteral("Cannot copy %1").arg(root.filePath("intl/libfbintl.so")));

    const QString absolute = QFileInfo(rootDir).absoluteFilePath();
    qputenv("FIREBIRD", QFile::encodeName(absolute));
    qputenv("FIREBIRD_LOCK", QFile::encodeName(absolute + "/lock"));
    return true;
}

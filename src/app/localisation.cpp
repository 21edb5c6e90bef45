#include "app/localisation.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "app/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>

namespace {
QList<std::function<void(const QString &)>> &windows()
{
    static QList<std::function<void(const QString &)>> list;
    return list;
}
} // namespace

void RegisterJazyk(const std::function<void(const QString &)> &jazyk)
{
    windows().append(jazyk);
}

void ClearJazykWindows()
{
    windows().clear();
}

QList<TLanguageItem> NastavZobrazJazyk()
{
    if (Settings.Language.isEmpty())
        Settings.Language = QStringLiteral("czech.ini");
    if (!QFileInfo::exists(LanguageFilePath(Settings.Language)))
        Settings.Language = QStringLiteral("english.ini");

    QList<TLanguageItem> items;
    const QDir dir(ProgramFile(QStringLiteral("lng")));
    for (const QString &name : dir.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name)) {
        const TIniFile file(dir.filePath(name));
        TLanguageItem item;
        item.FileName = name;
        item.Version = file.ReadString(QStringLiteral("Language"), QStringLiteral("Version"), QString());
        item.LangId = file.ReadString(QStringLiteral("Language"), QStringLiteral("LangId"), QString());
        item.LangDesc = file.ReadString(QStringLiteral("Language"), QStringLiteral("LangDesc"), QString());
        const QString icon = file.ReadString(QStringLiteral("Language"), QStringLiteral("LangIco"), QString());
        if (!icon.isEmpty() && QFileInfo::exists(dir.filePath(icon)))
            item.Icon = QIcon(QPixmap(dir.filePath(icon)));
        item.Current = name == Settings.Language;
        items << item;
    }
    // The texts come from the chosen file even when the directory listing lacks it.
    for (const auto &jazyk : std::as_const(windows()))
        jazyk(Settings.Language);
    return items;
}

#pragma once
#include <QIcon>
#include <QList>
#include <QString>

#include <functional>

// One language file found in "lng/".
struct TLanguageItem
{
    QString FileName;
    QString Version, LangId, LangDesc;
    QIcon Icon;
    bool Current = false;
};

// Long-lived windows hand in their Jazyk here, in the order they are created.
void RegisterJazyk(const std::function<void(const QString &languageFile)> &jazyk);
void ClearJazykWindows();

// The language switch: settles Settings.Language (empty → "czech.ini", a file that is not
// there → "english.ini"), loads the texts of every registered window from it, and returns
// the language files found for the settings dialog's list.
QList<TLanguageItem> NastavZobrazJazyk();

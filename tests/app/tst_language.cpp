// Every text a window asks the language files for is in both of them.
#include "fixture.h"

#include "app/datamod_main.h"
#include "app/globalres.h"
#include "app/inifile.h"
#include "app/language.h"
#include "app/main.h"
#include "goods/imagepreview.h"
#include "online/panelUdalosti.h"
#include "rentals/panelzakazky.h"
#include "rentals/vypujcka.h"
#include "rentals/vypujcky.h"
#include "settings/editText.h"
#include "users/login.h"

#include <QSet>
#include <QtTest>

#include <functional>

namespace {
using Key = QPair<QString, QString>;

// The windows whose Jazyk reads the language files, each given the file to read.
QList<std::function<void(const QString &)>> windowTexts()
{
    return {
        [](const QString &file) { TTarnovka({QStringLiteral("lormen")}).Jazyk(file); },
        [](const QString &file) { Tfrm_login().Jazyk(file); },
        [](const QString &file) { Tfrm_loginAdmin().Jazyk(file); },
        [](const QString &file) { Tpanel_udalosti().Jazyk(file); },
        [](const QString &file) { Tfrm_vypujcka().Jazyk(file); },
        [](const QString &file) { Tfrm_editText().Jazyk(file); },
        [](const QString &file) { Tfrm_imagePreview().Jazyk(file); },
        [](const QString &file) { Tpanel_zakazky().Jazyk(file); },
        [](const QString &file) { Tfrm_vypujcky(DataModule_main()).Jazyk(file); },
    };
}
} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT
private slots:
    void everyKeyReadIsInBothFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("czech") << QStringLiteral("czech.ini");
        QTest::newRow("english") << QStringLiteral("english.ini");
    }

    void everyKeyReadIsInBothFiles()
    {
        QFETCH(QString, file);
        TestEnv env(false);
        env.installLanguages();
        TDataModule_main module;
        SetDataModule_main(&module);

        QSet<Key> asked;
        TLanguageFile::SetRecorder([&asked](const QString &section, const QString &key) { asked.insert({section, key}); });
        for (const auto &jazyk : windowTexts())
            jazyk(file);
        TLanguageFile::SetRecorder({});
        QVERIFY(asked.size() > 100);

        const TIniFile ini(LanguageFilePath(file));
        QStringList missing;
        for (const Key &key : std::as_const(asked))
            if (!ini.ValueExists(key.first, key.second))
                missing << key.first + '/' + key.second;
        missing.sort();
        QVERIFY2(missing.isEmpty(), qPrintable(file + QStringLiteral(" lacks: ") + missing.join(", ")));
    }

    void bothFilesHoldTheSameKeys()
    {
        const TIniFile czech(QStringLiteral(LORMEN_SOURCE_DIR "/lng/czech.ini"));
        const TIniFile english(QStringLiteral(LORMEN_SOURCE_DIR "/lng/english.ini"));
        QStringList differences;
        for (const auto &[one, other, name] : {std::tuple{&czech, &english, "english"}, std::tuple{&english, &czech, "czech"}})
            for (const QString &section : one->ReadSections())
                for (const QString &key : one->ReadSection(section))
                    if (!other->ValueExists(section, key))
                        differences << QString::fromLatin1(name) + QStringLiteral(" lacks ") + section + '/' + key;
        QVERIFY2(differences.isEmpty(), qPrintable(differences.join(", ")));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"

#include "app/errors.h"
#include "app/inifile.h"
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString Czech = QStringLiteral("Příliš žluťoučký kůň");

void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TSettings ReadFrom(const QString &path)
{
    TSettings s;
    ReadSettingsFile(s, path);
    return s;
}

// Everything both writers store, as file text, for comparing two records.
QByteArray StoredForm(const TSettings &s, const QString &path)
{
    QFile::remove(path);
    WriteSettingsFile(s, path);
    SaveSettingsFile(s, path);
    return FileBytes(path);
}

// The flags of the record by key name, for the rule tables.
bool Flag(const TSettings &s, const QString &key)
{
    if (key == "AutoRun") return s.AutoRun;
    if (key == "PanelEvents") return s.PanelEvents;
    if (key == "SendBugReport") return s.SendBugReport;
    if (key == "PlatceDPH") return s.VatPayer;
    if (key == "RemindControlsUse") return s.RemindControls;
    if (key == "AutoCheckVersion") return s.Update.AutoCheckVersion;
    if (key == "ProxyUse") return s.Update.ProxyUse;
    if (key == "Use") return s.Logo.Show;
    if (key == "RequireLogin") return s.Users.RequireLogin;
    if (key == "ViewLogScreen") return s.Users.ViewLogScreen;
    if (key == "AutoBackups") return s.Database.AutoBackups;
    if (key == "Visible") return s.Background.Show;
    if (key == "ToolBar1") return s.ToolbarVisible;
    if (key == "panelGoods") return s.GoodsPanel.Visible;
    qFatal("no flag %s", qPrintable(key));
    return false;
}

// Whether `part` appears in `whole` in the same order (other lines may lie between).
bool IsSubsequence(const QStringList &part, const QStringList &whole)
{
    int j = 0;
    for (const QString &line : whole)
        if (j < part.size() && line == part[j])
            ++j;
    return j == part.size();
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void defaultsWithoutFile();
    void flagRules_data();
    void flagRules();
    void integerKeyHoldingText_data();
    void integerKeyHoldingText();
    void roundOnText_data();
    void roundOnText();
    void namesInOtherLetterCase();
    void windows1250File();

    void iniEditsOnlyTheWrittenLines();
    void writersKeepUnknownContent_data();
    void writersKeepUnknownContent();
    void writeReadRoundTrip_data();
    void writeReadRoundTrip();
    void emptyBackgroundPathKeepsStoredPath();

    void saveColumnsAndPanels();
    void saveMainWindow_data();
    void saveMainWindow();

    void unwritableFileThrows_data();
    void unwritableFileThrows();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_path = m_dir->filePath("settings.ini");
}

void TestSettings::defaultsWithoutFile()
{
    const TSettings s = ReadFrom(m_path);

    QCOMPARE(s.MainForm.WindowState, QString());
    QCOMPARE(s.MainForm.Left, 260);
    QCOMPARE(s.MainForm.Top, 100);
    QCOMPARE(s.MainForm.Width, 660);
    QCOMPARE(s.MainForm.Height, 570);
    QCOMPARE(s.Currency, QStringLiteral("Kč"));
    QCOMPARE(s.VatRate, 19);
    QCOMPARE(s.DueDays, 30);
    QVERIFY(s.VatPayer);
    QVERIFY(!s.RemindControls);
    QCOMPARE(s.RemindDays, 14);
    QCOMPARE(s.RoundOn, 1.0);
    QCOMPARE(s.DefaultTextContract, 1);
    QVERIFY(s.ToolbarVisible);
    for (const TPanelState &p : {s.EventsPanel, s.RentsPanel, s.CustomersPanel, s.GoodsPanel}) {
        QVERIFY(p.Visible);
        QCOMPARE(p.Left, 10);
        QCOMPARE(p.Top, 100);
    }
    QVERIFY(s.PanelEvents);
    QVERIFY(s.Users.RequireLogin);
    QVERIFY(!s.Users.ViewLogScreen);
    QVERIFY(!s.Database.AutoBackups);
    QVERIFY(!s.Database.AutoDelBackups);
    QCOMPARE(s.Database.KeepBackups, 30);
    QVERIFY(s.Database.RefreshByEvent);
    QCOMPARE(s.Version, QStringLiteral("1.0"));
    QVERIFY(s.SendBugReport);
    QVERIFY(!s.Update.AutoCheckVersion);
    QVERIFY(!s.Background.Show);
    QVERIFY(s.Logo.Show);
    QCOMPARE(s.Language, QString());
    QCOMPARE(s.RentsColumns.View[32], QStringLiteral("True"));
    QCOMPARE(s.InvoicesColumns.Width[18], QStringLiteral("100"));

    // The record's own defaults are the same as those of a missing file.
    const QString other = m_dir->filePath("other.ini");
    QCOMPARE(StoredForm(TSettings(), other), StoredForm(s, m_path));

    // A path that cannot be read as a file behaves as a missing file.
    QCOMPARE(ReadFrom(m_dir->path()).Currency, QStringLiteral("Kč"));
}

void TestSettings::flagRules_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("field"); // name for Flag(); the key unless it is ambiguous
    QTest::addColumn<bool>("present");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    // Rule F: on unless exactly "False".
    QTest::newRow("F no") << "Application" << "AutoRun" << "AutoRun" << true << "no" << true;
    QTest::newRow("F False") << "Application" << "AutoRun" << "AutoRun" << true << "False" << false;
    QTest::newRow("F false") << "Application" << "PanelEvents" << "PanelEvents" << true << "false" << true;
    QTest::newRow("F empty") << "UsersSettings" << "RequireLogin" << "RequireLogin" << true << "" << true;
    QTest::newRow("F absent") << "UsersSettings" << "RequireLogin" << "RequireLogin" << false << "" << true;
    QTest::newRow("F 0") << "panelGoods" << "Visible" << "panelGoods" << true << "0" << true;
    QTest::newRow("F toolbar False") << "ToolBar1" << "Visible" << "ToolBar1" << true << "False" << false;
    QTest::newRow("F logo False") << "Logo" << "Use" << "Use" << true << "False" << false;
    // Rule F whose absent key counts as off.
    QTest::newRow("F update absent") << "Update" << "AutoCheckVersion" << "AutoCheckVersion" << false << "" << false;
    QTest::newRow("F update yes") << "Update" << "AutoCheckVersion" << "AutoCheckVersion" << true << "yes" << true;
    QTest::newRow("F proxy False") << "Update" << "ProxyUse" << "ProxyUse" << true << "False" << false;

    // Rule T: on only when exactly "True".
    QTest::newRow("T TRUE") << "UsersSettings" << "ViewLogScreen" << "ViewLogScreen" << true << "TRUE" << false;
    QTest::newRow("T True") << "UsersSettings" << "ViewLogScreen" << "ViewLogScreen" << true << "True" << true;
    QTest::newRow("T absent") << "UsersSettings" << "ViewLogScreen" << "ViewLogScreen" << false << "" << false;
    QTest::newRow("T backups true") << "Database" << "AutoBackups" << "AutoBackups" << true << "true" << false;
    QTest::newRow("T background True") << "Background" << "Visible" << "Visible" << true << "True" << true;
    QTest::newRow("T reminders absent") << "Others" << "RemindControlsUse" << "RemindControlsUse" << false << "" << false;
    // Rule T whose absent key counts as on.
    QTest::newRow("T vat absent") << "Others" << "PlatceDPH" << "PlatceDPH" << false << "" << true;
    QTest::newRow("T vat False") << "Others" << "PlatceDPH" << "PlatceDPH" << true << "False" << false;
    QTest::newRow("T vat yes") << "Others" << "PlatceDPH" << "PlatceDPH" << true << "yes" << false;
    QTest::newRow("bug report False") << "Others" << "SendBugReport" << "SendBugReport" << true << "False" << false;
    QTest::newRow("bug report false") << "Others" << "SendBugReport" << "SendBugReport" << true << "false" << false;
    QTest::newRow("bug report absent") << "Others" << "SendBugReport" << "SendBugReport" << false << "" << true;
    QTest::newRow("bug report True") << "Others" << "SendBugReport" << "SendBugReport" << true << "True" << true;
    QTest::newRow("bug report empty") << "Others" << "SendBugReport" << "SendBugReport" << true << "" << false;
}

void TestSettings::flagRules()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, field);
    QFETCH(bool, present);
    QFETCH(QString, text);
    QFETCH(bool, expected);

    QByteArray content = "[" + section.toUtf8() + "]\n";
    if (present)
        content += key.toUtf8() + "=" + text.toUtf8() + "\n";
    WriteFile(m_path, content);

    QCOMPARE(Flag(ReadFrom(m_path), field), expected);
}

void TestSettings::integerKeyHoldingText_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("VAT word") << "Others" << "DPH" << "abc" << 19;
    QTest::newRow("due empty") << "Others" << "DatumSplatnosti" << "" << 30;
    QTest::newRow("remind fraction") << "Others" << "RemindControls" << "1.5" << 14;
    QTest::newRow("main left unit") << "MainForm" << "Left" << "12px" << 260;
    QTest::newRow("main width hex") << "MainForm" << "Width" << "$20" << 660;
    QTest::newRow("panel top word") << "panelGoods" << "Top" << "x" << 100;
    QTest::newRow("contract minus") << "Others" << "DefaultTextContract" << "-" << 1;
    QTest::newRow("negative number") << "MainForm" << "Left" << "-5" << -5;
    QTest::newRow("number") << "Others" << "DPH" << "21" << 21;
}

void TestSettings::integerKeyHoldingText()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(int, expected);

    WriteFile(m_path, ("[" + section + "]\n" + key + "=" + text + "\n").toUtf8());
    const TSettings s = ReadFrom(m_path);
    const QHash<QString, int> values = {
        {"DPH", s.VatRate}, {"DatumSplatnosti", s.DueDays}, {"RemindControls", s.RemindDays},
        {"Left", s.MainForm.Left}, {"Width", s.MainForm.Width}, {"Top", s.GoodsPanel.Top},
        {"DefaultTextContract", s.DefaultTextContract}};
    QCOMPARE(values.value(key), expected);
}

void TestSettings::roundOnText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("point") << "0.5" << 0.5;
    QTest::newRow("comma") << "0,5" << 0.5;
    QTest::newRow("whole") << "100" << 100.0;
    QTest::newRow("word") << "abc" << 1.0;
    QTest::newRow("empty") << "" << 1.0;
    QTest::newRow("zero") << "0" << 1.0;
    QTest::newRow("negative") << "-2" << 1.0;
}

void TestSettings::roundOnText()
{
    QFETCH(QString, text);
    QFETCH(double, expected);

    WriteFile(m_path, ("[Application]\nRoundOn=" + text + "\n").toUtf8());
    QCOMPARE(ReadFrom(m_path).RoundOn, expected);
}

void TestSettings::namesInOtherLetterCase()
{
    WriteFile(m_path, "[others]\nplatcedph=False\ndph=21\n[PRICETYPE]\ncurrency=EUR\n"
                      "[application]\nAUTORUN=False\n[mainform]\nwindowstate=wsMaximized\n");
    TSettings s = ReadFrom(m_path);
    QVERIFY(!s.VatPayer);
    QCOMPARE(s.VatRate, 21);
    QCOMPARE(s.Currency, QStringLiteral("EUR"));
    QVERIFY(!s.AutoRun);
    QCOMPARE(s.MainForm.WindowState, QStringLiteral("wsMaximized"));

    // Writing replaces the existing lines instead of adding a second spelling.
    s.VatRate = 15;
    WriteSettingsFile(s, m_path);
    const TIniFile ini(m_path);
    const QStringList others = ini.ReadSection("Others");
    QCOMPARE(others.filter(QRegularExpression("^dph$", QRegularExpression::CaseInsensitiveOption)).size(), 1);
    QCOMPARE(others.filter(QRegularExpression("^platcedph$", QRegularExpression::CaseInsensitiveOption)).size(), 1);
    QCOMPARE(FileBytes(m_path).toLower().count("[others]"), 1);
    QCOMPARE(ReadFrom(m_path).VatRate, 15);
}

void TestSettings::windows1250File()
{
    QStringEncoder cp1250("windows-1250");
    QVERIFY(cp1250.isValid());
    WriteFile(m_path, cp1250(QStringLiteral("[PriceType]\nSazba1=") + Czech + "\n"));
    TSettings s = ReadFrom(m_path);
    QCOMPARE(s.Tariffs.Name1, Czech);

    // Written back as UTF-8 and still read the same.
    WriteSettingsFile(s, m_path);
    QVERIFY(FileBytes(m_path).contains(Czech.toUtf8()));
    QCOMPARE(ReadFrom(m_path).Tariffs.Name1, Czech);
}

void TestSettings::iniEditsOnlyTheWrittenLines()
{
    WriteFile(m_path, "[A]\nx=1\n; about B\n\n[B]\ny = 2\n");
    TIniFile ini(m_path);
    QCOMPARE(ini.ReadString("b", "Y", "def"), QStringLiteral(" 2"));
    QCOMPARE(ini.ReadSection("A"), QStringList{"x"});

    ini.WriteString("A", "z", "a=b;c");
    ini.WriteString("b", "Y", "5");
    ini.WriteString("C", "k", "v");
    ini.UpdateFile();
    QCOMPARE(FileBytes(m_path), QByteArray("[A]\nx=1\nz=a=b;c\n; about B\n\n[B]\ny =5\n\n[C]\nk=v\n"));
    QCOMPARE(TIniFile(m_path).ReadString("a", "Z", QString()), QStringLiteral("a=b;c"));
}

void TestSettings::writersKeepUnknownContent_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("lineEnd");

    QTest::newRow("WriteSettingsFile") << false << "\n";
    QTest::newRow("SaveSettingsFile") << true << "\n";
    QTest::newRow("WriteSettingsFile CRLF") << false << "\r\n";
    QTest::newRow("SaveSettingsFile CRLF") << true << "\r\n";
}

void TestSettings::writersKeepUnknownContent()
{
    QFETCH(bool, save);
    QFETCH(QString, lineEnd);

    const QStringList original = {
        "; settings of this workstation", "[Custom]", "Foo=bar", "",
        "[Others]", "# kept as it is", "Unknown= keep me ", "DPH=21", "",
        "[MainForm]", "Extra=1"};
    WriteFile(m_path, (original.join(lineEnd) + lineEnd).toUtf8());

    TSettings s;
    if (save)
        SaveSettingsFile(s, m_path);
    else
        WriteSettingsFile(s, m_path);

    const QString text = QString::fromUtf8(FileBytes(m_path));
    QStringList lines = text.split(lineEnd);
    QCOMPARE(lines.takeLast(), QString()); // the file ends with a line ending
    if (lineEnd == "\r\n")
        QVERIFY(!text.contains(QRegularExpression("[^\\r]\\n")));

    QStringList kept = original;
    if (!save)
        kept.replace(kept.indexOf("DPH=21"), "DPH=19");
    QVERIFY2(IsSubsequence(kept, lines), qPrintable(text));
    QCOMPARE(lines.first(), original.first());

    const TIniFile ini(m_path);
    QCOMPARE(ini.ReadString("Custom", "Foo", QString()), QStringLiteral("bar"));
    QCOMPARE(ini.ReadString("Others", "Unknown", QString()), QStringLiteral(" keep me "));
    QCOMPARE(ini.ReadString("MainForm", "Extra", QString()), QStringLiteral("1"));
}

void TestSettings::writeReadRoundTrip_data()
{
    QTest::addColumn<bool>("on");
    QTest::newRow("flags on") << true;
    QTest::newRow("flags off") << false;
}

void TestSettings::writeReadRoundTrip()
{
    QFETCH(bool, on);
    const QString tricky = QStringLiteral(" a=b; c # d ");

    TSettings s;
    s.AutoRun = on;
    s.PanelEvents = on;
    s.Version = "2.3." + Czech;
    s.Messages = on ? 42 : -1;
    s.Language = "english.ini";
    s.RoundOn = on ? 0.1 : 1.0 / 3.0;
    s.SendBugReport = on;
    s.DefaultTextContract = 7;
    s.RemindControls = on;
    s.RemindDays = 3;
    s.VatPayer = on;
    s.VatRate = 21;
    s.DueDays = 14;
    s.Tariffs = {Czech, tricky, "den"};
    s.Currency = "€";
    s.Logo = {"/obr/logo " + Czech + ".png", on, on, on};
    s.Users.AutoLoginName = Czech;
    s.Users.AutoLoginId = 5;
    s.Users.ViewLogScreen = on;
    s.Users.RequireLogin = on;
    s.Database.Path = "server:/data/" + Czech + "/";
    s.Database.Kind = "Remote";
    s.Database.AutoBackups = on;
    s.Database.AutoDelBackups = on;
    s.Background.Path = "/obr/pozadí.jpg";
    s.Background.Show = on;
    s.Background.Stretch = on;
    s.Update = {on, on, on, tricky, 8080};

    WriteSettingsFile(s, m_path);
    const TSettings r = ReadFrom(m_path);

    QCOMPARE(r.AutoRun, on);
    QCOMPARE(r.PanelEvents, on);
    QCOMPARE(r.Version, s.Version);
    QCOMPARE(r.Messages, s.Messages);
    QCOMPARE(r.Language, s.Language);
    QVERIFY(r.RoundOn == s.RoundOn); // exactly, not within a tolerance
    QCOMPARE(r.SendBugReport, on);
    QCOMPARE(r.DefaultTextContract, 7);
    QCOMPARE(r.RemindControls, on);
    QCOMPARE(r.RemindDays, 3);
    QCOMPARE(r.VatPayer, on);
    QCOMPARE(r.VatRate, 21);
    QCOMPARE(r.DueDays, 14);
    QCOMPARE(r.Tariffs.Name1, Czech);
    QCOMPARE(r.Tariffs.Name2, tricky);
    QCOMPARE(r.Tariffs.Name3, QStringLiteral("den"));
    QCOMPARE(r.Currency, QStringLiteral("€"));
    QCOMPARE(r.Logo.Path, s.Logo.Path);
    QCOMPARE(r.Logo.Show, on);
    QCOMPARE(r.Logo.Stretch, on);
    QCOMPARE(r.Logo.Center, on);
    QCOMPARE(r.Users.AutoLoginName, Czech);
    QCOMPARE(r.Users.AutoLoginId, 5);
    QCOMPARE(r.Users.ViewLogScreen, on);
    QCOMPARE(r.Users.RequireLogin, on);
    QCOMPARE(r.Database.Path, s.Database.Path);
    QCOMPARE(r.Database.Kind, s.Database.Kind);
    QCOMPARE(r.Database.AutoBackups, on);
    QCOMPARE(r.Database.AutoDelBackups, on);
    QCOMPARE(r.Background.Path, s.Background.Path);
    QCOMPARE(r.Background.Show, on);
    QCOMPARE(r.Background.Stretch, on);
    QCOMPARE(r.Update.AutoCheckVersion, on);
    QCOMPARE(r.Update.AutoDownloadMessages, on);
    QCOMPARE(r.Update.ProxyUse, on);
    QCOMPARE(r.Update.ProxyName, tricky);
    QCOMPARE(r.Update.ProxyPort, 8080);

    // Stored as UTF-8 text, flags as "True"/"False", the VAT flag under its written spelling.
    const QByteArray bytes = FileBytes(m_path);
    QVERIFY(bytes.contains(Czech.toUtf8()));
    QVERIFY(bytes.contains(on ? "platceDPH=True" : "platceDPH=False"));
    QCOMPARE(TIniFile(m_path).ReadSection("Application"),
             (QStringList{"AutoRun", "PanelEvents", "Version", "Messages", "language", "RoundOn"}));
}

void TestSettings::emptyBackgroundPathKeepsStoredPath()
{
    WriteFile(m_path, "[Background]\nCesta=/obr/old.jpg\n");
    TSettings s;
    WriteSettingsFile(s, m_path);
    QCOMPARE(ReadFrom(m_path).Background.Path, QStringLiteral("/obr/old.jpg"));

    QFile::remove(m_path);
    WriteSettingsFile(s, m_path);
    QVERIFY(!TIniFile(m_path).ValueExists("Background", "Cesta"));
}

void TestSettings::saveColumnsAndPanels()
{
    WriteFile(m_path, "[CustomersColumnHeight]\nTyp=55\n[RentsColumnHeight]\nVystavil=66\n");

    TSettings s = ReadFrom(m_path);
    s.CustomersColumns.Width[0] = "123";
    s.CustomersColumns.View[1] = "False";
    s.CustomersColumns.Width[1] = "999"; // not stored while hidden
    s.GoodsColumns.Width[16] = "77";
    s.RentsColumns.View[31] = "False";
    s.RentsColumns.View[32] = "False";
    s.InvoicesColumns.Width[18] = "44";
    s.GoodsPanel = {false, 300, 50};
    s.RentsPanel = {true, 1, 2};
    s.CustomersPanel = {false, 3, 4};
    s.EventsPanel = {false, 5, 6};
    s.ToolbarVisible = false;
    s.RemindDays = 9;
    s.Currency = "EUR"; // not a key of this writer
    SaveSettingsFile(s, m_path);

    const TSettings r = ReadFrom(m_path);
    QCOMPARE(r.CustomersColumns.View[0], QStringLiteral("True"));
    QCOMPARE(r.CustomersColumns.Width[0], QStringLiteral("123"));
    QCOMPARE(r.CustomersColumns.View[1], QStringLiteral("False"));
    QCOMPARE(r.CustomersColumns.Width[1], QStringLiteral("55"));
    QCOMPARE(r.GoodsColumns.Width[16], QStringLiteral("77"));
    QCOMPARE(r.RentsColumns.View[30], QStringLiteral("True"));
    QCOMPARE(r.RentsColumns.View[31], QStringLiteral("False"));
    QCOMPARE(r.RentsColumns.View[32], QStringLiteral("False"));
    QCOMPARE(r.RentsColumns.Width[31], QStringLiteral("66"));
    QCOMPARE(r.InvoicesColumns.Width[18], QStringLiteral("44"));
    QCOMPARE(r.GoodsPanel.Visible, false);
    QCOMPARE(r.GoodsPanel.Left, 300);
    QCOMPARE(r.GoodsPanel.Top, 50);
    QCOMPARE(r.RentsPanel.Left, 1);
    QCOMPARE(r.CustomersPanel.Top, 4);
    QCOMPARE(r.EventsPanel.Visible, false);
    QCOMPARE(r.EventsPanel.Left, 5);
    QCOMPARE(r.ToolbarVisible, false);
    QCOMPARE(r.RemindDays, 9);
    QCOMPARE(r.Currency, QStringLiteral("Kč"));

    const TIniFile ini(m_path);
    QVERIFY(!ini.ValueExists("RentsColumnHeight", "Editoval"));
    QCOMPARE(ini.ReadSection("CustomersColumnView"), CustomersColumnKeys);
    QCOMPARE(ini.ReadSection("GoodsColumnView"), GoodsColumnKeys);
    QCOMPARE(ini.ReadSection("RentsColumnView"), RentsColumnKeys);
    QCOMPARE(ini.ReadSection("InvoicesColumnHeight"), InvoicesColumnKeys);
    QVERIFY(!ini.SectionExists("InvoicesColumnView"));
}

void TestSettings::saveMainWindow_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<QString>("storedState");
    QTest::addColumn<QList<int>>("storedGeometry"); // Left, Top, Height, Width

    const QList<int> written = {11, 22, 33, 44};
    const QList<int> unchanged = {1, 2, 3, 4};
    QTest::newRow("normal") << "wsNormal" << "wsNormal" << written;
    QTest::newRow("empty means normal") << "" << "wsNormal" << written;
    QTest::newRow("maximised") << "wsMaximized" << "wsMaximized" << unchanged;
    QTest::newRow("minimised") << "wsMinimized" << "old" << unchanged;
}

void TestSettings::saveMainWindow()
{
    QFETCH(QString, state);
    QFETCH(QString, storedState);
    QFETCH(QList<int>, storedGeometry);

    WriteFile(m_path, "[MainForm]\nWindowState=old\nLeft=1\nTop=2\nHeight=3\nWidth=4\n");
    TSettings s;
    s.MainForm = {state, 11, 22, 33, 44};
    SaveSettingsFile(s, m_path);

    const TWindowPlacement p = ReadFrom(m_path).MainForm;
    QCOMPARE(p.WindowState, storedState);
    QCOMPARE((QList<int>{p.Left, p.Top, p.Height, p.Width}), storedGeometry);
}

void TestSettings::unwritableFileThrows_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("save");

    QTest::newRow("path is a directory, write") << "directory" << false;
    QTest::newRow("path is a directory, save") << "directory" << true;
    QTest::newRow("no parent directory, write") << "noparent" << false;
    QTest::newRow("no parent directory, save") << "noparent" << true;
    QTest::newRow("read-only directory, write") << "readonly" << false;
}

void TestSettings::unwritableFileThrows()
{
    QFETCH(QString, kind);
    QFETCH(bool, save);

    QString path;
    QString readOnlyDir;
    if (kind == "directory") {
        path = m_path;
        QVERIFY(QDir().mkpath(path));
    } else if (kind == "noparent") {
        path = m_dir->filePath("missing/settings.ini");
    } else {
        readOnlyDir = m_dir->filePath("ro");
        QVERIFY(QDir().mkpath(readOnlyDir));
        path = readOnlyDir + "/settings.ini";
        WriteFile(path, "[Others]\nDPH=21\n");
        QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(readOnlyDir + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.close();
            probe.remove();
            QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("this user may write into a read-only directory");
        }
    }

    TSettings s;
    bool thrown = false;
    try {
        if (save)
            SaveSettingsFile(s, path);
        else
            WriteSettingsFile(s, path);
    } catch (const ELormenError &e) {
        thrown = true;
        QVERIFY2(e.message().contains(path), qPrintable(e.message()));
    }
    if (!readOnlyDir.isEmpty()) {
        QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(FileBytes(path), QByteArray("[Others]\nDPH=21\n")); // left as it was
    }
    QVERIFY(thrown);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"

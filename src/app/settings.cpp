#include "app/settings.h"

#include "app/inifile.h"
#include "app/paths.h"

#include <QLocale>

#include <cmath>

const QStringList CustomersColumnKeys = {
    "PocetPujceni", "Typ", "Jmeno", "Firma", "Ico", "Dic", "FUlice", "FCislo", "FMesto", "FPsc",
    "RodneCislo", "CisloOP", "Tel1", "Tel2", "Tel3", "Email", "Web", "PujcPocet", "Vydelano", "Sleva"};

const QStringList GoodsColumnKeys = {
    "Pujceno", "Typ", "Stav", "Nazev", "PujcOd", "PujcDo", "Rezervace", "Kod1", "Kod2",
    "Cena1", "Cena2", "Cena3", "Zaloha", "PujcPocet", "Vydelano", "Kontrola1", "Kontrola2"};

const QStringList RentsColumnKeys = {
    "Cislo", "CisFakt", "VypujcOd", "VypujcDo", "CelkCena", "CelkZaloha", "Sleva", "ZasJmeno",
    "JmenoDB", "FirmaDB", "IcoDB", "DicDB", "Jmeno", "Firma", "Ico", "Dic",
    "Zbozi1", "Zbozi2", "Zbozi3", "Zbozi4", "Zbozi5", "Zbozi6", "Zbozi7", "Zbozi8",
    "Zbozi9", "Zbozi10", "Zbozi11", "Zbozi12", "Zbozi13", "Zbozi14", "Zbozi15",
    "Vystavil", "Editoval"};

const QStringList InvoicesColumnKeys = {
    "EvidCis", "CisVyp", "CenaSDph", "CenaBezDph", "Sleva", "DatumVys", "DatumUZP", "DatumSplat",
    "Nazev", "Jmeno", "Ico", "Dic", "Ulice", "Cislo", "Mesto", "Psc", "Forma", "Vystavil", "Editoval"};

TParamsColumn::TParamsColumn()
{
    View.fill(QStringLiteral("True"));
    Width.fill(QStringLiteral("100"));
}

QString SettingsFilePath()
{
    return ProgramFile(QStringLiteral("settings.ini"));
}

QString RoundOnText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

double RoundOnFromText(const QString &text)
{
    bool ok = false;
    const double value = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).trimmed().toDouble(&ok);
    // Prices are rounded to multiples of 1/RoundOn, so only a positive finite factor is usable.
    return ok && std::isfinite(value) && value > 0 ? value : 1.0;
}

TWindowPlacement ReadWindowPlacement(const TIniFile &ini, const QString &section)
{
    const TWindowPlacement def;
    TWindowPlacement p;
    p.WindowState = ini.ReadString(section, "WindowState", QString());
    p.Left = ini.ReadInteger(section, "Left", def.Left);
    p.Top = ini.ReadInteger(section, "Top", def.Top);
    p.Height = ini.ReadInteger(section, "Height", def.Height);
    p.Width = ini.ReadInteger(section, "Width", def.Width);
    return p;
}

void WriteWindowPlacement(TIniFile &ini, const QString &section, const TWindowPlacement &placement)
{
    if (placement.WindowState == QLatin1String("wsMinimized"))
        return; // the last normal or maximised state stays stored
    if (placement.WindowState == QLatin1String("wsMaximized")) {
        ini.WriteString(section, "WindowState", "wsMaximized");
        return;
    }
    ini.WriteString(section, "WindowState", "wsNormal");
    ini.WriteInteger(section, "Left", placement.Left);
    ini.WriteInteger(section, "Top", placement.Top);
    ini.WriteInteger(section, "Height", placement.Height);
    ini.WriteInteger(section, "Width", placement.Width);
}

namespace {

TPanelState ReadPanel(const TIniFile &ini, const QString &section)
{
    const TPanelState def;
    TPanelState p;
    p.Visible = ini.ReadBoolF(section, "Visible");
    p.Left = ini.ReadInteger(section, "Left", def.Left);
    p.Top = ini.ReadInteger(section, "Top", def.Top);
    return p;
}

void WritePanel(TIniFile &ini, const QString &section, const TPanelState &panel)
{
    ini.WriteBool(section, "Visible", panel.Visible);
    ini.WriteInteger(section, "Left", panel.Left);
    ini.WriteInteger(section, "Top", panel.Top);
}

// viewSection may be empty for a grid that stores widths only.
void ReadColumns(const TIniFile &ini, const QString &viewSection, const QString &widthSection,
                 const QStringList &keys, TParamsColumn &columns)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (!viewSection.isEmpty())
            columns.View[i] = ini.ReadString(viewSection, keys[i], "True");
        columns.Width[i] = ini.ReadString(widthSection, keys[i], "100");
    }
}

// A hidden column keeps the width stored when it was last shown.
void SaveColumns(TIniFile &ini, const QString &viewSection, const QString &widthSection,
                 const QStringList &keys, const TParamsColumn &columns)
{
    for (int i = 0; i < keys.size(); ++i) {
        if (columns.IsVisible(i)) {
            ini.WriteString(viewSection, keys[i], "True");
            ini.WriteString(widthSection, keys[i], columns.Width[i]);
        } else {
            ini.WriteString(viewSection, keys[i], "False");
        }
    }
}

} // namespace

void ReadSettingsFile(TSettings &s, const QString &path)
{
    const TIniFile ini(path);
    const TSettings def;

    s.MainForm = ReadWindowPlacement(ini, "MainForm");

    s.Language = ini.ReadString("Application", "language", QString());
    s.Messages = ini.ReadInteger("Application", "Messages", def.Messages);
    s.Version = ini.ReadString("Application", "Version", def.Version);
    s.AutoRun = ini.ReadBoolF("Application", "AutoRun");
    s.PanelEvents = ini.ReadBoolF("Application", "PanelEvents");
    s.RoundOn = RoundOnFromText(ini.ReadString("Application", "RoundOn", "1"));

    s.SendBugReport = ini.ReadBoolT("Others", "SendBugReport", true);
    s.VatRate = ini.ReadInteger("Others", "DPH", def.VatRate);
    s.DueDays = ini.ReadInteger("Others", "DatumSplatnosti", def.DueDays);
    s.VatPayer = ini.ReadBoolT("Others", "PlatceDPH", true);
    s.RemindDays = ini.ReadInteger("Others", "RemindControls", def.RemindDays);
    s.RemindControls = ini.ReadBoolT("Others", "RemindControlsUse");
    s.DefaultTextContract = ini.ReadInteger("Others", "DefaultTextContract", def.DefaultTextContract);

    s.Currency = ini.ReadString("PriceType", "CURRENCY", def.Currency);
    s.Tariffs.Name1 = ini.ReadString("PriceType", "Sazba1", QString());
    s.Tariffs.Name2 = ini.ReadString("PriceType", "Sazba2", QString());
    s.Tariffs.Name3 = ini.ReadString("PriceType", "Sazba3", QString());

    s.Update.AutoCheckVersion = ini.ReadBoolF("Update", "AutoCheckVersion", false);
    s.Update.AutoDownloadMessages = ini.ReadBoolF("Update", "AutoDownloadMessages", false);
    s.Update.ProxyUse = ini.ReadBoolF("Update", "ProxyUse", false);
    s.Update.ProxyName = ini.ReadString("Update", "ProxyName", QString());
    s.Update.ProxyPort = ini.ReadInteger("Update", "ProxyPort", def.Update.ProxyPort);

    s.Logo.Path = ini.ReadString("Logo", "Cesta", QString());
    s.Logo.Stretch = ini.ReadBoolF("Logo", "Stretch");
    s.Logo.Center = ini.ReadBoolF("Logo", "Center");
    s.Logo.Show = ini.ReadBoolF("Logo", "Use");

    s.Users.AutoLoginName = ini.ReadString("UsersSettings", "AutoLoginName", QString());
    s.Users.AutoLoginId = ini.ReadInteger("UsersSettings", "AutoLoginId", def.Users.AutoLoginId);
    s.Users.RequireLogin = ini.ReadBoolF("UsersSettings", "RequireLogin");
    s.Users.ViewLogScreen = ini.ReadBoolT("UsersSettings", "ViewLogScreen");

    s.ToolbarVisible = ini.ReadBoolF("ToolBar1", "Visible");
    s.EventsPanel = ReadPanel(ini, "panelEvents");
    s.RentsPanel = ReadPanel(ini, "panelRents");
    s.CustomersPanel = ReadPanel(ini, "panelCustomers");
    s.GoodsPanel = ReadPanel(ini, "panelGoods");

    s.Database.Path = ini.ReadString("Database", "Cesta", QString());
    s.Database.Kind = ini.ReadString("Database", "Typ", QString());
    s.Database.AutoBackups = ini.ReadBoolT("Database", "AutoBackups");
    s.Database.AutoDelBackups = ini.ReadBoolT("Database", "AutoDelBackups");
    // Set by hand for a server whose SYSDBA password is not the default one.
    s.Database.User = ini.ReadString("Database", "User", QString());
    if (s.Database.User.isEmpty())
        s.Database.User = Tdb().User;
    s.Database.Password = ini.ReadString("Database", "Password", QString());
    if (s.Database.Password.isEmpty())
        s.Database.Password = Tdb().Password;
    s.Database.KeepBackups = 30;
    s.Database.RefreshByEvent = true;

    s.Background.Path = ini.ReadString("Background", "Cesta", QString());
    s.Background.Stretch = ini.ReadBoolF("Background", "Stretch");
    s.Background.Show = ini.ReadBoolT("Background", "Visible");

    ReadColumns(ini, "CustomersColumnView", "CustomersColumnHeight", CustomersColumnKeys, s.CustomersColumns);
    ReadColumns(ini, "GoodsColumnView", "GoodsColumnHeight", GoodsColumnKeys, s.GoodsColumns);
    ReadColumns(ini, "RentsColumnView", "RentsColumnHeight", RentsColumnKeys, s.RentsColumns);
    ReadColumns(ini, QString(), "InvoicesColumnHeight", InvoicesColumnKeys, s.InvoicesColumns);
}

void WriteSettingsFile(const TSettings &s, const QString &path)
{
    TIniFile ini(path);

    ini.WriteBool("Application", "AutoRun", s.AutoRun);
    ini.WriteBool("Application", "PanelEvents", s.PanelEvents);
    ini.WriteString("Application", "Version", s.Version);
    ini.WriteInteger("Application", "Messages", s.Messages);
    ini.WriteString("Application", "language", s.Language);

    ini.WriteBool("Others", "SendBugReport", s.SendBugReport);

    ini.WriteString("PriceType", "Sazba1", s.Tariffs.Name1);
    ini.WriteString("PriceType", "Sazba2", s.Tariffs.Name2);
    ini.WriteString("PriceType", "Sazba3", s.Tariffs.Name3);

    ini.WriteString("Logo", "Cesta", s.Logo.Path);
    ini.WriteBool("Logo", "Use", s.Logo.Show);
    ini.WriteBool("Logo", "Stretch", s.Logo.Stretch);
    ini.WriteBool("Logo", "Center", s.Logo.Center);

    ini.WriteString("UsersSettings", "AutoLoginName", s.Users.AutoLoginName);
    ini.WriteInteger("UsersSettings", "AutoLoginId", s.Users.AutoLoginId);
    ini.WriteBool("UsersSettings", "ViewLogScreen", s.Users.ViewLogScreen);
    ini.WriteBool("UsersSettings", "RequireLogin", s.Users.RequireLogin);

    ini.WriteString("Database", "Cesta", s.Database.Path);
    ini.WriteString("Database", "Typ", s.Database.Kind);
    ini.WriteBool("Database", "AutoBackups", s.Database.AutoBackups);
    ini.WriteBool("Database", "AutoDelBackups", s.Database.AutoDelBackups);

    if (!s.Background.Path.isEmpty())
        ini.WriteString("Background", "Cesta", s.Background.Path);
    ini.WriteBool("Background", "Visible", s.Background.Show);
    ini.WriteBool("Background", "Stretch", s.Background.Stretch);

    ini.WriteInteger("Others", "DefaultTextContract", s.DefaultTextContract);

    ini.WriteBool("Update", "AutoCheckVersion", s.Update.AutoCheckVersion);
    ini.WriteBool("Update", "AutoDownloadMessages", s.Update.AutoDownloadMessages);
    ini.WriteBool("Update", "ProxyUse", s.Update.ProxyUse);
    ini.WriteString("Update", "ProxyName", s.Update.ProxyName);
    ini.WriteInteger("Update", "ProxyPort", s.Update.ProxyPort);

    ini.WriteBool("Others", "RemindControlsUse", s.RemindControls);
    ini.WriteInteger("Others", "RemindControls", s.RemindDays);

    ini.WriteBool("Application", "PanelEvents", s.PanelEvents);
    ini.WriteString("Application", "RoundOn", RoundOnText(s.RoundOn));

    ini.WriteBool("Others", "platceDPH", s.VatPayer);
    ini.WriteInteger("Others", "DPH", s.VatRate);
    ini.WriteInteger("Others", "DatumSplatnosti", s.DueDays);

    ini.WriteString("PriceType", "CURRENCY", s.Currency);

    ini.UpdateFile();
}

void SaveSettingsFile(const TSettings &s, TIniFile &ini)
{
    ini.WriteInteger("Others", "RemindControls", s.RemindDays);

    SaveColumns(ini, "CustomersColumnView", "CustomersColumnHeight", CustomersColumnKeys, s.CustomersColumns);
    SaveColumns(ini, "GoodsColumnView", "GoodsColumnHeight", GoodsColumnKeys, s.GoodsColumns);
    SaveColumns(ini, "RentsColumnView", "RentsColumnHeight", RentsColumnKeys, s.RentsColumns);
    for (int i = 0; i < InvoicesColumnKeys.size(); ++i)
        ini.WriteString("InvoicesColumnHeight", InvoicesColumnKeys[i], s.InvoicesColumns.Width[i]);

    WriteWindowPlacement(ini, "MainForm", s.MainForm);

    ini.WriteBool("ToolBar1", "Visible", s.ToolbarVisible);

    WritePanel(ini, "panelRents", s.RentsPanel);
    WritePanel(ini, "panelGoods", s.GoodsPanel);
    WritePanel(ini, "panelCustomers", s.CustomersPanel);
    WritePanel(ini, "panelEvents", s.EventsPanel);
}

void SaveSettingsFile(const TSettings &s, const QString &path)
{
    TIniFile ini(path);
    SaveSettingsFile(s, ini);
    ini.UpdateFile();
}

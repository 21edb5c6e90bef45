#pragma once
#include <QWidget>

class TIniFile;

// A small always-on-top tool window floating beside the main window (the filter panels
// and the events panel).
class TFloatingPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TFloatingPanel(QWidget *parent = nullptr);

    // Loads the panel's texts from the language file.
    virtual void Jazyk(const QString &languageFile) { Q_UNUSED(languageFile); }
    // Adds the panel's own filter settings to the settings file being saved.
    virtual void WriteChecks(TIniFile &ini) const { Q_UNUSED(ini); }
    // Whether the panel is showing.
    bool Showing() const { return isVisible(); }

signals:
    // The panel was closed, by the user or by the program.
    void Closed();

protected:
    void closeEvent(QCloseEvent *event) override;
};

#pragma once
// The note dialog: a one-line text of at most 256 characters, "Uložit" returns OK.
#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Tfrm_editText : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MaxLength = 256;

    explicit Tfrm_editText(QWidget *parent = nullptr);

    QGroupBox *grpPoznamka;
    QLabel *lblText;
    QLineEdit *editText;
    QPushButton *btnSave;
    QPushButton *btnStorno;

    // Texts of section "frmEditTextGoodRent" and the common button captions.
    void Jazyk(const QString &languageFile);

protected:
    void showEvent(QShowEvent *event) override;
};

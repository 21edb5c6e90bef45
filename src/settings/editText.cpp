#include "settings/editText.h"
#include "app/globalres.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_editText::Tfrm_editText(QWidget *parent)
    : QDialog(parent),
      grpPoznamka(new QGroupBox(QStringLiteral("Poznámka:"), this)),
      lblText(new QLabel(QStringLiteral("Text poznámky:"), grpPoznamka)),
      editText(new QLineEdit(grpPoznamka)),
      btnSave(new QPushButton(QStringLiteral("Uložit"), this)),
      btnStorno(new QPushButton(QStringLiteral("Storno"), this))
{
    setObjectName(QStringLiteral("frm_editText"));
    setWindowTitle(QStringLiteral("Poznámky...."));
    editText->setObjectName(QStringLiteral("editText"));
    editText->setMaxLength(MaxLength);
    editText->setMinimumWidth(420);
    lblText->setBuddy(editText);

    auto *group = new QVBoxLayout(grpPoznamka);
    group->addWidget(lblText);
    group->addWidget(editText);

    btnSave->setDefault(true);
    connect(btnSave, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnStorno, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnSave);
    buttons->addWidget(btnStorno);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpPoznamka);
    layout->addLayout(buttons);
}

void Tfrm_editText::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("frmEditTextGoodRent");
    setWindowTitle(file.Text(section, QStringLiteral("Caption")));
    grpPoznamka->setTitle(file.Text(section, QStringLiteral("Poznamky")));
    lblText->setText(file.Text(section, QStringLiteral("TextPoznamky")));
    btnSave->setText(file.Text(QStringLiteral("CommonStrings"), QStringLiteral("btnSave")));
    btnStorno->setText(file.Text(QStringLiteral("CommonStrings"), QStringLiteral("btnStorno")));
}

void Tfrm_editText::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Jazyk(Settings.Language);
    QDialog::showEvent(event);
}

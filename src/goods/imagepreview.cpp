#include "goods/imagepreview.h"
#include "app/globalres.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Tfrm_imagePreview::Tfrm_imagePreview(QWidget *parent)
    : QDialog(parent),
      grpFoto(new QGroupBox(QStringLiteral("Fotografie:"), this)),
      lblCestaPopis(new QLabel(QStringLiteral("Cesta:"), grpFoto)),
      lblCesta(new QLabel(QStringLiteral("-"), grpFoto)),
      grpNahled(new QGroupBox(QStringLiteral("Náhled:"), this)),
      imageZbozi(new QLabel(grpNahled)),
      btnStorno(new QPushButton(QStringLiteral("Storno"), this))
{
    setObjectName(QStringLiteral("frm_imagePreview"));
    setWindowTitle(QStringLiteral("Náhled fotografie"));
    lblCesta->setObjectName(QStringLiteral("lblCesta"));
    lblCesta->setTextInteractionFlags(Qt::TextSelectableByMouse);
    imageZbozi->setObjectName(QStringLiteral("imageZbozi"));
    imageZbozi->setAlignment(Qt::AlignCenter);
    imageZbozi->setMinimumSize(320, 240);
    imageZbozi->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);

    auto *path = new QHBoxLayout(grpFoto);
    path->addWidget(lblCestaPopis);
    path->addWidget(lblCesta, 1);
    auto *picture = new QVBoxLayout(grpNahled);
    picture->addWidget(imageZbozi);

    connect(btnStorno, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnStorno);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(grpFoto);
    layout->addWidget(grpNahled, 1);
    layout->addLayout(buttons);
    resize(560, 480);
}

bool Tfrm_imagePreview::NactiFoto(const QString &path)
{
    lblCesta->setText(path);
    m_picture = QPixmap(path);
    scalePicture();
    return !m_picture.isNull();
}

void Tfrm_imagePreview::scalePicture()
{
    if (m_picture.isNull()) {
        imageZbozi->clear();
        return;
    }
    imageZbozi->setPixmap(m_picture.scaled(imageZbozi->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void Tfrm_imagePreview::Jazyk(const QString &languageFile)
{
    const TLanguageFile file(languageFile);
    const QString section = QStringLiteral("frmFotoPreview");
    setWindowTitle(file.Text(section, QStringLiteral("Caption")));
    grpFoto->setTitle(file.Text(section, QStringLiteral("Foto")));
    lblCestaPopis->setText(file.Text(section, QStringLiteral("Cesta")));
    grpNahled->setTitle(file.Text(section, QStringLiteral("Nahled")));
    btnStorno->setText(file.Text(QStringLiteral("CommonStrings"), QStringLiteral("btnStorno")));
}

void Tfrm_imagePreview::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Jazyk(Settings.Language);
    QDialog::showEvent(event);
}

void Tfrm_imagePreview::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    scalePicture();
}

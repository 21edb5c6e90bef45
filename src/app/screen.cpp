#include "app/screen.h"

#include <QLabel>
#include <QPixmap>

Tfrm_screen::Tfrm_screen(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setFixedSize(424, 214);
    Image = new QLabel(this);
    Image->setGeometry(2, 2, 420, 210);
    Image->setPixmap(QPixmap(QStringLiteral(":/resources/splash.png")));
    Label = new QLabel(this);
    Label->setGeometry(8, 187, 400, 16);
    QFont small = Label->font();
    small.setPixelSize(11);
    Label->setFont(small);
    Label->setStyleSheet(QStringLiteral("color: white;"));
}

void Tfrm_screen::SetText(const QString &text)
{
    Label->setText(text);
    repaint();
}

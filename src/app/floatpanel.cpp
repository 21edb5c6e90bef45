#include "app/floatpanel.h"

#include <QCloseEvent>

TFloatingPanel::TFloatingPanel(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_QuitOnClose, false);
}

void TFloatingPanel::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit Closed();
}

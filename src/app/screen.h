#pragma once
#include <QWidget>

class QLabel;

// The start-up picture shown while the program gets ready.
class Tfrm_screen : public QWidget
{
    Q_OBJECT
public:
    explicit Tfrm_screen(QWidget *parent = nullptr);
    // Shows a one-line progress text and repaints at once.
    void SetText(const QString &text);

    QLabel *Image;
    QLabel *Label;
};

#pragma once
// The photograph preview: the path and the picture, scaled to fit and centred.
#include <QDialog>
#include <QPixmap>

class QGroupBox;
class QLabel;
class QPushButton;

class Tfrm_imagePreview : public QDialog
{
    Q_OBJECT
public:
    explicit Tfrm_imagePreview(QWidget *parent = nullptr);

    QGroupBox *grpFoto;
    QLabel *lblCestaPopis;
    QLabel *lblCesta;
    QGroupBox *grpNahled;
    QLabel *imageZbozi;
    QPushButton *btnStorno;

    // Shows the path and loads the picture from it; false when the file is no picture.
    bool NactiFoto(const QString &path);
    const QPixmap &Foto() const { return m_picture; }

    // Texts of section "frmFotoPreview" and the common "Storno".
    void Jazyk(const QString &languageFile);

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void scalePicture();
    QPixmap m_picture;
};

// The splash window shown while the program starts.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

class frmSplash : public QWidget
{
    Q_OBJECT
public:
    frmSplash();

    QFrame *fraMainFrame = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblLicenseTo = nullptr;
    QLabel *lblCopyright = nullptr;
    QLabel *lblWarning = nullptr;

private:
    void buildLayout();
    void Form_Load();
};

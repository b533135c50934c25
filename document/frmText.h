// The plain-text window.
#pragma once

#include "document/DocumentWindow.h"

class frmText : public DocumentWindow
{
    Q_OBJECT
public:
    explicit frmText(QWidget *parent = nullptr);

    void mnuViewUmbruch_Click();
    void mnuPopupViewUmbruch_Click();

protected:
    void Form_Load();
    void Form_Resize() override;
    Toolbar *ownToolbar() const override;
    bool print(QPrinter &printer, bool selection) override;
    QString fileTypeText() const override;

private:
    void txtText_SelChange();
    void switchWordWrap(QAction *item);
};

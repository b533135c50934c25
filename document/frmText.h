// The plain-text window.
#pragma once

#include "document/DocumentWindow.h"

class frmText : public DocumentWindow
{
    Q_OBJECT
public:
    explicit frmText(QWidget *parent = nullptr);

protected:
    void Form_Load();
    void Form_Resize() override;
    QToolBar *ownToolbar() const override;
};

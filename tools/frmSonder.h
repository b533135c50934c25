// The special-character list "Sonderzeichen einfügen": codes 128 to 255 of code page 1252;
// choosing an entry inserts its character into the active document.
#pragma once

#include "platform/Forms.h"
#include "tools/ToolWindow.h"

class QComboBox;
class QLabel;
class QListWidget;

class frmSonder : public ToolWindow
{
    Q_OBJECT
public:
    frmSonder();
    ~frmSonder() override;

    // Insert > special characters of the document windows: loads and shows the window, or
    // brings it forward while it is open.
    static void open();

    // The list entry of a code: the code, "  --  " and the character.
    static QString entryText(int code);

    QLabel *Label1 = nullptr;
    // Entry i stands for code i + 128.
    QListWidget *lstZeichen = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *comboSchrift = nullptr;

    void lstZeichen_Click();
    void comboSchrift_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void Form_Load();

    // Whether the press of the click under way changed the chosen entry, which inserted it.
    bool pressChoseEntry = false;
};

// The window's one instance.
FormInstance<frmSonder> &frmSonderForm();

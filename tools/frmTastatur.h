// The on-screen keyboard "Tastaturbelegung": a German keyboard of 48 character keys; clicking a
// key inserts its plain, shifted or third character into the active document.
#pragma once

#include "platform/Forms.h"
#include "tools/ToolWindow.h"

#include <array>

class QComboBox;
class QFrame;
class QLabel;

class frmTastatur : public ToolWindow
{
    Q_OBJECT
public:
    frmTastatur();
    ~frmTastatur() override;

    // View > keyboard of the document windows: loads and shows the window, or brings it
    // forward while it is open.
    static void open();

    static constexpr int keyCount = 48;
    // The code page 1252 code of a key's level (1 plain, 2 shifted, 3 third character); 0 when
    // the key has no character on that level.
    static int keyCode(int index, int level);
    // The key face: the key's characters in level order, separated by blanks.
    static QString keyCaption(int index);

    QLabel *lblSchrift = nullptr;
    QComboBox *comboSchrift = nullptr;
    QLabel *Label1 = nullptr;
    // Index 1 to 48; element 0 stays empty.
    std::array<QLabel *, keyCount + 1> Taste {};
    QLabel *Ruecktaste = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Eingabetaste = nullptr;
    QLabel *Feststelltaste = nullptr;
    QLabel *Shift1 = nullptr;
    QLabel *Shift2 = nullptr;
    QLabel *Strg1 = nullptr;
    QLabel *Alt = nullptr;
    QLabel *Leertaste = nullptr;
    QLabel *AltGr = nullptr;
    QLabel *Strg2 = nullptr;
    std::array<QFrame *, 6> Line {};

    // Button: 1 left, 2 right, 4 middle, summed when several are down. Shift: 1 Shift, 2 Ctrl,
    // 4 Alt.
    void Taste_MouseDown(int Index, int Button, int Shift, float X, float Y);
    void comboSchrift_Click();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void Form_Load();
};

// The window's one instance.
FormInstance<frmTastatur> &frmTastaturForm();

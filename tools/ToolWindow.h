// What the on-screen keyboard and the special-character list share: a window that stays on top
// of the main window beside the documents, is unloaded when closed, answers F1 with its help
// topic, keeps a font box of the screen fonts, and is wide enough for its caption.
#pragma once

#include <QWidget>

class QComboBox;

class ToolWindow : public QWidget
{
    Q_OBJECT
public:
    // Shows the window, or only brings it forward when it is already on show.
    void showAgain();

protected:
    ToolWindow(const QString &formName, const QString &caption, int helpContext);

    // Fills the box with the screen fonts, then selects the active selection's font; when the
    // list lacks that font (a font not installed) the family the system substitutes for it,
    // and the first font when there is none (mixed fonts). Selecting raises the box's change,
    // so the window draws in that font from the start.
    static void presetFontBox(QComboBox *box);
    // The window's width in pixels: the design width, or more where a window manager's frame
    // needs it to show the whole caption beside its icon and buttons.
    int widthForCaption(int designTwips) const;

    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int helpTopic;
};

// What both document windows share: the edit control, the path hand-over, the modified flag
// and the save question on closing, the mirrored menus, and the last-window clean-up.
#pragma once

#include "common/RecentFiles.h"
#include "document/DocumentMenus.h"

#include <QWidget>
#include <array>

class QAction;
class QMdiArea;
class QMenu;
class QMimeData;
class QPrinter;
class Toolbar;
class RichTextBox;

class DocumentWindow : public QWidget, public DocumentMenuItems
{
    Q_OBJECT
public:
    ~DocumentWindow() override;

    RichTextBox *txtText = nullptr;
    // The hidden print copy.
    RichTextBox *txtDruck = nullptr;

    // The modified flag: "", "T", "Geaendert" or "Gespeichert"; between loading a file and
    // Dateinamenuebertrag it carries the file's path.
    QString Tag;
    QString Dateiname;
    bool TastenkuerzelGedrueckt = false;

    QString Caption() const;
    void setCaption(const QString &caption);

    // Moves the path from Tag into Dateiname and clears the flag.
    void Dateinamenuebertrag();
    void mnuFileSave_Click();
    void mnuFilePrint_Click();

    // Whether closing asks to save.
    bool isModified() const;

    // The window's own menus, shown in the main window's menu bar while it is active.
    QList<QMenu *> menus() const;

    // The frame's window area the window stands in; null outside one.
    QMdiArea *frameArea() const;

    // Each time the window becomes the active child.
    virtual void Form_Activate();

    // Menu handlers; they live in DocumentWindowMenus.cpp.
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileEnd_Click();
    void mnuEdit_Click();
    void mnuPopup_Click();
    void mnuEditUndo_Click();
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditErase_Click();
    void mnuEditSearch_Click();
    void mnuEditChange_Click();
    void mnuEditHighlight_Click();
    void mnuPopupUndo_Click();
    void mnuPopupCut_Click();
    void mnuPopupCopy_Click();
    void mnuPopupPaste_Click();
    void mnuPopupErase_Click();
    void mnuEinfuegenDate_Click();
    void mnuEinfuegenTime_Click();
    void mnuEinfuegenSonder_Click();
    void mnuView_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuViewKeyboard_Click();
    void mnuViewBaustein_Click();
    void mnuViewTip_Click();
    void mnuViewWillkommen_Click();
    void mnuPopupViewToolbar_Click();
    void mnuPopupViewStatusBar_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowArrangeIcons_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpHelp_Click();
    void mnuHelpTip_Click();
    void mnuHelpAbout_Click();

protected:
    // How a window kind picks the file format and name when it saves.
    struct SaveRules
    {
        Qt::CaseSensitivity rtfTest; // how "rtf" at the name's end is compared
        QString extension; // appended to a name without one
        int filterIndex;
        bool warnBeforePlainText;
    };

    DocumentWindow(const QString &formName, const SaveRules &saveRules, QWidget *parent = nullptr);

    // Prints after the print dialog; selection tells what the user chose. False on failure.
    virtual bool print(QPrinter &printer, bool selection) = 0;
    // "RTF-Datei" or "Text-Datei" in the properties.
    virtual QString fileTypeText() const = 0;
    // The position panel and the clipboard buttons of the window's toolbar.
    void showPositionAndClipboard();

    // Connects the edit control's events; called once the window is set up, so that the
    // set-up itself does not count as a change.
    void watchEditControl();

    // Window size and text-block database: the part of the load both kinds share.
    void loadCommon();
    virtual void Form_Resize() = 0;
    // The toolbar this kind shows while active.
    virtual Toolbar *ownToolbar() const = 0;

    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // The text-block database the F3 look-up reads.
    QString textBlockDatabase;
    // Whether this window has told the user that the text blocks cannot be read.
    bool textBlocksReported = false;

    // Runs the Copy and Cut commands for their keys, and the Paste or Undo handler after the
    // edit control has carried out Ctrl+V or Ctrl+Z.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class DocumentMenus;

    void showPosition();
    // The state the Edit or context-menu item would get if its menu opened now: what the menus
    // show when they open, and what Copy and Cut act by, from their keys too.
    bool enabledNow(const QAction *item) const;
    void putSelectionOnClipboard();
    // The position panel waits for the layout behind a large paste.
    bool positionWaits = false;

    void txtText_KeyDown(int keyCode, int shift);
    void txtText_KeyPress(int keyAscii);
    void txtText_Change();
    void txtText_MouseDown(int button);
    void selectSentence();
    void expandTextBlock();
    bool isRichTextName(const QString &path) const;
    // Both return whether the document was written.
    bool save();
    bool mnuFileSaveAs_Click();
    bool writeFile(const QString &path, bool richText);
    void mnuFilePrintSetup_Click();
    void mnuFileProperties_Click();
    void afterSave();
    // Pastes the clipboard's plain text, else (rich-text window) its RTF.
    void paste(const QMimeData &data);
    void switchToolbar(QAction *item);
    void switchStatusBar(QAction *item);
    // The help commands on the program's help file; contents and search test its path first.
    void runHelp(int command, bool needsHelpFile);
    void arrangeWindows(int arrangement);
    void closeWindow();
    // Returns true when the closing is cancelled.
    bool Form_QueryUnload();
    void Form_Unload();
    void Form_MouseMove();
    void mnuFileMRU_Click(int index);

    SaveRules rules;
    const DocumentMenus::Kind *menuKind = nullptr;
    bool unloaded = false;
};

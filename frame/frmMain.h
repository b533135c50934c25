// The main window: the frame that holds every document window, its menus, toolbars, font
// boxes and status bar, and the commands that make document windows.
#pragma once

#include "document/DocumentHost.h"
#include "text/RichTextBox.h"

#include <QMainWindow>

class ToolButton;
class Toolbar;
class OuterGeometry;
class QMdiArea;
class QMdiSubWindow;
class QMenu;

class frmMain : public QMainWindow, public DocumentHost
{
    Q_OBJECT
public:
    frmMain();
    ~frmMain() override;

    void MDIForm_Load();

    // Which dialog the start opens: the tip of the day, the start dialog, or neither.
    enum class StartDialog { None, Tip, Startup };
    static StartDialog startDialog();

    DocumentWindow *ActiveForm() const override;
    void LoadNewText() override;
    void LoadNewDoc() override;
    void OpenDoc() override;
    void mnuFileMRU_Click(int index) override;
    void mnuFileNew_Click() override;
    void mnuFileExit_Click() override;
    void showRecentFiles(DocumentWindow *window) override;

    // Also the Help button of every toolbar.
    void mnuHelpContents_Click();

    QMdiArea *mdiArea() const { return area; }

    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileExit = nullptr;
    QMenu *mnuExtras = nullptr;
    QAction *mnuExtrasBausteinReparieren = nullptr;
    QAction *mnuExtrasVorlageReparieren = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuViewBar1 = nullptr;
    QAction *mnuViewTip = nullptr;
    QAction *mnuViewWillkommen = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpContents = nullptr;
    QAction *mnuHelpSearch = nullptr;
    QAction *mnuHelpBar1 = nullptr;
    QAction *mnuHelpHelp = nullptr;
    QAction *mnuHelpBar2 = nullptr;
    QAction *mnuHelpTip = nullptr;
    QAction *mnuHelpBar3 = nullptr;
    QAction *mnuHelpAbout = nullptr;

    void tbNichts_ButtonClick(ToolButton *button);
    void tbRTF_ButtonClick(ToolButton *button);
    void tbText_ButtonClick(ToolButton *button);
    void comboSchrift_Click();
    void ComboGroesse_Click();
    // Returns false to drop the character.
    bool ComboGroesse_KeyPress(int keyAscii);
    void ComboGroesse_KeyDown(int keyCode);
    void timeClipboard_Timer();

    int TextCounter = 0;
    int DocumentCounter = 0;

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildWindowKeys();
    void buildToolbars();
    void buildFontBoxes();
    void toolbarButtonClick(Toolbar *bar, ToolButton *button);
    // Each runs the command of a button key, and is false for a key that is not its own.
    bool frameCommand(const QString &key);
    bool windowCommand(DocumentWindow *window, const QString &key);
    void toggleCharacter(ToolButton *button);
    void setAlignment(ToolButton *button);
    // Shows the selection's font size in the size box again.
    void restoreSizeBox();
    void focusText();
    void noteClipboardFormats();
    void buildStatusBar();
    void restorePosition();
    void savePosition();

    void MDIForm_Activate();
    void MDIForm_Resize();
    void MDIForm_MouseMove();
    void MDIForm_Unload();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();

    void buildExtrasMenu();
    void mnuExtras_Click();
    void mnuExtrasBausteinReparieren_Click();
    void mnuExtrasVorlageReparieren_Click();

    void buildViewSwitches();
    void buildHelpMenu();
    void mnuView_Click();
    void mnuViewTip_Click();
    void mnuViewWillkommen_Click();
    void mnuHelpSearch_Click();
    void mnuHelpHelp_Click();
    void mnuHelpTip_Click();
    void mnuHelpAbout_Click();
    // The help file with a help command; the focus goes back to the active document.
    void runHelp(int command);
    void sbStatusBar_MouseMove();
    // Step 8 of the load: the tip of the day or the start dialog, as the settings say.
    void showStartDialogs();

    void subWindowActivated(QMdiSubWindow *window);
    void showMenusOf(DocumentWindow *window);
    // Adds a document window as a child, shows it and makes it the active one.
    void showDocument(DocumentWindow *window);
    // A new window of the kind the name asks for, with the file loaded into it.
    RichTextBox::LoadResult openInNewWindow(const QString &path);
    // The critical message for a file the edit control could not read.
    void reportUnreadable(const QString &path, RichTextBox::LoadResult result);
    void takeFile(const QString &path);

    QMdiArea *area = nullptr;
    OuterGeometry *outerGeometry = nullptr;
    // What the clipboard holds, noted when it changes rather than asked every tick.
    bool clipboardHasText = false;
    bool clipboardHasRtf = false;
    DocumentWindow *lastActivated = nullptr;
};

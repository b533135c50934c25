// What the document windows and the tools use of the main window: the active document, the
// commands that make document windows, and the bars and menu items the windows mirror.
// The main window implements it; MainForm() reaches it from anywhere.
#pragma once

#include "common/RecentFiles.h"
#include "platform/CommonDialog.h"

#include <QTimer>
#include <array>

class DocumentWindow;
class QAction;
class QComboBox;
class StatusBar;
class Toolbar;

class DocumentHost
{
public:
    virtual ~DocumentHost();

    // The document window of the active sub-window, or none.
    virtual DocumentWindow *ActiveForm() const = 0;

    virtual void LoadNewText() = 0;
    virtual void LoadNewDoc() = 0;
    virtual void OpenDoc() = 0;
    virtual void mnuFileMRU_Click(int index) = 0;
    // The question whether the new document is rich text or plain text.
    virtual void mnuFileNew_Click() = 0;
    // Ends the program: closes every document window with its save question first.
    virtual void mnuFileExit_Click() = 0;

    // Copies the recent-file captions into the window and shows the items that hold a file,
    // here and in the main window.
    virtual void showRecentFiles(DocumentWindow *window) = 0;

    Toolbar *tbNichts = nullptr;
    Toolbar *tbRTF = nullptr;
    Toolbar *tbText = nullptr;
    QComboBox *comboSchrift = nullptr;
    QComboBox *ComboGroesse = nullptr;
    StatusBar *sbStatusBar = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    std::array<QAction *, RecentFiles::Count> mnuFileMRU {};
    QAction *mnuFileBar5 = nullptr;
    CommonDialog dlgCommonDialog;
    QTimer timeClipboard;
    RecentFiles recentFiles;
};

DocumentHost *MainForm();
void setMainForm(DocumentHost *host);

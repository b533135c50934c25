// The document windows' menus: the items both window kinds carry, and the builder that makes
// the menu bar and the context menu from one description per menu.
#pragma once

#include "common/RecentFiles.h"

#include <QList>
#include <array>

class DocumentWindow;
class QAction;
class QMdiArea;
class QMenu;

// The menu items of a document window, named as the handlers name them. An item the window's
// kind does not have stays null.
struct DocumentMenuItems
{
    QMenu *mnuFile = nullptr;
    QAction *mnuFileNew = nullptr;
    QAction *mnuFileOpen = nullptr;
    QAction *mnuFileClose = nullptr;
    QAction *mnuFileSave = nullptr;
    QAction *mnuFileSaveAs = nullptr;
    QAction *mnuFileProperties = nullptr;
    QAction *mnuFilePrint = nullptr;
    QAction *mnuFilePrintSetup = nullptr;
    std::array<QAction *, RecentFiles::Count> mnuFileMRU {};
    QAction *mnuFileBar5 = nullptr;
    QAction *mnuFileEnd = nullptr;

    QMenu *mnuEdit = nullptr;
    QAction *mnuEditUndo = nullptr;
    QAction *mnuEditCut = nullptr;
    QAction *mnuEditCopy = nullptr;
    QAction *mnuEditPaste = nullptr;
    QAction *mnuEditErase = nullptr;
    QAction *mnuEditSearch = nullptr;
    QAction *mnuEditChange = nullptr;
    QAction *mnuEditHighlight = nullptr;

    QMenu *mnuEinfuegen = nullptr;
    QAction *mnuEinfuegenDate = nullptr;
    QAction *mnuEinfuegenTime = nullptr;
    QAction *mnuEinfuegenSonder = nullptr;
    QAction *mnuEinfuegenImage = nullptr;

    QMenu *mnuFormat = nullptr;
    QAction *mnuFormatZeichen = nullptr;
    QAction *mnuFormatFarbe = nullptr;
    QAction *mnuFormatAbsatz = nullptr;
    QAction *mnuFormatTabs = nullptr;
    QAction *mnuFormatSeite = nullptr;
    QAction *mnuFormatFormatvorlage = nullptr;

    QMenu *mnuView = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QAction *mnuViewLineal = nullptr;
    QAction *mnuViewUmbruch = nullptr;
    QAction *mnuViewKeyboard = nullptr;
    QAction *mnuViewBaustein = nullptr;
    QAction *mnuViewTip = nullptr;
    QAction *mnuViewWillkommen = nullptr;

    QMenu *mnuWindow = nullptr;
    QAction *mnuWindowCascade = nullptr;
    QAction *mnuWindowTileVertical = nullptr;
    QAction *mnuWindowTileHorizontal = nullptr;
    QAction *mnuWindowArrangeIcons = nullptr;

    QMenu *mnuHelp = nullptr;
    QAction *mnuHelpContents = nullptr;
    QAction *mnuHelpSearch = nullptr;
    QAction *mnuHelpHelp = nullptr;
    QAction *mnuHelpTip = nullptr;
    QAction *mnuHelpAbout = nullptr;

    QMenu *mnuPopup = nullptr;
    QAction *mnuPopupUndo = nullptr;
    QAction *mnuPopupCut = nullptr;
    QAction *mnuPopupCopy = nullptr;
    QAction *mnuPopupPaste = nullptr;
    QAction *mnuPopupErase = nullptr;
    QMenu *mnuPopupView = nullptr;
    QAction *mnuPopupViewToolbar = nullptr;
    QAction *mnuPopupViewStatusBar = nullptr;
    QAction *mnuPopupViewLineal = nullptr;
    QAction *mnuPopupViewUmbruch = nullptr;
    QMenu *mnuPopupFormat = nullptr;
    QAction *mnuPopupFormatZeichen = nullptr;
    QAction *mnuPopupFormatFarbe = nullptr;
    QAction *mnuPopupFormatAbsatz = nullptr;
    QAction *mnuPopupFormatTabs = nullptr;
    QAction *mnuPopupFormatSeite = nullptr;
    QAction *mnuPopupFormatVorlage = nullptr;
};

class DocumentMenus
{
public:
    // What sets the two window kinds' menus apart besides the items each has.
    struct Kind
    {
        bool richText; // chooses the rows marked for one kind only
        bool rtfClipboard; // Copy and Cut put RTF on the clipboard, and Paste takes RTF too
    };
    static const Kind RichText;
    static const Kind PlainText;

    // Builds the window's menus and context menu; the window's kind must be complete.
    static void build(DocumentWindow &window, const Kind &kind);

    // The menu-bar menus in their order.
    static QList<QMenu *> barMenus(const DocumentWindow &window);

    // The help context number an item or a menu carries, 0 for none.
    static int helpContext(const QAction *item);

    // Arranges the frame's windows: 0 cascade, 1 one above the other, 2 side by side,
    // 3 the minimised windows in a row along the bottom.
    static void Arrange(QMdiArea *area, int arrangement);
};

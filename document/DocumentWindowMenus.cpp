// The handlers of the menu items both window kinds have; saving, printing and the file's
// properties live with the save rules in DocumentWindow.cpp.
#include "document/DocumentWindow.h"

#include "document/DocumentHost.h"
#include "document/DocumentTools.h"
#include "platform/Help.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocument>
#include <algorithm>
#include <initializer_list>

namespace {

// A paste is one undo step, and may take a while: the hourglass shows meanwhile.
template<class Edit>
void pasteAsOneStep(RichTextBox *box, Edit edit)
{
    const int pointer = Screen::MousePointer();
    Screen::setMousePointer(Screen::vbHourglass);
    {
        const RichTextBox::UndoStep step(box);
        edit();
    }
    Screen::setMousePointer(pointer);
}

struct ClipboardOffer
{
    bool text = false;
    bool rtf = false;
};

ClipboardOffer clipboardOffer()
{
    ClipboardOffer offer;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return offer;
    offer.text = data->hasText();
    for (const QString &format : ClipboardFormats::rtfFormats())
        offer.rtf = offer.rtf || data->hasFormat(format);
    return offer;
}

} // namespace

void DocumentWindow::mnuFileNew_Click()
{
    MainForm()->mnuFileNew_Click();
}

void DocumentWindow::mnuFileOpen_Click()
{
    MainForm()->OpenDoc();
}

void DocumentWindow::mnuFileClose_Click()
{
    closeWindow();
}

void DocumentWindow::mnuFileEnd_Click()
{
    MainForm()->mnuFileExit_Click();
}

bool DocumentWindow::enabledNow(const QAction *item) const
{
    const auto among = [item](std::initializer_list<const QAction *> items) {
        return std::find(items.begin(), items.end(), item) != items.end();
    };
    if (among({mnuEditUndo, mnuPopupUndo}))
        return txtText->canUndo();
    if (among({mnuEditPaste, mnuPopupPaste})) {
        const ClipboardOffer offer = clipboardOffer();
        return offer.text || (menuKind->rtfClipboard && offer.rtf);
    }
    const bool text = !txtText->document()->isEmpty();
    if (item == mnuEditHighlight)
        return text;
    if (among({mnuEditSearch, mnuEditChange}))
        return text && documentTools().frmSearch;
    // Cut, Copy and Erase of either menu.
    return txtText->SelLength() != 0;
}

void DocumentWindow::mnuEdit_Click()
{
    for (QAction *item : {mnuEditUndo, mnuEditCut, mnuEditCopy, mnuEditPaste, mnuEditErase,
                          mnuEditSearch, mnuEditChange, mnuEditHighlight})
        item->setEnabled(enabledNow(item));
}

void DocumentWindow::mnuPopup_Click()
{
    for (QAction *item : {mnuPopupUndo, mnuPopupCut, mnuPopupCopy, mnuPopupPaste, mnuPopupErase})
        item->setEnabled(enabledNow(item));
}

// Copy and Cut act on the selection the user sees, whichever way they are run: with nothing
// selected the clipboard keeps what it holds.
void DocumentWindow::mnuEditCopy_Click()
{
    if (enabledNow(mnuEditCopy))
        putSelectionOnClipboard();
    txtText->setFocus();
}

void DocumentWindow::mnuEditCut_Click()
{
    if (enabledNow(mnuEditCut)) {
        putSelectionOnClipboard();
        mnuEditErase_Click();
    }
    txtText->setFocus();
}

void DocumentWindow::putSelectionOnClipboard()
{
    auto *data = new QMimeData;
    if (menuKind->rtfClipboard) {
        data->setData(ClipboardFormats::rtf(), txtText->SelRTF().toLatin1());
    } else {
        data->setText(ClipboardFormats::plainText(txtText->SelText()));
    }
    QGuiApplication::clipboard()->setMimeData(data);
}

void DocumentWindow::mnuEditErase_Click()
{
    if (menuKind->rtfClipboard)
        txtText->setSelRTF(QString());
    else
        txtText->setSelText(QString());
    txtText->setFocus();
}

void DocumentWindow::mnuEditHighlight_Click()
{
    txtText->setSelStart(0);
    txtText->setSelLength(static_cast<int>(txtText->Text().size()));
    txtText->setFocus();
}

void DocumentWindow::mnuEditPaste_Click()
{
    // A clipboard that cannot be read, or rich text that is not RTF, pastes nothing.
    if (!TastenkuerzelGedrueckt) {
        if (const QMimeData *data = QGuiApplication::clipboard()->mimeData())
            pasteAsOneStep(txtText, [&] { paste(*data); });
    }
    TastenkuerzelGedrueckt = false;
    txtText->setFocus();
}

void DocumentWindow::paste(const QMimeData &data)
{
    if (data.hasText()) {
        txtText->setSelText(data.text());
        return;
    }
    if (!menuKind->rtfClipboard)
        return;
    if (const QByteArray rtf = ClipboardFormats::rtfData(data); !rtf.isEmpty())
        txtText->setSelRTF(QString::fromLatin1(rtf));
}

void DocumentWindow::mnuEditUndo_Click()
{
    if (!TastenkuerzelGedrueckt)
        txtText->undo();
    TastenkuerzelGedrueckt = false;
    txtText->setFocus();
}

void DocumentWindow::mnuEditSearch_Click()
{
    if (documentTools().frmSearch)
        documentTools().frmSearch(1);
}

void DocumentWindow::mnuEditChange_Click()
{
    if (documentTools().frmSearch)
        documentTools().frmSearch(2);
}

void DocumentWindow::mnuPopupUndo_Click()
{
    mnuEditUndo_Click();
}

void DocumentWindow::mnuPopupCut_Click()
{
    mnuEditCut_Click();
}

void DocumentWindow::mnuPopupCopy_Click()
{
    mnuEditCopy_Click();
}

void DocumentWindow::mnuPopupPaste_Click()
{
    mnuEditPaste_Click();
}

void DocumentWindow::mnuPopupErase_Click()
{
    mnuEditErase_Click();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != txtText || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *press = static_cast<QKeyEvent *>(event);
    // Copy and Cut are the menu's alone (the control would put plain text beside the rich
    // text), their commands acting by the selection there is now, whatever the menu showed when
    // it last opened. The keys of the other Edit items the control carries out by the state
    // there is now as well.
    const std::pair<QKeySequence::StandardKey, void (DocumentWindow::*)()> menuKeys[]
        = {{QKeySequence::Copy, &DocumentWindow::mnuEditCopy_Click},
           {QKeySequence::Cut, &DocumentWindow::mnuEditCut_Click}};
    for (const auto &[keys, command] : menuKeys) {
        if (press->matches(keys)) {
            (this->*command)();
            return true;
        }
    }
    // The control carries out Ctrl+V and Ctrl+Z itself and keeps the menu's shortcut from
    // running; the item's handler runs after it, as the shortcut would, and only takes back
    // the note, so that a later Paste or Undo from the menu acts again.
    const int key = press->key();
    TastenkuerzelGedrueckt = false;
    if (key == Qt::Key_V && press->modifiers() == Qt::ControlModifier)
        pasteAsOneStep(txtText, [&] { static_cast<QObject *>(txtText)->event(event); });
    else
        static_cast<QObject *>(txtText)->event(event);
    if (TastenkuerzelGedrueckt) {
        if (key == Qt::Key_V)
            mnuEditPaste_Click();
        else
            mnuEditUndo_Click();
    }
    return true;
}

void DocumentWindow::mnuEinfuegenDate_Click()
{
    if (documentTools().frmDate)
        documentTools().frmDate(1);
}

void DocumentWindow::mnuEinfuegenTime_Click()
{
    if (documentTools().frmDate)
        documentTools().frmDate(2);
}

void DocumentWindow::mnuEinfuegenSonder_Click()
{
    if (documentTools().frmSonder)
        documentTools().frmSonder();
}

void DocumentWindow::mnuView_Click()
{
    mnuViewWillkommen->setChecked(GetSwitch(QStringLiteral("Startup")));
    mnuViewTip->setChecked(GetSwitch(QStringLiteral("Tip")));
}

void DocumentWindow::mnuViewToolbar_Click()
{
    switchToolbar(mnuViewToolbar);
}

void DocumentWindow::mnuPopupViewToolbar_Click()
{
    switchToolbar(mnuPopupViewToolbar);
}

void DocumentWindow::switchToolbar(QAction *item)
{
    const bool show = !item->isChecked();
    ownToolbar()->setVisible(show);
    mnuViewToolbar->setChecked(show);
    mnuPopupViewToolbar->setChecked(show);
    MainForm()->mnuViewToolbar->setChecked(show);
}

void DocumentWindow::mnuViewStatusBar_Click()
{
    switchStatusBar(mnuViewStatusBar);
}

void DocumentWindow::mnuPopupViewStatusBar_Click()
{
    switchStatusBar(mnuPopupViewStatusBar);
}

void DocumentWindow::switchStatusBar(QAction *item)
{
    const bool show = !item->isChecked();
    DocumentHost *host = MainForm();
    host->sbStatusBar->setVisible(show);
    mnuViewStatusBar->setChecked(show);
    mnuPopupViewStatusBar->setChecked(show);
    host->mnuViewStatusBar->setChecked(show);
}

void DocumentWindow::mnuViewKeyboard_Click()
{
    if (documentTools().frmTastatur)
        documentTools().frmTastatur();
}

void DocumentWindow::mnuViewBaustein_Click()
{
    if (documentTools().frmBaustein)
        documentTools().frmBaustein();
}

void DocumentWindow::mnuViewTip_Click()
{
    const bool show = !mnuViewTip->isChecked();
    mnuViewTip->setChecked(show);
    SaveSwitch(QStringLiteral("Tip"), show);
}

void DocumentWindow::mnuViewWillkommen_Click()
{
    const bool show = !mnuViewWillkommen->isChecked();
    mnuViewWillkommen->setChecked(show);
    SaveSwitch(QStringLiteral("Startup"), show);
}

void DocumentWindow::arrangeWindows(int arrangement)
{
    DocumentMenus::Arrange(frameArea(), arrangement);
}

void DocumentWindow::mnuWindowCascade_Click()
{
    arrangeWindows(0);
}

void DocumentWindow::mnuWindowTileVertical_Click()
{
    arrangeWindows(2);
}

void DocumentWindow::mnuWindowTileHorizontal_Click()
{
    arrangeWindows(1);
}

void DocumentWindow::mnuWindowArrangeIcons_Click()
{
    arrangeWindows(3);
}

void DocumentWindow::runHelp(int command, bool needsHelpFile)
{
    const QString file = Help::helpFile();
    if (needsHelpFile && file.isEmpty()) {
        MsgBox(Help::noHelpFileText(), vbInformation, Caption());
        return;
    }
    // The help engine reports a file it cannot read itself.
    WinHelp(this, file, command);
}

void DocumentWindow::mnuHelpContents_Click()
{
    runHelp(HELP_CONTENTS, true);
}

void DocumentWindow::mnuHelpSearch_Click()
{
    runHelp(HELP_PARTIALKEY, true);
}

void DocumentWindow::mnuHelpHelp_Click()
{
    runHelp(HELP_HELPONHELP, false);
}

void DocumentWindow::mnuHelpTip_Click()
{
    if (documentTools().frmTip)
        documentTools().frmTip();
}

void DocumentWindow::mnuHelpAbout_Click()
{
    if (documentTools().frmAbout)
        documentTools().frmAbout();
}

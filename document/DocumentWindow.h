// What both document windows share: the edit control, the path hand-over, the modified flag
// and the save question on closing, the mirrored menus, and the last-window clean-up.
#pragma once

#include "common/RecentFiles.h"

#include <QWidget>
#include <array>

class QAction;
class QMenu;
class QPrinter;
class Toolbar;
class RichTextBox;

class DocumentWindow : public QWidget
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
    virtual QList<QMenu *> menus() const;

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
    QAction *mnuEditSearch = nullptr;
    QAction *mnuEditChange = nullptr;
    QMenu *mnuView = nullptr;
    QAction *mnuViewToolbar = nullptr;
    QAction *mnuViewStatusBar = nullptr;
    QMenu *mnuPopup = nullptr;
    QAction *mnuPopupViewToolbar = nullptr;
    QAction *mnuPopupViewStatusBar = nullptr;

    // Each time the window becomes the active child.
    virtual void Form_Activate();

    void mnuEditSearch_Click();
    void mnuEditChange_Click();

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

    // Prints after the print dialog; selection tells what the user chose.
    virtual void print(QPrinter &printer, bool selection) = 0;
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

    // Menus a window kind adds; the base deletes them with its own.
    void ownMenu(QMenu *menu);

    // The text-block database the F3 look-up reads.
    QString textBlockDatabase;
    // Whether this window has told the user that the text blocks cannot be read.
    bool textBlocksReported = false;

private:
    void buildMenus();
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
    void mnuViewToolbar_Click(QAction *item);
    void mnuViewStatusBar_Click(QAction *item);
    void closeWindow();
    // Returns true when the closing is cancelled.
    bool Form_QueryUnload();
    void Form_Unload();
    void Form_MouseMove();
    void mnuFileMRU_Click(int index);

    SaveRules rules;
    QList<QMenu *> ownMenus;
    bool unloaded = false;
};

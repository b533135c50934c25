// The dialogs and tools that a document window's menus open. They live above the document
// windows, so each fills in its own opener when the program starts.
#pragma once

#include <QList>
#include <functional>

class QWidget;

struct DocumentTools
{
    // tab: 1 search, 2 replace; modal
    std::function<void(int tab)> frmSearch;
    // tab: 1 font, 2 colour, 3 paragraph, 4 tabs, 5 page; modal
    std::function<void(int tab)> frmOptions;
    // tab: 1 date, 2 time; modal
    std::function<void(int tab)> frmDate;
    // The style-template manager, modal.
    std::function<void()> frmTemplate;
    // The text-block manager, modal.
    std::function<void()> frmBaustein;
    // The special characters, the on-screen keyboard and the picture browser, modeless; a
    // second call brings the open one forward.
    std::function<void()> frmSonder;
    std::function<void()> frmTastatur;
    std::function<void()> frmImage;
    // The tip of the day as a Help menu opens it (with the marker "Keinstart"), modal.
    std::function<void()> frmTip;
    // The about box without an owner, modal.
    std::function<void()> frmAbout;
    // The tool windows open beside the documents (the special characters and the on-screen
    // keyboard); they close with the last document window.
    std::function<QList<QWidget *>()> openToolWindows;
};

// The program's one set. A menu item whose opener is empty stays disabled.
DocumentTools &documentTools();

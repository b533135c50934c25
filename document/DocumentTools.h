// The dialogs and tools that a document window's menus open. They live above the document
// windows, so each fills in its own opener when the program starts.
#pragma once

#include <functional>

struct DocumentTools
{
    // tab: 1 search, 2 replace
    std::function<void(int tab)> frmSearch;
    // tab: 1 font, 2 colour, 3 paragraph, 4 tabs, 5 page
    std::function<void(int tab)> frmOptions;
};

// The program's one set; an opener left empty makes its menu item do nothing.
DocumentTools &documentTools();

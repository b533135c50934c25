// The one main window, as the document windows and tools see it.
#include "document/DocumentHost.h"

namespace {
DocumentHost *&mainForm()
{
    static DocumentHost *host = nullptr;
    return host;
}
} // namespace

DocumentHost::~DocumentHost()
{
    if (mainForm() == this)
        mainForm() = nullptr;
}

DocumentHost *MainForm()
{
    return mainForm();
}

void setMainForm(DocumentHost *host)
{
    mainForm() = host;
}

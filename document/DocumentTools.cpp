// The program's openers of dialogs and tools.
#include "document/DocumentTools.h"

DocumentTools &documentTools()
{
    static DocumentTools tools;
    return tools;
}

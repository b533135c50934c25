// RichTextBox: selection properties, files and notifications on QTextEdit.
#include "platform/RichTextBox.h"

// The plain-text window: the edit control fills the window, measured in twips.
#include "document/frmText.h"

#include "document/DocumentHost.h"
#include "platform/RichTextBox.h"

#include <QFont>

frmText::frmText(QWidget *parent)
    : DocumentWindow(QStringLiteral("frmText"),
                     {Qt::CaseSensitive, QStringLiteral(".txt"), 2, false}, parent)
{
    txtText->setScale(RichTextBox::Scale::Twips);
    txtText->setFont(QFont(QStringLiteral("Courier New"), 10));
    Form_Load();
    watchEditControl();
}

void frmText::Form_Load()
{
    loadCommon();
    Form_Resize();
}

void frmText::Form_Resize()
{
    txtText->setGeometry(0, 0, width(), height());
}

QToolBar *frmText::ownToolbar() const
{
    return MainForm()->tbText;
}

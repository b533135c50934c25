// The plain-text window: the edit control fills the window, measured in twips; and the
// word-wrap items of its own.
#include "document/frmText.h"

#include "document/DocumentHost.h"
#include "platform/Toolbar.h"
#include "text/RichTextBox.h"
#include "text/TextFormat.h"

#include <QAction>
#include <QFont>

frmText::frmText(QWidget *parent)
    : DocumentWindow(QStringLiteral("frmText"),
                     {Qt::CaseSensitive, QStringLiteral(".txt"), 2, false}, parent)
{
    txtText->setScale(RichTextBox::Scale::Twips);
    txtText->setFont(QFont(QStringLiteral("Courier New"), 10));
    // A plain text takes no formatting, from its own paste or a drop alike.
    txtText->setAcceptRichText(false);
    DocumentMenus::build(*this, DocumentMenus::PlainText);
    Form_Load();
    watchEditControl();
    connect(txtText, &RichTextBox::SelChange, this, &frmText::txtText_SelChange);
}

void frmText::txtText_SelChange()
{
    showPositionAndClipboard();
}

bool frmText::print(QPrinter &printer, bool selection)
{
    if (selection)
        return txtText->SelPrint(printer);
    // All was chosen: print everything and give the user the selection back.
    const int start = txtText->SelStart();
    const int length = txtText->SelLength();
    txtText->setSelLength(0);
    const bool printed = txtText->SelPrint(printer);
    txtText->setSelStart(start);
    txtText->setSelLength(length);
    return printed;
}

QString frmText::fileTypeText() const
{
    return QStringLiteral("Text-Datei");
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

Toolbar *frmText::ownToolbar() const
{
    return MainForm()->tbText;
}

void frmText::mnuViewUmbruch_Click()
{
    switchWordWrap(mnuViewUmbruch);
}

void frmText::mnuPopupViewUmbruch_Click()
{
    switchWordWrap(mnuPopupViewUmbruch);
}

void frmText::switchWordWrap(QAction *item)
{
    const bool wrap = !item->isChecked();
    mnuViewUmbruch->setChecked(wrap);
    mnuPopupViewUmbruch->setChecked(wrap);
    // Without wrap the text is 3000 mm wide, which no line of text reaches.
    constexpr double noWrapMm = 3000;
    const bool twips = txtText->scale() == RichTextBox::Scale::Twips;
    txtText->setRightMargin(wrap ? 0 : noWrapMm * (twips ? TextFormat::twipsPerMm : 1));
}

// frmSonder: the list of the upper half of the code page, and the insertion on every change of
// the chosen entry, by mouse or by keyboard.
#include "tools/frmSonder.h"

#include "common/Cp1252.h"
#include "platform/HelpTopics.h"
#include "platform/Screen.h"
#include "tools/ActiveDocument.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QListWidget>

namespace {

constexpr int firstCode = 128;
constexpr int lastCode = 255;

} // namespace

frmSonder::frmSonder()
    : ToolWindow(QStringLiteral("frmSonder"), QStringLiteral("Sonderzeichen einfügen"),
                 HelpTopic::InsertSpecialCharacter)
{
    buildLayout();
    // A list box's Click: every change of the chosen entry, by mouse or keyboard, and a click
    // on the entry already chosen; not a change of the focus frame, which focusing the list
    // moves.
    lstZeichen->viewport()->installEventFilter(this);
    connect(lstZeichen, &QListWidget::itemSelectionChanged, this, [this] {
        pressChoseEntry = true;
        lstZeichen_Click();
    });
    connect(lstZeichen, &QListWidget::clicked, this, [this] {
        if (!pressChoseEntry)
            lstZeichen_Click();
    });
    connect(comboSchrift, &QComboBox::currentIndexChanged, this, &frmSonder::comboSchrift_Click);
    Form_Load();
}

frmSonder::~frmSonder() = default;

QString frmSonder::entryText(int code)
{
    return QString::number(code) + QStringLiteral("  --  ") + Cp1252::Chr(code);
}

void frmSonder::buildLayout()
{
    const int width = widthForCaption(3840);
    setFixedSize(width, Screen::pixelsFromTwipsY(4680));
    // The controls fill the width between margins of 120 twips.
    const int margin = Screen::pixelsFromTwipsX(120);
    const auto across = [width, margin](QWidget *control, int top, int height) {
        const QRect design = Screen::twipsRect(120, top, 3600, height);
        control->setGeometry(margin, design.y(), width - 2 * margin, design.height());
    };
    Label1 = new QLabel(QStringLiteral("Wählen Sie das gewünschte Sonderzeichen aus!"), this);
    across(Label1, 120, 492);
    Label1->setWordWrap(true);
    lstZeichen = new QListWidget(this);
    lstZeichen->setObjectName(QStringLiteral("lstZeichen"));
    lstZeichen->setSelectionMode(QAbstractItemView::SingleSelection);
    lstZeichen->setFont(QFont(QStringLiteral("Arial"), 10));
    across(lstZeichen, 660, 2940);
    Label2 = new QLabel(QStringLiteral("Verfügbare &Schriftarten:"), this);
    across(Label2, 3720, 252);
    comboSchrift = new QComboBox(this);
    comboSchrift->setObjectName(QStringLiteral("comboSchrift"));
    across(comboSchrift, 4020, 315);
    Label2->setBuddy(comboSchrift);
}

void frmSonder::Form_Load()
{
    Screen::centre(this, Screen::twipsFromPixelsX(width()), Screen::twipsFromPixelsY(height()));
    for (int code = firstCode; code <= lastCode; ++code)
        lstZeichen->addItem(entryText(code));
    presetFontBox(comboSchrift);
}

void frmSonder::lstZeichen_Click()
{
    const QList<QListWidgetItem *> chosen = lstZeichen->selectedItems();
    if (!chosen.isEmpty())
        ActiveDocument::insertText(Cp1252::Chr(lstZeichen->row(chosen.first()) + firstCode));
}

bool frmSonder::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstZeichen->viewport()
        && (event->type() == QEvent::MouseButtonPress
            || event->type() == QEvent::MouseButtonDblClick))
        pressChoseEntry = false;
    return ToolWindow::eventFilter(watched, event);
}

void frmSonder::comboSchrift_Click()
{
    QFont font = lstZeichen->font();
    font.setFamilies({comboSchrift->itemText(comboSchrift->currentIndex())});
    lstZeichen->setFont(font);
}

FormInstance<frmSonder> &frmSonderForm()
{
    static FormInstance<frmSonder> form;
    return form;
}

void frmSonder::open()
{
    frmSonderForm().get().showAgain();
}

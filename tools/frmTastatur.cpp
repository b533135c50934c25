// frmTastatur: the key table, the picture of the keyboard in twips, and the key presses.
#include "tools/frmTastatur.h"

#include "common/Cp1252.h"
#include "platform/CaptionFit.h"
#include "platform/ControlMouse.h"
#include "platform/HelpTopics.h"
#include "platform/Screen.h"
#include "tools/ActiveDocument.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

namespace {

const QColor lightGrey(192, 192, 192);

// Codes of the three levels of keys 1 to 48; 0 is no character.
constexpr int keys[frmTastatur::keyCount][3] = {
    {94, 176, 0},  {49, 33, 0},   {50, 34, 178},  {51, 167, 179}, {52, 36, 0},   {53, 37, 0},
    {54, 38, 0},   {55, 47, 123}, {56, 40, 91},   {57, 41, 93},   {48, 61, 125}, {223, 63, 92},
    {180, 96, 0},  {113, 81, 64}, {119, 87, 0},   {101, 69, 128}, {114, 82, 0},  {116, 84, 0},
    {122, 90, 0},  {117, 85, 0},  {105, 73, 0},   {111, 79, 0},   {112, 80, 0},  {252, 220, 0},
    {43, 42, 126}, {97, 65, 0},   {115, 83, 0},   {100, 68, 0},   {102, 70, 0},  {103, 71, 0},
    {104, 72, 0},  {106, 74, 0},  {107, 75, 0},   {108, 76, 0},   {246, 214, 0}, {228, 196, 0},
    {35, 39, 0},   {60, 62, 124}, {121, 89, 0},   {120, 88, 0},   {99, 67, 0},   {118, 86, 0},
    {98, 66, 0},   {110, 78, 0},  {109, 77, 181}, {44, 59, 0},    {46, 58, 0},   {45, 95, 0},
};

// The rows: first key, top and left of the first key, in twips.
struct Row
{
    int first;
    int top;
    int left;
};
constexpr Row rows[] = {{1, 720, 120}, {14, 1320, 960}, {26, 1920, 1080}, {38, 2520, 720}};
constexpr int keySize = 492;
constexpr int keyPitch = 600;

// The key faces' font; a face whose characters are wider than the key gets a smaller one.
QFont designFont()
{
    return QFont(QStringLiteral("Arial"), 8);
}

QLabel *face(const QString &caption, QWidget *parent, const QRect &place)
{
    auto *label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAutoFillBackground(true);
    label->setGeometry(place);
    return label;
}

// A grey face that only completes the picture.
QLabel *decoration(const QString &name, const QString &caption, QWidget *parent, int left, int top,
                   int width, int height)
{
    QLabel *label = face(caption, parent, Screen::twipsRect(left, top, width, height));
    label->setObjectName(name);
    CaptionFit::fitLabel(label, designFont());
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, lightGrey);
    label->setPalette(colours);
    return label;
}

} // namespace

frmTastatur::frmTastatur()
    : ToolWindow(QStringLiteral("frmTastatur"), QStringLiteral("Tastaturbelegung"),
                 HelpTopic::ViewKeyboard)
{
    buildLayout();
    connect(comboSchrift, &QComboBox::currentIndexChanged, this, &frmTastatur::comboSchrift_Click);
    Form_Load();
}

frmTastatur::~frmTastatur() = default;

int frmTastatur::keyCode(int index, int level)
{
    if (index < 1 || index > keyCount || level < 1 || level > 3)
        return 0;
    return keys[index - 1][level - 1];
}

QString frmTastatur::keyCaption(int index)
{
    QStringList characters;
    for (int level = 1; level <= 3; ++level) {
        if (const int code = keyCode(index, level))
            characters.append(Cp1252::Chr(code));
    }
    return characters.join(u' ');
}

void frmTastatur::buildLayout()
{
    setFixedSize(Screen::pixelsFromTwipsX(8892), Screen::pixelsFromTwipsY(3792));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, lightGrey);
    setPalette(background);

    // The dividing lines lie under the keys.
    const QRect lines[]
        = {Screen::twipsRect(60, 660, 8772, 15),  Screen::twipsRect(60, 3672, 8772, 15),
           Screen::twipsRect(60, 660, 15, 3027),  Screen::twipsRect(8817, 660, 15, 3027),
           Screen::twipsRect(60, 1260, 8772, 15), Screen::twipsRect(60, 3060, 8772, 15)};
    for (size_t i = 0; i < Line.size(); ++i) {
        Line[i] = new QFrame(this);
        Line[i]->setObjectName(QStringLiteral("Line%1").arg(i + 1));
        Line[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
        Line[i]->setGeometry(lines[i]);
    }

    lblSchrift = new QLabel(QStringLiteral("Verfügbare &Schriftarten:"), this);
    lblSchrift->setGeometry(Screen::twipsRect(120, 180, 2160, 252));
    comboSchrift = new QComboBox(this);
    comboSchrift->setObjectName(QStringLiteral("comboSchrift"));
    comboSchrift->setGeometry(Screen::twipsRect(2280, 120, 2400, 315));
    lblSchrift->setBuddy(comboSchrift);
    CaptionFit::fitLabel(lblSchrift, font());
    Label1 = new QLabel(QStringLiteral("Klick links = Kleinbuchstabe; Shift + Klick links = "
                                       "Großbuchstabe; Klick rechts = drittes Zeichen (ggf.)"),
                        this);
    Label1->setGeometry(Screen::twipsRect(4800, 60, 3972, 600));
    Label1->setWordWrap(true);
    QFont bold = font();
    bold.setBold(true);
    CaptionFit::fitLabel(Label1, bold);

    const QFont design = designFont();
    QPalette keyColours = palette();
    keyColours.setColor(QPalette::Window, keyColours.color(QPalette::Base));
    keyColours.setColor(QPalette::WindowText, keyColours.color(QPalette::Text));
    for (size_t r = 0; r < std::size(rows); ++r) {
        const int last = r + 1 < std::size(rows) ? rows[r + 1].first - 1 : keyCount;
        for (int index = rows[r].first; index <= last; ++index) {
            const int left = rows[r].left + (index - rows[r].first) * keyPitch;
            QLabel *key = face(keyCaption(index), this,
                               Screen::twipsRect(left, rows[r].top, keySize, keySize));
            key->setObjectName(QStringLiteral("Taste%1").arg(index));
            key->setProperty("Index", index);
            CaptionFit::fitLabel(key, design);
            key->setPalette(keyColours);
            key->installEventFilter(this);
            Taste[index] = key;
        }
    }

    Ruecktaste = decoration(QStringLiteral("Ruecktaste"), QStringLiteral("<---"), this, 7920, 720,
                            852, 492);
    Label2 = decoration(QStringLiteral("Label2"), QStringLiteral("|<--  -->|"), this, 120, 1320,
                        732, 492);
    Eingabetaste = decoration(QStringLiteral("Eingabetaste"), QStringLiteral("<--|"), this, 8280,
                              1800, 492, 612);
    Feststelltaste = decoration(QStringLiteral("Feststelltaste"), QStringLiteral("Feststell"), this,
                                120, 1920, 852, 492);
    Shift1
        = decoration(QStringLiteral("Shift1"), QStringLiteral("Shift"), this, 120, 2520, 492, 492);
    Shift2 = decoration(QStringLiteral("Shift2"), QStringLiteral("Shift"), this, 7320, 2520, 1452,
                        492);
    Strg1 = decoration(QStringLiteral("Strg1"), QStringLiteral("Strg"), this, 120, 3120, 612, 492);
    Alt = decoration(QStringLiteral("Alt"), QStringLiteral("Alt"), this, 1440, 3120, 732, 492);
    Leertaste = decoration(QStringLiteral("Leertaste"), QStringLiteral("Leer"), this, 2280, 3120,
                           4212, 492);
    AltGr
        = decoration(QStringLiteral("AltGr"), QStringLiteral("AltGr"), this, 6600, 3120, 732, 492);
    Strg2 = decoration(QStringLiteral("Strg2"), QStringLiteral("Strg"), this, 8160, 3120, 612, 492);
}

void frmTastatur::Form_Load()
{
    Screen::centre(this, Screen::twipsFromPixelsX(width()), Screen::twipsFromPixelsY(height()));
    presetFontBox(comboSchrift);
}

void frmTastatur::comboSchrift_Click()
{
    QFont font = designFont();
    font.setFamilies({comboSchrift->itemText(comboSchrift->currentIndex())});
    for (int index = 1; index <= keyCount; ++index)
        CaptionFit::fitLabel(Taste[index], font);
}

void frmTastatur::Taste_MouseDown(int Index, int Button, int Shift, float, float)
{
    int level = 0;
    if (Button == ControlMouse::vbLeftButton && Shift == 0)
        level = 1;
    else if (Button == ControlMouse::vbLeftButton && Shift == ControlMouse::vbShiftMask)
        level = 2;
    else if (Button == ControlMouse::vbRightButton)
        level = 3;
    if (const int code = keyCode(Index, level))
        ActiveDocument::insertText(Cp1252::Chr(code));
}

bool frmTastatur::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const int index = watched->property("Index").toInt();
        if (index >= 1 && index <= keyCount && watched == Taste[index]) {
            const auto *press = static_cast<QMouseEvent *>(event);
            const QPointF at = press->position();
            Taste_MouseDown(index, ControlMouse::buttonsCode(press->buttons()),
                            ControlMouse::shiftCode(press->modifiers()),
                            static_cast<float>(Screen::twipsFromPixelsX(qRound(at.x()))),
                            static_cast<float>(Screen::twipsFromPixelsY(qRound(at.y()))));
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

FormInstance<frmTastatur> &frmTastaturForm()
{
    static FormInstance<frmTastatur> form;
    return form;
}

void frmTastatur::open()
{
    frmTastaturForm().get().showAgain();
}

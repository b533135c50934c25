// The style-template manager: its browse bar over table Vorlagen, the thirteen attribute rows,
// the preview, and creating, deleting and applying templates.
#include "format/frmTemplate.h"

#include "common/Databases.h"
#include "common/JetLike.h"
#include "common/LeadingNumber.h"
#include "data/Database.h"
#include "format/OptionsControls.h"
#include "format/OptionsSupport.h"
#include "platform/CaptionFit.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "text/RichTextBox.h"

#include <QCheckBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <cmath>
#include <optional>
#include <type_traits>

using namespace OptionsSupport;

namespace {

// Design size of the window's client area, twips.
constexpr int formWidth = 6120;
constexpr int formHeight = 6036;
constexpr int maxNameLength = 50;

const char *const title = "Formatvorlagen-Verwaltung";
const char *const table = "Vorlagen";

QString dialogTitle()
{
    return QString::fromUtf8(title);
}

// Every row's field, in row order, and its caption without the access key.
struct Attribute
{
    const char *field;
    const char *caption;
    const char *plainCaption;
};

constexpr Attribute attributes[13] = {
    {"Fontname", "&Schriftart", "Schriftart"},
    {"Fontsize", "Schrift&größe", "Schriftgröße"},
    {"Bold", "&Fett", "Fett"},
    {"Italic", "&Kursiv", "Kursiv"},
    {"Underline", "&Unterstrichen", "Unterstrichen"},
    {"Strikethru", "&Durchgestrichen", "Durchgestrichen"},
    {"Charoffset", "&Vertikal versetzt um", "Vertikal versetzt um"},
    {"Color", "Schrift&farbe", "Schriftfarbe"},
    {"Alignment", "&Absatzausrichtung", "Absatzausrichtung"},
    {"Indent", "Einzug &links", "Einzug links"},
    {"Hangingindent", "&Erstzeileneinzug", "Erstzeileneinzug"},
    {"Rightindent", "Einzug &rechts", "Einzug rechts"},
    {"Bullet", "Auf&zählungszeichen", "Aufzählungszeichen"},
};

QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// VB's Trim: blanks only, not every kind of white space.
QString trimmedBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The first characters of a text, never splitting a character made of two code units.
QString firstCharacters(const QString &text, int count)
{
    if (text.size() <= count)
        return text;
    qsizetype cut = count;
    if (text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut);
}

// A number as plain decimal text: "15", "-5", "0", "2.5"; never "-0".
QString plainNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    value += 0.0;
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    QString text = QString::number(value, 'f', 10);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QColor colourOf(int bgr)
{
    return QColor(bgr & 0xFF, bgr >> 8 & 0xFF, bgr >> 16 & 0xFF);
}

// A whole 32-bit number, halves to even, as the original's conversion did; none when out of
// range.
std::optional<int> whole32(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return static_cast<int>(rounded);
}

// A selection value as it goes into the table: text as it is, numbers whole (halves to even),
// booleans as 0 or 1, Null (a mixed value) as an empty value that the table refuses.
template<class T>
QVariant stored(const std::optional<T> &value)
{
    if (!value)
        return QVariant();
    if constexpr (std::is_same_v<T, bool>)
        return QVariant(*value ? 1 : 0);
    else if constexpr (std::is_same_v<T, QString>)
        return QVariant(*value);
    else
        return QVariant(roundedToEven(double(*value)));
}

QLabel *boxLabel(QWidget *parent, bool rightAligned)
{
    auto *label = new QLabel(parent);
    label->setFrameStyle(QFrame::Box | QFrame::Plain);
    label->setAlignment((rightAligned ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return label;
}

QPushButton *pictureButton(QStyle::StandardPixmap picture, const char *toolTip, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setIcon(parent->style()->standardIcon(picture));
    button->setIconSize(QSize(Screen::pixelsFromTwipsX(360), Screen::pixelsFromTwipsY(360)));
    button->setToolTip(QString::fromUtf8(toolTip));
    // A button without a caption is read out by its tip.
    button->setAccessibleName(button->toolTip());
    // Enter belongs to the default button alone.
    button->setAutoDefault(false);
    return button;
}

} // namespace

FormInstance<frmTemplate> &frmTemplateForm()
{
    static FormInstance<frmTemplate> instance;
    return instance;
}

frmTemplate::frmTemplate()
{
    setObjectName(QStringLiteral("frmTemplate"));
    setWindowTitle(dialogTitle());
    Screen::setFixedDialog(this, formWidth, formHeight);
    // The twips layout is made for the classic 8 point dialog font.
    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    buildWindow();
    buildRows();
    buildButtons();
    Form_Load();
    if (loadSucceeded) {
        // When loading has finished, the data controls open their record sources.
        QString reason;
        loadSucceeded = Data1->Refresh(&reason);
        if (!loadSucceeded)
            MsgBox(QStringLiteral("Die Datenbank \"%1\" kann nicht geöffnet werden. %2")
                       .arg(nativePath(Data1->DatabaseName), reason),
                   vbCritical, dialogTitle());
    }
}

frmTemplate::~frmTemplate() = default;

void frmTemplate::ShowModal()
{
    frmTemplate &form = frmTemplateForm().get();
    if (form.loadedWell())
        Modal::showModal(&form);
    frmTemplateForm().unload();
}

void frmTemplate::buildWindow()
{
    Data1 = new DataControl(QStringLiteral("In den Formatvorlagen blättern..."), this);
    place(Data1, 120, 120, 5532, 324);
    Data1->RecordSource = QString::fromLatin1(table);
    Data1->Reposition = [this] { showCurrentRecord(); };
    Data2 = new DataControl(QString(), this);
    Data2->RecordSource = QString::fromLatin1(table);
    Data2->hide();

    lblFormatname = new QLabel(QStringLiteral("Formatvorlagen-Name:"), this);
    place(lblFormatname, 120, 600, 1932, 288);
    lblName = boxLabel(this, false);
    place(lblName, 2160, 600, 3492, 288);
    showName(QString());

    Label2 = new QLabel(QStringLiteral("Muster:"), this);
    place(Label2, 3720, 1680);
    pboxMuster = new QWidget(this);
    pboxMuster->setAutoFillBackground(true);
    QPalette white = pboxMuster->palette();
    white.setColor(QPalette::Window, Qt::white);
    pboxMuster->setPalette(white);
    place(pboxMuster, 3720, 1920, 1932, 1572);
    lblMuster = new QLabel(QStringLiteral("Beispiel"), pboxMuster);
    lblMuster->setAlignment(Qt::AlignCenter);
    lblMuster->setGeometry(pboxMuster->rect());
}

void frmTemplate::buildRows()
{
    QCheckBox **checks[13]
        = {&chkFontname,      &chkFontsize,    &chkBold,  &chkItalic,    &chkUnderline,
           &chkStrikethru,    &chkCharoffset,  &chkColor, &chkAlignment, &chkIndent,
           &chkHangingindent, &chkRightindent, &chkBullet};
    for (int row = 0; row < 13; ++row) {
        *checks[row] = new QCheckBox(QString::fromUtf8(attributes[row].caption), this);
        place(*checks[row], 120, 960 + 360 * row, 1932, 288);
        CaptionFit::fitButton(*checks[row], font());
    }

    const auto display = [this](int row, QWidget *control, int width) {
        place(control, 2160, 960 + 360 * row, width, 288);
    };
    const auto shownBit = [this, &display](int row) {
        auto *box = new QCheckBox(this);
        box->setEnabled(false);
        // No caption of its own: it is read out by its row's.
        box->setAccessibleName(QString::fromUtf8(attributes[row].plainCaption));
        display(row, box, 288);
        return box;
    };
    lblFontname = boxLabel(this, false);
    display(0, lblFontname, 3492);
    lblFontsize = boxLabel(this, true);
    display(1, lblFontsize, 1452);
    optBold = shownBit(2);
    optItalic = shownBit(3);
    optUnderline = shownBit(4);
    optStrikethru = shownBit(5);
    lblCharoffset = boxLabel(this, true);
    display(6, lblCharoffset, 1452);
    lblColor2 = new SwatchLabel(this);
    // No template, no colour: the swatch starts as the dialog's own face.
    lblColor2->setSystemBackColor();
    display(7, lblColor2, 1452);
    lblAlignment2 = boxLabel(this, false);
    display(8, lblAlignment2, 1452);
    lblIndent2 = boxLabel(this, true);
    display(9, lblIndent2, 1452);
    lblHangingindent2 = boxLabel(this, true);
    display(10, lblHangingindent2, 1452);
    lblRightindent = boxLabel(this, true);
    display(11, lblRightindent, 1452);
    optBullet = shownBit(12);

    // The raw values lie hidden under the displays they feed.
    QLabel **raw[4] = {&lblColor1, &lblAlignment1, &lblIndent1, &lblHangingindent1};
    const int rawRows[4] = {7, 8, 9, 10};
    for (int i = 0; i < 4; ++i) {
        *raw[i] = new QLabel(this);
        display(rawRows[i], *raw[i], 1452);
        (*raw[i])->hide();
        (*raw[i])->lower();
    }
}

void frmTemplate::buildButtons()
{
    cmdNeu = pictureButton(QStyle::SP_FileIcon, "Neue Formatvorlage definieren", this);
    place(cmdNeu, 4200, 4080, 612, 612);
    cmdLoeschen = pictureButton(QStyle::SP_TrashIcon, "Aktuelle Formatvorlage löschen", this);
    place(cmdLoeschen, 5040, 4080, 612, 612);
    cmdOK = pictureButton(QStyle::SP_DialogApplyButton, "Aktuelle Formatvorlage anwenden", this);
    place(cmdOK, 4200, 4920, 612, 612);
    cmdOK->setDefault(true);
    cmdAbbrechen = pictureButton(QStyle::SP_DialogCancelButton, "Abbrechen", this);
    place(cmdAbbrechen, 5040, 4920, 612, 612);
    connect(cmdNeu, &QPushButton::clicked, this, &frmTemplate::cmdNeu_Click);
    connect(cmdLoeschen, &QPushButton::clicked, this, &frmTemplate::cmdLoeschen_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTemplate::cmdOK_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmTemplate::cmdAbbrechen_Click);
}

std::array<QCheckBox *, 13> frmTemplate::checkBoxes() const
{
    return {chkFontname,      chkFontsize,    chkBold,  chkItalic,    chkUnderline,
            chkStrikethru,    chkCharoffset,  chkColor, chkAlignment, chkIndent,
            chkHangingindent, chkRightindent, chkBullet};
}

void frmTemplate::Form_Load()
{
    const Databases::File database = Databases::formatvorlagen();
    QString error;
    // Made when missing, under a temporary name: a failure leaves no file, and an existing
    // file is never touched.
    if (!Database::ensure(database, &error)) {
        MsgBox(error, vbCritical, dialogTitle());
        return;
    }
    Screen::centre(this, formWidth, formHeight);
    const RichTextBox *text = activeText();
    cmdNeu->setEnabled(text && text->SelLength() > 0);
    Data1->DatabaseName = Databases::formatvorlagen().path;
    Data2->DatabaseName = Data1->DatabaseName;
    loadSucceeded = true;
}

void frmTemplate::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!activated) {
        activated = true;
        Form_Activate();
    }
}

void frmTemplate::Form_Activate()
{
    const bool any = Data1->RecordCount() > 0;
    cmdLoeschen->setEnabled(any);
    cmdOK->setEnabled(any);
}

void frmTemplate::showCurrentRecord()
{
    const auto text = [this](const char *field) {
        return Data1->hasCurrent() ? Data1->field(QString::fromLatin1(field)).toString()
                                   : QString();
    };
    const auto bit = [this](const char *field) {
        return Data1->hasCurrent() && Data1->field(QString::fromLatin1(field)).toInt() != 0;
    };
    lblFontname->setText(text("Fontname"));
    lblFontsize->setText(text("Fontsize"));
    optBold->setChecked(bit("Bold"));
    optItalic->setChecked(bit("Italic"));
    optUnderline->setChecked(bit("Underline"));
    optStrikethru->setChecked(bit("Strikethru"));
    lblCharoffset->setText(text("Charoffset"));
    lblColor1->setText(text("Color"));
    lblAlignment1->setText(text("Alignment"));
    lblIndent1->setText(text("Indent"));
    lblHangingindent1->setText(text("Hangingindent"));
    lblRightindent->setText(text("Rightindent"));
    optBullet->setChecked(bit("Bullet"));
    // The name comes last: its change reads every other bound control.
    const QString name = text("Name");
    if (lblName->text() != name) {
        showName(name);
        lblName_Change();
    }
}

void frmTemplate::showName(const QString &name)
{
    lblName->setText(name);
    // A long name shows whole in a smaller type.
    QFont bold = font();
    bold.setBold(true);
    CaptionFit::fitLabel(lblName, bold);
}

void frmTemplate::lblName_Change()
{
    if (Data1->RecordCount() <= 0) {
        // The computed displays are no bound controls: emptied here, as the bound ones are.
        lblAlignment2->clear();
        lblIndent2->clear();
        lblHangingindent2->clear();
        lblColor2->setSystemBackColor();
        lblMuster->hide();
        cmdLoeschen->setEnabled(false);
        cmdOK->setEnabled(false);
        return;
    }
    const QString alignment = lblAlignment1->text();
    if (alignment == u"0")
        lblAlignment2->setText(QStringLiteral("linksbündig"));
    else if (alignment == u"1")
        lblAlignment2->setText(QStringLiteral("rechtsbündig"));
    else if (alignment == u"2")
        lblAlignment2->setText(QStringLiteral("zentriert"));

    // A number that does not fit skips this step, as the original's failed conversion did.
    if (const std::optional<int> colour = whole32(leadingNumber(lblColor1->text())))
        lblColor2->setBackColor(*colour);

    const double indent = leadingNumber(lblIndent1->text());
    const double hanging = leadingNumber(lblHangingindent1->text());
    lblIndent2->setText(plainNumber(indent + hanging));
    lblHangingindent2->setText(plainNumber(-hanging));

    lblMuster->show();
    QFont sample = lblMuster->font();
    sample.setBold(optBold->isChecked());
    sample.setItalic(optItalic->isChecked());
    sample.setFamily(lblFontname->text());
    const double size = leadingNumber(lblFontsize->text());
    if (size > 0 && size <= 2048)
        sample.setPointSizeF(size);
    sample.setStrikeOut(optStrikethru->isChecked());
    sample.setUnderline(optUnderline->isChecked());
    lblMuster->setFont(sample);
    QPalette palette = lblMuster->palette();
    palette.setColor(QPalette::WindowText, colourOf(lblColor2->BackColor()));
    lblMuster->setPalette(palette);

    for (QCheckBox *box : checkBoxes())
        box->setChecked(true);
    cmdLoeschen->setEnabled(true);
    cmdOK->setEnabled(true);
}

bool frmTemplate::nameTaken(const QString &name, bool *checked)
{
    QString reason;
    *checked = Data2->Refresh(&reason);
    if (!*checked) {
        MsgBox(QStringLiteral("Die Datenbank \"%1\" kann nicht gelesen werden. %2")
                   .arg(nativePath(Data2->DatabaseName), reason),
               vbCritical, dialogTitle());
        return false;
    }
    for (const QSqlRecord &row : Data2->records()) {
        const QString stored = row.value(0).toString();
        // The engine's LIKE, and the key's own rule: a name equal but for case is taken even
        // where its pattern characters would not match themselves ("#", "[").
        if (JetLike::matches(stored, name) || stored.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

void frmTemplate::cmdNeu_Click()
{
    QString name;
    for (;;) {
        const QString answer = InputBox(
            QStringLiteral(
                "Geben Sie bitte den Namen der neuen Formatvorlage ein, die aufgrund des "
                "markierten Textes erstellt werden soll. Der Name muß eindeutig sein "
                "und darf höchstens 50 Zeichen enthalten."),
            QStringLiteral("Neue Formatvorlage"));
        name = trimmedBlanks(firstCharacters(answer, maxNameLength));
        if (name.isEmpty())
            return;
        bool checked = false;
        const bool taken = nameTaken(name, &checked);
        if (!checked)
            return;
        if (!taken)
            break;
        MsgBox(QStringLiteral("Der von Ihnen eingegebene Name für die Formatvorlage ist bereits "
                              "vorhanden. Das ist nicht zulässig. Sie werden jetzt erneut "
                              "aufgefordert werden, einen NEUEN Namen einzugeben."),
               vbCritical | vbOKOnly, QStringLiteral("Fehler!"));
    }

    RichTextBox *text = activeText();
    if (!text)
        return;
    const bool mixed = !text->SelFontName() || !text->SelFontSize() || !text->SelBold()
        || !text->SelItalic() || !text->SelUnderline() || !text->SelStrikeThru()
        || !text->SelCharOffset() || !text->SelColor() || !text->SelAlignment()
        || !text->SelIndent() || !text->SelHangingIndent() || !text->SelRightIndent()
        || !text->SelBullet();
    if (mixed)
        text->setSelLength(1);

    // Each value from a fresh look at the active document.
    const auto doc = [] { return activeText(); };
    const auto read = [&](auto member) {
        RichTextBox *current = doc();
        return current ? stored((current->*member)()) : QVariant();
    };
    const std::optional<int> colour = doc() ? doc()->SelColor() : std::nullopt;
    const QList<std::pair<QString, QVariant>> fields = {
        {QStringLiteral("Name"), name},
        {QStringLiteral("FontName"), read(&RichTextBox::SelFontName)},
        {QStringLiteral("FontSize"), read(&RichTextBox::SelFontSize)},
        {QStringLiteral("Bold"), read(&RichTextBox::SelBold)},
        {QStringLiteral("Italic"), read(&RichTextBox::SelItalic)},
        {QStringLiteral("Underline"), read(&RichTextBox::SelUnderline)},
        {QStringLiteral("Strikethru"), read(&RichTextBox::SelStrikeThru)},
        {QStringLiteral("Charoffset"), read(&RichTextBox::SelCharOffset)},
        {QStringLiteral("Color"), colour ? QVariant(QString::number(*colour)) : QVariant()},
        {QStringLiteral("Alignment"), read(&RichTextBox::SelAlignment)},
        {QStringLiteral("Indent"), read(&RichTextBox::SelIndent)},
        {QStringLiteral("Hangingindent"), read(&RichTextBox::SelHangingIndent)},
        {QStringLiteral("Rightindent"), read(&RichTextBox::SelRightIndent)},
        {QStringLiteral("Bullet"), read(&RichTextBox::SelBullet)},
    };
    QString error;
    // A value no field can hold is refused here, in the words the table would use.
    for (const auto &[field, value] : fields) {
        if (error.isEmpty())
            error = Database::refusal(Databases::formatvorlagen().createTable, field, value);
    }
    if (!error.isEmpty() || !Data1->AddNew(fields, &error)) {
        MsgBox(QStringLiteral("Die Formatvorlage \"%1\" konnte nicht gespeichert werden. %2")
                   .arg(name, error),
               vbCritical, dialogTitle());
        return;
    }
    Data1->setBookmark(Data1->LastModified());
    cmdOK->setEnabled(true);
    lblName_Change();
}

void frmTemplate::cmdLoeschen_Click()
{
    if (MsgBox(QStringLiteral("Wollen Sie die aktuelle Formatvorlage wirklich löschen?"),
               vbYesNo | vbQuestion, dialogTitle())
        != vbYes)
        return;
    QString error;
    if (!Data1->Delete(&error))
        MsgBox(QStringLiteral("Die Formatvorlage \"%1\" konnte nicht gelöscht werden. %2")
                   .arg(lblName->text(), error),
               vbCritical, dialogTitle());
    Data1->MoveFirst();
}

void frmTemplate::cmdOK_Click()
{
    // Every ticked value is checked before any is written, so that a value the control would
    // refuse leaves the document as it was.
    struct Assignment
    {
        int row;
        QVariant value;
    };
    QList<Assignment> assignments;
    const std::array<QCheckBox *, 13> boxes = checkBoxes();
    for (int row = 0; row < 13; ++row) {
        if (!boxes[row]->isChecked() || !Data1->hasCurrent())
            continue;
        const QVariant value = Data1->field(QString::fromLatin1(attributes[row].field));
        QVariant usable;
        bool ok = !value.isNull();
        switch (row) {
        case 0:
            usable = value.toString();
            ok = ok && !usable.toString().isEmpty();
            break;
        case 1:
            usable = value.toInt(&ok);
            ok = ok && usable.toInt() > 0;
            break;
        case 7: {
            const QString text = value.toString().trimmed();
            const double number = QLocale::c().toDouble(text, &ok);
            const std::optional<int> colour = ok ? whole32(number) : std::nullopt;
            ok = colour && *colour >= 0 && *colour <= 0xFFFFFF;
            usable = colour.value_or(0);
            break;
        }
        case 8:
            usable = value.toInt(&ok);
            ok = ok && usable.toInt() >= 0 && usable.toInt() <= 2;
            break;
        default:
            usable = value.toInt(&ok);
            break;
        }
        if (!ok) {
            MsgBox(QStringLiteral("Der gespeicherte Wert \"%1\" für \"%2\" kann nicht angewendet "
                                  "werden. Es wurde nichts geändert.")
                       .arg(value.toString(), QString::fromUtf8(attributes[row].plainCaption)),
                   vbCritical, dialogTitle());
            return;
        }
        assignments.append({row, usable});
    }

    // All rows are one undo step of the document.
    std::optional<RichTextBox::UndoStep> step;
    if (RichTextBox *text = activeText())
        step.emplace(text);
    for (const Assignment &assignment : std::as_const(assignments)) {
        RichTextBox *text = activeText();
        if (!text)
            break;
        const QVariant &v = assignment.value;
        switch (assignment.row) {
        case 0:
            text->setSelFontName(v.toString());
            break;
        case 1:
            text->setSelFontSize(v.toInt());
            break;
        case 2:
            text->setSelBold(v.toInt() != 0);
            break;
        case 3:
            text->setSelItalic(v.toInt() != 0);
            break;
        case 4:
            text->setSelUnderline(v.toInt() != 0);
            break;
        case 5:
            text->setSelStrikeThru(v.toInt() != 0);
            break;
        case 6:
            text->setSelCharOffset(v.toInt());
            break;
        case 7:
            // Text without a colour of its own reads as black and keeps its automatic colour.
            if (text->SelColor() != v.toInt())
                text->setSelColor(v.toInt());
            break;
        case 8:
            text->setSelAlignment(v.toInt());
            break;
        case 9:
            text->setSelIndent(v.toInt());
            break;
        case 10:
            text->setSelHangingIndent(v.toInt());
            break;
        case 11:
            text->setSelRightIndent(v.toInt());
            break;
        case 12:
            text->setSelBullet(v.toInt() != 0);
            break;
        }
    }
    accept();
}

void frmTemplate::cmdAbbrechen_Click()
{
    reject();
}

void frmTemplate::keyPressEvent(QKeyEvent *event)
{
    if (Data1->browseKey(event))
        return;
    if (!handleEscapeAndHelp(this, event, HelpTopic::FormatTemplates,
                             [this] { cmdAbbrechen_Click(); }))
        QDialog::keyPressEvent(event);
}

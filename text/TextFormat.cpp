// Exact format values in user properties, mirrored into the margins and tabs Qt lays out with.
#include "text/TextFormat.h"

#include <QColor>
#include <QTextOption>
#include <algorithm>
#include <atomic>
#include <cstdlib>

namespace TextFormat {

static double number(const QTextFormat &format, int property)
{
    return format.hasProperty(property) ? format.doubleProperty(property) : 0.0;
}

// Qt's left margin holds every line; its text indent moves the first line against it.
static void syncLayout(QTextBlockFormat &format)
{
    const double px = pixelsPerMm();
    const double indent = indentMm(format);
    const double hanging = hangingIndentMm(format);
    // A numbered paragraph (one in a list) keeps its number in the same space a bullet takes.
    const bool label = bullet(format) || format.objectIndex() >= 0;
    const double bulletShift = label ? bulletTextMm(format) : 0.0;
    format.setLeftMargin((indent + hanging) * px);
    format.setTextIndent((bulletShift - hanging) * px);
    format.setRightMargin(rightIndentMm(format) * px);

    QList<double> sorted = tabStopsMm(format);
    std::sort(sorted.begin(), sorted.end());
    QList<QTextOption::Tab> tabs;
    tabs.reserve(sorted.size());
    // Stops count from the text's left edge; Qt counts them from where each line starts, and
    // one list serves all lines, so they are made right for the first line, where tabs are.
    const double firstLineMm = indent + bulletShift;
    for (double mm : sorted)
        tabs.append(QTextOption::Tab((mm - firstLineMm) * px, QTextOption::LeftTab));
    format.setTabPositions(tabs);
}

double indentMm(const QTextBlockFormat &format)
{
    return number(format, IndentMm);
}

double hangingIndentMm(const QTextBlockFormat &format)
{
    return number(format, HangingIndentMm);
}

double rightIndentMm(const QTextBlockFormat &format)
{
    return number(format, RightIndentMm);
}

void setIndents(QTextBlockFormat &format, double indent, double hanging, double right)
{
    format.setProperty(IndentMm, indent);
    format.setProperty(HangingIndentMm, hanging);
    format.setProperty(RightIndentMm, right);
    syncLayout(format);
}

QList<double> tabStopsMm(const QTextBlockFormat &format)
{
    return format.property(TabStopsMm).value<QList<double>>();
}

void setTabStops(QTextBlockFormat &format, const QList<double> &stops)
{
    if (stops.isEmpty())
        format.clearProperty(TabStopsMm);
    else
        format.setProperty(TabStopsMm, QVariant::fromValue(stops));
    syncLayout(format);
}

bool bullet(const QTextBlockFormat &format)
{
    return format.boolProperty(Bullet);
}

double bulletIndentMm(const QTextBlockFormat &format)
{
    return number(format, BulletIndentMm);
}

double bulletTextMm(const QTextBlockFormat &format)
{
    // The text keeps to the bullet indent, to the hanging indent where that reaches further,
    // and leaves the bullet room of its own where neither does.
    constexpr double leastRoomMm = 6.35;
    return std::max({bulletIndentMm(format), hangingIndentMm(format), leastRoomMm});
}

void setBullet(QTextBlockFormat &format, bool on, double indent)
{
    if (on)
        format.setProperty(Bullet, true);
    else
        format.clearProperty(Bullet);
    format.setProperty(BulletIndentMm, indent);
    syncLayout(format);
}

constexpr QStringView usualBullet = u"\u2022";

QString bulletText(const QTextBlockFormat &format)
{
    const QString own = format.stringProperty(BulletText);
    return own.isEmpty() ? usualBullet.toString() : own;
}

QString bulletFont(const QTextBlockFormat &format)
{
    return format.stringProperty(BulletFont);
}

void setBulletLabel(QTextBlockFormat &format, const QString &text, const QString &family)
{
    const auto keep = [&format](int property, const QString &value) {
        if (value.isEmpty())
            format.clearProperty(property);
        else
            format.setProperty(property, value);
    };
    keep(BulletText, text == usualBullet ? QString() : text);
    keep(BulletFont, family);
}

int newListId()
{
    static std::atomic<int> last {0};
    return ++last;
}

std::optional<ListLevel> listLevel(const QTextBlockFormat &format)
{
    if (!format.hasProperty(ListId))
        return std::nullopt;
    return ListLevel {format.intProperty(ListId),
                      format.intProperty(ListLevelIndex),
                      format.intProperty(ListLevelNumbering),
                      format.intProperty(ListLevelStart),
                      format.stringProperty(ListLevelText),
                      format.stringProperty(ListLabelFont),
                      format.boolProperty(ListLabelSymbolFont)};
}

void setListLevel(QTextBlockFormat &format, const ListLevel &level)
{
    format.setProperty(ListId, level.list);
    format.setProperty(ListLevelIndex, level.level);
    format.setProperty(ListLevelNumbering, level.numbering);
    format.setProperty(ListLevelStart, level.start);
    format.setProperty(ListLevelText, level.text);
    if (level.font.isEmpty()) {
        format.clearProperty(ListLabelFont);
        format.clearProperty(ListLabelSymbolFont);
    } else {
        format.setProperty(ListLabelFont, level.font);
        format.setProperty(ListLabelSymbolFont, level.symbolFont);
    }
}

void clearListLevel(QTextBlockFormat &format)
{
    for (const int property : {int(BulletText), int(BulletFont), int(ListId), int(ListLevelIndex),
                               int(ListLevelNumbering), int(ListLevelStart), int(ListLevelText),
                               int(ListLabelFont), int(ListLabelSymbolFont)})
        format.clearProperty(property);
}

int spaceBeforeTwips(const QTextBlockFormat &format)
{
    return format.intProperty(SpaceBeforeTwips);
}

int spaceAfterTwips(const QTextBlockFormat &format)
{
    return format.intProperty(SpaceAfterTwips);
}

int lineSpacingTwips(const QTextBlockFormat &format)
{
    return format.intProperty(LineSpacingTwips);
}

bool lineSpacingMultiple(const QTextBlockFormat &format)
{
    return format.boolProperty(LineSpacingMultiple);
}

void setSpacing(QTextBlockFormat &format, int before, int after, int line, bool multiple)
{
    const double pixelsPerTwip = pixelsPerMm() / twipsPerMm;
    const auto keep = [&format](int property, int value) {
        if (value == 0)
            format.clearProperty(property);
        else
            format.setProperty(property, value);
    };
    keep(SpaceBeforeTwips, before);
    keep(SpaceAfterTwips, after);
    keep(LineSpacingTwips, line);
    if (multiple && line != 0)
        format.setProperty(LineSpacingMultiple, true);
    else
        format.clearProperty(LineSpacingMultiple);
    const auto margin = [&format](int property, double pixels) {
        if (pixels == 0)
            format.clearProperty(property);
        else
            format.setProperty(property, pixels);
    };
    margin(QTextFormat::BlockTopMargin, before * pixelsPerTwip);
    margin(QTextFormat::BlockBottomMargin, after * pixelsPerTwip);
    if (line == 0) {
        format.clearProperty(QTextFormat::LineHeight);
        format.clearProperty(QTextFormat::LineHeightType);
    } else if (multiple)
        format.setLineHeight(std::abs(line) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (line > 0)
        format.setLineHeight(line * pixelsPerTwip, QTextBlockFormat::MinimumHeight);
    else
        format.setLineHeight(-line * pixelsPerTwip, QTextBlockFormat::FixedHeight);
}

double charOffsetTwips(const QTextCharFormat &format)
{
    return number(format, CharOffsetTwips);
}

void setCharOffset(QTextCharFormat &format, double twips)
{
    if (twips == 0.0) {
        format.clearProperty(CharOffsetTwips);
        format.setBaselineOffset(0);
        return;
    }
    format.setProperty(CharOffsetTwips, twips);
    double points = format.fontPointSize();
    if (points <= 0)
        points = 12;
    // Qt measures the baseline shift in percent of the font height.
    format.setBaselineOffset(twips / 20.0 / points * 100.0);
}

namespace {

const QColor hiddenMark(128, 128, 128);

} // namespace

bool hidden(const QTextCharFormat &format)
{
    return format.boolProperty(Hidden);
}

void setHidden(QTextCharFormat &format)
{
    format.setProperty(Hidden, true);
    if (format.underlineStyle() != QTextCharFormat::NoUnderline)
        return;
    format.setUnderlineStyle(QTextCharFormat::DotLine);
    format.setUnderlineColor(hiddenMark);
}

QTextCharFormat::UnderlineStyle ownUnderline(const QTextCharFormat &format)
{
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    if (hidden(format) && style == QTextCharFormat::DotLine
        && format.underlineColor() == hiddenMark)
        return QTextCharFormat::NoUnderline;
    return style;
}

void setOwnUnderline(QTextCharFormat &format, bool on)
{
    const bool isHidden = hidden(format);
    if (isHidden && ownUnderline(format) == QTextCharFormat::NoUnderline)
        format.clearProperty(QTextFormat::TextUnderlineColor);
    format.setFontUnderline(on);
    if (isHidden)
        setHidden(format);
}

namespace {

template<typename Format, typename IsUnsetValue>
void dropWhere(Format &format, int property, IsUnsetValue isUnsetValue)
{
    if (format.hasProperty(property) && isUnsetValue(format))
        format.clearProperty(property);
}

void dropZero(QTextFormat &format, int property)
{
    dropWhere(format, property,
              [property](const QTextFormat &f) { return f.property(property).toDouble() == 0.0; });
}

QTextBlockFormat withoutUnsetValues(QTextBlockFormat format)
{
    for (const int property : {int(IndentMm), int(HangingIndentMm), int(RightIndentMm),
                               int(BulletIndentMm), int(QTextFormat::BlockLeftMargin),
                               int(QTextFormat::BlockRightMargin), int(QTextFormat::BlockTopMargin),
                               int(QTextFormat::BlockBottomMargin), int(QTextFormat::TextIndent)})
        dropZero(format, property);
    dropWhere(format, QTextFormat::BlockAlignment,
              [](const QTextBlockFormat &f) { return f.alignment() == Qt::AlignLeft; });
    dropWhere(format, QTextFormat::TabPositions,
              [](const QTextBlockFormat &f) { return f.tabPositions().isEmpty(); });
    dropWhere(format, TabStopsMm,
              [](const QTextBlockFormat &f) { return tabStopsMm(f).isEmpty(); });
    dropWhere(format, Bullet, [](const QTextBlockFormat &f) { return !bullet(f); });
    return format;
}

QTextCharFormat withoutUnsetValues(QTextCharFormat format, const QFont &font)
{
    dropWhere(format, QTextFormat::FontFamilies, [&font](const QTextCharFormat &f) {
        return f.fontFamilies().toStringList() == QStringList {font.family()};
    });
    dropWhere(format, QTextFormat::FontPointSize,
              [&font](const QTextCharFormat &f) { return f.fontPointSize() == font.pointSizeF(); });
    dropWhere(format, QTextFormat::FontWeight,
              [&font](const QTextCharFormat &f) { return f.fontWeight() == font.weight(); });
    dropWhere(format, QTextFormat::FontItalic,
              [&font](const QTextCharFormat &f) { return f.fontItalic() == font.italic(); });
    dropWhere(format, QTextFormat::FontStrikeOut,
              [&font](const QTextCharFormat &f) { return f.fontStrikeOut() == font.strikeOut(); });
    if (!font.underline()) {
        dropWhere(format, QTextFormat::TextUnderlineStyle, [](const QTextCharFormat &f) {
            return f.underlineStyle() == QTextCharFormat::NoUnderline;
        });
        dropZero(format, QTextFormat::FontUnderline);
    }
    dropZero(format, QTextFormat::TextVerticalAlignment);
    dropZero(format, QTextFormat::TextBaselineOffset);
    dropZero(format, CharOffsetTwips);
    return format;
}

} // namespace

bool looksAlike(const QTextBlockFormat &a, const QTextBlockFormat &b)
{
    return a == b || withoutUnsetValues(a) == withoutUnsetValues(b);
}

bool looksAlike(const QTextCharFormat &a, const QTextCharFormat &b, const QFont &documentFont)
{
    return a == b || withoutUnsetValues(a, documentFont) == withoutUnsetValues(b, documentFont);
}

} // namespace TextFormat

// The control words the reader knows, sorted by name, each with its handler.
#include "platform/rtf/RtfInterpreter.h"

#include <algorithm>
#include <iterator>

namespace rtf {

namespace {

using I = Interpreter;
using D = Destination;

constexpr int skip = static_cast<int>(D::Skip);
constexpr int single = QTextCharFormat::SingleUnderline;
constexpr int dash = QTextCharFormat::DashUnderline;
constexpr int dot = QTextCharFormat::DotLine;
constexpr int dashDot = QTextCharFormat::DashDotLine;
constexpr int dashDotDot = QTextCharFormat::DashDotDotLine;
constexpr int wave = QTextCharFormat::WaveUnderline;
constexpr int paragraphStyle = 0;
constexpr int character = 1;
constexpr int other = 2;

constexpr ControlWord destination(std::string_view name, int target)
{
    return ControlWord {name, &I::enter, target, true};
}

// clang-format off
constexpr ControlWord table[] = {
    destination("aftncn", skip),
    destination("aftnsep", skip),
    destination("aftnsepc", skip),
    destination("annotation", skip),
    {"ansi", &I::setCodePage, 1252},
    {"ansicpg", &I::setCodePage, 0},
    destination("atnauthor", skip),
    destination("atndate", skip),
    destination("atnid", skip),
    destination("author", skip),
    {"b", &I::setCharFlag, 0},
    {"bin", &I::binary},
    destination("bkmkend", skip),
    destination("bkmkstart", skip),
    {"blue", &I::setColorPart, 0},
    {"bullet", &I::character, 0x2022},
    destination("buptim", skip),
    destination("bxe", skip),
    destination("category", skip),
    {"cell", &I::cell},
    {"cf", &I::setColor},
    destination("colorschememapping", skip),
    destination("colortbl", static_cast<int>(D::ColorTable)),
    destination("comment", skip),
    destination("company", skip),
    destination("creatim", skip),
    {"cs", &I::style, character, true},
    destination("datafield", skip),
    destination("datastore", skip),
    {"deff", &I::setDefaultFont},
    {"dn", &I::setOffset, -1},
    destination("do", skip),
    destination("doccomm", skip),
    destination("docvar", skip),
    {"ds", &I::style, other},
    {"emdash", &I::character, 0x2014},
    {"emspace", &I::character, 0x2003},
    {"endash", &I::character, 0x2013},
    {"enspace", &I::character, 0x2002},
    {"f", &I::setFont},
    destination("falt", skip),
    destination("fchars", skip),
    {"fcharset", &I::setFontCharset},
    {"fi", &I::setIndent, 1},
    {"field", &I::field, 0, true},
    destination("filetbl", skip),
    destination("fldinst", static_cast<int>(D::FieldInstruction)),
    {"fldrslt", &I::fieldResult, 0, true},
    destination("fname", skip),
    destination("fonttbl", static_cast<int>(D::FontTable)),
    destination("footer", skip),
    destination("footerf", skip),
    destination("footerl", skip),
    destination("footerr", skip),
    destination("footnote", skip),
    {"fs", &I::setFontSize},
    destination("ftncn", skip),
    destination("ftnsep", skip),
    destination("ftnsepc", skip),
    destination("generator", skip),
    {"green", &I::setColorPart, 8},
    destination("header", skip),
    destination("headerf", skip),
    destination("headerl", skip),
    destination("headerr", skip),
    {"i", &I::setCharFlag, 1},
    {"ilvl", &I::setListLevel},
    destination("info", skip),
    destination("ixe", skip),
    destination("keywords", skip),
    destination("latentstyles", skip),
    destination("lchars", skip),
    {"ldblquote", &I::character, 0x201C},
    {"levelnfc", &I::setLevelNumbering},
    {"levelnfcn", &I::setLevelNumbering},
    destination("levelnumbers", skip),
    destination("leveltext", static_cast<int>(D::LevelText)),
    {"li", &I::setIndent, 0},
    {"line", &I::character, 0x2028},
    {"list", &I::listDefinition},
    {"listid", &I::setListId},
    {"listlevel", &I::listLevel},
    destination("listname", skip),
    {"listoverride", &I::listOverride},
    destination("listoverridetable", static_cast<int>(D::ListOverrideTable)),
    destination("listpicture", skip),
    destination("listtable", static_cast<int>(D::ListTable)),
    destination("listtext", static_cast<int>(D::ListLabel)),
    {"lquote", &I::character, 0x2018},
    {"ls", &I::setListStyle},
    {"ltrmark", &I::character, 0x200E},
    {"mac", &I::setCodePage, 10000},
    destination("manager", skip),
    destination("mmathPr", skip),
    {"nestcell", &I::cell},
    destination("nonshppict", skip),
    {"nosupersub", &I::setScript, CharState::Normal},
    destination("objdata", skip),
    {"object", &I::pictureHolder, PictureHolder::Object, true},
    destination("operator", skip),
    destination("panose", skip),
    {"par", &I::paragraph},
    {"pard", &I::resetPara},
    destination("passwordhash", skip),
    {"pc", &I::setCodePage, 437},
    {"pca", &I::setCodePage, 850},
    destination("pgdsctbl", skip),
    {"pict", &I::picture, 0, true},
    {"plain", &I::resetChars},
    destination("pn", static_cast<int>(D::Numbering)),
    {"pnindent", &I::setNumberingIndent},
    {"pnlvlblt", &I::setNumberingBullet},
    destination("pntext", static_cast<int>(D::ListLabel)),
    destination("pntxta", skip),
    destination("pntxtb", skip),
    destination("printim", skip),
    destination("private", skip),
    destination("protusertbl", skip),
    {"qc", &I::setAlignment, Qt::AlignHCenter},
    {"qj", &I::setAlignment, Qt::AlignJustify},
    {"ql", &I::setAlignment, Qt::AlignLeft},
    {"qmspace", &I::character, 0x2005},
    {"qr", &I::setAlignment, Qt::AlignRight},
    {"rdblquote", &I::character, 0x201D},
    {"red", &I::setColorPart, 16},
    {"result", &I::pictureHolder, PictureHolder::ObjectResult, true},
    destination("revtbl", skip),
    destination("revtim", skip),
    {"ri", &I::setIndent, 2},
    {"row", &I::row},
    {"rquote", &I::character, 0x2019},
    destination("rsidtbl", skip),
    {"rtlmark", &I::character, 0x200F},
    destination("rxe", skip),
    {"s", &I::style, paragraphStyle},
    {"sa", &I::setSpacing, 1},
    {"sb", &I::setSpacing, 0},
    {"sbasedon", &I::basedOn},
    {"sect", &I::paragraph},
    destination("shp", skip),
    destination("shpinst", skip),
    {"shppict", &I::pictureHolder, PictureHolder::ShapePicture, true},
    destination("shprslt", skip),
    {"sl", &I::setSpacing, 2},
    {"slmult", &I::setLineMultiple},
    {"strike", &I::setCharFlag, 2},
    {"striked", &I::setCharFlag, 2},
    destination("stylesheet", static_cast<int>(D::StyleSheet)),
    {"sub", &I::setScript, CharState::Sub},
    destination("subject", skip),
    {"super", &I::setScript, CharState::Super},
    {"tab", &I::character, '\t'},
    {"tb", &I::addTab},
    destination("tc", skip),
    destination("tcn", skip),
    destination("template", skip),
    destination("themedata", skip),
    destination("title", skip),
    {"ts", &I::style, other},
    {"tx", &I::addTab},
    destination("txe", skip),
    {"u", &I::unicode},
    {"uc", &I::setUnicodeSkip},
    {"ul", &I::setUnderline, single},
    {"uld", &I::setUnderline, dot},
    {"uldash", &I::setUnderline, dash},
    {"uldashd", &I::setUnderline, dashDot},
    {"uldashdd", &I::setUnderline, dashDotDot},
    {"uldb", &I::setUnderline, single},
    {"ulhwave", &I::setUnderline, wave},
    {"ulldash", &I::setUnderline, dash},
    {"ulnone", &I::setUnderline, QTextCharFormat::NoUnderline},
    {"ulth", &I::setUnderline, single},
    {"ulthd", &I::setUnderline, dot},
    {"ulthdash", &I::setUnderline, dash},
    {"ulthdashd", &I::setUnderline, dashDot},
    {"ulthdashdd", &I::setUnderline, dashDotDot},
    {"ulthldash", &I::setUnderline, dash},
    {"ululdbwave", &I::setUnderline, wave},
    {"ulw", &I::setUnderline, single},
    {"ulwave", &I::setUnderline, wave},
    {"up", &I::setOffset, 1},
    destination("upr", skip),
    destination("userprops", skip),
    {"v", &I::setCharFlag, 3},
    destination("wgrffmtfilter", skip),
    destination("xe", skip),
    destination("xmlnstbl", skip),
    destination("xmlopen", skip),
    {"zwbo", &I::character, 0x200B},
    {"zwj", &I::character, 0x200D},
    {"zwnj", &I::character, 0x200C},
};
// clang-format on

constexpr bool byName(const ControlWord &a, const ControlWord &b)
{
    return a.name < b.name;
}

static_assert(std::is_sorted(std::begin(table), std::end(table), byName));

} // namespace

const ControlWord *findControlWord(std::string_view name)
{
    const auto it = std::lower_bound(
        std::begin(table), std::end(table), name,
        [](const ControlWord &word, std::string_view key) { return word.name < key; });
    return it != std::end(table) && it->name == name ? it : nullptr;
}

} // namespace rtf

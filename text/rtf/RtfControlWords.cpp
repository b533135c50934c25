// The control words the reader knows, sorted by name, each with its handler.
#include "text/rtf/RtfInterpreter.h"

#include <algorithm>
#include <iterator>
#include <type_traits>

namespace rtf {

namespace {

using I = Interpreter;
using D = Destination;

constexpr auto single = QTextCharFormat::SingleUnderline;
constexpr auto dash = QTextCharFormat::DashUnderline;
constexpr auto dot = QTextCharFormat::DotLine;
constexpr auto dashDot = QTextCharFormat::DashDotLine;
constexpr auto dashDotDot = QTextCharFormat::DashDotDotLine;
constexpr auto wave = QTextCharFormat::WaveUnderline;

// An entry's argument has the type of its handler's parameter, so where that is an enum, a bare
// number or another enum's value does not compile.
template<auto handler>
requires std::is_void_v<HandlerArgument<handler>>
constexpr ControlWord word(std::string_view name)
{
    return ControlWord {name, &invokeHandler<handler>};
}

template<auto handler>
requires(!std::is_void_v<HandlerArgument<handler>>) constexpr ControlWord
    word(std::string_view name, HandlerArgument<handler> arg)
{
    return ControlWord {name, &invokeHandler<handler>, static_cast<int>(arg)};
}

// A word that opens a destination: it may follow \*.
template<auto handler>
constexpr ControlWord group(std::string_view name)
{
    ControlWord entry = word<handler>(name);
    entry.destination = true;
    return entry;
}

template<auto handler>
constexpr ControlWord group(std::string_view name, HandlerArgument<handler> arg)
{
    ControlWord entry = word<handler>(name, arg);
    entry.destination = true;
    return entry;
}

constexpr ControlWord destination(std::string_view name, Destination target)
{
    return group<&I::enter>(name, target);
}

// clang-format off
constexpr ControlWord table[] = {
    destination("aftncn", D::Skip),
    destination("aftnsep", D::Skip),
    destination("aftnsepc", D::Skip),
    group<&I::mark>("annotation", MarkKind::End),
    word<&I::setCodePage>("ansi", codepage::ansi),
    word<&I::setCodePageNumber>("ansicpg"),
    group<&I::mark>("atnauthor", MarkKind::End),
    destination("atndate", D::Skip),
    group<&I::mark>("atnid", MarkKind::End),
    group<&I::mark>("atrfend", MarkKind::End),
    group<&I::mark>("atrfstart", MarkKind::Start),
    destination("author", D::Skip),
    word<&I::setCharFlag>("b", CharFlag::Bold),
    word<&I::binary>("bin"),
    group<&I::mark>("bkmkend", MarkKind::End),
    group<&I::mark>("bkmkstart", MarkKind::Start),
    word<&I::setColorPart>("blue", ColorPart::Blue),
    word<&I::character>("bullet", 0x2022),
    destination("buptim", D::Skip),
    destination("bxe", D::Skip),
    destination("category", D::Skip),
    word<&I::cell>("cell"),
    word<&I::setColor>("cf"),
    word<&I::markWord>("chatn"),
    word<&I::noteMark>("chftn"),
    destination("colorschememapping", D::Skip),
    destination("colortbl", D::ColorTable),
    destination("comment", D::Skip),
    destination("company", D::Skip),
    destination("creatim", D::Skip),
    group<&I::style>("cs", StyleKind::Character),
    destination("datafield", D::Skip),
    destination("datastore", D::Skip),
    word<&I::setDefaultFont>("deff"),
    word<&I::setOffset>("dn", Offset::Down),
    destination("do", D::Skip),
    destination("doccomm", D::Skip),
    destination("docvar", D::Skip),
    word<&I::style>("ds", StyleKind::Other),
    word<&I::character>("emdash", 0x2014),
    word<&I::character>("emspace", 0x2003),
    word<&I::character>("endash", 0x2013),
    word<&I::character>("enspace", 0x2002),
    word<&I::setFont>("f"),
    word<&I::sectionWord>("facingp"),
    destination("falt", D::Skip),
    destination("fchars", D::Skip),
    word<&I::setFontCharset>("fcharset"),
    word<&I::setIndent>("fi", IndentKind::FirstLine),
    group<&I::field>("field"),
    destination("filetbl", D::Skip),
    destination("fldinst", D::FieldInstruction),
    group<&I::fieldResult>("fldrslt"),
    destination("fname", D::Skip),
    destination("fonttbl", D::FontTable),
    group<&I::sectionGroup>("footer"),
    group<&I::sectionGroup>("footerf"),
    group<&I::sectionGroup>("footerl"),
    group<&I::sectionGroup>("footerr"),
    group<&I::footnote>("footnote"),
    word<&I::setFontSize>("fs"),
    word<&I::setEndnote>("ftnalt"),
    destination("ftncn", D::Skip),
    destination("ftnsep", D::Skip),
    destination("ftnsepc", D::Skip),
    destination("generator", D::Skip),
    word<&I::setColorPart>("green", ColorPart::Green),
    group<&I::sectionGroup>("header"),
    group<&I::sectionGroup>("headerf"),
    group<&I::sectionGroup>("headerl"),
    group<&I::sectionGroup>("headerr"),
    word<&I::setHighlight>("highlight"),
    word<&I::setCharFlag>("i", CharFlag::Italic),
    word<&I::setListLevel>("ilvl"),
    group<&I::documentInfo>("info"),
    destination("ixe", D::Skip),
    destination("keywords", D::Skip),
    destination("latentstyles", D::Skip),
    destination("lchars", D::Skip),
    word<&I::character>("ldblquote", 0x201C),
    word<&I::setLevelNumbering>("levelnfc"),
    word<&I::setLevelNumbering>("levelnfcn"),
    destination("levelnumbers", D::Skip),
    word<&I::setLevelStart>("levelstartat"),
    destination("leveltext", D::LevelText),
    group<&I::overrideLevel>("lfolevel"),
    word<&I::setIndent>("li", IndentKind::Left),
    word<&I::character>("line", 0x2028),
    word<&I::listDefinition>("list"),
    word<&I::setListId>("listid"),
    word<&I::listLevel>("listlevel"),
    destination("listname", D::Skip),
    word<&I::listOverride>("listoverride"),
    destination("listoverridetable", D::ListOverrideTable),
    destination("listpicture", D::Skip),
    destination("listtable", D::ListTable),
    destination("listtext", D::ListLabel),
    word<&I::character>("lquote", 0x2018),
    word<&I::setListStyle>("ls"),
    word<&I::character>("ltrmark", 0x200E),
    word<&I::setCodePage>("mac", 10000),
    destination("manager", D::Skip),
    destination("mmathPr", D::Skip),
    word<&I::cell>("nestcell"),
    group<&I::readInside>("nesttableprops"),
    destination("nonesttables", D::Skip),
    destination("nonshppict", D::Skip),
    word<&I::setScript>("nosupersub", CharState::Normal),
    destination("objdata", D::Skip),
    group<&I::pictureHolder>("object", PictureHolder::Object),
    destination("operator", D::Skip),
    destination("panose", D::Skip),
    word<&I::paragraph>("par"),
    word<&I::resetPara>("pard"),
    destination("passwordhash", D::Skip),
    word<&I::setCodePage>("pc", 437),
    word<&I::setCodePage>("pca", 850),
    destination("pgdsctbl", D::Skip),
    group<&I::picture>("pict"),
    word<&I::resetChars>("plain"),
    destination("pn", D::Numbering),
    word<&I::setNumberingStyle>("pncard", LevelNumbering::Decimal),
    word<&I::setNumberingStyle>("pndec", LevelNumbering::Decimal),
    word<&I::setNumberingIndent>("pnindent"),
    word<&I::setNumberingStyle>("pnlcltr", LevelNumbering::LowerLetter),
    word<&I::setNumberingStyle>("pnlcrm", LevelNumbering::LowerRoman),
    word<&I::setNumberingLevel>("pnlvl", NumberingLevel::Numbered),
    word<&I::setNumberingBullet>("pnlvlblt"),
    word<&I::setNumberingLevel>("pnlvlbody", NumberingLevel::Numbered),
    word<&I::setNumberingLevel>("pnlvlcont", NumberingLevel::Continued),
    word<&I::setNumberingStyle>("pnord", LevelNumbering::Decimal),
    word<&I::setNumberingStyle>("pnordt", LevelNumbering::Decimal),
    destination("pntext", D::ListLabel),
    destination("pntxta", D::NumberAfter),
    destination("pntxtb", D::NumberBefore),
    word<&I::setNumberingStyle>("pnucltr", LevelNumbering::UpperLetter),
    word<&I::setNumberingStyle>("pnucrm", LevelNumbering::UpperRoman),
    destination("printim", D::Skip),
    destination("private", D::Skip),
    destination("protusertbl", D::Skip),
    word<&I::setAlignment>("qc", Qt::AlignHCenter),
    word<&I::setAlignment>("qj", Qt::AlignJustify),
    word<&I::setAlignment>("ql", Qt::AlignLeft),
    word<&I::character>("qmspace", 0x2005),
    word<&I::setAlignment>("qr", Qt::AlignRight),
    word<&I::character>("rdblquote", 0x201D),
    word<&I::setColorPart>("red", ColorPart::Red),
    group<&I::pictureHolder>("result", PictureHolder::ObjectResult),
    destination("revtbl", D::Skip),
    destination("revtim", D::Skip),
    word<&I::setIndent>("ri", IndentKind::Right),
    word<&I::row>("row"),
    word<&I::character>("rquote", 0x2019),
    destination("rsidtbl", D::Skip),
    word<&I::character>("rtlmark", 0x200F),
    destination("rxe", D::Skip),
    word<&I::style>("s", StyleKind::Paragraph),
    word<&I::setSpacing>("sa", SpacingKind::After),
    word<&I::setSpacing>("sb", SpacingKind::Before),
    word<&I::basedOn>("sbasedon"),
    word<&I::paragraph>("sect"),
    group<&I::shape>("shp", ShapeGroup::Whole),
    group<&I::shape>("shpgrp", ShapeGroup::Whole),
    group<&I::shape>("shpinst", ShapeGroup::Part),
    group<&I::pictureHolder>("shppict", PictureHolder::ShapePicture),
    group<&I::shape>("shprslt", ShapeGroup::Part),
    word<&I::setSpacing>("sl", SpacingKind::Line),
    word<&I::setLineMultiple>("slmult"),
    word<&I::setCharFlag>("strike", CharFlag::Strike),
    word<&I::setCharFlag>("striked", CharFlag::Strike),
    destination("stylesheet", D::StyleSheet),
    word<&I::setScript>("sub", CharState::Sub),
    destination("subject", D::Skip),
    word<&I::setScript>("super", CharState::Super),
    word<&I::character>("tab", '\t'),
    word<&I::addTab>("tb"),
    destination("tc", D::Skip),
    destination("tcn", D::Skip),
    destination("template", D::Skip),
    destination("themedata", D::Skip),
    destination("title", D::Skip),
    word<&I::sectionWord>("titlepg"),
    word<&I::style>("ts", StyleKind::Other),
    word<&I::addTab>("tx"),
    destination("txe", D::Skip),
    word<&I::unicode>("u"),
    word<&I::setUnicodeSkip>("uc"),
    destination("ud", D::Tables),
    word<&I::setUnderline>("ul", single),
    word<&I::setUnderline>("uld", dot),
    word<&I::setUnderline>("uldash", dash),
    word<&I::setUnderline>("uldashd", dashDot),
    word<&I::setUnderline>("uldashdd", dashDotDot),
    word<&I::setUnderline>("uldb", single),
    word<&I::setUnderline>("ulhwave", wave),
    word<&I::setUnderline>("ulldash", dash),
    word<&I::setUnderline>("ulnone", QTextCharFormat::NoUnderline),
    word<&I::setUnderline>("ulth", single),
    word<&I::setUnderline>("ulthd", dot),
    word<&I::setUnderline>("ulthdash", dash),
    word<&I::setUnderline>("ulthdashd", dashDot),
    word<&I::setUnderline>("ulthdashdd", dashDotDot),
    word<&I::setUnderline>("ulthldash", dash),
    word<&I::setUnderline>("ululdbwave", wave),
    word<&I::setUnderline>("ulw", single),
    word<&I::setUnderline>("ulwave", wave),
    word<&I::setOffset>("up", Offset::Up),
    destination("upr", D::Tables),
    destination("userprops", D::Skip),
    word<&I::setCharFlag>("v", CharFlag::Hidden),
    destination("wgrffmtfilter", D::Skip),
    destination("xe", D::Skip),
    destination("xmlnstbl", D::Skip),
    destination("xmlopen", D::Skip),
    word<&I::character>("zwbo", 0x200B),
    word<&I::character>("zwj", 0x200D),
    word<&I::character>("zwnj", 0x200C),
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

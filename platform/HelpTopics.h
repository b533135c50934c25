// The topic numbers of the program's help file, one name each, for the menus and dialogs that
// open them with F1.
#pragma once

namespace HelpTopic {

constexpr int Startup = 3;
constexpr int FileMenu = 11;
constexpr int FileNew = 12;
constexpr int FileOpen = 13;
constexpr int FileSave = 14;
constexpr int FileClose = 15;
constexpr int FileProperties = 16;
constexpr int FilePrint = 17;
constexpr int RecentFiles = 18;
constexpr int FileEnd = 19;
constexpr int EditMenu = 20;
constexpr int EditUndo = 21;
constexpr int EditCut = 23;
constexpr int EditCopy = 24;
constexpr int EditPaste = 25;
constexpr int EditErase = 26;
constexpr int EditSearch = 27;
constexpr int EditReplace = 28;
constexpr int EditSelectAll = 29;
constexpr int InsertMenu = 30;
constexpr int InsertDate = 31;
constexpr int InsertTime = 32;
constexpr int InsertSpecialCharacter = 33;
constexpr int InsertPicture = 34;
// The Format menu's topic also serves the dialog behind its first five items.
constexpr int FormatMenu = 35;
constexpr int FormatCharacter = 36;
constexpr int FormatColour = 37;
constexpr int FormatParagraph = 38;
constexpr int FormatTabs = 39;
constexpr int FormatPage = 40;
constexpr int FormatTemplates = 41;
constexpr int ViewMenu = 45;
constexpr int ViewBars = 46;
constexpr int ViewKeyboard = 47;
constexpr int ViewTextBlocks = 48;
constexpr int ViewTipAndStartup = 49;
constexpr int WindowMenu = 50;
constexpr int WindowArrange = 51;
constexpr int HelpMenu = 53;
constexpr int HelpUse = 54;
constexpr int HelpTip = 55;
constexpr int HelpAbout = 56;
constexpr int ContextMenu = 58;
constexpr int ViewWordWrap = 59;

} // namespace HelpTopic

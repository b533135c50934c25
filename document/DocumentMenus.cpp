// The document windows' menus: one description per menu, the rows one kind lacks marked as
// such, and the builder that makes them; the handlers live beside their windows.
#include "document/DocumentMenus.h"

#include "document/DocumentTools.h"
#include "document/DocumentWindow.h"
#include "document/MenuItems.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/MdiPlacement.h"
#include "text/RichTextBox.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTextCursor>
#include <initializer_list>

const DocumentMenus::Kind DocumentMenus::RichText {true, true};
const DocumentMenus::Kind DocumentMenus::PlainText {false, false};

namespace {

const char *const HelpContextProperty = "HelpContextID";
const char *const WindowListProperty = "windowListEntry";

using Handler = void (*)(DocumentWindow &);

template<class T>
struct ClassOf;
template<class C>
struct ClassOf<void (C::*)()>
{
    using type = C;
};

// A handler of the window or of one window kind, called on the window.
template<auto handler>
void run(DocumentWindow &window)
{
    using Window = typename ClassOf<decltype(handler)>::type;
    (static_cast<Window &>(window).*handler)();
}

enum class Only { Both, RichText, PlainText };
enum class RowType { Item, Switch, Separator, RecentFiles, Submenu };

struct Row
{
    RowType type = RowType::Item;
    QAction *DocumentMenuItems::*item = nullptr;
    const char *caption = nullptr;
    QKeySequence shortcut;
    int help = 0;
    Handler handler = nullptr;
    Only only = Only::Both;
    // The dialog or tool the item opens; while it is not there the item stays disabled.
    bool (*available)() = nullptr;
    QMenu *DocumentMenuItems::*submenu = nullptr;
};

struct Menu
{
    QMenu *DocumentMenuItems::*menu;
    const char *name;
    const char *caption;
    int help;
    Only only;
    QList<Row> rows;
    // Runs each time the menu opens.
    Handler opening = nullptr;
};

Row separator(Only only = Only::Both)
{
    Row row;
    row.type = RowType::Separator;
    row.only = only;
    return row;
}

Row item(QAction *DocumentMenuItems::*member, const char *caption, int help, Handler handler,
         const QKeySequence &shortcut = {}, Only only = Only::Both)
{
    Row row;
    row.item = member;
    row.caption = caption;
    row.help = help;
    row.handler = handler;
    row.shortcut = shortcut;
    row.only = only;
    return row;
}

Row tool(QAction *DocumentMenuItems::*member, const char *caption, int help, Handler handler,
         bool (*available)(), Only only = Only::Both)
{
    Row row = item(member, caption, help, handler, {}, only);
    row.available = available;
    return row;
}

Row checkSwitch(QAction *DocumentMenuItems::*member, const char *caption, int help, Handler handler,
                Only only = Only::Both)
{
    Row row = item(member, caption, help, handler, {}, only);
    row.type = RowType::Switch;
    return row;
}

Row submenu(QMenu *DocumentMenuItems::*member, Only only = Only::Both)
{
    Row row;
    row.type = RowType::Submenu;
    row.submenu = member;
    row.only = only;
    return row;
}

Row recentFiles(int help)
{
    Row row;
    row.type = RowType::RecentFiles;
    row.help = help;
    return row;
}

bool fits(Only only, const DocumentMenus::Kind &kind)
{
    return only == Only::Both || (only == Only::RichText) == kind.richText;
}

void setHelp(QAction *action, int help)
{
    if (help)
        action->setProperty(HelpContextProperty, help);
}

// The items whose dialog or tool is missing stay disabled.
void enableAvailable(const QList<std::pair<QAction *, bool (*)()>> &tools)
{
    for (const auto &[action, available] : tools)
        action->setEnabled(available());
}

// F1 on a highlighted item (or in an open menu with none) shows that item's help topic.
class MenuHelp : public QObject
{
public:
    explicit MenuHelp(DocumentWindow *window) : QObject(window), window(window) { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *menu = qobject_cast<QMenu *>(watched);
        if (!menu || event->type() != QEvent::KeyPress
            || static_cast<QKeyEvent *>(event)->key() != Qt::Key_F1)
            return false;
        int context = DocumentMenus::helpContext(menu->activeAction());
        if (!context)
            context = DocumentMenus::helpContext(menu->menuAction());
        if (!context)
            return true;
        // The menus close, as the platform's did when help opened.
        for (int open = 0; open < 8 && QApplication::activePopupWidget(); ++open)
            QApplication::activePopupWidget()->close();
        showHelpTopic(window, context);
        return true;
    }

private:
    DocumentWindow *window;
};

// Whether the program has plugged in the opener of a dialog or tool.
template<auto opener>
bool has()
{
    return bool(documentTools().*opener);
}

// Captions of the window list: "&1 " and the title, as the platform's window menu showed them.
QString windowListCaption(int number, const QString &title)
{
    QString escaped = title;
    escaped.replace(QLatin1Char('&'), QLatin1String("&&"));
    return (number <= 9 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("%1 ").arg(number))
        + escaped;
}

// The open document windows below the Window menu's items, the active one checked.
void fillWindowList(DocumentWindow &window)
{
    QMenu *menu = window.mnuWindow;
    for (QAction *action : menu->actions()) {
        if (action->property(WindowListProperty).toBool()) {
            menu->removeAction(action);
            action->deleteLater();
        }
    }
    QMdiArea *area = window.frameArea();
    if (!area)
        return;
    const QList<QMdiSubWindow *> frames = area->subWindowList(QMdiArea::CreationOrder);
    if (frames.isEmpty())
        return;
    QAction *bar = menu->addSeparator();
    bar->setProperty(WindowListProperty, true);
    int number = 0;
    for (QMdiSubWindow *frame : frames) {
        QAction *entry = menu->addAction(windowListCaption(++number, frame->windowTitle()));
        entry->setProperty(WindowListProperty, true);
        const bool active = frame == area->activeSubWindow();
        entry->setCheckable(active);
        entry->setChecked(active);
        QObject::connect(entry, &QAction::triggered, area, [area, frame = QPointer(frame)] {
            if (!frame)
                return;
            if (frame->isMinimized())
                frame->showNormal();
            area->setActiveSubWindow(frame);
        });
    }
}

} // namespace

void DocumentMenus::build(DocumentWindow &window, const Kind &kind)
{
    using W = DocumentMenuItems;
    using D = DocumentWindow;
    using T = DocumentTools;
    window.menuKind = &kind;
    const Only rich = Only::RichText;
    const Only plain = Only::PlainText;

    const Menu popupView {
        &W::mnuPopupView,
        "mnuPopupView",
        "An&sicht",
        HelpTopic::ViewMenu,
        Only::Both,
        {
            checkSwitch(&W::mnuPopupViewToolbar, "S&ymbolleiste", HelpTopic::ViewBars,
                        run<&D::mnuPopupViewToolbar_Click>, rich),
            checkSwitch(&W::mnuPopupViewToolbar, "Symbo&lleiste", HelpTopic::ViewBars,
                        run<&D::mnuPopupViewToolbar_Click>, plain),
            checkSwitch(&W::mnuPopupViewStatusBar, "&Statuszeile", HelpTopic::ViewBars,
                        run<&D::mnuPopupViewStatusBar_Click>),
            checkSwitch(&W::mnuPopupViewLineal, "&Lineal", HelpTopic::ViewBars,
                        run<&frmDocument::mnuPopupViewLineal_Click>, rich),
            checkSwitch(&W::mnuPopupViewUmbruch, "&Zeilenumbruch", HelpTopic::ViewWordWrap,
                        run<&frmText::mnuPopupViewUmbruch_Click>, plain),
        }};
    const Menu popupFormat {
        &W::mnuPopupFormat,
        "mnuPopupFormat",
        "&Format",
        HelpTopic::FormatMenu,
        rich,
        {
            tool(&W::mnuPopupFormatZeichen, "Zei&chen...", HelpTopic::FormatCharacter,
                 run<&frmDocument::mnuPopupFormatZeichen_Click>, has<&T::frmOptions>),
            tool(&W::mnuPopupFormatFarbe, "Schriftfar&be...", HelpTopic::FormatColour,
                 run<&frmDocument::mnuPopupFormatFarbe_Click>, has<&T::frmOptions>),
            tool(&W::mnuPopupFormatAbsatz, "&Absatz...", HelpTopic::FormatParagraph,
                 run<&frmDocument::mnuPopupFormatAbsatz_Click>, has<&T::frmOptions>),
            tool(&W::mnuPopupFormatTabs, "&Tabulatoren...", HelpTopic::FormatTabs,
                 run<&frmDocument::mnuPopupFormatTabs_Click>, has<&T::frmOptions>),
            tool(&W::mnuPopupFormatSeite, "&Seite einrichten...", HelpTopic::FormatPage,
                 run<&frmDocument::mnuPopupFormatSeite_Click>, has<&T::frmOptions>),
            separator(),
            tool(&W::mnuPopupFormatVorlage, "&Formatvorlage...", HelpTopic::FormatTemplates,
                 run<&frmDocument::mnuPopupFormatVorlage_Click>, has<&T::frmTemplate>),
        }};

    const Menu menus[] = {
        popupView,
        popupFormat,
        {&W::mnuFile,
         "mnuFile",
         "&Datei",
         HelpTopic::FileMenu,
         Only::Both,
         {
             item(&W::mnuFileNew, "&Neu...", HelpTopic::FileNew, run<&D::mnuFileNew_Click>,
                  Qt::CTRL | Qt::Key_N),
             item(&W::mnuFileOpen, "Ö&ffnen...", HelpTopic::FileOpen, run<&D::mnuFileOpen_Click>,
                  Qt::CTRL | Qt::Key_O),
             item(&W::mnuFileClose, "S&chließen", HelpTopic::FileClose,
                  run<&D::mnuFileClose_Click>),
             separator(),
             item(&W::mnuFileSave, "&Speichern", HelpTopic::FileSave, run<&D::mnuFileSave_Click>,
                  Qt::CTRL | Qt::Key_S),
             item(&W::mnuFileSaveAs, "Speichern &unter...", HelpTopic::FileSave,
                  [](DocumentWindow &w) {
                      w.mnuFileSaveAs_Click();
                      w.txtText->setFocus();
                  }),
             separator(),
             item(&W::mnuFileProperties, "Ei&genschaften", HelpTopic::FileProperties,
                  run<&D::mnuFileProperties_Click>),
             separator(),
             item(&W::mnuFilePrint, "&Drucken...", HelpTopic::FilePrint,
                  run<&D::mnuFilePrint_Click>, Qt::CTRL | Qt::Key_D),
             item(&W::mnuFilePrintSetup, "Drucker &einrichten...", HelpTopic::FilePrint,
                  run<&D::mnuFilePrintSetup_Click>),
             separator(),
             recentFiles(HelpTopic::RecentFiles),
             item(&W::mnuFileEnd, "&Beenden", HelpTopic::FileEnd, run<&D::mnuFileEnd_Click>),
         }},
        {&W::mnuEdit,
         "mnuEdit",
         "&Bearbeiten",
         HelpTopic::EditMenu,
         Only::Both,
         {
             item(&W::mnuEditUndo, "&Rückgängig", HelpTopic::EditUndo, run<&D::mnuEditUndo_Click>,
                  Qt::CTRL | Qt::Key_Z),
             separator(),
             item(&W::mnuEditCut, "&Ausschneiden", HelpTopic::EditCut, run<&D::mnuEditCut_Click>,
                  Qt::CTRL | Qt::Key_X),
             item(&W::mnuEditCopy, "&Kopieren", HelpTopic::EditCopy, run<&D::mnuEditCopy_Click>,
                  Qt::CTRL | Qt::Key_C),
             item(&W::mnuEditPaste, "&Einfügen", HelpTopic::EditPaste, run<&D::mnuEditPaste_Click>,
                  Qt::CTRL | Qt::Key_V),
             item(&W::mnuEditErase, "&Löschen", HelpTopic::EditErase, run<&D::mnuEditErase_Click>,
                  QKeySequence(Qt::Key_Delete)),
             separator(),
             tool(&W::mnuEditSearch, "&Suchen...", HelpTopic::EditSearch,
                  run<&D::mnuEditSearch_Click>, has<&T::frmSearch>),
             tool(&W::mnuEditChange, "Erse&tzen...", HelpTopic::EditReplace,
                  run<&D::mnuEditChange_Click>, has<&T::frmSearch>),
             separator(),
             item(&W::mnuEditHighlight, "Alles &markieren", HelpTopic::EditSelectAll,
                  run<&D::mnuEditHighlight_Click>, Qt::CTRL | Qt::Key_A),
         },
         run<&D::mnuEdit_Click>},
        {&W::mnuEinfuegen,
         "mnuEinfuegen",
         "&Einfügen",
         HelpTopic::InsertMenu,
         Only::Both,
         {
             tool(&W::mnuEinfuegenDate, "Aktuelles &Datum...", HelpTopic::InsertDate,
                  run<&D::mnuEinfuegenDate_Click>, has<&T::frmDate>),
             tool(&W::mnuEinfuegenTime, "Aktuelle Uhr&zeit...", HelpTopic::InsertTime,
                  run<&D::mnuEinfuegenTime_Click>, has<&T::frmDate>),
             tool(&W::mnuEinfuegenSonder, "S&onderzeichen...", HelpTopic::InsertSpecialCharacter,
                  run<&D::mnuEinfuegenSonder_Click>, has<&T::frmSonder>),
             tool(&W::mnuEinfuegenImage, "&Grafik...", HelpTopic::InsertPicture,
                  run<&frmDocument::mnuEinfuegenImage_Click>, has<&T::frmImage>, rich),
         }},
        {&W::mnuFormat,
         "mnuFormat",
         "F&ormat",
         HelpTopic::FormatMenu,
         rich,
         {
             tool(&W::mnuFormatZeichen, "Zei&chen...", HelpTopic::FormatCharacter,
                  run<&frmDocument::mnuFormatZeichen_Click>, has<&T::frmOptions>),
             tool(&W::mnuFormatFarbe, "Schriftfar&be...", HelpTopic::FormatColour,
                  run<&frmDocument::mnuFormatFarbe_Click>, has<&T::frmOptions>),
             tool(&W::mnuFormatAbsatz, "&Absatz...", HelpTopic::FormatParagraph,
                  run<&frmDocument::mnuFormatAbsatz_Click>, has<&T::frmOptions>),
             tool(&W::mnuFormatTabs, "&Tabulatoren...", HelpTopic::FormatTabs,
                  run<&frmDocument::mnuFormatTabs_Click>, has<&T::frmOptions>),
             tool(&W::mnuFormatSeite, "&Seite einrichten...", HelpTopic::FormatPage,
                  run<&frmDocument::mnuFormatSeite_Click>, has<&T::frmOptions>),
             separator(),
             tool(&W::mnuFormatFormatvorlage, "&Formatvorlagen-Verwaltung...",
                  HelpTopic::FormatTemplates, run<&frmDocument::mnuFormatFormatvorlage_Click>,
                  has<&T::frmTemplate>),
         }},
        {&W::mnuView,
         "mnuView",
         "&Ansicht",
         HelpTopic::ViewMenu,
         Only::Both,
         {
             checkSwitch(&W::mnuViewToolbar, "S&ymbolleiste", HelpTopic::ViewBars,
                         run<&D::mnuViewToolbar_Click>),
             checkSwitch(&W::mnuViewStatusBar, "&Statuszeile", HelpTopic::ViewBars,
                         run<&D::mnuViewStatusBar_Click>),
             checkSwitch(&W::mnuViewLineal, "&Lineal", HelpTopic::ViewBars,
                         run<&frmDocument::mnuViewLineal_Click>, rich),
             checkSwitch(&W::mnuViewUmbruch, "&Zeilenumbruch", HelpTopic::ViewWordWrap,
                         run<&frmText::mnuViewUmbruch_Click>, plain),
             separator(),
             tool(&W::mnuViewKeyboard, "T&astaturbelegung", HelpTopic::ViewKeyboard,
                  run<&D::mnuViewKeyboard_Click>, has<&T::frmTastatur>),
             tool(&W::mnuViewBaustein, "Te&xtbaustein-Verwaltung...", HelpTopic::ViewTextBlocks,
                  run<&D::mnuViewBaustein_Click>, has<&T::frmBaustein>),
             separator(),
             checkSwitch(&W::mnuViewTip, "&Tip des Tages", HelpTopic::ViewTipAndStartup,
                         run<&D::mnuViewTip_Click>),
             checkSwitch(&W::mnuViewWillkommen, "&Willkommens-Bildschirm",
                         HelpTopic::ViewTipAndStartup, run<&D::mnuViewWillkommen_Click>),
         },
         run<&D::mnuView_Click>},
        {&W::mnuWindow,
         "mnuWindow",
         "&Fenster",
         HelpTopic::WindowMenu,
         Only::Both,
         {
             item(&W::mnuWindowCascade, "Über&lappend", HelpTopic::WindowArrange,
                  run<&D::mnuWindowCascade_Click>),
             item(&W::mnuWindowTileVertical, "&Nebeneinander", HelpTopic::WindowArrange,
                  run<&D::mnuWindowTileVertical_Click>),
             item(&W::mnuWindowTileHorizontal, "Ü&bereinander", HelpTopic::WindowArrange,
                  run<&D::mnuWindowTileHorizontal_Click>),
             item(&W::mnuWindowArrangeIcons, "&Symbole anordnen", HelpTopic::WindowArrange,
                  run<&D::mnuWindowArrangeIcons_Click>),
         },
         fillWindowList},
        {&W::mnuHelp,
         "mnuHelp",
         "&Hilfe",
         HelpTopic::HelpMenu,
         Only::Both,
         {
             item(&W::mnuHelpContents, "&Inhalt", HelpTopic::HelpUse,
                  run<&D::mnuHelpContents_Click>),
             item(&W::mnuHelpSearch, "&Suchen in der Hilfe...", HelpTopic::HelpUse,
                  run<&D::mnuHelpSearch_Click>),
             separator(),
             item(&W::mnuHelpHelp, "&Hilfe zur Hilfe", HelpTopic::HelpUse,
                  run<&D::mnuHelpHelp_Click>),
             separator(),
             tool(&W::mnuHelpTip, "&Tip des Tages anzeigen", HelpTopic::HelpTip,
                  run<&D::mnuHelpTip_Click>, has<&T::frmTip>),
             separator(),
             tool(&W::mnuHelpAbout, "In&fo über Velmar³²", HelpTopic::HelpAbout,
                  run<&D::mnuHelpAbout_Click>, has<&T::frmAbout>),
         }},
        {&W::mnuPopup,
         "mnuPopup",
         "PopUp",
         HelpTopic::ContextMenu,
         Only::Both,
         {
             item(&W::mnuPopupUndo, "&Rückgängig", HelpTopic::EditUndo,
                  run<&D::mnuPopupUndo_Click>),
             separator(),
             item(&W::mnuPopupCut, "&Ausschneiden", HelpTopic::EditCut, run<&D::mnuPopupCut_Click>),
             item(&W::mnuPopupCopy, "&Kopieren", HelpTopic::EditCopy, run<&D::mnuPopupCopy_Click>),
             item(&W::mnuPopupPaste, "&Einfügen", HelpTopic::EditPaste,
                  run<&D::mnuPopupPaste_Click>),
             item(&W::mnuPopupErase, "&Löschen", HelpTopic::EditErase,
                  run<&D::mnuPopupErase_Click>),
             separator(),
             submenu(&W::mnuPopupView),
             separator(rich),
             submenu(&W::mnuPopupFormat, rich),
         },
         run<&D::mnuPopup_Click>},
    };

    auto *help = new MenuHelp(&window);
    DocumentMenuItems &items = window;
    for (const Menu &description : menus) {
        if (!fits(description.only, kind))
            continue;
        auto *menu = new QMenu(QString::fromUtf8(description.caption), &window);
        menu->setObjectName(QString::fromLatin1(description.name));
        setHelp(menu->menuAction(), description.help);
        menu->installEventFilter(help);
        items.*description.menu = menu;
        QList<std::pair<QAction *, bool (*)()>> tools;
        for (const Row &row : description.rows) {
            if (!fits(row.only, kind))
                continue;
            QAction *action = nullptr;
            const Handler handler = row.handler;
            const QString caption = QString::fromUtf8(row.caption ? row.caption : "");
            switch (row.type) {
            case RowType::Separator:
                menu->addSeparator();
                continue;
            case RowType::RecentFiles:
                items.mnuFileBar5
                    = MenuItems::addRecentFiles(menu, items.mnuFileMRU, [&window](int index) {
                          window.mnuFileMRU_Click(index);
                      });
                for (QAction *recent : items.mnuFileMRU)
                    setHelp(recent, row.help);
                continue;
            case RowType::Submenu:
                menu->addMenu(items.*row.submenu);
                continue;
            case RowType::Switch:
                action
                    = MenuItems::addSwitch(menu, caption, [handler, &window] { handler(window); });
                break;
            case RowType::Item:
                action = menu->addAction(caption);
                QObject::connect(action, &QAction::triggered, &window,
                                 [handler, &window] { handler(window); });
                break;
            }
            action->setShortcut(row.shortcut);
            setHelp(action, row.help);
            items.*row.item = action;
            if (row.available)
                tools.append({action, row.available});
        }
        // Set at once and again whenever the menu opens, so that an opener plugged in later
        // enables its item.
        enableAvailable(tools);
        QObject::connect(menu, &QMenu::aboutToShow, &window, [tools] { enableAvailable(tools); });
        if (description.opening) {
            const Handler opening = description.opening;
            QObject::connect(menu, &QMenu::aboutToShow, &window,
                             [opening, &window] { opening(window); });
        }
    }
    window.txtText->installEventFilter(&window);
}

QList<QMenu *> DocumentMenus::barMenus(const DocumentWindow &window)
{
    QList<QMenu *> bar;
    for (QMenu *menu : {window.mnuFile, window.mnuEdit, window.mnuEinfuegen, window.mnuFormat,
                        window.mnuView, window.mnuWindow, window.mnuHelp}) {
        if (menu)
            bar.append(menu);
    }
    return bar;
}

int DocumentMenus::helpContext(const QAction *item)
{
    return item ? item->property(HelpContextProperty).toInt() : 0;
}

void DocumentMenus::Arrange(QMdiArea *area, int arrangement)
{
    if (!area)
        return;
    const QRect space = area->viewport()->rect();
    QList<QMdiSubWindow *> open;
    QList<QMdiSubWindow *> minimised;
    for (QMdiSubWindow *frame : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!frame->isVisible())
            continue;
        (frame->isMinimized() ? minimised : open).append(frame);
    }
    switch (arrangement) {
    case 0:
        MdiPlacement::cascade(area);
        return;
    case 1:
    case 2: {
        const int count = static_cast<int>(open.size());
        for (int i = 0; i < count; ++i) {
            QMdiSubWindow *frame = open.at(i);
            if (frame->isMaximized())
                frame->showNormal();
            // 1 stacks full-width rows, 2 puts full-height columns side by side.
            const QRect place = arrangement == 1
                ? QRect(0, space.height() * i / count, space.width(),
                        space.height() * (i + 1) / count - space.height() * i / count)
                : QRect(space.width() * i / count, 0,
                        space.width() * (i + 1) / count - space.width() * i / count,
                        space.height());
            frame->setGeometry(place);
        }
        return;
    }
    case 3: {
        int x = 0;
        int bottom = space.height();
        for (QMdiSubWindow *frame : minimised) {
            const QSize size = frame->size();
            if (x > 0 && x + size.width() > space.width()) {
                x = 0;
                bottom -= size.height();
            }
            frame->move(x, bottom - size.height());
            x += size.width();
        }
        return;
    }
    default:
        return;
    }
}

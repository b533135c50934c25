// The main window: start-up layout, document windows, recent files, position and shutdown.
#include "frame/frmMain.h"

#include "common/AppPaths.h"
#include "common/Databases.h"
#include "common/Fileexist.h"
#include "common/ProgramInfo.h"
#include "document/DocumentTools.h"
#include "document/MenuItems.h"
#include "document/SelectionFeedback.h"
#include "document/frmDocument.h"
#include "document/frmText.h"
#include "format/frmOptions.h"
#include "format/frmTemplate.h"
#include "frame/DatabaseRepair.h"
#include "frame/InterruptedSaves.h"
#include "frame/ToolbarIcons.h"
#include "frame/frmAbout.h"
#include "frame/frmStartup.h"
#include "frame/frmTip.h"
#include "platform/AltLetters.h"
#include "platform/FileSystem.h"
#include "platform/Forms.h"
#include "platform/Help.h"
#include "platform/KeyCodes.h"
#include "platform/KeyFilter.h"
#include "platform/ListChoice.h"
#include "platform/MdiPlacement.h"
#include "platform/MinimisedModal.h"
#include "platform/MsgBox.h"
#include "platform/OuterGeometry.h"
#include "platform/Screen.h"
#include "platform/Settings.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "text/ClipboardFormats.h"
#include "text/RichTextBox.h"
#include "text/TextFileLoad.h"
#include "text/TextFormat.h"
#include "tools/frmBaustein.h"
#include "tools/frmDate.h"
#include "tools/frmImage.h"
#include "tools/frmSearch.h"
#include "tools/frmSonder.h"
#include "tools/frmTastatur.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QShortcut>
#include <functional>

namespace {

const QString untitled = QStringLiteral(" (ungespeichert!)");

QString menuCaption(const QString &text)
{
    QString caption = text;
    return caption.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The smallest main window a stored size gives: menus, toolbars and some text stay usable.
constexpr double minimumWidthTwips = 4500;
constexpr double minimumHeightTwips = 3600;

bool endsInRtf(const QString &path)
{
    return path.right(3).compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0;
}

// A stored window value: a number written as text, else the default.
double storedTwips(const QString &key, double defaultValue)
{
    bool ok = false;
    const double value = GetSetting(key, QString::number(defaultValue)).trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? value : defaultValue;
}

QString twipsText(double value)
{
    return QString::number(static_cast<float>(value), 'g', 7);
}

} // namespace

frmMain::frmMain()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ProgramInfo::title());
    outerGeometry = new OuterGeometry(this);
    new AltLetters(this);
    new MinimisedModal(this);
    area = new QMdiArea(this);
    area->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(area);
    // A window that lies partly outside the area stays reachable.
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area->viewport()->setMouseTracking(true);
    area->viewport()->installEventFilter(this);
    connect(area, &QMdiArea::subWindowActivated, this, &frmMain::subWindowActivated);
    buildMenus();
    buildViewSwitches();
    buildHelpMenu();
    buildToolbars();
    buildStatusBar();
    buildWindowKeys();
    sbStatusBar->setMouseTracking(true);
    sbStatusBar->installEventFilter(this);
    timeClipboard.setInterval(500);
    connect(&timeClipboard, &QTimer::timeout, this, &frmMain::timeClipboard_Timer);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &frmMain::noteClipboardFormats);
    noteClipboardFormats();
    setMainForm(this);
    documentTools().frmOptions = frmOptions::open;
    documentTools().frmSearch = frmSearch::open;
    documentTools().frmDate = frmDate::open;
    documentTools().frmTemplate = frmTemplate::ShowModal;
    documentTools().frmSonder = frmSonder::open;
    documentTools().frmTastatur = frmTastatur::open;
    documentTools().frmImage = frmImage::Show;
    documentTools().frmBaustein = frmBaustein::ShowModal;
    documentTools().frmTip = [] { showTipOfTheDay(QStringLiteral("Keinstart")); };
    documentTools().frmAbout = [] { showAbout(); };
    documentTools().openToolWindows = [] {
        QList<QWidget *> open;
        for (const char *name : {"frmTastatur", "frmSonder"}) {
            if (QWidget *form = Forms::find(QString::fromLatin1(name)))
                open.append(form);
        }
        return open;
    };
    Forms::add(this);
}

frmMain::~frmMain() = default;

// The platform's keys for the document windows, whichever window's menu bar is showing. Closing
// goes through the window's save question.
void frmMain::buildWindowKeys()
{
    const auto key = [this](QKeyCombination keys, const std::function<void()> &action) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, action);
    };
    key(Qt::CTRL | Qt::Key_F6, [this] { area->activateNextSubWindow(); });
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, [this] { area->activatePreviousSubWindow(); });
    key(Qt::CTRL | Qt::Key_F4, [this] {
        if (QMdiSubWindow *current = area->currentSubWindow())
            current->close();
    });
}

void frmMain::buildMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&Datei"));
    MenuItems::addNewAndOpen(mnuFile, mnuFileNew, mnuFileOpen);
    mnuFile->addSeparator();
    mnuFileBar5 = MenuItems::addRecentFiles(mnuFile, mnuFileMRU,
                                            [this](int index) { mnuFileMRU_Click(index); });
    mnuFileExit = mnuFile->addAction(QStringLiteral("&Beenden"));
    connect(mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::OpenDoc);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);

    buildExtrasMenu();
    mnuView = menuBar()->addMenu(QStringLiteral("&Ansicht"));
    mnuViewToolbar = MenuItems::addSwitch(mnuView, QStringLiteral("&Symbolleiste"),
                                          [this] { mnuViewToolbar_Click(); });
    mnuViewStatusBar = MenuItems::addSwitch(mnuView, QStringLiteral("Status&leiste"),
                                            [this] { mnuViewStatusBar_Click(); });
}

void frmMain::buildToolbars()
{
    tbNichts = new Toolbar(QStringLiteral("tbNichts"), this);
    tbRTF = new Toolbar(QStringLiteral("tbRTF"), this);
    tbText = new Toolbar(QStringLiteral("tbText"), this);

    using Style = ToolButton::Style;
    auto button = [](const char *key, Style style, const char *text, const char *description) {
        return Toolbar::Button {key, style, toolbarIcon(QString::fromLatin1(key)),
                                QString::fromUtf8(text), QString::fromUtf8(description)};
    };
    const Toolbar::Button newButton
        = button("New", Style::Normal, "Neu", "Erstellt ein neues Dokument.");
    const Toolbar::Button openButton
        = button("Open", Style::Normal, "Öffnen", "Öffnet ein bestehendes Dokument.");
    const Toolbar::Button fileButtons[]
        = {button("Save", Style::Normal, "Speichern", "Speichert das aktuelle Dokument."),
           button("Print", Style::Normal, "Drucken", "Öffnet den Drucken-Dialog."),
           button("Undo", Style::Normal, "Rückgängig", "Macht die letzte Aktion rückgängig.")};
    const Toolbar::Button clipboardButtons[]
        = {button("Cut", Style::Normal, "Ausschneiden",
                  "Schneidet den markierten Text in die Zwischenablage aus."),
           button("Copy", Style::Normal, "Kopieren",
                  "Kopiert den markierten Text in die Zwischenablage."),
           button("Paste", Style::Normal, "Einfügen",
                  "Fügt den Inhalt der Zwischenablage an der aktuellen Cursorposition ein.")};
    const Toolbar::Button characterButtons[]
        = {button("Bold", Style::Check, "Fett", "Formatiert den markierten Text fett."),
           button("Italic", Style::Check, "Kursiv", "Kursiviert den markierten Text."),
           button("Underline", Style::Check, "Unterstrichen", "Unterstreicht den markierten Text."),
           button("Strikethrough", Style::Check, "Durchgestrichen",
                  "Streicht den markierten Text durch.")};
    const Toolbar::Button alignmentButtons[]
        = {button("Left", Style::Group, "Linksbündig",
                  "Richtet den aktuellen Absatz linksbündig aus."),
           button("Center", Style::Group, "Zentriert", "Zentriert den aktuellen Absatz."),
           button("Right", Style::Group, "Rechtsbündig",
                  "Richtet den aktuellen Absatz rechtsbündig aus.")};
    const Toolbar::Button helpButton
        = button("Help", Style::Normal, "Hilfe-Index", "Ruft den Hilfe-Index auf.");

    tbNichts->addButton(newButton);
    tbNichts->addButton(openButton);
    tbNichts->addSeparatorItem();
    tbNichts->addButton(helpButton);

    for (Toolbar *bar : {tbText, tbRTF}) {
        bar->addButton(newButton);
        bar->addButton(openButton);
        bar->addButton(fileButtons[0]);
        bar->addSeparatorItem();
        bar->addButton(fileButtons[1]);
        bar->addSeparatorItem();
        bar->addButton(fileButtons[2]);
        bar->addSeparatorItem();
        for (const Toolbar::Button &item : clipboardButtons)
            bar->addButton(item);
        bar->addSeparatorItem();
        if (bar == tbRTF) {
            buildFontBoxes();
            bar->addSeparatorItem();
            for (const Toolbar::Button &item : characterButtons)
                bar->addButton(item);
            bar->addSeparatorItem();
            for (const Toolbar::Button &item : alignmentButtons)
                bar->addButton(item);
            bar->addSeparatorItem();
        }
        bar->addButton(helpButton);
    }

    for (Toolbar *bar : {tbNichts, tbRTF, tbText}) {
        addToolBar(bar);
        bar->setVisible(false);
        bar->installEventFilter(this);
        connect(bar, &Toolbar::ButtonClick, this,
                [this, bar](ToolButton *clicked) { toolbarButtonClick(bar, clicked); });
    }
}

void frmMain::buildFontBoxes()
{
    comboSchrift = new QComboBox(tbRTF);
    comboSchrift->setObjectName(QStringLiteral("comboSchrift"));
    comboSchrift->setEditable(false);
    comboSchrift->setToolTip(QStringLiteral("Schriftart"));
    // The name of a font that is not installed stands in the placeholder: shown as any name.
    QPalette names = comboSchrift->palette();
    names.setColor(QPalette::PlaceholderText, names.color(QPalette::ButtonText));
    comboSchrift->setPalette(names);
    ComboGroesse = new QComboBox(tbRTF);
    ComboGroesse->setObjectName(QStringLiteral("ComboGroesse"));
    ComboGroesse->setEditable(true);
    ComboGroesse->setInsertPolicy(QComboBox::NoInsert);
    ComboGroesse->setToolTip(QStringLiteral("Schriftgröße"));
    auto *sizeKeys = new KeyFilter(ComboGroesse->lineEdit(), ComboGroesse);
    sizeKeys->keyDown = [this](const QKeyEvent &key) {
        const int code = KeyCodes::keyCode(key);
        const bool ends = code == KeyCodes::vbKeyReturn || code == KeyCodes::vbKeyEscape;
        if (ends)
            ComboGroesse_KeyDown(code);
        return ends;
    };
    sizeKeys->keyPress = [this](int &keyAscii) {
        if (!ComboGroesse_KeyPress(keyAscii))
            keyAscii = 0;
    };
    // The boxes stand where the placeholder buttons reserve their room.
    tbRTF->addPlaceholder(QStringLiteral("Schriftart"), comboSchrift,
                          QStringLiteral("Schriftarten-Liste"));
    tbRTF->addPlaceholder(QStringLiteral("Schriftgroesse"), ComboGroesse,
                          QStringLiteral("Schriftgrößen-Liste"));
    new ListChoice(comboSchrift);
    new ListChoice(ComboGroesse);
    connect(comboSchrift, &QComboBox::activated, this, &frmMain::comboSchrift_Click);
    connect(ComboGroesse, &QComboBox::activated, this, &frmMain::ComboGroesse_Click);
}

void frmMain::buildStatusBar()
{
    sbStatusBar = new StatusBar(this);
    sbStatusBar->setObjectName(QStringLiteral("sbStatusBar"));
    setStatusBar(sbStatusBar);
    sbStatusBar->addPanel(QStringLiteral("Status"), QString(), QString(), 1);
    sbStatusBar->addPanel(QStringLiteral("Seite"), QString(),
                          QStringLiteral("Seitenzahl-Zeilenzahl-Buchstabenzahl"));
    sbStatusBar->addPanel(QStringLiteral("FEST"), QStringLiteral("FEST"));
    sbStatusBar->addPanel(QStringLiteral("NUM"), QStringLiteral("NUM"));
    sbStatusBar->addPanel(QStringLiteral("EINFG"), QStringLiteral("EINFG"));
    QLabel *date = sbStatusBar->addPanel(QStringLiteral("Datum"), QString());
    QLabel *time = sbStatusBar->addPanel(QStringLiteral("Zeit"), QString());
    auto *clock = new QTimer(this);
    auto showNow = [date, time] {
        const QDateTime now = QDateTime::currentDateTime();
        date->setText(now.toString(QStringLiteral("dd.MM.yyyy")));
        time->setText(now.toString(QStringLiteral("hh:mm")));
    };
    connect(clock, &QTimer::timeout, this, showNow);
    showNow();
    clock->start(1000);
}

void frmMain::MDIForm_Load()
{
    Help::setHelpFile(AppPaths::join(AppPaths::programFolder(), QStringLiteral("velmar.hlp")));
    restorePosition();
    for (int slot = 0; slot < RecentFiles::Count; ++slot) {
        const QString path = GetSetting(RecentFiles::settingsKey(slot));
        if (!path.isEmpty())
            recentFiles.setPath(slot, path);
    }
    showRecentFiles(nullptr);
    comboSchrift->addItems(Screen::Fonts());
    ComboGroesse->addItems(
        {"8", "9", "10", "11", "12", "14", "16", "18", "20", "24", "28", "36", "48", "72", "96"});
    timeClipboard.start();
    show();
    // The frame's size is known once the window shows.
    restorePosition();
    MDIForm_Resize();
    reportInterruptedSaves();
    showStartDialogs();
}

void frmMain::showStartDialogs()
{
    switch (startDialog()) {
    case StartDialog::Tip:
        showTipOfTheDay();
        break;
    case StartDialog::Startup:
        showStartDialog();
        break;
    case StartDialog::None:
        break;
    }
}

frmMain::StartDialog frmMain::startDialog()
{
    if (GetSwitch(QStringLiteral("Tip")))
        return StartDialog::Tip;
    if (GetSwitch(QStringLiteral("Startup")))
        return StartDialog::Startup;
    return StartDialog::None;
}

// The four stored values are the outer window, frame included.
void frmMain::restorePosition()
{
    const int left = Screen::pixelsFromTwipsX(storedTwips(QStringLiteral("MainLeft"), 1000));
    const int top = Screen::pixelsFromTwipsY(storedTwips(QStringLiteral("MainTop"), 1000));
    const int width = Screen::pixelsFromTwipsX(storedTwips(QStringLiteral("MainWidth"), 6500));
    const int height = Screen::pixelsFromTwipsY(storedTwips(QStringLiteral("MainHeight"), 6500));
    const QSize border = frameGeometry().size() - size();
    const QSize smallest = QSize(Screen::pixelsFromTwipsX(minimumWidthTwips),
                                 Screen::pixelsFromTwipsY(minimumHeightTwips))
                               .expandedTo(minimumSizeHint() + border);
    outerGeometry->setFrame(Screen::fitWindow(QRect(left, top, width, height), smallest));
}

void frmMain::savePosition()
{
    if (isMinimized())
        return;
    const QRect frame = frameGeometry();
    SaveSetting(QStringLiteral("MainLeft"), twipsText(Screen::twipsFromPixelsX(frame.x())));
    SaveSetting(QStringLiteral("MainTop"), twipsText(Screen::twipsFromPixelsY(frame.y())));
    SaveSetting(QStringLiteral("MainWidth"), twipsText(Screen::twipsFromPixelsX(frame.width())));
    SaveSetting(QStringLiteral("MainHeight"), twipsText(Screen::twipsFromPixelsY(frame.height())));
}

DocumentWindow *frmMain::ActiveForm() const
{
    QMdiSubWindow *current = area->currentSubWindow();
    return current ? qobject_cast<DocumentWindow *>(current->widget()) : nullptr;
}

void frmMain::showDocument(DocumentWindow *window)
{
    QMdiSubWindow *frame = area->addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->resize(window->size());
    // The frame's system-menu keys follow the desktop theme (Ctrl+W on some, Ctrl+F4 on
    // others); the program's own window keys stand in for them everywhere.
    for (QAction *item : frame->systemMenu()->actions())
        item->setShortcuts({});
    MdiPlacement::placeNew(area, frame);
    window->show();
    area->setActiveSubWindow(frame);
    window->txtText->setFocus();
}

void frmMain::LoadNewText()
{
    ++TextCounter;
    auto *window = new frmText();
    window->setCaption(QStringLiteral("Text %1").arg(TextCounter) + untitled);
    showDocument(window);
}

void frmMain::LoadNewDoc()
{
    ++DocumentCounter;
    auto *window = new frmDocument();
    window->setCaption(QStringLiteral("Dokument %1").arg(DocumentCounter) + untitled);
    showDocument(window);
}

RichTextBox::LoadResult frmMain::openInNewWindow(const QString &path)
{
    const bool richText = endsInRtf(path);
    if (richText)
        LoadNewDoc();
    else
        LoadNewText();
    return ActiveForm()->txtText->LoadFile(path,
                                           richText ? RichTextBox::rtfRTF : RichTextBox::rtfText);
}

void frmMain::reportUnreadable(const QString &path, RichTextBox::LoadResult result)
{
    // A German desktop's digit grouping, whatever the process locale.
    const QLocale locale(QLocale::German, QLocale::Germany);
    if (result == RichTextBox::LoadResult::TooLarge) {
        MsgBox(QStringLiteral("Die Datei \"%1\" ist zu groß (%2 Bytes) und wurde nicht geöffnet. "
                              "Velmar öffnet Dateien bis %3 Bytes.")
                   .arg(path, locale.toString(QFileInfo(path).size()),
                        locale.toString(TextFileLoad::MaxFileBytes)),
               vbCritical, QStringLiteral("Dokument öffnen"));
        return;
    }
    if (result == RichTextBox::LoadResult::TooManyParagraphs) {
        MsgBox(QStringLiteral("Die Datei \"%1\" hat zu viele Zeilen und wurde nicht geöffnet. "
                              "Velmar öffnet Dateien bis %2 Zeilen.")
                   .arg(path, locale.toString(ActiveForm()->txtText->ParagraphLimit())),
               vbCritical, QStringLiteral("Dokument öffnen"));
        return;
    }
    const QString text = result == RichTextBox::LoadResult::FormatError
        ? QStringLiteral("Die Datei \"%1\" ist kein gültiges RTF-Dokument und konnte nicht "
                         "geöffnet werden.")
        : result == RichTextBox::LoadResult::NotRegularFile
        ? QStringLiteral("Die Datei \"%1\" ist keine gewöhnliche Datei und wurde nicht "
                         "geöffnet. Velmar öffnet keine Ordner, Geräte oder Pipes.")
        : QStringLiteral("Die Datei \"%1\" konnte nicht geöffnet werden. Sie ist nicht "
                         "vorhanden oder Sie dürfen sie nicht lesen.");
    MsgBox(text.arg(path), vbCritical, QStringLiteral("Dokument öffnen"));
}

// Caption and path hand-over after a file was loaded.
void frmMain::takeFile(const QString &path)
{
    DocumentWindow *window = ActiveForm();
    window->setCaption(QFileInfo(path).fileName());
    window->Tag = path;
    window->Dateinamenuebertrag();
    // The load replaced the text under an unmoved caret: show the opened text's selection.
    if (auto *richText = qobject_cast<frmDocument *>(window))
        richText->txtText_SelChange();
}

void frmMain::OpenDoc()
{
    dlgCommonDialog.CancelError = true;
    dlgCommonDialog.Flags = CommonDialog::cdlOFNFileMustExist | CommonDialog::cdlOFNNoChangeDir;
    dlgCommonDialog.Filter = QStringLiteral(
        "Alle Dateien (*.*)|*.*|Text-Dateien (*.txt)|*.txt|RTF-Dateien (*.rtf)|*.rtf");
    dlgCommonDialog.FilterIndex = 3;
    if (!dlgCommonDialog.ShowOpen(this))
        return;
    const QString path = dlgCommonDialog.FileName;
    if (path.isEmpty())
        return;
    const RichTextBox::LoadResult result = openInNewWindow(path);
    if (result != RichTextBox::LoadResult::Ok) {
        reportUnreadable(path, result);
        return;
    }
    takeFile(path);
    recentFiles.moveToTop(path);
    showRecentFiles(ActiveForm());
    ActiveForm()->txtText->setFocus();
}

void frmMain::mnuFileMRU_Click(int index)
{
    const QString path = recentFiles.path(index);
    if (path.isEmpty())
        return;
    const RichTextBox::LoadResult result = openInNewWindow(path);
    DocumentWindow *window = ActiveForm();
    if (result == RichTextBox::LoadResult::AccessError) {
        area->currentSubWindow()->close();
        recentFiles.remove(index);
        showRecentFiles(ActiveForm());
        const QString question
            = QStringLiteral("Die gewünschte Datei \"%1\" konnte nicht gefunden werden. "
                             "Wahrscheinlich ist sie gelöscht, verschoben oder umbenannt worden. "
                             "Wollen Sie nach der Datei suchen bzw. eine andere öffnen?")
                  .arg(path);
        if (MsgBox(question, vbYesNo | vbQuestion, QStringLiteral("Fehler")) == vbYes)
            OpenDoc();
        return;
    }
    if (result != RichTextBox::LoadResult::Ok) {
        reportUnreadable(path, result);
        return;
    }
    takeFile(path);
    recentFiles.moveToTop(index);
    showRecentFiles(window);
    window->txtText->setFocus();
}

void frmMain::showRecentFiles(DocumentWindow *window)
{
    for (int i = 0; i < RecentFiles::Count; ++i) {
        const bool filled = recentFiles.isFilled(i);
        const QString caption
            = filled ? RecentFiles::prefix(i) + menuCaption(recentFiles.path(i)) : QString();
        QList<QAction *> items = {mnuFileMRU[i]};
        if (window)
            items.append(window->mnuFileMRU[i]);
        for (QAction *item : items) {
            item->setText(caption);
            item->setData(recentFiles.path(i));
            item->setVisible(filled);
        }
    }
    mnuFileBar5->setVisible(recentFiles.anyFilled());
    if (window)
        window->mnuFileBar5->setVisible(recentFiles.anyFilled());
}

void frmMain::mnuFileNew_Click()
{
    const int answer
        = MsgBox(QStringLiteral("Wollen Sie ein neues RTF-Dokument erstellen? Bei Auswahl von "
                                "\"Nein\" wird ein neues Text-Dokument erstellt."),
                 vbYesNoCancel | vbQuestion, QStringLiteral("Neues Dokument erstellen"));
    if (answer == vbYes)
        LoadNewDoc();
    else if (answer == vbNo)
        LoadNewText();
}

void frmMain::mnuFileExit_Click()
{
    close();
}

void frmMain::mnuViewToolbar_Click()
{
    const bool show = !mnuViewToolbar->isChecked();
    tbNichts->setVisible(show);
    mnuViewToolbar->setChecked(show);
}

void frmMain::mnuViewStatusBar_Click()
{
    const bool show = !mnuViewStatusBar->isChecked();
    sbStatusBar->setVisible(show);
    mnuViewStatusBar->setChecked(show);
}

void frmMain::buildExtrasMenu()
{
    mnuExtras = menuBar()->addMenu(QStringLiteral("&Extras"));
    mnuExtrasBausteinReparieren
        = mnuExtras->addAction(QStringLiteral("&Textbaustein-Verwaltung reparieren"));
    mnuExtrasVorlageReparieren
        = mnuExtras->addAction(QStringLiteral("&Formatvorlagen-Verwaltung reparieren"));
    connect(mnuExtras, &QMenu::aboutToShow, this, &frmMain::mnuExtras_Click);
    connect(mnuExtrasBausteinReparieren, &QAction::triggered, this,
            &frmMain::mnuExtrasBausteinReparieren_Click);
    connect(mnuExtrasVorlageReparieren, &QAction::triggered, this,
            &frmMain::mnuExtrasVorlageReparieren_Click);
}

void frmMain::mnuExtras_Click()
{
    mnuExtrasVorlageReparieren->setEnabled(Fileexist(Databases::formatvorlagePath()));
    mnuExtrasBausteinReparieren->setEnabled(Fileexist(Databases::textbausteinPath()));
}

void frmMain::mnuExtrasBausteinReparieren_Click()
{
    DatabaseRepair::repair(Databases::textbausteine());
}

void frmMain::mnuExtrasVorlageReparieren_Click()
{
    DatabaseRepair::repair(Databases::formatvorlagen());
}

void frmMain::buildViewSwitches()
{
    mnuViewBar1 = mnuView->addSeparator();
    mnuViewTip = MenuItems::addSwitch(
        mnuView, QStringLiteral("&Tip des Tages"), [this] { mnuViewTip_Click(); }, false);
    mnuViewWillkommen = MenuItems::addSwitch(
        mnuView, QStringLiteral("&Willkommens-Bildschirm"), [this] { mnuViewWillkommen_Click(); },
        false);
    connect(mnuView, &QMenu::aboutToShow, this, &frmMain::mnuView_Click);
}

void frmMain::mnuView_Click()
{
    mnuViewWillkommen->setChecked(GetSwitch(QStringLiteral("Startup")));
    mnuViewTip->setChecked(GetSwitch(QStringLiteral("Tip")));
}

void frmMain::mnuViewTip_Click()
{
    const bool show = !mnuViewTip->isChecked();
    mnuViewTip->setChecked(show);
    SaveSwitch(QStringLiteral("Tip"), show);
}

void frmMain::mnuViewWillkommen_Click()
{
    const bool show = !mnuViewWillkommen->isChecked();
    mnuViewWillkommen->setChecked(show);
    SaveSwitch(QStringLiteral("Startup"), show);
}

void frmMain::buildHelpMenu()
{
    mnuHelp = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    mnuHelpContents = mnuHelp->addAction(QStringLiteral("&Inhalt"));
    mnuHelpSearch = mnuHelp->addAction(QStringLiteral("&Suchen in der Hilfe..."));
    mnuHelpBar1 = mnuHelp->addSeparator();
    mnuHelpHelp = mnuHelp->addAction(QStringLiteral("&Hilfe zur Hilfe"));
    mnuHelpBar2 = mnuHelp->addSeparator();
    mnuHelpTip = mnuHelp->addAction(QStringLiteral("&Tip des Tages anzeigen"));
    mnuHelpBar3 = mnuHelp->addSeparator();
    mnuHelpAbout = mnuHelp->addAction(QStringLiteral("In&fo über Velmar³²..."));
    connect(mnuHelpContents, &QAction::triggered, this, &frmMain::mnuHelpContents_Click);
    connect(mnuHelpSearch, &QAction::triggered, this, &frmMain::mnuHelpSearch_Click);
    connect(mnuHelpHelp, &QAction::triggered, this, &frmMain::mnuHelpHelp_Click);
    connect(mnuHelpTip, &QAction::triggered, this, &frmMain::mnuHelpTip_Click);
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
}

void frmMain::runHelp(int command)
{
    const QString file = Help::helpFile();
    if (file.isEmpty())
        MsgBox(Help::noHelpFileText(), vbInformation, windowTitle());
    else
        WinHelp(this, file, command);
    if (DocumentWindow *window = ActiveForm())
        window->txtText->setFocus();
}

void frmMain::mnuHelpContents_Click()
{
    runHelp(HELP_CONTENTS);
}

void frmMain::mnuHelpSearch_Click()
{
    runHelp(HELP_PARTIALKEY);
}

void frmMain::mnuHelpHelp_Click()
{
    runHelp(HELP_HELPONHELP);
}

void frmMain::mnuHelpTip_Click()
{
    showTipOfTheDay(QStringLiteral("Keinstart"));
}

void frmMain::mnuHelpAbout_Click()
{
    showAbout(this);
}

void frmMain::sbStatusBar_MouseMove()
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmMain::subWindowActivated(QMdiSubWindow *frame)
{
    if (!frame) {
        if (area->subWindowList().isEmpty()) {
            lastActivated = nullptr;
            showMenusOf(nullptr);
        }
        return;
    }
    auto *window = qobject_cast<DocumentWindow *>(frame->widget());
    if (!window || window == lastActivated)
        return;
    lastActivated = window;
    showMenusOf(window);
    window->Form_Activate();
}

void frmMain::showMenusOf(DocumentWindow *window)
{
    menuBar()->clear();
    if (!window) {
        menuBar()->addMenu(mnuFile);
        menuBar()->addMenu(mnuExtras);
        menuBar()->addMenu(mnuView);
        menuBar()->addMenu(mnuHelp);
        return;
    }
    for (QMenu *menu : window->menus())
        menuBar()->addMenu(menu);
}

void frmMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        MDIForm_Activate();
}

void frmMain::MDIForm_Activate()
{
    DocumentWindow *window = ActiveForm();
    if (window) {
        window->txtText->setFocus();
        if (auto *richText = qobject_cast<frmDocument *>(window))
            richText->txtText_SelChange();
    }
    if (QWidget *browser = Forms::find(QStringLiteral("frmImage")))
        browser->raise();
    showRecentFiles(window);
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    MDIForm_Resize();
}

void frmMain::MDIForm_Resize()
{
    comboSchrift->setFixedWidth(Screen::pixelsFromTwipsX(1932));
    ComboGroesse->setFixedWidth(Screen::pixelsFromTwipsX(732));
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove
        && (watched == area->viewport() || qobject_cast<Toolbar *>(watched)))
        MDIForm_MouseMove();
    if (watched == sbStatusBar && event->type() == QEvent::MouseMove)
        sbStatusBar_MouseMove();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::MDIForm_MouseMove()
{
    Screen::setMousePointer(Screen::vbDefault);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // The first window whose save question is cancelled keeps the program running.
    for (QMdiSubWindow *frame : area->subWindowList()) {
        if (!frame->close()) {
            event->ignore();
            return;
        }
    }
    MDIForm_Unload();
    event->accept();
}

void frmMain::MDIForm_Unload()
{
    for (const QString &path : {Databases::formatvorlagePath(), Databases::textbausteinPath()}) {
        if (Fileexist(path))
            FileSystem::SetAttr(path, FileSystem::vbHidden);
    }
    savePosition();
    // An emptied slot clears its key, so a removed file does not come back at the next start.
    for (int slot = 0; slot < RecentFiles::Count; ++slot) {
        if (recentFiles.isFilled(slot))
            SaveSetting(RecentFiles::settingsKey(slot), recentFiles.path(slot));
        else
            DeleteSetting(RecentFiles::settingsKey(slot));
    }
}

// Toolbars, font boxes and clipboard watch: every command acts on the active document.

void frmMain::toolbarButtonClick(Toolbar *bar, ToolButton *button)
{
    if (bar == tbNichts)
        tbNichts_ButtonClick(button);
    else if (bar == tbRTF)
        tbRTF_ButtonClick(button);
    else
        tbText_ButtonClick(button);
}

namespace {

template<class Form>
struct ButtonCommand
{
    const char *key;
    void (Form::*command)();
};

// The toolbars' buttons run the commands of their menu items.
const ButtonCommand<frmMain> frameCommands[] = {
    {"New", &frmMain::mnuFileNew_Click},
    {"Open", &frmMain::OpenDoc},
    {"Help", &frmMain::mnuHelpContents_Click},
};

// On the active document window; each gives the focus back to the text as its item does.
const ButtonCommand<DocumentWindow> windowCommands[] = {
    {"Save", &DocumentWindow::mnuFileSave_Click}, {"Print", &DocumentWindow::mnuFilePrint_Click},
    {"Undo", &DocumentWindow::mnuEditUndo_Click}, {"Cut", &DocumentWindow::mnuEditCut_Click},
    {"Copy", &DocumentWindow::mnuEditCopy_Click}, {"Paste", &DocumentWindow::mnuEditPaste_Click},
};

template<class Form, std::size_t Count>
bool runCommand(const ButtonCommand<Form> (&commands)[Count], Form &form, const QString &key)
{
    for (const ButtonCommand<Form> &entry : commands) {
        if (key == QLatin1String(entry.key)) {
            (form.*entry.command)();
            return true;
        }
    }
    return false;
}

} // namespace

bool frmMain::frameCommand(const QString &key)
{
    return runCommand(frameCommands, *this, key);
}

bool frmMain::windowCommand(DocumentWindow *window, const QString &key)
{
    return runCommand(windowCommands, *window, key);
}

void frmMain::tbNichts_ButtonClick(ToolButton *button)
{
    frameCommand(button->Key());
}

void frmMain::tbRTF_ButtonClick(ToolButton *button)
{
    const QString key = button->Key();
    if (frameCommand(key))
        return;
    auto *window = qobject_cast<frmDocument *>(ActiveForm());
    if (!window || windowCommand(window, key))
        return;
    if (button->buttonStyle() == ToolButton::Check)
        toggleCharacter(button);
    else if (button->buttonStyle() == ToolButton::Group)
        setAlignment(button);
}

void frmMain::tbText_ButtonClick(ToolButton *button)
{
    const QString key = button->Key();
    if (frameCommand(key))
        return;
    if (DocumentWindow *window = ActiveForm())
        windowCommand(window, key);
}

void frmMain::toggleCharacter(ToolButton *button)
{
    const bool on = button->Value() == 1;
    button->setMixedState(false);
    button->setValue(on ? 1 : 0);
    RichTextBox *text = ActiveForm()->txtText;
    const QString key = button->Key();
    if (key == QLatin1String("Bold"))
        text->setSelBold(on);
    else if (key == QLatin1String("Italic"))
        text->setSelItalic(on);
    else if (key == QLatin1String("Underline"))
        text->setSelUnderline(on);
    else
        text->setSelStrikeThru(on);
    focusText();
}

void frmMain::setAlignment(ToolButton *button)
{
    const QString key = button->Key();
    const int alignment = key == QLatin1String("Left") ? RichTextBox::rtfLeft
        : key == QLatin1String("Right")                ? RichTextBox::rtfRight
                                                       : RichTextBox::rtfCenter;
    ActiveForm()->txtText->setSelAlignment(alignment);
    focusText();
    for (const char *group : {"Left", "Center", "Right"}) {
        ToolButton *member = tbRTF->Buttons(QString::fromLatin1(group));
        member->setMixedState(false);
        member->setValue(member == button ? 1 : 0);
    }
}

void frmMain::focusText()
{
    if (DocumentWindow *window = ActiveForm())
        window->txtText->setFocus();
}

void frmMain::comboSchrift_Click()
{
    auto *window = qobject_cast<frmDocument *>(ActiveForm());
    if (!window || comboSchrift->currentIndex() < 0)
        return;
    window->txtText->setSelFontName(comboSchrift->currentText());
    focusText();
}

void frmMain::ComboGroesse_Click()
{
    auto *window = qobject_cast<frmDocument *>(ActiveForm());
    if (!window || ComboGroesse->currentIndex() < 0)
        return;
    window->txtText->setSelFontSize(ComboGroesse->currentText().toDouble());
    focusText();
}

bool frmMain::ComboGroesse_KeyPress(int keyAscii)
{
    const bool passes = (keyAscii >= '0' && keyAscii <= '9') || keyAscii == KeyCodes::vbKeyBack
        || keyAscii == KeyCodes::vbKeyReturn || keyAscii == KeyCodes::vbKeyEscape;
    if (!passes)
        Beep();
    return passes;
}

void frmMain::ComboGroesse_KeyDown(int keyCode)
{
    auto *window = qobject_cast<frmDocument *>(ActiveForm());
    if (!window || (keyCode != KeyCodes::vbKeyReturn && keyCode != KeyCodes::vbKeyEscape))
        return;
    bool isNumber = false;
    const double size = ComboGroesse->currentText().toDouble(&isNumber);
    // A size of 0 is no size at all.
    if (keyCode == KeyCodes::vbKeyReturn && isNumber && size > 0
        && size <= TextFormat::maxFontPoints) {
        window->txtText->setSelFontSize(size);
        focusText();
        return;
    }
    // Restored first: the box would choose a list entry matching the typed text as it loses
    // the focus.
    restoreSizeBox();
    focusText();
}

void frmMain::restoreSizeBox()
{
    if (auto *window = qobject_cast<frmDocument *>(ActiveForm()))
        SelectionFeedback::showFontSize(ComboGroesse, window->txtText->SelFontSize());
}

void frmMain::timeClipboard_Timer()
{
    tbRTF->Buttons(QStringLiteral("Paste"))->setEnabled(clipboardHasText || clipboardHasRtf);
    tbText->Buttons(QStringLiteral("Paste"))->setEnabled(clipboardHasText);
    DocumentWindow *window = ActiveForm();
    const bool undo = window && window->txtText->canUndo();
    tbText->Buttons(QStringLiteral("Undo"))->setEnabled(undo);
    tbRTF->Buttons(QStringLiteral("Undo"))->setEnabled(undo);
}

void frmMain::noteClipboardFormats()
{
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    clipboardHasText = data && data->hasText();
    clipboardHasRtf = false;
    if (data) {
        for (const QString &format : ClipboardFormats::rtfFormats())
            clipboardHasRtf = clipboardHasRtf || data->hasFormat(format);
    }
}

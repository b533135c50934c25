// The help viewer window on QTextBrowser.
#include "platform/HelpViewer.h"

#include "common/ProgramInfo.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int contextRole = Qt::UserRole;
}

HelpViewer::HelpViewer(const QString &path, HelpFile file)
    : QWidget(nullptr, Qt::Window), filePath(path), help(std::move(file))
{
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    // An open help window does not keep the program running after the main window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(help.title().isEmpty() ? ProgramInfo::title() + QStringLiteral(" Hilfe")
                                          : help.title());
    buildLayout();
    fillContents();
    fillIndex(QString());
    resize(760, 520);
}

void HelpViewer::buildLayout()
{
    cmdInhalt = new QPushButton(QStringLiteral("&Inhalt"), this);
    cmdIndex = new QPushButton(QStringLiteral("&Suchen"), this);
    cmdZurueck = new QPushButton(QStringLiteral("&Zurück"), this);
    cmdHilfeZurHilfe = new QPushButton(QStringLiteral("&Hilfe zur Hilfe"), this);
    cmdZurueck->setEnabled(false);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {cmdInhalt, cmdIndex, cmdZurueck, cmdHilfeZurHilfe})
        buttons->addWidget(button);
    buttons->addStretch();

    tabs = new QTabWidget(this);
    lstInhalt = new QListWidget(tabs);
    tabs->addTab(lstInhalt, QStringLiteral("Inhalt"));
    auto *searchPage = new QWidget(tabs);
    auto *searchLayout = new QVBoxLayout(searchPage);
    auto *lblSuchen
        = new QLabel(QStringLiteral("&Geben Sie den Anfang des Suchworts ein:"), searchPage);
    txtSuchen = new QLineEdit(searchPage);
    lblSuchen->setBuddy(txtSuchen);
    lstIndex = new QListWidget(searchPage);
    searchLayout->addWidget(lblSuchen);
    searchLayout->addWidget(txtSuchen);
    searchLayout->addWidget(lstIndex);
    tabs->addTab(searchPage, QStringLiteral("Suchen"));

    browser = new QTextBrowser(this);
    browser->setOpenLinks(false);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tabs);
    splitter->addWidget(browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);

    connect(cmdInhalt, &QPushButton::clicked, this, &HelpViewer::showContents);
    connect(cmdIndex, &QPushButton::clicked, this, [this] { showSearch(txtSuchen->text()); });
    connect(cmdZurueck, &QPushButton::clicked, this, &HelpViewer::goBack);
    connect(cmdHilfeZurHilfe, &QPushButton::clicked, this, &HelpViewer::showHelpOnHelp);
    connect(lstInhalt, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showTopic(item->data(contextRole).toInt()); });
    connect(lstInhalt, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showTopic(item->data(contextRole).toInt()); });
    connect(txtSuchen, &QLineEdit::textEdited, this, &HelpViewer::fillIndex);
    connect(txtSuchen, &QLineEdit::returnPressed, this, &HelpViewer::openIndexEntry);
    connect(lstIndex, &QListWidget::itemActivated, this, &HelpViewer::openIndexEntry);
    connect(lstIndex, &QListWidget::itemClicked, this, &HelpViewer::openIndexEntry);
    connect(browser, &QTextBrowser::anchorClicked, this, &HelpViewer::linkClicked);
}

void HelpViewer::fillContents()
{
    for (const HelpTopic &topic : help.topics()) {
        auto *item = new QListWidgetItem(topic.title, lstInhalt);
        item->setData(contextRole, topic.context);
    }
}

void HelpViewer::fillIndex(const QString &key)
{
    lstIndex->clear();
    const QList<HelpFile::IndexEntry> entries = help.matches(key);
    for (const HelpFile::IndexEntry &entry : entries) {
        // A keyword of several topics names each topic beside it.
        const bool shared = std::count_if(entries.cbegin(), entries.cend(),
                                          [&entry](const HelpFile::IndexEntry &other) {
                                              return other.keyword == entry.keyword;
                                          })
            > 1;
        const HelpTopic *topic = help.topic(entry.context);
        const QString text = shared && topic
            ? QStringLiteral("%1 – %2").arg(entry.keyword, topic->title)
            : entry.keyword;
        auto *item = new QListWidgetItem(text, lstIndex);
        item->setData(contextRole, entry.context);
    }
    if (lstIndex->count() > 0)
        lstIndex->setCurrentRow(0);
}

void HelpViewer::openIndexEntry()
{
    if (QListWidgetItem *item = lstIndex->currentItem())
        showTopic(item->data(contextRole).toInt());
}

void HelpViewer::linkClicked(const QUrl &url)
{
    if (url.scheme() == QLatin1String("topic"))
        showTopic(url.path().toInt());
}

void HelpViewer::showTopic(int context)
{
    if (shownContext != 0 && shownContext != context) {
        history.append(shownContext);
        cmdZurueck->setEnabled(true);
    }
    display(context);
}

void HelpViewer::display(int context)
{
    shownContext = context;
    browser->setHtml(help.html(context));
    for (int row = 0; row < lstInhalt->count(); ++row) {
        if (lstInhalt->item(row)->data(contextRole).toInt() == context)
            lstInhalt->setCurrentRow(row);
    }
}

void HelpViewer::goBack()
{
    if (history.isEmpty())
        return;
    display(history.takeLast());
    cmdZurueck->setEnabled(!history.isEmpty());
}

void HelpViewer::showContents()
{
    tabs->setCurrentIndex(0);
    const int contents = help.contentsContext() != 0 ? help.contentsContext()
        : help.topics().isEmpty()                    ? 0
                                                     : help.topics().first().context;
    if (contents != 0)
        showTopic(contents);
}

void HelpViewer::showHelpOnHelp()
{
    if (help.helpOnHelpContext() != 0)
        showTopic(help.helpOnHelpContext());
}

void HelpViewer::showSearch(const QString &key)
{
    tabs->setCurrentIndex(1);
    txtSuchen->setText(key);
    fillIndex(key);
    txtSuchen->setFocus();
    if (key.trimmed().isEmpty())
        return;
    const QList<HelpFile::IndexEntry> found = help.matches(key);
    const bool oneTopic = !found.isEmpty()
        && std::all_of(found.cbegin(), found.cend(), [&found](const HelpFile::IndexEntry &e) {
               return e.context == found.first().context;
           });
    if (oneTopic)
        showTopic(found.first().context);
}

bool HelpViewer::event(QEvent *event)
{
    // The help was a program of its own, which no dialog of ours blocked: a modal dialog that
    // opens takes this window along as its transient child, which the modality lets through.
    if (event->type() == QEvent::WindowBlocked) {
        QWindow *modal = QGuiApplication::modalWindow();
        QWindow *own = windowHandle();
        // A dialog opened from this window stays its child; no circle of transient parents.
        if (modal && own && modal != own && !own->isAncestorOf(modal, QWindow::IncludeTransients))
            own->setTransientParent(modal);
    }
    return QWidget::event(event);
}

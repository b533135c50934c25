// The help viewer: a window on one help file with its contents, its keyword index and the
// topic pages, linked to each other.
#pragma once

#include "platform/HelpFile.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTextBrowser;
class QUrl;

class HelpViewer : public QWidget
{
    Q_OBJECT
public:
    HelpViewer(const QString &path, HelpFile help);

    QString path() const { return filePath; }
    const HelpFile &file() const { return help; }

    void showTopic(int context);
    void showContents();
    void showHelpOnHelp();
    // Opens the index with the key typed in; a key that names one topic opens it at once.
    void showSearch(const QString &key);

    // The topic on show, 0 for none.
    int currentContext() const { return shownContext; }

    QTabWidget *tabs = nullptr;
    QListWidget *lstInhalt = nullptr;
    QLineEdit *txtSuchen = nullptr;
    QListWidget *lstIndex = nullptr;
    QTextBrowser *browser = nullptr;
    QPushButton *cmdInhalt = nullptr;
    QPushButton *cmdIndex = nullptr;
    QPushButton *cmdZurueck = nullptr;
    QPushButton *cmdHilfeZurHilfe = nullptr;

protected:
    bool event(QEvent *event) override;

private:
    void buildLayout();
    void fillContents();
    void fillIndex(const QString &key);
    void openIndexEntry();
    void linkClicked(const QUrl &url);
    void goBack();
    void display(int context);

    QString filePath;
    HelpFile help;
    int shownContext = 0;
    QList<int> history;
};

// Shared behaviour of the rich-text and the plain-text window.
#include "document/DocumentWindow.h"

#include "common/DateFormat.h"

#include "data/Database.h"
#include "document/DocumentHost.h"
#include "platform/ControlMouse.h"
#include "platform/FileSystem.h"
#include "platform/FileWrite.h"
#include "platform/Forms.h"
#include "platform/KeyCodes.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/StatusBar.h"
#include "platform/Toolbar.h"
#include "text/RichTextBox.h"

#include "document/DocumentTools.h"
#include "document/MenuItems.h"
#include "document/SelectionFeedback.h"
#include "document/TextBlocks.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

DocumentWindow::DocumentWindow(const QString &formName, const SaveRules &saveRules, QWidget *parent)
    : QWidget(parent), rules(saveRules)
{
    setObjectName(formName);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMouseTracking(true);
    txtText = new RichTextBox(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtDruck = new RichTextBox(this);
    txtDruck->setObjectName(QStringLiteral("txtDruck"));
    txtDruck->hide();
    Forms::add(this);
}

DocumentWindow::~DocumentWindow() = default;

QList<QMenu *> DocumentWindow::menus() const
{
    return DocumentMenus::barMenus(*this);
}

QString DocumentWindow::Caption() const
{
    return windowTitle();
}

void DocumentWindow::setCaption(const QString &caption)
{
    setWindowTitle(caption);
}

void DocumentWindow::Dateinamenuebertrag()
{
    Dateiname = Tag;
    Tag.clear();
}

void DocumentWindow::watchEditControl()
{
    connect(txtText, &RichTextBox::KeyDown, this, &DocumentWindow::txtText_KeyDown);
    connect(txtText, &RichTextBox::KeyPress, this, &DocumentWindow::txtText_KeyPress);
    connect(txtText, &RichTextBox::MouseDown, this,
            [this](int button, int, double, double) { txtText_MouseDown(button); });
    connect(txtText, &RichTextBox::MouseMove, this, &DocumentWindow::Form_MouseMove);
    // Format changes count as much as typing: no edit is ever closed away unasked.
    connect(txtText, &RichTextBox::Edited, this, &DocumentWindow::txtText_Change);
    connect(txtText, &RichTextBox::LaidOutFurther, this, [this] {
        if (positionWaits && MainForm()->ActiveForm() == this)
            showPosition();
    });
}

void DocumentWindow::txtText_KeyPress(int)
{
    if (Tag != QLatin1String("Geaendert"))
        Tag = QStringLiteral("T");
}

void DocumentWindow::txtText_Change()
{
    // Between loading a file and Dateinamenuebertrag the flag holds the path.
    if (Tag.isEmpty() || Tag == QLatin1String("T") || Tag == QLatin1String("Gespeichert"))
        Tag = QStringLiteral("Geaendert");
}

void DocumentWindow::txtText_KeyDown(int keyCode, int shift)
{
    constexpr int ShiftCtrl = ControlMouse::vbShiftMask | ControlMouse::vbCtrlMask;
    if (keyCode == 'A' && shift == ShiftCtrl)
        selectSentence();
    else if ((keyCode == 'V' || keyCode == 'Z') && shift == ControlMouse::vbCtrlMask)
        TastenkuerzelGedrueckt = true;
    else if (keyCode == KeyCodes::vbKeyF3)
        expandTextBlock();
}

void DocumentWindow::txtText_MouseDown(int button)
{
    if (button == ControlMouse::vbRightButton)
        mnuPopup->popup(QCursor::pos());
}

void DocumentWindow::selectSentence()
{
    const QString marks = QStringLiteral(".:?!");
    txtText->UpTo(marks, false, false);
    if (txtText->SelStart() > 0)
        txtText->setSelStart(txtText->SelStart() + 1);
    txtText->Span(marks, true, true);
    if (txtText->SelStart() + txtText->SelLength() < txtText->Text().size())
        txtText->setSelLength(txtText->SelLength() + 1);
}

void DocumentWindow::expandTextBlock()
{
    txtText->Span(QStringLiteral(" "), false, true);
    bool unreadable = false;
    if (const std::optional<QString> block
        = TextBlocks::lookUp(textBlockDatabase, txtText->SelText(), &unreadable)) {
        txtText->setSelText(*block);
        return;
    }
    txtText->setSelStart(txtText->SelStart() + txtText->SelLength());
    if (!unreadable || textBlocksReported) {
        Beep();
        return;
    }
    // Said once per window; the file is left as it is for the user or the repair to mend.
    textBlocksReported = true;
    const QString reason = QFileInfo::exists(textBlockDatabase)
        ? QStringLiteral("ist beschädigt oder keine Textbaustein-Datenbank")
        : QStringLiteral("ist nicht vorhanden");
    MsgBox(QStringLiteral("Die Textbausteine können nicht gelesen werden. Die Datei \"%1\" %2.")
               .arg(QDir::toNativeSeparators(textBlockDatabase), reason),
           vbCritical, QStringLiteral("Textbausteine"));
}

void DocumentWindow::mnuFileSave_Click()
{
    save();
    txtText->setFocus();
}

bool DocumentWindow::isRichTextName(const QString &path) const
{
    return path.right(3).compare(QLatin1String("rtf"), rules.rtfTest) == 0;
}

bool DocumentWindow::save()
{
    if (Caption().endsWith(QLatin1String(" (ungespeichert!)")))
        return mnuFileSaveAs_Click();
    if (!writeFile(Dateiname, isRichTextName(Dateiname)))
        return false;
    afterSave();
    return true;
}

bool DocumentWindow::mnuFileSaveAs_Click()
{
    CommonDialog &dialog = MainForm()->dlgCommonDialog;
    for (;;) {
        dialog.CancelError = true;
        dialog.Flags = CommonDialog::cdlOFNOverwritePrompt | CommonDialog::cdlOFNNoChangeDir
            | CommonDialog::cdlOFNPathMustExist;
        dialog.Filter = QStringLiteral(
            "Alle Dateien (*.*)|*.*|Text-Dateien (*.txt)|*.txt|RTF-Dateien (*.rtf)|*.rtf");
        dialog.FilterIndex = rules.filterIndex;
        if (!dialog.ShowSave(this) || dialog.FileName.isEmpty())
            return false;
        QString name = dialog.FileName;
        if (name.size() < 4 || name.at(name.size() - 4) != QLatin1Char('.'))
            name += rules.extension;
        const bool richText = isRichTextName(name);
        if (!richText && rules.warnBeforePlainText
            && MsgBox(QStringLiteral("Bei Speicherung als Nur-Text gehen RTF-Formatierungen "
                                     "verloren. Fortfahren?"),
                      vbOKCancel | vbExclamation, QStringLiteral("Dokument speichern"))
                == vbCancel)
            continue;
        // The dialog asked about the name it was given; the added extension makes another.
        if (name != dialog.FileName && QFileInfo::exists(name)
            && MsgBox(QStringLiteral("Die Datei \"%1\" ist bereits vorhanden. Möchten Sie sie "
                                     "ersetzen?")
                          .arg(name),
                      vbYesNo | vbExclamation, QStringLiteral("Dokument speichern"))
                == vbNo)
            continue;
        if (!writeFile(name, richText))
            return false;
        setCaption(QFileInfo(name).fileName());
        Dateiname = name;
        afterSave();
        return true;
    }
}

bool DocumentWindow::writeFile(const QString &path, bool richText)
{
    const FileWrite::Result saved
        = txtText->SaveFile(path, richText ? RichTextBox::rtfRTF : RichTextBox::rtfText);
    if (saved)
        return true;
    if (!saved.damagedFilesCopy.isEmpty()) {
        MsgBox(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden und ist jetzt "
                              "beschädigt: Weder ihr alter noch ihr neuer Inhalt ließ sich "
                              "vollständig hineinschreiben. Ihr alter Inhalt ist vollständig in "
                              "dieser Kopie erhalten:\n\n%2\n\nStellen Sie die Datei aus der "
                              "Kopie wieder her, bevor Sie sie weiter verwenden.")
                   .arg(path, saved.damagedFilesCopy),
               vbCritical, QStringLiteral("Dokument speichern"));
        return false;
    }
    MsgBox(QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden. Der Ordner fehlt, "
                          "Sie dürfen dort nicht schreiben oder der Datenträger ist voll.")
               .arg(path),
           vbCritical, QStringLiteral("Dokument speichern"));
    return false;
}

void DocumentWindow::mnuFilePrint_Click()
{
    CommonDialog &dialog = MainForm()->dlgCommonDialog;
    dialog.CancelError = true;
    dialog.Flags = 0x100100
        | (txtText->SelLength() == 0 ? CommonDialog::cdlPDNoSelection
                                     : CommonDialog::cdlPDSelection);
    dialog.Copies = 1;
    if (!dialog.ShowPrinter(this))
        return;
    if (!print(dialog.printer(), dialog.Flags & CommonDialog::cdlPDSelection))
        MsgBox(QStringLiteral("Das Dokument konnte nicht gedruckt werden. Der Drucker ist nicht "
                              "bereit, oder die Druckdatei konnte nicht geschrieben werden."),
               vbCritical, QStringLiteral("Drucken"));
}

void DocumentWindow::mnuFilePrintSetup_Click()
{
    CommonDialog &dialog = MainForm()->dlgCommonDialog;
    dialog.Flags = 0x40;
    dialog.ShowPrinterSetup(this);
}

void DocumentWindow::mnuFileProperties_Click()
{
    // A German desktop's formats, whatever the process locale.
    const QLocale locale(QLocale::German, QLocale::Germany);
    auto number = [&locale](qint64 value) { return locale.toString(value); };
    QString folder = QStringLiteral("Noch nicht gespeichert.");
    qint64 size = 0;
    QString date = QStringLiteral("--");
    QString attributes;
    if (!Dateiname.isEmpty()) {
        const QFileInfo file(Dateiname);
        if (!file.exists()) {
            MsgBox(QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden. Sie wurde "
                                  "gelöscht, verschoben oder umbenannt.")
                       .arg(Dateiname),
                   vbExclamation, QStringLiteral("Dokumenteigenschaften"));
            return;
        }
        folder = Dateiname.left(Dateiname.lastIndexOf(QDir::separator()));
        size = file.size();
        date = DateFormat::generalDate(file.lastModified());
        attributes = FileSystem::attributeLetters(FileSystem::GetAttr(Dateiname));
    }
    const int characters = static_cast<int>(txtText->Text().size());
    const QStringList lines = {
        QStringLiteral("Dateiname: ") + Caption(),
        QStringLiteral("Speicherort: ") + folder,
        QStringLiteral("Größe auf Datenträger: ") + number(size)
            + (size == 1 ? QStringLiteral(" Byte") : QStringLiteral(" Bytes")),
        QStringLiteral("Letzter Speicherzugriff: ") + date,
        QStringLiteral("Dateiattribute: ") + attributes,
        QStringLiteral("Dateityp: ") + fileTypeText(),
        QStringLiteral("Anzahl der Zeichen: ") + number(characters),
        QStringLiteral("Anzahl der Zeilen: ") + number(txtText->GetLineFromChar(characters) + 1),
    };
    MsgBox(lines.join(QStringLiteral("\r\n")), vbInformation,
           QStringLiteral("Dokumenteigenschaften"));
}

void DocumentWindow::showPosition()
{
    // Behind a large paste the position waits for the layout to reach the caret.
    positionWaits = txtText->SelLength() == 0 && !txtText->isLaidOutAt(txtText->SelStart());
    if (!positionWaits)
        MainForm()
            ->sbStatusBar->Panels(QStringLiteral("Seite"))
            ->setText(SelectionFeedback::positionText(*txtText));
}

void DocumentWindow::showPositionAndClipboard()
{
    showPosition();
    const bool selection = txtText->SelLength() != 0;
    ownToolbar()->Buttons(QStringLiteral("Copy"))->setEnabled(selection);
    ownToolbar()->Buttons(QStringLiteral("Cut"))->setEnabled(selection);
}

void DocumentWindow::afterSave()
{
    DocumentHost *host = MainForm();
    host->recentFiles.moveToTop(Dateiname);
    host->showRecentFiles(this);
    Tag = QStringLiteral("Gespeichert");
}

bool DocumentWindow::isModified() const
{
    return Tag == QLatin1String("T") || Tag == QLatin1String("Geaendert");
}

void DocumentWindow::loadCommon()
{
    resize(Screen::pixelsFromTwipsX(5000), Screen::pixelsFromTwipsY(5000));
    // A database that cannot be made or read does not keep the window from opening; F3 says so.
    Database::ensure(Databases::textbausteine());
    textBlockDatabase = Databases::textbausteinPath();
}

void DocumentWindow::Form_Activate()
{
    DocumentHost *host = MainForm();
    host->tbNichts->setVisible(false);
    const bool toolbarOn = host->mnuViewToolbar->isChecked();
    mnuViewToolbar->setChecked(toolbarOn);
    mnuPopupViewToolbar->setChecked(toolbarOn);
    for (Toolbar *bar : {host->tbRTF, host->tbText})
        bar->setVisible(bar == ownToolbar() && toolbarOn);
    const bool statusOn = host->mnuViewStatusBar->isChecked();
    mnuViewStatusBar->setChecked(statusOn);
    mnuPopupViewStatusBar->setChecked(statusOn);
    host->showRecentFiles(this);
}

void DocumentWindow::mnuFileMRU_Click(int index)
{
    MainForm()->mnuFileMRU_Click(index);
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void DocumentWindow::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    Form_MouseMove();
}

void DocumentWindow::Form_MouseMove()
{
    Screen::setMousePointer(Screen::vbDefault);
}

QMdiArea *DocumentWindow::frameArea() const
{
    auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget());
    return frame ? frame->mdiArea() : nullptr;
}

void DocumentWindow::closeWindow()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    if (unloaded) {
        event->accept();
        return;
    }
    if (Form_QueryUnload()) {
        event->ignore();
        return;
    }
    Form_Unload();
    unloaded = true;
    event->accept();
}

bool DocumentWindow::Form_QueryUnload()
{
    if (!isModified())
        return false;
    const QString question
        = QStringLiteral("Der Text im Fenster \"%1\" wurde geändert. Möchten Sie "
                         "die Datei speichern?")
              .arg(Caption());
    const int answer = MsgBox(question, vbYesNoCancel | vbQuestion,
                              QStringLiteral("Dokument %1 schließen?").arg(Caption()));
    if (answer == vbCancel)
        return true;
    // Only a save that went through may discard the window.
    if (answer == vbYes)
        return !save();
    return false;
}

void DocumentWindow::Form_Unload()
{
    const QList<QWidget *> toolWindows
        = documentTools().openToolWindows ? documentTools().openToolWindows() : QList<QWidget *>();
    // This is the last document window when only the main window and the tool windows are left.
    if (Forms::count() <= 2 + toolWindows.size()) {
        for (QWidget *toolWindow : toolWindows)
            Forms::unload(toolWindow);
    }
    // The toolbars follow the document windows alone: another tool window open does not
    // keep a document toolbar on show without a document.
    bool otherDocument = false;
    for (QWidget *form : Forms::loaded()) {
        if (form != this && qobject_cast<DocumentWindow *>(form))
            otherDocument = true;
    }
    if (!otherDocument) {
        DocumentHost *host = MainForm();
        host->tbNichts->setVisible(host->mnuViewToolbar->isChecked());
        host->tbRTF->setVisible(false);
        host->tbText->setVisible(false);
    }
    // The frame destroys the window later; from here on it no longer counts as loaded.
    Forms::remove(this);
}

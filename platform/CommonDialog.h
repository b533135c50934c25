// The common dialog: open, save, print and print set-up. Each Show* returns false when the
// user cancelled; the caller then leaves quietly.
#pragma once

#include <QString>
#include <memory>

class QFileDialog;
class QPrinter;
class QWidget;

class CommonDialog
{
public:
    enum Flags : int {
        cdlOFNOverwritePrompt = 0x2,
        cdlOFNHideReadOnly = 0x4,
        cdlOFNNoChangeDir = 0x8,
        cdlOFNPathMustExist = 0x800,
        cdlOFNFileMustExist = 0x1000,
        cdlPDAllPages = 0x0,
        cdlPDSelection = 0x1,
        cdlPDNoSelection = 0x4,
    };

    CommonDialog();
    ~CommonDialog();

    QString Filter; // "label|pattern|label|pattern..."
    int FilterIndex = 1;
    int Flags = 0;
    QString FileName;
    QString DialogTitle;
    bool CancelError = true;
    int Copies = 1;

    bool ShowOpen(QWidget *parent = nullptr);
    bool ShowSave(QWidget *parent = nullptr);
    // On success the printer is set up as chosen; Flags tell all or selection.
    bool ShowPrinter(QWidget *parent = nullptr);
    bool ShowPrinterSetup(QWidget *parent = nullptr);

    QPrinter &printer();

    // Gives a file dialog the filter, filter index, flags and file name, as ShowOpen and
    // ShowSave show it.
    void setUpFileDialog(QFileDialog &dialog, bool save) const;
    // Reads the chosen file and filter entry back into FileName and FilterIndex.
    void takeChoice(const QFileDialog &dialog);

private:
    bool showFileDialog(bool save, QWidget *parent);
    std::unique_ptr<QPrinter> printerDevice;
};

// File dialogs on QFileDialog, printing on QPrintDialog and QPageSetupDialog; every showing
// goes through the modal seam.
#include "platform/CommonDialog.h"

#include "platform/Modal.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// "Alle Dateien (*.*)|*.*|..." to Qt's name filters; "*.*" becomes "*" so that names without
// a dot show too.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(parts.at(i) + QLatin1String(" [") + pattern + QLatin1Char(']'));
    }
    return filters;
}

} // namespace

CommonDialog::CommonDialog() = default;
CommonDialog::~CommonDialog() = default;

QPrinter &CommonDialog::printer()
{
    if (!printerDevice)
        printerDevice = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printerDevice;
}

bool CommonDialog::showFileDialog(bool save, QWidget *parent)
{
    if (Modal::isScripted()) {
        Modal::Request request;
        request.kind = save ? Modal::Kind::FileSave : Modal::Kind::FileOpen;
        request.text = Filter;
        request.title = DialogTitle;
        const Modal::Answer answer = Modal::ask(request);
        if (answer.cancelled)
            return false;
        FileName = answer.text;
        return true;
    }
    QFileDialog dialog(parent, DialogTitle);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !(Flags & cdlOFNFileMustExist) ? QFileDialog::AnyFile
                                                              : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & cdlOFNOverwritePrompt));
    const QStringList filters = nameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(FilterIndex - 1));
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

bool CommonDialog::ShowOpen(QWidget *parent)
{
    return showFileDialog(false, parent);
}

bool CommonDialog::ShowSave(QWidget *parent)
{
    return showFileDialog(true, parent);
}

bool CommonDialog::ShowPrinter(QWidget *parent)
{
    QPrinter &device = printer();
    if (Modal::isScripted()) {
        Modal::Request request;
        request.kind = Modal::Kind::Print;
        request.style = Flags;
        const Modal::Answer answer = Modal::ask(request);
        if (answer.cancelled)
            return false;
        Flags = answer.result;
        Copies = answer.copies;
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(answer.text);
        device.setCopyCount(Copies);
        return true;
    }
    QPrintDialog dialog(&device, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, !(Flags & cdlPDNoSelection));
    dialog.setPrintRange(Flags & cdlPDSelection ? QAbstractPrintDialog::Selection
                                                : QAbstractPrintDialog::AllPages);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    Flags = (Flags & ~cdlPDSelection)
        | (dialog.printRange() == QAbstractPrintDialog::Selection ? cdlPDSelection : 0);
    Copies = device.copyCount();
    return true;
}

bool CommonDialog::ShowPrinterSetup(QWidget *parent)
{
    if (Modal::isScripted()) {
        Modal::Request request;
        request.kind = Modal::Kind::PrintSetup;
        return !Modal::ask(request).cancelled;
    }
    QPageSetupDialog dialog(&printer(), parent);
    return dialog.exec() == QDialog::Accepted;
}

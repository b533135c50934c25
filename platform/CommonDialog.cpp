// File dialogs on QFileDialog, printing on QPrintDialog and QPageSetupDialog; every showing
// goes through the modal seam.
#include "platform/CommonDialog.h"

#include "platform/Modal.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

// "Alle Dateien (*.*)|*.*|..." to Qt's name filters, one per label and pattern pair. Qt reads
// a filter's patterns from its last parentheses, so the pattern half goes there alone ("*.*"
// as "*", so that names without a dot show too); the dialog hides that part again and shows
// the label as given.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        filters.append(parts.at(i) + QLatin1String(" (") + patterns.join(QLatin1Char(' '))
                       + QLatin1Char(')'));
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

void CommonDialog::setUpFileDialog(QFileDialog &dialog, bool save) const
{
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !(Flags & cdlOFNFileMustExist) ? QFileDialog::AnyFile
                                                              : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & cdlOFNOverwritePrompt));
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = nameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(FilterIndex - 1));
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
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
    setUpFileDialog(dialog, save);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    takeChoice(dialog);
    return true;
}

void CommonDialog::takeChoice(const QFileDialog &dialog)
{
    if (!dialog.selectedFiles().isEmpty())
        FileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    // The dialog names the chosen entry by its whole filter or by the label it shows.
    const QString chosen = dialog.selectedNameFilter();
    const QStringList filters = dialog.nameFilters();
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (int i = 0; i < filters.size(); ++i) {
        if (filters.at(i) == chosen || (2 * i < parts.size() && parts.at(2 * i) == chosen)) {
            FilterIndex = i + 1;
            return;
        }
    }
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

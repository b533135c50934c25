// frmBaustein: the grid over the table Textbausteine, its refusals in the program's own words,
// and the insertion of the current block.
#include "tools/frmBaustein.h"

#include "common/Databases.h"
#include "common/Fileexist.h"
#include "data/DBGrid.h"
#include "data/Database.h"
#include "platform/Help.h"
#include "platform/HelpTopics.h"
#include "platform/Modal.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "text/RichTextBox.h"
#include "tools/ActiveDocument.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {

const QString caption = QStringLiteral("Textbaustein-Verwaltung");

template<class Control>
Control *place(Control *control, int left, int top, int width, int height)
{
    control->setGeometry(Screen::twipsRect(left, top, width, height));
    return control;
}

} // namespace

frmBaustein::frmBaustein() : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmBaustein"));
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMinMaxButtonsHint, false);
    buildLayout();
    connect(cmdEinfuegen, &QPushButton::clicked, this, &frmBaustein::cmdEinfuegen_Click);
    connect(cmdAbbrechen, &QPushButton::clicked, this, &frmBaustein::cmdAbbrechen_Click);
    connect(DBGrid1, &DBGrid::Error, this, &frmBaustein::DBGrid1_Error);
    connect(DBGrid1, &DBGrid::AfterDelete, this, &frmBaustein::DBGrid1_AfterDelete);
    Form_Load();
}

frmBaustein::~frmBaustein() = default;

void frmBaustein::buildLayout()
{
    setFixedSize(Screen::pixelsFromTwipsX(7800), Screen::pixelsFromTwipsY(4920));
    Label1
        = place(new QLabel(QStringLiteral("Verfügbare Textbausteine:"), this), 120, 120, 7560, 252);
    Data1 = new DataSource(this);
    Data1->addColumn(QStringLiteral("Name"), QStringLiteral("Name"));
    Data1->addColumn(QStringLiteral("Textbaustein"), QStringLiteral("Textbaustein"));
    DBGrid1 = place(new DBGrid(this), 120, 420, 7560, 3780);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setDataSource(Data1);
    DBGrid1->setColumnWidth(0, Screen::pixelsFromTwipsX(2000));
    cmdEinfuegen = place(new QPushButton(QStringLiteral("Aktuellen Textbaustein &einfügen"), this),
                         120, 4380, 3000, 372);
    cmdAbbrechen
        = place(new QPushButton(QStringLiteral("&Schließen"), this), 6240, 4380, 1440, 372);
    // Enter belongs to the grid's cells, never to a button that writes into the document.
    for (QPushButton *button : {cmdEinfuegen, cmdAbbrechen})
        button->setAutoDefault(false);
}

void frmBaustein::Form_Load()
{
    QString error;
    const bool created = Database::ensure(Databases::textbausteine(), &error);
    if (!created)
        MsgBox(error, vbCritical, caption);
    Screen::centre(this, Screen::twipsFromPixelsX(width()), Screen::twipsFromPixelsY(height()));
    Data1->DatabaseName = Databases::textbausteinPath();
    Data1->RecordSource = QStringLiteral("Textbausteine");
    // A file that is there but cannot be read is reported and left as it is.
    if (!Data1->Refresh(&error) && created) {
        MsgBox(QStringLiteral("Die Datenbank \"%1\" kann nicht gelesen werden. %2")
                   .arg(QDir::toNativeSeparators(Data1->DatabaseName), error),
               vbCritical, caption);
    }
}

void frmBaustein::Form_QueryUnload()
{
    // Errors are ignored: a row the table refuses does not keep the dialog open.
    DBGrid1->commitEditor();
    Data1->UpdateRecord();
}

void frmBaustein::done(int result)
{
    Form_QueryUnload();
    QDialog::done(result);
}

void frmBaustein::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() == Qt::NoModifier && event->key() == Qt::Key_F1) {
        showHelpTopic(this, HelpTopic::ViewTextBlocks);
        return;
    }
    // No cancel button: Esc neither closes the dialog nor stores the row being edited.
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void frmBaustein::cmdEinfuegen_Click()
{
    // A row still being edited is stored first; a refused one is reported and nothing inserted.
    if (!DBGrid1->updateRow())
        return;
    // Errors are ignored: without a document or a stored current block nothing is inserted.
    if (const std::optional<QVariant> block = Data1->Field(1))
        ActiveDocument::insertText(block->toString());
}

void frmBaustein::cmdAbbrechen_Click()
{
    close();
}

void frmBaustein::DBGrid1_Error(int DataError, int &Response)
{
    Q_UNUSED(DataError);
    const QString text = DBGrid1->ErrorText();
    const QString title = QStringLiteral("Texbausteine verwalten");
    if (text.startsWith(QLatin1String("Feld 'Textbausteine.N"))
        || text.startsWith(QLatin1String("Das Feld 'Textbausteine.N"))) {
        MsgBox(QStringLiteral("Sie haben für den gerade bearbeiteten Textbaustein keinen Namen "
                              "vergeben. Das ist nicht zulässig. Geben Sie bitte einen Namen ein!"),
               vbOKOnly | vbCritical, title);
    } else if (text.startsWith(QLatin1String("Feld 'Textbausteine.T"))
               || text.startsWith(QLatin1String("Das Feld 'Textbausteine.T"))) {
        MsgBox(QStringLiteral("Sie haben für den gerade bearbeiteten Textbaustein keinen Text "
                              "eingegeben. Ein Textbaustein muß aber Text enthalten. Geben Sie "
                              "bitte Text ein!"),
               vbOKOnly | vbCritical, title);
    } else if (text.startsWith(QLatin1String("Die von Ihnen vorgeno"))) {
        MsgBox(QStringLiteral("Sie haben für den gerade bearbeiteten Textbaustein einen Namen "
                              "vergeben, der bereits vorhanden ist. Das ist nicht zulässig. Geben "
                              "Sie bitte einen anderen Namen ein!"),
               vbOKOnly | vbCritical, title);
    } else {
        MsgBox(text, vbOKOnly | vbCritical, QStringLiteral("Textbausteine verwalten"));
    }
    Response = 0;
}

void frmBaustein::DBGrid1_AfterDelete()
{
    // Errors are ignored: on an empty table there is no first record.
    Data1->MoveFirst();
}

void frmBaustein::ShowModal()
{
    Modal::showModal(&frmBausteinForm().get());
    frmBausteinForm().unload();
}

FormInstance<frmBaustein> &frmBausteinForm()
{
    static FormInstance<frmBaustein> form;
    return form;
}

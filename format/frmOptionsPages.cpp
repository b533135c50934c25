// The formatting dialog's pages at work: the font sample, size and offset, the colour mixer
// and palette, the indent and margin spinners with their 40 mm rule, and the tab-stop list.
#include "common/Grid.h"
#include "common/LeadingNumber.h"
#include "common/PageSettings.h"
#include "format/OptionsControls.h"
#include "format/OptionsSupport.h"
#include "format/frmOptions.h"
#include "platform/KeyCodes.h"
#include "platform/Screen.h"
#include "text/TextFormat.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

using namespace OptionsSupport;

void frmOptions::connectPages()
{
    connect(lstSchrift, &QListWidget::currentRowChanged, this, &frmOptions::UpdateSample);
    connect(lstSchnitt, &QListWidget::currentRowChanged, this, &frmOptions::UpdateSample);
    connect(chkUnter, &QCheckBox::stateChanged, this, &frmOptions::UpdateSample);
    connect(chkDurch, &QCheckBox::stateChanged, this, &frmOptions::UpdateSample);
    connect(comboGrad, &SimpleCombo::Click, this, &frmOptions::UpdateSample);
    connect(comboGrad, &SimpleCombo::Change, this, &frmOptions::comboGrad_Change);
    comboGrad->keyPress = [this](int &keyAscii) { comboGrad_KeyPress(keyAscii); };
    connect(comboVertikal, &QComboBox::currentIndexChanged, this, &frmOptions::comboVertikal_Click);
    for (QScrollBar *slider : {HScrollR, HScrollG, HScrollB}) {
        connect(slider, &QScrollBar::valueChanged, this, &frmOptions::mixColour);
        connect(slider, &QScrollBar::sliderMoved, this, &frmOptions::mixColour);
    }
    connect(lblFarbbeispiel, &SwatchLabel::Click, this, &frmOptions::lblFarbbeispiel_Click);
    for (int i = 0; i < 48; ++i)
        connect(lblFarbe[i], &SwatchLabel::Click, this, [this, i] { lblFarbe_Click(i); });

    connect(UpDownL, &UpDown::Change, this, &frmOptions::UpDownL_Change);
    connect(UpDownE, &UpDown::Change, this, &frmOptions::UpDownE_Change);
    connect(UpDownR, &UpDown::Change, this, &frmOptions::UpDownR_Change);
    connect(UpDownRL, &UpDown::Change, this, &frmOptions::UpDownRL_Change);
    connect(UpDownRR, &UpDown::Change, this, &frmOptions::UpDownRR_Change);

    comboTab->keyPress = [this](int &keyAscii) { comboTab_KeyPress(keyAscii); };
    connect(comboTab, &SimpleCombo::Change, this, &frmOptions::comboTab_Change);
    connect(comboTab, &SimpleCombo::Click, this, &frmOptions::comboTab_Click);
    connect(cmdTabSetzen, &QPushButton::clicked, this, &frmOptions::cmdTabSetzen_Click);
    connect(cmdTabLoeschen, &QPushButton::clicked, this, &frmOptions::cmdTabLoeschen_Click);
    connect(cmdTabAlleLoeschen, &QPushButton::clicked, this, &frmOptions::cmdTabAlleLoeschen_Click);
}

void frmOptions::UpdateSample()
{
    const int font = listIndex(lstSchrift);
    if (font < 0) {
        lblMuster->hide();
        return;
    }
    lblMuster->show();
    QFont sample = lblMuster->font();
    sample.setFamilies({lstSchrift->item(font)->text()});
    lblMuster->setFont(sample);
    if (comboGrad->Text().isEmpty()) {
        lblMuster->hide();
        return;
    }
    lblMuster->show();
    const double size = leadingNumber(comboGrad->Text());
    if (size > 0)
        sample.setPointSizeF(size);
    const int style = listIndex(lstSchnitt);
    if (style < 0 || style > 3 || chkUnter->Value() == 2 || chkDurch->Value() == 2) {
        lblMuster->setFont(sample);
        lblMuster->hide();
        return;
    }
    sample.setBold(style >= 2);
    sample.setItalic(style == 1 || style == 3);
    sample.setUnderline(chkUnter->Value() == 1);
    sample.setStrikeOut(chkDurch->Value() == 1);
    lblMuster->setFont(sample);
}

void frmOptions::comboGrad_KeyPress(int &keyAscii)
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == KeyCodes::vbKeyBack
        || keyAscii == KeyCodes::vbKeyReturn)
        return;
    Beep();
    keyAscii = 0;
}

void frmOptions::comboGrad_Change()
{
    // A mixed size loads as an empty field and must stay so, or the apply would set 1 point.
    if (!loading) {
        const double size = leadingNumber(comboGrad->Text());
        if (size == 0) {
            comboGrad->setText(QStringLiteral("1"));
            return;
        }
        if (size > TextFormat::maxFontPoints) {
            comboGrad->setText(QString::number(TextFormat::maxFontPoints));
            return;
        }
    }
    UpdateSample();
}

void frmOptions::comboVertikal_Click()
{
    const int index = comboVertikal->currentIndex();
    if (index < 0 || index > 2)
        return;
    const bool shifted = index != 0;
    txtVertikal->setEnabled(shifted);
    UpDownVertikal->setEnabled(shifted);
    UpDownVertikal->setMinimum(shifted ? 1 : 0);
    UpDownVertikal->setValue(shifted ? 1 : 0);
}

void frmOptions::mixColour()
{
    lblFarbbeispiel->setBackColor(HScrollR->value() + 256 * HScrollG->value()
                                  + 65536 * HScrollB->value());
}

void frmOptions::lblFarbbeispiel_Click()
{
    lblAktuelleFarbe->setBackColor(lblFarbbeispiel->BackColor());
    colourChosen = true;
    lblAktuelleFarbe->setText(QString());
}

void frmOptions::lblFarbe_Click(int index)
{
    lblAktuelleFarbe->setBackColor(lblFarbe[index]->BackColor());
    colourChosen = true;
    lblAktuelleFarbe->setText(QString());
}

bool frmOptions::roomFor(double indent) const
{
    const double room = double(Page::Seitenbreite) - UpDownRL->Value() - UpDownRR->Value()
        - UpDownR->Value() - indent;
    return room >= 40;
}

// Each rule steps its own spinner back by one; that change runs the rule again, so a value
// too large by several steps walks down one beep at a time.
void frmOptions::UpDownE_Change()
{
    if (loading)
        return;
    if (!roomFor(UpDownE->Value())) {
        UpDownE->setValue(UpDownE->Value() - 1);
        Beep();
    }
    if (UpDownE->Value() < -UpDownL->Value()) {
        UpDownE->setValue(UpDownE->Value() + 1);
        Beep();
    }
}

void frmOptions::UpDownL_Change()
{
    if (loading)
        return;
    if (!roomFor(UpDownL->Value())) {
        UpDownL->setValue(UpDownL->Value() - 1);
        Beep();
    }
    if (UpDownE->Value() < -UpDownL->Value())
        UpDownE->setValue(-UpDownL->Value());
}

static double widerIndent(int left, int first)
{
    return first > left ? first : left;
}

void frmOptions::UpDownR_Change()
{
    if (loading)
        return;
    if (!roomFor(widerIndent(UpDownL->Value(), UpDownE->Value()))) {
        UpDownR->setValue(UpDownR->Value() - 1);
        Beep();
    }
}

void frmOptions::UpDownRL_Change()
{
    if (loading)
        return;
    if (!roomFor(widerIndent(UpDownL->Value(), UpDownE->Value()))) {
        UpDownRL->setValue(UpDownRL->Value() - 1);
        Beep();
    }
}

void frmOptions::UpDownRR_Change()
{
    if (!loading && !roomFor(widerIndent(UpDownL->Value(), UpDownE->Value()))) {
        UpDownRR->setValue(UpDownRR->Value() - 1);
        Beep();
    }
    setPreviewWidth();
}

void frmOptions::comboTab_KeyPress(int &keyAscii)
{
    if ((keyAscii >= '0' && keyAscii <= '9') || keyAscii == KeyCodes::vbKeyBack
        || keyAscii == KeyCodes::vbKeyReturn)
        return;
    if (keyAscii == ',' && !comboTab->Text().contains(u','))
        return;
    Beep();
    keyAscii = 0;
}

void frmOptions::comboTab_Change()
{
    cmdTabSetzen->setEnabled(leadingNumber(comboTab->Text()) != 0);
    for (int i = 0; i < comboTab->ListCount(); ++i) {
        if (comboTab->List(i) == comboTab->Text()) {
            cmdTabLoeschen->setEnabled(true);
            comboTab->setListIndex(i);
            return;
        }
    }
    cmdTabLoeschen->setEnabled(false);
}

void frmOptions::comboTab_Click()
{
    cmdTabLoeschen->setEnabled(true);
}

void frmOptions::cmdTabSetzen_Click()
{
    QString typed = comboTab->Text();
    const qsizetype comma = typed.indexOf(u',');
    if (comma >= 0)
        typed[comma] = u'.';
    const float v = static_cast<float>(leadingNumber(typed));
    if (v <= 0 || v >= 160) {
        Beep();
        return;
    }
    const float p = static_cast<float>(AufRasterRunden(v));
    bool listed = false;
    for (int i = 0; i < comboTab->ListCount() && !listed; ++i)
        listed = tabValue(comboTab->List(i)) == p;
    if (!listed) {
        comboTab->AddItem(tabText(p));
        cmdTabAlleLoeschen->setEnabled(true);
        tabListEdited = true;
    }
    comboTab->setText(QString());
}

void frmOptions::cmdTabLoeschen_Click()
{
    for (int i = 0; i < comboTab->ListCount(); ++i) {
        if (comboTab->List(i) == comboTab->Text()) {
            comboTab->RemoveItem(i);
            tabListEdited = true;
            break;
        }
    }
    comboTab->setText(QString());
    cmdTabLoeschen->setEnabled(false);
    cmdTabAlleLoeschen->setEnabled(comboTab->ListCount() > 0);
}

void frmOptions::cmdTabAlleLoeschen_Click()
{
    for (int i = comboTab->ListCount() - 1; i >= 0; --i)
        comboTab->RemoveItem(i);
    tabListEdited = true;
    cmdTabLoeschen->setEnabled(false);
    cmdTabAlleLoeschen->setEnabled(false);
    comboTab->setText(QString());
}

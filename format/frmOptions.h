// The formatting dialog "Optionen": font, colour, paragraph, tab-stop and page settings of the
// active rich-text document's selection, on five pages under a tab strip.
#pragma once

#include "platform/Forms.h"

#include <QDialog>
#include <array>
#include <optional>

class GreyCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class RichTextBox;
class SimpleCombo;
class SwatchLabel;
class TabStrip;
class UpDown;
class frmDocument;

class frmOptions : public QDialog
{
    Q_OBJECT
public:
    frmOptions();
    ~frmOptions() override;

    // What the Format menu items do: hourglass, load, choose tab n (1 to 5), show modally.
    static void open(int tab);

    TabStrip *TabStrip1 = nullptr;
    // Page frames 1 to 5; there is no frame 0.
    std::array<QGroupBox *, 6> Rahmen {};

    QPushButton *cmdOK = nullptr;
    QComboBox *comboUebernehmen = nullptr;
    QPushButton *cmdSetzen = nullptr;
    QPushButton *cmdAbbrechen = nullptr;

    // Page 1
    QLabel *lblSchrift = nullptr;
    QListWidget *lstSchrift = nullptr;
    QLabel *lblSchnitt = nullptr;
    QListWidget *lstSchnitt = nullptr;
    QLabel *lblGrad = nullptr;
    SimpleCombo *comboGrad = nullptr;
    QGroupBox *framDarstellung = nullptr;
    GreyCheckBox *chkDurch = nullptr;
    GreyCheckBox *chkUnter = nullptr;
    QGroupBox *framMuster = nullptr;
    QWidget *pboxMuster = nullptr;
    QLabel *lblMuster = nullptr;
    QLabel *lblVertikal1 = nullptr;
    QComboBox *comboVertikal = nullptr;
    QLabel *lblVertikal2 = nullptr;
    QLineEdit *txtVertikal = nullptr;
    UpDown *UpDownVertikal = nullptr;
    QLabel *lblVertikal3 = nullptr;

    // Page 2
    QGroupBox *framPalette = nullptr;
    std::array<SwatchLabel *, 48> lblFarbe {};
    QGroupBox *framFarben = nullptr;
    SwatchLabel *lblR1 = nullptr;
    SwatchLabel *lblG1 = nullptr;
    SwatchLabel *lblB1 = nullptr;
    QScrollBar *HScrollR = nullptr;
    QScrollBar *HScrollG = nullptr;
    QScrollBar *HScrollB = nullptr;
    SwatchLabel *lblR2 = nullptr;
    SwatchLabel *lblG2 = nullptr;
    SwatchLabel *lblB2 = nullptr;
    QLabel *lblKlick = nullptr;
    SwatchLabel *lblFarbbeispiel = nullptr;
    QLabel *Label1 = nullptr;
    SwatchLabel *lblAktuelleFarbe = nullptr;

    // Page 3
    QGroupBox *framEinzug = nullptr;
    QLabel *lblLinks = nullptr;
    QLineEdit *txtLinks = nullptr;
    UpDown *UpDownL = nullptr;
    QLabel *lblErste = nullptr;
    QLineEdit *txtErste = nullptr;
    UpDown *UpDownE = nullptr;
    QLabel *lblRechts = nullptr;
    QLineEdit *txtRechts = nullptr;
    UpDown *UpDownR = nullptr;
    QGroupBox *framAbsatz = nullptr;
    QRadioButton *optLinks = nullptr;
    QRadioButton *optZentriert = nullptr;
    QRadioButton *optRechts = nullptr;
    GreyCheckBox *chkAufzaehl = nullptr;

    // Page 4
    QLabel *Label2 = nullptr;
    QLabel *lblTab1 = nullptr;
    QLabel *lblTab2 = nullptr;
    SimpleCombo *comboTab = nullptr;
    QPushButton *cmdTabSetzen = nullptr;
    QPushButton *cmdTabLoeschen = nullptr;
    QPushButton *cmdTabAlleLoeschen = nullptr;

    // Page 5
    QLabel *lblFormat = nullptr;
    QComboBox *comboFormat = nullptr;
    QGroupBox *framAusrichtung = nullptr;
    QRadioButton *optHoch = nullptr;
    QRadioButton *optQuer = nullptr;
    QGroupBox *framRaender = nullptr;
    QLabel *lblRandOben = nullptr;
    QLineEdit *txtRandOben = nullptr;
    UpDown *UpDownRO = nullptr;
    QLabel *lblRandLinks = nullptr;
    QLineEdit *txtRandLinks = nullptr;
    UpDown *UpDownRL = nullptr;
    QLabel *lblRandRechts = nullptr;
    QLineEdit *txtRandRechts = nullptr;
    UpDown *UpDownRR = nullptr;
    QLabel *lblRandUnten = nullptr;
    QLineEdit *txtRandUnten = nullptr;
    UpDown *UpDownRU = nullptr;
    QPushButton *cmdMinimalerRand = nullptr;
    QLabel *lblVorschau = nullptr;
    QWidget *pboxVorschauBlatt = nullptr;
    QWidget *pboxVorschauText = nullptr;

    // Width of the preview's text area, in the preview's millimetres (a tenth of the page).
    float vorschauTextWidth() const { return previewTextWidth; }

    void cmdSetzen_Click();
    void cmdOK_Click();
    void cmdAbbrechen_Click();
    void TabStrip1_Click();

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWindow();
    void buildFontPage();
    void buildColourPage();
    void buildParagraphPage();
    void buildTabPage();
    void buildPagePage();
    void connectPages();
    void layOutColours();
    void setPreviewWidth();

    void Form_Load();
    void Form_Unload();
    void loadCharacter(const RichTextBox &text);
    void loadColour(const RichTextBox &text);
    void loadParagraph(const RichTextBox &text);
    void loadTabs(const RichTextBox &text);
    void loadPage();
    void showPage(int index);

    void applyFont(RichTextBox &text);
    void applyColour(RichTextBox &text);
    void applyParagraph(RichTextBox &text);
    void applyTabs(RichTextBox &text);
    void applyPage(frmDocument &document);

    void UpdateSample();
    void comboGrad_KeyPress(int &keyAscii);
    void comboGrad_Change();
    void comboVertikal_Click();
    void mixColour();
    void lblFarbbeispiel_Click();
    void lblFarbe_Click(int index);

    bool roomFor(double indent) const;
    void UpDownL_Change();
    void UpDownE_Change();
    void UpDownR_Change();
    void UpDownRL_Change();
    void UpDownRR_Change();

    void comboTab_KeyPress(int &keyAscii);
    void comboTab_Change();
    void comboTab_Click();
    void cmdTabSetzen_Click();
    void cmdTabLoeschen_Click();
    void cmdTabAlleLoeschen_Click();

    // While the selection is read into the controls: the change rules hold back, so loading
    // neither empties into defaults nor walks values down.
    bool loading = false;
    // A mixed set of tab stops is written only once the user has edited the list.
    bool tabsMixed = false;
    bool tabListEdited = false;
    // The uniform colour the selection had; writing it back would turn the automatic text
    // colour into an explicit black.
    std::optional<int> loadedColour;
    bool colourChosen = false;
    bool unloaded = false;
    float previewTextWidth = 16;
};

FormInstance<frmOptions> &frmOptionsForm();

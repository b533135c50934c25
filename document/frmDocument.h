// The rich-text window with its millimetre ruler above the text.
#pragma once

#include "document/DocumentWindow.h"
#include "document/Ruler.h"
#include "platform/ControlMouse.h"

class QScrollBar;

class frmDocument : public DocumentWindow
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    void Form_Activate() override;
    void txtText_SelChange();
    // Rebuilds the tab markers from the selection's tab stops.
    void Tabaktualisierung();
    // Shows, hides and places the indent markers from the selection's indents.
    void Einzugaktualisierung();

    // Menu handlers of the rich-text window; the last ones live with the menus.
    void mnuFormatZeichen_Click();
    void mnuFormatFarbe_Click();
    void mnuFormatAbsatz_Click();
    void mnuFormatTabs_Click();
    void mnuFormatSeite_Click();
    void mnuFormatFormatvorlage_Click();
    void mnuPopupFormatZeichen_Click();
    void mnuPopupFormatFarbe_Click();
    void mnuPopupFormatAbsatz_Click();
    void mnuPopupFormatTabs_Click();
    void mnuPopupFormatSeite_Click();
    void mnuPopupFormatVorlage_Click();
    void mnuEinfuegenImage_Click();
    void mnuViewLineal_Click();
    void mnuPopupViewLineal_Click();

    // The ruler strip and its boxes, placed in pixels of millimetre values (see Ruler.h);
    // marker positions are relative to pboxLineal.
    QWidget *Picture1 = nullptr;
    QWidget *pboxLinealLinks = nullptr;
    QWidget *pboxLineal = nullptr;
    QWidget *pboxLinealRechts = nullptr;
    // The indent markers: first line, following lines, right indent.
    QLabel *imgLO = nullptr;
    QLabel *imgLU = nullptr;
    QLabel *imgRU = nullptr;
    // The tab markers imgTab(1) to imgTab(Tabanzahl); imgTab(0) is their hidden template.
    ImageArray imgTab;
    QScrollBar *HScroll = nullptr;
    QScrollBar *VScroll = nullptr;

    bool EinzugKomplett = false;
    qint16 Tabanzahl = 0;

    // The ruler strip's scroll bars and the row of ruler boxes they move.
    void Picture1_Resize();
    void HScroll_Change();
    void HScroll_Scroll();
    // The mouse on the ruler controls and the markers' drags.
    ControlMouse *rulerMouse = nullptr;

protected:
    void Form_Load();
    void Form_Resize() override;
    Toolbar *ownToolbar() const override;
    bool print(QPrinter &printer, bool selection) override;
    QString fileTypeText() const override;

private:
    void switchRuler(QAction *item);
    void buildRuler();
    // Centres a marker on a ruler position in millimetres.
    void placeMarker(QLabel *marker, double positionMm);
    // The right-indent marker for a snapped right indent; it stands 1 mm further left at 0.
    void placeRightIndentMarker(double rightIndentMm);
    // Loads imgTab(number), shown, centred on the position in the lower row, with its Tag.
    void loadTabMarker(int number, double positionMm);
    // The lower row's Top: the marker's upper quarter and 1 mm reach into the box.
    double lowerRowTopMm(double markerHeightMm) const;

    using Mouse = ControlMouse::Event;
    void connectRuler();
    void connectTabMarker(QLabel *marker);
    void placeRow();
    void imgLU_MouseDown(const Mouse &event);
    void imgLU_MouseUp(const Mouse &event);
    void pboxLineal_DragDrop(QWidget *Source, double X, double Y);
    void imgLO_DragDrop(QWidget *Source, double X, double Y);
    void imgLU_DragDrop(QWidget *Source, double X, double Y);
    void imgRU_DragDrop(QWidget *Source, double X, double Y);
    void imgTab_DragDrop(QLabel *target, QWidget *Source, double X, double Y);
    void Form_DragDrop(QWidget *Source, double X, double Y);
    void Picture1_DragDrop(QWidget *Source, double X, double Y);
    void HScroll_DragDrop(QWidget *Source, double X, double Y);
    void pboxLinealLinks_DragDrop(QWidget *Source, double X, double Y);
    void pboxLinealRechts_DragDrop(QWidget *Source, double X, double Y);
    void txtText_DragDrop(QWidget *Source, double X, double Y);
    // A marker dropped on a marker lands on the scale box under it.
    void dropOnMarker(QWidget *target, QWidget *Source, double X, double Y);
    // A marker dropped off the ruler: a tab stop goes, an indent stays with a beep.
    void dropOffRuler(QWidget *Source);
    void pboxLineal_MouseUp(const Mouse &event);
    void pboxLineal_MouseMove(const Mouse &event);
    // Over these the sizing pointer of the ruler's end gives way to the default.
    void imgLO_MouseMove(const Mouse &event);
    void imgLU_MouseMove(const Mouse &event);
    void imgRU_MouseMove(const Mouse &event);
    void imgTab_MouseMove(const Mouse &event);
    void pboxLinealRechts_MouseMove(const Mouse &event);
    void Picture1_MouseMove(const Mouse &event);
    void pboxLinealLinks_MouseMove(const Mouse &event);
};

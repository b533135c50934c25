// The rich-text window with its millimetre ruler above the text.
#pragma once

#include "document/DocumentWindow.h"

class QScrollBar;

class frmDocument : public DocumentWindow
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    void Form_Activate() override;
    void txtText_SelChange();

    // The ruler strip and its boxes; positions in millimetres.
    QWidget *Picture1 = nullptr;
    QWidget *pboxLinealLinks = nullptr;
    QWidget *pboxLineal = nullptr;
    QWidget *pboxLinealRechts = nullptr;
    QScrollBar *HScroll = nullptr;
    QScrollBar *VScroll = nullptr;

    bool EinzugKomplett = false;
    qint16 Tabanzahl = 0;

    // Ruler geometry in millimetres.
    double boxHeightMm() const;
    double picture1HeightMm() const;

protected:
    void Form_Load();
    void Form_Resize() override;
    QToolBar *ownToolbar() const override;

private:
    void buildRuler();
    void placeRulerBoxes();
};

// The rich-text window with its millimetre ruler above the text.
#pragma once

#include "document/DocumentWindow.h"

class QLabel;
class QScrollBar;

class frmDocument : public DocumentWindow
{
    Q_OBJECT
public:
    explicit frmDocument(QWidget *parent = nullptr);

    void Form_Activate() override;
    QList<QMenu *> menus() const override;
    void txtText_SelChange();

    QMenu *mnuFormat = nullptr;
    QAction *mnuFormatZeichen = nullptr;
    QAction *mnuFormatFarbe = nullptr;
    QAction *mnuFormatAbsatz = nullptr;
    QAction *mnuFormatTabs = nullptr;
    QAction *mnuFormatSeite = nullptr;
    QMenu *mnuPopupFormat = nullptr;

    void mnuFormatZeichen_Click();
    void mnuFormatFarbe_Click();
    void mnuFormatAbsatz_Click();
    void mnuFormatTabs_Click();
    void mnuFormatSeite_Click();

    // The ruler strip and its boxes; positions in millimetres.
    QWidget *Picture1 = nullptr;
    QWidget *pboxLinealLinks = nullptr;
    QWidget *pboxLineal = nullptr;
    QWidget *pboxLinealRechts = nullptr;
    // The indent markers: first line, following lines, right indent.
    QLabel *imgLO = nullptr;
    QLabel *imgLU = nullptr;
    QLabel *imgRU = nullptr;
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
    Toolbar *ownToolbar() const override;
    void print(QPrinter &printer, bool selection) override;
    QString fileTypeText() const override;

private:
    void buildFormatMenus();
    void buildRuler();
    void placeRulerBoxes();
};

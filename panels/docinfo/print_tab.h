// The document info panel's print tab: paper (from the paper list), orientation, margins,
// centring, resolution, the size of one page, and whether headers and footers are printed,
// with the sizes these give. Every edit is one undoable change of the shown document, which
// the canvas, its rulers and its scroll range follow at once.
#pragma once

#include "panels/vek_text_field.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class VekDocInfoController;

class PrintTab : public QWidget, public VekTextFieldController {
    Q_OBJECT
public:
    explicit PrintTab(VekDocInfoController &controller, QWidget *parent = nullptr);

    // Fills the controls from the shown document, or disables them.
    void updatePrintInfo();
    // The action of every control of the tab.
    void changePrintInfo(QObject *sender);
    void changePrintInfo(VekTextField &field) override { changePrintInfo(&field); }

    QComboBox *pupPaperSizes = nullptr, *pupOrientation = nullptr, *selResolution = nullptr;
    VekTextField *marginL = nullptr, *marginR = nullptr, *marginT = nullptr, *marginB = nullptr;
    VekTextField *txDrawAreaW = nullptr, *txDrawAreaH = nullptr;
    QLabel *txUnit = nullptr, *txPaperSize = nullptr, *txPageWidth = nullptr, *txPageHeight = nullptr;
    QLabel *txSufficientSize = nullptr, *txMaxDrawArea = nullptr, *txPrintScale = nullptr, *txMinMargin = nullptr;
    QCheckBox *optCenterH = nullptr, *optCenterV = nullptr, *optAddBorder = nullptr, *optShowMargin = nullptr;
    QPushButton *btnAdjustPaperSize = nullptr, *btnEditBorder = nullptr, *btnShowPreview = nullptr;

private:
    VekDocInfoController &m_controller;
};

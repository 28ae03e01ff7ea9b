// The page-layout dialog: paper, orientation, scale, margins and centring of a document's
// print settings. Accepting it hands the settings to the document, which also takes the
// resolution the scale stands for.
#pragma once

#include "document/print_info.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QSpinBox;

class PageLayoutDialog : public QDialog {
    Q_OBJECT
public:
    explicit PageLayoutDialog(const PrintInfo &info, QWidget *parent = nullptr);

    // The settings as the controls show them (the margins in points).
    PrintInfo printInfo() const;

private:
    PrintInfo m_info;
    QComboBox *m_paper = nullptr;
    QComboBox *m_orientation = nullptr;
    QSpinBox *m_scale = nullptr;
    QDoubleSpinBox *m_left = nullptr, *m_right = nullptr, *m_top = nullptr, *m_bottom = nullptr;
    QCheckBox *m_centerH = nullptr, *m_centerV = nullptr;
};

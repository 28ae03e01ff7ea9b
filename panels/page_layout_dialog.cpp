// The page-layout dialog's controls.
#include "panels/page_layout_dialog.h"

#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSpinBox>

#include <cmath>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

QDoubleSpinBox *marginBox(float value, QWidget *parent)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setRange(0, 10000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" pt"));
    box->setValue(value);
    return box;
}

} // namespace

PageLayoutDialog::PageLayoutDialog(const PrintInfo &info, QWidget *parent) : QDialog(parent), m_info(info)
{
    setWindowTitle(localized("Page Layout"));
    auto *form = new QFormLayout(this);

    m_paper = new QComboBox(this);
    m_paper->setObjectName(QStringLiteral("paper"));
    for (const Paper &paper : builtInPapers())
        m_paper->addItem(paper.shownName, paper.name);
    const int known = m_paper->findData(info.paperName);
    if (known < 0)   // a custom size keeps itself
        m_paper->insertItem(0, localized("custom"), QString());
    m_paper->setCurrentIndex(std::max(known, 0));
    form->addRow(localized("Paper"), m_paper);

    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QStringLiteral("orientation"));
    m_orientation->addItems({localized("Portrait"), localized("Landscape")});
    m_orientation->setCurrentIndex(info.orientation == PrintInfo::Orientation::Landscape ? 1 : 0);
    form->addRow(localized("Orientation"), m_orientation);

    m_scale = new QSpinBox(this);
    m_scale->setObjectName(QStringLiteral("scale"));
    m_scale->setRange(1, 10000);
    m_scale->setSuffix(QStringLiteral(" %"));
    m_scale->setValue(int(std::lround(info.scalingFactor * 100)));
    form->addRow(localized("Scale"), m_scale);

    m_left = marginBox(info.leftMargin, this);
    m_right = marginBox(info.rightMargin, this);
    m_top = marginBox(info.topMargin, this);
    m_bottom = marginBox(info.bottomMargin, this);
    form->addRow(localized("Left margin"), m_left);
    form->addRow(localized("Right margin"), m_right);
    form->addRow(localized("Top margin"), m_top);
    form->addRow(localized("Bottom margin"), m_bottom);

    m_centerH = new QCheckBox(localized("Center horizontally"), this);
    m_centerH->setChecked(info.horizontallyCentered);
    m_centerV = new QCheckBox(localized("Center vertically"), this);
    m_centerV->setChecked(info.verticallyCentered);
    form->addRow(m_centerH);
    form->addRow(m_centerV);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

PrintInfo PageLayoutDialog::printInfo() const
{
    PrintInfo info = m_info;
    const QString paper = m_paper->currentData().toString();
    for (const Paper &p : builtInPapers())
        if (p.name == paper) {
            info.paperName = p.name;
            info.paperSize = p.size;
        }
    const bool landscape = m_orientation->currentIndex() == 1;
    info.orientation = landscape ? PrintInfo::Orientation::Landscape : PrintInfo::Orientation::Portrait;
    info.scalingFactor = float(m_scale->value()) / 100.0f;
    info.leftMargin = float(m_left->value());
    info.rightMargin = float(m_right->value());
    info.topMargin = float(m_top->value());
    info.bottomMargin = float(m_bottom->value());
    info.horizontallyCentered = m_centerH->isChecked();
    info.verticallyCentered = m_centerV->isChecked();
    return info;
}

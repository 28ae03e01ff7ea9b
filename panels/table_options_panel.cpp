// The table options panel: its controls, the settings for new tables and the commands it
// sends to the current table.
#include "panels/table_options_panel.h"

#include "model/vek_obj_grid.h"
#include "panels/colour_well.h"
#include "panels/font_choices.h"
#include "platform/foundation/notification_center.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

namespace {

constexpr int TableTool = 8;
constexpr int ArrowTool = 0;
constexpr int DefaultCount = 2;

// Colours from the panel are kept in calibrated RGB when they come in device RGB.
Color calibrated(const Color &color)
{
    if (color.colorSpaceName() == DeviceRGBColorSpace)
        if (auto converted = color.colorUsingColorSpaceName(CalibratedRGBColorSpace))
            return *converted;
    return color;
}

QPushButton *checkableButton(const QString &title, QWidget *parent)
{
    auto *button = new QPushButton(title, parent);
    button->setCheckable(true);
    return button;
}

} // namespace

TableOptionsPanel::TableOptionsPanel(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setWindowTitle(tr("Table Options"));
    auto *layout = new QGridLayout(this);
    gridColNr = new QLineEdit(QString::number(DefaultCount), this);
    gridRowNr = new QLineEdit(QString::number(DefaultCount), this);
    gridAddCol = new QPushButton(tr("Add Column"), this);
    gridAddRow = new QPushButton(tr("Add Row"), this);
    gridDrawLineH = new QCheckBox(tr("Horizontal Lines"), this);
    gridDrawLineV = new QCheckBox(tr("Vertical Lines"), this);
    gridDrawLineH->setChecked(true);
    gridDrawLineV->setChecked(true);
    gridBtnSameWidth = new QPushButton(tr("Same Width"), this);
    gridBtnSameHeight = new QPushButton(tr("Same Height"), this);
    gridBtnLnL = checkableButton(tr("Left"), this);
    gridBtnLnR = checkableButton(tr("Right"), this);
    gridBtnLnT = checkableButton(tr("Top"), this);
    gridBtnLnB = checkableButton(tr("Bottom"), this);
    gridColor = new ColourWell(this);
    gridBGcolor = new ColourWell(this);
    gridBGcolor->setColor(Color::whiteColor());
    gridCellFontColor = new ColourWell(this);
    gridCellFont = new QComboBox(this);
    const QStringList fontNames = fontNameChoices();
    gridCellFont->addItems(fontNames);
    gridCellFont->setCurrentIndex(defaultFontChoice(fontNames));
    gridCellFontSize = new QComboBox(this);
    gridCellFontSize->setEditable(true);
    gridCellFontSize->addItems(fontSizeChoices());
    gridCellFontSize->setCurrentIndex(DefaultFontSizeChoice);
    gridAlignment = new QButtonGroup(this);
    auto *alignments = new QWidget(this);
    auto *alignmentRow = new QHBoxLayout(alignments);
    alignmentRow->setContentsMargins(0, 0, 0, 0);
    const QStringList alignmentTitles = {tr("Left"), tr("Right"), tr("Center"), tr("Justified"), tr("Natural")};
    for (int i = 0; i < alignmentTitles.size(); ++i) {
        auto *button = checkableButton(alignmentTitles[i], alignments);
        gridAlignment->addButton(button, i);
        alignmentRow->addWidget(button);
    }

    int row = 0;
    layout->addWidget(new QLabel(tr("Columns"), this), row, 0);
    layout->addWidget(gridColNr, row, 1);
    layout->addWidget(gridAddCol, row++, 2);
    layout->addWidget(new QLabel(tr("Rows"), this), row, 0);
    layout->addWidget(gridRowNr, row, 1);
    layout->addWidget(gridAddRow, row++, 2);
    layout->addWidget(gridDrawLineH, row, 0);
    layout->addWidget(gridDrawLineV, row, 1);
    layout->addWidget(gridColor, row++, 2);
    layout->addWidget(gridBtnSameWidth, row, 0);
    layout->addWidget(gridBtnSameHeight, row++, 1);
    layout->addWidget(new QLabel(tr("Borders"), this), row, 0);
    auto *borders = new QHBoxLayout;
    for (QPushButton *button : {gridBtnLnL, gridBtnLnR, gridBtnLnT, gridBtnLnB})
        borders->addWidget(button);
    layout->addLayout(borders, row++, 1, 1, 2);
    layout->addWidget(new QLabel(tr("Cell Font"), this), row, 0);
    layout->addWidget(gridCellFont, row, 1);
    layout->addWidget(gridCellFontSize, row++, 2);
    layout->addWidget(new QLabel(tr("Text / Background"), this), row, 0);
    layout->addWidget(gridCellFontColor, row, 1);
    layout->addWidget(gridBGcolor, row++, 2);
    layout->addWidget(alignments, row++, 0, 1, 3);

    for (QLineEdit *field : {gridColNr, gridRowNr})
        connect(field, &QLineEdit::editingFinished, this, [this, field] { setGridProperty(field); });
    for (QAbstractButton *button : std::initializer_list<QAbstractButton *>{
             gridAddCol, gridAddRow, gridBtnSameWidth, gridBtnSameHeight, gridBtnLnL, gridBtnLnR, gridBtnLnT,
             gridBtnLnB, gridDrawLineH, gridDrawLineV})
        connect(button, &QAbstractButton::clicked, this, [this, button] { setGridProperty(button); });
    connect(gridColor, &ColourWell::colorChanged, this, [this] { setGridProperty(gridColor); });
    connect(gridCellFont, &QComboBox::activated, this, [this] { applyCellPropertyToSelected(FontTag); });
    connect(gridCellFontSize, &QComboBox::activated, this, [this] { applyCellPropertyToSelected(SizeTag); });
    connect(gridCellFontColor, &ColourWell::colorChanged, this, [this] { applyCellPropertyToSelected(TextColorTag); });
    connect(gridBGcolor, &ColourWell::colorChanged, this, [this] { applyCellPropertyToSelected(BackgroundTag); });
    connect(gridAlignment, &QButtonGroup::idClicked, this, [this] { applyCellPropertyToSelected(AlignmentTag); });

    // A table's cell selection refreshes the panel while that table is the current object.
    NotificationCenter::defaultCenter().addObserver(
        this, VekObjGridCellSelectionDidChangeNotification, nullptr, [this](const Notification &note) {
            if (const auto table = currentTable(); table && table.get() == note.sender)
                updateGridInfoFor(table.get());
        });
    disableTableControls();
}

TableOptionsPanel::~TableOptionsPanel()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<VekObjGrid> TableOptionsPanel::currentTable() const
{
    return std::dynamic_pointer_cast<VekObjGrid>(m_current.lock());
}

// ---- Settings for new tables ----

int TableOptionsPanel::countIn(QLineEdit *field)
{
    bool ok = false;
    const int count = field->text().trimmed().toInt(&ok);
    if (ok && count >= 1)
        return std::min(count, VekObjGrid::MaxGridLines);
    field->setText(QString::number(DefaultCount));
    return DefaultCount;
}

int TableOptionsPanel::gridCurrentColumnNr()
{
    return countIn(gridColNr);
}

int TableOptionsPanel::gridCurrentRowNr()
{
    return countIn(gridRowNr);
}

Color TableOptionsPanel::gridCurrentColor() const
{
    return calibrated(gridColor->color());
}

int TableOptionsPanel::gridCurrentDrawLineH() const
{
    return gridDrawLineH->isChecked() ? 1 : 0;
}

int TableOptionsPanel::gridCurrentDrawLineV() const
{
    return gridDrawLineV->isChecked() ? 1 : 0;
}

// ---- Preparing and filling ----

void TableOptionsPanel::optionPanelGrid(VekObject *object, bool edit)
{
    if (edit && object)
        updateGridInfoFor(object);
    setGridOutlets(dynamic_cast<VekObjGrid *>(object), -1, -1);
    show();
    raise();
}

void TableOptionsPanel::updateGridInfoFor(VekObject *object)
{
    auto *table = dynamic_cast<VekObjGrid *>(object);
    if (!table)
        return;
    gridColNr->setText(QString::number(table->numberOfGridColumns()));
    gridRowNr->setText(QString::number(table->numberOfGridRows()));
    gridDrawLineH->setChecked(table->drawLineH() == 1);
    gridDrawLineV->setChecked(table->drawLineV() == 1);
    gridColor->setColor(table->gridColor());
    gridBGcolor->setColor(table->currentBGcolor());
    if (QAbstractButton *button = gridAlignment->button(table->currentAlignment()))
        button->setChecked(true);
    gridCellFontColor->setColor(table->currentFontColor());
    gridCellFont->setCurrentIndex(std::max(0, gridCellFont->findText(table->currentFontName())));
    gridCellFontSize->setEditText(QString::number(int(table->currentFontSize())));
}

void TableOptionsPanel::setCellControlsEnabled(bool enabled)
{
    gridCellFont->setEnabled(enabled);
    gridCellFontSize->setEnabled(enabled);
    gridCellFontColor->setEnabled(enabled);
    gridBGcolor->setEnabled(enabled);
    for (QAbstractButton *button : gridAlignment->buttons())
        button->setEnabled(enabled);
}

void TableOptionsPanel::disableTableControls()
{
    setCellControlsEnabled(false);
    for (QPushButton *button : {gridAddCol, gridAddRow, gridBtnSameHeight, gridBtnSameWidth, gridBtnLnL, gridBtnLnR,
                                gridBtnLnT, gridBtnLnB})
        button->setEnabled(false);
}

void TableOptionsPanel::setGridOutlets(VekObjGrid *table, int column, int row)
{
    if (!table && m_tool != TableTool) {
        disableTableControls();
        return;
    }
    for (QWidget *control : std::initializer_list<QWidget *>{gridColNr, gridRowNr, gridColor, gridDrawLineH, gridDrawLineV})
        control->setEnabled(true);
    // The table tool keeps the fields' values for the next new table.
    if (!table || m_tool == TableTool) {
        disableTableControls();
        return;
    }
    gridColNr->setText(QString::number(table->numberOfGridColumns()));
    gridRowNr->setText(QString::number(table->numberOfGridRows()));
    gridColor->setColor(table->gridColor());
    gridDrawLineH->setChecked(table->drawLineH() == 1);
    gridDrawLineV->setChecked(table->drawLineV() == 1);
    for (QPushButton *button : {gridBtnLnL, gridBtnLnR, gridBtnLnT, gridBtnLnB})
        button->setEnabled(false);
    if (table->isAnyCellSelected()) {
        setCellControlsEnabled(true);
        if (QAbstractButton *button = gridAlignment->button(table->currentAlignment()))
            button->setChecked(true);
        gridCellFontColor->setColor(table->currentFontColor());
        gridCellFont->setCurrentIndex(std::max(0, gridCellFont->findText(table->currentFontName())));
        gridCellFontSize->setEditText(QString::number(int(table->currentFontSize())));
        gridBGcolor->setColor(table->currentBGcolor());
        const auto showSide = [table](QPushButton *button, int side) {
            button->setEnabled(true);
            button->setChecked(table->lineTypeFor(side) == 1);
        };
        if (column > -1) {
            showSide(gridBtnLnL, 0);
            showSide(gridBtnLnR, 1);
        }
        if (row > -1) {
            showSide(gridBtnLnT, 2);
            showSide(gridBtnLnB, 3);
        }
    } else {
        setCellControlsEnabled(false);
    }
    for (QPushButton *button : {gridAddCol, gridAddRow, gridBtnSameHeight, gridBtnSameWidth})
        button->setEnabled(true);
}

// ---- Actions ----

void TableOptionsPanel::setGridProperty(QObject *sender)
{
    const auto table = currentTable();
    if (m_tool != ArrowTool || !table) {
        // With the table tool and no current object the fields keep their values for new tables.
        return;
    }
    if (sender == gridColor) {
        table->setGridColor(calibrated(gridColor->color()));
    } else if (sender == gridBtnLnL || sender == gridBtnLnR || sender == gridBtnLnT || sender == gridBtnLnB) {
        const int side = sender == gridBtnLnL ? 0 : sender == gridBtnLnR ? 1 : sender == gridBtnLnT ? 2 : 3;
        table->setLineType(static_cast<QPushButton *>(sender)->isChecked() ? 1 : 0, side);
    } else if (sender == gridBtnSameWidth) {
        table->setAllColumnsSameWidth();
    } else if (sender == gridBtnSameHeight) {
        table->setAllRowsSameHeight();
    } else if (sender == gridDrawLineH) {
        table->setDrawLineH(gridDrawLineH->isChecked() ? 1 : 0);
    } else if (sender == gridDrawLineV) {
        table->setDrawLineV(gridDrawLineV->isChecked() ? 1 : 0);
    } else if (sender == gridColNr || sender == gridAddCol) {
        const int count = sender == gridAddCol ? table->numberOfGridColumns() + 1 : gridColNr->text().trimmed().toInt();
        table->setNumberOfGridColumns(count);
        gridColNr->setText(QString::number(table->numberOfGridColumns()));
    } else if (sender == gridRowNr || sender == gridAddRow) {
        const int count = sender == gridAddRow ? table->numberOfGridRows() + 1 : gridRowNr->text().trimmed().toInt();
        table->setNumberOfGridRows(count);
        gridRowNr->setText(QString::number(table->numberOfGridRows()));
    }
}

void TableOptionsPanel::applyCellPropertyToSelected(int tag)
{
    const auto table = currentTable();
    if (!table)
        return;
    switch (tag) {
    case FontTag: table->applyFontToSelectedCells(gridCellFont->currentText()); break;
    case SizeTag: {
        bool ok = false;
        const float size = gridCellFontSize->currentText().toFloat(&ok);
        if (ok && size > 0)
            table->applyFontSizeToSelectedCells(size);
        break;
    }
    case TextColorTag: table->applyFontColorToSelectedCells(gridCellFontColor->color()); break;
    case BackgroundTag: table->applyBGColorToSelectedCells(gridBGcolor->color()); break;
    case AlignmentTag: table->applyAlignmentToSelectedCells(gridAlignment->checkedId()); break;
    default: break;
    }
}

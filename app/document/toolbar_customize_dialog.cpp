// The toolbar customisation dialog.
#include "app/document/toolbar_customize_dialog.h"

#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int IdentifierRole = Qt::UserRole;

QString identifierOf(const QListWidgetItem *item)
{
    return item ? item->data(IdentifierRole).toString() : QString();
}

} // namespace

ToolbarCustomizeDialog::ToolbarCustomizeDialog(const std::vector<ToolbarItemDescription> &allowed,
                                               const QStringList &defaultItems, const ToolbarConfiguration &current,
                                               QWidget *parent)
    : QDialog(parent), m_allowed(allowed), m_defaultItems(defaultItems)
{
    setWindowTitle(localizedString(QStringLiteral("Customize Toolbar")));
    m_available = new QListWidget(this);
    for (const ToolbarItemDescription &item : m_allowed) {
        auto *row = new QListWidgetItem(item.label, m_available);
        row->setData(IdentifierRole, item.identifier);
    }
    m_shown = new QListWidget(this);
    showItems(current.itemIdentifiers);

    auto *add = new QPushButton(localizedString(QStringLiteral("Add")), this);
    auto *remove = new QPushButton(localizedString(QStringLiteral("Remove")), this);
    auto *up = new QPushButton(localizedString(QStringLiteral("Move Up")), this);
    auto *down = new QPushButton(localizedString(QStringLiteral("Move Down")), this);
    auto *defaults = new QPushButton(localizedString(QStringLiteral("Default Set")), this);
    connect(add, &QPushButton::clicked, this, [this] { addItem(identifierOf(m_available->currentItem())); });
    connect(m_available, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem *item) { addItem(identifierOf(item)); });
    connect(remove, &QPushButton::clicked, this, [this] { removeItemAt(m_shown->currentRow()); });
    connect(up, &QPushButton::clicked, this, [this] { moveItem(m_shown->currentRow(), -1); });
    connect(down, &QPushButton::clicked, this, [this] { moveItem(m_shown->currentRow(), 1); });
    connect(defaults, &QPushButton::clicked, this, &ToolbarCustomizeDialog::useDefaultSet);

    m_displayMode = new QComboBox(this);
    m_displayMode->addItem(localizedString(QStringLiteral("Icon and Text")), 1);
    m_displayMode->addItem(localizedString(QStringLiteral("Icon Only")), 2);
    m_displayMode->addItem(localizedString(QStringLiteral("Text Only")), 3);
    m_displayMode->setCurrentIndex(std::max(0, m_displayMode->findData(current.displayMode)));
    m_smallSize = new QCheckBox(localizedString(QStringLiteral("Use Small Size")), this);
    m_smallSize->setChecked(current.sizeMode != 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(localizedString(QStringLiteral("Available items")), this), 0, 0);
    lists->addWidget(new QLabel(localizedString(QStringLiteral("Toolbar items")), this), 0, 2);
    lists->addWidget(m_available, 1, 0);
    auto *middle = new QVBoxLayout;
    for (QPushButton *button : {add, remove, up, down, defaults})
        middle->addWidget(button);
    middle->addStretch();
    lists->addLayout(middle, 1, 1);
    lists->addWidget(m_shown, 1, 2);
    auto *modes = new QFormLayout;
    modes->addRow(localizedString(QStringLiteral("Show")), m_displayMode);
    modes->addRow(QString(), m_smallSize);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(modes);
    layout->addWidget(buttons);
}

QStringList ToolbarCustomizeDialog::shownIdentifiers() const
{
    QStringList identifiers;
    for (int row = 0; row < m_shown->count(); ++row)
        identifiers << identifierOf(m_shown->item(row));
    return identifiers;
}

ToolbarConfiguration ToolbarCustomizeDialog::configuration() const
{
    ToolbarConfiguration configuration;
    configuration.itemIdentifiers = shownIdentifiers();
    configuration.displayMode = m_displayMode->currentData().toInt();
    configuration.sizeMode = m_smallSize->isChecked() ? 2 : 1;
    return configuration;
}

void ToolbarCustomizeDialog::addItem(const QString &identifier)
{
    const auto it = std::find_if(m_allowed.begin(), m_allowed.end(),
                                 [&](const ToolbarItemDescription &item) { return item.identifier == identifier; });
    if (it == m_allowed.end() || (!it->repeatable && shownIdentifiers().contains(identifier)))
        return;
    auto *row = new QListWidgetItem(it->label, m_shown);
    row->setData(IdentifierRole, identifier);
    m_shown->setCurrentItem(row);
}

void ToolbarCustomizeDialog::removeItemAt(int row)
{
    delete m_shown->takeItem(row);
}

void ToolbarCustomizeDialog::moveItem(int row, int delta)
{
    const int target = row + delta;
    if (row < 0 || row >= m_shown->count() || target < 0 || target >= m_shown->count())
        return;
    QListWidgetItem *item = m_shown->takeItem(row);
    m_shown->insertItem(target, item);
    m_shown->setCurrentItem(item);
}

void ToolbarCustomizeDialog::useDefaultSet()
{
    showItems(m_defaultItems);
}

void ToolbarCustomizeDialog::showItems(const QStringList &identifiers)
{
    m_shown->clear();
    for (const QString &identifier : identifiers)
        addItem(identifier);
}

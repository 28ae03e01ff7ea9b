// The filter panel's stack window: the outline of the applied filters, and the saved stacks
// (save, rename, delete, replay).
#include "panels/filters/vek_if_controller.h"

#include "panels/document_dialogs.h"
#include "panels/filters/filter_panel_services.h"
#include "panels/filters/filter_stack.h"
#include "panels/filters/filter_stack_files.h"
#include "panels/filters/filter_stack_model.h"
#include "panels/filters/filter_types.h"
#include "panels/filters/vek_if_view.h"
#include "platform/foundation/localized_strings.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

void VekIFController::buildStackWindow()
{
    m_stackWindow = new QWidget(nullptr, Qt::Tool);
    m_stackWindow->setObjectName(QStringLiteral("FilterStackWindow"));
    m_stackWindow->setWindowTitle(localizedString(QStringLiteral("Filter Stack")));
    m_stackModel = new FilterStackModel(m_stackWindow);
    m_stackView = new QTreeView(m_stackWindow);
    m_stackView->setObjectName(QStringLiteral("filterStackView"));
    m_stackView->setModel(m_stackModel);
    m_stackView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(m_stackModel, &QAbstractItemModel::modelReset, m_stackView, [this] { m_stackView->expandToDepth(0); });

    m_savedFiltersPopup = new QComboBox(m_stackWindow);
    m_savedFiltersPopup->setObjectName(QStringLiteral("pupSavedFilters"));
    connect(m_savedFiltersPopup, &QComboBox::currentIndexChanged, this, [this] { updateIBOutletState(); });
    m_filterName = new QLineEdit(m_stackWindow);
    m_filterName->setObjectName(QStringLiteral("filterName"));
    m_filterName->setPlaceholderText(localizedString(QStringLiteral("Filter name")));
    const auto makeButton = [this](const char *title, const char *name, void (VekIFController::*action)()) {
        auto *b = new QPushButton(localizedString(QString::fromLatin1(title)), m_stackWindow);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, action);
        return b;
    };
    m_useSaved = makeButton("Apply Saved", "btnUseSavedFilter", &VekIFController::useSavedFilter);
    m_saveFilter = makeButton("Save", "btnSaveFilter", &VekIFController::saveFilter);
    m_renameFilter = makeButton("Rename", "btnRenameFilter", &VekIFController::renameFilter);
    m_deleteFilter = makeButton("Delete", "btnDeleteFilter", &VekIFController::deleteFilter);

    auto *saved = new QGridLayout;
    saved->addWidget(m_savedFiltersPopup, 0, 0, 1, 2);
    saved->addWidget(m_useSaved, 0, 2);
    saved->addWidget(m_filterName, 1, 0);
    saved->addWidget(m_saveFilter, 1, 1);
    saved->addWidget(m_renameFilter, 1, 2);
    saved->addWidget(m_deleteFilter, 2, 2);
    auto *layout = new QVBoxLayout(m_stackWindow);
    layout->addWidget(m_stackView, 1);
    layout->addLayout(saved);
    m_stackWindow->resize(420, 360);
}

void VekIFController::reloadStack() { m_stackModel->setStack(m_filterStack); }

void VekIFController::showFilterStack()
{
    m_stackWindow->show();
    m_stackWindow->raise();
    updateIBOutletState();
}

void VekIFController::updateIBOutletState()
{
    const bool hasSaved = m_savedFiltersPopup->count() > 0, selected = m_savedFiltersPopup->currentIndex() >= 0;
    m_saveFilter->setEnabled(m_filterStack.count() > 0);
    m_savedFiltersPopup->setEnabled(hasSaved);
    m_useSaved->setEnabled(hasSaved && !m_running);
    m_renameFilter->setEnabled(hasSaved && selected);
    m_deleteFilter->setEnabled(hasSaved && selected);
}

void VekIFController::readinSavedFilters()
{
    m_savedFiltersPopup->clear();
    m_savedFilters.clear();
    for (const SavedFilterStack &stack : ::readinSavedFilters()) {
        m_savedFiltersPopup->addItem(stack.title);
        m_savedFilters.push_back(stack.path);
    }
    updateIBOutletState();
}

QString VekIFController::typedFilterName()
{
    const QString name = m_filterName->text();
    if (name.isEmpty()) {
        documentDialogs().showAlert(m_stackWindow, QString(), localizedString(QStringLiteral("Please enter a filter name.")));
        m_filterName->setFocus();
    }
    return name;
}

void VekIFController::saveFilter()
{
    const QString name = typedFilterName();
    if (name.isEmpty())
        return;
    const QString path = saveFilterStack(m_filterStack, name);
    if (path.isEmpty()) {
        documentDialogs().showAlert(m_stackWindow, localizedString(QStringLiteral("Error")),
                                    localizedString(QStringLiteral("Sorry, the current filter could not be saved.")));
        return;
    }
    m_savedFilters.insert(m_savedFilters.begin(), path);
    m_savedFiltersPopup->insertItem(0, name);
    m_savedFiltersPopup->setCurrentIndex(0);
    updateIBOutletState();
}

void VekIFController::renameFilter()
{
    const int index = m_savedFiltersPopup->currentIndex();
    if (index < 0 || size_t(index) >= m_savedFilters.size())
        return;
    const QString name = typedFilterName();
    if (name.isEmpty())
        return;
    const QString path = renameSavedFilterStack(m_savedFilters[size_t(index)], name, m_filterStack);
    if (path.isEmpty()) {
        documentDialogs().showAlert(m_stackWindow, localizedString(QStringLiteral("Error")),
                                    localizedString(QStringLiteral("Sorry, the selected filter could not be renamed.")));
        return;
    }
    m_savedFilters[size_t(index)] = path;
    m_savedFiltersPopup->setItemText(index, QFileInfo(path).completeBaseName());
}

void VekIFController::deleteFilter()
{
    if (!filterPanelServices().confirmDeleteFilter(m_stackWindow))
        return;
    const int index = m_savedFiltersPopup->currentIndex();
    if (index < 0 || size_t(index) >= m_savedFilters.size())
        return;
    QFile::remove(m_savedFilters[size_t(index)]);
    m_savedFilters.erase(m_savedFilters.begin() + index);
    m_savedFiltersPopup->removeItem(index);
    updateIBOutletState();
}

void VekIFController::useSavedFilter()
{
    if (m_running || m_imageView->image().isNull())
        return;
    const int index = m_savedFiltersPopup->count() == 1 ? 0 : m_savedFiltersPopup->currentIndex();
    if (index < 0 || size_t(index) >= m_savedFilters.size())
        return;
    m_savedFiltersPopup->setCurrentIndex(index);
    const PropertyList stack = readFilterStack(m_savedFilters[size_t(index)]);
    // Each entry sets the sliders and the marker as the user would, and its filter is built
    // from them; entries of unknown filters are left out.
    std::vector<FilterSettings> steps;
    for (const PropertyList &entry : stack.elements()) {
        const int type = filterTypeFor(filterNameOfEntry(entry));
        if (resetParameterOutletsFor(type, parametersOfEntry(entry)))
            steps.push_back(currentSettings(type));
    }
    if (!steps.empty())
        runFilters(std::move(steps), true);
}

// The export panel's accessory view and its file-name rules.
#include "app/document/export_panel.h"

#include "app/document/export_preferences.h"
#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSlider>
#include <QSpinBox>

QString proposedExportName(const QString &displayName, bool hasSelection, bool grabbedArea, const QString &format)
{
    QString name = QFileInfo(displayName).completeBaseName();
    if (grabbedArea)
        name += localizedString(QStringLiteral("_selectedArea"));
    else if (hasSelection)
        name += localizedString(QStringLiteral("_selected"));
    return controlFileExtension(name, format);
}

ExportPanel::ExportPanel(QWidget *parent, const QString &displayName, bool hasSelection, bool grabbedArea)
    : AccessorySavePanel(parent, localizedString(QStringLiteral("Export")))
{
    QWidget *accessory = this->accessory();
    QFormLayout *form = accessoryForm();
    m_format = new QComboBox(accessory);
    m_format->setObjectName(QStringLiteral("exportFormat"));
    m_format->addItems(exportFormatNames());
    const int last = m_format->findText(lastSaveFormatPreference());
    m_format->setCurrentIndex(last >= 0 ? last : 0);
    form->addRow(localizedString(QStringLiteral("Format:")), m_format);
    m_quality = new QSlider(Qt::Horizontal, accessory);
    m_quality->setRange(10, 100);
    m_quality->setValue(90);
    form->addRow(localizedString(QStringLiteral("Quality:")), m_quality);
    m_selectedOnly = new QCheckBox(localizedString(QStringLiteral("Selected objects only")), accessory);
    m_selectedOnly->setChecked(hasSelection || grabbedArea);
    m_selectedOnly->setEnabled(hasSelection || grabbedArea);
    form->addRow(m_selectedOnly);
    m_flatten = new QCheckBox(localizedString(QStringLiteral("PDF/X-3, flattened at")), accessory);
    m_flattenResolution = new QSpinBox(accessory);
    m_flattenResolution->setRange(72, 2400);
    m_flattenResolution->setValue(300);
    m_flattenResolution->setSuffix(QStringLiteral(" dpi"));
    form->addRow(m_flatten, m_flattenResolution);
    m_textOutlines = new QCheckBox(localizedString(QStringLiteral("Text as outlines")), accessory);
    m_textOutlines->setObjectName(QStringLiteral("textAsOutlines"));
    form->addRow(m_textOutlines);
    addShowInFileManagerRow();

    QStringList filters;
    for (const QString &name : exportFormatNames())
        filters << QStringLiteral("*.") + extensionForFormat(name);
    filters.removeDuplicates();
    setNameFilter(filters.join(QLatin1Char(' ')));
    selectFile(proposedExportName(displayName, hasSelection, grabbedArea, format()));
    connect(m_format, &QComboBox::currentIndexChanged, this, &ExportPanel::formatChanged);
    formatChanged();
}

QString ExportPanel::format() const
{
    return m_format->currentText();
}

bool ExportPanel::selectedOnly() const
{
    return m_selectedOnly->isEnabled() && m_selectedOnly->isChecked();
}

float ExportPanel::compressionFactor() const
{
    return m_quality->value() / 100.0f;
}

int ExportPanel::flattenResolution() const
{
    return m_flatten->isChecked() ? m_flattenResolution->value() : 0;
}

bool ExportPanel::textAsOutlines() const
{
    return m_textOutlines->isEnabled() && m_textOutlines->isChecked();
}

QString ExportPanel::chosenPath() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : controlFileExtension(files.first(), format());
}

void ExportPanel::rememberChoices() const
{
    setLastSaveFormatPreference(format());
    setShowInFinderPreference(showInFileManager());
}

void ExportPanel::formatChanged()
{
    const QString current = format();
    const bool jpeg = current == QLatin1String("jpg") || current == QLatin1String("jp2");
    m_quality->setEnabled(jpeg);
    m_flatten->setEnabled(current == QLatin1String("pdf"));
    m_flattenResolution->setEnabled(current == QLatin1String("pdf"));
    m_textOutlines->setEnabled(current == QLatin1String("svg"));
    // The name field keeps its name and takes the format's extension.
    auto *nameField = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!nameField)
        return;
    const QString name = nameField->text();
    const QString fitting = controlFileExtension(name, current);
    if (QFileInfo(fitting).suffix() != QFileInfo(name).suffix())
        nameField->setText(QFileInfo(name).completeBaseName() + QLatin1Char('.') + extensionForFormat(current));
}

namespace {

// The request of the panel's choices for the whole document.
ExportRequest requestFromPanel(const ExportPanel &panel, const QString &displayName)
{
    panel.rememberChoices();
    ExportRequest request;
    request.path = panel.chosenPath();
    request.format = panel.format();
    request.compressionFactor = panel.compressionFactor();
    request.flattenResolution = panel.flattenResolution();
    request.textAsOutlines = panel.textAsOutlines();
    request.displayName = displayName;
    return request;
}

// Writes the request; tells of a failure or a fallback, reveals the file when asked.
bool runExport(QWidget *parent, VekDocument &document, const ExportPanel &panel, const ExportRequest &request)
{
    QString error, warning;
    if (!saveArea(document, request, &error, &warning)) {
        QMessageBox::warning(parent, localizedString(QStringLiteral("Sorry, failed to save.")), error);
        return false;
    }
    if (!warning.isEmpty())
        QMessageBox::information(parent, localizedString(QStringLiteral("PDF/X-3")), warning);
    if (panel.showInFileManager())
        revealInFileManager(request.path);
    return true;
}

} // namespace

bool exportDocument(QWidget *parent, VekDocument &document, const QString &displayName,
                    const std::vector<std::shared_ptr<VekObject>> &selection)
{
    ExportPanel panel(parent, displayName, !selection.empty(), false);
    if (panel.exec() != QDialog::Accepted)
        return false;
    ExportRequest request = requestFromPanel(panel, displayName);
    if (panel.selectedOnly() && !selection.empty()) {
        request.objects = selection;
        request.area = selectionArea(selection, request.format);
        request.clip = true;
    }
    return runExport(parent, document, panel, request);
}

bool saveSelectedPart(QWidget *parent, VekDocument &document, const QString &displayName, const Rect &area,
                      const std::vector<std::shared_ptr<VekObject>> &objects)
{
    ExportPanel panel(parent, displayName, false, true);
    if (panel.exec() != QDialog::Accepted)
        return false;
    ExportRequest request = requestFromPanel(panel, displayName);
    request.area = area;
    request.objects = objects;
    runExport(parent, document, panel, request);
    return true;
}

#include "panels/filters/filter_panel_services.h"

#include "platform/foundation/localized_strings.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

FilterPanelServices *installed = nullptr;

} // namespace

std::optional<QString> FilterPanelServices::runTiffSavePanel(QWidget *parent)
{
    QFileDialog panel(parent);
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setNameFilter(QStringLiteral("TIFF (*.tif)"));
    panel.setDefaultSuffix(QStringLiteral("tif"));
    panel.selectFile(QStringLiteral("image.tif"));
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    QString path = panel.selectedFiles().first();
    if (QFileInfo(path).suffix() != QLatin1String("tif"))
        path += QStringLiteral(".tif");
    return path;
}

bool FilterPanelServices::confirmDeleteFilter(QWidget *parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(localizedString(QStringLiteral("Delete")));
    box.setText(localizedString(QStringLiteral("Are you sure to delete the selected filter?")));
    QPushButton *remove = box.addButton(localizedString(QStringLiteral("Delete")), QMessageBox::AcceptRole);
    box.addButton(localizedString(QStringLiteral("Cancel")), QMessageBox::RejectRole);
    box.setDefaultButton(remove);
    box.exec();
    return box.clickedButton() == remove;
}

void FilterPanelServices::revealFile(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

FilterPanelServices &filterPanelServices()
{
    static FilterPanelServices builtIn;
    return installed ? *installed : builtIn;
}

void setFilterPanelServices(FilterPanelServices *services) { installed = services; }

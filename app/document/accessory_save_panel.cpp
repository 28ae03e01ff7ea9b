#include "app/document/accessory_save_panel.h"

#include "app/document/export_preferences.h"
#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>

AccessorySavePanel::AccessorySavePanel(QWidget *parent, const QString &title) : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setWindowTitle(title);
    m_accessory = new QWidget(this);
    m_form = new QFormLayout(m_accessory);
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(m_accessory, grid->rowCount(), 0, 1, grid->columnCount());
}

bool AccessorySavePanel::showInFileManager() const
{
    return m_show->isChecked();
}

void AccessorySavePanel::addShowInFileManagerRow()
{
    m_show = new QCheckBox(localizedString(QStringLiteral("Show in file manager")), m_accessory);
    m_show->setChecked(showInFinderPreference());
    m_form->addRow(m_show);
}

QString AccessorySavePanel::chosenPathWithExtension(const QString &extension) const
{
    const QStringList files = selectedFiles();
    if (files.isEmpty())
        return QString();
    const QString &path = files.first();
    return QFileInfo(path).suffix() == extension ? path : path + QLatin1Char('.') + extension;
}

#include "app/document/accessory_save_panel.h"

#include "app/document/export_preferences.h"
#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

AccessorySavePanel::AccessorySavePanel(QWidget *parent, const QString &title) : QFileDialog(parent)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptSave);
    setWindowTitle(title);
    m_accessory = new QWidget(this);
    m_form = new QFormLayout(m_accessory);
    if (auto *grid = qobject_cast<QGridLayout *>(layout()))
        grid->addWidget(m_accessory, grid->rowCount(), 0, 1, grid->columnCount());
    m_name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
}

void AccessorySavePanel::showEvent(QShowEvent *event)
{
    QFileDialog::showEvent(event);
    // Installed (again) once the panel has set up its name completer, so that this filter
    // sees the keys before the completer's; the completer's list, while it shows, gets the
    // keys before the name field.
    if (!m_name)
        return;
    m_name->removeEventFilter(this);
    m_name->installEventFilter(this);
    if (QCompleter *completer = m_name->completer()) {
        completer->popup()->removeEventFilter(this);
        completer->popup()->installEventFilter(this);
    }
}

bool AccessorySavePanel::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *offered = m_name && m_name->completer() ? m_name->completer()->popup() : nullptr;
    if ((watched == m_name || watched == offered) && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const QFileInfo typed(m_name->text().trimmed());
        // A completion the user moved to in the list is taken as the completer takes it.
        const bool pickingCompletion = watched == offered && offered->currentIndex().isValid();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && typed.isAbsolute() && !typed.isDir()
            && !pickingCompletion) {
            if (auto *files = findChild<QAbstractItemView *>(QStringLiteral("listView")))
                files->clearSelection();
            if (QCompleter *completer = m_name->completer(); completer && completer->popup())
                completer->popup()->hide();
            accept();
            return true;
        }
    }
    return QFileDialog::eventFilter(watched, event);
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

// The save-pages panel and the writing of the chosen pages.
#include "app/document/save_pages_panel.h"

#include "app/document/document_shell_services.h"
#include "app/document/export_preferences.h"
#include "document/vek_document.h"
#include "export/export_dispatch.h"
#include "platform/foundation/file_writing.h"
#include "platform/foundation/localized_strings.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>

SavePagesPanel::SavePagesPanel(QWidget *parent, const QString &displayName)
    : AccessorySavePanel(parent, localizedString(QStringLiteral("Save Pages")))
{
    setNameFilter(QStringLiteral("*.vek"));
    setDefaultSuffix(QStringLiteral("vek"));

    m_pages = new QLineEdit(accessory());
    m_pages->setObjectName(QStringLiteral("savePages"));
    m_pages->setPlaceholderText(QStringLiteral("1,3,4"));
    accessoryForm()->addRow(localizedString(QStringLiteral("Pages:")), m_pages);
    addShowInFileManagerRow();

    selectFile(QFileInfo(displayName).completeBaseName() + localizedString(QStringLiteral("_extract"))
               + QStringLiteral(".vek"));
}

QString SavePagesPanel::pageList() const
{
    return m_pages->text();
}

QString SavePagesPanel::chosenPath() const
{
    return chosenPathWithExtension(QStringLiteral("vek"));
}

SavePagesResult savePagesOfDocument(VekDocument &document, const QString &pageList, const QString &path,
                                    QString *error)
{
    const std::optional<std::vector<int>> pages = pagesFromList(pageList, document.numberOfPages());
    if (!pages)
        return SavePagesResult::ImproperPages;
    // The pages are stored in the form the preferences choose for saved documents.
    const QByteArray data = document.vekDocumentDataForObjects(document.objects(), pages, false,
                                                               documentShellServices().saveFormatted());
    if (data.isEmpty()) {
        if (error)
            *error = QStringLiteral("The pages could not be stored.");
        return SavePagesResult::Failed;
    }
    return writeWholeFile(path, data, error) ? SavePagesResult::Saved : SavePagesResult::Failed;
}

bool saveDocumentPages(QWidget *parent, VekDocument &document, const QString &displayName)
{
    SavePagesPanel panel(parent, displayName);
    if (panel.exec() != QDialog::Accepted)
        return false;
    const QString path = panel.chosenPath();
    setLastSaveFormatPreference(QStringLiteral("vek"));
    setShowInFinderPreference(panel.showInFileManager());
    QString error;
    switch (savePagesOfDocument(document, panel.pageList(), path, &error)) {
    case SavePagesResult::ImproperPages:
        QMessageBox::warning(parent, localizedString(QStringLiteral("Improper page numbers")),
                             localizedString(QStringLiteral("Either no page number is entered or the entered page "
                                                            "numbers exceed the actual pages.")));
        return false;
    case SavePagesResult::Failed:
        QMessageBox::warning(parent, localizedString(QStringLiteral("Sorry, failed to save.")), error);
        return false;
    case SavePagesResult::Saved:
        break;
    }
    if (panel.showInFileManager())
        revealInFileManager(path);
    return true;
}

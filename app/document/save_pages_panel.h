// Saving some pages of a document as a document of their own: a save panel for "vek" files
// whose accessory takes the list of pages ("2,9,1") and the reveal option.
#pragma once

#include "app/document/accessory_save_panel.h"

#include <optional>
#include <vector>

class QLineEdit;
class VekDocument;

class SavePagesPanel : public AccessorySavePanel {
    Q_OBJECT
public:
    SavePagesPanel(QWidget *parent, const QString &displayName);

    QString pageList() const;
    // The chosen path, with ".vek" appended when it has another extension or none.
    QString chosenPath() const;

private:
    QLineEdit *m_pages = nullptr;
};

enum class SavePagesResult { Saved, ImproperPages, Failed };

// Writes the pages the list names (in its order, repeats included) with all objects on
// them as a document to path, replacing the file only with a complete one. ImproperPages
// (nothing written) when the list names no page of the document.
SavePagesResult savePagesOfDocument(VekDocument &document, const QString &pageList, const QString &path,
                                    QString *error = nullptr);

// The command: the panel, then the pages saved; alerts for an improper list and a failure.
// False when cancelled or nothing was saved.
bool saveDocumentPages(QWidget *parent, VekDocument &document, const QString &displayName);

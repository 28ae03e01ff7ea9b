// Saving the text of a document: a save panel for "rtf" and "txt" files whose accessory
// chooses RTF or plain text (and its encoding), adding the background PDF's text, and the
// reveal option. The file's extension follows the chosen form.
#pragma once

#include "app/document/accessory_save_panel.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class VekDocument;

class TextExportPanel : public AccessorySavePanel {
    Q_OBJECT
public:
    // hasBackgroundText offers adding the background PDF's text.
    TextExportPanel(QWidget *parent, const QString &displayName, bool hasBackgroundText);

    bool rtf() const;
    // The iconv name of the plain text's encoding.
    QByteArray encoding() const;
    bool addBackgroundPdfText() const;
    // The chosen path with the form's extension appended when it has another one
    // (a name ending in .txt saved as RTF ends in .txt.rtf).
    QString chosenPath() const;

private:
    // "rtf" or "txt", as the form is.
    QString extension() const;
    void formChanged();

    QRadioButton *m_plain = nullptr;
    QRadioButton *m_rtf = nullptr;
    QComboBox *m_encoding = nullptr;
    QCheckBox *m_backgroundText = nullptr;
};

// The command: alerts "No Objects to Save" for a document with neither objects nor
// background text, the panel, confirmation before replacing a file, the text written, and
// alerts for no text or a failure. False when cancelled or nothing was saved.
bool exportDocumentText(QWidget *parent, VekDocument &document, const QString &displayName);

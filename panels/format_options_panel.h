// FormatOptionsPanel: the tool palette's non-modal options panel of the page-number and date
// field tool.
//
// It holds the settings for new fields (kind, format, alignment, repeat type and the styled
// example whose first character gives font and colour) and, while a field is edited, changes
// that field. The page-number and date format lists live in its two combo boxes and in the
// user defaults (FormatLists). Page-number formats must hold exactly one integer conversion:
// a typed format that does not is refused, since fields use it to write numbers.
#pragma once

#include "panels/format_lists.h"
#include "platform/text/attributed_string.h"

#include <QWidget>

#include <memory>

class ColourWell;
class QComboBox;
class QLabel;
class QPushButton;
class UserDefaults;
class VekObject;
class VekObjFormat;

class FormatOptionsPanel : public QWidget {
    Q_OBJECT
public:
    explicit FormatOptionsPanel(UserDefaults &defaults, QWidget *parent = nullptr);

    // Settings for new fields.
    int selectedFormatType() const;
    QString selectedFormat() const;
    int selectedFormatAlign() const;
    int selectedRepeatType() const;
    AttributedString selectedFormatExample() const { return m_example; }

    // Prepares the panel for new fields, or for editing the field when `edit` is set.
    void optionPanelFormat(VekObject *object, bool edit);
    // The field being edited, or null.
    VekObjFormat *editedField() const;

    // The actions of the controls.
    void updateFormatsPage(QObject *sender);
    void updateFormatsDate(QObject *sender);
    void selectFormatType();
    void selectRepeatType();
    void updateFormatExample(QObject *sender);
    // Adds a date format typed elsewhere (the header and footer panel).
    void addDateFormat(const QString &format);

    // The controls (the panel's outlets).
    QPushButton *btnDelFmtDate = nullptr;
    QPushButton *btnDelFmtPage = nullptr;
    QComboBox *formatTypes = nullptr;
    QComboBox *repeatTypes = nullptr;
    QComboBox *formatFont = nullptr;
    QComboBox *formatAlign = nullptr;
    QComboBox *formatsPage = nullptr;
    QComboBox *formatsDate = nullptr;
    QComboBox *formatSize = nullptr;
    QLabel *formatExample = nullptr;
    ColourWell *formatColor = nullptr;

signals:
    // The example (and so the settings for new fields) changed.
    void exampleChanged();

private:
    void updateFormats(FormatKind kind, QObject *sender);
    void storeList(FormatKind kind);

    FormatLists m_lists;
    AttributedString m_example;
    std::weak_ptr<VekObject> m_editingFormat;
};

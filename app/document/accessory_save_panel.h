// What the export, save-pages and text export panels share: a non-native save dialog with
// an accessory form below the file view, whose last row is "Show in file manager" (set from
// the shared preference).
#pragma once

#include <QFileDialog>

class QCheckBox;
class QLineEdit;
class QFormLayout;

class AccessorySavePanel : public QFileDialog {
public:
    bool showInFileManager() const;

protected:
    AccessorySavePanel(QWidget *parent, const QString &title);

    // The accessory, parent of the panel's own controls, and its form.
    QWidget *accessory() const { return m_accessory; }
    QFormLayout *accessoryForm() const { return m_form; }
    // Adds the "Show in file manager" row; the panels call it after their own rows.
    void addShowInFileManagerRow();
    // The first chosen file, with ".extension" appended unless it already ends in it.
    QString chosenPathWithExtension(const QString &extension) const;
    // Return in the name field holding a whole path to a file chooses that file: the file
    // list selects the folders met on the way while the path is typed, and the name
    // completer takes the Return for itself, so the panel would otherwise open a folder or
    // do nothing.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QWidget *m_accessory = nullptr;
    QFormLayout *m_form = nullptr;
    QCheckBox *m_show = nullptr;
    QLineEdit *m_name = nullptr;
};

// The colour panel's accessory: an image well, a name field and an add button that make a
// pattern colour (a colour that tiles the image) in one of the user's colour lists, with
// the lists themselves below: choosing a list shows its colours, clicking one picks it for
// the panel's target, and dragging one drops it onto whatever takes colours (a canvas
// fills the selected object under the drop with it).
#pragma once

#include "panels/colour_lists.h"
#include "platform/image/image.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

class ColourPanelAccessory : public QWidget {
    Q_OBJECT
public:
    explicit ColourPanelAccessory(QWidget *parent = nullptr);

    ColourListStore &store() { return m_store; }
    // Shows the image in the well, at most 512 points on its longer side.
    void takeImage(const Image &image);
    const Image &image() const { return m_image; }
    QLineEdit &nameField() const { return *m_name; }
    QPushButton &addButton() const { return *m_add; }
    QComboBox &listChooser() const { return *m_lists; }
    QListWidget &colourView() const { return *m_colours; }

    // Enables the add button when there is an image and a name.
    void validateAddButton();
    // Adds the pattern colour to the chosen list (a new list when there is none).
    void addToColorList();
    // Installs the default pattern list and tells the user where to find it.
    void addDefaultPatternColors();
    // Rereads the lists, choosing the named one (the current one when empty).
    void reloadLists(const QString &select = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showList(const QString &name);

    ColourListStore m_store;
    Image m_image;
    QLabel *m_well = nullptr;
    QLineEdit *m_name = nullptr;
    QPushButton *m_add = nullptr;
    QComboBox *m_lists = nullptr;
    QListWidget *m_colours = nullptr;
};

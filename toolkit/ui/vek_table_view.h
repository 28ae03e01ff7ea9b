// VekTableView: the table view every panel uses. Its key presses go through one hook,
// doEventForChar(), which subclasses with keys of their own override; a key the hook does
// not take goes on to the parent widgets (the table's own arrow-key and type-select
// handling is not used).
//
// By default only Delete (character 127, from the Delete and Backspace keys) is taken, and
// only when a delete delegate is set: the delegate's deleteAction() removes the selected
// rows (the object inspector's tables set it).
#pragma once

#include <QTableView>

class VekTableView;

class TableDeleteDelegate {
public:
    virtual ~TableDeleteDelegate() = default;
    virtual void deleteAction(VekTableView &table) = 0;
};

class VekTableView : public QTableView {
public:
    static constexpr char16_t DeleteCharacter = 0x7f;

    explicit VekTableView(QWidget *parent = nullptr);

    void setDeleteDelegate(TableDeleteDelegate *delegate) { m_deleteDelegate = delegate; }
    // True when the key was handled.
    virtual bool doEventForChar(char16_t character, unsigned modifierFlags);
    // The character a key event stands for: 127 for Delete and Backspace, else the first
    // character of its text; 0 for a key without text (a dead key).
    static char16_t characterOf(const QKeyEvent &event);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    TableDeleteDelegate *m_deleteDelegate = nullptr;   // not owned
};

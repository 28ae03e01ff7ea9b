// The table views' key hook.
#include "toolkit/ui/vek_table_view.h"

#include "platform/foundation/modifier_flags.h"

#include <QKeyEvent>

VekTableView::VekTableView(QWidget *parent) : QTableView(parent) {}

char16_t VekTableView::characterOf(const QKeyEvent &event)
{
    if (event.key() == Qt::Key_Delete || event.key() == Qt::Key_Backspace)
        return DeleteCharacter;
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

bool VekTableView::doEventForChar(char16_t character, unsigned)
{
    if (character != DeleteCharacter || !m_deleteDelegate)
        return false;
    m_deleteDelegate->deleteAction(*this);
    return true;
}

void VekTableView::keyPressEvent(QKeyEvent *event)
{
    const char16_t character = characterOf(*event);
    if (character && doEventForChar(character, modifierFlagsFromQt(event->modifiers()))) {
        event->accept();
        return;
    }
    // Not the table's own handling: the key goes on to the parents.
    event->ignore();
}

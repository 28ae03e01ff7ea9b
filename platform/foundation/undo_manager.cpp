// UndoManager: undo and redo stacks, grouping, and closing the automatic group at the end of a pass.
#include "platform/foundation/undo_manager.h"

#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QThread>

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace {

// A clean state that no history position ever has again.
constexpr quint64 UnreachableState = std::numeric_limits<quint64>::max();

// Loop level of the application's main loop; anything deeper is a nested local loop.
constexpr int OutermostLoopLevel = 1;

} // namespace

UndoManager::UndoManager() : m_passContext(std::make_unique<QObject>()) {}

UndoManager::~UndoManager() = default;

void UndoManager::registerUndoWithTarget(const void *target, std::function<void()> action)
{
    if (!action || m_disabled > 0)
        return;
    bool ownGroup = false;
    if (m_level == 0) {
        if (m_groupsByEvent) {
            openEventGroup();
        } else {
            qWarning("UndoManager: registration outside an undo group; recording it as a step of its own");
            openGroup();
            ownGroup = true;
        }
    }
    if (!m_undoing && !m_redoing) {
        m_redoStack.clear();
        if (m_open.actions.empty()) {
            // The first change of a new step moves the history to a new state.
            m_open.leadsTo = m_state;
            m_open.at = m_state = ++m_lastState;
            ++m_changeCount;
        }
    }
    m_open.actions.push_back({target, std::move(action)});
    if (ownGroup)
        endUndoGrouping();
}

void UndoManager::beginUndoGrouping()
{
    // The automatic group surrounds whatever else this pass records.
    if (m_level == 0 && m_groupsByEvent)
        openEventGroup();
    openGroup();
}

void UndoManager::openEventGroup()
{
    m_eventGroupOpen = true;
    openGroup();
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(m_passContext.get(), [this] { passEnded(); }, Qt::QueuedConnection);
}

void UndoManager::openGroup()
{
    if (m_level == 0 && !m_undoing && !m_redoing)
        m_open = Group{};
    ++m_level;
    post(UndoManagerDidOpenUndoGroupNotification);
}

void UndoManager::endUndoGrouping()
{
    // While undoing or redoing, level 1 is the group that collects the inverse step.
    const int floor = (m_undoing || m_redoing) ? 1 : 0;
    if (m_level <= floor) {
        qWarning("UndoManager: endUndoGrouping without a matching beginUndoGrouping");
        return;
    }
    post(UndoManagerWillCloseUndoGroupNotification);
    --m_level;
    if (m_level == 0)
        finishGroup();
    post(UndoManagerDidCloseUndoGroupNotification);
}

void UndoManager::finishGroup()
{
    m_eventGroupOpen = false;
    Group group = std::move(m_open);
    m_open = Group{};
    if (group.actions.empty())
        return;
    const void *key = std::exchange(m_coalescingKey, group.coalescingKey);
    if (key && key == group.coalescingKey && !m_undoStack.empty()) {
        // The run goes on: one step from the state before its first change to this one.
        Group &run = m_undoStack.back();
        run.actions.insert(run.actions.end(), std::make_move_iterator(group.actions.begin()),
                           std::make_move_iterator(group.actions.end()));
        run.at = group.at;
        --m_changeCount;
    } else {
        m_undoStack.push_back(std::move(group));
        trim(m_undoStack);
    }
    changed(UndoChange::Done);
}

void UndoManager::coalesceWith(const void *key)
{
    if (m_level > 0 && !m_undoing && !m_redoing)
        m_open.coalescingKey = key;
}

std::size_t UndoManager::undoStepSize() const
{
    if (m_level > 0 && !m_undoing && !m_redoing && !m_open.actions.empty())
        return m_open.actions.size();
    return m_undoStack.empty() ? 0 : m_undoStack.back().actions.size();
}

std::size_t UndoManager::redoStepSize() const
{
    return m_redoStack.empty() ? 0 : m_redoStack.back().actions.size();
}

void UndoManager::setReplayBracket(std::function<void()> before, std::function<void()> after)
{
    m_beforeReplay = std::move(before);
    m_afterReplay = std::move(after);
}

void UndoManager::closeEventGroup()
{
    if (m_eventGroupOpen && m_level == 1 && !m_undoing && !m_redoing)
        endUndoGrouping();
}

void UndoManager::passEnded()
{
    const bool tooEarly = QThread::currentThread()->loopLevel() > OutermostLoopLevel || m_level > 1;
    if (m_eventGroupOpen && tooEarly) {
        // Inside a nested loop (or explicit groups still open): try again each time the
        // dispatcher is about to wait, until we are back in the outermost loop.
        auto *dispatcher = QAbstractEventDispatcher::instance();
        if (dispatcher && !m_waitingForOuterLoop) {
            m_waitingForOuterLoop = true;
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, m_passContext.get(),
                             [this] { passEnded(); });
        }
        return;
    }
    if (m_waitingForOuterLoop) {
        m_waitingForOuterLoop = false;
        QObject::disconnect(QAbstractEventDispatcher::instance(), nullptr, m_passContext.get(), nullptr);
    }
    closeEventGroup();
}

bool UndoManager::canUndo() const
{
    if (m_undoing || m_redoing || m_level > 1)
        return false;
    return !m_undoStack.empty() || (m_level == 1 && !m_open.actions.empty());
}

bool UndoManager::canRedo() const
{
    if (m_undoing || m_redoing || m_level > 1)
        return false;
    return !m_redoStack.empty();
}

void UndoManager::undo()
{
    if (m_undoing || m_redoing) {
        qWarning("UndoManager: undo requested while undoing or redoing; ignored");
        return;
    }
    if (m_level == 1)
        endUndoGrouping();
    if (m_level > 0) {
        qWarning("UndoManager: undo requested with undo groups still open; ignored");
        return;
    }
    if (!m_undoStack.empty())
        replay(m_undoStack, m_redoStack, true);
}

void UndoManager::redo()
{
    if (m_undoing || m_redoing) {
        qWarning("UndoManager: redo requested while undoing or redoing; ignored");
        return;
    }
    if (m_level == 1)
        endUndoGrouping();
    if (m_level > 0) {
        qWarning("UndoManager: redo requested with undo groups still open; ignored");
        return;
    }
    if (!m_redoStack.empty())
        replay(m_redoStack, m_undoStack, false);
}

void UndoManager::replay(std::deque<Group> &from, std::deque<Group> &to, bool undoing)
{
    post(undoing ? UndoManagerWillUndoChangeNotification : UndoManagerWillRedoChangeNotification);
    Group step = std::move(from.back());
    from.pop_back();

    // The closures' own registrations collect in m_open as the opposite step.
    (undoing ? m_undoing : m_redoing) = true;
    m_open = Group{};
    m_open.name = step.name;
    m_open.at = step.leadsTo;
    m_open.leadsTo = step.at;
    m_level = 1;
    m_coalescingKey = nullptr;
    m_replaying = &step;
    if (m_beforeReplay)
        m_beforeReplay();
    for (std::size_t i = step.actions.size(); i-- > 0;) {
        // Moved out first: removeAllActionsWithTarget may clear the slot while it runs.
        std::function<void()> perform = std::move(step.actions[i].perform);
        step.actions[i].perform = nullptr;
        if (perform)
            perform();
    }
    if (m_afterReplay)
        m_afterReplay();
    m_replaying = nullptr;
    if (m_level != 1)
        qWarning("UndoManager: an undo action left undo groups unbalanced");
    m_level = 0;
    m_state = step.leadsTo;
    m_changeCount += undoing ? -1 : 1;

    Group opposite = std::move(m_open);
    m_open = Group{};
    if (!opposite.actions.empty()) {
        to.push_back(std::move(opposite));
        trim(to);
    }
    m_undoing = m_redoing = false;
    post(undoing ? UndoManagerDidUndoChangeNotification : UndoManagerDidRedoChangeNotification);
    changed(undoing ? UndoChange::Undone : UndoChange::Redone);
}

void UndoManager::setActionName(const QString &name)
{
    if (m_level > 0)
        m_open.name = name;
    else if (!m_undoStack.empty())
        m_undoStack.back().name = name;
}

QString UndoManager::undoActionName() const
{
    if (m_level > 0 && !m_undoing && !m_redoing && !m_open.actions.empty())
        return m_open.name;
    return m_undoStack.empty() ? QString() : m_undoStack.back().name;
}

QString UndoManager::redoActionName() const
{
    return m_redoStack.empty() ? QString() : m_redoStack.back().name;
}

QString UndoManager::undoMenuItemTitle() const
{
    const QString name = undoActionName();
    return name.isEmpty() ? localizedString(QStringLiteral("Undo")) : localizedString(QStringLiteral("Undo %1")).arg(name);
}

QString UndoManager::redoMenuItemTitle() const
{
    const QString name = redoActionName();
    return name.isEmpty() ? localizedString(QStringLiteral("Redo")) : localizedString(QStringLiteral("Redo %1")).arg(name);
}

void UndoManager::removeAllActions()
{
    m_coalescingKey = nullptr;
    m_undoStack.clear();
    m_redoStack.clear();
    m_open.actions.clear();
    if (m_replaying)
        for (Action &action : m_replaying->actions)
            action.perform = nullptr;
}

void UndoManager::removeAllActionsWithTarget(const void *target)
{
    const auto ofTarget = [target](const Action &action) { return action.target == target; };
    bool stepRemoved = false;
    for (auto *stack : {&m_undoStack, &m_redoStack}) {
        for (Group &group : *stack)
            std::erase_if(group.actions, ofTarget);
        stepRemoved |= std::erase_if(*stack, [](const Group &group) { return group.actions.empty(); }) > 0;
    }
    std::erase_if(m_open.actions, ofTarget);
    if (m_replaying)
        for (Action &action : m_replaying->actions)
            if (action.target == target)
                action.perform = nullptr;
    // With a step gone, the history no longer leads back to the saved state exactly, and the
    // newest step may be another one.
    if (stepRemoved && !isClean())
        m_cleanState = UnreachableState;
    if (stepRemoved)
        m_coalescingKey = nullptr;
}

void UndoManager::disableUndoRegistration()
{
    ++m_disabled;
}

void UndoManager::enableUndoRegistration()
{
    if (m_disabled == 0) {
        qWarning("UndoManager: enableUndoRegistration without a matching disableUndoRegistration");
        return;
    }
    --m_disabled;
}

void UndoManager::setLevelsOfUndo(int levels)
{
    m_levelsOfUndo = std::max(levels, 0);
    trim(m_undoStack);
    trim(m_redoStack);
}

void UndoManager::trim(std::deque<Group> &stack) const
{
    if (m_levelsOfUndo == 0)
        return;
    while (stack.size() > std::size_t(m_levelsOfUndo))
        stack.pop_front();
}

void UndoManager::clearChangeCount()
{
    m_changeCount = 0;
    m_cleanState = m_state;
    m_coalescingKey = nullptr;
}

void UndoManager::post(const QString &name)
{
    NotificationCenter::defaultCenter().postNotificationName(name, this);
}

void UndoManager::changed(UndoChange change)
{
    if (m_changeHandler)
        m_changeHandler(change);
}

// UndoManager: records the inverse of each change as a closure and replays them as undo and redo steps.
//
// Registering. Whoever changes something registers, before or after the change, a closure that
// changes it back, together with a target (the identity of the object the closure works on,
// used by removeAllActionsWithTarget). The closure usually calls the same setter with the old
// value; that setter registers its own inverse again, and because registrations made while
// undoing go to the redo stack (and those made while redoing to the undo stack), redo needs no
// code of its own. A registration outside undo and redo empties the redo stack.
//
// Steps. Closures are collected into groups; one top-level group is one undo step, and undo
// runs its closures in the reverse order of registration. Groups opened with
// beginUndoGrouping/endUndoGrouping nest: a closed inner group becomes part of the group
// around it. Top-level groups that end up empty are dropped.
//
// Grouping by event (groupsByEvent, on by default). The first registration or
// beginUndoGrouping outside any group opens an automatic group, so everything one user action
// changes becomes one step. The automatic group closes at the end of the current pass of the
// OUTERMOST event loop (the application's): a zero-time queued call does it, but when that call
// is delivered inside a nested local event loop (QThread::loopLevel() above 1, e.g. the
// mouse-tracking loop of a drag, or a modal dialog), closing waits until the thread is back in
// the outermost loop (checked each time its dispatcher is about to wait for events). So a drag
// tracked in a nested loop stays one step, whether its first change came on mouse-down or
// during the drag. Nested loops must run through QEventLoop::exec() for this to work (a bare
// processEvents() call is not a level). What Qt delivers in one dispatcher pass (input events
// that queued up while the program was busy, timers due together) shares a step, as it shares
// the pass.
// A group also stays open while explicit groups inside it are still open. Without a
// QCoreApplication nothing closes the group by itself: call closeEventGroup() at the end of
// each pass (tests simulate passes that way or with QCoreApplication::sendPostedEvents()), or
// turn groupsByEvent off and group explicitly. undo() and redo() close a still open group of
// level 1 first, so undo works in the same pass as the change.
//
// Coalescing. Typing records one step per key, yet the user undoes a run of typing as one:
// a step recorded after coalesceWith(key) joins the newest undo step when that one was
// recorded with the same key and nothing came between -- no other step, no undo or redo, no
// clearChangeCount() (saving) and no breakCoalescing() (the insertion point moved, editing
// ended).
//
// Replay bracket. setReplayBracket() names work done just before the first and just after the
// last closure of every undo and redo, still inside it (what the bracket registers belongs to
// the opposite step): the document collects the changes of many objects there.
//
// Dirty state. A document asks isClean() after clearChangeCount() marked the saved state.
// Each step is a distinct state of the history, so undoing past the saved state and then
// making a new change keeps the document edited for good (the saved state is no longer
// reachable), even though changeCount() -- +1 per step done or redone, -1 per step undone --
// is back at 0. setChangeHandler() tells the document when a step was done, undone or redone.
//
// Notifications (on NotificationCenter::defaultCenter(), sender = this manager):
// UndoManagerDidOpenUndoGroupNotification, ...WillCloseUndoGroup..., ...DidCloseUndoGroup...
// (every level), ...WillUndoChange..., ...DidUndoChange..., ...WillRedoChange...,
// ...DidRedoChange....
//
// One thread only (the one running the event loop). Misuse -- unbalanced endUndoGrouping or
// enableUndoRegistration, undo with explicit groups open, undo from inside an undo -- is
// ignored with a warning instead of raising.
#pragma once

#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QObject;

inline const QString UndoManagerDidOpenUndoGroupNotification = QStringLiteral("UndoManagerDidOpenUndoGroupNotification");
inline const QString UndoManagerWillCloseUndoGroupNotification = QStringLiteral("UndoManagerWillCloseUndoGroupNotification");
inline const QString UndoManagerDidCloseUndoGroupNotification = QStringLiteral("UndoManagerDidCloseUndoGroupNotification");
inline const QString UndoManagerWillUndoChangeNotification = QStringLiteral("UndoManagerWillUndoChangeNotification");
inline const QString UndoManagerDidUndoChangeNotification = QStringLiteral("UndoManagerDidUndoChangeNotification");
inline const QString UndoManagerWillRedoChangeNotification = QStringLiteral("UndoManagerWillRedoChangeNotification");
inline const QString UndoManagerDidRedoChangeNotification = QStringLiteral("UndoManagerDidRedoChangeNotification");

// How the history moved: a new step was completed, or a step was undone or redone.
enum class UndoChange { Done, Undone, Redone };

class UndoManager {
public:
    UndoManager();
    ~UndoManager();
    UndoManager(const UndoManager &) = delete;
    UndoManager &operator=(const UndoManager &) = delete;

    // Records `action`, which works on `target`. Ignored while registration is disabled.
    void registerUndoWithTarget(const void *target, std::function<void()> action);

    bool groupsByEvent() const { return m_groupsByEvent; }
    void setGroupsByEvent(bool on) { m_groupsByEvent = on; }
    void beginUndoGrouping();
    void endUndoGrouping();
    // Open groups, the automatic one included; 0 between passes.
    int groupingLevel() const { return m_level; }
    // Closes the automatic group now, unless explicit groups are still open inside it: the
    // end-of-pass hook, for owners that drive passes themselves and for tests.
    void closeEventGroup();

    bool canUndo() const;
    bool canRedo() const;
    void undo();
    void redo();
    bool isUndoing() const { return m_undoing; }
    bool isRedoing() const { return m_redoing; }

    // Names the step being recorded: the open group, or while undoing or redoing the step being
    // recorded for the other stack, or else the newest undo step (so it may follow the
    // registrations). An undone step's name passes to its redo step and back.
    void setActionName(const QString &name);
    QString undoActionName() const;
    QString redoActionName() const;
    // "Undo" or "Undo <name>", "Redo" or "Redo <name>", localised.
    QString undoMenuItemTitle() const;
    QString redoMenuItemTitle() const;

    // Lets the step being recorded join the newest undo step of the same key (see above).
    void coalesceWith(const void *key);
    void breakCoalescing() { m_coalescingKey = nullptr; }
    // How many changes the next undo or redo takes back (0 when there is none).
    std::size_t undoStepSize() const;
    std::size_t redoStepSize() const;
    void setReplayBracket(std::function<void()> before, std::function<void()> after);

    // Forgets both stacks and whatever the open groups hold; the groups stay open (their
    // begin/end calls stay balanced) and registration stays as enabled or disabled as it was.
    void removeAllActions();
    // Drops every closure of the target from both stacks and the open group, and skips those
    // of a step being undone or redone that have not run yet; steps left empty disappear.
    void removeAllActionsWithTarget(const void *target);

    // Counted: registration resumes after as many enables as disables.
    void disableUndoRegistration();
    void enableUndoRegistration();
    bool isUndoRegistrationEnabled() const { return m_disabled == 0; }

    // The number of undo steps kept (the oldest go first); 0 keeps all.
    int levelsOfUndo() const { return m_levelsOfUndo; }
    void setLevelsOfUndo(int levels);

    int changeCount() const { return m_changeCount; }
    // The current state becomes the clean (saved) one; the change count becomes 0.
    void clearChangeCount();
    bool isClean() const { return m_state == m_cleanState; }
    void setChangeHandler(std::function<void(UndoChange)> handler) { m_changeHandler = std::move(handler); }

private:
    struct Action {
        const void *target;
        std::function<void()> perform;
    };
    // One step. Running it takes the history from state `at` to state `leadsTo`.
    struct Group {
        std::vector<Action> actions;
        QString name;
        const void *coalescingKey = nullptr;
        quint64 at = 0;
        quint64 leadsTo = 0;
    };

    void openEventGroup();
    void openGroup();
    void finishGroup();
    void passEnded();
    void replay(std::deque<Group> &from, std::deque<Group> &to, bool undoing);
    void trim(std::deque<Group> &stack) const;
    void post(const QString &name);
    void changed(UndoChange change);

    std::deque<Group> m_undoStack;   // newest last
    std::deque<Group> m_redoStack;
    Group m_open;                    // the top-level group being recorded, nested groups included
    Group *m_replaying = nullptr;    // the step being undone or redone
    int m_level = 0;
    int m_disabled = 0;
    int m_levelsOfUndo = 0;
    bool m_groupsByEvent = true;
    bool m_eventGroupOpen = false;
    bool m_undoing = false;
    bool m_redoing = false;

    quint64 m_state = 0;             // identity of the current state of the history
    quint64 m_cleanState = 0;
    quint64 m_lastState = 0;
    int m_changeCount = 0;
    std::function<void(UndoChange)> m_changeHandler;
    std::function<void()> m_beforeReplay, m_afterReplay;
    // The key of the newest undo step while the next step of that key may still join it.
    const void *m_coalescingKey = nullptr;

    // Owns the queued end-of-pass call and the dispatcher connection, so neither outlives us.
    std::unique_ptr<QObject> m_passContext;
    bool m_waitingForOuterLoop = false;
};

// Tests of the undo manager: grouping by event-loop pass, nesting, redo, names, removal, dirty state.
#include "platform/foundation/undo_manager.h"

#include "platform/foundation/notification_center.h"
#include "tests/support/test_apps.h"

#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>

namespace {

// A value whose setter registers its inverse, the way every undoable setter does.
struct Value {
    UndoManager *undo = nullptr;
    int value = 0;

    void set(int newValue)
    {
        const int old = value;
        undo->registerUndoWithTarget(this, [this, old] { set(old); });
        value = newValue;
    }
};

// Runs a script of space-separated steps against one manager and one value:
//   s<n>  set the value to n          |     end of the event-loop pass
//   u     undo                        r     redo
//   b     beginUndoGrouping           e     endUndoGrouping
//   d     disableUndoRegistration     E     enableUndoRegistration
//   x     removeAllActions            c     clearChangeCount
//   L<n>  setLevelsOfUndo(n)          G<0|1> setGroupsByEvent
//   n<s>  setActionName(s)
//   t     coalesceWith(the value)     B     breakCoalescing
// and checks:
//   =<n>  the value                   g<n>  groupingLevel
//   U<s>  undoActionName (U- empty)   R<s>  redoActionName (R- empty)
//   cu<0|1> canUndo                   cr<0|1> canRedo
//   k<n>  changeCount                 K<0|1> isClean
void runScript(const char *script)
{
    ensureCoreApp();
    UndoManager undo;
    Value v{&undo};
    const QStringList steps = QString::fromLatin1(script).split(u' ', Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        SCOPED_TRACE(step.toStdString());
        const QString arg = step.mid(1);
        const QString name = arg == u"-" ? QString() : arg;
        if (step == u"|")
            QCoreApplication::sendPostedEvents();
        else if (step.startsWith(u"cu"))
            EXPECT_EQ(undo.canUndo(), step.mid(2) == u"1");
        else if (step.startsWith(u"cr"))
            EXPECT_EQ(undo.canRedo(), step.mid(2) == u"1");
        else
            switch (step[0].unicode()) {
            case u's': v.set(arg.toInt()); break;
            case u'u': undo.undo(); break;
            case u'r': undo.redo(); break;
            case u'b': undo.beginUndoGrouping(); break;
            case u'e': undo.endUndoGrouping(); break;
            case u'd': undo.disableUndoRegistration(); break;
            case u'E': undo.enableUndoRegistration(); break;
            case u'x': undo.removeAllActions(); break;
            case u'c': undo.clearChangeCount(); break;
            case u'L': undo.setLevelsOfUndo(arg.toInt()); break;
            case u'G': undo.setGroupsByEvent(arg == u"1"); break;
            case u'n': undo.setActionName(arg); break;
            case u't': undo.coalesceWith(&v); break;
            case u'B': undo.breakCoalescing(); break;
            case u'=': EXPECT_EQ(v.value, arg.toInt()); break;
            case u'g': EXPECT_EQ(undo.groupingLevel(), arg.toInt()); break;
            case u'U': EXPECT_EQ(undo.undoActionName(), name); break;
            case u'R': EXPECT_EQ(undo.redoActionName(), name); break;
            case u'k': EXPECT_EQ(undo.changeCount(), arg.toInt()); break;
            case u'K': EXPECT_EQ(undo.isClean(), arg == u"1"); break;
            default: FAIL() << "unknown step";
            }
    }
}

struct Scenario {
    const char *what;
    const char *script;
};

const Scenario scenarios[] = {
    {"one pass is one step", "s1 s2 g1 | g0 s3 | u =2 u =0 cu0 r =2 r =3 cr0"},
    {"undo in the pass of the change closes the open group first", "s1 s2 u =0 g0 r =2"},
    {"explicit groups nest into one step", "b s1 b s2 g3 e s3 e g1 | g0 u =0"},
    {"an explicit group does not split the pass", "s1 b s2 e s3 | u =0 cu0"},
    {"the automatic group waits for open explicit groups", "b s1 | g2 e g1 u =0"},
    {"registrations while undoing go to redo, while redoing to undo", "s1 | s2 | u u =0 r r =2 u =1 r =2"},
    {"a new change after undo drops the redo steps", "s1 | s2 | u =1 s5 | cr0 u =1 u =0 cu0"},
    {"action names travel with their steps",
     "s1 nMove | s2 nSize | USize u RSize UMove u RMove U- r UMove RSize r USize R-"},
    {"a name set after the pass names the last step", "s1 | nLate | ULate u RLate"},
    {"an open step without a name shows no name", "s1 nMove | s2 U- | U- u UMove"},
    {"an empty group is no step", "s1 nA | b e | UA u =0 cu0"},
    {"disabled registration records nothing, counted", "d d s1 E s2 E s3 | u =2 cu0"},
    {"unbalanced end and enable are ignored", "e E s1 | u =0"},
    {"levels of undo keep the newest steps", "L2 s1 | s2 | s3 | u u =1 cu0 r r =3"},
    {"lowering the levels drops the oldest steps", "s1 | s2 | s3 | L1 u =2 cu0"},
    {"removeAllActions forgets both stacks", "s1 | s2 | u x cu0 cr0 =1"},
    {"removeAllActions keeps open groups balanced", "b s1 x s2 e | u =1 cu0"},
    {"without grouping by event each group is explicit", "G0 b s1 s2 e b s3 e u =2 u =0"},
    {"without grouping by event a loose registration is its own step", "G0 s1 s2 g0 u =1 u =0"},
    {"change count: done, undone, redone", "s1 | s2 | k2 c k0 K1 u k-1 K0 r k0 K1 u u k-2 r r K1"},
    {"the document is dirty as soon as the change is recorded", "c s1 K0 | K0 u K1"},
    {"a change after undoing past the saved state keeps it dirty", "s1 | c u s5 | k0 K0 u K0 r K0"},
    {"removing everything keeps the clean state", "s1 | c x K1 s2 | u K1"},
    {"a run of typing is one step, undone and redone whole", "s1 t | s2 t | s3 t | k1 u =0 cu0 k0 r =3 u =0"},
    {"breaking the run starts a new step", "s1 t | s2 t | B s3 t | s4 t | k2 u =2 u =0"},
    {"another step between ends the run", "s1 t | s2 | s3 t | u =2 u =1 u =0"},
    {"undo ends the run", "s1 t | s2 t | u =0 s5 t | s6 t | u =0 cu0"},
    {"saving ends the run", "s1 t | c s2 t | K0 u =1 K1 u =0"},
    {"a run is named once", "s1 t nTyping | s2 t nTyping | UTyping u RTyping cu0"},
};

void PrintTo(const Scenario &scenario, std::ostream *os)
{
    *os << scenario.what << ": " << scenario.script;
}

class UndoScenario : public testing::TestWithParam<Scenario> {};

TEST_P(UndoScenario, Runs)
{
    runScript(GetParam().script);
}

INSTANTIATE_TEST_SUITE_P(Behaviours, UndoScenario, testing::ValuesIn(scenarios),
                         [](const testing::TestParamInfo<Scenario> &info) {
                             std::string name = info.param.what;
                             for (char &c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c)))
                                     c = '_';
                             return name;
                         });

TEST(UndoManager, RemovalByTargetDropsOnlyThatTargetsActions)
{
    UndoManager undo;
    Value a{&undo};
    Value b{&undo};
    a.set(1);
    b.set(1);
    undo.closeEventGroup();   // step 1: a and b
    a.set(2);
    undo.closeEventGroup();   // step 2: a only

    undo.removeAllActionsWithTarget(&a);
    EXPECT_TRUE(undo.canUndo());
    undo.undo();
    EXPECT_EQ(a.value, 2);
    EXPECT_EQ(b.value, 0);
    EXPECT_FALSE(undo.canUndo());   // the step that held only a is gone
    undo.redo();
    EXPECT_EQ(b.value, 1);
}

TEST(UndoManager, TargetRemovedDuringUndoIsNotCalledAgain)
{
    UndoManager undo;
    Value a{&undo};
    int aCalls = 0;
    undo.registerUndoWithTarget(&a, [&] { ++aCalls; });
    // Undone first (reverse order): it removes a, as an object that goes away would.
    undo.registerUndoWithTarget(&undo, [&] { undo.removeAllActionsWithTarget(&a); });
    undo.closeEventGroup();
    undo.undo();
    EXPECT_EQ(aCalls, 0);
}

TEST(UndoManager, RemoveAllActionsDuringUndoStopsTheStep)
{
    UndoManager undo;
    int calls = 0;
    undo.registerUndoWithTarget(&undo, [&] { ++calls; });
    undo.registerUndoWithTarget(&undo, [&] { undo.removeAllActions(); });
    undo.closeEventGroup();
    undo.undo();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(undo.canRedo());
}

TEST(UndoManager, MenuTitles)
{
    UndoManager undo;
    Value v{&undo};
    EXPECT_EQ(undo.undoMenuItemTitle(), "Undo");
    EXPECT_EQ(undo.redoMenuItemTitle(), "Redo");
    v.set(1);
    undo.setActionName("Set Object Color");
    EXPECT_EQ(undo.undoMenuItemTitle(), "Undo Set Object Color");
    undo.undo();
    EXPECT_EQ(undo.redoMenuItemTitle(), "Redo Set Object Color");
    EXPECT_EQ(undo.undoMenuItemTitle(), "Undo");
}

TEST(UndoManager, PostsNotificationsAndTellsTheDocument)
{
    UndoManager undo;
    UndoManager other;
    Value v{&undo};
    Value w{&other};
    QStringList heard;
    std::vector<UndoChange> changes;
    auto &center = NotificationCenter::defaultCenter();
    const auto token = center.addObserver(nullptr, QString(), &undo, [&](const Notification &n) {
        heard << QString(n.name).remove("UndoManager").remove("Notification");
    });
    undo.setChangeHandler([&](UndoChange change) { changes.push_back(change); });

    v.set(1);
    w.set(1);   // another manager's notifications are filtered out
    undo.closeEventGroup();
    undo.undo();
    undo.redo();
    center.removeObserver(token);

    EXPECT_EQ(heard, QStringList({"DidOpenUndoGroup", "WillCloseUndoGroup", "DidCloseUndoGroup", "WillUndoChange",
                                  "DidUndoChange", "WillRedoChange", "DidRedoChange"}));
    EXPECT_EQ(changes, (std::vector<UndoChange>{UndoChange::Done, UndoChange::Undone, UndoChange::Redone}));
}

// A drag: mouse-down in the application's loop (maybe registering), then a nested tracking
// loop that registers on every move, then mouse-up registers again. All of it must be one
// step, and the step must close once the outer loop's pass is over.
TEST(UndoManager, ADragInANestedLoopStaysOneStep)
{
    ensureCoreApp();
    for (const bool changeOnMouseDown : {true, false}) {
        SCOPED_TRACE(changeOnMouseDown ? "change on mouse-down" : "first change during the drag");
        UndoManager undo;
        Value v{&undo};
        int levelAfterNestedLoop = -1;
        int levelAfterPass = -1;
        QEventLoop outer;
        QTimer::singleShot(0, &outer, [&] {   // the mouse-down, delivered by the outer loop
            if (changeOnMouseDown)
                v.set(1);
            QEventLoop tracking;
            int moves = 0;
            QTimer move;
            QObject::connect(&move, &QTimer::timeout, &tracking, [&] {
                v.set(2 + moves);
                if (++moves == 3)
                    tracking.quit();
            });
            move.start(5);
            tracking.exec();
            levelAfterNestedLoop = undo.groupingLevel();
            v.set(10);   // the mouse-up
            QTimer::singleShot(30, &outer, [&] {
                levelAfterPass = undo.groupingLevel();
                outer.quit();
            });
        });
        outer.exec();

        EXPECT_EQ(levelAfterNestedLoop, 1);
        EXPECT_EQ(levelAfterPass, 0);
        undo.undo();
        EXPECT_EQ(v.value, 0);
        EXPECT_FALSE(undo.canUndo());
        undo.redo();
        EXPECT_EQ(v.value, 10);
    }
}

TEST(UndoManager, PassesOfTheOuterLoopAreSeparateSteps)
{
    ensureCoreApp();
    UndoManager undo;
    Value v{&undo};
    QEventLoop loop;
    // Each call is queued by the one before, so it runs in a later pass than that one's
    // end-of-pass call. (Events that Qt hands over in one pass, such as timers due together,
    // share a step, as they share a pass.)
    QTimer::singleShot(0, &loop, [&] {
        v.set(1);
        QTimer::singleShot(0, &loop, [&] {
            v.set(2);
            QTimer::singleShot(0, &loop, [&] { loop.quit(); });
        });
    });
    loop.exec();
    EXPECT_EQ(undo.groupingLevel(), 0);
    undo.undo();
    EXPECT_EQ(v.value, 1);
}

} // namespace

// Every undo and redo runs inside the bracket, and what the bracket registers belongs to the
// opposite step.
TEST(UndoManager, TheReplayBracketSurroundsEachUndoAndRedo)
{
    ensureCoreApp();
    UndoManager undo;
    Value v{&undo}, w{&undo};
    QStringList log;
    undo.setReplayBracket([&] { log << QStringLiteral("before"); },
                          [&] {
                              log << QStringLiteral("after");
                              w.set(w.value + 1);
                          });
    v.set(1);
    v.set(2);
    undo.closeEventGroup();
    EXPECT_EQ(undo.undoStepSize(), 2u);
    undo.undo();
    EXPECT_EQ(log, (QStringList{QStringLiteral("before"), QStringLiteral("after")}));
    EXPECT_EQ(v.value, 0);
    EXPECT_EQ(w.value, 1);
    EXPECT_EQ(undo.redoStepSize(), 3u);
    EXPECT_FALSE(undo.canUndo());
    undo.redo();
    EXPECT_EQ(v.value, 2);
    EXPECT_EQ(w.value, 1);   // put back by the redo, then counted up again by the bracket
    EXPECT_EQ(log.size(), 4);
}

// The keys of the menus as a user presses them on a document window: every item's keys are
// its own, and the clipboard keys, Select All, Duplicate and the zoom keys act on the canvas
// (on the edited text while a text box is edited).
#include "tests/app/window/window_driver.h"

#include "document/vek_document.h"
#include "model/vek_obj_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QWheelEvent>

#include <map>

namespace {

// Every item of the menu and its submenus with its menu path ("Edit > Copy").
void collectItems(QMenu &menu, const QString &path, std::vector<std::pair<QString, QAction *>> &items)
{
    for (QAction *action : menu.actions()) {
        if (action->isSeparator())
            continue;
        const QString name = path + QStringLiteral(" > ") + action->text();
        if (action->menu())
            collectItems(*action->menu(), name, items);
        else
            items.emplace_back(name, action);
    }
}

std::vector<std::pair<QString, QAction *>> allItems(QMainWindow &window)
{
    std::vector<std::pair<QString, QAction *>> items;
    for (QAction *top : window.menuBar()->actions())
        if (top->menu())
            collectItems(*top->menu(), top->text(), items);
    return items;
}

void wheel(QWidget *target, int delta, Qt::KeyboardModifiers modifiers)
{
    const QPointF middle = QRectF(target->rect()).center();
    QWheelEvent event(middle, target->mapToGlobal(middle), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(WindowTest, EveryMenuKeyBelongsToOneItemAndTheStandardOnesAreThere)
{
    VekDocumentWindow &window = start();
    std::map<QString, QString> owner;   // key sequence -> item
    for (const auto &[name, action] : allItems(window))
        for (const QKeySequence &key : action->shortcuts()) {
            const QString text = key.toString();
            EXPECT_FALSE(owner.count(text)) << text.toStdString() << " is the key of both " << owner[text].toStdString()
                                            << " and " << name.toStdString();
            owner[text] = name;
        }
    const std::vector<std::pair<QString, QKeySequence::StandardKey>> standard = {
        {QStringLiteral("Edit > Cut"), QKeySequence::Cut},
        {QStringLiteral("Edit > Copy"), QKeySequence::Copy},
        {QStringLiteral("Edit > Paste"), QKeySequence::Paste},
        {QStringLiteral("Edit > Select All"), QKeySequence::SelectAll},
        {QStringLiteral("Edit > Undo"), QKeySequence::Undo},
        {QStringLiteral("Edit > Redo"), QKeySequence::Redo},
        {QStringLiteral("File > Save"), QKeySequence::Save},
        {QStringLiteral("File > Open..."), QKeySequence::Open},
        {QStringLiteral("File > New"), QKeySequence::New},
        {QStringLiteral("File > Quit"), QKeySequence::Quit},
        {QStringLiteral("Page > Zoom In"), QKeySequence::ZoomIn},
        {QStringLiteral("Page > Zoom Out"), QKeySequence::ZoomOut},
    };
    for (const auto &[name, key] : standard)
        for (const QKeySequence &binding : QKeySequence::keyBindings(key))
            EXPECT_EQ(owner[binding.toString()], name) << binding.toString().toStdString();
    EXPECT_EQ(owner[QKeySequence(Qt::CTRL | Qt::Key_D).toString()], QStringLiteral("Edit > Duplicate"));
    EXPECT_EQ(owner[QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S).toString()], QStringLiteral("File > Save As..."));
}

TEST_F(WindowTest, ClipboardKeysSelectAllDuplicateAndUndoActOnTheCanvas)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    VekDocument &document = window.document();
    chooseTool(QStringLiteral("Object"));
    canvas.drag({20, 20}, {120, 90});
    canvas.drag({150, 20}, {250, 90});
    chooseTool(QStringLiteral("Arrow"));
    ASSERT_EQ(document.objects().size(), 2u);
    canvas.click(400, 400);   // on the page, beside the objects: nothing selected
    ASSERT_TRUE(window.vekView().selectedObjects().empty());

    canvas.key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(window.vekView().selectedObjects().size(), 2u);
    canvas.key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(VekantoDocumentMimeType));
    canvas.key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(document.objects().size(), 4u);
    canvas.key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(document.objects().size(), 6u);
    canvas.key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(document.objects().size(), 4u);
    // Undo all by the key, then redo all.
    for (int step = 0; step < 3; ++step)
        canvas.key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(document.objects().size(), 2u);
    for (int step = 0; step < 3; ++step)
        canvas.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(document.objects().size(), 4u);
}

TEST_F(WindowTest, ClipboardKeysActOnTheTextWhileItIsEdited)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    chooseTool(QStringLiteral("Text"));
    canvas.click(40, 40);
    canvas.type(QStringLiteral("hello"));
    ASSERT_TRUE(window.vekView().editorView());
    canvas.key(Qt::Key_A, Qt::ControlModifier);
    canvas.key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
    canvas.key(Qt::Key_V, Qt::ControlModifier);
    canvas.key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window.document().objects().size(), 1u);
    const auto *box = dynamic_cast<VekObjText *>(window.document().objects().front().get());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->contents().string(), QStringLiteral("hellohello"));
}

TEST_F(WindowTest, ZoomByKeysAndByTheWheelWithControl)
{
    VekDocumentWindow &window = start();
    CanvasDriver canvas(window);
    VekView &view = window.vekView();
    ASSERT_EQ(view.currentZoom(), 100);
    canvas.key(Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(view.currentZoom(), 150);
    canvas.key(Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(view.currentZoom(), 200);
    canvas.key(Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(view.currentZoom(), 150);
    wheel(canvas.canvas(), -120, Qt::ControlModifier);
    EXPECT_EQ(view.currentZoom(), 100);
    wheel(canvas.canvas(), 60, Qt::ControlModifier);   // half a notch: not yet
    EXPECT_EQ(view.currentZoom(), 100);
    wheel(canvas.canvas(), 60, Qt::ControlModifier);
    EXPECT_EQ(view.currentZoom(), 150);
    // Without Control the wheel scrolls.
    wheel(canvas.canvas(), -240, {});
    EXPECT_EQ(view.currentZoom(), 150);
}

// The shared widgets: the table views' key hook and colour wells on the colour panel.
#include "panels/colour_well.h"
#include "panels/vek_text_field.h"
#include "toolkit/ui/image_cell.h"
#include "toolkit/ui/vek_table_view.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace {

struct CountingDelegate : TableDeleteDelegate {
    int deletes = 0;
    void deleteAction(VekTableView &) override { ++deletes; }
};

// A parent that records the keys its children pass on.
struct KeyRecorder : QWidget {
    QList<int> keys;
    void keyPressEvent(QKeyEvent *event) override { keys << event->key(); }
};

bool sendKey(QWidget &target, int key, const QString &text)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(&target, &event);
    return event.isAccepted();
}

} // namespace

TEST(VekTableView, DeleteGoesToTheDelegateAndOtherKeysToTheParent)
{
    ensureWidgetApp();
    KeyRecorder parent;
    auto *table = new VekTableView(&parent);
    QStandardItemModel model(3, 1);
    table->setModel(&model);
    table->setCurrentIndex(model.index(0, 0));

    // Without a delegate Delete is not taken either.
    sendKey(*table, Qt::Key_Delete, QStringLiteral("\x7f"));
    CountingDelegate delegate;
    table->setDeleteDelegate(&delegate);
    EXPECT_TRUE(sendKey(*table, Qt::Key_Backspace, QStringLiteral("\b")));
    EXPECT_EQ(delegate.deletes, 1);
    // The arrow keys are passed on, and the table's own selection stays.
    sendKey(*table, Qt::Key_Down, QString());
    sendKey(*table, Qt::Key_A, QStringLiteral("a"));
    EXPECT_EQ(table->currentIndex().row(), 0);
    EXPECT_EQ(parent.keys, (QList<int>{Qt::Key_Delete, Qt::Key_Down, Qt::Key_A}));
}

TEST(ColourWell, FocusConnectsOneWellAtATimeToThePanel)
{
    ensureWidgetApp();
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *first = new ColourWell(&window);
    auto *second = new ColourWell(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();

    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(first, &in);
    EXPECT_TRUE(first->isActive());
    QList<Color> picked;
    QObject::connect(first, &ColourWell::colorChanged, [&picked](const Color &c) { picked << c; });
    ColourPanel::sharedColorPanel().pickColor(Color::redColor());
    EXPECT_EQ(first->color(), Color::redColor());
    EXPECT_EQ(picked.size(), 1);

    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(first, &out);
    QCoreApplication::sendEvent(second, &in);
    EXPECT_FALSE(first->isActive());
    EXPECT_TRUE(second->isActive());
    ColourPanel::sharedColorPanel().pickColor(Color::blueColor());
    EXPECT_EQ(first->color(), Color::redColor());
    EXPECT_EQ(second->color(), Color::blueColor());
    QCoreApplication::sendEvent(second, &out);
    EXPECT_EQ(ColourPanel::sharedColorPanel().target(), nullptr);
}

TEST(ImageCell, TheImageIsCentredAndClippedToTheBounds)
{
    EXPECT_EQ(rectCoveredByImageInBounds({10, 20}, Rect(0, 0, 100, 100)), Rect(45, 40, 10, 20));
    EXPECT_EQ(rectCoveredByImageInBounds({200, 20}, Rect(10, 10, 100, 40)), Rect(10, 20, 100, 20));
}

namespace {

struct RecordingController : VekTextFieldController {
    QStringList messages;
    void changeObjectBounds(VekTextField &) override { messages << QStringLiteral("bounds"); }
    void rotate(VekTextField &) override { messages << QStringLiteral("rotate"); }
    void changeObjectValue(VekTextField &) override { messages << QStringLiteral("value"); }
    void changePrintInfo(VekTextField &) override { messages << QStringLiteral("printInfo"); }
    void setGridProperty(VekTextField &) override { messages << QStringLiteral("grid"); }
};

} // namespace

TEST(VekTextField, SendsItsTagsMessageOnceWhenAnEditEnds)
{
    ensureWidgetApp();
    struct Case {
        int tag;
        bool typed;
        int tagDuringEdit;   // the tag set while editing
        const char *message; // empty: nothing sent
    };
    const std::vector<Case> cases = {
        {9, true, 9, ""},          {10, true, 10, "bounds"},  {11, true, 11, "rotate"},
        {12, true, 12, "value"},   {13, true, 13, "printInfo"}, {14, true, 14, "grid"},
        {15, true, 15, ""},        {12, false, 12, ""},       {12, true, 13, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.tag);
        RecordingController controller;
        QWidget window;
        auto *field = new VekTextField(&window);
        field->setController(&controller);
        field->setTag(c.tag);
        window.show();
        field->setFocus();
        if (c.typed) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
            QCoreApplication::sendEvent(field, &key);
            EXPECT_TRUE(controller.messages.isEmpty());   // typing alone sends nothing
            EXPECT_EQ(field->selectedRange(), std::make_pair(1, 0));
        }
        field->setTag(c.tagDuringEdit);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        emit field->editingFinished();   // the focus leaving after Return
        EXPECT_EQ(controller.messages.join(QLatin1Char(',')), QString::fromLatin1(c.message));
        if (c.typed)
            EXPECT_EQ(field->startTag(), -1);
        EXPECT_EQ(field->selectedRange(), std::make_pair(0, 0));
    }
}

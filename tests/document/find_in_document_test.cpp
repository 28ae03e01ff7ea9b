// Find in the document: the front-most text box is edited when a search begins with
// nothing edited, and a search that runs out of matches moves on through the stacking
// order (skipping other kinds of objects) without wrapping.
#include "document/vek_document.h"

#include "model/services/shell_services.h"
#include "model/text/text_finder.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "tests/model/fakes.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

namespace {

// A canvas that hosts the editor as the real one does and remembers where it scrolled.
class EditingCanvas : public FakeCanvas {
public:
    TextView *editor = nullptr;
    std::vector<Rect> scrolledTo;

    TextView *editorView() const override { return editor; }
    void setEditingObject(const std::shared_ptr<VekObject> &object, TextView *view) override
    {
        FakeCanvas::setEditingObject(object, view);
        editor = view;
    }
    void endEditing() override
    {
        if (auto object = editingObject())
            object->editing()->endEditingInView(this);
    }
    void scrollRectToVisible(const Rect &r) override { scrolledTo.push_back(r); }
};

class ContinuingShell : public ShellServices {
public:
    bool continues = true;
    bool continueFindInOthers() const override { return continues; }
};

struct FindFixture {
    ContinuingShell shell;
    ScopedShell scopedShell{shell};
    EditingCanvas canvas;
    VekDocument document;
    std::vector<std::shared_ptr<VekObjText>> texts;

    // Front to back: text, path, text, text; the middle text has no match.
    FindFixture()
    {
        ensureGuiApp();
        canvas.visible = Rect(0, 0, 600, 400);   // the last box lies below the view
        document.setVekView(&canvas);
        const QString strings[] = {QStringLiteral("an apple a day"), QStringLiteral("no fruit here"),
                                   QStringLiteral("apple pie and apple tart")};
        int index = 0;
        for (int i = 0; i < 3; ++i) {
            auto text = VekObjText::create();
            text->setBounds(Rect(20, 20 + 300 * float(i), 200, 60));
            text->setContents(AttributedString(strings[i]));
            texts.push_back(text);
            document.insertObject(text, index++, false);
            if (i == 0) {
                auto path = VekObjPath::create();
                path->setBezierPath(BezierPath::bezierPathWithRect(Rect(0, 0, 10, 10)));
                document.insertObject(path, index++, false);
            }
        }
        TextFinder::shared().settings = FindSettings{QStringLiteral("APPLE"), QString(), true};
    }
    ~FindFixture()
    {
        canvas.endEditing();
        document.setVekView(nullptr);
    }
    VekTextView *editor() const { return dynamic_cast<VekTextView *>(canvas.editor); }
    std::shared_ptr<VekObject> edited() const { return canvas.editingObject(); }
};

} // namespace

TEST(FindInDocument, ShowingThePanelEditsTheFrontMostTextBox)
{
    FindFixture f;
    int shown = 0;
    TextFinder::shared().showPanel = [&] { ++shown; };
    f.document.performFindPanelAction(FindPanelNext);   // nothing edited: only showing starts
    EXPECT_FALSE(f.edited());
    f.document.performFindPanelAction(FindPanelShow);
    EXPECT_EQ(f.edited(), f.texts[0]);
    EXPECT_EQ(shown, 1);
    TextFinder::shared().showPanel = nullptr;

    VekDocument empty;
    EditingCanvas canvas;
    empty.setVekView(&canvas);
    empty.performFindPanelAction(FindPanelShow);
    EXPECT_FALSE(canvas.editingObject());
    empty.setVekView(nullptr);
}

TEST(FindInDocument, NextAndPreviousMoveThroughTheTextBoxesWithoutWrapping)
{
    FindFixture f;
    f.document.performFindPanelAction(FindPanelShow);
    f.document.performFindPanelAction(FindPanelNext);
    EXPECT_EQ(f.editor()->selectedRange(), (TextRange{3, 5}));
    // No further match here: on past the path and the text without a match.
    f.document.performFindPanelAction(FindPanelNext);
    EXPECT_EQ(f.edited(), f.texts[2]);
    EXPECT_TRUE(f.canvas.objectIsSelected(*f.texts[2]));
    EXPECT_EQ(f.editor()->selectedRange(), (TextRange{0, 5}));
    EXPECT_EQ(f.canvas.scrolledTo, std::vector<Rect>{f.texts[2]->bounds()});   // it was out of view
    f.document.performFindPanelAction(FindPanelNext);
    EXPECT_EQ(f.editor()->selectedRange(), (TextRange{14, 5}));
    // The last box in the order: the search stays in it.
    f.document.performFindPanelAction(FindPanelNext);
    EXPECT_EQ(f.edited(), f.texts[2]);
    // Previous from the first match goes to the nearest box in front with a match,
    // searching from its end.
    f.editor()->setSelectedRange({0, 5});
    f.document.performFindPanelAction(FindPanelPrevious);
    EXPECT_EQ(f.edited(), f.texts[0]);
    EXPECT_EQ(f.editor()->selectedRange(), (TextRange{3, 5}));
    // The first box in the order: no wrap to the back.
    f.document.performFindPanelAction(FindPanelPrevious);
    EXPECT_EQ(f.edited(), f.texts[0]);
}

TEST(FindInDocument, WithoutThePreferenceTheSearchStaysInOneText)
{
    FindFixture f;
    f.shell.continues = false;
    f.document.performFindPanelAction(FindPanelShow);
    f.document.performFindPanelAction(FindPanelNext);
    f.document.performFindPanelAction(FindPanelNext);
    EXPECT_EQ(f.edited(), f.texts[0]);
    EXPECT_EQ(f.editor()->selectedRange(), (TextRange{3, 5}));
}

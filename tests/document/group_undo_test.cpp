// The group tree operations that the group outline offers, undone and redone as a whole: each
// step back gives exactly the tree before it, each step forward exactly the tree after it.
#include "document/vek_document.h"

#include "model/vek_group.h"
#include "model/vek_object.h"
#include "tests/support/gui_app.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Every group record and every object's group, as one comparable text.
QString treeOf(const VekDocument &document)
{
    QString text;
    const PropertyList base = document.groupBaseDictionary();
    QStringList ids = base.keys();
    ids.sort();
    for (const QString &id : ids) {
        const PropertyList record = base.value(id);
        QStringList members;
        for (qsizetype i = 0; i < record.value(GroupMembersKey).count(); ++i)
            members << record.value(GroupMembersKey).at(i).stringValue();
        members.sort();
        text += id + QLatin1Char('<') + record.value(GroupParentIDKey).stringValue() + QLatin1Char('>') +
                members.join(QLatin1Char(',')) + QLatin1Char(';');
    }
    for (const auto &object : document.objects())
        text += QLatin1Char('|') + object->groupID();
    return text;
}

struct Case {
    const char *name;
    std::function<void(VekDocument &, const std::vector<std::shared_ptr<VekObject>> &, const QString &inner,
                       const QString &outer)>
        change;
};

} // namespace

TEST(GroupUndo, UngroupingUndoesAndRedoesExactly)
{
    ensureGuiApp();
    const Case cases[] = {
        {"downwards from the top", [](VekDocument &d, auto &, const QString &, const QString &outer) { d.ungroupDownwards(outer); }},
        {"downwards from the inner group", [](VekDocument &d, auto &, const QString &inner, const QString &) { d.ungroupDownwards(inner); }},
        {"locally at the top", [](VekDocument &d, auto &, const QString &, const QString &outer) { d.ungroupLocally(outer); }},
        {"locally the inner group", [](VekDocument &d, auto &, const QString &inner, const QString &) { d.ungroupLocally(inner); }},
        {"a member taken out", [](VekDocument &d, auto &o, const QString &, const QString &) {
             d.removeMemberFromGroup(o[2], o[2]->groupID(), true);
         }},
    };
    for (const Case &c : cases) {
        VekDocument document;
        std::vector<std::shared_ptr<VekObject>> objects;
        for (int i = 0; i < 4; ++i) {
            objects.push_back(VekObject::create());
            objects.back()->setBounds(Rect(10.0f * float(i), 10, 20, 20));
            document.insertObject(objects.back(), i, false);
        }
        document.groupObjects({objects[0], objects[1]});
        const QString inner = objects[0]->groupID();
        document.groupObjects({objects[0], objects[1], objects[2]});
        const QString outer = objects[2]->groupID();
        document.undoManager()->closeEventGroup();
        document.undoManager()->removeAllActions();
        const QString before = treeOf(document);

        c.change(document, objects, inner, outer);
        document.undoManager()->closeEventGroup();
        const QString after = treeOf(document);
        EXPECT_NE(after, before) << c.name;
        document.undoManager()->undo();
        EXPECT_EQ(treeOf(document), before) << c.name;
        document.undoManager()->redo();
        EXPECT_EQ(treeOf(document), after) << c.name;
        document.undoManager()->undo();
        EXPECT_EQ(treeOf(document), before) << c.name;
    }
}

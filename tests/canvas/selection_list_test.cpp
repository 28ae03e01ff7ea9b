// The canvas's selection list: order, membership, removal, and objects that went away.
#include "canvas/selection_list.h"

#include "model/vek_obj_path.h"

#include <gtest/gtest.h>

namespace {

std::vector<const VekObject *> order(const SelectionList &list)
{
    std::vector<const VekObject *> objects;
    for (const auto &entry : list.entries())
        objects.push_back(entry.lock().get());
    return objects;
}

TEST(SelectionList, KeepsTheOrderAndRemovesEveryEntryOfAnObjectAndTheGoneOnes)
{
    auto a = VekObjPath::create(), b = VekObjPath::create(), c = VekObjPath::create();
    SelectionList list;
    for (const auto &o : {a, b, a, c})
        list.append(o);
    EXPECT_TRUE(list.contains(*a));
    EXPECT_EQ(order(list), (std::vector<const VekObject *>{a.get(), b.get(), a.get(), c.get()}));

    list.remove(*a);
    EXPECT_FALSE(list.contains(*a));
    EXPECT_EQ(order(list), (std::vector<const VekObject *>{b.get(), c.get()}));

    // A gone object is no longer selected; its entry goes with the next removal.
    b.reset();
    EXPECT_EQ(list.size(), 2u);
    list.remove({});
    EXPECT_EQ(order(list), (std::vector<const VekObject *>{c.get()}));

    const SelectionList copy(list.entries());
    EXPECT_TRUE(copy.contains(*c));
    EXPECT_FALSE(copy.contains(*a));
}

// An object made where a gone selected object was is not selected by that address.
TEST(SelectionList, ANewObjectAtAGoneObjectsAddressIsNotSelected)
{
    SelectionList list;
    auto first = VekObjPath::create();
    list.append(first);
    const VekObject *address = first.get();
    first.reset();
    std::vector<std::shared_ptr<VekObject>> made;
    for (int i = 0; i < 64 && (made.empty() || made.back().get() != address); ++i)
        made.push_back(VekObjPath::create());
    for (const auto &o : made)
        EXPECT_FALSE(list.contains(*o));
}

} // namespace

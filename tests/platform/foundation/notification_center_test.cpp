// Tests of the notification centre: filters by name and sender, order, and removal during delivery.
#include "platform/foundation/notification_center.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char *name;      // registered name ("" for any)
    int sender;            // registered sender: 0 any, 1 or 2 a particular one
    const char *posted;    // posted name
    int postedSender;
    bool heard;
};

const FilterCase filterCases[] = {
    {"A", 1, "A", 1, true},
    {"A", 1, "A", 2, false},
    {"A", 1, "B", 1, false},
    {"A", 0, "A", 2, true},
    {"A", 0, "B", 2, false},
    {"", 1, "B", 1, true},
    {"", 1, "B", 2, false},
    {"", 0, "B", 2, true},
    {"", 0, "B", 0, true},
    {"A", 1, "A", 0, false},   // a post without sender reaches only observers of any sender
};

TEST(NotificationCenter, FiltersByNameAndSender)
{
    const int senders[3] = {};
    const auto senderAt = [&](int i) -> const void * { return i == 0 ? nullptr : &senders[i]; };
    for (const FilterCase &c : filterCases) {
        SCOPED_TRACE(testing::Message() << c.name << "/" << c.sender << " <- " << c.posted << "/" << c.postedSender);
        NotificationCenter center;
        bool heard = false;
        center.addObserver(nullptr, c.name, senderAt(c.sender), [&](const Notification &) { heard = true; });
        center.postNotificationName(c.posted, senderAt(c.postedSender));
        EXPECT_EQ(heard, c.heard);
    }
}

TEST(NotificationCenter, DeliversNameSenderAndUserInfoInRegistrationOrder)
{
    NotificationCenter center;
    const int sender = 0;
    QStringList order;
    PropertyList received;
    center.addObserver(nullptr, "Changed", nullptr, [&](const Notification &n) {
        order << "first";
        EXPECT_EQ(n.name, "Changed");
        EXPECT_EQ(n.sender, &sender);
        received = n.userInfo;
    });
    center.addObserver(nullptr, QString(), &sender, [&](const Notification &) { order << "second"; });
    center.addObserver(nullptr, "Changed", nullptr, [&](const Notification &) { order << "third"; });

    PropertyList info = PropertyList::dictionary();
    info.insert("page", PropertyList::fromInt(3));
    center.postNotificationName("Changed", &sender, info);

    EXPECT_EQ(order, QStringList({"first", "second", "third"}));
    EXPECT_EQ(received.value("page").intValue(), 3);
}

TEST(NotificationCenter, RemovalDuringDeliveryIsSafe)
{
    NotificationCenter center;
    QStringList calls;
    NotificationCenter::ObserverToken self = 0;
    NotificationCenter::ObserverToken later = 0;
    int observerB = 0;
    self = center.addObserver(nullptr, "N", nullptr, [&](const Notification &) {
        calls << "self";
        center.removeObserver(self);   // the handler running now
        center.removeObserver(later);  // one not yet called in this delivery
        center.addObserver(nullptr, "N", nullptr, [&](const Notification &) { calls << "added"; });
    });
    center.addObserver(&observerB, "N", nullptr, [&](const Notification &) { calls << "b"; });
    later = center.addObserver(nullptr, "N", nullptr, [&](const Notification &) { calls << "later"; });

    center.postNotificationName("N", nullptr);
    EXPECT_EQ(calls, QStringList({"self", "b"}));   // an observer added during delivery waits
    calls.clear();
    center.postNotificationName("N", nullptr);
    EXPECT_EQ(calls, QStringList({"b", "added"}));
}

TEST(NotificationCenter, RemovalByObserverIdentity)
{
    NotificationCenter center;
    int observer = 0;
    int other = 0;
    const int sender = 0;
    QStringList calls;
    center.addObserver(&observer, "A", nullptr, [&](const Notification &) { calls << "A"; });
    center.addObserver(&observer, "B", &sender, [&](const Notification &) { calls << "B"; });
    center.addObserver(&observer, "B", nullptr, [&](const Notification &) { calls << "B any"; });
    center.addObserver(&other, "A", nullptr, [&](const Notification &) { calls << "other"; });
    center.addObserver(nullptr, "A", nullptr, [&](const Notification &) { calls << "token only"; });
    center.removeObserver(nullptr);   // removes nothing

    center.removeObserverNameObject(&observer, "B", &sender);
    center.postNotificationName("B", &sender);
    EXPECT_EQ(calls, QStringList({"B any"}));

    calls.clear();
    center.removeObserver(&observer);
    center.postNotificationName("A", nullptr);
    center.postNotificationName("B", nullptr);
    EXPECT_EQ(calls, QStringList({"other", "token only"}));
}

TEST(NotificationCenter, DefaultCenterIsShared)
{
    EXPECT_EQ(&NotificationCenter::defaultCenter(), &NotificationCenter::defaultCenter());
}

} // namespace

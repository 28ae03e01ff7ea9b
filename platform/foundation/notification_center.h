// NotificationCenter: named notifications delivered synchronously to the observers that asked for them.
//
// An observer registers a handler for a notification name, a sender, both, or neither (an
// empty name or a null sender means "any"). Posting calls every matching handler at once, on
// the posting thread, in the order the observers were added; the post returns when all have
// run.
//
// Delivery works on a snapshot of the matching observers, so handlers may add and remove
// observers freely: an observer removed during a delivery (itself, or one later in the
// order) is not called after its removal, and one added during a delivery first hears the
// next post. Adding, removing and posting may happen on several threads; handlers run on
// the thread that posts.
//
// Senders and observers are identities only (`const void *`): pass the same pointer you
// filter on, the most derived object's address. An object that observes must remove itself
// (removeObserver(this)) before it is destroyed, or keep the token of every registration.
#pragma once

#include "platform/foundation/property_list.h"

#include <QMutex>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct Notification {
    QString name;
    const void *sender = nullptr;
    PropertyList userInfo;   // a dictionary, or absent
};

class NotificationCenter {
public:
    using Handler = std::function<void(const Notification &)>;
    // Identifies one registration; 0 is never handed out.
    using ObserverToken = quint64;

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter &) = delete;
    NotificationCenter &operator=(const NotificationCenter &) = delete;

    // The process-wide centre that the application's objects post on.
    static NotificationCenter &defaultCenter();

    // Calls handler for each notification named `name` (empty: any name) posted by `sender`
    // (null: any sender). `observer` is the identity removeObserver(observer) removes; it may
    // be null when only the token is used.
    ObserverToken addObserver(const void *observer, const QString &name, const void *sender, Handler handler);

    void removeObserver(ObserverToken token);
    // Every registration of the observer (nothing for a null observer).
    void removeObserver(const void *observer);
    // The observer's registrations for this name and sender; an empty name or null sender
    // matches every registration of the observer in that respect.
    void removeObserverNameObject(const void *observer, const QString &name, const void *sender);

    void postNotification(const Notification &notification);
    void postNotificationName(const QString &name, const void *sender, const PropertyList &userInfo = {});

private:
    struct Observer;

    QMutex m_mutex;
    std::vector<std::shared_ptr<Observer>> m_observers;   // in registration order
    ObserverToken m_lastToken = 0;
};

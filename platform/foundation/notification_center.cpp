// NotificationCenter: observer registry and synchronous delivery.
#include "platform/foundation/notification_center.h"

#include <QMutexLocker>

#include <algorithm>
#include <atomic>

struct NotificationCenter::Observer {
    ObserverToken token;
    const void *identity;
    QString name;
    const void *sender;
    Handler handler;
    // Cleared on removal, so a delivery already under way skips it.
    std::atomic<bool> active{true};

    bool matches(const Notification &notification) const
    {
        return (name.isEmpty() || name == notification.name) && (!sender || sender == notification.sender);
    }
};

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverToken NotificationCenter::addObserver(const void *observer, const QString &name,
                                                                  const void *sender, Handler handler)
{
    QMutexLocker lock(&m_mutex);
    auto entry = std::make_shared<Observer>();
    entry->token = ++m_lastToken;
    entry->identity = observer;
    entry->name = name;
    entry->sender = sender;
    entry->handler = std::move(handler);
    m_observers.push_back(entry);
    return entry->token;
}

void NotificationCenter::removeObserver(ObserverToken token)
{
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observers, [token](const std::shared_ptr<Observer> &entry) {
        if (entry->token != token)
            return false;
        entry->active = false;
        return true;
    });
}

void NotificationCenter::removeObserver(const void *observer)
{
    removeObserverNameObject(observer, QString(), nullptr);
}

void NotificationCenter::removeObserverNameObject(const void *observer, const QString &name, const void *sender)
{
    if (!observer)   // registrations without an identity go by token only
        return;
    QMutexLocker lock(&m_mutex);
    std::erase_if(m_observers, [&](const std::shared_ptr<Observer> &entry) {
        if (entry->identity != observer || (!name.isEmpty() && entry->name != name)
            || (sender && entry->sender != sender))
            return false;
        entry->active = false;
        return true;
    });
}

void NotificationCenter::postNotification(const Notification &notification)
{
    // The snapshot keeps each handler alive even when it removes itself while it runs.
    std::vector<std::shared_ptr<Observer>> recipients;
    {
        QMutexLocker lock(&m_mutex);
        for (const auto &entry : m_observers)
            if (entry->matches(notification))
                recipients.push_back(entry);
    }
    for (const auto &entry : recipients)
        if (entry->active)
            entry->handler(notification);
}

void NotificationCenter::postNotificationName(const QString &name, const void *sender, const PropertyList &userInfo)
{
    postNotification(Notification{name, sender, userInfo});
}

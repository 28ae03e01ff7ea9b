// Helpers for the geometry and transform tests: an object kind with an editable path, a
// counter of the notifications one object posts, and a shell with distinct marker colours.
#pragma once

#include "model/vek_object.h"
#include "model/services/shell_services.h"
#include "platform/foundation/notification_center.h"

#include <QMap>

// A base object that answers YES to hasEditablePath, as the path kinds do, and records
// its flips.
class EditableObject : public VekObject {
public:
    explicit EditableObject(Passkey key) : VekObject(key) {}
    static std::shared_ptr<EditableObject> create() { return makeObject<EditableObject>(); }
    bool hasEditablePath() const override { return true; }
};

// Counts the notifications that one sender posts, by name.
class PostCounter {
public:
    explicit PostCounter(const void *sender)
    {
        NotificationCenter::defaultCenter().addObserver(this, QString(), sender,
                                                        [this](const Notification &n) { ++m_counts[n.name]; });
    }
    ~PostCounter() { NotificationCenter::defaultCenter().removeObserver(this); }
    PostCounter(const PostCounter &) = delete;
    PostCounter &operator=(const PostCounter &) = delete;

    int operator[](const QString &name) const { return m_counts.value(name); }
    void clear() { m_counts.clear(); }

private:
    QMap<QString, int> m_counts;
};

// Marker colours that tell the roles apart.
class MarkerShell : public ShellServices {
public:
    Color knobColor() const override { return Color::colorWithDeviceRed(0.1f, 0, 0); }
    Color ctrlLineColor() const override { return Color::colorWithDeviceRed(0.2f, 0, 0); }
    Color ctrlPtsColor() const override { return Color::colorWithDeviceRed(0.3f, 0, 0); }
    Color ctrlPtCColor() const override { return Color::colorWithDeviceRed(0.4f, 0, 0); }
    Color ctrlPtBColor() const override { return Color::colorWithDeviceRed(0.5f, 0, 0); }
    Color ctrlPtEColor() const override { return Color::colorWithDeviceRed(0.6f, 0, 0); }
    Color ctrlPtOColor() const override { return Color::colorWithDeviceRed(0.7f, 0, 0); }
};

// The format lists in the user defaults.
#include "panels/format_lists.h"

#include "platform/foundation/user_defaults.h"

namespace {

const QString FormatsKey = QStringLiteral("formats");

QString keyFor(FormatKind kind)
{
    return kind == FormatKind::Page ? QStringLiteral("formatsPage") : QStringLiteral("formatsDate");
}

} // namespace

FormatLists::FormatLists(UserDefaults &defaults) : m_defaults(defaults) {}

QStringList FormatLists::builtInFormats(FormatKind kind)
{
    if (kind == FormatKind::Page)
        return {"%d", "- %d -", "( %d )", "< %d >", "p.%d"};
    return {"%B %e, %Y", "%m/%d/%Y", "%Y/%m/%d", "%d.%m.%Y", "%H:%M:%S", "%p %I:%M:%S", "%Y-%m-%d %H:%M:%S %z"};
}

QStringList FormatLists::storedFormats(FormatKind kind) const
{
    const PropertyList stored = m_defaults.objectForKey(FormatsKey).value(keyFor(kind));
    QStringList formats;
    for (const PropertyList &item : stored.elements())
        if (item.isString() && !item.stringValue().isEmpty())
            formats.append(item.stringValue());
    return formats.isEmpty() ? builtInFormats(kind) : formats;
}

void FormatLists::store(FormatKind kind, const QStringList &formats)
{
    PropertyList dictionary = m_defaults.objectForKey(FormatsKey);
    if (!dictionary.isDictionary())
        dictionary = PropertyList::dictionary();
    dictionary.insert(keyFor(kind), PropertyList::fromStringList(formats));
    m_defaults.setObject(dictionary, FormatsKey);
    m_defaults.synchronize();
}

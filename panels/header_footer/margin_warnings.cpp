// The margin warnings of the header and footer panel.
#include "panels/header_footer/margin_warnings.h"

#include "platform/foundation/localized_strings.h"

QString headerWarning()
{
    return localizedString(QStringLiteral("Warning: Header height exceeds the current top margin. "));
}

QString footerWarning()
{
    return localizedString(QStringLiteral("Warning: Footer height exceeds the current bottom margin."));
}

QString marginMessage(bool headerTooTall, bool footerTooTall)
{
    QString message = headerTooTall ? headerWarning() : QString();
    if (footerTooTall)
        message = message.isEmpty() ? footerWarning()
                                    : message + localizedString(QStringLiteral("Footer height exceeds the bottom margin."));
    return message;
}

QString marginMessageAfterEdit(const QString &current, bool headerCell, bool tooTall)
{
    if (tooTall)
        return headerCell ? headerWarning() : footerWarning();
    if (headerCell) {
        if (current == headerWarning())
            return QString();
        if (current.startsWith(headerWarning()))
            return footerWarning();
        return current;
    }
    if (current.startsWith(headerWarning()))
        return headerWarning();
    return current.size() > 1 ? QString() : current;
}

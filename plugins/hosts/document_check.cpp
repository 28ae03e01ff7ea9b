#include "plugins/hosts/document_check.h"

#include "platform/foundation/native_path_files.h"
#include "plugins/importer/document_root.h"

QString whyNotADocument(const char *path)
{
    QString why;
    const std::optional<QByteArray> data = readWholeFileAtNativePath(path, &why);
    if (!data)
        return QStringLiteral("it cannot be read: %1").arg(why);
    if (documentRootFromData(*data))
        return {};
    if (startsLikeDocument(*data))
        return QStringLiteral("the document is damaged (it is cut short or its contents cannot be read)");
    return QStringLiteral("it is not a Vekanto document");
}

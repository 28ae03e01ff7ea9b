// vekanto-metadata: prints the metadata of Vekanto documents for indexers and scripts. It
// loads the metadata importer through its interface and prints, for each file, one JSON
// object on a line: "file" and the attributes found (kMDItemAuthors, kMDItemTitle,
// kMDItemSubject, kMDItemCopyright, kMDItemKeywords). A file that is no document, or a
// damaged one, gets a message on standard error instead, and the exit status is 1.
//
//   vekanto-metadata FILE...
#include "platform/foundation/native_path_files.h"
#include "plugins/hosts/document_check.h"
#include "plugins/hosts/host_limits.h"
#include "plugins/hosts/json_file_name.h"
#include "plugins/hosts/plugin_library.h"
#include "plugins/importer/importer_interface.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace {

void setString(VekMetadataAttributes *attributes, const char *key, const char *value)
{
    (*static_cast<QJsonObject *>(attributes->host))[QString::fromLatin1(key)] = QString::fromUtf8(value);
}

void setStrings(VekMetadataAttributes *attributes, const char *key, const char *const *values, size_t count)
{
    QJsonArray list;
    for (size_t i = 0; i < count; ++i)
        list.append(QString::fromUtf8(values[i]));
    (*static_cast<QJsonObject *>(attributes->host))[QString::fromLatin1(key)] = list;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: vekanto-metadata FILE...\n");
        return 2;
    }
    limitHostResources(nativePathForMessages(argv[1]));
    QCoreApplication application(argc, argv);
    PlugInLibrary library(QStringLiteral("VekantoImporter"));
    auto *instance = static_cast<VekImporterInterface **>(
        library.instance(VEK_IMPORTER_TYPE_ID, VEK_IMPORTER_INTERFACE_ID));
    if (!instance) {
        std::fprintf(stderr, "vekanto-metadata: %s\n", qPrintable(library.error()));
        return 1;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        if (const QString why = whyNotADocument(argv[i]); !why.isEmpty()) {
            std::fprintf(stderr, "vekanto-metadata: %s: %s\n", argv[i], qPrintable(why));
            status = 1;
            continue;
        }
        QJsonObject attributes;
        VekMetadataAttributes sink{&attributes, setString, setStrings};
        (*instance)->ImportFromFile(instance, &sink, "kestrum.vekanto.vek", argv[i]);
        // "file" first, then the attributes in the order JSON objects keep (by name).
        const QByteArray rest = QJsonDocument(attributes).toJson(QJsonDocument::Compact);
        std::printf("{\"file\":%s%s\n", jsonStringOfFileName(argv[i]).constData(),
                    attributes.isEmpty() ? "}" : ("," + rest.mid(1)).constData());
    }
    (*instance)->Release(instance);
    return status;
}

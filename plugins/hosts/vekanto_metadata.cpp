// vekanto-metadata: prints the metadata of Vekanto documents for indexers and scripts. It
// loads the metadata importer through its interface and prints, for each file, one JSON
// object on a line: "file" and the attributes found (kMDItemAuthors, kMDItemTitle,
// kMDItemSubject, kMDItemCopyright, kMDItemKeywords).
//
//   vekanto-metadata FILE...
#include "plugins/hosts/host_limits.h"
#include "plugins/hosts/plugin_library.h"
#include "plugins/importer/importer_interface.h"

#include <QCoreApplication>
#include <QFile>
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

// Either stored form: the text form starts with "{", the archive with its signature.
bool looksLikeDocument(const QString &path, QString *why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    const QByteArray start = file.read(16);
    if (start.startsWith('{') || start.mid(2).startsWith("streamtyped") || start.mid(2).startsWith("typedstream"))
        return true;
    *why = QStringLiteral("it is not a Vekanto document");
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: vekanto-metadata FILE...\n");
        return 2;
    }
    limitHostResources(QString::fromLocal8Bit(argv[1]));
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
        const QString path = QString::fromLocal8Bit(argv[i]);
        QString why;
        if (!looksLikeDocument(path, &why)) {
            std::fprintf(stderr, "vekanto-metadata: %s: %s\n", argv[i], qPrintable(why));
            status = 1;
            continue;
        }
        QJsonObject attributes{{QStringLiteral("file"), path}};
        VekMetadataAttributes sink{&attributes, setString, setStrings};
        (*instance)->ImportFromFile(instance, &sink, "kestrum.vekanto.vek", argv[i]);
        std::printf("%s\n", QJsonDocument(attributes).toJson(QJsonDocument::Compact).constData());
    }
    (*instance)->Release(instance);
    return status;
}

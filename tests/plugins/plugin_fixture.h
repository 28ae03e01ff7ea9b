// Loading the built plug-ins as a host does, and small documents written in either stored
// form for them to read.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_path.h"
#include "plugins/importer/importer_interface.h"
#include "plugins/preview/preview_interface.h"
#include "tests/support/gui_app.h"

#include <QTemporaryDir>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <map>
#include <thread>
#include <vector>

namespace pluginfixture {

// A symbol of the built plug-in library `name` (loaded once).
template <typename Function>
Function symbol(const char *name, const char *function)
{
    const QByteArray path = QByteArray(VEK_PLUGIN_DIR "/lib") + name + ".so";
    void *handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    EXPECT_NE(handle, nullptr) << dlerror();
    return handle ? reinterpret_cast<Function>(dlsym(handle, function)) : nullptr;
}

inline VekUUIDBytes uuid(const char *text)
{
    return *uuidFromString(text);
}

// The instances alive for the factory inside the plug-in `name`.
inline int instancesOf(const char *name, const char *factory)
{
    const VekUUIDBytes id = uuid(factory);
    return symbol<int (*)(const VekUUIDBytes *)>(name, "VekPlugInInstanceCount")(&id);
}

inline void *newInstance(const char *name, const char *factoryFunction, const char *type, const char *interface)
{
    const VekUUIDBytes typeID = uuid(type);
    void *made = symbol<VekPlugInFactoryFunction>(name, factoryFunction)(nullptr, &typeID);
    if (!made)
        return nullptr;
    auto *table = *static_cast<VekUnknownTable **>(made);
    void *queried = nullptr;
    EXPECT_EQ(table->QueryInterface(made, uuid(interface), &queried), VEK_S_OK);
    table->Release(made);
    return queried;
}

// The preview plug-in's answer to one request.
struct Answer {
    bool answered = false;
    QByteArray data;
    QByteArray contentType;
    int32_t status = 0;
};

inline Answer generate(const QString &path, bool preview, double maxSide = 0)
{
    ensureGuiApp();
    auto *instance = static_cast<VekPreviewInterface **>(newInstance(
        "VekantoPreview", "QuickLookGeneratorPluginFactory", VEK_PREVIEW_GENERATOR_TYPE_ID,
        VEK_PREVIEW_CALLBACKS_INTERFACE_ID));
    Answer answer;
    VekPreviewRequest request{&answer, [](VekPreviewRequest *r, const char *bytes, size_t length, const char *type) {
                                  auto *a = static_cast<Answer *>(r->host);
                                  a->answered = true;
                                  a->data = QByteArray(bytes, qsizetype(length));
                                  a->contentType = type;
                              }};
    const QByteArray file = path.toLocal8Bit();
    answer.status = preview ? (*instance)->GeneratePreviewForURL(instance, &request, file.constData(), "", nullptr)
                            : (*instance)->GenerateThumbnailForURL(instance, &request, file.constData(), "", nullptr,
                                                                   VekPreviewSize{maxSide, maxSide});
    (*instance)->Release(instance);
    return answer;
}

// The attributes the importer hands over for a file: strings, and lists joined by "|".
inline std::map<QString, QString> importAttributes(const QString &path, bool *returned = nullptr)
{
    auto *instance = static_cast<VekImporterInterface **>(newInstance(
        "VekantoImporter", "VekImporterPluginFactory", VEK_IMPORTER_TYPE_ID, VEK_IMPORTER_INTERFACE_ID));
    std::map<QString, QString> found;
    VekMetadataAttributes sink{
        &found,
        [](VekMetadataAttributes *a, const char *key, const char *value) {
            (*static_cast<std::map<QString, QString> *>(a->host))[key] = QString::fromUtf8(value);
        },
        [](VekMetadataAttributes *a, const char *key, const char *const *values, size_t count) {
            QStringList list;
            for (size_t i = 0; i < count; ++i)
                list << QString::fromUtf8(values[i]);
            (*static_cast<std::map<QString, QString> *>(a->host))[key] = list.join(QLatin1Char('|'));
        }};
    const QByteArray file = path.toLocal8Bit();
    const bool result = (*instance)->ImportFromFile(instance, &sink, "", file.constData());
    if (returned)
        *returned = result;
    (*instance)->Release(instance);
    return found;
}

inline std::shared_ptr<VekObjPath> filledRect(const Rect &r, const Color &fill)
{
    auto o = VekObjPath::create();
    o->setBezierPath(BezierPath::bezierPathWithRect(r));
    o->setBounds(r);
    o->setFillColor(fill);
    o->setDrawsFill(true);
    o->setDrawsStroke(false);
    return o;
}

// A document of `pages` pages of 200 x 100 points, a red square on each.
inline std::unique_ptr<VekDocument> pagesDocument(int pages)
{
    ensureGuiApp();
    auto document = std::make_unique<VekDocument>();
    document->setDrawAreaSizePerPage({200, 100});
    document->setNumberOfPages(pages);
    for (int page = 0; page < pages; ++page)
        document->insertObject(filledRect(Rect(10, 10 + 100.0f * float(page), 30, 30), Color::redColor()), 0, false);
    return document;
}

inline QString written(const VekDocument &document, const QTemporaryDir &dir, const QString &name,
                       bool textForm = false)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(document.writeToFile(path, textForm, nullptr));
    return path;
}

inline QString writtenBytes(const QByteArray &bytes, const QTemporaryDir &dir, const QString &name)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

} // namespace pluginfixture

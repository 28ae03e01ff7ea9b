// Loading the built plug-ins as a host does, and small documents written in either stored
// form for them to read.
#pragma once

#include "document/vek_document.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_marker.h"
#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/native_path_files.h"
#include "plugins/importer/importer_interface.h"
#include "plugins/preview/preview_interface.h"
#include "tests/support/gui_app.h"
#include "tests/support/text_objects_document.h"

#include <QTemporaryDir>

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <thread>
#include <vector>

extern char **environ;

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

// `path` as the file system holds it (any bytes).
inline Answer generate(const QByteArray &path, bool preview, double maxSide = 0)
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
    answer.status = preview ? (*instance)->GeneratePreviewForURL(instance, &request, path.constData(), "", nullptr)
                            : (*instance)->GenerateThumbnailForURL(instance, &request, path.constData(), "", nullptr,
                                                                   VekPreviewSize{maxSide, maxSide});
    (*instance)->Release(instance);
    return answer;
}

inline Answer generate(const QString &path, bool preview, double maxSide = 0)
{
    return generate(QFile::encodeName(path), preview, maxSide);
}

// The attributes the importer hands over for a file: strings, and lists joined by "|".
inline std::map<QString, QString> importAttributes(const QByteArray &path, bool *returned = nullptr)
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
    const bool result = (*instance)->ImportFromFile(instance, &sink, "", path.constData());
    if (returned)
        *returned = result;
    (*instance)->Release(instance);
    return found;
}

inline std::map<QString, QString> importAttributes(const QString &path, bool *returned = nullptr)
{
    return importAttributes(QFile::encodeName(path), returned);
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

// A page of 600 x 800 points holding every kind of object: the text boxes (turned, clipped,
// cut around a shape, linked), the table and the text along a curve of text_objects, and
// an image, a format field, a group of two shapes (one with a gradient, one with its own
// shadow) and a marker; with an author and a title to import.
inline std::unique_ptr<VekDocument> everyKindDocument()
{
    ensureGuiApp();
    auto document = std::make_unique<VekDocument>();
    document->setDrawAreaSizePerPage({600, 800});
    document->setNumberOfPages(1);
    text_objects::fillPage(*document);

    auto image = VekObjImage::create();
    QImage pixels(40, 20, QImage::Format_ARGB32);
    pixels.fill(Qt::magenta);
    image->setImage(Image(pixels));
    image->setBounds(Rect(440, 620, 80, 40));
    document->insertObject(image, 0, false);

    auto field = VekObjFormat::create();
    field->setBounds(Rect(440, 700, 80, 24));
    document->insertObject(field, 0, false);

    auto shadowed = filledRect(Rect(300, 620, 50, 50), Color::blueColor());
    PropertyList shadow = PropertyList::dictionary();
    shadow.insert(ShadowOffsetKey, PropertyList::fromFloat(4));
    shadow.insert(ShadowBlurKey, PropertyList::fromFloat(3));
    shadow.insert(ShadowColorKey, PropertyList::fromData(*archivedDataWithRootObject(Color::blackColor()).value));
    shadow.insert(ShadowStateKey, PropertyList::fromInt(1));
    shadowed->setIndvShadowValues(shadow);
    auto graded = filledRect(Rect(360, 620, 50, 50), Color::greenColor());
    document->insertObject(shadowed, 0, false);
    document->insertObject(graded, 0, false);
    graded->setGradientType(1, true);
    document->groupObjects({shadowed, graded});

    auto marker = VekObjMarker::create();
    BezierPath stroke;
    stroke.moveToPoint({300, 720});
    stroke.lineToPoint({420, 720});
    marker->setBezierPath(stroke);
    marker->setBounds(Rect(300, 715, 120, 10));
    marker->setObjLineWidth(10);
    marker->setColorNr(2);
    document->insertObject(marker, 0, false);

    document->setAuthor(QStringLiteral("Ada"));
    document->setTitle(QStringLiteral("Every kind"));
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

// A file named by bytes, removed at the end of the test (QTemporaryDir cannot remove a
// name that is not UTF-8).
struct RemovedAtEnd {
    explicit RemovedAtEnd(QByteArray name) : path(std::move(name)) {}
    ~RemovedAtEnd() { ::unlink(path.constData()); }
    RemovedAtEnd(const RemovedAtEnd &) = delete;
    RemovedAtEnd &operator=(const RemovedAtEnd &) = delete;
    const QByteArray path;
};

// A file whose name is not valid UTF-8 (as older systems and other locales make them),
// holding a copy of `source`; its name as the file system holds it.
inline QByteArray copiedToLatin1Name(const QString &source, const QTemporaryDir &dir)
{
    const QByteArray path = QFile::encodeName(dir.path()) + "/caf\xe9 \xff.vek";
    EXPECT_TRUE(writeWholeFileAtNativePath(path, *readWholeFileAtNativePath(QFile::encodeName(source).constData())));
    return path;
}

struct ProgramRun {
    int exitCode = -1;
    QByteArray out, err;
};

// The program run to its end with these arguments, passed as they are (any bytes), its
// output and errors caught in files.
inline ProgramRun runProgram(const QByteArray &program, const std::vector<QByteArray> &arguments)
{
    QTemporaryDir outputs;
    const QByteArray out = QFile::encodeName(outputs.filePath(QStringLiteral("out")));
    const QByteArray err = QFile::encodeName(outputs.filePath(QStringLiteral("err")));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<QByteArray> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    ProgramRun run;
    const int spawned = posix_spawn(&child, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    EXPECT_EQ(spawned, 0) << program.constData();
    int status = 0;
    if (spawned == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    run.out = readWholeFileAtNativePath(out.constData()).value_or(QByteArray());
    run.err = readWholeFileAtNativePath(err.constData()).value_or(QByteArray());
    return run;
}

} // namespace pluginfixture

#include "tests/plugins/hosts/plugin_host.h"

#include "plugins/importer/importer_interface.h"
#include "plugins/preview/preview_interface.h"

#include <dlfcn.h>
#include <pthread.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { maximumFiles = 16, maximumThreads = 32 };

typedef struct Bytes {
    char *data;
    size_t length;
} Bytes;

/* What one generation handed back. */
typedef struct Answer {
    Bytes bytes;
    char contentType[32];
    int calls;
} Answer;

/* The first answer for each file, which every later one must equal. */
typedef struct Reference {
    Bytes thumbnail;
    Bytes metadata;
} Reference;

typedef struct Work {
    VekPreviewInterface **preview;
    VekImporterInterface **importer;
    int rounds;
    int fileCount;
    char **files;
} Work;

static pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
static Reference references[maximumFiles];
static int failed;

static void fail(const char *format, ...)
{
    pthread_mutex_lock(&lock);
    if (!failed) {
        va_list arguments;
        va_start(arguments, format);
        fputs("plugin_host: ", stderr);
        vfprintf(stderr, format, arguments);
        fputc('\n', stderr);
        va_end(arguments);
    }
    failed = 1;
    pthread_mutex_unlock(&lock);
}

static void setBytes(Bytes *to, const char *data, size_t length)
{
    free(to->data);
    to->data = malloc(length ? length : 1);
    memcpy(to->data, data, length);
    to->length = length;
}

static void append(Bytes *to, const char *text)
{
    const size_t length = strlen(text);
    to->data = realloc(to->data, to->length + length + 1);
    memcpy(to->data + to->length, text, length + 1);
    to->length += length;
}

static void keepAnswer(VekPreviewRequest *request, const char *bytes, size_t length, const char *contentType)
{
    Answer *answer = request->host;
    setBytes(&answer->bytes, bytes, length);
    snprintf(answer->contentType, sizeof answer->contentType, "%s", contentType ? contentType : "");
    ++answer->calls;
}

static void keepString(VekMetadataAttributes *attributes, const char *key, const char *value)
{
    Bytes *found = attributes->host;
    append(found, key);
    append(found, "=");
    append(found, value);
    append(found, "\n");
}

static void keepStrings(VekMetadataAttributes *attributes, const char *key, const char *const *values, size_t count)
{
    Bytes *found = attributes->host;
    append(found, key);
    append(found, "=");
    for (size_t i = 0; i < count; ++i) {
        if (i > 0)
            append(found, "|");
        append(found, values[i]);
    }
    append(found, "\n");
}

static int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return 0;
}

static VekUUIDBytes uuid(const char *text)
{
    VekUUIDBytes id;
    int n = 0;
    for (const char *c = text; *c && n < 16; ++c) {
        if (*c == '-')
            continue;
        id.byte[n++] = (uint8_t)(hexValue(c[0]) * 16 + hexValue(c[1]));
        ++c;
    }
    return id;
}

/* The library's instance of `type`, queried for `interface`; the factory's own reference is
   released, so the caller holds one. */
static void *instanceOf(void *library, const char *factoryName, const char *type, const char *interface)
{
    VekPlugInFactoryFunction factory;
    *(void **)&factory = dlsym(library, factoryName);
    if (!factory)
        return NULL;
    const VekUUIDBytes typeID = uuid(type);
    void *made = factory(NULL, &typeID);
    if (!made)
        return NULL;
    VekUnknownTable *unknown = *(VekUnknownTable **)made;
    void *queried = NULL;
    if (unknown->QueryInterface(made, uuid(interface), &queried) != VEK_S_OK)
        queried = NULL;
    unknown->Release(made);
    return queried;
}

static int endsWithPdfTrailer(const Bytes *bytes)
{
    const size_t tail = bytes->length < 32 ? bytes->length : 32;
    for (size_t i = bytes->length - tail; i + 5 <= bytes->length; ++i)
        if (memcmp(bytes->data + i, "%%EOF", 5) == 0)
            return 1;
    return 0;
}

/* The answer must equal the file's first one; the first one is kept. */
static void compareWithFirst(int file, Bytes *first, const Bytes *answer, const char *what)
{
    pthread_mutex_lock(&lock);
    Bytes *reference = first;
    if (!reference->data) {
        setBytes(reference, answer->data, answer->length);
        pthread_mutex_unlock(&lock);
        return;
    }
    const int same = reference->length == answer->length && memcmp(reference->data, answer->data, answer->length) == 0;
    pthread_mutex_unlock(&lock);
    if (!same)
        fail("file %d: the %s differs between threads or rounds", file, what);
}

static void askForEverything(const Work *work, int file)
{
    const char *path = work->files[file];
    VekPreviewInterface *preview = *work->preview;

    Answer thumbnail = {{NULL, 0}, "", 0};
    VekPreviewRequest thumbnailRequest = {&thumbnail, keepAnswer};
    const VekPreviewSize size = {128, 128};
    if (preview->GenerateThumbnailForURL(work->preview, &thumbnailRequest, path, "kestrum.vekanto.vek", NULL, size) != 0
        || thumbnail.calls != 1 || strcmp(thumbnail.contentType, "public.png") != 0 || thumbnail.bytes.length < 8
        || memcmp(thumbnail.bytes.data, "\x89PNG\r\n\x1a\n", 8) != 0)
        fail("file %d: no PNG thumbnail (%d answers, type \"%s\")", file, thumbnail.calls, thumbnail.contentType);
    else
        compareWithFirst(file, &references[file].thumbnail, &thumbnail.bytes, "thumbnail");

    Answer pdf = {{NULL, 0}, "", 0};
    VekPreviewRequest previewRequest = {&pdf, keepAnswer};
    if (preview->GeneratePreviewForURL(work->preview, &previewRequest, path, "kestrum.vekanto.vek", NULL) != 0
        || pdf.calls != 1 || strcmp(pdf.contentType, "com.adobe.pdf") != 0 || pdf.bytes.length < 5
        || memcmp(pdf.bytes.data, "%PDF-", 5) != 0 || !endsWithPdfTrailer(&pdf.bytes))
        fail("file %d: no whole PDF preview (%d answers, type \"%s\")", file, pdf.calls, pdf.contentType);

    Bytes found = {NULL, 0};
    append(&found, "");
    VekMetadataAttributes attributes = {&found, keepString, keepStrings};
    if (!(*work->importer)->ImportFromFile(work->importer, &attributes, "kestrum.vekanto.vek", path))
        fail("file %d: the import failed", file);
    compareWithFirst(file, &references[file].metadata, &found, "metadata");

    free(thumbnail.bytes.data);
    free(pdf.bytes.data);
    free(found.data);
}

static void *runWork(void *argument)
{
    const Work *work = argument;
    for (int round = 0; round < work->rounds; ++round)
        for (int file = 0; file < work->fileCount; ++file)
            askForEverything(work, file);
    return NULL;
}

static int writeFile(const char *folder, int number, const char *extension, const Bytes *bytes)
{
    char path[4096];
    snprintf(path, sizeof path, "%s/%d.%s", folder, number, extension);
    FILE *file = fopen(path, "wb");
    if (!file)
        return 0;
    const int written = fwrite(bytes->data, 1, bytes->length, file) == bytes->length;
    return fclose(file) == 0 && written;
}

int run_plugin_host(int argc, char **argv)
{
    if (argc < 6) {
        fputs("usage: plugin_host PLUGIN_DIR THREADS ROUNDS OUT_DIR FILE...\n", stderr);
        return 2;
    }
    const int threadCount = atoi(argv[2]);
    Work work = {NULL, NULL, atoi(argv[3]), argc - 5, argv + 5};
    if (threadCount < 1 || threadCount > maximumThreads || work.fileCount > maximumFiles) {
        fputs("plugin_host: too many threads or files\n", stderr);
        return 2;
    }

    char path[4096];
    snprintf(path, sizeof path, "%s/libVekantoPreview.so", argv[1]);
    void *previewLibrary = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    snprintf(path, sizeof path, "%s/libVekantoImporter.so", argv[1]);
    void *importerLibrary = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!previewLibrary || !importerLibrary) {
        fprintf(stderr, "plugin_host: %s\n", dlerror());
        return 1;
    }
    work.preview = instanceOf(previewLibrary, "QuickLookGeneratorPluginFactory", VEK_PREVIEW_GENERATOR_TYPE_ID,
                              VEK_PREVIEW_CALLBACKS_INTERFACE_ID);
    work.importer = instanceOf(importerLibrary, "VekImporterPluginFactory", VEK_IMPORTER_TYPE_ID,
                               VEK_IMPORTER_INTERFACE_ID);
    if (!work.preview || !work.importer) {
        fputs("plugin_host: a plug-in made no instance\n", stderr);
        return 1;
    }

    pthread_t threads[maximumThreads];
    for (int t = 0; t < threadCount; ++t)
        if (pthread_create(&threads[t], NULL, runWork, &work) != 0) {
            fputs("plugin_host: cannot start a thread\n", stderr);
            return 1;
        }
    for (int t = 0; t < threadCount; ++t)
        pthread_join(threads[t], NULL);

    (*work.preview)->Release(work.preview);
    (*work.importer)->Release(work.importer);
    for (int file = 0; file < work.fileCount && !failed; ++file)
        if (!writeFile(argv[4], file, "png", &references[file].thumbnail)
            || !writeFile(argv[4], file, "txt", &references[file].metadata))
            fail("cannot write into %s", argv[4]);
    /* A host may unload the libraries when it is done with them. */
    dlclose(previewLibrary);
    dlclose(importerLibrary);
    return failed;
}

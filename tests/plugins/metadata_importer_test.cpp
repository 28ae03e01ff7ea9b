// The metadata importer on documents in both stored forms and on files that are none.
#include "platform/foundation/plist_text_format.h"
#include "tests/plugins/plugin_fixture.h"

using namespace pluginfixture;

TEST(MetadataImporter, HandsOverTheDocumentsMetadataFromEitherStoredForm)
{
    QTemporaryDir dir;
    auto document = pagesDocument(1);
    document->setAuthor(QStringLiteral("Ada"));
    document->setTitle(QStringLiteral("Plans"));
    document->setSubject(QStringLiteral("Gardens"));
    document->setCopyright(QStringLiteral("© Ada"));
    document->setKeywords(QStringLiteral("red, green"));
    const QString archive = written(*document, dir, QStringLiteral("d.vek"));
    const QString text = written(*document, dir, QStringLiteral("t.vek"), true);
    // Also under a name that is not UTF-8, which reaches the importer as the bytes it is.
    const RemovedAtEnd latin1Name(copiedToLatin1Name(archive, dir));
    for (const QByteArray &path : {QFile::encodeName(archive), QFile::encodeName(text), latin1Name.path}) {
        SCOPED_TRACE(path.constData());
        bool returned = false;
        const auto found = importAttributes(path, &returned);
        EXPECT_TRUE(returned);
        const std::map<QString, QString> expected = {
            {"kMDItemAuthors", "Ada"},      {"kMDItemTitle", "Plans"},
            {"kMDItemSubject", "Gardens"},  {"kMDItemCopyright", "© Ada"},
            {"kMDItemKeywords", "red| green"}};   // split at the comma, the blank kept
        EXPECT_EQ(found, expected);
    }
}

TEST(MetadataImporter, FilesWithoutUsableMetadataAddNothingAndStillSucceed)
{
    QTemporaryDir dir;
    const struct {
        const char *name;
        QByteArray bytes;
        std::map<QString, QString> expected;
    } cases[] = {
        {"one brace", "{", {}},   // read as an archive, which it is not
        {"no metainfo", "{objects = ();}", {}},
        {"garbage", QByteArrayLiteral("\x04\x0bstreamtyped\x81\xe8\x03\x84\x01@\x84\x84\xff\xff"), {}},
        {"not strings", "{metainfo = {author = (a, b); title = T; keywords = {k = v;};};}", {{"kMDItemTitle", "T"}}},
        {"empty keywords", "{metainfo = {keywords = \"\";};}", {{"kMDItemKeywords", ""}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        bool returned = false;
        EXPECT_EQ(importAttributes(writtenBytes(c.bytes, dir, QStringLiteral("f.vek")), &returned), c.expected);
        EXPECT_TRUE(returned);
    }
    bool returned = false;
    EXPECT_TRUE(importAttributes(dir.filePath(QStringLiteral("missing.vek")), &returned).empty());
    EXPECT_TRUE(returned);
}

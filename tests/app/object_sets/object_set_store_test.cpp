// The object sets' files: the default set, reading set files (names taken), and the
// predecessor's set files.
#include "app/object_sets/object_set_store.h"

#include "model/vek_obj_path.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_xml_format.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class ObjectSetFiles : public ::testing::Test {
protected:
    void SetUp() override { ensureWidgetApp(); }
    QString path(const QString &name) const { return folder.filePath(name); }
    void write(const QString &name, const PropertyList &plist) const
    {
        QDir().mkpath(QFileInfo(path(name)).path());
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(xmlPropertyListData(plist));
    }
    // A predecessor file: one set of the given archived paths (and junk data).
    PropertyList qomtSets(const QString &setName, const std::vector<QByteArray> &data) const
    {
        PropertyList list = PropertyList::array();
        for (const QByteArray &datum : data)
            list.append(PropertyList::fromData(datum));
        PropertyList sets = PropertyList::dictionary();
        sets.insert(setName, list);
        return sets;
    }
    QTemporaryDir folder;
};

TEST_F(ObjectSetFiles, TheDefaultSetIsTheShapeLibraryAndItsFileReadsBack)
{
    ObjectSetStore store(path(QStringLiteral("support")));
    EXPECT_EQ(store.readAll(), 0);
    const QString name = store.addDefaultSet();
    EXPECT_EQ(name, QStringLiteral("default"));
    EXPECT_EQ(store.addDefaultSet(), QStringLiteral("default1"));
    const ObjectSetItems &items = store.items(name);
    ASSERT_EQ(items.size(), 76u);
    // The flow-chart shapes 40 to 43 carry a second outline, drawn behind the first.
    EXPECT_EQ(items[40].objects.size(), 2u);
    EXPECT_EQ(items[39].objects.size(), 1u);
    for (const ObjectSetItem &item : items) {
        EXPECT_EQ(item.preview.size(), QSize(23, 23));
        EXPECT_LT(std::abs(item.objects.back()->bounds().origin.x), 2.0f);   // moved to 0 beyond 1
    }
    ASSERT_TRUE(store.updateSupportFileFor(name));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("support/default.vekset"))));

    ObjectSetStore reread(path(QStringLiteral("support")));
    EXPECT_EQ(reread.readAll(), 1);
    ASSERT_EQ(reread.setNames(), QStringList{QStringLiteral("default")});
    const ObjectSetItems &read = reread.items(name);
    ASSERT_EQ(read.size(), items.size());
    for (size_t i = 0; i < read.size(); ++i) {
        ASSERT_EQ(read[i].objects.size(), items[i].objects.size());
        EXPECT_EQ(read[i].objects[0]->bounds(), items[i].objects[0]->bounds());
        EXPECT_EQ(read[i].objects[0]->bezierPath().elementCount(), items[i].objects[0]->bezierPath().elementCount());
        EXPECT_EQ(read[i].preview.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                  items[i].preview.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
}

TEST_F(ObjectSetFiles, ATakenNameGrowsByDigitsAndEmptyFilesAreIgnored)
{
    ObjectSetStore source(path(QStringLiteral("source")));
    const QString name = source.addDefaultSet();
    source.setItems(name, {source.items(name).front()});
    ASSERT_TRUE(source.updateSupportFileFor(name));
    const QString file = source.filePathFor(name);
    for (const QString &copy : {QStringLiteral("sets/A.vekset"), QStringLiteral("sets/sub/A.vekset"),
                                QStringLiteral("sets/sub/deeper/A.vekset")}) {
        QDir().mkpath(QFileInfo(path(copy)).path());
        ASSERT_TRUE(QFile::copy(file, path(copy)));
    }
    write(QStringLiteral("sets/empty.vekset"), PropertyList::dictionary());
    write(QStringLiteral("sets/notes.txt"), PropertyList::dictionary());
    ObjectSetStore store(path(QStringLiteral("sets")));
    EXPECT_EQ(store.readAll(), 3);
    EXPECT_EQ(store.setNames(), (QStringList{QStringLiteral("A"), QStringLiteral("A1"), QStringLiteral("A12")}));
}

TEST_F(ObjectSetFiles, PredecessorSetsBecomePathObjectsUnderFreeNames)
{
    BezierPath triangle;
    triangle.moveToPoint({10, 10});
    triangle.lineToPoint({50, 10});
    triangle.lineToPoint({30, 40});
    triangle.closePath();
    const QByteArray archived = *archivedDataWithRootObject(triangle).value;
    write(QStringLiteral("old.qomtSet"), qomtSets(QStringLiteral("Mine"), {archived, QByteArray("junk")}));
    write(QStringLiteral("junk.qomtSet"), qomtSets(QStringLiteral("Junk"), {QByteArray("junk")}));

    ObjectSetStore store(path(QStringLiteral("support")));
    EXPECT_EQ(store.readinQoMtSetsFrom(path(QStringLiteral("old.qomtSet"))), QStringList{QStringLiteral("Mine")});
    EXPECT_EQ(store.readinQoMtSetsFrom(path(QStringLiteral("old.qomtSet"))), QStringList{QStringLiteral("Mine1")});
    EXPECT_EQ(store.readinQoMtSetsFrom(path(QStringLiteral("old.qomtSet"))), QStringList{QStringLiteral("Mine2")});
    EXPECT_TRUE(store.readinQoMtSetsFrom(path(QStringLiteral("junk.qomtSet"))).isEmpty());
    EXPECT_FALSE(store.hasSet(QStringLiteral("Junk")));

    const ObjectSetItems &items = store.items(QStringLiteral("Mine"));
    ASSERT_EQ(items.size(), 1u);
    ASSERT_EQ(items[0].objects.size(), 1u);
    const auto &object = items[0].objects[0];
    EXPECT_EQ(object->className(), QStringLiteral("VekObjPath"));
    EXPECT_EQ(object->bounds().size, Size(40, 30));
    // Turned over: the apex, the highest point of the y-up drawing, is now at the top.
    Point apex[3];
    object->bezierPath().elementAtIndex(2, apex);
    EXPECT_NEAR(apex[0].y, object->bezierPath().bounds().origin.y, 0.01f);
}

TEST(ObjectSetPreview, FitsAndCentresTheObjectsAndRefusesEmptyBounds)
{
    ensureWidgetApp();
    EXPECT_TRUE(ObjectSetStore::cellImageWith({}).isNull());
    const auto wide = VekObjPath::create();
    wide->setBezierPath(BezierPath::bezierPathWithRect(Rect(100, 100, 210, 70)));
    wide->setFillColor(Color::colorWithCalibratedRed(1, 0, 0, 1));
    const QImage preview = ObjectSetStore::cellImageWith({wide});
    ASSERT_EQ(preview.size(), QSize(23, 23));
    // 21 points across, 7 high, centred: rows 8 to 14 are painted, the corners are not.
    EXPECT_GT(qAlpha(preview.pixel(11, 11)), 200);
    EXPECT_GT(qRed(preview.pixel(11, 11)), 200);
    EXPECT_EQ(qAlpha(preview.pixel(11, 3)), 0);
    EXPECT_EQ(qAlpha(preview.pixel(11, 19)), 0);
    EXPECT_GT(qAlpha(preview.pixel(2, 11)), 0);
}

} // namespace

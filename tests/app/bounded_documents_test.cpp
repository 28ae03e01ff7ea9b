// A document file past the reader's bounds opens with what fits and says what was left out.
#include "tests/app/shell_fixture.h"

#include "document/vek_document.h"
#include "model/vek_object.h"
#include "platform/foundation/archiving.h"

#include <QFile>

namespace {

TEST_F(ShellTest, ADocumentPastTheReadingBoundsOpensAndSaysWhatWasLeftOut)
{
    // One object holding 1 MB and 299 references to it: 300 MB of object data from a file of
    // about 1 MB. The objects up to the bound open; an alert names the file and the rest.
    auto object = VekObject::create();
    object->setBounds(Rect(10, 10, 50, 50));
    PropertyList dictionary = object->propertyListRepresentation();
    dictionary.insert(QStringLiteral("padding"), PropertyList::fromData(QByteArray(1 << 20, 'p')));
    PropertyList objects = PropertyList::array();
    for (int i = 0; i < 300; ++i)
        objects.append(dictionary);
    PropertyList document;
    document.insert(QStringLiteral("objects"), objects);
    const QByteArray data = *archivedDataWithRootObject(document).value;
    ASSERT_LT(data.size(), 2 * 1024 * 1024);
    const QString file = path(QStringLiteral("repeated.vek"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(data);
    out.close();

    EXPECT_TRUE(controller->applicationOpenFile(file));
    ASSERT_EQ(windows().size(), 1u);
    const size_t opened = windows().front()->document().objects().size();
    EXPECT_GT(opened, 100u);
    EXPECT_LT(opened, 150u);
    ASSERT_EQ(dialogs.alerts.size(), 1);
    EXPECT_EQ(dialogs.alerts[0],
              QStringLiteral("Part of \"repeated.vek\" was left out.|The document's objects hold more data than can be "
                             "opened (at most 128 MB). %1 of its 300 objects were left out.")
                  .arg(300 - opened));
}

} // namespace

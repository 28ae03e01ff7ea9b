// The colour panel's accessory and the colour-list files: images limited in size, the add
// button, colours added to lists (never twice under one name), the default pattern list.
#include "panels/colour_panel_accessory.h"

#include "panels/document_dialogs.h"
#include "platform/foundation/archive_coder_registry.h"
#include "platform/image/image_pattern_coder.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

namespace {

class RecordedAlerts : public DocumentDialogs {
public:
    void showAlert(QWidget *, const QString &title, const QString &message) override
    {
        alerts << title + QLatin1Char('|') + message;
    }
    QStringList alerts;
};

class ColourAccessory : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureWidgetApp();
        registerPatternColorCoders(ArchiveCoderRegistry::shared());
        qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit());
        setDocumentDialogs(&dialogs);
        accessory = std::make_unique<ColourPanelAccessory>();
    }
    void TearDown() override { setDocumentDialogs(nullptr); }
    static Image imageOf(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(Qt::blue);
        return Image(image);
    }
    QTemporaryDir folder;
    RecordedAlerts dialogs;
    std::unique_ptr<ColourPanelAccessory> accessory;
};

TEST_F(ColourAccessory, ImagesAreLimitedAndAddNeedsImageAndName)
{
    EXPECT_FALSE(accessory->addButton().isEnabled());
    accessory->takeImage(imageOf(1024, 256));
    EXPECT_EQ(accessory->image().size(), Size(512, 128));
    EXPECT_FALSE(accessory->addButton().isEnabled());
    accessory->nameField().setText(QStringLiteral("Blue"));
    EXPECT_TRUE(accessory->addButton().isEnabled());
    accessory->nameField().clear();
    EXPECT_FALSE(accessory->addButton().isEnabled());
    accessory->takeImage(imageOf(40, 30));
    EXPECT_EQ(accessory->image().size(), Size(40, 30));
}

TEST_F(ColourAccessory, AddingMakesAListOnceAndRefusesATakenName)
{
    accessory->takeImage(imageOf(8, 8));
    accessory->nameField().setText(QStringLiteral("Blue"));
    accessory->addToColorList();   // no list yet: a new one
    EXPECT_EQ(accessory->store().listNames(), QStringList{QStringLiteral("New")});
    EXPECT_EQ(accessory->listChooser().currentText(), QStringLiteral("New"));
    ASSERT_EQ(accessory->colourView().count(), 1);
    EXPECT_EQ(accessory->colourView().item(0)->text(), QStringLiteral("Blue"));
    const auto list = accessory->store().list(QStringLiteral("New"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list.value->colors.size(), 1u);
    EXPECT_EQ(list.value->colors[0].second.kind(), Color::Kind::Pattern);

    accessory->addToColorList();
    EXPECT_EQ(dialogs.alerts, QStringList{QStringLiteral("Error...|You already have a color named Blue in this list.")});
    EXPECT_EQ(accessory->store().list(QStringLiteral("New")).value->colors.size(), 1u);
}

TEST_F(ColourAccessory, TheDefaultPatternsComeAgainUnderANumberedName)
{
    accessory->addDefaultPatternColors();
    accessory->addDefaultPatternColors();
    EXPECT_EQ(accessory->store().listNames(),
              (QStringList{QStringLiteral("Vekanto Patterns"), QStringLiteral("Vekanto Patterns 1")}));
    const auto patterns = accessory->store().list(QStringLiteral("Vekanto Patterns"));
    ASSERT_TRUE(patterns);
    ASSERT_FALSE(patterns.value->colors.empty());
    for (const auto &[name, color] : patterns.value->colors)
        EXPECT_EQ(color.kind(), Color::Kind::Pattern) << name.toStdString();
    EXPECT_EQ(accessory->listChooser().currentText(), QStringLiteral("Vekanto Patterns 1"));
    EXPECT_EQ(accessory->colourView().count(), int(patterns.value->colors.size()));
    ASSERT_EQ(dialogs.alerts.size(), 2);
    EXPECT_TRUE(dialogs.alerts[1].startsWith(QStringLiteral("Default patterns are added to the Color Panel.|")));
}

// A list whose file is damaged shows why instead of its colours, and adding to it leaves the
// file as it was.
TEST_F(ColourAccessory, ADamagedListShowsWhyAndIsNotWrittenOver)
{
    ColorList list{QStringLiteral("Mixed"), {}};
    list.add(QStringLiteral("Red"), Color::redColor());
    list.add(QStringLiteral("Green"), Color::greenColor());
    const QByteArray whole = colorListData(list);
    ASSERT_TRUE(QDir().mkpath(accessory->store().folder()));
    QFile file(accessory->store().filePathFor(QStringLiteral("Mixed")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(whole.left(whole.size() - 3));
    file.close();

    accessory->reloadLists(QStringLiteral("Mixed"));
    ASSERT_EQ(accessory->colourView().count(), 1);
    const QListWidgetItem *why = accessory->colourView().item(0);
    EXPECT_TRUE(why->text().startsWith(QStringLiteral("The color list Mixed cannot be read: "))) << why->text().toStdString();
    EXPECT_EQ(why->flags(), Qt::NoItemFlags);

    accessory->takeImage(imageOf(8, 8));
    accessory->nameField().setText(QStringLiteral("Blue"));
    accessory->addToColorList();
    EXPECT_EQ(dialogs.alerts, QStringList{QStringLiteral("Sorry|could not finish the job.")});
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), whole.left(whole.size() - 3));
}

} // namespace

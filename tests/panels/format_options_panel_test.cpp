// The field options panel as real widgets over a private defaults file: the format lists
// and their storage, the example and the edited field.
#include "panels/format_options_panel.h"

#include "model/vek_obj_format.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"
#include "tests/model/fakes.h"
#include "tests/support/widget_app.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class FormatOptionsPanelTest : public ::testing::Test {
protected:
    FormatOptionsPanelTest() { ensureWidgetApp(); }

    UserDefaults &defaultsWith(const PropertyList &formats)
    {
        defaults = std::make_unique<UserDefaults>(dir.filePath("prefs.plist"));
        if (!formats.isAbsent())
            defaults->setObject(formats, "formats");
        return *defaults;
    }
    QStringList stored(const char *key) const
    {
        return defaults->objectForKey("formats").value(QLatin1String(key)).stringListValue();
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static void typeInto(QComboBox *combo, const QString &text)
    {
        combo->setEditText(text);
        emit combo->lineEdit()->returnPressed();
    }

    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
};

TEST_F(FormatOptionsPanelTest, ListsComeFromTheDefaultsOrTheBuiltInOnes)
{
    {
        FormatOptionsPanel panel(defaultsWith({}));
        EXPECT_EQ(items(panel.formatsPage), FormatLists::builtInFormats(FormatKind::Page));
        EXPECT_EQ(items(panel.formatsDate).size(), 7);
    }
    PropertyList formats = PropertyList::dictionary();
    formats.insert("formatsPage", PropertyList::array());
    formats.insert("formatsDate", PropertyList::fromStringList({"%Y", "%d.%m."}));
    FormatOptionsPanel panel(defaultsWith(formats));
    EXPECT_EQ(items(panel.formatsPage), FormatLists::builtInFormats(FormatKind::Page));
    EXPECT_EQ(items(panel.formatsDate), (QStringList{"%Y", "%d.%m."}));
}

TEST_F(FormatOptionsPanelTest, TypedFormatsAreAddedOnceAndPageFormatsChecked)
{
    FormatOptionsPanel panel(defaultsWith({}));
    int dateChanges = 0;
    const auto token = NotificationCenter::defaultCenter().addObserver(
        nullptr, VekDateFormatDidChangeNotification, &panel, [&](const Notification &) { ++dateChanges; });
    typeInto(panel.formatsPage, "( %d )");   // already listed: selected, nothing written
    EXPECT_EQ(panel.formatsPage->currentIndex(), 2);
    EXPECT_TRUE(stored("formatsPage").isEmpty());
    typeInto(panel.formatsPage, "%s crash");   // not a page-number format: refused
    EXPECT_EQ(items(panel.formatsPage).size(), 5);
    typeInto(panel.formatsPage, "Page %d");
    EXPECT_EQ(stored("formatsPage").last(), QStringLiteral("Page %d"));
    EXPECT_EQ(panel.formatExample->text(), QStringLiteral("Page 1"));
    typeInto(panel.formatsDate, "%A");
    EXPECT_EQ(stored("formatsDate").last(), QStringLiteral("%A"));
    EXPECT_EQ(stored("formatsPage").last(), QStringLiteral("Page %d"));
    NotificationCenter::defaultCenter().removeObserver(token);
    EXPECT_EQ(dateChanges, 1);
}

TEST_F(FormatOptionsPanelTest, DeletingEveryDateFormatBringsBackTheBuiltInOnes)
{
    PropertyList formats = PropertyList::dictionary();
    formats.insert("formatsDate", PropertyList::fromStringList({"%Y", "%m"}));
    FormatOptionsPanel panel(defaultsWith(formats));
    panel.btnDelFmtDate->click();
    EXPECT_EQ(stored("formatsDate"), QStringList{"%m"});
    panel.btnDelFmtDate->click();
    EXPECT_EQ(stored("formatsDate"), FormatLists::builtInFormats(FormatKind::Date));
    EXPECT_EQ(panel.formatsDate->currentIndex(), 0);
}

TEST_F(FormatOptionsPanelTest, DateFormatsFromElsewhereAreAddedLast)
{
    FormatOptionsPanel panel(defaultsWith({}));
    panel.addDateFormat("%H:%M:%S");   // already listed
    EXPECT_TRUE(defaults->objectForKey("formats").isAbsent());
    panel.addDateFormat("%e/%m");
    EXPECT_EQ(stored("formatsDate").last(), QStringLiteral("%e/%m"));
    EXPECT_EQ(stored("formatsPage"), QStringList());   // only the date list changed
}

TEST_F(FormatOptionsPanelTest, AnEditedFieldFollowsThePanel)
{
    FormatOptionsPanel panel(defaultsWith({}));
    typeInto(panel.formatsPage, "p.%d");
    EXPECT_EQ(panel.formatExample->text(), QStringLiteral("p.1"));

    FakeDocument doc;
    auto field = VekObjFormat::create();
    doc.adopt(field);
    panel.optionPanelFormat(field.get(), true);
    ASSERT_EQ(panel.editedField(), field.get());
    EXPECT_FALSE(panel.formatsDate->isEnabled());
    panel.formatAlign->setCurrentIndex(2);
    panel.updateFormatExample(panel.formatAlign);
    EXPECT_EQ(field->formatAlign(), 2);
    typeInto(panel.formatsPage, "[%d]");
    EXPECT_EQ(field->format(), QStringLiteral("[%d]"));
    panel.repeatTypes->setCurrentIndex(3);
    panel.selectRepeatType();
    EXPECT_EQ(field->repeatType(), 3);

    panel.optionPanelFormat(nullptr, false);
    EXPECT_FALSE(panel.editedField());
}

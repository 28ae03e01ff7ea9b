// The find panel: its fields become the shared find settings, its buttons send their
// actions to the target, and the show action shows it.
#include "app/document/find_panel.h"

#include "model/text/text_finder.h"
#include "tests/support/widget_app.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QKeyEvent>

TEST(FindPanel, ButtonsSendTheirActionsWithTheFieldsAsSettings)
{
    ensureWidgetApp();
    TextFinder::shared().settings = FindSettings{QStringLiteral("old"), QString(), true};
    std::vector<int> sent;
    {
        FindPanel panel;
        panel.setTarget([&](int action) { sent.push_back(action); });
        EXPECT_FALSE(panel.isVisible());
        ASSERT_TRUE(TextFinder::shared().showPanel);
        TextFinder::shared().showPanel();
        EXPECT_TRUE(panel.isVisible());
        EXPECT_EQ(panel.findField()->text(), QStringLiteral("old"));

        panel.findField()->setText(QStringLiteral("needle"));
        panel.replaceField()->setText(QStringLiteral("thread"));
        panel.ignoreCaseBox()->setChecked(false);
        const std::pair<QString, int> buttons[] = {{QStringLiteral("Next"), FindPanelNext},
                                                   {QStringLiteral("Previous"), FindPanelPrevious},
                                                   {QStringLiteral("Replace All"), FindPanelReplaceAll}};
        for (const auto &[title, action] : buttons) {
            QPushButton *button = nullptr;
            for (auto *b : panel.findChildren<QPushButton *>())
                if (b->text() == title)
                    button = b;
            ASSERT_TRUE(button) << title.toStdString();
            button->click();
            EXPECT_EQ(sent.back(), action);
        }
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(panel.findField(), &enter);
        EXPECT_EQ(sent.back(), FindPanelNext);
        EXPECT_EQ(sent.size(), 4u);
        const FindSettings &settings = TextFinder::shared().settings;
        EXPECT_EQ(settings.findString, QStringLiteral("needle"));
        EXPECT_EQ(settings.replaceString, QStringLiteral("thread"));
        EXPECT_FALSE(settings.ignoreCase);
    }
    // A panel that is gone is no longer shown.
    EXPECT_FALSE(TextFinder::shared().showPanel);
}

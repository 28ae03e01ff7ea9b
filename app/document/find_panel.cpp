// The find panel's controls.
#include "app/document/find_panel.h"

#include "model/text/text_finder.h"
#include "platform/foundation/localized_strings.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

FindPanel::FindPanel(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setWindowTitle(localizedString(QStringLiteral("Find")));
    const FindSettings &settings = TextFinder::shared().settings;
    m_find = new QLineEdit(settings.findString, this);
    m_replace = new QLineEdit(settings.replaceString, this);
    m_ignoreCase = new QCheckBox(localizedString(QStringLiteral("Ignore case")), this);
    m_ignoreCase->setChecked(settings.ignoreCase);

    auto *fields = new QFormLayout;
    fields->addRow(localizedString(QStringLiteral("Find:")), m_find);
    fields->addRow(localizedString(QStringLiteral("Replace with:")), m_replace);
    fields->addRow(QString(), m_ignoreCase);

    auto *buttons = new QHBoxLayout;
    const std::pair<const char *, int> actions[] = {
        {"Replace All", FindPanelReplaceAll}, {"Replace", FindPanelReplace},
        {"Replace & Find", FindPanelReplaceAndFind}, {"Previous", FindPanelPrevious}, {"Next", FindPanelNext}};
    for (const auto &[title, action] : actions) {
        auto *button = new QPushButton(localizedString(QString::fromLatin1(title)), this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, action = action] { perform(action); });
        buttons->addWidget(button);
        if (action == FindPanelNext)
            button->setDefault(true);
    }
    // Return in the find field finds the next match.
    connect(m_find, &QLineEdit::returnPressed, this, [this] { perform(FindPanelNext); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    TextFinder::shared().showPanel = [this] {
        show();
        raise();
        activateWindow();
    };
}

FindPanel::~FindPanel()
{
    TextFinder::shared().showPanel = nullptr;
}

void FindPanel::perform(int action)
{
    FindSettings &settings = TextFinder::shared().settings;
    settings.findString = m_find->text();
    settings.replaceString = m_replace->text();
    settings.ignoreCase = m_ignoreCase->isChecked();
    if (m_target)
        m_target(action);
    // "Use selection for find" changes the find string behind the panel's back.
    m_find->setText(settings.findString);
}

void FindPanel::showEvent(QShowEvent *event)
{
    // Another editor or the selection action may have changed the settings meanwhile.
    const FindSettings &settings = TextFinder::shared().settings;
    m_find->setText(settings.findString);
    m_replace->setText(settings.replaceString);
    m_ignoreCase->setChecked(settings.ignoreCase);
    m_find->selectAll();
    m_find->setFocus();
    QWidget::showEvent(event);
}

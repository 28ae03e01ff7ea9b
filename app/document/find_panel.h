// FindPanel: the application's one find panel for the text of text boxes.
//
// It edits the shared find settings (what to find, what to replace it with, whether case
// matters) and sends each button's find panel action to its target, normally the
// document of the front window (VekDocument::performFindPanelAction), which hands it to
// the canvas's text editor. It installs itself as the panel the show action shows.
#pragma once

#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;

class FindPanel : public QWidget {
    Q_OBJECT
public:
    explicit FindPanel(QWidget *parent = nullptr);
    ~FindPanel() override;

    // Where the actions go (an action code of text_finder.h); none: the buttons do nothing.
    void setTarget(std::function<void(int action)> target) { m_target = std::move(target); }

    QLineEdit *findField() const { return m_find; }
    QLineEdit *replaceField() const { return m_replace; }
    QCheckBox *ignoreCaseBox() const { return m_ignoreCase; }

    // Stores the fields in the shared settings and sends the action to the target.
    void perform(int action);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_find;
    QLineEdit *m_replace;
    QCheckBox *m_ignoreCase;
    std::function<void(int)> m_target;
};

// VekMemoController: the memo panel, a small floating notepad that belongs to the user, not
// to a document. Its rich text (with pictures) is kept in the user defaults under "memo" as
// RTFD; the panel is made on first use and the application saves it when it quits.
#pragma once

#include <QWidget>

class QTextEdit;
class UserDefaults;

class VekMemoController : public QWidget {
    Q_OBJECT
public:
    explicit VekMemoController(UserDefaults &defaults, QWidget *parent = nullptr);

    QTextEdit &textView() const { return *m_textView; }
    // Stores the memo under "memo" unless it is empty (then the stored memo stays); a memo
    // that cannot be written as RTFD removes it.
    void saveMemoToUserPreferences();

private:
    UserDefaults &m_defaults;
    QTextEdit *m_textView = nullptr;
};

// VekTextField: a text field that tells its controller, by its tag, that the user finished
// editing it, and only then: typing alone sends nothing, and a field whose tag changed while
// it was edited sends nothing for that edit.
//
// Tags: 10 changeObjectBounds, 11 rotate, 12 changeObjectValue, 13 changePrintInfo,
// 14 setGridProperty; any other tag sends nothing. Editing begins with the first change
// typed after the field got the focus and ends with Return or the focus leaving.
#pragma once

#include <QLineEdit>

class VekTextField;

// What the panels that own such fields implement (each message defaults to nothing).
class VekTextFieldController {
public:
    virtual ~VekTextFieldController() = default;
    virtual void changeObjectBounds(VekTextField &) {}
    virtual void rotate(VekTextField &) {}
    virtual void changeObjectValue(VekTextField &) {}
    virtual void changePrintInfo(VekTextField &) {}
    virtual void setGridProperty(VekTextField &) {}
};

class VekTextField : public QLineEdit {
public:
    explicit VekTextField(QWidget *parent = nullptr);

    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    void setController(VekTextFieldController *controller) { m_controller = controller; }
    // The tag when the edit began; -1 after an edit ended; 0 before the first edit.
    int startTag() const { return m_startTag; }

    // The selected range of the edit (location, length); (0, 0) when not being edited.
    std::pair<int, int> selectedRange() const;

    void textDidBeginEditing();
    void textDidEndEditing();

private:
    VekTextFieldController *m_controller = nullptr;   // not owned
    int m_tag = 0;
    int m_startTag = 0;
    bool m_editing = false;
};

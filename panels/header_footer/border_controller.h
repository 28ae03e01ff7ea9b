// VekBorderController: the header and footer panel. It edits one document's header and footer
// settings: three rich-text cells (left, middle, right) for the header and the footer of all
// pages, of odd pages and of even pages, the date format of "#VDATE", the padding between the
// text and the page, and whether the first and the last page go without. Cells may hold the
// variables "#VPAGE", "#VPAGETOTAL", "#VTITLE", "#VAUTHOR" and "#VDATE", which printing and
// the PDF export replace. Each keystroke is stored; an empty cell removes its key. It warns
// when a header or footer is taller than its margin, and on closing while the document prints
// no headers and footers, asks whether to switch them on.
#pragma once

#include "panels/docinfo/doc_info_canvas.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTextEdit;
class VekDocument;

class VekBorderController : public QWidget {
    Q_OBJECT
public:
    explicit VekBorderController(QWidget *parent = nullptr);
    ~VekBorderController() override;

    // The cell keys by row (0 to 5: header, odd, even, footer, odd, even) and column (0 to 2).
    static QString cellKey(int row, int column);
    // The variables the insert pop-up offers, in its order.
    static const QStringList &variables();
    // The fixed date formats, used when the user has no list of date formats.
    static const QStringList &defaultDateFormats();

    // Makes the document current and loads its settings (null: hides the panel); shows the
    // panel when asked.
    void setupFor(DocInfoCanvas *canvas, bool showPanel);
    bool borderPanelIsVisible() const { return isVisible(); }
    VekDocument *currentDocument() const;

    // The cell editor of a row and column.
    QTextEdit *cell(int row, int column) const;
    // Inserts the variable chosen in pbVars into the last edited cell, at its caret.
    void insertVariable();

    // Told after each change: the page preview follows.
    std::function<void()> bordersChanged;
    // The question on closing; true to switch printing on (an undoable change; tests answer it).
    std::function<bool()> askToSwitchOn;

    QTableWidget *tblBorder = nullptr;
    QComboBox *pbDateFormat = nullptr, *pbVars = nullptr;
    QLabel *txEgDate = nullptr, *txMsg = nullptr;
    QPushButton *btnInsert = nullptr;
    QLineEdit *txPad = nullptr;
    QCheckBox *optEx1 = nullptr, *optExL = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    // Return and Enter in a cell start no new line: a header or footer is one line.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDateFormats();
    void loadDocument();
    void cellEdited(int row, int column);
    void updateBorderInfo(QObject *sender);
    void updateRowHeights();

    QPointer<DocInfoCanvas> m_canvas;
    QPointer<QTextEdit> m_lastCell;
    bool m_loading = false;
};

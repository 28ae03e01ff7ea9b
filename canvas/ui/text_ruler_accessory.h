// TextRulerAccessory: the strip the horizontal ruler holds while a text box is edited in
// place (and, greyed, after the editing ended until the rulers are hidden or shown again).
//
// Its upper row holds the paragraph's alignment (left, centre, right, justified), the kind
// of tab stop a click adds (left, centre, right, decimal) and the line spacing when it is a
// simple multiple; its lower band, aligned with the ruler's scale, shows the edited text's
// width with the paragraph's indents (first line above, the other lines and the tail
// below) and tab stops. A click on the band adds a tab stop; markers are dragged along it,
// and a tab stop dragged off the band goes. Each change is one undo step of the box
// (model/text/paragraph_ruler_edits.h), applied when the mouse goes up.
#pragma once

#include "model/text/paragraph_ruler_edits.h"

#include <QWidget>

#include <functional>
#include <optional>

class QButtonGroup;
class QComboBox;
class QToolButton;
class VekRulerView;
class VekTextView;

class TextRulerAccessory : public QWidget {
public:
    static constexpr int RowHeight = 22;
    static constexpr int BandHeight = 16;

    // `editor` answers the edited box's editor (null when none); a disabled strip shows the
    // default paragraph style and takes no input.
    TextRulerAccessory(std::function<VekTextView *()> editor, bool enabled, QWidget *parent = nullptr);

    bool isActive() const { return m_active; }
    // Shows the paragraph of the editor's selection (the canvas calls it when it redraws).
    void refresh();

    // What the band shows, in ruler pixels; for tests and drawing.
    QRect band() const { return QRect(0, RowHeight, width(), BandHeight); }
    QToolButton *alignmentButton(TextAlignment alignment) const;
    QToolButton *tabKindButton(TextTabType type) const;
    QComboBox *lineSpacingChoice() const { return m_spacing; }
    // The ruler x of a location along the edited text (0: the container's left edge).
    std::optional<double> positionOfTextLocation(float location) const;

    QSize sizeHint() const override { return QSize(200, RowHeight + BandHeight); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum class MarkerKind { FirstLine, Head, Tail, Tab };
    struct Marker {
        MarkerKind kind;
        TextTab tab;       // for a tab stop
        double position;   // ruler x
    };
    // The edited text's extent in canvas coordinates.
    struct TextExtent {
        float left = 0, width = 0, padding = 0;
    };
    struct Drag {
        Marker marker;
        bool isNew = false;   // a tab stop the press added
        double position = 0;
        bool off = false;     // a tab stop dragged off the band
    };

    VekTextView *activeEditor() const;
    std::optional<TextExtent> textExtent() const;
    const VekRulerView *ruler() const;
    std::vector<Marker> markers() const;
    // The canvas x under a ruler x, rounded to whole points.
    std::optional<float> canvasXAt(double position) const;
    // The edit a finished drag makes, if any.
    std::optional<ParagraphEdit> editOfDrag(const Drag &drag) const;
    void apply(const ParagraphEdit &edit);
    void drawMarker(QPainter &painter, const Marker &marker, bool faded) const;

    std::function<VekTextView *()> m_editor;
    bool m_active;
    ParagraphStyle m_style;
    QButtonGroup *m_alignments = nullptr;
    QButtonGroup *m_tabKinds = nullptr;
    QComboBox *m_spacing = nullptr;
    std::optional<Drag> m_drag;
};

// VekObjFormat: a page-number or date field, usually repeated on every page as a header or
// footer element.
//
// It holds a format, a kind (0 page number, otherwise the current date), an alignment and an
// example text whose first character's attributes (font, colour) style the value. For each
// page it builds the styled value, caches it, fits its bounds to it and draws it.
//
// Alignment: 0 left, 1 centred, 2 right within the bounds; 3 left, 4 centred, 5 right on
// the page; any other value keeps the left edge of the bounds.
#pragma once

#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/text/attributed_string.h"

#include <QHash>

#include <optional>

class VekObjFormat : public VekObject, public ObjectEditing {
public:
    explicit VekObjFormat(Passkey key) : VekObject(key) {}
    // A field with the tool palette's current format, kind, alignment and example, without
    // shadow or stroke, with the note "F".
    static std::shared_ptr<VekObjFormat> create();

    QString className() const override { return QStringLiteral("VekObjFormat"); }
    bool canTransform() const override { return false; }
    bool canGoToObjMatrix() const override { return false; }
    bool hasEditablePath() const override { return false; }
    bool isEditable() const override { return true; }

    const QString &format() const { return _format; }
    int formatType() const { return _formatType; }
    int formatAlign() const { return _formatAlign; }
    const std::optional<AttributedString> &example() const { return _example; }

    // Stores the kind; no undo, no notification. A date without a format shows the default
    // calendar format.
    void setFormatType(int type);
    // Undoable when it replaces a format; drops the cached texts.
    void setFormat(const QString &format);
    // The first example is only stored; a later one is undoable, drops the cached texts and
    // sizes the bounds to the example.
    void setExample(const std::optional<AttributedString> &example);
    // Stores it and re-applies the bounds so that the placement rules run.
    void setFormatAlign(int align);
    // The field's colour is its example's text colour: recolours the example (keeping its
    // font) and leaves the base stroke colour alone.
    void setObjStrokeColor(const std::optional<Color> &color) override;

    // The styled value on the page (from 1), with CMYK colours when cmyk is set.
    AttributedString valueOnPage(int page, bool cmyk);
    // Where the value is drawn on the page; the zero rectangle for a field of 1 x 1 or less.
    // Unlike the base class's boundsOnPage this measures the value.
    Rect fittedBoundsOnPage(int page, const Rect &pageRect);
    // Where the value stands on the page: at the bounds' origin for a field that does not
    // repeat, else the fitted place.
    Rect placeOnPage(int page, const Rect &pageRect);
    // Makes the bounds the place of the value on the first page it shows (undoably). The
    // field fits itself whenever its text, font, format or alignment changes, and the
    // document calls this when its pages change, so that drawing never changes the field.
    void fitBoundsToValue();
    // Rounds the size up to whole points and places a page-aligned field on the page.
    void setBounds(const Rect &bounds) override;

    void drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page, const Rect &pageRect) override;
    // The page-less entries of the base drawing: the page is the canvas's drawing page.
    void drawInViewIsSelected(CanvasServices *view, bool selected) override;
    void drawInViewInRect(CanvasServices *view, const Rect &rect) override;

    // Placement by mouse: the field's origin is where the mouse goes up.
    bool createWithEvent(const MouseEvent &event, CanvasServices *view) override;

    // In-place editing shows the field's options panel; clicks while editing do nothing.
    ObjectEditing *editing() override { return this; }
    void startEditingWithEvent(const MouseEvent &event, CanvasServices *view) override;
    void editWithEvent(const MouseEvent &, CanvasServices *) override {}
    void endEditingInView(CanvasServices *view) override;

    // The text-information rows of the value on the first repeat page; absent for an empty value.
    PropertyList textInfo();

protected:
    // "formatType", "formatAlign", "format" and "example" (RTF).
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    void copyAttributesTo(VekObject &copy) const override;
    // Restyles the example; an empty name keeps its font name, a size of 0 or less its size.
    // A font that does not exist changes nothing.
    bool applyFontNameSize(const QString &name, float size) override;

private:
    void dropCachedTexts();
    // The page for a drawing entry that is given no page: the canvas's drawing page, else 1.
    int pageToDraw(CanvasServices *view) const;
    // The canvas's page rectangle, or the zero rectangle without a canvas.
    static Rect pageRect(CanvasServices *view, int page);

    QString _format;
    int _formatType = 0;
    int _formatAlign = 0;
    std::optional<AttributedString> _example;
    std::optional<AttributedString> _currentFormatedDate;
    QHash<int, AttributedString> _currentFormatedPage;
    PropertyList _txtInfoArray;           // absent until built
};

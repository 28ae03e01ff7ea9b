// VekObject: the root of every drawing object that lies on a page.
//
// It holds what every object has whatever its kind: bounds, an optional own path, line and
// fill attributes, page repetition, shadow and gradient settings, the capability answers
// the kinds override, the undoable setters and the change notifications.
//
// Objects are made only through create() (or a subclass's own factory, which goes through
// makeObject) and are shared: the document's list, undo closures and the clipboard hold
// std::shared_ptr; every other reference (the canvas's current, editing and creating
// objects, the gradient strip's object) is a std::weak_ptr. The object's pointer to its
// document is plain: the document sets it with setDocument() and clears it (setDocument
// with null) before it lets the object go.
//
// Undoable setters follow one pattern: normalise the argument; return at once when it
// equals the stored value; register the inverse (the same setter with the old value) with
// the document's undo manager; store; didChange(). A loose object (no document) has no undo
// manager and no window, so it only stores. didChange() and the bounds notification are
// silent while the object reads its dictionary form (setIsLoadingPropertyList) and while
// the document has no window. The caller names the undo step.
//
// The members are implemented in several files: the model (vek_object.cpp,
// vek_object_setters.cpp, vek_object_text_info.cpp), the drawing (vek_object_drawing.cpp,
// vek_object_shadow.cpp), the geometry, knobs and hit testing (vek_object_geometry.cpp) and
// the creation by mouse and transforms (vek_object_transforms.cpp).
#pragma once

#include "model/services/event_source.h"
#include "platform/color/color.h"
#include "platform/foundation/property_list.h"
#include "platform/geometry/bezier_path.h"
#include "platform/geometry/geometry.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class AttributedString;
class CanvasServices;
class DocumentServices;
class ObjectEditing;
class UndoManager;
class VekGradientView;

// Notifications that drawing objects post with themselves as the sender.
inline const QString VekObjectDidChangeNotification = QStringLiteral("VekObjectDidChange");
inline const QString VekObjectBoundsDidChangeNotification = QStringLiteral("VekObjectBoundsDidChange");
inline const QString VekObjectPathDidChangeNotification = QStringLiteral("VekObjectPathDidChange");
inline const QString VekObjectPathSelectionDidChangeNotification = QStringLiteral("VekObjectPathSelectionDidChange");
inline const QString VekObjectWordcountDidChangeNotification = QStringLiteral("VekObjectWordcountDidChange");
// Posted by the document (as its DocumentServices) in place of the change and bounds
// notifications of objects that changed together (DocumentServices::collectsChanges).
inline const QString VekObjectsDidChangeNotification = QStringLiteral("VekObjectsDidChange");

// Keys of an object's own shadow settings (indvShadowValues).
inline const QString ShadowStateKey = QStringLiteral("state");    // int, 1 when the own shadow is on
inline const QString ShadowColorKey = QStringLiteral("color");    // archived colour data
inline const QString ShadowOffsetKey = QStringLiteral("offset");  // float, points
inline const QString ShadowBlurKey = QStringLiteral("blur");      // float, blur radius
inline const QString ShadowAngleKey = QStringLiteral("angle");    // float, degrees

class VekObject : public std::enable_shared_from_this<VekObject> {
protected:
    // Only the factories construct objects, so that every object is owned by a shared_ptr.
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    explicit VekObject(Passkey);
    virtual ~VekObject();
    VekObject(const VekObject &) = delete;
    VekObject &operator=(const VekObject &) = delete;

    // A new base object with the defaults: bounds {0, 0, 1, 1}, line width 1, stroke on, fill
    // off, flatness 1, fill alpha 1, simple clip on, repeat start 1, no selection, empty note.
    static std::shared_ptr<VekObject> create();

    // ---- The document ----

    DocumentServices *document() const { return _document; }
    // Adopts the object (null: the document lets it go). When `readFromFile` is set and the
    // document's version is "1", the dash settings written by that version are migrated
    // silently; objects created, pasted or imported into such a document later are not.
    virtual void setDocument(DocumentServices *document, bool readFromFile);
    // The document's undo manager, or null without a document.
    UndoManager *undoManager() const;
    // Redraws the object's area and posts VekObjectDidChangeNotification, only while the
    // document has a window and the object is not reading its dictionary form.
    virtual void didChange();
    // Observer hook for a change of the clip shape behind the object: didChange().
    virtual void clipDidChange();

    // ---- Capability answers (the kinds override them) ----

    virtual bool canDrawStroke() const { return true; }
    virtual bool canDrawFill() const { return true; }
    virtual bool canRepeat() const { return true; }
    virtual bool canTransform() const { return true; }
    // May be kept in the object-set palette.
    virtual bool canGoToObjMatrix() const { return true; }
    virtual bool hasEditablePath() const { return false; }
    virtual bool hasArrow() const { return false; }
    virtual bool hasNaturalSize() const { return false; }
    // Opens in-place editing.
    virtual bool isEditable() const { return false; }
    // 0: the object clips nothing.
    virtual int clipType() const { return 0; }
    virtual std::optional<AttributedString> attStringForPath() const;
    virtual Size originalSize() const { return {}; }
    virtual void setToNaturalSize() {}
    virtual void clearCachedImage() {}
    virtual void makeSmoother() {}
    virtual void makeStraight() {}
    virtual void makePositive() {}
    virtual void reverse() {}
    // The object's in-place editing, or null for kinds that are not edited in place.
    virtual ObjectEditing *editing() { return nullptr; }
    // Sets the font name of the whole text (a size of 0 or less keeps each run's size) or,
    // with an empty name, its size, for the kinds that show text; the document's recent
    // fonts and sizes then learn what was set.
    void setFontNameSize(const QString &name, float size);

    // ---- Attributes ----

    Rect bounds() const { return _bounds; }
    bool pathCreated() const { return _path.has_value(); }
    float objRotation() const { return _rotation; }
    float skewX() const { return _skewX; }
    float skewY() const { return _skewY; }
    bool flippedHorizontally() const { return _flippedHorizontally; }
    bool flippedVertically() const { return _flippedVertically; }
    bool manipulatingBounds() const { return _boundsManipulationDepth > 0; }
    int selectedElementNr() const { return _selectedElementNr; }
    int selectedPointNr() const { return _selectedPointNr; }

    virtual float lineWidth() const { return _lineWidth; }
    float flatness() const { return _flatness; }
    // 1 or 2 as stored; any other stored value reads as 0.
    int joinStyle() const;
    int capStyle() const;
    int objDashPattern() const { return _dashPattern; }
    float dashScale() const { return _dashScale; }
    int lineDrawPattern() const { return _lineDrawPattern; }
    float lineDrawIntensity() const { return _lineDrawIntensity; }
    virtual bool drawsStroke() const { return _gFlags.drawsStroke; }
    bool drawsFill() const { return _gFlags.drawsFill; }
    int fillRule() const { return _fillRule; }
    float fillAlpha() const { return _fillAlpha; }
    // The stroke colour, in CMYK while the document uses CMYK; without one, black when the
    // object strokes, else clear.
    virtual Color strokeColor() const;
    // The fill colour, in CMYK while the document uses CMYK; without one, clear (an empty
    // device CMYK colour while the document uses CMYK). Does not look at drawsFill.
    Color fillColor() const;
    // The colours as stored, without defaults or conversion.
    const std::optional<Color> &storedStrokeColor() const { return _strokeColor; }
    const std::optional<Color> &storedFillColor() const { return _fillColor; }

    virtual bool isExclusive() const { return _exclusive; }
    bool groupWithNext() const { return _grpWithNxt; }
    bool simpleClip() const { return _simpleClip; }
    const QString &note() const { return _note; }
    // Null when the object belongs to no group.
    const QString &groupID() const { return _groupID; }
    // Null, or a name of at least two characters beginning with "#".
    virtual QString anchorName() const { return _anchorName; }
    int wordCount() const { return _wordCount; }
    bool isLoadingPropertyList() const { return _isLoadingPropertyList; }

    // Repetition: 0 none, 1 odd pages, 2 even pages, 3 every page; 0 when canRepeat is NO.
    int repeatType() const;
    // The first page, at least 1.
    int repeatStartPage() const;
    // The last page; an end of 0 means the document's last page.
    int repeatEndPage() const;

    int objGradientType() const { return _gradType; }
    Point gradientCenter() const { return _gradCenter; }
    int gradientFlip() const { return _gradFlip; }
    float gradientRotate() const { return _gradRotate; }
    // The gradient model, or null until one is made.
    const std::shared_ptr<VekGradientView> &gradientView() const { return _gradView; }
    bool noShadow() const { return _noShadow; }
    // The own shadow dictionary, or absent.
    const PropertyList &indvShadowValues() const { return _shadowValues; }

    // ---- Plain stores: no undo, no notification ----

    void setWordCount(int count) { _wordCount = count; }
    void setIsLoadingPropertyList(bool loading) { _isLoadingPropertyList = loading; }
    // The path and image kinds make these undoable.
    virtual void setFlippedHorizontally(bool flag) { _flippedHorizontally = flag; }
    virtual void setFlippedVertically(bool flag) { _flippedVertically = flag; }
    // The base stores a different index and nothing else; the path kind does more.
    virtual void setDashPatternUpdate(int index, bool update);

    // ---- Undoable setters ----

    virtual void setSimpleClip(bool flag);
    virtual void setGroupWithNext(bool flag);
    void setExclusive(bool flag);
    // No didChange; undo is registered only when there was a note before.
    void setNote(const QString &note);
    void setGroupID(const QString &groupID);
    void clearGroupID() { _groupID = QString(); }
    // A name shorter than two characters clears it.
    virtual void setAnchorName(const QString &name);
    // 0 or less is stored as 1; an end below the new start moves with it.
    void setRepeatStart(int page);
    // Capped at the document's page count; a start above the new end moves with it.
    void setRepeatEnd(int page);
    void setCapStyle(int style);
    void setJoinStyle(int style);
    // 0 or less is stored as 1.
    void setObjFlatness(float flatness);
    // Clamped to 0 to 1.
    void setFillAlpha(float alpha);
    // Clamped to 0 to 1 (non-zero winding, even-odd).
    void setObjFillRule(int rule);
    void setDrawsStroke(bool flag);
    // Switching on with a plain fill brings a usable colour: white when there is none, the
    // colour made opaque when it is nearly transparent; the fill alpha follows the colour.
    // Undo puts the colour and the alpha back as well.
    void setDrawsFill(bool flag);
    // Stores the colour (or none); the stroke is on exactly when the stored colour's alpha
    // is above 0.09. New visible colours go to the document's recent colours.
    virtual void setObjStrokeColor(const std::optional<Color> &color);
    // Stores the colour (or none); the fill goes on when the colour's alpha is above 0.09,
    // and off otherwise while there is no gradient.
    void setFillColor(const std::optional<Color> &color);
    // With update, clamped to 0.1 to 1.0 and undoable; without, only stored.
    void setLineDrawIntensity(float intensity, bool update);
    void setLineDrawPattern(int pattern, bool update);
    void setDashScale(float scale, bool update);

    // Gradient attributes. Without update each stores the value as it comes; with update it
    // is checked and undoable, and a type above 0 makes the gradient model when there is none.
    virtual void setGradientType(int type, bool update);
    // 0 to 359; other values are ignored (with update).
    void setGradientRotate(float degrees, bool update);
    void setGradientFlip(int flip, bool update);
    // Coordinates below 0.1 in magnitude become 0, then each is clamped to -1 to 1 (with update).
    void setGradientCenter(Point center, bool update);
    // Stops as archived colours and either stop rectangle strings or stop shares: handed to
    // the gradient model when there is one (the undo target of every stop edit), else held
    // until the model is made.
    void setGradientColorsAndColorRects(const PropertyList &colors, const PropertyList &colorRects);
    void setGradientColors(const PropertyList &colors);
    void setGradientColorRects(const PropertyList &proportions);
    // Makes the gradient model from the held stops and drops them.
    void setupGradientView();
    const PropertyList &heldGradientColors() const { return _gradColors; }
    const PropertyList &heldGradientProportions() const { return _gradProportion; }

    // ---- Drawing, fills and shadows ----

    // Base drawing: frames a path-less object being created (or stroked with an editable
    // path) in the system knob colour, then the selection markers when selected and the
    // canvas is not saving. The kinds draw their content and call this.
    virtual void drawInViewIsSelected(CanvasServices *view, bool selected);
    // Draws the object on one page: nothing when it does not appear there, itself on its own
    // page, a copy moved into the page (drawInViewInRect) on a repeated page.
    virtual void drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page, const Rect &pageRect);
    // Draws a copy of the object into another rectangle (a repeated page); the base draws nothing.
    virtual void drawInViewInRect(CanvasServices *view, const Rect &rect);
    // Fills the path as the object's fill: a plain colour when its alpha is above 0.09, or
    // the gradient clipped to the path at fillAlpha. In a CMYK document an invisible CMYK
    // fill of the path's bounds comes first.
    void fillup(const BezierPath *path);
    // Whether fillup fills with one visible plain colour and nothing else (no gradient, no
    // CMYK fill first): then fill and stroke may be painted in one go.
    bool fillsWithPlainColour() const;
    // The path with the object's fill rule as its winding rule.
    BezierPath pathForFill(const BezierPath &path) const;
    // The bounds grown by the stroke: by max(lineWidth / 2 + 1, 2) + 1 when stroked, else 3.
    virtual Rect drawingBounds() const;
    // What to redraw for the object: drawingBounds, on the visible repeated page, with the
    // shadow in whatever direction it falls, grown by 2 lineWidth + 3.
    virtual Rect boundsToRedraw() const;
    // Where the object's drawing can fall, shadow included: the redraw area without the room
    // it keeps for editing. Vector output draws an object into the pages this meets.
    virtual Rect paintedBounds() const;
    // The rectangle with the area the object's shadow (its own or the document's) casts
    // from it, offset and blurred; the rectangle itself when the object has no shadow.
    Rect withShadowOf(const Rect &r) const;
    // The larger side of the bounds when the object fills, else the line width.
    virtual float shadowBaseSize() const;

    // The own shadow: on when there are own settings with "state" 1 and noShadow is off.
    bool indvShadow() const;
    float indvShadowOffset() const;
    float indvShadowBlur() const;
    float indvShadowAngle() const;
    // The unarchived colour (clear without own settings); CMYK while a CMYK document's canvas
    // draws PDF.
    Color indvShadowColor() const;
    // (offset cos t, offset sin t), t = -(angle - 90) pi / 180.
    Size indvShadowSize() const;
    // Fills the own settings, when there are none, from the document's shadow or else the
    // shadow panel's defaults (without "state").
    void createDefaultShadowValues();
    // Undoable replacement of the whole dictionary (absent: no own settings).
    void setIndvShadowValues(const PropertyList &values);
    // Undoable change of one key. "state" 1 switches the own shadow on (making the settings
    // when needed); another "state" drops the own settings.
    void setIndvShadowValue(const PropertyList &value, const QString &key);
    void setNoShadow(bool flag);
    // A negative width is stored as 0. Text boxes set their characters' outline width instead.
    virtual void setObjLineWidth(float width);
    // Whether the object directly behind this one clips.
    bool hasClip() const;

    // ---- Text information ----

    // One row per run of equal font name and size ("%.1f"): font name, size text, the
    // row's text, its character offset, and additionalInfo when given. Absent for an empty
    // text or when no run has a font.
    static PropertyList getTextInfoArrayFor(const AttributedString &text, const PropertyList &additionalInfo = {});

    // ---- Geometry, knobs and hit testing ----

    // The own path, or a new rectangle path of the bounds.
    BezierPath bezierPath() const;
    // Undoable; one change and one bounds notification unless a manipulation is under way.
    virtual void setBounds(const Rect &bounds);
    // The same without undo or notification.
    void setBoundsSimplyAs(const Rect &bounds);
    // Opens a bracket of bounds changes that register no undo and post nothing; brackets nest.
    void startBoundsManipulation();
    // Closing the outermost bracket turns the net change since it opened into one undoable
    // setBounds.
    void stopBoundsManipulation();

    // Knobs: 1 top left, 2 top middle, 3 top right, 4 middle left, 5 middle right, 6 bottom
    // left, 7 bottom middle, 8 bottom right, 0 none.
    static int flipKnob(int knob, bool horizontal);
    // The knob side at the canvas's zoom: 4 up to 100 %, else 4 / (zoom * 0.5), at least 1.
    static float knobSize(const CanvasServices *view);
    Rect knobRectFor(int knob, const CanvasServices *view) const;
    int knobUnderPoint(Point p, const CanvasServices *view) const;
    // Moves the knob to the point and answers the knob now under it (flipping through edges).
    virtual int resizeByMovingKnob(int knob, Point p);
    void drawResizeKnobsOnBounds(const Rect &bounds, CanvasServices *view) const;

    virtual bool containsPoint(Point p, bool extended) const;
    // Hit test of the path's points; selects what it finds (a miss clears the selection).
    // A null or empty path means the object's own.
    bool bezierPathElementUnderPointSelectedElementNrPointNr(const BezierPath *path, Point p, int *element,
                                                             int *point);
    void setSelectedElementNr(int element, int point);

    void dragPathPointNr(int point, int element, Point to);
    bool removeElementNr(int element);
    // The path as drawn on the current page, and its offset down from page 1.
    BezierPath actuallyDrawnPath(float *offset) const;

    void drawSelectionMarkersFor(const Rect &bounds, CanvasServices *view) const;
    void drawControlLinesInView(CanvasServices *view) const;
    void drawControlPointsInView(CanvasServices *view) const;
    static void drawCtrlPoint(Point p, const Color &color, float size);

    bool shouldDrawOnPage(int page, const Rect &pageRect) const;
    virtual Rect boundsOnPage(int page, const Rect &pageRect) const;
    BezierPath bezierPathOnPage(int page, const Rect &pageRect) const;
    Rect boundsInVisibleRect(const Rect &visibleRect, const CanvasServices *view) const;
    // Undoable; moves the object to its first page (or back from it).
    void setRepeatType(int type);

    // The inspector's rows, one per path point: 0 canvas, 1 page, other bounds coordinates.
    QStringList pointArrayRelativeTo(int mode) const;

private:
    // The inverse of setRepeatType: puts back type, page range and bounds together.
    void restoreRepeatPlacement(int type, int start, int end, const Rect &bounds);

public:

    // ---- Creation by mouse and transforms ----

    // Follows the drag that began with the mouse-down event; answers whether the object has
    // a size.
    virtual bool createWithEvent(const MouseEvent &event, CanvasServices *view);
    void moveBy(float dx, float dy);
    // Moves with an undo step of its own, also during a bounds manipulation and while
    // loading; the bounds notification goes out as setBounds's does.
    void moveSimplyBy(float dx, float dy);
    // 0 to 359 degrees.
    virtual void setRotation(float degrees, Point center, bool update);
    // -1 to 1; below 0.001 in magnitude stored as 0.
    virtual void setSkewX(float factor, bool update);
    virtual void setSkewY(float factor, bool update);
    void flipHorizontally();
    void flipVertically();
    // The path fitted to the rectangle.
    static BezierPath adjustPath(BezierPath path, const Rect &bounds);
    virtual void setBezierPath(const std::optional<BezierPath> &path);
    void setBezierPathAdjust(const std::optional<BezierPath> &path, bool adjust);
    void setBezierPathSimplyAs(const std::optional<BezierPath> &path);

    // ---- Dictionary form ----
    // Implemented in vek_object_dictionary.cpp; the kinds that can be recreated are listed
    // in object_registry.h.

    // The name stored under "class", which recreates the object through the class registry.
    // Every registered kind answers its own.
    virtual QString className() const { return QStringLiteral("VekObject"); }
    // The dictionary form: "class", the common keys, then the kind's own keys.
    PropertyList propertyListRepresentation() const;
    // Applies a dictionary form to a newly made object without a document. Missing keys and
    // values of the wrong kind leave the defaults; absurd numbers are brought into range.
    void loadPropertyListRepresentation(const PropertyList &dict);
    // The object a dictionary form describes; null when it is no dictionary or its "class"
    // names no registered drawing-object kind.
    static std::shared_ptr<VekObject> objectWithPropertyListRepresentation(const PropertyList &dict);
    // A new object of the same kind with the attributes copied; it belongs to no document.
    // Null when the kind is not registered.
    std::shared_ptr<VekObject> copy() const;
    // The text form of the dictionary form.
    QString description() const;

protected:
    // Where each kind adds its own keys: an override calls the base first, then writes or
    // reads its own keys. The base reads with the loading flag set and clears it on return.
    virtual void writePropertyListKeys(PropertyList &dict) const;
    virtual void readPropertyListKeys(const PropertyList &dict);
    // The kind's part of copy(): an override calls the base, then copies its own attributes
    // into `copy`, which is of the same kind.
    virtual void copyAttributesTo(VekObject &copy) const;

    // ---- End of dictionary form ----

    // The kind's part of setFontNameSize: restyles its text; true when anything changed.
    virtual bool applyFontNameSize(const QString &name, float size) { return false; }

private:
    // setSkewX / setSkewY with update: checks, undo, and the shear of an editable path.
    void changeSkew(bool horizontal, float factor);

protected:
    // Makes an object of a kind: make_shared, then the defaults that go through setters.
    template <class T, class... Args>
    static std::shared_ptr<T> makeObject(Args &&...args)
    {
        auto object = std::make_shared<T>(Passkey{}, std::forward<Args>(args)...);
        object->setBounds(Rect(0, 0, 1, 1));
        return object;
    }

    // Registers `inverse`, run on this object, with the document's undo manager; nothing
    // without one. The closure keeps the object alive.
    void registerUndo(std::function<void(VekObject &)> inverse);
    // Whether change and bounds notifications go out now: the object is not loading and its
    // document has a window.
    bool postsNotifications() const;
    // Posts the notification with the object as sender.
    void postNotification(const QString &name) const;
    // VekObjectBoundsDidChangeNotification, unless the document collects the change.
    void postBoundsChange() const;
    // The document's canvas, or null.
    CanvasServices *vekView() const;
    bool documentUsesCMYK() const;

private:
    // The inverses that put back more than one field at once (and register themselves again
    // for redo): the fill flag with the colour and alpha it may have replaced, the stroke
    // colour with the stroke flag, and the repetition's start and end.
    void restoreFill(bool drawsFill, const std::optional<Color> &color, float alpha);
    void restoreStroke(const std::optional<Color> &color, bool drawsStroke);
    void restoreRepeatRange(int start, int end);

protected:
    // Guards what drawing fills in lazily (stroke and transformed images, dash information,
    // the gradient model, text runs): tiles of one drawing draw the same object on several
    // threads at once, and the first to need a cache fills it while the others wait.
    // Recursive, as filling one cache may fill another.
    mutable std::recursive_mutex _drawingCacheMutex;

    DocumentServices *_document = nullptr;
    Rect _bounds;
    Rect _origBounds;
    // Brackets of bounds manipulation nest (a flip or rotation inside a drag): only the
    // outermost records the starting bounds and makes the one undoable change at its end.
    int _boundsManipulationDepth = 0;
    bool _flippedHorizontally = false;
    bool _flippedVertically = false;
    bool _exclusive = false;
    bool _noShadow = false;
    bool _grpWithNxt = false;
    bool _simpleClip = true;
    bool _isLoadingPropertyList = false;
    float _flatness = 1.0f;
    float _dashScale = 0;
    float _lineDrawIntensity = 0.5f;
    float _lineWidth = 1.0f;
    float _rotation = 0;
    float _skewX = 0;
    float _skewY = 0;
    float _gradRotate = 0;
    float _fillAlpha = 1.0f;
    int _joinStyle = 0;
    int _capStyle = 0;
    int _dashPattern = 0;
    int _lineDrawPattern = 0;
    int _fillRule = 0;
    int _gradFlip = 0;
    std::optional<BezierPath> _path;
    QString _note = QStringLiteral("");
    QString _groupID;
    QString _anchorName;
    std::optional<Color> _fillColor;
    std::optional<Color> _strokeColor;
    struct {
        bool drawsFill : 1;
        bool drawsStroke : 1;
    } _gFlags{false, true};
    int _selectedElementNr = -1;
    int _selectedPointNr = -1;
    int _repeatType = 0;
    int _repeatStart = 1;
    int _repeatEnd = 0;
    int _gradType = 0;
    int _wordCount = 0;
    Point _gradCenter;
    std::shared_ptr<VekGradientView> _gradView;
    PropertyList _gradProportion;   // array, or absent
    PropertyList _gradColors;       // array, or absent
    PropertyList _shadowValues;     // dictionary, or absent
};

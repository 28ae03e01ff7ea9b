// VekGradientView: the gradient stops of a drawing object, their editing, and the rendering
// of the five gradient types into images.
//
// It is the model that the object owns (created on demand, kept for the object's life) and
// that the gradient editor strip (panels/gradient_strip.h) shows and edits. Its geometry is
// the strip's, in y-up strip coordinates: the gradient area {2, 2, w - 4, h - 10} and a row of
// 4 x 4 stop squares at y = area height + 3.5, whose x is the stop's position. The stops'
// proportions (the share of each segment between neighbouring stops, summing to 1) are what
// documents store.
//
// Every edit goes through the object: it needs a live object, registers the previous stops
// on the object's undo manager (undo and redo both work) and sends the object didChange().
#pragma once

#include "platform/color/color.h"
#include "platform/foundation/property_list.h"
#include "platform/geometry/geometry.h"
#include "platform/graphics/gradient.h"

#include <QImage>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class VekObject;

// Gradient types of a drawing object.
enum VekGradientType { GradientNone = 0, GradientLinear = 1, GradientAngular = 2, GradientCircular = 3,
                       GradientOval = 4, GradientRadial = 5 };

class VekGradientView : public std::enable_shared_from_this<VekGradientView> {
public:
    // A model for a strip of `size` with the default two stops. The first model made fixes
    // the strip geometry for all (every strip has the shared size gGradViewSize).
    explicit VekGradientView(Size size);
    VekGradientView(const VekGradientView &) = delete;
    VekGradientView &operator=(const VekGradientView &) = delete;

    // The gradient area and the y of the stop row, in y-up strip coordinates.
    static Rect gradientArea() { return _gradientArea; }
    static float stopRowY() { return CRLRCT_Y; }

    // The object whose gradient this is (not owned).
    void setVekObject(const std::weak_ptr<VekObject> &object) { _vekObject = object; }
    std::shared_ptr<VekObject> vekObject() const { return _vekObject.lock(); }
    // Called after every change of the stops or the selection (the strip redisplays).
    void setChangeHandler(std::function<void()> handler) { _changeHandler = std::move(handler); }

    // ---- The stops ----

    const std::vector<Color> &colors() const { return _gradColors; }
    const std::vector<Rect> &stopRects() const { return _colorRects; }
    // The colours as archived colour data, in stop order.
    PropertyList gradColors() const;
    // The stop squares as rectangle strings.
    PropertyList colorRects() const;
    // The n - 1 segment shares of n stops: the x distance of each pair of neighbours over the
    // distance from the first stop to the last, the last share being 1 minus the others.
    // Proportions given to setColorRectsWithProportion come back exactly as given until the
    // stops are edited.
    std::vector<float> colorProportion() const;
    PropertyList colorProportionList() const;
    std::optional<Color> firstColor() const;
    std::optional<Color> lastColor() const;

    // Archived colours: with at least two entries each one that unarchives becomes a stop
    // colour; fewer leave no colours. The cached image is rendered again.
    void setGradColors(const PropertyList &archivedColors);
    // Rectangle strings: with at least two entries, each becomes a stop square; fewer leave none.
    void setColorRects(const PropertyList &rectStrings);
    // Lays the stop squares out from the shares (at least one): the first at x 2, the last at
    // area width - 4, the others at their running sum of shares between them (clamped there).
    void setColorRectsWithProportion(const std::vector<float> &proportions);
    void setColorRectsWithProportion(const PropertyList &proportions);
    // Two stops, opaque white and (0.1, 0.5, 1.0), at the ends of the row; no selection.
    void setDefaultGradient();
    void setDefaultColorRects();
    // The stops set together (colours first); no undo, no selection, no didChange.
    void setStops(std::vector<Color> colors, std::vector<Rect> rects);

    // ---- Rendering ----

    // The linear rendering of the stops over the gradient area, kept until the stops change.
    QImage sampleImage() const;
    // The stops rendered as gradient `type` (1 to 5) into an image of `size`; a null image for
    // another type, a size below 1, fewer than two colours, or a different number of
    // squares. Flip 1 reverses the stops.
    QImage gradient(int type, Size size, int flip, float rotate, Point center, bool cmyk) const;
    // Renders the stops in place of the five renderers below: the preview plug-in installs
    // its own rasterisers, which draw without flip and centre. Null restores the renderers.
    using Rasteriser = QImage (*)(int type, Size size, const std::vector<Color> &colors,
                                  const std::vector<float> &proportion, float rotate);
    static void setRasteriser(Rasteriser rasteriser);
    // The five renderers: `size` (at least 1 x 1), the colours and their shares in stop order.
    static QImage drawLinealGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                   const std::vector<float> &proportion, float rotate, Point center);
    static QImage drawAngularGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                    const std::vector<float> &proportion, float rotate, Point center);
    static QImage drawCircularGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                     const std::vector<float> &proportion, float rotate, Point center);
    static QImage drawOvalGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                 const std::vector<float> &proportion, float rotate, Point center);
    static QImage drawRadialGradIn(Size size, const std::vector<Color> &colors, bool cmyk,
                                   const std::vector<float> &proportion, float rotate, Point center);
    // The platform gradient: locations 0, the running sums of the shares (at most 1), and 1.
    static std::optional<Gradient> gradientWithColors(const std::vector<Color> &colors,
                                                      const std::vector<float> &proportion, bool cmyk);

    // ---- Editing (the strip's clicks, drags, keys and colour drops) ----

    // -1 or the selected stop.
    int selectedCRIndex() const { return _selectedCRIndex; }
    void setSelectedCRIndex(int index);
    // The first stop whose square, grown by 1 on every side, holds the point, else -1.
    int colorRectUnder(Point p) const;
    // The last stop whose x is not greater than the point's; 0 when the first lies right of it.
    int colorRectBefore(Point p) const;
    // The sum of the x distances between neighbouring squares.
    static float totalLengthOf(const std::vector<Rect> &rects);

    // Inserts a stop with the colour of the stop to its left at the point, strictly between
    // the first and the last stop, and selects it; false elsewhere or without an object.
    bool insertStopAt(Point p);
    // Starts a drag of the selected interior stop: one undo step for the whole drag. False
    // when there is no object, or no interior stop is selected.
    bool beginStopMove();
    // Moves the selected interior stop to x, strictly between its neighbours; false (the
    // stop stays) otherwise.
    bool moveSelectedStopTo(float x);
    // Recolours the selected stop (in RGB); false without an object or a selection, or when
    // the stop has that colour already.
    bool changeSelectedRectColorTo(const Color &color);
    // The key hook: Delete (0x7F) removes the selected interior stop of a gradient with more
    // than two stops and clears the selection.
    bool doEventForChar(char16_t character, unsigned flags);

private:
    void registerStopsUndo();
    void restoreStops(std::vector<Color> colors, std::vector<Rect> rects);
    // After an edit: a new cached image, the object's didChange, the strip's redisplay.
    void stopsEdited();
    void renderSampleImage();
    void changed() const;

    static Rect _gradientArea;
    static float CRLRCT_Y;

    std::vector<Color> _gradColors;
    std::vector<Rect> _colorRects;
    // The shares the squares were laid out from, until the squares change.
    std::vector<float> _givenProportion;
    QImage _image;
    int _selectedCRIndex = -1;
    std::weak_ptr<VekObject> _vekObject;
    std::function<void()> _changeHandler;
};

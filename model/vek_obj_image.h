// VekObjImage: a bitmap or vector image scaled into the object's bounds.
//
// The image can be flipped, rotated and skewed (applied once into a cached image of the
// bounds size), tinted with a colour, composed with one of the stored compositing
// operations, drawn over the object's fill and framed in the stroke colour. Three caches
// are derived data: the transformed image, the tinted image and the CMYK version drawn
// while the document uses CMYK. Changes of the image, bounds, flips, rotation or skew drop
// all three; a new tint drops the tinted and CMYK images; a newly made transformed or
// tinted image drops the CMYK image.
#pragma once

#include "model/vek_object.h"
#include "platform/image/image.h"

#include <functional>

class VekObjImage : public VekObject {
public:
    explicit VekObjImage(Passkey key) : VekObject(key) {}
    // Tells the filter panel to forget the object.
    ~VekObjImage() override;
    // No image, source-over composition, no tint, no shadow, no stroke, the note "I".
    static std::shared_ptr<VekObjImage> create();

    QString className() const override { return QStringLiteral("VekObjImage"); }

    bool canTransform() const override { return true; }
    // Images are not kept in the object-set palette.
    bool canGoToObjMatrix() const override { return false; }
    bool hasEditablePath() const override { return false; }
    bool hasNaturalSize() const override { return true; }

    // Invalid when there is none.
    const Image &image() const { return _image; }
    // True when the document stored image data that could not be read (an image archived
    // in a layout no reader knows): the object shows a placeholder and keeps the data.
    bool hasUnreadableImage() const { return !_unreadableImageData.isEmpty(); }
    // The stored compositing operation number (0 to 13).
    unsigned compositeOperation() const { return _compositeOp; }
    // The tint, or none.
    const std::optional<Color> &colorizingColor() const { return _overcolor; }

    // ---- Undoable setters ----

    // Undo is registered only when there was an image before.
    void setImage(const Image &image);
    // A colour of alpha 0.09 or less (or none) removes the tint; undo is registered only
    // when there was a tint before.
    void setColorizeWith(const std::optional<Color> &color);
    void setCompositeOperation(unsigned op);
    void setFlippedHorizontally(bool flag) override;
    void setFlippedVertically(bool flag) override;
    // The image turns about its own centre; its bounds stay. With update: 0 to 359 degrees,
    // undoable.
    void setRotation(float degrees, Point center, bool update) override;
    // With update: -1 to 1, undoable.
    void setSkewX(float factor, bool update) override;
    void setSkewY(float factor, bool update) override;
    void setBounds(const Rect &bounds) override;
    // Passes on only while there is an image and the bounds are wider and higher than 1.
    void didChange() override;

    // ---- Size ----

    // The pixel size of the image's best representation (zero without an image).
    Size imgrepSize() const;
    // Resamples the image to that pixel size, undoable through setImage. Sizes below one
    // pixel or above MaxImgrepSide on a side are refused.
    void setImgrepSize(Size pixels);
    static constexpr float MaxImgrepSide = 20000.0f;
    // The image's size in points, or 10 x 10 without an image.
    Size originalSize() const override;
    // The longer side of the bounds stays, the other follows the image's proportions;
    // both flips are cleared.
    void setToNaturalSize() override;
    // Import of older documents: stores the image and bounds without undo or notification.
    void setQomtImage(const Image &image, const Rect &bounds);

    // ---- Caches ----

    void clearCachedImage() override;
    // The image drawn at the bounds size with flips, rotation (whole degrees) and skew
    // applied; invalid without an image or with bounds 1 or less wide or high.
    const Image &transformedImage() const;
    // The transformed image (or the image) tinted; invalid when untinted.
    const Image &coloredImage() const;
    // The CMYK version of what was drawn last in a CMYK document, or invalid.
    const Image &cmykImage() const { return _cmykImage; }

    // ---- Geometry ----

    // The transformed image's size centred on the bounds (a rotated image needs more room),
    // or the bounds; the zero rectangle for bounds 1 or less wide or high.
    Rect drawingBounds() const override;
    // The smaller side of the bounds.
    float shadowBaseSize() const override;
    // drawingBounds moved down to page n; zero when it is 1 or less wide or high.
    Rect boundsOnPage(int page, const Rect &pageRect) const override;
    Rect boundsToRedraw() const override;
    // The drawing bounds and the shadow: the redraw area's room for turning is not drawn.
    Rect paintedBounds() const override { return withShadowOf(drawingBounds()); }

    // ---- Drawing ----

    void drawInViewIsSelected(CanvasServices *view, bool selected) override;
    // A repeated page: the bounds moved down to the page, handed to drawInViewInRect.
    void drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page, const Rect &pageRect) override;
    // `rect` is the bounds placed elsewhere: the image, however rotated or skewed, is drawn
    // about its centre as it is about the bounds' centre.
    void drawInViewInRect(CanvasServices *view, const Rect &rect) override;
    // Fill, image, background behind special operations and frame, in r.
    void drawInRect(const Rect &r, bool selected);

    // PDF output cannot read back what lies under the image; the document's renderer
    // installs this to draw the page content below `rect` (canvas coordinates) into an
    // image of rect's size. Without it, operations other than source-over draw the image
    // directly.
    using AreaBelowRenderer = std::function<Image(const VekObjImage &object, const Rect &rect)>;
    static void setAreaBelowRenderer(AreaBelowRenderer renderer);

protected:
    // "image" (the image file, or PNG/TIFF data of an image made in memory), "compOp" and,
    // when tinted, "overcolor" (archived colour).
    void writePropertyListKeys(PropertyList &dict) const override;
    void readPropertyListKeys(const PropertyList &dict) override;
    void copyAttributesTo(VekObject &copy) const override;

private:
    bool isTransformed() const { return _rotation > 0 || _skewX != 0 || _skewY != 0; }
    bool hasDrawableBounds() const { return _bounds.width() > 1.0f && _bounds.height() > 1.0f; }
    // The undoable part shared by both flips.
    void changeFlip(bool horizontal, bool flag);
    void drawImageWithOperation(const Image &image, const Rect &r);
    void drawBackgroundBehind(const Rect &r);
    void drawPlaceholder(const Rect &r);

    Image _image;
    mutable Image _cachedImage;
    mutable Image _coloredImage;
    mutable Image _cmykImage;
    QByteArray _unreadableImageData;   // stored data no reader understands, kept as it came
    std::optional<Color> _overcolor;
    unsigned _compositeOp = 2;
    mutable Size _imgrepSize;
};

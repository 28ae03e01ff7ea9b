// The image object: its attributes, undoable setters, sizes and dictionary keys.
#include "model/vek_obj_image.h"

#include "model/services/panel_services.h"
#include "platform/foundation/archive_image_coder.h"
#include "platform/foundation/archiving.h"
#include "platform/image/image_file.h"

#include <cmath>

namespace {

const QString ImageKey = QStringLiteral("image");
const QString CompOpKey = QStringLiteral("compOp");
const QString OvercolorKey = QStringLiteral("overcolor");

constexpr unsigned SourceOverNumber = 2;
constexpr unsigned LastOperationNumber = 13;
constexpr float SkewResolution = 0.001f;
constexpr float TintAlphaThreshold = 0.09f;

bool isVisibleTint(const std::optional<Color> &color)
{
    return color && color->alphaComponent() > TintAlphaThreshold;
}

} // namespace

VekObjImage::~VekObjImage()
{
    panelServices().objectWillBeDeleted(*this);
}

std::shared_ptr<VekObjImage> VekObjImage::create()
{
    auto object = makeObject<VekObjImage>();
    object->setNoShadow(true);
    object->setDrawsStroke(false);
    object->setNote(QStringLiteral("I"));
    return object;
}

void VekObjImage::setImage(const Image &image)
{
    if ((!image.isValid() && !_image.isValid()) || image.isSameImage(_image))
        return;
    if (_image.isValid())
        registerUndo([old = _image](VekObject &o) { static_cast<VekObjImage &>(o).setImage(old); });
    clearCachedImage();
    _image = image;
    _unreadableImageData.clear();
    _imgrepSize = Size();
    didChange();
}

void VekObjImage::setColorizeWith(const std::optional<Color> &color)
{
    const std::optional<Color> tint = isVisibleTint(color) ? color : std::nullopt;
    // The first tint is undone too: its inverse puts back no tint.
    if (tint != _overcolor)
        registerUndo([old = _overcolor](VekObject &o) { static_cast<VekObjImage &>(o).setColorizeWith(old); });
    _overcolor = tint;
    _coloredImage = Image();
    _cmykImage = Image();
    didChange();
}

void VekObjImage::setCompositeOperation(unsigned op)
{
    if (op == _compositeOp)
        return;
    registerUndo([old = _compositeOp](VekObject &o) { static_cast<VekObjImage &>(o).setCompositeOperation(old); });
    _compositeOp = op;
    didChange();
}

void VekObjImage::setFlippedHorizontally(bool flag)
{
    changeFlip(true, flag);
}

void VekObjImage::setFlippedVertically(bool flag)
{
    changeFlip(false, flag);
}

void VekObjImage::changeFlip(bool horizontal, bool flag)
{
    bool &stored = horizontal ? _flippedHorizontally : _flippedVertically;
    if (stored == flag)
        return;
    // Every flip is undoable and redrawn, whether or not the transformed image was made
    // since the last change: a knob drag flips before anything is drawn again.
    registerUndo([horizontal, old = stored](VekObject &o) {
        auto &image = static_cast<VekObjImage &>(o);
        horizontal ? image.setFlippedHorizontally(old) : image.setFlippedVertically(old);
    });
    clearCachedImage();
    stored = flag;
    didChange();
}

void VekObjImage::setRotation(float degrees, Point center, bool update)
{
    if (degrees == _rotation)
        return;
    if (update) {
        if (!(degrees >= 0.0f && degrees <= 359.0f))
            return;
        // The base stores without undo when called without update, so the inverse is
        // registered here.
        registerUndo([old = _rotation, center](VekObject &o) { o.setRotation(old, center, true); });
    }
    VekObject::setRotation(degrees, Point(), false);
    clearCachedImage();
    if (update)
        didChange();
}

void VekObjImage::setSkewX(float factor, bool update)
{
    if (factor == _skewX)
        return;
    if (update) {
        if (!(factor >= -1.0f && factor <= 1.0f) || std::fabs(factor - _skewX) < SkewResolution)
            return;
        if (std::fabs(factor) < SkewResolution)
            factor = 0;
        registerUndo([old = _skewX](VekObject &o) { o.setSkewX(old, true); });
    }
    VekObject::setSkewX(factor, false);
    clearCachedImage();
    if (update)
        didChange();
}

void VekObjImage::setSkewY(float factor, bool update)
{
    if (factor == _skewY)
        return;
    if (update) {
        if (!(factor >= -1.0f && factor <= 1.0f) || std::fabs(factor - _skewY) < SkewResolution)
            return;
        if (std::fabs(factor) < SkewResolution)
            factor = 0;
        registerUndo([old = _skewY](VekObject &o) { o.setSkewY(old, true); });
    }
    VekObject::setSkewY(factor, false);
    clearCachedImage();
    if (update)
        didChange();
}

void VekObjImage::setBounds(const Rect &bounds)
{
    if (bounds == _bounds)
        return;
    // During a drag only the net change (at its stop) is undoable and announced.
    const bool live = !manipulatingBounds() && !_isLoadingPropertyList;
    if (live && _image.isValid() && hasDrawableBounds()) {
        didChange();
        registerUndo([old = _bounds](VekObject &o) { o.setBounds(old); });
    }
    clearCachedImage();
    setBoundsSimplyAs(bounds);
    if (!_image.isValid() || !live)
        return;
    didChange();
    postBoundsChange();
}

void VekObjImage::didChange()
{
    if (_image.isValid() && hasDrawableBounds())
        VekObject::didChange();
}

Size VekObjImage::imgrepSize() const
{
    std::lock_guard lock(_drawingCacheMutex);
    if (_imgrepSize == Size() && _image.isValid()) {
        if (const ImageRep *rep = _image.bestRepresentation())
            _imgrepSize = Size(float(rep->pixelsWide()), float(rep->pixelsHigh()));
    }
    return _imgrepSize;
}

void VekObjImage::setImgrepSize(Size pixels)
{
    if (!_image.isValid())
        return;
    // Refuse sizes that would make no image or an absurd allocation.
    if (!(pixels.width >= 1.0f && pixels.height >= 1.0f && pixels.width <= MaxImgrepSide
          && pixels.height <= MaxImgrepSide))
        return;
    const ImageRep *rep = _image.bestRepresentation();
    if (!rep)
        return;
    const ImageRep source = *rep;
    const Image resampled = Image::imageByDrawing(pixels, [&](QPainter &painter) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        source.drawInRect(painter, QRectF(0, 0, pixels.width, pixels.height));
    });
    setImage(resampled);
}

Size VekObjImage::originalSize() const
{
    return _image.isValid() ? _image.size() : Size(10, 10);
}

void VekObjImage::setToNaturalSize()
{
    Rect b = _bounds;
    const Size s = originalSize();
    if (s.width > 0 && s.height > 0) {
        if (b.height() < b.width())
            b.size.height = s.height * (b.width() / s.width);
        else
            b.size.width = s.width * (b.height() / s.height);
    }
    setBounds(b);
    setFlippedHorizontally(false);
    setFlippedVertically(false);
}

void VekObjImage::setQomtImage(const Image &image, const Rect &bounds)
{
    clearCachedImage();
    _image = image;
    _imgrepSize = Size();
    setBoundsSimplyAs(bounds);
}

void VekObjImage::clearCachedImage()
{
    std::lock_guard lock(_drawingCacheMutex);
    _cachedImage = Image();
    _coloredImage = Image();
    _cmykImage = Image();
}

void VekObjImage::writePropertyListKeys(PropertyList &dict) const
{
    VekObject::writePropertyListKeys(dict);
    // The image travels as the file it was read from (a PDF stays vectors, a photo keeps
    // its compression); an image made in memory as an image file of its bitmap: PNG, which
    // keeps straight alpha exactly, or TIFF for CMYK bitmaps, which keeps the inks. Data
    // that could not be read is written back as it came.
    QByteArray data = _image.fileData().isEmpty() ? _unreadableImageData : _image.fileData();
    if (data.isEmpty() && _image.isValid()) {
        BitmapRep bitmap = _image.bitmap();
        bitmap.setSize(_image.size());   // the file's resolution carries the size in points
        data = encodeBitmap(bitmap, bitmap.isCMYK() ? "tiff" : "png");
    }
    dict.insert(ImageKey, PropertyList::fromData(data));
    dict.insert(CompOpKey, PropertyList::fromInt(_compositeOp));
    if (_overcolor) {
        if (const auto archived = archivedDataWithRootObject(*_overcolor))
            dict.insert(OvercolorKey, PropertyList::fromData(*archived.value));
    }
}

void VekObjImage::readPropertyListKeys(const PropertyList &dict)
{
    setBezierPath(std::nullopt);
    VekObject::readPropertyListKeys(dict);
    _image = Image();
    clearCachedImage();
    _imgrepSize = Size();

    // Data that is no image file may be an image archived by an older document; what
    // cannot be read at all is kept to be written back, and shows as a placeholder.
    _unreadableImageData.clear();
    const QByteArray data = dict.value(ImageKey).dataValue();
    if (!data.isEmpty())
        _image = readImageData(data);
    if (!data.isEmpty() && !_image.isValid()) {
        if (const auto archived = unarchiveImageWithData(data)) {
            _image = readImageData(archived.value->fileData);
            if (_image.isValid() && archived.value->size != Size())
                _image.setSize(archived.value->size);
        }
        if (!_image.isValid())
            _unreadableImageData = data;
    }
    if (dict.contains(CompOpKey)) {
        const qint64 op = dict.value(CompOpKey).longLongValue();
        _compositeOp = op >= 0 && op <= LastOperationNumber ? unsigned(op) : SourceOverNumber;
    }
    // Kept as stored, even when nearly transparent.
    _overcolor.reset();
    const PropertyList overcolor = dict.value(OvercolorKey);
    if (overcolor.isData()) {
        if (auto color = unarchiveColorWithData(overcolor.dataValue()))
            _overcolor = std::move(*color.value);
    }
}

void VekObjImage::copyAttributesTo(VekObject &copy) const
{
    VekObject::copyAttributesTo(copy);
    auto &image = static_cast<VekObjImage &>(copy);
    image.clearCachedImage();
    image._image = _image;
    image._unreadableImageData = _unreadableImageData;
    image._imgrepSize = Size();
    image._compositeOp = _compositeOp;
    image._overcolor = _overcolor;
}

// VekObject: construction, the document link, change notification and the attribute getters.
#include "model/vek_object.h"

#include "model/services/document_services.h"
#include "model/vek_object_private.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/undo_manager.h"
#include "platform/text/attributed_string.h"

VekObject::VekObject(Passkey) {}

VekObject::~VekObject()
{
    // Text objects observe notifications; no registration may outlive the object.
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<VekObject> VekObject::create()
{
    return makeObject<VekObject>();
}

void VekObject::setDocument(DocumentServices *document, bool readFromFile)
{
    _document = document;
    // Documents written by version "1" used dash numbers 5 to 7 for what are now the dash
    // scale and the line-drawing patterns. Only what was read from such a file is moved
    // over: a fresh dash 5, 6 or 7 made later in the same document means what it says.
    if (!document || !readFromFile || document->documentVersion() != QLatin1String("1"))
        return;
    const int dash = _dashPattern;
    if (dash == 6 || dash == 7) {
        setLineDrawPattern(dash - 5, false);
        setDashPatternUpdate(0, false);
    } else if (dash > 0) {
        setDashScale(1.0f, false);
        if (dash == 5)
            setDashPatternUpdate(10, false);
    }
}

UndoManager *VekObject::undoManager() const
{
    return _document ? _document->undoManager() : nullptr;
}

bool VekObject::postsNotifications() const
{
    return !_isLoadingPropertyList && _document && _document->hasWindow();
}

void VekObject::postNotification(const QString &name) const
{
    NotificationCenter::defaultCenter().postNotificationName(name, this);
}

void VekObject::didChange()
{
    if (!postsNotifications())
        return;
    if (_document->collectsChanges()) {
        _document->collectChange(*this);
        return;
    }
    _document->invalidateObject(*this);
    postNotification(VekObjectDidChangeNotification);
}

void VekObject::postBoundsChange() const
{
    if (postsNotifications() && !_document->collectsChanges())
        postNotification(VekObjectBoundsDidChangeNotification);
}

void VekObject::clipDidChange()
{
    didChange();
}

void VekObject::registerUndo(std::function<void(VekObject &)> inverse)
{
    UndoManager *undo = undoManager();
    if (!undo)
        return;
    undo->registerUndoWithTarget(this, [self = shared_from_this(), inverse = std::move(inverse)] { inverse(*self); });
}

CanvasServices *VekObject::vekView() const
{
    return _document ? _document->vekView() : nullptr;
}

bool VekObject::documentUsesCMYK() const
{
    return _document && _document->useCMYK();
}

std::optional<AttributedString> VekObject::attStringForPath() const
{
    return std::nullopt;
}

void VekObject::setFontNameSize(const QString &name, float size)
{
    if (!applyFontNameSize(name, size) || !_document)
        return;
    // The document keeps the recent fonts and sizes of its toolbar.
    if (!name.isEmpty())
        _document->updateMyFontWith(name);
    if (size > 0)
        _document->updateMySizeWith(size);
}

int VekObject::joinStyle() const
{
    return _joinStyle == 1 || _joinStyle == 2 ? _joinStyle : 0;
}

int VekObject::capStyle() const
{
    return _capStyle == 1 || _capStyle == 2 ? _capStyle : 0;
}

int VekObject::repeatType() const
{
    return canRepeat() ? _repeatType : 0;
}

int VekObject::repeatStartPage() const
{
    return _repeatStart > 0 ? _repeatStart : 1;
}

int VekObject::repeatEndPage() const
{
    if (_repeatEnd > 0)
        return _repeatEnd;
    // A loose object knows no last page; 0 sets no limit.
    return _document ? _document->numberOfPages() : 0;
}

Color VekObject::strokeColor() const
{
    const bool cmyk = documentUsesCMYK();
    if (_strokeColor)
        return cmyk ? cmykColor(*_strokeColor) : *_strokeColor;
    if (!drawsStroke())
        return Color::clearColor();
    return cmyk ? cmykColor(Color::blackColor()) : Color::blackColor();
}

Color VekObject::fillColor() const
{
    const bool cmyk = documentUsesCMYK();
    if (_fillColor)
        return cmyk ? cmykColor(*_fillColor) : *_fillColor;
    return cmyk ? Color::colorWithDeviceCyan(0, 0, 0, 0, 0) : Color::clearColor();
}

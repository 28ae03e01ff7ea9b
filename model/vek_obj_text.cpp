// The text box's model: creation, the undoable setters, the observers and the caches.
#include "model/vek_obj_text.h"

#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text_layout.h"
#include "platform/foundation/undo_manager.h"
#include "platform/text/font_registry.h"
#include "platform/text/layout_manager.h"

#include <algorithm>

VekObjText::VekObjText(Passkey key) : VekObject(key)
{
    TextAttributes attributes;
    attributes.font = shellServices().vekDefaultUserFont().value_or(labelFont(12));
    _contents.setText(AttributedString(QStringLiteral(" "), attributes));
    // Every edit of the text marks the object changed; a character edit also ends the
    // cached run rows and anchor places.
    _contentsObserver = _contents.addObserver([this](const TextStorage &, const TextEdit &edit) {
        if (edit.mask & TextEditedCharacters)
            cleanupLocalCache();
        if (!_replacingContents)
            didChange();
    });
    _boundsObserver = NotificationCenter::defaultCenter().addObserver(
        this, VekObjectBoundsDidChangeNotification, nullptr, [this](const Notification &n) {
            const auto *sender = static_cast<const VekObject *>(n.sender);
            if (sender != this)
                checkRelevantObjects([sender](const VekObject *o) { return o == sender; });
        });
    _batchObserver = NotificationCenter::defaultCenter().addObserver(
        this, VekObjectsDidChangeNotification, nullptr, [this](const Notification &n) {
            if (_document && n.sender == _document)
                checkRelevantObjects([this](const VekObject *o) { return o != this && _document->changedTogether(o); });
        });
}

VekObjText::~VekObjText()
{
    stopEditingOnDestruction();
    NotificationCenter::defaultCenter().removeObserver(_boundsObserver);
    NotificationCenter::defaultCenter().removeObserver(_batchObserver);
    _contents.removeObserver(_contentsObserver);
    releaseSharedTextLayout();
}

std::shared_ptr<VekObjText> VekObjText::create()
{
    auto object = makeObject<VekObjText>();
    object->setNoShadow(true);
    object->setSimpleClip(false);
    object->setNote(QStringLiteral("T"));
    return object;
}

void VekObjText::setTCPadding(float padding)
{
    if (padding == _tcPadding)
        return;
    registerUndo([old = _tcPadding](VekObject &o) { static_cast<VekObjText &>(o).setTCPadding(old); });
    _tcPadding = padding;
    didChange();
}

void VekObjText::setHyphenFactor(float factor)
{
    if (factor == _hyphenFactor)
        return;
    registerUndo([old = _hyphenFactor](VekObject &o) { static_cast<VekObjText &>(o).setHyphenFactor(old); });
    _hyphenFactor = factor;
    didChange();
}

void VekObjText::setContents(const AttributedString &text)
{
    if (&text == &_contents.text())
        return;
    // Also an empty text is put back: a flow may have filled it.
    if (!_isLoadingPropertyList)
        registerUndo([old = _contents.text()](VekObject &o) { static_cast<VekObjText &>(o).setContents(old); });
    replaceContentsSilently(text);
    setWordCount(::wordCount(text.string()));
    didChange();
}

void VekObjText::replaceContentsSilently(const AttributedString &text)
{
    _replacingContents = true;
    _contents.setText(text);
    _replacingContents = false;
    cleanupLocalCache();
}

void VekObjText::setRotation(float degrees, Point center, bool update)
{
    if (degrees == _rotation)
        return;
    VekObject::setRotation(degrees, center, update);
    didChange();
}

bool VekObjText::objectBehindClips() const
{
    if (!_document)
        return false;
    const auto &objects = _document->objects();
    const auto it = std::find_if(objects.begin(), objects.end(), [&](const auto &o) { return o.get() == this; });
    if (it == objects.end() || it + 1 == objects.end())
        return false;
    const auto *path = dynamic_cast<const VekObjPath *>((it + 1)->get());
    return path && path->clipType() >= 1;
}

void VekObjText::setSimpleClip(bool flag)
{
    if (flag != _simpleClip)
        VekObject::setSimpleClip(flag);
    if (objectBehindClips())
        clipDidChange();
}

void VekObjText::setGroupWithNext(bool flag)
{
    const bool changed = flag != _grpWithNxt;
    VekObject::setGroupWithNext(flag);
    if (changed && flag)
        reflow();
}

void VekObjText::setBounds(const Rect &bounds)
{
    Rect r = bounds;
    r.size.width = std::max(r.size.width, minSize().width);
    r.size.height = std::max(r.size.height, minSize().height);
    const bool changed = r != _bounds;
    VekObject::setBounds(r);
    // Also an empty box flows: with room again it takes text back.
    if (changed)
        reflow();
}

std::set<const VekObject *> VekObjText::floatingObjects() const
{
    std::lock_guard lock(_drawingCacheMutex);
    return _floatingObjects;
}

void VekObjText::noteFloatingObjects(const std::set<const VekObject *> &objects)
{
    if (objects.empty())
        return;
    std::lock_guard lock(_drawingCacheMutex);
    _floatingObjects.insert(objects.begin(), objects.end());
}

void VekObjText::clipDidChange()
{
    controlConnection();
}

void VekObjText::checkRelevantObjects(const std::function<bool(const VekObject *)> &changed)
{
    if (_isLoadingPropertyList)
        return;
    bool floating = false;
    {
        std::lock_guard lock(_drawingCacheMutex);
        floating = std::any_of(_floatingObjects.begin(), _floatingObjects.end(), changed);
        if (floating)
            _floatingObjects.clear();
    }
    if (floating) {
        if (_document)
            _document->invalidateObject(*this);
        return;
    }
    if (!_document)
        return;
    const auto &objects = _document->objects();
    const int index = _document->indexOfObject(this);
    if (index < 0 || size_t(index) + 1 >= objects.size())
        return;
    const VekObject *behind = objects[size_t(index) + 1].get();
    if (const auto *path = dynamic_cast<const VekObjPath *>(behind); path && path->clipType() >= 1 && changed(behind))
        clipDidChange();
}

PropertyList VekObjText::textInfo()
{
    if (_txtInfoArray.isAbsent() && _contents.length() > 0)
        _txtInfoArray = getTextInfoArrayFor(_contents.text());
    return _txtInfoArray;
}

void VekObjText::cleanupLocalCache()
{
    _txtInfoArray = PropertyList();
    _anchorInfo = PropertyList();
}

// The page-number and date field: its values, placement, drawing and dictionary keys.
#include "model/vek_obj_format.h"

#include "model/calendar_date_format.h"
#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/services/shell_services.h"
#include "platform/graphics/graphics_context.h"
#include "platform/text/font_registry.h"
#include "platform/text/rtf.h"
#include "platform/text/text_drawing.h"
#include "toolkit/text_extensions.h"

#include <cmath>

namespace {

const QString FormatTypeKey = QStringLiteral("formatType");
const QString FormatAlignKey = QStringLiteral("formatAlign");
const QString FormatKey = QStringLiteral("format");
const QString ExampleKey = QStringLiteral("example");
const QString PageNumberFormat = QStringLiteral("%d");

// The example's characters replaced by the text; the first character's attributes carry over.
AttributedString restyled(const std::optional<AttributedString> &example, const QString &text)
{
    AttributedString value = example ? *example : AttributedString(QStringLiteral("1"));
    value.replaceCharacters(TextRange{0, value.length()}, text);
    return value;
}

Size wholePointSize(const AttributedString &text)
{
    const Size size = attributedStringSize(text);
    return {std::ceil(size.width), std::ceil(size.height)};
}

void frameRect(GraphicsContext &context, const Rect &rect, const Color &color)
{
    GraphicsStateSaver saver(context);
    context.setStrokeColor(color);
    context.strokePath(BezierPath::bezierPathWithRect(rect));
}

} // namespace

std::shared_ptr<VekObjFormat> VekObjFormat::create()
{
    auto field = makeObject<VekObjFormat>();
    const ShellServices &shell = shellServices();
    field->_formatType = shell.selectedFormatType();
    field->_formatAlign = shell.selectedFormatAlign();
    field->_format = shell.selectedFormat();
    field->_example = shell.selectedFormatExample();
    field->setNoShadow(true);
    field->setDrawsStroke(false);
    field->setNote(QStringLiteral("F"));
    return field;
}

void VekObjFormat::setFormatType(int type)
{
    _formatType = type;
    dropCachedTexts();
}

void VekObjFormat::dropCachedTexts()
{
    _currentFormatedDate.reset();
    _currentFormatedPage.clear();
}

void VekObjFormat::setFormat(const QString &format)
{
    const bool hadFormat = !_format.isNull();
    if (hadFormat && format == _format)
        return;
    if (hadFormat)
        registerUndo([old = _format](VekObject &object) { static_cast<VekObjFormat &>(object).setFormat(old); });
    // Never null, so that "has a format" stays true once one was set.
    _format = format.isNull() ? QStringLiteral("") : format;
    dropCachedTexts();
    if (hadFormat) {
        fitBoundsToValue();
        didChange();
        _txtInfoArray = PropertyList();
    }
}

void VekObjFormat::setExample(const std::optional<AttributedString> &example)
{
    if (!example || example == _example)
        return;
    if (!_example) {
        _example = example;
        return;
    }
    registerUndo([old = *_example](VekObject &object) { static_cast<VekObjFormat &>(object).setExample(old); });
    _example = example;
    dropCachedTexts();
    const Size size = attributedStringSize(*example);
    if (size.width > 0 || size.height > 0)
        setBounds(Rect(_bounds.origin, size));
    fitBoundsToValue();
}

void VekObjFormat::setFormatAlign(int align)
{
    _formatAlign = align;
    setBounds(_bounds);
    fitBoundsToValue();
}

void VekObjFormat::setObjStrokeColor(const std::optional<Color> &color)
{
    if (!_example || _example->isEmpty() || !color)
        return;
    const std::optional<Font> font = _example->attributesAt(0).font;
    if (!font)
        return;
    TextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = color;
    setExample(AttributedString(_example->string(), attributes));
    didChange();
}

bool VekObjFormat::applyFontNameSize(const QString &name, float size)
{
    if (!_example || _example->isEmpty())
        return false;
    const TextAttributes &first = _example->attributesAt(0);
    const QString fontName = name.isEmpty() && first.font ? first.font->name : name;
    const float fontSize = size > 0 ? size : (first.font ? first.font->size : 0);
    const std::optional<Font> font = fontWithName(fontName, fontSize);
    if (!font || fontName.isEmpty() || fontSize <= 0)
        return false;
    TextAttributes attributes;
    attributes.font = font;
    attributes.foregroundColor = first.foregroundColor.value_or(Color::blackColor());
    setExample(AttributedString(_example->string(), attributes));
    _txtInfoArray = PropertyList();
    return true;
}

AttributedString VekObjFormat::valueOnPage(int page, bool cmyk)
{
    std::lock_guard lock(_drawingCacheMutex);   // the formatted texts are filled while drawing
    const AttributedString *value = nullptr;
    if (_formatType == 0) {
        auto it = _currentFormatedPage.find(page);
        if (it == _currentFormatedPage.end()) {
            // A format from a file only ever reaches the checked formatter.
            const QString format = _format.size() < 2 ? PageNumberFormat : _format;
            it = _currentFormatedPage.insert(page, restyled(_example, formatPageNumber(format, page)));
        }
        value = &*it;
    } else {
        if (!_currentFormatedDate) {
            const QDateTime now = QDateTime::currentDateTime();
            _currentFormatedDate = restyled(_example, describeDate(now, _format.isEmpty() ? DefaultCalendarFormat : _format));
        }
        value = &*_currentFormatedDate;
    }
    return cmyk ? attributedStringUsingCMYK(*value) : *value;
}

Rect VekObjFormat::fittedBoundsOnPage(int page, const Rect &pageRect)
{
    if (_bounds.width() <= 1.0f || _bounds.height() <= 1.0f)
        return {};
    const Size size = wholePointSize(valueOnPage(page, false));
    float x = _bounds.origin.x;
    // Page-aligned fields are placed from the page's own left edge.
    switch (_formatAlign) {
    case 1: x = _bounds.origin.x + _bounds.width() / 2 - size.width / 2; break;
    case 2: x = _bounds.origin.x + _bounds.width() - size.width; break;
    case 3: x = pageRect.origin.x; break;
    case 4: x = pageRect.origin.x + (pageRect.width() - size.width) / 2; break;
    case 5: x = pageRect.origin.x + pageRect.width() - size.width; break;
    default: break;
    }
    const float y = _bounds.origin.y + float(page - 1) * pageRect.height();
    return Rect(x, y, size.width, size.height);
}

Rect VekObjFormat::placeOnPage(int page, const Rect &pageRect)
{
    if (repeatType() == 0)
        return Rect(_bounds.origin, attributedStringSize(valueOnPage(page, false)));
    return fittedBoundsOnPage(page, pageRect);
}

void VekObjFormat::fitBoundsToValue()
{
    const int page = repeatType() == 0 ? 1 : std::max(1, repeatStartPage());
    CanvasServices *view = vekView();
    Rect pageOne = pageRect(view, 1);
    if (!view && _document)
        pageOne = Rect(Point(), _document->drawAreaSizePerPage());
    Rect place = placeOnPage(page, pageOne);
    if (place == Rect())
        return;
    place.origin.y = _bounds.origin.y;   // the bounds hold the place on the first page
    if (place != _bounds)
        setBounds(place);
}

void VekObjFormat::setBounds(const Rect &bounds)
{
    // The canvas is asked for at every call: the document's window may have closed since.
    Rect fitted = bounds;
    if (CanvasServices *view = vekView()) {
        fitted.size = {std::ceil(bounds.width()), std::ceil(bounds.height())};
        const Rect page = view->rectForPage(1);
        switch (_formatAlign) {
        case 3: fitted.origin.x = page.origin.x; break;
        case 4: fitted.origin.x = page.origin.x + (page.width() - fitted.width()) / 2; break;
        case 5: fitted.origin.x = page.origin.x + page.width() - fitted.width(); break;
        default: break;
        }
    }
    VekObject::setBounds(fitted);
}

void VekObjFormat::drawInViewIsSelectedOnPagePageRect(CanvasServices *view, bool selected, int page,
                                                       const Rect &pageRect)
{
    if (view && view->creatingObject().get() == this)
        return;
    const bool onThisPage = shouldDrawOnPage(page, pageRect);
    const bool selectedInView = view && view->objectIsSelected(*this);
    GraphicsContext *context = GraphicsContext::current();
    if ((onThisPage || selectedInView) && context) {
        const AttributedString value = valueOnPage(page, documentUsesCMYK());
        const Size valueSize = attributedStringSize(value);
        const Rect rect = placeOnPage(page, pageRect);
        if (rect == Rect())
            return;
        if (onThisPage) {
            drawAttributedStringAtPoint(value, rect.origin);
            if (drawsStroke())
                frameRect(*context, insetRect(Rect(rect.origin, valueSize), -2.0f, -2.0f), strokeColor());
        } else if (selected && !value.isEmpty()) {
            TextAttributes grey = value.attributesAt(0);
            grey.foregroundColor = Color::grayColor();
            drawAttributedStringAtPoint(AttributedString(value.string(), grey), rect.origin);
        }
        if (selectedInView && !view->drawingToSave())
            frameRect(*context, insetRect(rect, -1.0f, -1.0f), systemKnobColor());
    }
}

int VekObjFormat::pageToDraw(CanvasServices *view) const
{
    return view && view->drawingPage() >= 1 ? view->drawingPage() : 1;
}

Rect VekObjFormat::pageRect(CanvasServices *view, int page)
{
    return view ? view->rectForPage(page) : Rect();
}

void VekObjFormat::drawInViewIsSelected(CanvasServices *view, bool selected)
{
    const int page = pageToDraw(view);
    drawInViewIsSelectedOnPagePageRect(view, selected, page, pageRect(view, page));
}

void VekObjFormat::drawInViewInRect(CanvasServices *view, const Rect &rect)
{
    // A repeated page: the rectangle lies whole page heights below the field's own.
    int page = pageToDraw(view);
    if (view && view->drawingPage() < 1) {
        const float pageHeight = pageRect(view, 1).height();
        if (pageHeight > 0)
            page = 1 + int(std::lround((rect.origin.y - _bounds.origin.y) / pageHeight));
    }
    drawInViewIsSelectedOnPagePageRect(view, false, page, pageRect(view, page));
}

bool VekObjFormat::createWithEvent(const MouseEvent &event, CanvasServices *view)
{
    dropCachedTexts();
    if (!view)
        return false;
    MouseEvent current = event;
    while (current.type != EventType::LeftMouseUp) {
        current = view->eventSource().nextEvent(DragOrUpMask);
        view->autoscroll(current);
    }
    const Point origin = view->convertPointFromWindow(current.locationInWindow);
    const AttributedString value = valueOnPage(1, false);
    const Size size = attributedStringSize(value);
    if (value.isEmpty() || size.width <= 1.0f || size.height <= 1.0f)
        return false;
    setBounds(Rect(origin, size));
    _txtInfoArray = PropertyList();
    return true;
}

void VekObjFormat::startEditingWithEvent(const MouseEvent &, CanvasServices *view)
{
    shellServices().showToolOptionPanelFor(*this, true);
    if (view)
        view->setEditingObject(shared_from_this(), nullptr);
}

void VekObjFormat::endEditingInView(CanvasServices *view)
{
    if (!view || view->editingObject().get() != this)
        return;
    shellServices().orderOutToolOptionPanelFor(*this);
    view->setEditingObject(nullptr, nullptr);
}

PropertyList VekObjFormat::textInfo()
{
    if (!_txtInfoArray.isAbsent())
        return _txtInfoArray;
    const AttributedString value = valueOnPage(repeatStartPage(), false);
    if (value.isEmpty())
        return {};
    _txtInfoArray = getTextInfoArrayFor(value);
    return _txtInfoArray;
}

void VekObjFormat::writePropertyListKeys(PropertyList &dict) const
{
    VekObject::writePropertyListKeys(dict);
    dict.insert(FormatTypeKey, PropertyList::fromInt(_formatType));
    dict.insert(FormatAlignKey, PropertyList::fromInt(_formatAlign));
    dict.insert(FormatKey, PropertyList::fromString(_format.isNull() ? PageNumberFormat : _format));
    if (_example)
        dict.insert(ExampleKey, PropertyList::fromData(RTFFromRange(*_example, TextRange{0, _example->length()})));
}

void VekObjFormat::readPropertyListKeys(const PropertyList &dict)
{
    VekObject::readPropertyListKeys(dict);
    const Rect storedBounds = _bounds;
    setFormatType(dict.value(FormatTypeKey).intValue());
    _formatAlign = dict.value(FormatAlignKey).intValue();
    const PropertyList format = dict.value(FormatKey);
    setFormat(format.isString() ? format.stringValue() : PageNumberFormat);
    if (dict.contains(ExampleKey)) {
        std::optional<AttributedString> example = attributedStringWithRTF(dict.value(ExampleKey).dataValue());
        if (!example || example->isEmpty())
            example = AttributedString(QStringLiteral("1"));
        setExample(example);
    }
    // The alignment rules see the loaded format and example; the stored bounds are kept as
    // they are, so that reading a file changes nothing.
    setBounds(storedBounds);
}

void VekObjFormat::copyAttributesTo(VekObject &copy) const
{
    VekObject::copyAttributesTo(copy);
    auto &field = static_cast<VekObjFormat &>(copy);
    field._format = _format;
    field._formatType = _formatType;
    // A duplicate keeps its look rather than taking the tool palette's.
    field._formatAlign = _formatAlign;
    field._example = _example;
    field.dropCachedTexts();
    field._txtInfoArray = PropertyList();
}

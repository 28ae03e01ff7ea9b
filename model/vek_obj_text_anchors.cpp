// Anchors (named places in the text that links jump to) and links of a text box: where they
// lie on the canvas, their saved form and the commands on the edited selection.
#include "model/services/document_services.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_obj_text_layout.h"
#include "model/vek_object_private.h"
#include "platform/foundation/localized_strings.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

constexpr int NotFound = std::numeric_limits<int>::max();

QString stringFromRange(TextRange range)
{
    return QStringLiteral("{%1, %2}").arg(range.location).arg(range.length);
}

// "{location, length}" as the platform writes it; nothing for other text.
std::optional<TextRange> rangeFromString(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*\\{?\\s*(\\d+)\\s*,\\s*(\\d+)\\s*\\}?\\s*$"));
    const auto match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    bool a = false, b = false;
    const int location = match.captured(1).toInt(&a);
    const int length = match.captured(2).toInt(&b);
    if (!a || !b)
        return std::nullopt;
    return TextRange{location, length};
}

// Where the laid-out characters lie on the canvas: their glyphs' rectangle in the box, moved
// by the origin the box is drawn at and by the container's padding.
Rect canvasRectOfCharacters(TextBoxLayout &layout, TextRange range, const Rect &drawn)
{
    const float pad = layout.container().lineFragmentPadding();
    Rect r = layout.layoutManager().boundingRectForGlyphRange(range, &layout.container());
    r.origin.x += drawn.minX() + pad;
    r.origin.y += drawn.minY() + pad;
    return r;
}

// Calls f with each stretch of the text over which the attribute keeps one value, however
// the other attributes change within it (an anchor or a link over bold and plain words is
// one stretch), and with the attributes at its start.
void forEachSpanOf(TextAttribute key, const AttributedString &text,
                   const std::function<void(TextRange, const TextAttributes &)> &f)
{
    for (int index = 0; index < text.length();) {
        const TextRange span = text.longestEffectiveRange(key, index, {index, text.length() - index});
        f(span, text.attributesAt(index));
        index = std::max(span.end(), index + 1);
    }
}

} // namespace

PropertyList VekObjText::anchorInfo()
{
    if (!_anchorInfo.isAbsent() || _contents.length() == 0)
        return _anchorInfo;
    // A name stands for its first place in the text; asking changes nothing.
    PropertyList info = PropertyList::dictionary();
    TextBoxLayout layout(*this, _contents.text(), _bounds.size);
    const Rect drawn = drawingBounds();
    forEachSpanOf(TextAttribute::Anchor, _contents.text(), [&](TextRange span, const TextAttributes &a) {
        if (a.anchor && !info.contains(*a.anchor))
            info.insert(*a.anchor, PropertyList::fromString(stringFromRect(canvasRectOfCharacters(layout, span, drawn))));
    });
    _anchorInfo = info;
    return _anchorInfo;
}

PropertyList VekObjText::linkInfo()
{
    if (_contents.length() == 0)
        return {};
    PropertyList links;
    TextBoxLayout layout(*this, _contents.text(), _bounds.size);
    const Rect drawn = drawingBounds();
    forEachSpanOf(TextAttribute::Link, _contents.text(), [&](TextRange span, const TextAttributes &a) {
        if (!a.link)
            return;
        PropertyList entry = PropertyList::array();
        entry.append(PropertyList::fromString(QUrl(*a.link).toString()));
        entry.append(PropertyList::fromString(stringFromRect(canvasRectOfCharacters(layout, span, drawn))));
        entry.append(PropertyList::fromString(_contents.string().mid(span.location, span.length)));
        links.append(entry);
    });
    return links;
}

PropertyList VekObjText::anchorInfoToSave() const
{
    PropertyList info;
    forEachSpanOf(TextAttribute::Anchor, _contents.text(), [&](TextRange span, const TextAttributes &a) {
        if (!a.anchor)
            return;
        if (info.isAbsent())
            info = PropertyList::dictionary();
        if (!info.contains(*a.anchor))
            info.insert(*a.anchor, PropertyList::fromString(stringFromRange(span)));
    });
    return info;
}

void VekObjText::setSavedAnchorInfo(const PropertyList &info)
{
    const int length = _contents.length();
    if (length == 0 || info.type() != PropertyList::Type::Dictionary)
        return;
    for (const QString &name : info.keys()) {
        const auto range = rangeFromString(info.value(name).stringValue());
        if (!range || name.size() < 2)
            continue;
        const TextRange cut = intersectionRange(*range, {0, length});
        if (cut.isEmpty())
            continue;
        TextAttributes anchor;
        anchor.anchor = name;
        _replacingContents = true;
        _contents.addAttributes(anchor, cut);
        _replacingContents = false;
    }
}

TextRange VekObjText::rangeOfAnchor(const QString &name) const
{
    TextRange found{NotFound, 0};
    forEachSpanOf(TextAttribute::Anchor, _contents.text(), [&](TextRange span, const TextAttributes &a) {
        if (found.location == NotFound && a.anchor && *a.anchor == name)
            found = span;
    });
    return found;
}

QString VekObjText::anchorName() const
{
    const auto selection = editedSelection();
    if (!selection || selection->isEmpty())
        return QString();
    return _contents.text().attributesAt(selection->location).anchor.value_or(QString());
}

void VekObjText::setAnchorName(const QString &name)
{
    const bool naming = name.size() >= 2;
    AttributedString text = _contents.text();
    TextRange range = _editor ? _editor->selectedRange() : TextRange{0, 1};
    if (text.length() == 0 && naming) {
        const QString placeholder = localizedString(QStringLiteral("(text with an anchor)"));
        text = AttributedString(placeholder);
        range = {0, int(placeholder.size())};
    }
    range = intersectionRange(range, {0, text.length()});
    if (!range.isEmpty()) {
        // A name marks one place of the text: the one named last.
        if (naming)
            text.modifyAttributes({0, text.length()}, [&](TextAttributes &a) {
                if (a.anchor == name)
                    a.anchor.reset();
            });
        text.modifyAttributes(range, [&](TextAttributes &a) {
            if (naming)
                a.anchor = name;
            else
                a.anchor.reset();
        });
    }
    setAnchorState(naming ? name : QString(), text);
}

void VekObjText::setAnchorState(const QString &name, const AttributedString &text)
{
    if (sameString(name, _anchorName) && text == _contents.text())
        return;
    // The name and the text change back together, whatever is selected at the time.
    registerUndo([name = _anchorName, text = _contents.text()](VekObject &o) {
        static_cast<VekObjText &>(o).setAnchorState(name, text);
    });
    _anchorName = name;
    if (text != _contents.text()) {
        const std::optional<TextRange> selection = _editor ? std::optional(_editor->selectedRange()) : std::nullopt;
        replaceContentsSilently(text);
        if (selection)
            _editor->setSelectedRange(*selection);
    }
    _anchorInfo = PropertyList();
    didChange();
}

void VekObjText::markSelectionAsLink(VekTextView &editor, const QString &url)
{
    const TextRange selection = intersectionRange(editor.selectedRange(), {0, _contents.length()});
    if (selection.isEmpty())
        return;
    if (url.size() > 1) {
        if (!QUrl(url).isValid())
            return;
        const std::optional<Color> colour =
            _document ? std::optional(_document->linkTextColor()) : std::nullopt;
        const bool underline = _document && _document->linkTextULine() == 1;
        restyleRange(selection, [&](TextAttributes &a) {
            a.link = url;
            if (underline)
                a.underlineStyle = 1;
            else
                a.underlineStyle.reset();
            if (colour)
                a.foregroundColor = *colour;
        });
        return;
    }
    // Unlinking gives the characters the colour of a neighbour.
    const AttributedString &text = _contents.text();
    const int neighbour = selection.location > 0 ? selection.location - 1 : (text.length() > 1 ? 1 : 0);
    const Color colour = text.attributesAt(neighbour).foregroundColor.value_or(Color::colorWithCalibratedWhite(0));
    restyleRange(selection, [&](TextAttributes &a) {
        a.link.reset();
        a.underlineStyle.reset();
        a.foregroundColor = colour;
    });
}

QString VekObjText::linkDestination(const VekTextView *editor) const
{
    if (!editor)
        return QStringLiteral("");
    const TextRange selection = intersectionRange(editor->selectedRange(), {0, _contents.length()});
    if (selection.isEmpty())
        return QStringLiteral("");
    return _contents.text().attributesAt(selection.location).link.value_or(QStringLiteral(""));
}

// Styling a text box: its text colour, outline, outline width and fonts as the toolbar and
// the inspector set them, proportional scaling, date insertion, and the run table of the
// inspector. While the box is edited the commands act on the editor's selection (undone
// with the editor's edits); while it is only selected, on the whole text (one undo step).
#include "model/services/canvas_services.h"
#include "model/services/document_services.h"
#include "model/text/text_style_commands.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_text.h"
#include "model/vek_object_private.h"
#include "platform/text/font_registry.h"
#include "platform/text/text_drawing.h"
#include "toolkit/text_extensions.h"

#include <cmath>

namespace {

// The slant given to a run whose font has no italic face.
constexpr float SyntheticObliqueness = 0.3f;
// Scaling never makes characters smaller than this.
constexpr float MinScaledFontSize = 3.0f;

// The PostScript name of the plainest installed face of the family with the traits (no
// "Condensed" or "Light" when a plain one exists); empty when the family has none.
QString faceOfFamily(const QString &family, bool bold, bool italic)
{
    QString best;
    for (const FontFace &face : fontFacesOfFamily(family)) {
        if (face.bold == bold && face.italic == italic && !face.postScriptName.isEmpty()
            && (best.isEmpty() || face.postScriptName.size() < best.size()))
            best = face.postScriptName;
    }
    return best;
}

// The font of the family with the run's own traits at a size. The toolbar's list of recent
// fonts holds face names ("DejaVuSans-Bold"): a name that is no family but an installed
// face gives that face. None when neither is installed.
std::optional<Font> fontOfFamily(const QString &family, const Font &run, float size)
{
    const FontTraits traits = fontTraits(run.name).value_or(FontTraits{});
    const QString name = faceOfFamily(family, traits.bold, traits.italic);
    if (!name.isEmpty())
        return Font{name, size};
    if (fontFacesOfFamily(family).isEmpty() && fontExists(family))
        return Font{family, size};
    return std::nullopt;
}

bool isItalic(const Font &font)
{
    return fontMetrics(font).italicAngle != 0 || fontTraits(font.name).value_or(FontTraits{}).italic;
}

} // namespace

VekObjText::StyleScope VekObjText::styleScope() const
{
    CanvasServices *view = vekView();
    if (!view || _contents.length() == 0)
        return StyleScope::None;
    if (const auto edited = view->editingObject()) {
        if (edited.get() != this)
            return StyleScope::None;
        const auto selection = editedSelection();
        return selection && !selection->isEmpty() ? StyleScope::Selection : StyleScope::None;
    }
    return view->objectIsSelected(*this) ? StyleScope::WholeText : StyleScope::None;
}

void VekObjText::restyleRange(TextRange range, const std::function<void(TextAttributes &)> &change)
{
    range = intersectionRange(range, {0, _contents.length()});
    const AttributedString before = _contents.text().substring(range);
    AttributedString after = before;
    after.modifyAttributes({0, after.length()}, change);
    if (after == before)
        return;
    const std::optional<TextRange> selection = _editor ? std::optional(_editor->selectedRange()) : std::nullopt;
    replaceCharactersUndoably(range, after);
    if (selection)
        _editor->setSelectedRange(*selection);
}

void VekObjText::restyleWholeText(const std::function<void(TextAttributes &)> &change)
{
    AttributedString text = _contents.text();
    text.modifyAttributes({0, text.length()}, change);
    if (text != _contents.text())
        setContents(text);
}

void VekObjText::restyle(const std::function<void(TextAttributes &)> &change, bool wholeTextToo)
{
    switch (styleScope()) {
    case StyleScope::Selection:
        restyleRange(*editedSelection(), change);
        break;
    case StyleScope::WholeText:
        if (wholeTextToo)
            restyleWholeText(change);
        break;
    case StyleScope::None:
        break;
    }
}

// ---- Colours and outline ----

Color VekObjText::strokeColor() const
{
    std::optional<Color> color;
    if (_editor) {
        const auto selection = editedSelection();
        if (selection && !selection->isEmpty())
            color = _contents.text().attributesAt(selection->location).foregroundColor;
        else if (_contents.length() > 0)
            color = _contents.text().attributesAt(_contents.length() - 1).foregroundColor;
        else
            color = _editor->typingAttributes().foregroundColor;
    } else if (_contents.length() > 0) {
        color = _contents.text().attributesAt(0).foregroundColor;
    }
    if (!color)
        return VekObject::strokeColor();
    return documentUsesCMYK() ? cmykColor(*color) : *color;
}

float VekObjText::lineWidth() const
{
    if (_contents.length() == 0)
        return 0;
    int index = 0;
    if (const auto selection = editedSelection(); selection && !selection->isEmpty())
        index = selection->location;
    return _contents.text().attributesAt(index).strokeWidth.value_or(0);
}

void VekObjText::setObjLineWidth(float width)
{
    restyle([width](TextAttributes &a) {
        if (width == 0)
            a.strokeWidth.reset();
        else
            a.strokeWidth = width;
    });
}

void VekObjText::setOutlineColor(const std::optional<Color> &color)
{
    const bool visible = color && isVisibleAlpha(color->alphaComponent());
    restyle([&](TextAttributes &a) {
        if (visible)
            a.strokeColor = *color;
        else
            a.strokeColor.reset();
    });
}

void VekObjText::setObjStrokeColor(const std::optional<Color> &color)
{
    if (!color)
        return;
    // A transparent colour would hide the whole text: it applies to a selection only.
    restyle([&](TextAttributes &a) { a.foregroundColor = *color; }, isVisibleAlpha(color->alphaComponent()));
}

// ---- Fonts ----

void VekObjText::changeFontsInRange(VekTextView &editor, TextRange range,
                                    const std::function<std::optional<Font>(const Font &)> &change)
{
    if (range.isEmpty()) {
        // Nothing selected: the next characters typed take the font.
        TextAttributes typing = editor.typingAttributes();
        if (const auto font = change(typing.font.value_or(labelFont(12)))) {
            typing.font = *font;
            editor.setTypingAttributes(typing);
        }
        return;
    }
    restyleRange(range, [&](TextAttributes &a) {
        if (!a.font)
            return;
        if (const auto font = change(*a.font))
            a.font = *font;
    });
}

void VekObjText::setFontNameEditorRange(const QString &family, VekTextView &editor, TextRange range)
{
    changeFontsInRange(editor, range, [&](const Font &run) { return fontOfFamily(family, run, run.size); });
}

void VekObjText::setFontSize(float size, VekTextView &editor, TextRange range)
{
    if (!(size > 0) || !std::isfinite(size))
        return;
    changeFontsInRange(editor, range, [size](const Font &run) { return std::optional(Font{run.name, size}); });
}

void toggleItalicOfRun(TextAttributes &a)
{
    if (!a.font)
        return;
    const bool italic = isItalic(*a.font);
    const FontTraits traits = fontTraits(a.font->name).value_or(FontTraits{});
    const QString name = faceOfFamily(fontFace(a.font->name).family, traits.bold, !italic);
    if (!name.isEmpty() && name != a.font->name) {
        a.font = Font{name, a.font->size};
        return;
    }
    // No such face: slant the glyphs instead, or take the slant away again.
    if (a.obliqueness.value_or(0) == 0)
        a.obliqueness = SyntheticObliqueness;
    else
        a.obliqueness.reset();
}

void VekObjText::updateItalic(TextRange range, VekTextView &)
{
    if (range.isEmpty())
        return;
    restyleRange(range, toggleItalicOfRun);
}

bool VekObjText::applyFontNameSize(const QString &family, float size)
{
    if (_contents.length() == 0)
        return false;
    const AttributedString before = _contents.text();
    restyleWholeText([&](TextAttributes &a) {
        const Font run = a.font.value_or(labelFont(12));
        const float newSize = size > 0 && std::isfinite(size) ? size : run.size;
        const auto font = family.isEmpty() ? std::optional(Font{run.name, newSize}) : fontOfFamily(family, run, newSize);
        if (font)
            a.font = *font;
    });
    return _contents.text() != before;
}

// ---- Scaling and inserting ----

void VekObjText::scaleContentsBy(float factor)
{
    if (!(factor > 0) || !std::isfinite(factor) || _contents.length() == 0)
        return;
    const AttributedString before = _contents.text();
    const AttributedString scaled = createCopyInScale(before, factor, MinScaledFontSize);
    const Size natural0 = attributedStringSize(before);
    const Size natural1 = attributedStringSize(scaled);
    const float pad = 2 * _tcPadding;
    const Size box = _bounds.size;
    float width = natural1.width + pad;
    if (natural0.width + pad > 0)
        width = std::max(width, std::ceil(box.width * (natural1.width + pad) / (natural0.width + pad)));
    float height = natural1.height;
    // A text without height (only empty lines measured as nothing) keeps the box's height rule simple.
    if (natural0.height > 0) {
        height = std::max(height, std::ceil(box.height * natural1.height / natural0.height));
        if (box.height < natural0.height)
            height += (natural0.height - box.height) * natural1.height / natural0.height;
    }
    setContents(scaled);
    setBounds(Rect(_bounds.origin, {width, height}));
}

void VekObjText::insertDateString(const QString &string)
{
    if (string.isEmpty())
        return;
    int index = 0;
    if (const auto selection = editedSelection())
        index = selection->location;
    // An insertion point at the end of the text inserts there (not at the start); the
    // characters take the attributes of the character at the point, or of the last one.
    const int length = _contents.length();
    index = std::clamp(index, 0, length);
    const TextAttributes attributes =
        length == 0 ? (_editor ? _editor->typingAttributes() : TextAttributes{})
                    : _contents.text().attributesAt(std::min(index, length - 1));
    replaceCharactersUndoably({index, 0}, AttributedString(string, attributes));
    didChange();
}

// ---- The run table ----

int VekObjText::numberOfRowsInTableView()
{
    return int(textInfo().count());
}

PropertyList VekObjText::tableViewObjectValueForTableColumnRow(const QString &column, int row)
{
    static const QStringList columns{QStringLiteral("tcTxtFName"), QStringLiteral("tcTxtFSz"),
                                     QStringLiteral("tcTxtStr")};
    const int element = int(columns.indexOf(column));
    if (element < 0 || row < 0 || row >= numberOfRowsInTableView())
        return {};
    return textInfo().at(row).at(element);
}

bool VekObjText::tableViewShouldSelectRow(int row)
{
    CanvasServices *view = vekView();
    if (!view || row < 0 || row >= numberOfRowsInTableView())
        return false;
    const PropertyList info = textInfo().at(row);
    const TextRange run{int(info.at(3).intValue()), int(info.at(2).stringValue().size())};
    if (const auto edited = view->editingObject(); edited && edited.get() != this)
        view->endEditing();
    view->selectObjectExclusively(shared_from_this());
    if (view->editingObject().get() != this)
        startEditingWithEvent(MouseEvent{}, view);
    if (view->editingObject().get() == this && _editor)
        _editor->setSelectedRange(run);
    return true;
}

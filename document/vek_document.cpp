// The document's state: settings, metadata, the common shadow and the edited state.
#include "document/vek_document.h"

#include "model/object_registry.h"
#include "model/services/canvas_services.h"
#include "model/services/panel_services.h"
#include "model/vek_group.h"
#include "model/vek_object.h"
#include "platform/foundation/archiving.h"
#include "platform/text/rtf.h"
#include "toolkit/cmyk_color.h"

#include <cmath>
#include <numbers>

namespace {

QStringList splitAtCommas(const QString &text)
{
    QStringList parts;
    for (const QString &part : text.split(QLatin1Char(',')))
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    return parts;
}

} // namespace

VekDocument::VekDocument()
{
    setShadowValuesFromDefaults();
    _undo.setReplayBracket([this] { beginChangeBatch(); }, [this] { endChangeBatch(); });
}

VekDocument::~VekDocument()
{
    // Objects and groups keep plain pointers back to the document.
    for (const auto &object : _objects)
        object->setDocument(nullptr, false);
}

void VekDocument::setShadowValuesFromDefaults()
{
    const PropertyList defaults = panelServices().defaultShadowValues();
    if (!defaults.isDictionary())
        return;
    if (defaults.contains(QStringLiteral("color"))) {
        if (auto color = unarchiveColorWithData(defaults.value(QStringLiteral("color")).dataValue()))
            _shwColor = *color.value;
    }
    if (defaults.contains(QStringLiteral("blur")))
        _shwBlur = defaults.value(QStringLiteral("blur")).floatValue();
    if (defaults.contains(QStringLiteral("angle")))
        _shwAngle = defaults.value(QStringLiteral("angle")).floatValue();
    if (defaults.contains(QStringLiteral("offset")))
        _shwOffset = defaults.value(QStringLiteral("offset")).floatValue();
}

// ---- Edited state ----

bool VekDocument::isDocumentEdited() const
{
    return _savedMarks > 0 || !_undo.isClean();
}

void VekDocument::updateChangeCount()
{
    ++_savedMarks;
}

void VekDocument::documentWasSaved()
{
    _savedMarks = 0;
    _undo.clearChangeCount();
}

void VekDocument::settingChanged(bool fromDocument)
{
    if (fromDocument || !hasWindow())
        return;
    _vekView->display();
    updateChangeCount();
}

// ---- Settings ----

void VekDocument::setMetadata(std::optional<QString> &field, const std::optional<QString> &value)
{
    if (field == value)
        return;
    field = value;
    updateChangeCount();
}

void VekDocument::setAntialiasDraw(int flag, bool fromDocument)
{
    _antialiasDraw = flag;
    settingChanged(fromDocument);
}

void VekDocument::setSmoothFonts(int flag, bool fromDocument)
{
    _smoothFonts = flag;
    settingChanged(fromDocument);
}

void VekDocument::setUseCMYK(int flag, bool fromDocument)
{
    _useCMYK = flag;
    settingChanged(fromDocument);
}

void VekDocument::setLinkTextULine(int flag, bool fromDocument)
{
    _linkTextULine = flag;
    settingChanged(fromDocument);
}

void VekDocument::setLinkTextColor(const std::optional<Color> &color, bool fromDocument)
{
    if (!color)
        return;
    _linkTextColor = *color;
    settingChanged(fromDocument);
}

void VekDocument::setBackgroundColor(const std::optional<Color> &color, bool fromDocument)
{
    _bgColor = color.value_or(Color::clearColor());
    if (!fromDocument && hasWindow())
        _vekView->display();
    updateChangeCount();
}

void VekDocument::setQLOption(int option, int dataT, int dataP, bool fromDocument)
{
    _qlOption = option;
    _qlOptDataT = dataT;
    _qlOptDataP = dataP;
    if (!fromDocument)
        updateChangeCount();
}

Color VekDocument::linkTextColor() const
{
    return useCMYK() ? cmykColor(_linkTextColor) : _linkTextColor;
}

PropertyList VekDocument::documentMetaData() const
{
    PropertyList dict = PropertyList::dictionary();
    const std::pair<const char *, const std::optional<QString> *> fields[] = {
        {"NSAuthorDocumentAttribute", &_author},
        {"NSTitleDocumentAttribute", &_title},
        {"NSSubjectDocumentAttribute", &_subject},
        {"NSCopyrightDocumentAttribute", &_copyright},
    };
    for (const auto &[key, value] : fields)
        if (*value)
            dict.insert(QLatin1String(key), PropertyList(**value));
    const QStringList words = splitAtCommas(keywords());
    if (!words.isEmpty())
        dict.insert(QStringLiteral("NSKeywordsDocumentAttribute"), PropertyList::fromStringList(words));
    return dict.count() ? dict : PropertyList();
}

PropertyList VekDocument::metadataForSpotlight() const
{
    PropertyList dict = PropertyList::dictionary();
    if (const QStringList authors = splitAtCommas(author()); !authors.isEmpty())
        dict.insert(QStringLiteral("kMDItemAuthors"), PropertyList::fromStringList(authors));
    if (_copyright)
        dict.insert(QStringLiteral("kMDItemCopyright"), PropertyList(*_copyright));
    if (_title)
        dict.insert(QStringLiteral("kMDItemTitle"), PropertyList(*_title));
    if (_subject)
        dict.insert(QStringLiteral("kMDItemFinderComment"), PropertyList(*_subject));
    if (const QStringList words = splitAtCommas(keywords()); !words.isEmpty())
        dict.insert(QStringLiteral("kMDItemKeywords"), PropertyList::fromStringList(words));
    return dict.count() ? dict : PropertyList();
}

// ---- The common shadow ----

template <typename T>
void VekDocument::changeShadowValue(T &field, T value)
{
    if (field == value)
        return;
    field = value;
    shadowValueUpdated();
}

void VekDocument::shadowValueUpdated()
{
    if (hasWindow())
        _vekView->setNeedsDisplayInRect(_vekView->bounds());
    updateChangeCount();
}

Color VekDocument::shadowColor()
{
    if (!_shwColor)
        _shwColor = defaultShadowColor();
    return *_shwColor;
}

void VekDocument::setShadowState(int state)
{
    changeShadowValue(_shwState, state);
}

void VekDocument::setShadowOffset(float offset)
{
    changeShadowValue(_shwOffset, offset);
}

void VekDocument::setShadowAngle(float angle)
{
    changeShadowValue(_shwAngle, angle);
}

void VekDocument::setShadowBlur(float blur)
{
    changeShadowValue(_shwBlur, blur);
}

void VekDocument::setShadowColor(const Color &color)
{
    const Color rgb = rgbColor(color);
    if (_shwColor == rgb)
        return;
    _shwColor = rgb;
    shadowValueUpdated();
}

void VekDocument::setShadowAlpha(float alpha)
{
    const Color current = shadowColor();
    if (current.alphaComponent() == alpha)
        return;
    _shwColor = current.colorWithAlphaComponent(alpha);
    shadowValueUpdated();
}

void VekDocument::setShadowValues(const PropertyList &values)
{
    std::optional<Color> color;
    if (auto archived = unarchiveColorWithData(values.value(QStringLiteral("color")).dataValue()))
        color = *archived.value;
    _shwColor = color.value_or(defaultShadowColor());
    _shwOffset = values.value(QStringLiteral("offset")).floatValue();
    _shwAngle = values.value(QStringLiteral("angle")).floatValue();
    _shwBlur = values.value(QStringLiteral("blur")).floatValue();
    shadowValueUpdated();
}

PropertyList VekDocument::documentShadowValues() const
{
    PropertyList dict = PropertyList::dictionary();
    dict.insert(QStringLiteral("angle"), PropertyList::fromFloat(_shwAngle));
    dict.insert(QStringLiteral("blur"), PropertyList::fromFloat(_shwBlur));
    dict.insert(QStringLiteral("offset"), PropertyList::fromFloat(_shwOffset));
    const Color color = _shwColor.value_or(defaultShadowColor());
    if (auto data = archivedDataWithRootObject(color))
        dict.insert(QStringLiteral("color"), PropertyList::fromData(*data.value));
    return dict;
}

Size VekDocument::shadowOffsetSize() const
{
    return shadowOffsetFor(0);
}

Size VekDocument::shadowOffsetFor(float side) const
{
    double a = double(_shwAngle) - 90.0;
    if (a < 0)
        a += 360.0;
    const double t = -a * std::numbers::pi / 180.0;
    const double offset = side > 30.0f ? double(_shwOffset) * side / 30.0 : double(_shwOffset);
    return {float(offset * std::cos(t)), float(offset * std::sin(t))};
}

// ---- Header and footer settings ----

namespace {

// A default cell: the variable in the small system font, dark grey, as flat RTFD data.
PropertyList defaultCell(const QString &text)
{
    TextAttributes attributes;
    attributes.font = Font{QStringLiteral("Helvetica"), 10};
    attributes.foregroundColor = Color::darkGrayColor();
    const AttributedString cell(text, attributes);
    return PropertyList::fromData(RTFDFromRange(cell, {0, cell.length()}));
}

} // namespace

const PropertyList &VekDocument::borderinfo()
{
    if (!_borderinfo.isDictionary()) {
        PropertyList info = PropertyList::dictionary();
        info.insert(QStringLiteral("frmDate"), PropertyList(QStringLiteral("%A, %B %e, %Y")));
        info.insert(QStringLiteral("pad"), PropertyList::fromFloat(6.0f));
        info.insert(QStringLiteral("exFirst"), PropertyList::fromInt(0));
        info.insert(QStringLiteral("exLast"), PropertyList::fromInt(0));
        info.insert(QStringLiteral("hdLt"), defaultCell(QStringLiteral("#VTITLE")));
        info.insert(QStringLiteral("hdRt"), defaultCell(QStringLiteral("#VDATE")));
        info.insert(QStringLiteral("ftMd"), defaultCell(QStringLiteral("- #VPAGE -")));
        _borderinfo = info;
    }
    return _borderinfo;
}

void VekDocument::updateBorderInfoForKey(const PropertyList &value, const QString &key)
{
    if (!_borderinfo.isDictionary() && value.isAbsent())
        return;
    if (!_borderinfo.isDictionary())
        _borderinfo = PropertyList::dictionary();
    if (value.isAbsent())
        _borderinfo.remove(key);
    else
        _borderinfo.insert(key, value);
    updateChangeCount();
}

void VekDocument::setAddBorder(int flag)
{
    if (flag == _addBorder)
        return;
    _addBorder = flag;
    updateChangeCount();
}

// ---- Recent colours, fonts and sizes of the toolbar ----

void VekDocument::updateMyColorWith(const Color &color)
{
    if (_recentEntries)
        _recentEntries->updateMyColorWith(color);
}

void VekDocument::updateMyFontWith(const QString &fontName)
{
    if (_recentEntries)
        _recentEntries->updateMyFontWith(fontName);
}

void VekDocument::updateMySizeWith(float size)
{
    if (_recentEntries)
        _recentEntries->updateMySizeWith(size);
}

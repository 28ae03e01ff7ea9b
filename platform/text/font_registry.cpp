// Font lookup through fontconfig, with a table for the core PostScript fonts.
#include "platform/text/font_registry.h"

#include "platform/graphics/path_conversion.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QMutex>
#include <QPainterPath>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The core PostScript fonts and their metric-compatible free substitutes.
struct CoreFont {
    const char *name;
    const char *family;
    bool bold;
    bool italic;
    const char *substitute;
};
const CoreFont coreFonts[] = {
    {"Helvetica", "Helvetica", false, false, "NimbusSans-Regular"},
    {"Helvetica-Bold", "Helvetica", true, false, "NimbusSans-Bold"},
    {"Helvetica-Oblique", "Helvetica", false, true, "NimbusSans-Italic"},
    {"Helvetica-BoldOblique", "Helvetica", true, true, "NimbusSans-BoldItalic"},
    {"Helvetica-Narrow", "Helvetica Narrow", false, false, "NimbusSansNarrow-Regular"},
    {"Helvetica-Narrow-Bold", "Helvetica Narrow", true, false, "NimbusSansNarrow-Bold"},
    {"Helvetica-Narrow-Oblique", "Helvetica Narrow", false, true, "NimbusSansNarrow-Oblique"},
    {"Helvetica-Narrow-BoldOblique", "Helvetica Narrow", true, true, "NimbusSansNarrow-BoldOblique"},
    {"Times-Roman", "Times", false, false, "NimbusRoman-Regular"},
    {"Times-Bold", "Times", true, false, "NimbusRoman-Bold"},
    {"Times-Italic", "Times", false, true, "NimbusRoman-Italic"},
    {"Times-BoldItalic", "Times", true, true, "NimbusRoman-BoldItalic"},
    {"Courier", "Courier", false, false, "NimbusMonoPS-Regular"},
    {"Courier-Bold", "Courier", true, false, "NimbusMonoPS-Bold"},
    {"Courier-Oblique", "Courier", false, true, "NimbusMonoPS-Italic"},
    {"Courier-BoldOblique", "Courier", true, true, "NimbusMonoPS-BoldItalic"},
    {"Palatino-Roman", "Palatino", false, false, "P052-Roman"},
    {"Palatino-Bold", "Palatino", true, false, "P052-Bold"},
    {"Palatino-Italic", "Palatino", false, true, "P052-Italic"},
    {"Palatino-BoldItalic", "Palatino", true, true, "P052-BoldItalic"},
    {"NewCenturySchlbk-Roman", "New Century Schoolbook", false, false, "C059-Roman"},
    {"NewCenturySchlbk-Bold", "New Century Schoolbook", true, false, "C059-Bold"},
    {"NewCenturySchlbk-Italic", "New Century Schoolbook", false, true, "C059-Italic"},
    {"NewCenturySchlbk-BoldItalic", "New Century Schoolbook", true, true, "C059-BdIta"},
    {"Bookman-Light", "Bookman", false, false, "URWBookman-Light"},
    {"Bookman-Demi", "Bookman", true, false, "URWBookman-Demi"},
    {"Bookman-LightItalic", "Bookman", false, true, "URWBookman-LightItalic"},
    {"Bookman-DemiItalic", "Bookman", true, true, "URWBookman-DemiItalic"},
    {"AvantGarde-Book", "Avant Garde", false, false, "URWGothic-Book"},
    {"AvantGarde-Demi", "Avant Garde", true, false, "URWGothic-Demi"},
    {"AvantGarde-BookOblique", "Avant Garde", false, true, "URWGothic-BookOblique"},
    {"AvantGarde-DemiOblique", "Avant Garde", true, true, "URWGothic-DemiOblique"},
    {"Symbol", "Symbol", false, false, "StandardSymbolsPS"},
    {"ZapfDingbats", "Zapf Dingbats", false, false, "D050000L"},
    {"ZapfChancery-MediumItalic", "Zapf Chancery", false, true, "Z003-MediumItalic"},
};

const CoreFont *coreFont(const QString &name)
{
    for (const auto &c : coreFonts)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString fcString(FcPattern *p, const char *object)
{
    FcChar8 *s = nullptr;
    return FcPatternGetString(p, object, 0, &s) == FcResultMatch ? QString::fromUtf8(reinterpret_cast<char *>(s))
                                                                 : QString();
}

int fcInt(FcPattern *p, const char *object, int fallback)
{
    int v = fallback;
    FcPatternGetInteger(p, object, 0, &v);
    return v;
}

// fontconfig's weight (0 thin to 210 extra black) on the platform's scale of 0 to 15,
// where 5 is regular and 9 bold.
int platformWeight(int fcWeight)
{
    static const std::pair<int, int> steps[] = {
        {FC_WEIGHT_THIN, 1},     {FC_WEIGHT_EXTRALIGHT, 2}, {FC_WEIGHT_LIGHT, 3}, {FC_WEIGHT_BOOK, 4},
        {FC_WEIGHT_REGULAR, 5},  {FC_WEIGHT_MEDIUM, 6},     {FC_WEIGHT_DEMIBOLD, 8}, {FC_WEIGHT_BOLD, 9},
        {FC_WEIGHT_EXTRABOLD, 10}, {FC_WEIGHT_BLACK, 11},   {FC_WEIGHT_EXTRABLACK, 12},
    };
    int weight = 0;
    for (const auto &[fc, platform] : steps) {
        if (fcWeight >= fc)
            weight = platform;
    }
    return weight;
}

FontFace faceFromPattern(FcPattern *p)
{
    FontFace f;
    f.postScriptName = fcString(p, FC_POSTSCRIPT_NAME);
    f.family = fcString(p, FC_FAMILY);
    f.style = fcString(p, FC_STYLE);
    f.foundry = fcString(p, FC_FOUNDRY);
    f.file = fcString(p, FC_FILE);
    f.index = fcInt(p, FC_INDEX, 0);
    f.bold = fcInt(p, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
    f.italic = fcInt(p, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
    f.weight = platformWeight(fcInt(p, FC_WEIGHT, FC_WEIGHT_REGULAR));
    return f;
}

// Faces matching pattern, outline formats that Qt draws best (OpenType, TrueType) first.
QList<FontFace> listFaces(FcPattern *pattern)
{
    FcObjectSet *os = FcObjectSetBuild(FC_POSTSCRIPT_NAME, FC_FAMILY, FC_STYLE, FC_FOUNDRY, FC_FILE, FC_INDEX,
                                       FC_WEIGHT, FC_SLANT, nullptr);
    FcFontSet *set = FcFontList(nullptr, pattern, os);
    QList<FontFace> faces;
    for (int i = 0; set && i < set->nfont; ++i) {
        FontFace f = faceFromPattern(set->fonts[i]);
        if (f.file.endsWith(QLatin1String(".t1")) || f.file.endsWith(QLatin1String(".pfb")))
            faces.append(f);
        else
            faces.prepend(f);
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    return faces;
}

std::optional<FontFace> installedFace(const QString &postScriptName)
{
    FcPattern *p = FcPatternCreate();
    QByteArray utf8 = postScriptName.toUtf8();
    FcPatternAddString(p, FC_POSTSCRIPT_NAME, reinterpret_cast<const FcChar8 *>(utf8.constData()));
    QList<FontFace> faces = listFaces(p);
    FcPatternDestroy(p);
    if (faces.isEmpty())
        return std::nullopt;
    return faces.first();
}

// The face fontconfig chooses for a family with the traits (its substitutions apply).
FontFace facePlacedFor(const QString &family, bool bold, bool italic)
{
    FcPattern *p = FcPatternCreate();
    QByteArray fam = family.toUtf8();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8 *>(fam.constData()));
    if (bold)
        FcPatternAddInteger(p, FC_WEIGHT, FC_WEIGHT_BOLD);
    if (italic)
        FcPatternAddInteger(p, FC_SLANT, FC_SLANT_ITALIC);
    FcConfigSubstitute(nullptr, p, FcMatchPattern);
    FcDefaultSubstitute(p);
    FcResult result;
    FcPattern *match = FcFontMatch(nullptr, p, &result);
    FcPatternDestroy(p);
    FontFace f;
    if (match) {
        f = faceFromPattern(match);
        FcPatternDestroy(match);
    }
    return f;
}

// fontconfig's best match for a name that is not installed: the part before the first
// "-" as the family, the rest as the style.
FontFace matchedFace(const QString &name)
{
    const QString style = name.section(u'-', 1);
    const bool bold = style.contains(QLatin1String("Bold"), Qt::CaseInsensitive);
    const bool italic = style.contains(QLatin1String("Italic"), Qt::CaseInsensitive)
                        || style.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
    FontFace f = facePlacedFor(name.section(u'-', 0, 0), bold, italic);
    f.substituted = true;
    return f;
}

// A height from the OS/2 table (sCapHeight at 88, sxHeight at 86, from version 2 on),
// else the outline height of a sample glyph; unrounded, unlike QRawFont's own answers.
float designHeight(const QRawFont &raw, int offset, char16_t sample)
{
    QByteArray os2 = raw.fontTable("OS/2");
    auto u16 = [&](int at) { return (uchar(os2[at]) << 8) | uchar(os2[at + 1]); };
    if (os2.size() >= offset + 2 && u16(0) >= 2 && raw.unitsPerEm() > 0) {
        int value = int16_t(u16(offset));
        if (value > 0)
            return float(value * raw.pixelSize() / raw.unitsPerEm());
    }
    QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(sample)));
    if (glyphs.isEmpty())
        return 0;
    return float(raw.pathForGlyph(glyphs.first()).boundingRect().height());
}

struct Registry {
    QMutex mutex;
    QHash<QString, FontFace> faces;
    QHash<QString, bool> exists;
};

Registry &registry()
{
    static Registry r;
    return r;
}

} // namespace

FontFace fontFace(const QString &postScriptName)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    auto it = r.faces.constFind(postScriptName);
    if (it != r.faces.constEnd())
        return *it;
    FontFace face;
    if (auto installed = installedFace(postScriptName)) {
        face = *installed;
    } else if (const CoreFont *core = coreFont(postScriptName); core && installedFace(core->substitute)) {
        face = *installedFace(core->substitute);
        face.substituted = true;
    } else {
        face = matchedFace(postScriptName);
    }
    r.faces.insert(postScriptName, face);
    return face;
}

bool fontExists(const QString &postScriptName)
{
    if (postScriptName.isEmpty())
        return false;
    FontFace face = fontFace(postScriptName);
    return !face.substituted || coreFont(postScriptName);
}

std::optional<Font> fontWithName(const QString &postScriptName, float size)
{
    if (!fontExists(postScriptName))
        return std::nullopt;
    return Font{postScriptName, size};
}

Font labelFont(float size)
{
    return Font{QStringLiteral("Helvetica"), size};
}

std::optional<FontTraits> fontTraits(const QString &postScriptName)
{
    if (const CoreFont *core = coreFont(postScriptName))
        return FontTraits{core->bold, core->italic};
    FontFace face = fontFace(postScriptName);
    if (face.substituted)
        return std::nullopt;
    return FontTraits{face.bold, face.italic};
}

QString fontFamilyName(const QString &postScriptName)
{
    if (const CoreFont *core = coreFont(postScriptName))
        return QLatin1String(core->family);
    FontFace face = fontFace(postScriptName);
    return face.substituted ? postScriptName.section(u'-', 0, 0) : face.family;
}

QString fontNameWithTraits(const QString &nameOrFamily, bool bold, bool italic)
{
    // A core family or a core name: stay within the core table.
    QString coreFamily;
    if (const CoreFont *core = coreFont(nameOrFamily))
        coreFamily = QLatin1String(core->family);
    for (const auto &c : coreFonts)
        if (nameOrFamily == QLatin1String(c.family))
            coreFamily = nameOrFamily;
    if (!coreFamily.isEmpty()) {
        for (const auto &c : coreFonts)
            if (coreFamily == QLatin1String(c.family) && c.bold == bold && c.italic == italic)
                return QLatin1String(c.name);
        return nameOrFamily;
    }
    QString family = nameOrFamily;
    if (auto face = installedFace(nameOrFamily)) {
        if (face->bold == bold && face->italic == italic)
            return nameOrFamily;
        family = face->family;
    }
    FcPattern *p = FcPatternCreate();
    QByteArray fam = family.toUtf8();
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8 *>(fam.constData()));
    QList<FontFace> faces = listFaces(p);
    FcPatternDestroy(p);
    // Prefer the plainest face with the traits (no "Condensed", "Light" and the like).
    const FontFace *best = nullptr;
    for (const auto &f : faces) {
        if (f.bold != bold || f.italic != italic || f.postScriptName.isEmpty())
            continue;
        if (!best || f.postScriptName.size() < best->postScriptName.size())
            best = &f;
    }
    if (best)
        return best->postScriptName;
    if (faces.isEmpty()) {
        // A family that is not installed: the face with the traits of the family fontconfig
        // puts in its place (a metric-compatible one such as Nimbus Roman for Times New
        // Roman), unless that is only its fallback for any unknown name.
        const FontFace stand = facePlacedFor(family, bold, italic);
        const FontFace fallback = facePlacedFor(QStringLiteral("vekanto-unknown-family"), bold, italic);
        if (stand.bold == bold && stand.italic == italic && !stand.postScriptName.isEmpty()
            && stand.family != fallback.family)
            return stand.postScriptName;
    }
    return nameOrFamily;
}

namespace {

// Per thread, like the raw fonts they come from; dropped all at once when many fonts and
// sizes have filled them.
template <class Value>
struct PerFontCache {
    QHash<QPair<QString, float>, Value> values;
    template <class Make>
    const Value &get(const Font &font, Make make)
    {
        const QPair<QString, float> key{font.name, font.size};
        if (auto it = values.constFind(key); it != values.constEnd())
            return *it;
        if (values.size() > 500)
            values.clear();
        return *values.insert(key, make());
    }
};

FontMetrics measuredMetrics(const Font &font)
{
    QRawFont raw = rawFont(font);
    FontMetrics m;
    if (!raw.isValid())
        return m;
    m.ascender = float(raw.ascent());
    m.descender = -float(raw.descent());
    m.leading = float(raw.leading());
    m.capHeight = designHeight(raw, 88, u'H');
    m.xHeight = designHeight(raw, 86, u'x');
    m.underlinePosition = -float(raw.underlinePosition());
    m.underlineThickness = float(raw.lineThickness());
    FontFace face = fontFace(font.name);
    if (face.italic)
        m.italicAngle = -12;
    return m;
}

QRawFont loadedRawFont(const Font &font)
{
    FontFace face = fontFace(font.name);
    static thread_local QHash<QString, QByteArray> fileData;
    QRawFont raw;
    if (!face.file.isEmpty()) {
        auto it = fileData.find(face.file);
        if (it == fileData.end()) {
            QFile file(face.file);
            it = fileData.insert(face.file, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
        }
        raw.loadFromData(*it, font.size > 0 ? font.size : 12, QFont::PreferNoHinting);
    }
    if (!raw.isValid())
        raw = QRawFont::fromFont(qFont(font));
    return raw;
}

} // namespace

FontMetrics fontMetrics(const Font &font)
{
    static thread_local PerFontCache<FontMetrics> metrics;
    return metrics.get(font, [&] { return measuredMetrics(font); });
}

QFont qFont(const Font &font)
{
    FontFace face = fontFace(font.name);
    // A family whose faces come from several foundries (the URW fonts: OpenType files of one
    // foundry, Type 1 files of another, the italics of a third) is one family per foundry to
    // Qt, which takes the first of them for the bare name, and without the style asked for
    // draws another face. The foundry names the one that holds the face fontconfig chose.
    QFont f(face.foundry.isEmpty() ? face.family : face.family + QStringLiteral(" [") + face.foundry + u']');
    if (!face.style.isEmpty())
        f.setStyleName(face.style);
    f.setPointSizeF(font.size > 0 ? font.size : 12);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferOutline | QFont::ForceOutline));
    f.setKerning(true);
    return f;
}

QRawFont rawFont(const Font &font)
{
    // Loading a face from its data sets up a new font engine (fontconfig and FreeType) each
    // time; a QRawFont belongs to the thread that made it, so each thread keeps its own.
    static thread_local PerFontCache<QRawFont> fonts;
    return fonts.get(font, [&] { return loadedRawFont(font); });
}

QPaintDevice *layoutPaintDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(2835);   // 72 dpi
        image.setDotsPerMeterY(2835);
        return image;
    }();
    return &device;
}

QStringList availableFontFamilies()
{
    FcPattern *pattern = FcPatternCreate();
    QStringList families;
    for (const FontFace &face : listFaces(pattern)) {
        if (!face.family.isEmpty() && !families.contains(face.family, Qt::CaseInsensitive))
            families.append(face.family);
    }
    FcPatternDestroy(pattern);
    std::sort(families.begin(), families.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return families;
}

QList<FontFace> fontFacesOfFamily(const QString &family)
{
    if (family.isEmpty())
        return {};
    FcPattern *pattern = FcPatternCreate();
    const QByteArray utf8 = family.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(utf8.constData()));
    QList<FontFace> faces;
    // The list already puts the outline formats Qt draws best first, so the first face of
    // each name is the one kept.
    for (const FontFace &face : listFaces(pattern)) {
        if (face.postScriptName.isEmpty())
            continue;
        const bool known = std::any_of(faces.begin(), faces.end(),
                                       [&](const FontFace &f) { return f.postScriptName == face.postScriptName; });
        if (!known)
            faces.append(face);
    }
    FcPatternDestroy(pattern);
    std::stable_sort(faces.begin(), faces.end(), [](const FontFace &a, const FontFace &b) {
        return a.weight != b.weight ? a.weight < b.weight : (!a.italic && b.italic);
    });
    return faces;
}

BezierPath glyphOutline(const Font &font, quint32 glyph, Point origin)
{
    QPainterPath outline = rawFont(font).pathForGlyph(glyph);
    outline.translate(origin.x, origin.y);
    return fromQPainterPath(outline);
}

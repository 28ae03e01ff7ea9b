// Print settings: defaults, the built-in papers, the settings dictionary and its archive.
#include "document/print_info.h"

#include "platform/foundation/archive_coder_registry.h"
#include "platform/foundation/archive_foundation_coders.h"
#include "platform/foundation/archiver.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/typedstream_format.h"
#include "platform/foundation/unarchiver.h"

#include <cmath>
#include <mutex>

namespace {

const QString PaperNameKey = QStringLiteral("NSPaperName");
const QString PaperSizeKey = QStringLiteral("NSPaperSize");
const QString OrientationKey = QStringLiteral("NSOrientation");
const QString LeftMarginKey = QStringLiteral("NSLeftMargin");
const QString RightMarginKey = QStringLiteral("NSRightMargin");
const QString TopMarginKey = QStringLiteral("NSTopMargin");
const QString BottomMarginKey = QStringLiteral("NSBottomMargin");
const QString ScalingKey = QStringLiteral("NSPrintScalingFactor");
const QString HorizontallyCenteredKey = QStringLiteral("NSHorizontallyCentered");
const QString VerticallyCenteredKey = QStringLiteral("NSVerticallyCentered");
// The platform's key is spelt so.
const QString VerticalPaginationKey = QStringLiteral("NSVerticalPagination");

constexpr float MaxPaperSide = 20000.0f;   // points; beyond this a file is damaged
constexpr int PrintInfoVersion = 1;

// The number when it is finite and within [min, max].
std::optional<float> numberIn(const PropertyList &value, float min, float max)
{
    if (!value.isNumber() && !value.isString())
        return std::nullopt;
    const float v = value.floatValue();
    return std::isfinite(v) && v >= min && v <= max ? std::optional<float>(v) : std::nullopt;
}

bool decodePrintInfo(Unarchiver &in, const ArchivedClass &archivedClass, std::any &object)
{
    std::any settings;
    if (!in.decodeObject(settings))
        return false;
    object = PrintInfo::fromDictionary(propertyListFromArchivedObject(settings).value_or(PropertyList()));
    return true;
}

bool encodePrintInfo(Archiver &out, const PrintInfo &info)
{
    out.beginObject({{"NSPrintInfo", PrintInfoVersion}, {"NSObject", 0}});
    out.encodeObject(info.dictionary());
    return true;
}

// The shared registry learns the coder before the first print settings are archived.
void ensureCoders()
{
    static std::once_flag registered;
    std::call_once(registered, [] { registerPrintInfoCoders(ArchiveCoderRegistry::shared()); });
}

} // namespace

namespace {

// Millimetres to points, kept to two decimals as printing systems give paper sizes.
Size millimetres(float width, float height)
{
    const auto points = [](float mm) { return std::round(mm * 72.0f / 25.4f * 100.0f) / 100.0f; };
    return {points(width), points(height)};
}

} // namespace

const std::vector<Paper> &builtInPapers()
{
    static const std::vector<Paper> papers = [] {
        std::vector<Paper> list = {
            {QStringLiteral("Executive"), QStringLiteral("USExecutiveEnvelope"), {522, 756}},
            {QStringLiteral("na-letter"), QStringLiteral("USLetter"), {612, 792}},
            {QStringLiteral("na-legal"), QStringLiteral("USLegal"), {612, 1008}},
        };
        const auto series = [&list](const char *prefix, const char *shown, int first,
                                    std::initializer_list<std::pair<float, float>> sizes) {
            int number = first;
            for (const auto &[w, h] : sizes) {
                list.push_back({QLatin1String(prefix) + QString::number(number),
                                QLatin1String(shown) + QString::number(number), millimetres(w, h)});
                ++number;
            }
        };
        series("iso-a", "A", 0, {{841, 1189}, {594, 841}, {420, 594}, {297, 420}, {210, 297}, {148, 210},
                                 {105, 148}, {74, 105}, {52, 74}});
        series("iso-b", "B", 0, {{1000, 1414}, {707, 1000}, {500, 707}, {353, 500}, {250, 353}, {176, 250},
                                 {125, 176}, {88, 125}, {62, 88}});
        series("jis-b", "JISB", 0, {{1030, 1456}, {728, 1030}, {515, 728}, {364, 515}, {257, 364}, {182, 257}});
        series("jis-b", "JISB", 7, {{91, 128}, {64, 91}, {45, 64}, {32, 45}});
        return list;
    }();
    return papers;
}

const Paper *builtInPaper(const QString &name)
{
    for (const Paper &paper : builtInPapers())
        if (paper.name == name)
            return &paper;
    return nullptr;
}

PrintInfo PrintInfo::defaults()
{
    PrintInfo info;
    const Paper &a4 = *builtInPaper(QStringLiteral("iso-a4"));
    info.paperName = a4.name;
    info.paperSize = a4.size;
    return info;
}

Size PrintInfo::orientedPaperSize() const
{
    if (orientation == Orientation::Landscape && paperSize.width < paperSize.height)
        return {paperSize.height, paperSize.width};
    return paperSize;
}

PropertyList PrintInfo::dictionary() const
{
    PropertyList d = PropertyList::dictionary();
    if (!paperName.isEmpty())
        d.insert(PaperNameKey, PropertyList(paperName));
    d.insert(PaperSizeKey, PropertyList::fromSize(paperSize));
    d.insert(OrientationKey, PropertyList::fromInt(int(orientation)));
    d.insert(LeftMarginKey, PropertyList::fromFloat(leftMargin));
    d.insert(RightMarginKey, PropertyList::fromFloat(rightMargin));
    d.insert(TopMarginKey, PropertyList::fromFloat(topMargin));
    d.insert(BottomMarginKey, PropertyList::fromFloat(bottomMargin));
    d.insert(ScalingKey, PropertyList::fromFloat(scalingFactor));
    d.insert(HorizontallyCenteredKey, PropertyList::fromBool(horizontallyCentered));
    d.insert(VerticallyCenteredKey, PropertyList::fromBool(verticallyCentered));
    d.insert(VerticalPaginationKey, PropertyList::fromInt(verticalPagination));
    return d;
}

PrintInfo PrintInfo::fromDictionary(const PropertyList &d)
{
    PrintInfo info = defaults();
    if (!d.isDictionary())
        return info;
    const PropertyList name = d.value(PaperNameKey);
    info.paperName = name.isString() ? name.stringValue() : QString();
    const Size size = d.value(PaperSizeKey).sizeValue();
    if (std::isfinite(size.width) && std::isfinite(size.height) && size.width >= 1 && size.height >= 1
        && size.width <= MaxPaperSide && size.height <= MaxPaperSide)
        info.paperSize = size;
    else if (!d.contains(PaperNameKey))
        info.paperName = defaults().paperName;
    info.orientation = d.value(OrientationKey).intValue() == 1 ? Orientation::Landscape : Orientation::Portrait;
    const std::pair<const QString *, float *> margins[] = {{&LeftMarginKey, &info.leftMargin},
                                                           {&RightMarginKey, &info.rightMargin},
                                                           {&TopMarginKey, &info.topMargin},
                                                           {&BottomMarginKey, &info.bottomMargin}};
    for (const auto &[key, field] : margins)
        if (auto v = numberIn(d.value(*key), 0, MaxPaperSide))
            *field = *v;
    if (auto scale = numberIn(d.value(ScalingKey), 0.01f, 100.0f))
        info.scalingFactor = *scale;
    info.horizontallyCentered = d.value(HorizontallyCenteredKey).boolValue();
    info.verticallyCentered = d.value(VerticallyCenteredKey).boolValue();
    info.verticalPagination = d.value(VerticalPaginationKey).intValue();
    return info;
}

void registerPrintInfoCoders(ArchiveCoderRegistry &registry)
{
    registry.registerDecoder("NSPrintInfo", decodePrintInfo);
    registry.registerEncoder<PrintInfo>(encodePrintInfo);
}

QByteArray archivedPrintInfo(const PrintInfo &info)
{
    ensureCoders();
    const auto data = archivedDataWithRootObject(std::any(info));
    return data ? *data.value : QByteArray();
}

std::optional<PrintInfo> unarchivePrintInfo(const QByteArray &data)
{
    ensureCoders();
    const auto root = unarchiveObjectWithData(data);
    if (!root)
        return std::nullopt;
    const auto *info = std::any_cast<PrintInfo>(&*root.value);
    return info ? std::optional<PrintInfo>(*info) : std::nullopt;
}

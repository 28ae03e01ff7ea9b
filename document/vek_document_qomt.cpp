// Import of the predecessor program's documents ("qomt" files): background, print
// settings, pages of objects and the window frame, from the dictionary the file holds.
//
// The file is foreign input: every value is checked for its kind before use, and an entry
// that does not have the expected shape is passed over.
#include "document/vek_document.h"

#include "model/qomt_properties.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/foundation/plist_xml_format.h"
#include "platform/geometry/affine_transform.h"
#include "platform/image/image_file.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/rtf.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

// Old text files hold numbers as strings; XML files as numbers.
bool isNumeric(const PropertyList &value)
{
    if (value.isNumber())
        return true;
    bool ok = false;
    return value.isString() && (value.stringValue().trimmed().toDouble(&ok), ok);
}

float numberOr(const PropertyList &dict, const QString &key, float fallback)
{
    const PropertyList v = dict.value(key);
    return isNumeric(v) ? v.floatValue() : fallback;
}

// Object info may come as a dictionary or as property-list data holding one.
PropertyList objectInfoDictionary(const PropertyList &value)
{
    if (value.isDictionary())
        return value;
    if (!value.isData())
        return {};
    const QByteArray data = value.dataValue();
    const PropertyList parsed = data.startsWith('{') ? propertyListFromText(data) : propertyListFromXml(data);
    return parsed.isDictionary() ? parsed : PropertyList();
}

} // namespace

void VekDocument::readinQomtContents(const PropertyList &contents)
{
    if (contents.value(QStringLiteral("QMBGInfo")).isDictionary())
        setQoMtBGInfo(contents.value(QStringLiteral("QMBGInfo")));
    if (contents.value(QStringLiteral("printInfo")).isDictionary())
        setQoMtPrintInfo(contents.value(QStringLiteral("printInfo")));
    const PropertyList objects = objectInfoDictionary(contents.value(QStringLiteral("QMObjectInfo")));
    if (objects.isDictionary())
        setQoMtObjInfo(objects);
    // The old window frame ("{{x, y}, {w, h}}", y up) becomes the window's frame.
    const PropertyList frame = contents.value(QStringLiteral("QMWindowInfo"));
    if (frame.isString()) {
        const Rect r = rectFromString(frame.stringValue());
        if (r.size.width > 20 && r.size.height > 20)
            _lastWinFrame = QStringLiteral("%1 %2 %3 %4")
                                .arg(int(r.origin.x))
                                .arg(int(r.origin.y))
                                .arg(int(r.size.width))
                                .arg(int(r.size.height));
    }
}

void VekDocument::setQoMtBGInfo(const PropertyList &info)
{
    const QString fileName = info.value(QStringLiteral("bgFileName")).isString()
                                 ? info.value(QStringLiteral("bgFileName")).stringValue()
                                 : QString();
    const QByteArray fileData = info.value(QStringLiteral("bgFileData")).dataValue();
    const bool fileExists = !fileName.isEmpty() && QFileInfo::exists(fileName);
    if (!fileName.isEmpty() && QFileInfo(fileName).suffix().toLower() == QLatin1String("pdf")) {
        QByteArray data = fileData;
        if (data.isEmpty() && fileExists) {
            QFile file(fileName);
            if (file.open(QIODevice::ReadOnly))
                data = file.readAll();
        }
        if (!data.isEmpty())
            if (std::shared_ptr<PdfDocument> pdf = PdfDocument::openData(data))
                setBackgroundPDF(pdf, data, fileData.isEmpty() ? fileName : QString());
    } else {
        Image image = fileData.isEmpty() ? Image() : readImageData(fileData);
        QByteArray data = fileData;
        if (!image.isValid() && fileExists) {
            QFile file(fileName);
            if (file.open(QIODevice::ReadOnly)) {
                data = file.readAll();
                image = readImageData(data);
            }
        }
        if (image.isValid())
            setBackgroundImage(image, data, Size{});
    }

    const float viewW = numberOr(info, QStringLiteral("viewW"), 0);
    const float viewH = numberOr(info, QStringLiteral("viewH"), 0);
    if (viewW > 20 || viewH > 20)
        setDrawAreaSizePerPage({viewW, viewH});

    const PropertyList bgColor = info.value(QStringLiteral("bgColor"));
    if (bgColor.isData()) {
        ArchiveResult<Color> color = unarchiveColorWithData(bgColor.dataValue());
        if (color)
            setBackgroundColor(*color.value, true);
    }

    const PropertyList shadow = info.value(QStringLiteral("optShadow"));
    if (isNumeric(shadow)) {
        setShadowState(shadow.intValue());
        if (shadow.intValue() == 1) {
            setShadowOffset(numberOr(info, QStringLiteral("shadowH"), 5));
            // The old angle counted from straight up.
            float angle = numberOr(info, QStringLiteral("shadowA"), 90) - 90;
            if (angle < 0)
                angle += 360;
            setShadowAngle(angle);
            setShadowBlur(numberOr(info, QStringLiteral("shadowR"), 1));
            setShadowColor(Color::colorWithCalibratedRed(1.0f / 3, 1.0f / 3, 1.0f / 3,
                                                         numberOr(info, QStringLiteral("shadowK"), 1)));
        }
    }
}

void VekDocument::setQoMtPrintInfo(const PropertyList &info)
{
    _resolution = 72;
    if (info.value(QStringLiteral("title")).isString())
        _title = info.value(QStringLiteral("title")).stringValue();
    if (info.value(QStringLiteral("author")).isString())
        _author = info.value(QStringLiteral("author")).stringValue();
    PrintInfo settings = printInfo();
    settings.topMargin = numberOr(info, QStringLiteral("piMarT"), settings.topMargin);
    settings.bottomMargin = numberOr(info, QStringLiteral("piMarB"), settings.bottomMargin);
    settings.leftMargin = numberOr(info, QStringLiteral("piMarL"), settings.leftMargin);
    settings.rightMargin = numberOr(info, QStringLiteral("piMarR"), settings.rightMargin);
    settings.horizontallyCentered = info.value(QStringLiteral("piPosHC")).boolValue();
    settings.verticallyCentered = info.value(QStringLiteral("piPosVC")).boolValue();
    _printInfo = settings;
    // Below 72 a document would be shown magnified many times (1 dpi: 72 times): such a
    // value is taken as the 72 of a plain document.
    const float resolution = numberOr(info, QStringLiteral("piRes"), 0);
    if (resolution > 72 && resolution < 100000)
        _resolution = int(resolution);
}

void VekDocument::setQoMtObjInfo(const PropertyList &info)
{
    const float pageHeight = drawAreaSizePerPage().height;
    const PropertyList numPages = info.value(QStringLiteral("numPages"));
    if (isNumeric(numPages) && numPages.intValue() > 0 && info.count() > 0) {
        // A page count beyond any real document is taken as damage.
        const int pages = std::min(numPages.intValue(), 10000);
        if (pages > _numPages)
            _numPages = pages;
        for (const QString &key : info.keys()) {
            if (key == QLatin1String("numPages"))
                continue;
            const int page = key.toInt();
            if (page >= 1 && page <= _numPages)
                addQomtObjects(info.value(key), page, pageHeight);
        }
    } else {
        addQomtObjects(info, 1, pageHeight);
    }
}

void VekDocument::addQomtObjects(const PropertyList &entries, int page, float pageHeight)
{
    if (!entries.isDictionary() || entries.count() == 0)
        return;
    QStringList keys = entries.keys();
    std::sort(keys.begin(), keys.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    for (const QString &key : keys) {
        const PropertyList entry = entries.value(key);
        if (!entry.isArray() || entry.count() != 4 || !entry.at(1).isString())
            continue;
        const Rect r = rectFromString(entry.at(1).stringValue());
        float y = pageHeight - r.origin.y - r.size.height;
        if (page > 1)
            y += float(page - 1) * pageHeight;
        const Rect bounds(r.origin.x, y, r.size.width, r.size.height);
        const PropertyList style = entry.at(2).isDictionary() ? entry.at(2) : PropertyList::dictionary();

        std::shared_ptr<VekObjImage> imageObject;
        const PropertyList fillImage = style.value(QStringLiteral("fillImage"));
        if (fillImage.isData()) {
            const Image image = readImageData(fillImage.dataValue());
            if (image.isValid()) {
                imageObject = VekObjImage::create();
                _objects.push_back(imageObject);
                ++_objectListGeneration;
                imageObject->setDocument(this, false);
                imageObject->setQomtImage(image, bounds);
            }
        }
        // A text entry becomes a text box a little larger than its rectangle; its path is
        // not used.
        if (entry.at(3).isData())
            if (const std::optional<AttributedString> text = attributedStringWithRTF(entry.at(3).dataValue());
                text && !text->isEmpty()) {
                auto textObject = VekObjText::create();
                textObject->setContents(*text);
                textObject->setBounds(insetRect(bounds, -5, -5));
                _objects.push_back(textObject);
                ++_objectListGeneration;
                textObject->setDocument(this, false);
                continue;
            }
        if (!entry.at(0).isData())
            continue;
        ArchiveResult<BezierPath> archived = unarchiveBezierPathWithData(entry.at(0).dataValue());
        if (!archived)
            continue;
        BezierPath path = *archived.value;
        // Old paths have y up inside their own bounds.
        const float h = path.controlPointBounds().size.height;
        AffineTransform flip;
        flip.translateXBy(bounds.origin.x, bounds.origin.y + h);
        flip.scaleXBy(1, -1);
        path.transformUsingAffineTransform(flip);
        auto pathObject = VekObjPath::create();
        _objects.push_back(pathObject);
        ++_objectListGeneration;
        pathObject->setDocument(this, false);
        pathObject->setBounds(path.bounds());
        pathObject->setBezierPath(path);
        setQomtProperties(*pathObject, style);
        if (imageObject) {
            pathObject->simplySetAsClip(1, imageObject.get());
            imageObject->clearCachedImage();
        }
    }
}

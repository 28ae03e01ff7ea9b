// The document file: the document dictionary, key by key, its two stored forms (the
// typedstream archive, or the old-style text form for readable files, told apart by the
// first byte), and the reader that rebuilds a document from it.
#include "document/vek_document.h"

#include "document/document_previews.h"

#include "model/services/canvas_services.h"
#include "model/services/panel_services.h"
#include "model/vek_group.h"
#include "model/vek_object.h"
#include "platform/foundation/archiving.h"
#include "platform/foundation/file_writing.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/plist_text_format.h"
#include "platform/image/image_file.h"
#include "platform/pdf/pdf_document.h"
#include "platform/text/rtf.h"

#include <QFile>

#include <algorithm>
#include <unordered_map>

namespace {

const QString ObjectsKey = QStringLiteral("objects");
const QString ResolutionKey = QStringLiteral("resolution");
const QString LinkTextInfoKey = QStringLiteral("linkTextInfo");
const QString DrawInfoKey = QStringLiteral("drawInfo");
const QString MetaInfoKey = QStringLiteral("metainfo");
const QString GroupsKey = QStringLiteral("groups");
const QString BorderInfoKey = QStringLiteral("borderinfo");
const QString VersionKey = QStringLiteral("version");
const QString WindowFrameKey = QStringLiteral("windowFrame");
const QString DrawAreaSizeKey = QStringLiteral("drawAreaSize");
const QString PagesKey = QStringLiteral("pages");
const QString LastCurrentPageKey = QStringLiteral("lastCrntPage");
const QString PrintInfoKey = QStringLiteral("printInfo");
const QString BackgroundKey = QStringLiteral("background");
const QString QLOptionKey = QStringLiteral("qloption");
const QString ThumbDataKey = QStringLiteral("thumbdata");
const QString PdfDataKey = QStringLiteral("pdfdata");

const char *const MetadataKeys[] = {"author", "title", "subject", "copyright", "keywords"};

PropertyList archivedColor(const Color &color)
{
    const auto data = archivedDataWithRootObject(color);
    return data ? PropertyList::fromData(*data.value) : PropertyList();
}

std::optional<Color> colorFrom(const PropertyList &value)
{
    if (!value.isData())
        return std::nullopt;
    auto color = unarchiveColorWithData(value.dataValue());
    return color ? std::optional<Color>(*color.value) : std::nullopt;
}

// A header or footer cell stored as RTF text (the readable text form): its rich text.
// Nothing for a string that is no RTF (a date format, for example, stays a string).
std::optional<AttributedString> cellFromRTFString(const PropertyList &value)
{
    if (!value.isString() || !value.stringValue().startsWith(QLatin1String("{\\rtf")))
        return std::nullopt;
    return attributedStringWithRTF(value.stringValue().toUtf8());
}

// The header and footer cells as the file stores them: attributed strings as flat RTFD
// data (kept as data in memory too), everything else as it is. The text form's cells come
// as RTF text and are kept as RTFD data as well.
PropertyList borderContentsFrom(const PropertyList &stored)
{
    PropertyList contents = PropertyList::dictionary();
    for (const QString &key : stored.keys()) {
        PropertyList value = stored.value(key);
        if (const auto text = cellFromRTFString(value))
            value = PropertyList::fromData(RTFDFromRange(*text, {0, text->length()}));
        if (value.isData() && !attributedStringWithRTFD(value.dataValue()))
            continue;   // a cell that does not read is left out
        contents.insert(key, value);
    }
    return contents;
}

bool hasAttachments(const AttributedString &text)
{
    bool found = false;
    text.enumerateRuns({0, text.length()}, [&](const TextRun &run) { found = found || run.attributes.attachment; });
    return found;
}

// The document dictionary with its header and footer cells as RTF text, which a person
// reads in the text form where RTFD data would be hexadecimal digits. A cell with images
// stays RTFD data: RTF does not hold them.
PropertyList withReadableBorderCells(PropertyList dict)
{
    PropertyList border = dict.value(BorderInfoKey);
    const PropertyList contents = border.value(QStringLiteral("contents"));
    if (!contents.isDictionary())
        return dict;
    PropertyList readable = PropertyList::dictionary();
    for (const QString &key : contents.keys()) {
        PropertyList value = contents.value(key);
        if (value.isData())
            if (const auto text = attributedStringWithRTFD(value.dataValue()); text && !hasAttachments(*text))
                value = PropertyList(QString::fromUtf8(RTFFromRange(*text, {0, text->length()})));
        readable.insert(key, value);
    }
    border.insert(QStringLiteral("contents"), readable);
    dict.insert(BorderInfoKey, border);
    return dict;
}

// The bytes a value stands for when every part it shares is counted each time it is held,
// as reading it into objects makes them: strings and data at their size, every value with an
// allowance for what holding it costs. A container is measured once (by its storage), so
// values that share their parts many levels deep cost no more to measure than to read.
class ExpandedSizes {
public:
    qint64 of(const PropertyList &value)
    {
        // Copies of an array or dictionary share its elements until one of them changes.
        const void *storage = value.isArray()        ? static_cast<const void *>(&value.elements())
                              : value.isDictionary() ? static_cast<const void *>(&value.entries())
                                                     : nullptr;
        if (!storage)
            return ValueAllowance + (value.isString() ? 2 * value.stringValue().size() : value.dataValue().size());
        if (const auto known = m_sizes.find(storage); known != m_sizes.end())
            return known->second;
        qint64 size = ValueAllowance;
        for (const PropertyList &element : value.elements())
            size = std::min(size + of(element), Saturated);
        for (const PropertyList::Entry &entry : value.entries())
            size = std::min(size + 2 * entry.first.size() + of(entry.second), Saturated);
        m_sizes.emplace(storage, size);
        return size;
    }

private:
    static constexpr qint64 ValueAllowance = 16;
    static constexpr qint64 Saturated = qint64(1) << 60;   // no sum of two overflows
    std::unordered_map<const void *, qint64> m_sizes;
};

DocumentError unreadableError()
{
    return {VekantoErrorDomain, DocumentUnreadableErrorCode,
            localizedString(QStringLiteral("Vekanto document data could not be read."))};
}

} // namespace

// ---- Writing ----

PropertyList VekDocument::vekDocumentDictionaryForObjects(const std::vector<std::shared_ptr<VekObject>> &objects,
                                                          const std::optional<std::vector<int>> &pages,
                                                          bool wholeDocument) const
{
    PropertyList dict = PropertyList::dictionary();
    const bool subset = pages && !wholeDocument;
    const float pageHeight = const_cast<VekDocument *>(this)->drawAreaSizePerPage().height;

    PropertyList list = PropertyList::array();
    for (const auto &object : objects) {
        if (!subset) {
            list.append(object->propertyListRepresentation());
            continue;
        }
        const int n = objectIsIncludedIn(object.get(), *pages);
        if (n < 0)
            continue;
        const int k = int(std::find(pages->begin(), pages->end(), n) - pages->begin()) + 1;
        if (n == 0 || k == n) {
            list.append(object->propertyListRepresentation());
            continue;
        }
        // The object moves up to the page its page takes in the list, keeping its group.
        const auto moved = object->copy();
        moved->setGroupID(object->groupID());
        Rect bounds = moved->bounds();
        bounds.origin.y -= float(n - k) * pageHeight;
        moved->setBoundsSimplyAs(bounds);
        list.append(moved->propertyListRepresentation());
    }
    dict.insert(ObjectsKey, list);
    dict.insert(ResolutionKey, PropertyList::fromInt(_resolution));
    PropertyList linkInfo = PropertyList::dictionary();
    linkInfo.insert(QStringLiteral("color"), archivedColor(_linkTextColor));
    linkInfo.insert(QStringLiteral("underLine"), PropertyList::fromInt(_linkTextULine));
    dict.insert(LinkTextInfoKey, linkInfo);
    PropertyList drawInfo = PropertyList::dictionary();
    drawInfo.insert(QStringLiteral("useCMYK"), PropertyList::fromInt(_useCMYK));
    drawInfo.insert(QStringLiteral("antialias"), PropertyList::fromInt(_antialiasDraw));
    drawInfo.insert(QStringLiteral("smoothFonts"), PropertyList::fromInt(_smoothFonts));
    dict.insert(DrawInfoKey, drawInfo);
    if (!pages)
        return dict;   // the clipboard form

    PropertyList meta = PropertyList::dictionary();
    const std::optional<QString> *fields[] = {&_author, &_title, &_subject, &_copyright, &_keywords};
    for (size_t i = 0; i < std::size(fields); ++i)
        if (*fields[i])
            meta.insert(QLatin1String(MetadataKeys[i]), PropertyList(**fields[i]));
    if (meta.count())
        dict.insert(MetaInfoKey, meta);
    if (const PropertyList groups = groupBaseDictionary(); groups.count())
        dict.insert(GroupsKey, groups);
    PropertyList border = PropertyList::dictionary();
    border.insert(QStringLiteral("state"), PropertyList::fromInt(_addBorder));
    border.insert(QStringLiteral("contents"), borderContentsFrom(const_cast<VekDocument *>(this)->borderinfo()));
    dict.insert(BorderInfoKey, border);
    dict.insert(VersionKey, PropertyList(QString::fromLatin1(CurrentVersion)));
    dict.insert(WindowFrameKey, PropertyList(_lastWinFrame));
    dict.insert(DrawAreaSizeKey, PropertyList(stringFromSize(const_cast<VekDocument *>(this)->drawAreaSizePerPage())));
    // A subset of pages holds as many pages as were listed.
    dict.insert(PagesKey, PropertyList::fromInt(subset ? std::max<int>(1, int(pages->size())) : _numPages));
    dict.insert(LastCurrentPageKey, PropertyList::fromInt(_vekView ? _vekView->currentPage() : _lastCnrtPg));
    dict.insert(PrintInfoKey, PropertyList::fromData(archivedPrintInfo(const_cast<VekDocument *>(this)->printInfo())));

    PropertyList background = PropertyList::dictionary();
    background.insert(QStringLiteral("shwState"), PropertyList::fromInt(_shwState));
    background.insert(QStringLiteral("shwOffset"), PropertyList::fromFloat(_shwOffset));
    background.insert(QStringLiteral("shwAngle"), PropertyList::fromFloat(_shwAngle));
    background.insert(QStringLiteral("shwBlur"), PropertyList::fromFloat(_shwBlur));
    background.insert(QStringLiteral("shwColor"), archivedColor(_shwColor.value_or(defaultShadowColor())));
    background.insert(QStringLiteral("color"), archivedColor(_bgColor));
    // A background the canvas hides goes into the file only when the user says so.
    const bool hasBackgroundData = !_bgImageData.isEmpty() || _bgPDF;
    const bool includeData = !hasBackgroundData || !_vekView || !_vekView->backgroundHidden()
                             || !_askIncludeHiddenBackground || _askIncludeHiddenBackground();
    if (!_bgImageData.isEmpty() && includeData)
        background.insert(QStringLiteral("imgdata"), PropertyList::fromData(_bgImageData));
    // One background page per written page; a subset takes, for each listed page, the PDF
    // page that document page shows.
    std::vector<int> pageMap = _bgPDFpages;
    if (subset) {
        pageMap.clear();
        for (int page : *pages)
            pageMap.push_back(page >= 1 && page <= int(_bgPDFpages.size()) ? _bgPDFpages[size_t(page - 1)] : 0);
    }
    if (const QByteArray pdf = includeData ? backgroundPDFForPages(pageMap) : QByteArray(); !pdf.isEmpty())
        background.insert(PdfDataKey, PropertyList::fromData(pdf));
    dict.insert(BackgroundKey, background);
    dict.insert(QLOptionKey, PropertyList::fromInt(_qlOption));
    // The previews show the whole document, also when only some pages are written.
    if (_qlOption == 1) {
        VekDocument &self = const_cast<VekDocument &>(*this);
        const DocumentPreviewMakers &makers = documentPreviewMakers();
        if (_qlOptDataT && makers.thumbnailPng)
            if (const QByteArray png = makers.thumbnailPng(self); !png.isEmpty())
                dict.insert(ThumbDataKey, PropertyList::fromData(png));
        if (_qlOptDataP && makers.previewPdf)
            if (const QByteArray pdf = makers.previewPdf(self); !pdf.isEmpty())
                dict.insert(PdfDataKey, PropertyList::fromData(pdf));
    }
    return dict;
}

QByteArray VekDocument::vekDocumentDataForObjects(const std::vector<std::shared_ptr<VekObject>> &objects,
                                                  const std::optional<std::vector<int>> &pages,
                                                  bool wholeDocument, bool textForm) const
{
    const PropertyList dict = vekDocumentDictionaryForObjects(objects, pages, wholeDocument);
    if (pages && textForm)
        return textPropertyListData(withReadableBorderCells(dict));
    const auto archived = archivedDataWithRootObject(dict);
    return archived ? *archived.value : QByteArray();
}

QByteArray VekDocument::dataOfDocument(bool textForm) const
{
    std::vector<int> everyPage;
    for (int page = 1; page <= _numPages; ++page)
        everyPage.push_back(page);
    return vekDocumentDataForObjects(_objects, everyPage, true, textForm);
}

bool VekDocument::writeToFile(const QString &path, bool textForm, DocumentError *error) const
{
    const QByteArray data = dataOfDocument(textForm);
    QString why;
    const bool written = writeWholeFile(path, data, &why);
    if (!written && error)
        *error = {VekantoErrorDomain, 2, why};   // names the file and says why
    return written;
}

// ---- Reading ----

PropertyList VekDocument::vekDocumentDictionaryFromData(const QByteArray &data, DocumentError *error)
{
    if (data.size() > 1 && data.startsWith('{')) {
        const PropertyList dict = propertyListFromText(data);
        if (dict.isDictionary())
            return dict;
    }
    const auto archived = unarchivePropertyListWithData(data);
    if (archived && archived.value->isDictionary())
        return *archived.value;
    if (error)
        *error = unreadableError();
    return {};
}

std::vector<std::shared_ptr<VekObject>> VekDocument::objectsFromVekDocumentDictionary(const PropertyList &dictionary,
                                                                                      QStringList *notes,
                                                                                      const DocumentReadingLimits &limits)
{
    std::vector<std::shared_ptr<VekObject>> objects;
    const PropertyList list = dictionary.value(ObjectsKey);
    ExpandedSizes sizes;
    qint64 bytes = 0;
    for (qsizetype i = 0; i < list.count(); ++i) {
        // The list is read in stacking order up to the first object past a bound.
        const bool tooMany = qsizetype(objects.size()) >= limits.objects;
        bytes += tooMany ? 0 : sizes.of(list.at(i));
        if (tooMany || bytes > limits.objectBytes) {
            if (notes)
                notes->append((tooMany ? localizedString(QStringLiteral(
                                             "The document holds more objects than can be opened (at most %1)."))
                                             .arg(limits.objects)
                                       : localizedString(QStringLiteral(
                                             "The document's objects hold more data than can be opened (at most %1 MB)."))
                                             .arg(limits.objectBytes >> 20))
                              + QLatin1Char(' ')
                              + localizedString(QStringLiteral("%1 of its %2 objects were left out."))
                                    .arg(list.count() - i)
                                    .arg(list.count()));
            break;
        }
        if (auto object = VekObject::objectWithPropertyListRepresentation(list.at(i)))
            objects.push_back(std::move(object));
    }
    return objects;
}

bool VekDocument::readFromData(const QByteArray &data, DocumentError *error)
{
    const PropertyList dictionary = vekDocumentDictionaryFromData(data, error);
    if (!dictionary.isDictionary())
        return false;
    readFromDocumentDictionary(dictionary);
    return true;
}

void VekDocument::readFromDocumentDictionary(const PropertyList &dictionary)
{
    // Reading is not an edit: nothing of it can be undone.
    _undo.disableUndoRegistration();
    readDocumentDictionary(dictionary);
    _undo.enableUndoRegistration();
    _undo.removeAllActions();
    documentWasSaved();
}

bool VekDocument::readFromFile(const QString &path, DocumentError *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = {VekantoErrorDomain, DocumentUnreadableErrorCode, file.errorString()};
        return false;
    }
    return readFromData(file.readAll(), error);
}

void VekDocument::readDocumentDictionary(const PropertyList &d)
{
    // The order matters: objects join groups that must exist already, and objects of
    // version "1" files are migrated when they are given their document.
    _readFromDataInvoked = true;
    if (d.value(VersionKey).isString())
        _documentVersion = d.value(VersionKey).stringValue();
    _lastWinFrame = d.value(WindowFrameKey).stringValue();
    if (const int pages = d.value(PagesKey).intValue(); pages > 0)
        _numPages = std::min(pages, 100000);
    if (const int page = d.value(LastCurrentPageKey).intValue(); page > 1)
        _lastCnrtPg = std::min(page, _numPages);
    const PropertyList meta = d.value(MetaInfoKey);
    std::optional<QString> *fields[] = {&_author, &_title, &_subject, &_copyright, &_keywords};
    for (size_t i = 0; i < std::size(fields); ++i)
        if (const PropertyList value = meta.value(QLatin1String(MetadataKeys[i])); value.isString())
            *fields[i] = value.stringValue();
    // The stored print settings come before the resolution, which keeps their scaling in
    // step; a document without them takes the defaults.
    if (auto info = unarchivePrintInfo(d.value(PrintInfoKey).dataValue()))
        _printInfo = *info;
    if (d.contains(ResolutionKey))
        setResolution(d.value(ResolutionKey).intValue());
    if (d.contains(DrawAreaSizeKey))
        setDrawAreaSizePerPage(d.value(DrawAreaSizeKey).sizeValue());
    if (const PropertyList link = d.value(LinkTextInfoKey); link.isDictionary()) {
        if (auto color = colorFrom(link.value(QStringLiteral("color"))))
            _linkTextColor = *color;
        _linkTextULine = link.value(QStringLiteral("underLine")).intValue();
    }
    if (const PropertyList draw = d.value(DrawInfoKey); draw.isDictionary()) {
        _useCMYK = draw.value(QStringLiteral("useCMYK")).intValue();
        _antialiasDraw = draw.value(QStringLiteral("antialias")).intValue();
        _smoothFonts = draw.value(QStringLiteral("smoothFonts")).intValue();
    }
    if (d.contains(QLOptionKey))
        _qlOption = d.value(QLOptionKey).intValue();
    if (d.contains(ThumbDataKey))
        _qlOptDataT = 1;
    if (d.contains(PdfDataKey))
        _qlOptDataP = 1;

    if (const PropertyList groups = d.value(GroupsKey); groups.isDictionary()) {
        for (const QString &id : groups.keys())
            if (!id.isEmpty())
                _groups.insert(id, VekGroup::groupFromRecord(id, groups.value(id), this));
        breakGroupCycles();
        dropGroupCaches();
    }

    // The objects join the list before they are given their document as read from a file:
    // an object that has the document already would be searched for in the list each time.
    _readingNotes.clear();
    std::vector<std::shared_ptr<VekObject>> objects = objectsFromVekDocumentDictionary(d, &_readingNotes);
    if (!objects.empty())
        setObjects(objects);
    for (const auto &object : objects)
        object->setDocument(this, true);

    if (const PropertyList border = d.value(BorderInfoKey); border.isDictionary()) {
        _addBorder = border.value(QStringLiteral("state")).intValue();
        // The cells are kept as they are (and written again), so they keep to the same bound.
        const PropertyList contents = border.value(QStringLiteral("contents"));
        if (_addBorder != 0 && contents.isDictionary()) {
            if (ExpandedSizes().of(contents) <= DocumentReadingLimits{}.objectBytes)
                _borderinfo = borderContentsFrom(contents);
            else
                _readingNotes.append(localizedString(
                    QStringLiteral("The header and footer hold more data than can be opened and were left out.")));
        }
    }

    const PropertyList background = d.value(BackgroundKey);
    if (!background.isDictionary())
        return;
    setBackgroundColor(colorFrom(background.value(QStringLiteral("color"))).value_or(Color::whiteColor()), true);
    // The background PDF brings its own page geometry; the paper, margins, page size and
    // page count the document stored are kept all the same.
    const std::optional<PrintInfo> storedPrintInfo = _printInfo;
    const Size storedPageSize = _drawAreaSize;
    const int storedPages = _numPages;
    if (const QByteArray pdfData = background.value(PdfDataKey).dataValue(); !pdfData.isEmpty()) {
        if (auto pdf = PdfDocument::openData(pdfData))
            setBackgroundPDF(pdf, pdfData);
    }
    if (d.contains(PrintInfoKey) && storedPrintInfo)
        _printInfo = storedPrintInfo;
    if (d.contains(DrawAreaSizeKey) && storedPageSize != Size())
        _drawAreaSize = storedPageSize;
    if (d.contains(PagesKey))
        _numPages = std::max(storedPages, 1);
    if (const QByteArray imageData = background.value(QStringLiteral("imgdata")).dataValue(); !imageData.isEmpty())
        setBackgroundImage(readImageData(imageData), imageData, d.contains(DrawAreaSizeKey) ? storedPageSize : Size());
    _shwState = background.value(QStringLiteral("shwState")).intValue();
    _shwOffset = background.value(QStringLiteral("shwOffset")).floatValue();
    _shwAngle = background.value(QStringLiteral("shwAngle")).floatValue();
    _shwBlur = background.value(QStringLiteral("shwBlur")).floatValue();
    if (auto color = colorFrom(background.value(QStringLiteral("shwColor"))))
        _shwColor = *color;
}

namespace {
DocumentPreviewMakers installedPreviewMakers;
}

const DocumentPreviewMakers &documentPreviewMakers()
{
    return installedPreviewMakers;
}

void setDocumentPreviewMakers(const DocumentPreviewMakers &makers)
{
    installedPreviewMakers = makers;
}

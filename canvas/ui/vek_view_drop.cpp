// Drops on the canvas and the objects made from files and images: objects dragged out of
// another canvas are copied in, a colour recolours the selected object under it, files and
// pictures become image objects.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "canvas/path_object_commands.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_image.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "platform/foundation/localized_strings.h"
#include "platform/image/image_file.h"
#include "platform/text/rtf.h"
#include "platform/text/text_drawing.h"
#include "toolkit/ui/colour_drag.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileIconProvider>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QTextDocumentFragment>
#include <QUrl>

#include <cmath>

namespace {

bool canDrop(const QMimeData &mime)
{
    return mime.hasFormat(VekantoDocumentMimeType) || mime.hasFormat(VekantoColorMimeType) || mime.hasColor() || mime.hasUrls() || mime.hasImage() || mime.hasText() || mime.hasFormat(RTFMimeType)
           || mime.hasFormat(RTFDMimeType);
}

// A file that is not a picture shows its icon.
QImage iconOfFile(const QString &path)
{
    return QFileIconProvider().icon(QFileInfo(path)).pixmap(512, 512).toImage();
}

// The text of a text file by its extension: RTF, RTFD (a folder or its flat form), plain
// UTF-8 text, and HTML as the text it shows. None for other kinds or unreadable files.
std::optional<AttributedString> textOfFile(const QString &path)
{
    const QString kind = QFileInfo(path).suffix().toLower();
    if (kind == QLatin1String("rtfd") && QFileInfo(path).isDir())
        return readRTFDDirectory(path);
    if (kind != QLatin1String("rtfd") && kind != QLatin1String("rtf") && kind != QLatin1String("txt") &&
        kind != QLatin1String("html") && kind != QLatin1String("htm"))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.readAll();
    std::optional<AttributedString> text;
    if (kind == QLatin1String("rtfd"))
        text = attributedStringWithRTFD(data);
    else if (kind == QLatin1String("rtf"))
        text = attributedStringWithRTF(data);
    else if (kind == QLatin1String("txt"))
        text = AttributedString(QString::fromUtf8(data), TextAttributes{});
    else
        text = AttributedString(QTextDocumentFragment::fromHtml(QString::fromUtf8(data)).toPlainText(), TextAttributes{});
    if (text && text->isEmpty())
        return std::nullopt;
    return text;
}

} // namespace

void VekView::dragEnterEvent(QDragEnterEvent *event)
{
    if (canDrop(*event->mimeData()))
        event->acceptProposedAction();
}

void VekView::dragMoveEvent(QDragMoveEvent *event)
{
    if (canDrop(*event->mimeData()))
        event->acceptProposedAction();
}

void VekView::dropEvent(QDropEvent *event)
{
    // The selection dragged out and back into its own canvas: the move it began stays undone.
    if (event->source() == this) {
        event->ignore();
        return;
    }
    const QPointF inWindow = viewport()->mapTo(window(), event->position());
    if (dropMimeData(*event->mimeData(), convertPointFromWindow({float(inWindow.x()), float(inWindow.y())}),
                     event->modifiers() & Qt::AltModifier))
        event->acceptProposedAction();
}

bool VekView::dropMimeData(const QMimeData &mime, Point at, bool optionKey)
{
    clearPasteConditions();
    // Objects dragged out of another canvas: copies of them, the back-most at the point.
    if (mime.hasFormat(VekantoDocumentMimeType))
        return pasteObjects(mime.data(VekantoDocumentMimeType), at);
    if (mime.hasFormat(RTFDMimeType) || mime.hasFormat(RTFMimeType) || (mime.hasText() && !mime.hasUrls())) {
        const auto text = textOfMimeData(mime);
        return text && makeNewTextObjectWith(*text, at, optionKey);
    }
    if (const std::optional<Color> dropped = colorOfMimeData(mime)) {
        const auto object = objectUnderPoint(at, false);
        if (!object || !objectIsSelected(*object))
            return false;
        const Color &color = *dropped;
        if (object->canDrawFill())
            object->setFillColor(color);
        else if (object->canDrawStroke())
            object->setObjStrokeColor(color);
        else
            return false;
        m_document.undoManager()->setActionName(localizedString(QStringLiteral("Change Color")));
        return true;
    }
    if (mime.hasUrls()) {
        bool made = false;
        for (const QUrl &url : mime.urls()) {
            if (url.isLocalFile() && makeNewObjectFromFile(url.toLocalFile(), at, optionKey))
                made = true;
            at.y += 10;
        }
        return made;
    }
    return mime.hasImage() && makeNewImageObjectFromImage(qvariant_cast<QImage>(mime.imageData()), at);
}

bool VekView::makeNewObjectFromFile(const QString &path, Point at, bool optionKey)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    if (const std::optional<AttributedString> text = textOfFile(path))
        return makeNewTextObjectWith(*text, at, optionKey);
    Image image;
    if (!QFileInfo(path).isDir())
        image = readImageFile(path);
    if (!image.isValid()) {
        const QImage icon = iconOfFile(path);
        if (icon.isNull())
            return false;
        image = Image(icon);
        image.setSize({512, 512});
    }
    return createObjImageWith(image, at, Size());
}

bool VekView::makeNewImageObjectFromImage(const QImage &picture, Point at)
{
    return !picture.isNull() && createObjImageWith(Image(picture), at, Size());
}

bool VekView::createObjImageWith(const Image &image, Point at, Size size)
{
    if (!image.isValid())
        return false;
    if (at == Point{0, 0} || at == NoPoint)
        at = visibleRect().origin;
    if (size == Size()) {
        // Fitted into the canvas, keeping the proportions, against the edge it fills.
        const Size canvas = bounds().size;
        size = image.size();
        const Size natural = size;
        if (size.width > canvas.width) {
            size.height *= canvas.width / size.width;
            size.width = canvas.width;
        }
        if (size.height > canvas.height) {
            size.width *= canvas.height / size.height;
            size.height = canvas.height;
        }
        if (!(size == natural) && !(size == Size())) {
            if (size.width == canvas.width)
                at.x = 0;
            if (size.height == canvas.height)
                at.y = 0;
        }
    }
    const auto object = VekObjImage::create();
    m_document.insertObject(object, 0, true);
    object->setBounds(Rect(std::round(at.x), std::round(at.y), size.width, size.height));
    object->setImage(image);
    clearSelection();
    selectObject(object);
    return true;
}

bool VekView::makeNewTextObjectWith(const AttributedString &text, Point at, bool optionKey)
{
    if (text.length() == 0)
        return false;
    const Size canvas = bounds().size;
    Size size = attributedStringSize(text);
    float x = at.x;
    // Text wider than the canvas wraps at its width, growing in height in proportion.
    const float widest = canvas.width - 10;
    if (size.width > widest && widest > 0) {
        size.height *= 1 + (size.width - widest) / widest;
        size.width = widest;
        x = 0;
    }
    size.height = std::min(size.height, canvas.height);
    CanvasCommandContext context = commandContext();
    if (optionKey)
        return makeGlyphObjectsFrom(context, text, Rect(x, at.y - size.height, size.width, size.height)) != nullptr;
    // Dropped on a selected path, the text runs along it.
    if (const auto object = objectUnderPoint(at, false); object && objectIsSelected(*object) && object->hasEditablePath()) {
        if (auto *path = dynamic_cast<VekObjPath *>(object.get())) {
            path->setAttStringForPath(text);
            return true;
        }
    }
    const auto box = VekObjText::create();
    box->setContents(text);
    m_document.insertObject(box, 0, true);
    box->setBounds(Rect(x, at.y, size.width + 10, size.height + 10));
    clearSelection();
    selectObject(box);
    return true;
}

std::optional<AttributedString> textOfMimeData(const QMimeData &mime)
{
    if (mime.hasFormat(RTFDMimeType))
        if (auto text = attributedStringWithRTFD(mime.data(RTFDMimeType)))
            return text;
    if (mime.hasFormat(RTFMimeType))
        if (auto text = attributedStringWithRTF(mime.data(RTFMimeType)))
            return text;
    if (mime.hasText())
        return AttributedString(mime.text(), TextAttributes{});
    return std::nullopt;
}

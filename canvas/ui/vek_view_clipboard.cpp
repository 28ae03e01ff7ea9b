// The canvas's clipboard commands: copy, cut, paste and duplicate. Copied objects travel as
// the document's own data with a picture of them beside it; a series of pastes or duplicates
// repeats the offset the user gave the previous copy.
#include "canvas/ui/vek_view.h"

#include "canvas/offscreen_images.h"
#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/vek_object.h"
#include "platform/foundation/localized_strings.h"
#include "toolkit/path_editing.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include <cmath>
#include <map>

namespace {

// Copies of grouped objects are grouped again, per old group, when more than one arrived.
class GroupCollector {
public:
    void note(const QString &groupID, const std::shared_ptr<VekObject> &copy)
    {
        if (!groupID.isEmpty())
            m_groups[groupID].push_back(copy);
    }
    void regroup(VekDocument &document) const
    {
        for (const auto &[id, members] : m_groups)
            if (members.size() > 1)
                document.groupObjects(members);
    }

private:
    std::map<QString, std::vector<std::shared_ptr<VekObject>>> m_groups;
};

} // namespace

QImage VekView::imageOfSelectedObjects() const
{
    const ObjectList selected = selectedObjectsInObjectsOrder();
    if (selected.empty())
        return {};
    CanvasImageRequest request;
    request.rect = selected.front()->boundsToRedraw();
    for (const auto &object : selected)
        request.rect = unionRect(request.rect, object->boundsToRedraw());
    request.pathClip = true;
    request.drawingToCopy = true;
    request.keepRGB = true;
    request.selected = selected;
    return imageWithinRect(m_document, request).toQImage();
}

void VekView::copy()
{
    if (const auto editing = m_editing.lock())
        if (ObjectEditing *editor = editing->editing(); editor && editor->copyWhileEditing(this))
            return;
    QMimeData *mime = mimeDataOfSelection();
    if (!mime)
        return;
    QGuiApplication::clipboard()->setMimeData(mime);
    m_modelObject = selectedObjectsInObjectsOrder().front();
}

void VekView::cut()
{
    // An edited object cuts its own selection: copy, then its own delete.
    copy();
    deleteSelection();
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Cut")));
}

void VekView::paste(bool optionKey)
{
    if (const auto editing = m_editing.lock())
        if (ObjectEditing *editor = editing->editing(); editor && editor->pasteWhileEditing(this))
            return;
    const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return;
    const Point mouse = currentGlobalMouseInView();
    const std::shared_ptr<VekObject> previousFront = m_document.objects().empty() ? nullptr : m_document.objects().front();

    bool made = false;
    if (mime->hasFormat(VekantoDocumentMimeType)) {
        if (optionKey && mime->hasImage())
            made = makeNewImageObjectFromImage(qvariant_cast<QImage>(mime->imageData()), mouse);
        if (!made)
            made = pasteObjects(mime->data(VekantoDocumentMimeType), mouse);
    } else if (mime->hasUrls()) {
        const QList<QUrl> urls = mime->urls();
        made = urls.size() == 1 && urls.front().isLocalFile()
               && makeNewObjectFromFile(urls.front().toLocalFile(), mouse, false);
    } else if (const auto text = textOfMimeData(*mime)) {
        made = makeNewTextObjectWith(*text, mouse == NoPoint ? Point{0, 0} : mouse, optionKey);
    } else if (mime->hasImage()) {
        made = makeNewImageObjectFromImage(qvariant_cast<QImage>(mime->imageData()), mouse);
    }
    if (!made)
        return;

    // The proposal of the offset rule wins over the mouse, the mouse over the visible origin.
    const ObjectList pasted = selectedObjects();
    if (!pasted.empty()) {
        const Point proposal = pasteOriginProposalFor(*pasted.front(), previousFront);
        Point target = proposal != NoPoint ? proposal : mouse == NoPoint ? visibleRect().origin : NoPoint;
        if (target != NoPoint) {
            const Point origin = pasted.front()->bounds().origin;
            for (const auto &object : pasted)
                object->moveBy(target.x - origin.x, target.y - origin.y);
        }
    }
    m_modelObject = previousFront;
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Paste")));
    if (!pasted.empty())
        makeVisible(*pasted.front());
}

bool VekView::pasteObjects(const QByteArray &data, Point mouse)
{
    DocumentError error;
    const PropertyList dict = VekDocument::vekDocumentDictionaryFromData(data, &error);
    if (dict.isAbsent())
        return false;
    const ObjectList objects = VekDocument::objectsFromVekDocumentDictionary(dict);
    if (objects.empty())
        return false;
    clearSelection();
    GroupCollector groups;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        groups.note((*it)->groupID(), *it);
        m_document.insertObject(*it, 0, true);
        selectObject(*it);
    }
    const ObjectList selected = selectedObjects();
    if (mouse != NoPoint && !selected.empty()) {
        const Point origin = selected.front()->bounds().origin;
        for (const auto &object : selected)
            object->moveBy(mouse.x - origin.x, mouse.y - origin.y);
    }
    groups.regroup(m_document);
    return true;
}

Point VekView::pasteOriginProposalFor(const VekObject &object, const std::shared_ptr<VekObject> &last)
{
    const auto model = m_modelObject.lock();
    if (!model || !last)
        return NoPoint;
    if (last == model || last->className() != model->className() || object.className() != model->className()) {
        m_modelObject.reset();
        return NoPoint;
    }
    Point proposal;
    if (last->bounds().size == model->bounds().size && object.bounds().size == model->bounds().size) {
        float dx = last->bounds().origin.x - model->bounds().origin.x;
        float dy = last->bounds().origin.y - model->bounds().origin.y;
        // Copies that were not moved apart (under a point either way) step on by 10.
        if (std::abs(dx) < 1 && std::abs(dy) < 1)
            dx = dy = 10;
        proposal = {last->bounds().origin.x + dx, last->bounds().origin.y + dy};
        m_modelObject = last;
    } else {
        m_modelObject.reset();
        proposal = last->bounds().origin;
    }
    return pointInRect(proposal, visibleRect()) ? HalfPosition(proposal) : NoPoint;
}

void VekView::duplicate()
{
    const ObjectList sorted = selectedObjectsInObjectsOrder();
    if (sorted.empty())
        return;
    const std::shared_ptr<VekObject> front = m_document.objects().front();
    Point offset{10, 10};
    if (const auto model = m_modelObject.lock();
        model && front == sorted.front() && sorted.size() < m_document.objects().size()) {
        if (front->className() == model->className() && front->bounds().size == model->bounds().size)
            offset = {front->bounds().origin.x - model->bounds().origin.x,
                      front->bounds().origin.y - model->bounds().origin.y};
        m_modelObject.reset();
    }
    ObjectList copies;
    GroupCollector groups;
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it) {
        const std::shared_ptr<VekObject> copy = (*it)->copy();
        if (!copy)
            continue;
        groups.note((*it)->groupID(), copy);
        m_document.insertObject(copy, 0, true);
        copy->moveBy(offset.x, offset.y);
        copies.push_back(copy);
    }
    groups.regroup(m_document);
    m_modelObject = sorted.front();
    if (copies.empty())
        return;
    clearSelection();
    for (const auto &copy : copies)
        selectObject(copy);
    m_document.undoManager()->setActionName(localizedString(QStringLiteral("Duplicate")));
}

// The document info panel's adapter of a document window.
#include "app/document/document_info_canvas.h"

#include "app/document/vek_document_window.h"
#include "canvas/offscreen_images.h"
#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"
#include "model/object_editing.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_text.h"

#include <QRegularExpression>

DocumentInfoCanvas::DocumentInfoCanvas(VekDocumentWindow &window) : DocInfoCanvas(&window), m_window(window) {}

DocumentInfoCanvas *DocumentInfoCanvas::of(VekDocumentWindow *window)
{
    if (!window)
        return nullptr;
    for (QObject *child : window->children())
        if (auto *existing = dynamic_cast<DocumentInfoCanvas *>(child))
            return existing;
    return new DocumentInfoCanvas(*window);
}

PanelCanvas &DocumentInfoCanvas::canvas() const { return m_window.vekView(); }
const void *DocumentInfoCanvas::canvasIdentity() const { return &m_window.vekView(); }
QString DocumentInfoCanvas::displayName() const { return m_window.displayName(); }

QImage DocumentInfoCanvas::previewOfCurrentPage(bool showMargin) const
{
    return previewOfPage(m_window.document(), m_window.vekView().currentPage(), showMargin, 1.0f,
                         m_window.displayName());
}

void DocumentInfoCanvas::editTextOf(const std::shared_ptr<VekObject> &object, int location, int length,
                                    const QString &cellKey)
{
    VekView &view = m_window.vekView();
    view.endEditing();
    view.selectObjectExclusively(object);
    ObjectEditing *editing = object->editing();
    if (auto *table = dynamic_cast<VekObjGrid *>(object.get())) {
        // "C3R12": the column and the row, in the key's order.
        const QRegularExpressionMatch key = QRegularExpression(QStringLiteral("^[A-Za-z](\\d+)R(\\d+)$")).match(cellKey);
        if (!key.hasMatch() || !editing)
            return;
        editing->startEditingWithEvent(MouseEvent{}, &view);
        table->startEditCellAt(key.captured(1).toInt(), key.captured(2).toInt());
        return;
    }
    if (!editing)
        return;
    editing->startEditingWithEvent(MouseEvent{}, &view);
    if (auto *text = dynamic_cast<VekObjText *>(object.get()); text && text->editor())
        text->editor()->setSelectedRange(TextRange{location, length});
}

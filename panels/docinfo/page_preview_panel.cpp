// The page preview panel.
#include "panels/docinfo/page_preview_panel.h"

#include "platform/foundation/localized_strings.h"

#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

PagePreviewPanel::PagePreviewPanel(QWidget *parent) : QWidget(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("previewPanel"));
    setWindowTitle(localizedString(QStringLiteral("Page Preview")));
    m_view = new QLabel(this);
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setMinimumSize(120, 120);
    (new QVBoxLayout(this))->addWidget(m_view);
    resize(320, 420);
}

void PagePreviewPanel::renew()
{
    if (m_updating || !m_source)
        return;
    m_updating = true;
    m_image = m_source();
    // The page keeps its proportions inside the panel.
    m_view->setPixmap(QPixmap::fromImage(m_image).scaled(m_view->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_updating = false;
}

void PagePreviewPanel::showPreview()
{
    renew();
    show();
    raise();
}

void PagePreviewPanel::updatePreview()
{
    if (isVisible())
        renew();
}

void PagePreviewPanel::hidePreview()
{
    hide();
    m_image = QImage();
    m_view->clear();
}

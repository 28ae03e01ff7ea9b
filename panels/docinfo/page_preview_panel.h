// The page preview: the shown document's current page on its paper, with header and footer,
// its margins drawn when asked, kept current while it is visible.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;

class PagePreviewPanel : public QWidget {
public:
    explicit PagePreviewPanel(QWidget *parent = nullptr);

    // The preview's picture, asked for on each renewal.
    void setImageSource(std::function<QImage()> source) { m_source = std::move(source); }
    // Renews the picture and shows the panel.
    void showPreview();
    // Renews the picture of a visible panel; a renewal asked for while one runs (drawing the
    // page may notify again) does nothing.
    void updatePreview();
    void hidePreview();
    const QImage &image() const { return m_image; }

private:
    void renew();

    QLabel *m_view = nullptr;
    QImage m_image;
    std::function<QImage()> m_source;
    bool m_updating = false;
};

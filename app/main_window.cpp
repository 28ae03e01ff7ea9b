// A document window: the canvas of one document as the window's central widget.
#include "app/main_window.h"

#include "canvas/ui/vek_view.h"
#include "document/vek_document.h"

MainWindow::MainWindow(std::unique_ptr<VekDocument> document, const QString &title, QWidget *parent)
    : QMainWindow(parent), m_document(std::move(document))
{
    setWindowTitle(title);
    m_view = new VekView(*m_document, this);
    setCentralWidget(m_view);
    resize(800, 600);
}

// The canvas goes before the document it shows.
MainWindow::~MainWindow()
{
    delete takeCentralWidget();
}

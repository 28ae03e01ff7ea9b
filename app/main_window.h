// A document window: one document shown by its canvas.
#pragma once

#include <QMainWindow>

#include <memory>

class VekDocument;
class VekView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // Shows the document; the title is the file's name, or "Untitled".
    explicit MainWindow(std::unique_ptr<VekDocument> document, const QString &title, QWidget *parent = nullptr);
    ~MainWindow() override;

    VekDocument &document() const { return *m_document; }
    VekView &view() const { return *m_view; }

private:
    std::unique_ptr<VekDocument> m_document;
    VekView *m_view = nullptr;   // owned by the window as its central widget
};

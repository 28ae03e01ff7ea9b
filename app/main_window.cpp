// The application's main window: empty until the document window takes its place.
#include "app/main_window.h"

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vekanto"));
    resize(800, 600);
}

// A second Vekanto process for the clipboard tests: it copies three objects from its own
// canvas, says "copied" on its standard output and keeps owning the clipboard (serving the
// paste) until a line arrives on its standard input or half a minute has passed.
#include "canvas/ui/vek_view.h"

#include "document/vek_document.h"
#include "model/vek_obj_path.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>

namespace {

std::shared_ptr<VekObject> shape(const BezierPath &path, const Color &fill)
{
    auto o = VekObjPath::create();
    o->setBezierPath(path);
    o->setBounds(path.bounds());
    o->setFillColor(fill);
    o->setDrawsFill(true);
    return o;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    VekDocument document;
    document.setDrawAreaSizePerPage({400, 300});
    // Inserted at the front one after the other: the last is the front-most.
    document.insertObject(shape(BezierPath::bezierPathWithRect(Rect(50, 40, 60, 30)), Color::redColor()), 0, false);
    document.insertObject(shape(BezierPath::bezierPathWithOvalInRect(Rect(120, 80, 50, 50)), Color::blueColor()), 0,
                          false);
    document.insertObject(shape(BezierPath::bezierPathWithRect(Rect(200, 150, 30, 70)), Color::greenColor()), 0,
                          false);
    VekView view(document);
    view.selectAll();
    view.copy();
    std::printf("copied\n");
    std::fflush(stdout);

    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    QTimer::singleShot(30000, &app, &QCoreApplication::quit);
    return app.exec();
}

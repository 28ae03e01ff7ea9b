// Making an object's gradient model and drawing its gradient fill.
#include "model/gradient/gradient_fill.h"

#include "model/gradient/vek_gradient_view.h"
#include "model/services/shell_services.h"
#include "platform/graphics/graphics_context.h"

std::shared_ptr<VekGradientView> makeGradientModel(const std::shared_ptr<VekObject> &object,
                                                   const PropertyList &proportions, const PropertyList &colors)
{
    auto model = std::make_shared<VekGradientView>(gGradViewSize);
    model->setVekObject(object);
    if (proportions.count() > 0)
        model->setColorRectsWithProportion(proportions);
    if (!colors.isAbsent())
        model->setGradColors(colors);
    return model;
}

void drawGradientFill(const VekGradientView &model, const BezierPath &path, int type, int flip, float rotate,
                      Point center, bool cmyk, float fillAlpha)
{
    GraphicsContext *context = GraphicsContext::current();
    const Rect bounds = path.bounds();
    if (!context)
        return;
    const QImage image = model.gradient(type, bounds.size, flip, rotate, center, cmyk);
    if (image.isNull())
        return;
    GraphicsStateSaver saver(*context);
    context->addClip(path);
    context->drawImage(image, Rect(bounds.origin, Size(float(image.width()), float(image.height()))),
                       Rect(0, 0, float(image.width()), float(image.height())), CompositingOperation::SourceOver,
                       fillAlpha);
}

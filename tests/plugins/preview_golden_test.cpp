// Thumbnails drawn by the preview plug-in compared with golden images: a page of every kind
// of object (text box with links, text along a path, shadow, image, background PDF page,
// repeated object) and a page of the five gradient types through the plug-in's rasterisers.
#include "tests/export/export_fixture.h"
#include "tests/plugins/plugin_fixture.h"
#include "tests/support/golden_image.h"

using namespace pluginfixture;

TEST(PreviewGolden, ThumbnailsOfEveryKindOfObjectAndEveryGradientType)
{
    QTemporaryDir dir;
    exportfixture::Document fixture;
    const Answer objects = generate(written(fixture.doc, dir, QStringLiteral("objects.vek")), false);
    expectMatchesGolden(QImage::fromData(objects.data), QStringLiteral("objects_thumbnail.png"), 0.02);

    auto gradients = pagesDocument(1);
    gradients->setDrawAreaSizePerPage({320, 80});
    for (int type = 1; type <= 5; ++type) {
        auto rect = filledRect(Rect(10 + 62.0f * float(type - 1), 10, 56, 60), Color::redColor());
        gradients->insertObject(rect, 0, false);
        rect->setGradientType(type, true);
    }
    const Answer drawn = generate(written(*gradients, dir, QStringLiteral("gradients.vek")), false);
    expectMatchesGolden(QImage::fromData(drawn.data), QStringLiteral("gradients_thumbnail.png"), 0.02);
}

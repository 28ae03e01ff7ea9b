// The inspector's Image Filters button: the filter panel opens on the selected image object
// and the inspector steps aside; closing the inspector's panels hides the filter panel.
#include "model/vek_obj_image.h"
#include "panels/filters/vek_if_controller.h"
#include "panels/filters/vek_if_view.h"
#include "tests/panels/window/obj_info_fixture.h"

TEST_F(InspectorWindow, ImageFiltersOpensTheFilterPanelOnTheSelectedImageObject)
{
    QImage pixels(120, 80, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(QColor(40, 160, 90));
    auto image = VekObjImage::create();
    image->setBounds(Rect(100, 100, 120, 80));
    image->setImage(Image(pixels));
    add(image);
    select({image});
    auto *button = inspector().findChild<QAbstractButton *>(QStringLiteral("btnImgOpenIFpanel"));
    ASSERT_TRUE(button);
    ASSERT_TRUE(button->isEnabled());
    press(button);
    VekIFController &panel = VekIFController::sharedIFController();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_FALSE(inspector().isVisible());
    EXPECT_EQ(panel.imageView().image(), pixels);
    EXPECT_TRUE(panel.isCurrentReferentAlive());

    inspector().closePanels();
    EXPECT_FALSE(panel.isVisible());
    delete &panel;
}

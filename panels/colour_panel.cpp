// The shared colour panel: the dialog, its target and its will-close notice.
#include "panels/colour_panel.h"

#include "platform/foundation/notification_center.h"
#include "platform/graphics/color_conversion.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QVBoxLayout>

namespace {

ColourPanel *gSharedPanel = nullptr;

} // namespace

ColourPanel &ColourPanel::sharedColorPanel()
{
    if (!gSharedPanel)
        gSharedPanel = new ColourPanel;   // lives until the application ends
    return *gSharedPanel;
}

bool ColourPanel::sharedColorPanelExists()
{
    return gSharedPanel != nullptr;
}

ColourPanel::ColourPanel(QWidget *parent) : QDialog(parent), m_color(Color::whiteColor())
{
    setWindowTitle(tr("Colors"));
    setModal(false);
    m_dialog = new QColorDialog(this);
    m_dialog->setWindowFlags(Qt::Widget);
    m_dialog->setOptions(QColorDialog::NoButtons | QColorDialog::ShowAlphaChannel | QColorDialog::DontUseNativeDialog);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_dialog);
    connect(m_dialog, &QColorDialog::currentColorChanged, this, [this](const QColor &c) {
        if (!m_settingColor)
            pickColor(Color::colorWithCalibratedRed(float(c.redF()), float(c.greenF()), float(c.blueF()), float(c.alphaF())));
    });
}

void ColourPanel::setAccessoryView(QWidget *view)
{
    delete m_accessory;
    m_accessory = view;
    if (view)
        layout()->addWidget(view);
}

void ColourPanel::setTarget(QObject *target)
{
    m_target = target;
}

void ColourPanel::setColor(const Color &color)
{
    m_color = color;
    m_settingColor = true;
    m_dialog->setCurrentColor(toQColor(color));
    m_settingColor = false;
}

void ColourPanel::pickColor(const Color &color)
{
    setColor(color);
    if (auto *target = dynamic_cast<ColourPanelTarget *>(m_target.data()))
        target->changeColor(*this);
}

void ColourPanel::orderFront()
{
    m_willClosePosted = false;
    show();
    raise();
}

void ColourPanel::postWillClose()
{
    // Closing with the window's button goes through closeEvent and then done(): one notice.
    if (m_willClosePosted || !isVisible())
        return;
    m_willClosePosted = true;
    NotificationCenter::defaultCenter().postNotificationName(WindowWillCloseNotification, static_cast<QWidget *>(this));
}

void ColourPanel::closeEvent(QCloseEvent *event)
{
    postWillClose();
    QDialog::closeEvent(event);
}

void ColourPanel::done(int result)
{
    // Escape closes the panel through done() without a close event.
    postWillClose();
    QDialog::done(result);
}

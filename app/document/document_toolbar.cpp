// The document toolbar: its items, their state and their actions.
#include "app/document/document_toolbar.h"

#include "app/document/recent_popups.h"
#include "app/document/toolbar_icons.h"
#include "app/document/vek_document_window.h"
#include "canvas/align_commands.h"
#include "canvas/page_commands.h"
#include "canvas/page_geometry.h"
#include "canvas/ui/vek_view.h"
#include "canvas/zoom_commands.h"
#include "document/vek_document.h"
#include "model/text/vek_text_view.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_text.h"
#include "panels/colour_panel.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/user_defaults.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QString localized(const char *english)
{
    return localizedString(QString::fromLatin1(english));
}

// The label and tool tip of each of the toolbar's own items.
struct OwnItem {
    const QString &identifier;
    const char *label;
    const char *toolTip;   // null: none (the page item's tip follows the page)
};

const std::vector<OwnItem> &ownItems()
{
    static const std::vector<OwnItem> items = {
        {VekDocTBItemZoom, "Zoom", "Zoom value in %."},
        {VekDocTBItemPage, "Page", nullptr},
        {VekDocTBItemPageAdd, "Add Page", "Add one page."},
        {VekDocTBItemView, "View", "Show or hide grid, control points, or control lines."},
        {VekDocTBItemAlign, "Align", "Align the selected objects."},
        {VekDocTBItemSpace, "Offset", "Offset the selected objects equally."},
        {VekDocTBItemFont, "MyFont", "Recent font names"},
        {VekDocTBItemSize, "MySize", "Recent font sizes"},
        {VekDocTBItemColor, "MyColor", "Recent colors"},
    };
    return items;
}

const OwnItem *ownItem(const QString &identifier)
{
    for (const OwnItem &item : ownItems())
        if (item.identifier == identifier)
            return &item;
    return nullptr;
}

// The view options in the preferences, and their built-in values.
struct ViewOption {
    const char *key;
    bool builtIn;
};
constexpr ViewOption ViewOptions[] = {{"optGrid", false}, {"optPts", true}, {"optLines", true}};

bool viewOption(int index)
{
    const PropertyList value = UserDefaults::standardUserDefaults()
                                   .dictionaryForKey(DefaultsKey::Prefs)
                                   .value(QString::fromLatin1(ViewOptions[index].key));
    return value.isAbsent() ? ViewOptions[index].builtIn : value.boolValue();
}

QToolButton *makeButton(QWidget *parent, ToolbarIcon icon, const QString &name, int iconSide)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(toolbarIcon(icon));
    button->setIconSize(QSize(iconSide, iconSide));
    button->setAutoRaise(true);
    return button;
}

QLineEdit *makeNumberField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setAlignment(Qt::AlignCenter);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    return field;
}

// The platform's lenient reading of a typed number ("12abc" is 12, text 0).
int typedInteger(const QLineEdit &field)
{
    return PropertyList(field.text()).intValue();
}

// The text with its "%d" placeholders replaced by the numbers in turn.
QString withNumbers(QString text, std::initializer_list<int> numbers)
{
    for (int number : numbers)
        if (const int at = text.indexOf(QLatin1String("%d")); at >= 0)
            text.replace(at, 2, QString::number(number));
    return text;
}

void setEnabledIfPresent(QWidget *widget, bool flag)
{
    if (widget)
        widget->setEnabled(flag);
}

} // namespace

DocumentToolbar::DocumentToolbar(VekDocumentWindow &window) : m_window(window)
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    const auto fromCanvas = [this](const Notification &n) { return n.sender == static_cast<const void *>(&view()); };
    center.addObserver(this, VekViewPageDidChangeNotification, nullptr, [this, fromCanvas](const Notification &n) {
        if (fromCanvas(n))
            updateCurrentPageInfo(view().currentPage());
    });
    // A new zoom, or a new page count.
    center.addObserver(this, VekViewFrameDidChangeNotification, nullptr, [this, fromCanvas](const Notification &n) {
        if (!fromCanvas(n))
            return;
        updateZoomInfo(view().currentZoom());
        updateCurrentPageInfo(view().currentPage());
    });
    center.addObserver(this, VekViewSelectionDidChangeNotification, nullptr, [this, fromCanvas](const Notification &n) {
        if (!fromCanvas(n))
            return;
        updateTBItemAlignState();
        updateTBItemSpaceState();
    });
    setupToolbar();
    m_window.document().setRecentEntriesKeeper(this);
}

DocumentToolbar::~DocumentToolbar()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    m_window.document().setRecentEntriesKeeper(nullptr);
    delete m_toolbar.data();
}

VekView &DocumentToolbar::view() const
{
    return m_window.vekView();
}

std::vector<ToolbarItemDescription> DocumentToolbar::allowedItems()
{
    std::vector<ToolbarItemDescription> items;
    for (const OwnItem &item : ownItems())
        items.push_back({item.identifier, localized(item.label)});
    items.push_back({VekTBItemShowColors, localized("Colors")});
    items.push_back({VekTBItemPrint, localized("Print")});
    items.push_back({VekTBItemCustomize, localized("Customize")});
    items.push_back({VekTBItemFlexibleSpace, localized("Flexible Space"), true});
    items.push_back({VekTBItemSpace, localized("Space"), true});
    items.push_back({VekTBItemSeparator, localized("Separator"), true});
    return items;
}

QStringList DocumentToolbar::defaultItemIdentifiers()
{
    return {VekDocTBItemZoom,   VekDocTBItemPage,       VekDocTBItemView,  VekDocTBItemAlign,
            VekTBItemSeparator, VekTBItemFlexibleSpace, VekTBItemCustomize};
}

// ---- Building ----

void DocumentToolbar::setupToolbar()
{
    if (m_toolbar) {
        NotificationCenter::defaultCenter().removeObserverNameObject(this, VekToolbarDidClosePanelNotification,
                                                                     m_toolbar.data());
        m_window.removeToolBar(m_toolbar);
        m_toolbar->deleteLater();
    }
    m_toolbar = new VekToolbar(VekDocToolbarID, &m_window);
    m_toolbar->setAllowedItems(allowedItems());
    m_toolbar->setDefaultItemIdentifiers(defaultItemIdentifiers());
    const ToolbarConfiguration configuration = m_toolbar->configuration();
    const int iconSide = configuration.sizeMode == 1 ? 24 : 16;
    m_toolbar->setIconSize(QSize(iconSide, iconSide));
    m_toolbar->setToolButtonStyle(configuration.displayMode == 1   ? Qt::ToolButtonTextUnderIcon
                                  : configuration.displayMode == 3 ? Qt::ToolButtonTextOnly
                                                                   : Qt::ToolButtonIconOnly);
    for (const QString &identifier : configuration.itemIdentifiers)
        addItem(identifier, configuration);
    m_window.addToolBar(Qt::TopToolBarArea, m_toolbar);
    NotificationCenter::defaultCenter().addObserver(this, VekToolbarDidClosePanelNotification, m_toolbar.data(),
                                                    [this](const Notification &) { toolbarDidClosePanel(); });
    setCustomToolbarItemsEnabled(m_enabled);
}

void DocumentToolbar::addItem(const QString &identifier, const ToolbarConfiguration &configuration)
{
    if (identifier == VekTBItemSeparator) {
        m_toolbar->addSeparator();
        return;
    }
    if (identifier == VekTBItemFlexibleSpace || identifier == VekTBItemSpace) {
        auto *space = new QWidget(m_toolbar);
        if (identifier == VekTBItemFlexibleSpace)
            space->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        else
            space->setFixedWidth(16);
        m_toolbar->addWidget(space);
        return;
    }
    if (identifier == VekTBItemShowColors) {
        m_toolbar->addAction(toolbarIcon(ToolbarIcon::ShowColors), localized("Colors"), this, [] {
            ColourPanel &panel = ColourPanel::sharedColorPanel();
            if (panel.isVisible())
                panel.hide();
            else
                panel.orderFront();
        });
        return;
    }
    if (identifier == VekTBItemPrint) {
        m_toolbar->addAction(toolbarIcon(ToolbarIcon::Print), localized("Print"), this,
                             [this] { m_window.performAction(QStringLiteral("printCommand"), ActionSender()); });
        return;
    }
    if (identifier == VekTBItemCustomize) {
        VekToolbar *toolbar = m_toolbar;
        m_toolbar->addAction(toolbarIcon(ToolbarIcon::Customize), localized("Customize"), toolbar,
                             &VekToolbar::runCustomizationPalette);
        return;
    }
    const OwnItem *item = ownItem(identifier);
    if (!item)
        return;
    const int iconSide = m_toolbar->iconSize().width();
    auto *box = new QWidget(m_toolbar);
    box->setObjectName(identifier);
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    QWidget *itemView = makeOwnItemView(identifier, iconSide);
    itemView->setParent(box);
    layout->addWidget(itemView, 0, Qt::AlignHCenter);
    // Items show their label below them unless the toolbar shows pictures only.
    if (configuration.displayMode == 1 || configuration.displayMode == 3) {
        auto *label = new QLabel(localized(item->label), box);
        QFont small = label->font();
        small.setPointSizeF(small.pointSizeF() * 0.85);
        label->setFont(small);
        layout->addWidget(label, 0, Qt::AlignHCenter);
    }
    if (item->toolTip)
        box->setToolTip(localized(item->toolTip));
    QPointer<QWidget> *field = identifier == VekDocTBItemZoom      ? &m_zoomItem
                               : identifier == VekDocTBItemPage    ? &m_pageItem
                               : identifier == VekDocTBItemView    ? &m_viewItem
                               : identifier == VekDocTBItemAlign   ? &m_alignItem
                               : identifier == VekDocTBItemSpace   ? &m_spaceItem
                               : identifier == VekDocTBItemPageAdd ? &m_pageAddItem
                               : identifier == VekDocTBItemFont    ? &m_fontItem
                               : identifier == VekDocTBItemSize    ? &m_sizeItem
                                                                   : &m_colorItem;
    *field = box;
    m_toolbar->addWidget(box);
    toolbarWillAddItem(identifier);
}

QWidget *DocumentToolbar::makeOwnItemView(const QString &identifier, int iconSide)
{
    if (identifier == VekDocTBItemZoom)
        return makeZoomView(iconSide);
    if (identifier == VekDocTBItemPage)
        return makePageView(iconSide);
    if (identifier == VekDocTBItemPageAdd) {
        QToolButton *button = makeButton(nullptr, ToolbarIcon::AddPage, QStringLiteral("addPage"), iconSide);
        connect(button, &QToolButton::clicked, this, &DocumentToolbar::addPage);
        return button;
    }
    if (identifier == VekDocTBItemView) {
        m_viewButtons = new QButtonGroup(this);
        m_viewButtons->setExclusive(false);
        QWidget *row = makeButtonRow(m_viewButtons, QStringLiteral("viewOption"),
                                     {{0, int(ToolbarIcon::Grid)},
                                      {1, int(ToolbarIcon::ControlPoints)},
                                      {2, int(ToolbarIcon::ControlLines)}},
                                     true, iconSide);
        connect(m_viewButtons, &QButtonGroup::idClicked, this, [this] { toggleViewStates(); });
        const char *const tips[] = {
            "Grid: show the grid on the pages.",
            "Control points: a selected path shows its points, and dragging a point reshapes the "
            "path (a shape just drawn shows its resize knobs until it is deselected). Off: objects "
            "show resize knobs.",
            "Control lines: show the lines from a path's points to their curve handles."};
        for (int tag = 0; tag < 3; ++tag)
            m_viewButtons->button(tag)->setToolTip(localizedString(QString::fromLatin1(tips[tag])));
        return row;
    }
    if (identifier == VekDocTBItemAlign) {
        m_alignButtons = new QButtonGroup(this);
        QWidget *row = makeButtonRow(m_alignButtons, QStringLiteral("align"),
                                     {{0, int(ToolbarIcon::AlignLeft)},
                                      {1, int(ToolbarIcon::AlignCenterX)},
                                      {2, int(ToolbarIcon::AlignRight)},
                                      {3, int(ToolbarIcon::AlignTop)},
                                      {4, int(ToolbarIcon::AlignCenterY)},
                                      {5, int(ToolbarIcon::AlignBottom)}},
                                     false, iconSide);
        connect(m_alignButtons, &QButtonGroup::idClicked, this, &DocumentToolbar::alignObjects);
        return row;
    }
    if (identifier == VekDocTBItemSpace) {
        m_spaceButtons = new QButtonGroup(this);
        QWidget *row = makeButtonRow(m_spaceButtons, QStringLiteral("space"),
                                     {{1, int(ToolbarIcon::SpaceHorizontally)}, {0, int(ToolbarIcon::SpaceVertically)}},
                                     false, iconSide);
        connect(m_spaceButtons, &QButtonGroup::idClicked, this, &DocumentToolbar::makeSameSpace);
        return row;
    }
    if (identifier == VekDocTBItemColor) {
        m_colorPopup = new RecentColorsPopup;
        m_colorPopup->setObjectName(QStringLiteral("myColor"));
        connect(m_colorPopup, &QComboBox::activated, this, [this] { setMyFont(3); });
        return m_colorPopup;
    }
    const bool fonts = identifier == VekDocTBItemFont;
    auto *popup = new RecentTitlesPopup(fonts ? RecentTitlesPopup::Kind::FontNames : RecentTitlesPopup::Kind::FontSizes);
    popup->setObjectName(fonts ? QStringLiteral("myFont") : QStringLiteral("mySize"));
    (fonts ? m_fontPopup : m_sizePopup) = popup;
    connect(popup, &QComboBox::activated, this, [this, fonts] { setMyFont(fonts ? 1 : 2); });
    return popup;
}

namespace {

// A number field between a step-back and a step-forward button, as the zoom and the page
// items show them.
QWidget *makeStepperRow(int iconSide, std::pair<ToolbarIcon, QString> back, const QString &fieldName,
                        std::pair<ToolbarIcon, QString> forward, QPointer<QToolButton> &backButton,
                        QPointer<QLineEdit> &field, QPointer<QToolButton> &forwardButton)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    backButton = makeButton(row, back.first, back.second, iconSide);
    field = makeNumberField(row, fieldName);
    forwardButton = makeButton(row, forward.first, forward.second, iconSide);
    for (QWidget *part : {static_cast<QWidget *>(backButton.data()), static_cast<QWidget *>(field.data()),
                          static_cast<QWidget *>(forwardButton.data())})
        layout->addWidget(part);
    return row;
}

} // namespace

QWidget *DocumentToolbar::makeZoomView(int iconSide)
{
    QWidget *row = makeStepperRow(iconSide, {ToolbarIcon::ZoomOut, QStringLiteral("zoomOut")},
                                  QStringLiteral("zoomField"), {ToolbarIcon::ZoomIn, QStringLiteral("zoomIn")},
                                  m_zoomOut, m_zoomField, m_zoomIn);
    connect(m_zoomOut, &QToolButton::clicked, this, &DocumentToolbar::zoomOut);
    connect(m_zoomIn, &QToolButton::clicked, this, &DocumentToolbar::zoomIn);
    QLineEdit *field = m_zoomField;
    connect(field, &QLineEdit::returnPressed, this, [this, field] { zoom(typedInteger(*field)); });
    return row;
}

QWidget *DocumentToolbar::makePageView(int iconSide)
{
    QWidget *row = makeStepperRow(iconSide, {ToolbarIcon::PreviousPage, QStringLiteral("previousPage")},
                                  QStringLiteral("pageField"), {ToolbarIcon::NextPage, QStringLiteral("nextPage")},
                                  m_previousPage, m_pageField, m_nextPage);
    connect(m_previousPage, &QToolButton::clicked, this, &DocumentToolbar::previousPage);
    connect(m_nextPage, &QToolButton::clicked, this, &DocumentToolbar::nextPage);
    QLineEdit *field = m_pageField;
    connect(field, &QLineEdit::returnPressed, this, [this, field] { gotoPage(typedInteger(*field)); });
    return row;
}

QWidget *DocumentToolbar::makeButtonRow(QButtonGroup *group, const QString &namePrefix,
                                        const std::vector<std::pair<int, int>> &tagsAndIcons, bool checkable,
                                        int iconSide)
{
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const auto &[tag, icon] : tagsAndIcons) {
        QToolButton *button = makeButton(row, ToolbarIcon(icon), namePrefix + QString::number(tag), iconSide);
        button->setCheckable(checkable);
        group->addButton(button, tag);
        layout->addWidget(button);
    }
    return row;
}

void DocumentToolbar::toolbarWillAddItem(const QString &identifier)
{
    if (identifier == VekDocTBItemPage)
        updateCurrentPageInfo(view().currentPage());
    else if (identifier == VekDocTBItemZoom)
        updateZoomInfo(view().currentZoom());
    else if (identifier == VekDocTBItemView && m_viewButtons) {
        bool states[3];
        for (int i = 0; i < 3; ++i) {
            states[i] = viewOption(i);
            m_viewButtons->button(i)->setChecked(states[i]);
        }
        applyViewStates(states[0], states[1], states[2]);
    } else if (identifier == VekDocTBItemAlign)
        updateTBItemAlignState();
    else if (identifier == VekDocTBItemSpace)
        updateTBItemSpaceState();
    else if (identifier == VekDocTBItemFont && m_fontPopup)
        m_fontPopup->updateWith(QString());
    else if (identifier == VekDocTBItemSize && m_sizePopup)
        m_sizePopup->updateWith(QString());
    else if (identifier == VekDocTBItemColor && m_colorPopup)
        m_colorPopup->updateWith(std::nullopt);
}

void DocumentToolbar::toolbarDidClosePanel()
{
    const QRect frame = m_window.geometry();
    setupToolbar();
    m_window.setGeometry(frame);
}

// ---- Item state ----

void DocumentToolbar::updateCurrentPageInfo(int page)
{
    if (!m_pageItem || !m_pageField)
        return;
    const int pages = m_window.document().numberOfPages();
    m_pageField->setText(QString::number(page));
    m_pageItem->setToolTip(withNumbers(localized("Showing page %d of %d."), {page, pages}));
    const bool enabled = m_enabled && pages > 1;
    m_pageField->setEnabled(enabled);
    m_previousPage->setEnabled(enabled && page > 1);
    m_nextPage->setEnabled(enabled && page < pages);
}

void DocumentToolbar::updateZoomInfo(int zoom)
{
    if (!m_zoomItem || !m_zoomField)
        return;
    m_zoomField->setText(QString::number(zoom));
    m_zoomField->setEnabled(m_enabled);
    m_zoomOut->setEnabled(m_enabled && zoom > MinimumZoom);
    m_zoomIn->setEnabled(m_enabled && zoom < MaximumZoom);
}

void DocumentToolbar::updateTBItemAlignState()
{
    setEnabledIfPresent(m_alignItem, m_enabled && view().selectedObjects().size() > 1);
}

void DocumentToolbar::updateTBItemSpaceState()
{
    setEnabledIfPresent(m_spaceItem, m_enabled && view().selectedObjects().size() > 2);
}

void DocumentToolbar::setCustomToolbarItemsEnabled(bool flag)
{
    m_enabled = flag;
    for (QWidget *item : {m_viewItem.data(), m_fontItem.data(), m_sizeItem.data(), m_colorItem.data()})
        setEnabledIfPresent(item, flag);
    updateTBItemAlignState();
    updateTBItemSpaceState();
    updateZoomInfo(view().currentZoom());
    updateCurrentPageInfo(view().currentPage());
}

// ---- The recent pop-ups ----

void DocumentToolbar::updateMyColorWith(const Color &color)
{
    if (m_colorPopup)
        m_colorPopup->updateWith(color);
}

void DocumentToolbar::updateMyFontWith(const QString &fontName)
{
    if (m_fontPopup && !fontName.isEmpty())
        m_fontPopup->updateWith(fontName);
}

void DocumentToolbar::updateMySizeWith(float size)
{
    if (m_sizePopup && size > 0)
        m_sizePopup->updateWith(RecentTitlesPopup::titleForSize(size));
}

// ---- Actions ----

void DocumentToolbar::zoomIn()
{
    CanvasCommandContext context = view().commandContext();
    ::zoomIn(context);
}

void DocumentToolbar::zoomOut()
{
    CanvasCommandContext context = view().commandContext();
    ::zoomOut(context);
}

void DocumentToolbar::zoom(int percent)
{
    CanvasCommandContext context = view().commandContext();
    zoomTo(context, percent);
    // A value out of range shows the one applied.
    updateZoomInfo(view().currentZoom());
}

void DocumentToolbar::previousPage()
{
    view().setCurrentPageTo(view().currentPage() - 1);
}

void DocumentToolbar::nextPage()
{
    view().setCurrentPageTo(view().currentPage() + 1);
}

void DocumentToolbar::gotoPage(int page)
{
    view().setCurrentPageTo(page);
    // A number beyond the pages shows the page the canvas went to.
    updateCurrentPageInfo(view().currentPage());
}

void DocumentToolbar::toggleViewStates()
{
    if (!m_viewButtons)
        return;
    bool states[3];
    for (int i = 0; i < 3; ++i)
        states[i] = m_viewButtons->button(i)->isChecked();
    applyViewStates(states[0], states[1], states[2]);
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.updateObjectForKey(DefaultsKey::Prefs, [&states](PropertyList &prefs) {
        if (!prefs.isDictionary())
            prefs = PropertyList::dictionary();
        for (int i = 0; i < 3; ++i)
            prefs.insert(QString::fromLatin1(ViewOptions[i].key), PropertyList::fromBool(states[i]));
    });
    defaults.synchronize();
}

void DocumentToolbar::applyViewStates(bool grid, bool points, bool lines)
{
    VekView &canvas = view();
    canvas.setGridDraw(grid);
    canvas.setDrawControlLines(lines);
    if (canvas.shouldDrawControlPoints() != points) {
        canvas.setDrawControlPoints(points);
        canvas.resetCursorRects();
    }
    canvas.display();
}

void DocumentToolbar::alignObjects(int tag)
{
    if (tag < 0 || tag > 5)
        return;
    CanvasCommandContext context = view().commandContext();
    alignSelection(context, AlignEdge(tag));
    view().display();
}

void DocumentToolbar::makeSameSpace(int tag)
{
    CanvasCommandContext context = view().commandContext();
    if (context.selection.size() <= 2)
        return;
    if (tag == 1)
        makeHorizontallyEqualOffset(context);
    else
        makeVerticallyEqualOffset(context);
    view().display();
}

void DocumentToolbar::addPage()
{
    CanvasCommandContext context = view().commandContext();
    ::addPage(context);
}

void DocumentToolbar::setMyFont(int tag)
{
    QString title;
    std::optional<Color> color;
    if (tag == 1 && m_fontPopup)
        title = m_fontPopup->currentText();
    else if (tag == 2 && m_sizePopup)
        title = m_sizePopup->currentText();
    else if (tag == 3 && m_colorPopup)
        color = m_colorPopup->selectedColor();
    if (title.isEmpty() && !color)
        return;
    const float size = PropertyList(title).floatValue();

    VekView &canvas = view();
    const std::shared_ptr<VekObject> editing = canvas.editingObject();
    auto *editor = dynamic_cast<VekTextView *>(canvas.editorView());
    if (editing && editor && !editor->selectedRange().isEmpty()) {
        const TextRange range = editor->selectedRange();
        auto *text = dynamic_cast<VekObjText *>(editing.get());
        if (tag == 1 && text)
            text->setFontNameEditorRange(title, *editor, range);
        else if (tag == 2 && text && size > 0)
            text->setFontSize(size, *editor, range);
        else if (tag == 3)
            editing->setObjStrokeColor(color);
        return;
    }
    for (const std::shared_ptr<VekObject> &object : canvas.selectedObjects()) {
        const bool showsText = dynamic_cast<VekObjText *>(object.get()) || dynamic_cast<VekObjFormat *>(object.get());
        if (tag == 1 && showsText)
            object->setFontNameSize(title, 0);
        else if (tag == 2 && showsText && size > 0)
            object->setFontNameSize(QString(), size);
        else if (tag == 3 && (showsText || object->canDrawStroke()))
            object->setObjStrokeColor(color);
    }
    canvas.display();
}

// The inspector's controls: the pages that hold them, their ranges and titles, and what
// each sends; then the pop-ups, presets and remembered options the first display prepares.
#include "panels/obj_info/vek_obj_info_controller.h"

#include "panels/colour_well.h"
#include "panels/float_slider.h"
#include "panels/gradient_strip.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"
#include "toolkit/dash_styles.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString tr_(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

template <typename T>
T *named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

FloatSlider *slider(QWidget *parent, const char *name, double minimum, double maximum)
{
    return named(new FloatSlider(minimum, maximum, parent), name);
}

VekTextField *field(QWidget *parent, const char *name, int tag, VekTextFieldController *controller)
{
    auto *f = named(new VekTextField(parent), name);
    f->setTag(tag);
    f->setController(controller);
    f->setMaximumWidth(70);
    return f;
}

QCheckBox *check(QWidget *parent, const char *name, const char *title)
{
    return named(new QCheckBox(tr_(title), parent), name);
}

QPushButton *button(QWidget *parent, const char *name, const char *title, bool checkable = false)
{
    auto *b = named(new QPushButton(tr_(title), parent), name);
    b->setCheckable(checkable);
    return b;
}

// A row of radio buttons standing for a matrix; the button id is its column. In a form the
// row gets the label when there is one.
QButtonGroup *matrix(QWidget *parent, const char *name, const std::vector<const char *> &titles, QLayout *into,
                     const char *label = nullptr)
{
    auto *group = new QButtonGroup(parent);
    group->setObjectName(QString::fromLatin1(name));
    auto *row = new QHBoxLayout;
    for (int i = 0; i < int(titles.size()); ++i) {
        auto *b = new QRadioButton(tr_(titles[size_t(i)]), parent);
        b->setObjectName(QString::fromLatin1(name) + QString::number(i));
        group->addButton(b, i);
        row->addWidget(b);
    }
    if (auto *form = qobject_cast<QFormLayout *>(into))
        label ? form->addRow(tr_(label), row) : form->addRow(row);
    else
        static_cast<QBoxLayout *>(into)->addLayout(row);
    return group;
}

QComboBox *popUp(QWidget *parent, const char *name, const std::vector<const char *> &titles)
{
    auto *p = named(new QComboBox(parent), name);
    for (const char *title : titles)
        p->addItem(tr_(title));
    return p;
}

QLabel *label(QWidget *parent, const char *name)
{
    return named(new QLabel(parent), name);
}

// The sample of a dash: a grey line of width 2 across a 48 x 13 image.
QIcon dashSample(const PropertyList &info)
{
    QImage image(48, 13, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    QPen pen(Qt::gray, 2, Qt::SolidLine, Qt::FlatCap);
    const PropertyList pattern = info.value(QStringLiteral("pattern"));
    if (pattern.count() > 0) {
        QList<qreal> dashes;
        for (const PropertyList &length : pattern.elements())
            dashes << std::max(0.01, length.doubleValue() / 2);   // Qt counts in pen widths
        if (dashes.size() % 2)
            dashes << dashes;
        pen.setDashPattern(dashes);
        pen.setDashOffset(info.value(QStringLiteral("phase")).doubleValue() / 2);
    }
    p.setPen(pen);
    p.drawLine(QPointF(0, 6), QPointF(48, 6));
    return QIcon(QPixmap::fromImage(image));
}

} // namespace

void VekObjInfoController::buildControls()
{
    auto *layout = new QVBoxLayout(this);
    txObjClass = label(this, "txObjClass");
    layout->addWidget(txObjClass);
    auto *tabs = named(new QTabWidget(this), "tabs");
    // "&&": a lone "&" would mark the next letter as the tab's mnemonic.
    tabs->addTab(buildStrokeFillPage(), tr_("Stroke && Fill"));
    tabs->addTab(buildLinePage(), tr_("Line"));
    tabs->addTab(buildGradientPage(), tr_("Gradient"));
    tabs->addTab(buildTransformPage(), tr_("Transform"));
    tabs->addTab(buildOptionsPage(), tr_("Options"));
    tabs->addTab(buildTextPage(), tr_("Text"));
    tabs->addTab(buildImagePage(), tr_("Image"));
    tabs->addTab(buildPointsPage(), tr_("Points"));
    layout->addWidget(tabs);
    connectControls();
}

QWidget *VekObjInfoController::buildStrokeFillPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    cwObjStroke = named(new ColourWell(page), "cwObjStroke");
    optObjStroke = check(page, "optObjStroke", "Stroke");
    btnColorPickStroke = button(page, "btnColorPickStroke", "Pick", true);
    auto *strokeRow = new QHBoxLayout;
    strokeRow->addWidget(optObjStroke);
    strokeRow->addWidget(cwObjStroke);
    strokeRow->addWidget(btnColorPickStroke);
    form->addRow(strokeRow);
    sldrLineWidth = slider(page, "sldrLineWidth", 0, 20);
    txLineWidth = field(page, "txLineWidth", 12, this);
    auto *widthRow = new QHBoxLayout;
    widthRow->addWidget(sldrLineWidth);
    widthRow->addWidget(txLineWidth);
    form->addRow(tr_("Line width:"), widthRow);
    cwObjFill = named(new ColourWell(page), "cwObjFill");
    optObjFill = check(page, "optObjFill", "Fill");
    btnColorPickFill = button(page, "btnColorPickFill", "Pick", true);
    auto *fillRow = new QHBoxLayout;
    fillRow->addWidget(optObjFill);
    fillRow->addWidget(cwObjFill);
    fillRow->addWidget(btnColorPickFill);
    form->addRow(fillRow);
    mtxFillRule = matrix(page, "mtxFillRule", {"Non-zero", "Even-odd"}, form, "Fill rule:");
    sldrFillAlpha = slider(page, "sldrFillAlpha", 0, 1);
    txtFillAlpha = field(page, "txtFillAlpha", 12, this);
    auto *alphaRow = new QHBoxLayout;
    alphaRow->addWidget(sldrFillAlpha);
    alphaRow->addWidget(txtFillAlpha);
    form->addRow(tr_("Fill opacity:"), alphaRow);
    optExclusive = check(page, "optExclusive", "Exclusive");
    form->addRow(optExclusive);
    return page;
}

QWidget *VekObjInfoController::buildLinePage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    mtxCap = matrix(page, "mtxCap", {"Butt", "Round", "Square"}, form, "Line cap:");
    mtxJoin = matrix(page, "mtxJoin", {"Miter", "Round", "Bevel"}, form, "Line join:");
    sldrFlatness = slider(page, "sldrFlatness", 0.1, 10);
    form->addRow(tr_("Flatness:"), sldrFlatness);
    pupDash = named(new QComboBox(page), "pupDash");
    pupDash->setIconSize(QSize(48, 13));
    form->addRow(tr_("Dash:"), pupDash);
    sldrDashScale = slider(page, "sldrDashScale", 0, 10);
    form->addRow(tr_("Dash scale:"), sldrDashScale);
    pupLDrawStyles = popUp(page, "pupLDrawStyles", {"No pattern"});
    form->addRow(tr_("Line pattern:"), pupLDrawStyles);
    sldrDrawIntensity = slider(page, "sldrDrawIntensity", 0.1, 1);
    form->addRow(tr_("Intensity:"), sldrDrawIntensity);
    mtxArrowS = matrix(page, "mtxArrowS", {"None", "Open", "Filled", "Closed"}, form, "Start arrow:");
    mtxArrowE = matrix(page, "mtxArrowE", {"None", "Open", "Filled", "Closed"}, form, "End arrow:");
    sldrArrowLength = slider(page, "sldrArrowLength", 1, 50);
    form->addRow(tr_("Arrow length:"), sldrArrowLength);
    sldrArrowAngle = slider(page, "sldrArrowAngle", 5, 90);
    form->addRow(tr_("Arrow angle:"), sldrArrowAngle);
    return page;
}

QWidget *VekObjInfoController::buildOptionsPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    optNoShadow = check(page, "optNoShadow", "No shadow");
    optIndvShadow = check(page, "optIndvShadow", "Own shadow");
    btnIndvShdwVals = button(page, "btnIndvShdwVals", "Shadow Values...");
    auto *shadowRow = new QHBoxLayout;
    shadowRow->addWidget(optNoShadow);
    shadowRow->addWidget(optIndvShadow);
    shadowRow->addWidget(btnIndvShdwVals);
    form->addRow(shadowRow);
    form->addRow(new QLabel(tr_("Clip:"), page));
    mtxClipType = matrix(page, "mtxClipType", {"None", "Inside", "Outside"}, form);
    pupRepeat = popUp(page, "pupRepeat", {"This page only", "Odd pages", "Even pages", "Every page"});
    form->addRow(tr_("Repeat:"), pupRepeat);
    txRepeatStart = field(page, "txRepeatStart", 12, this);
    txRepeatEnd = field(page, "txRepeatEnd", 12, this);
    auto *pagesRow = new QHBoxLayout;
    pagesRow->addWidget(txRepeatStart);
    pagesRow->addWidget(new QLabel(tr_("to"), page));
    pagesRow->addWidget(txRepeatEnd);
    form->addRow(tr_("Pages:"), pagesRow);
    return page;
}

QWidget *VekObjInfoController::buildTextPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    optTxtConnect = check(page, "optTxtConnect", "Linked with next");
    optTxtSimpleClip = check(page, "optTxtSimpleClip", "Simple clip");
    auto *optionsRow = new QHBoxLayout;
    optionsRow->addWidget(optTxtConnect);
    optionsRow->addWidget(optTxtSimpleClip);
    form->addRow(optionsRow);
    cwTxtOutline = named(new ColourWell(page), "cwTxtOutline");
    btnColorPickTxtO = button(page, "btnColorPickTxtO", "Pick", true);
    sldrTxtOutline = slider(page, "sldrTxtOutline", -10, 10);
    auto *outlineRow = new QHBoxLayout;
    outlineRow->addWidget(cwTxtOutline);
    outlineRow->addWidget(btnColorPickTxtO);
    outlineRow->addWidget(sldrTxtOutline);
    form->addRow(tr_("Outline:"), outlineRow);
    sldrTxtPadding = slider(page, "sldrTxtPadding", 0, 50);
    txTxtPadding = field(page, "txTxtPadding", 12, this);
    auto *paddingRow = new QHBoxLayout;
    paddingRow->addWidget(sldrTxtPadding);
    paddingRow->addWidget(txTxtPadding);
    form->addRow(tr_("Padding:"), paddingRow);
    sldrTxtHyphen = slider(page, "sldrTxtHyphen", 0, 1);
    txTxtHyphen = field(page, "txTxtHyphen", 12, this);
    auto *hyphenRow = new QHBoxLayout;
    hyphenRow->addWidget(sldrTxtHyphen);
    hyphenRow->addWidget(txTxtHyphen);
    form->addRow(tr_("Hyphenation:"), hyphenRow);
    txtInfoTable = named(new QTableWidget(0, 3, page), "txtInfoTable");
    txtInfoTable->setHorizontalHeaderLabels({tr_("Font"), tr_("Size"), tr_("Text")});
    txtInfoTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    form->addRow(txtInfoTable);
    btnCreateTextImage = button(page, "btnCreateTextImage", "Make Image of Text");
    form->addRow(btnCreateTextImage);
    form->addRow(new QLabel(tr_("Text along the path:"), page));
    txAtt = named(new QLineEdit(page), "txAtt");
    form->addRow(tr_("Text:"), txAtt);
    sldrAttOffset = slider(page, "sldrAttOffset", -50, 50);
    form->addRow(tr_("Offset:"), sldrAttOffset);
    sldrAttSpace = slider(page, "sldrAttSpace", 0, 50);
    form->addRow(tr_("Spacing:"), sldrAttSpace);
    mtxAttType = matrix(page, "mtxAttType", {"Above", "Centred", "Below"}, form);
    return page;
}

QWidget *VekObjInfoController::buildGradientPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    pupGradType = popUp(page, "pupGradType", {"None"});
    form->addRow(tr_("Gradient:"), pupGradType);
    gradView = named(new VekGradientStrip(page), "gradView");
    form->addRow(gradView);
    gradViewMini = label(page, "gradViewMini");
    gradViewMini->setFixedSize(186, 36);
    gradStepper = named(new QSpinBox(page), "gradStepper");
    txGradInfo = label(page, "txGradInfo");
    auto *presetRow = new QHBoxLayout;
    presetRow->addWidget(gradViewMini);
    presetRow->addWidget(gradStepper);
    presetRow->addWidget(txGradInfo);
    form->addRow(presetRow);
    btnToGradMini = button(page, "btnToGradMini", "Keep");
    btnFromGradMini = button(page, "btnFromGradMini", "Apply");
    btnDelGrad = button(page, "btnDelGrad", "Delete");
    auto *presetButtons = new QHBoxLayout;
    presetButtons->addWidget(btnToGradMini);
    presetButtons->addWidget(btnFromGradMini);
    presetButtons->addWidget(btnDelGrad);
    form->addRow(presetButtons);
    optFlipHGrad = check(page, "optFlipHGrad", "Flip");
    form->addRow(optFlipHGrad);
    sldrRotateGrad = slider(page, "sldrRotateGrad", 0, 359);
    txRotateGrad = field(page, "txRotateGrad", 12, this);
    auto *rotateRow = new QHBoxLayout;
    rotateRow->addWidget(sldrRotateGrad);
    rotateRow->addWidget(txRotateGrad);
    form->addRow(tr_("Rotation:"), rotateRow);
    sldrGradCenterX = slider(page, "sldrGradCenterX", -1, 1);
    form->addRow(tr_("Centre x:"), sldrGradCenterX);
    sldrGradCenterY = slider(page, "sldrGradCenterY", -1, 1);
    form->addRow(tr_("Centre y:"), sldrGradCenterY);
    return page;
}

QWidget *VekObjInfoController::buildTransformPage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    txUnit = label(page, "txUnit");
    form->addRow(txUnit);
    txLocX = field(page, "txLocX", 10, this);
    txLocY = field(page, "txLocY", 10, this);
    auto *locRow = new QHBoxLayout;
    locRow->addWidget(txLocX);
    locRow->addWidget(txLocY);
    form->addRow(tr_("Location:"), locRow);
    txSzW = field(page, "txSzW", 10, this);
    txSzH = field(page, "txSzH", 10, this);
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(txSzW);
    sizeRow->addWidget(txSzH);
    form->addRow(tr_("Size:"), sizeRow);
    txMultiSelInfo = label(page, "txMultiSelInfo");
    form->addRow(txMultiSelInfo);
    optRelativeMove = check(page, "optRelativeMove", "Move relatively");
    optResizeProportional = check(page, "optResizeProportional", "Resize proportionally");
    optResizeWHtogether = check(page, "optResizeWHtogether", "Width and height together");
    form->addRow(optRelativeMove);
    form->addRow(optResizeProportional);
    form->addRow(optResizeWHtogether);
    btnLocateIntegral = button(page, "btnLocateIntegral", "Whole-point Origin");
    btnSizeIntegral = button(page, "btnSizeIntegral", "Whole-point Size");
    auto *integralRow = new QHBoxLayout;
    integralRow->addWidget(btnLocateIntegral);
    integralRow->addWidget(btnSizeIntegral);
    form->addRow(integralRow);
    optFlipH = check(page, "optFlipH", "Flip horizontally");
    optFlipV = check(page, "optFlipV", "Flip vertically");
    auto *flipRow = new QHBoxLayout;
    flipRow->addWidget(optFlipH);
    flipRow->addWidget(optFlipV);
    form->addRow(flipRow);
    sldrScale = slider(page, "sldrScale", 10, 400);
    txScale = field(page, "txScale", 0, this);
    txScale->setReadOnly(true);
    auto *scaleRow = new QHBoxLayout;
    scaleRow->addWidget(sldrScale);
    scaleRow->addWidget(txScale);
    form->addRow(tr_("Scale %:"), scaleRow);
    sldrRotate = slider(page, "sldrRotate", 0, 359);
    txRotate = field(page, "txRotate", 11, this);
    auto *rotateRow = new QHBoxLayout;
    rotateRow->addWidget(sldrRotate);
    rotateRow->addWidget(txRotate);
    form->addRow(tr_("Rotation:"), rotateRow);
    sldrSkewX = slider(page, "sldrSkewX", -1, 1);
    txSkewX = field(page, "txSkewX", 12, this);
    auto *skewXRow = new QHBoxLayout;
    skewXRow->addWidget(sldrSkewX);
    skewXRow->addWidget(txSkewX);
    form->addRow(tr_("Skew x:"), skewXRow);
    sldrSkewY = slider(page, "sldrSkewY", -1, 1);
    txSkewY = field(page, "txSkewY", 12, this);
    auto *skewYRow = new QHBoxLayout;
    skewYRow->addWidget(sldrSkewY);
    skewYRow->addWidget(txSkewY);
    form->addRow(tr_("Skew y:"), skewYRow);
    btnNaturalSize = button(page, "btnNaturalSize", "Natural Size");
    form->addRow(btnNaturalSize);
    return page;
}

QWidget *VekObjInfoController::buildImagePage()
{
    auto *page = new QWidget;
    auto *form = new QFormLayout(page);
    pupImgCompositeOps = popUp(page, "pupImgCompositeOps",
                               {"Clear", "Copy", "Source Over", "Source In", "Source Out", "Source Atop",
                                "Destination Over", "Destination In", "Destination Out", "Destination Atop", "XOR",
                                "Plus Darker", "Highlight", "Plus Lighter"});
    form->addRow(tr_("Compositing:"), pupImgCompositeOps);
    cwImgColor = named(new ColourWell(page), "cwImgColor");
    btnColorPickImg = button(page, "btnColorPickImg", "Pick", true);
    btnImgColorReset = button(page, "btnImgColorReset", "No Tint");
    auto *tintRow = new QHBoxLayout;
    tintRow->addWidget(cwImgColor);
    tintRow->addWidget(btnColorPickImg);
    tintRow->addWidget(btnImgColorReset);
    form->addRow(tr_("Tint:"), tintRow);
    txImgSzW = field(page, "txImgSzW", 0, this);
    txImgSzH = field(page, "txImgSzH", 0, this);
    optImgResizeWH = check(page, "optImgResizeWH", "Keep proportion");
    auto *pixelRow = new QHBoxLayout;
    pixelRow->addWidget(txImgSzW);
    pixelRow->addWidget(txImgSzH);
    pixelRow->addWidget(optImgResizeWH);
    form->addRow(tr_("Pixels:"), pixelRow);
    txImgBoundSz = label(page, "txImgBoundSz");
    form->addRow(tr_("Bounds:"), txImgBoundSz);
    optImageObjOnly = check(page, "optImageObjOnly", "Whole points for images only");
    form->addRow(optImageObjOnly);
    pupImgEffects = popUp(page, "pupImgEffects", {"Star Shine", "Sunbeams", "Lenticular Halo"});
    cwEffectColor = named(new ColourWell(page), "cwEffectColor");
    cwEffectColor->setColor(Color::colorWithCalibratedRed(1, 0.8f, 0.3f));
    auto *effectRow = new QHBoxLayout;
    effectRow->addWidget(pupImgEffects);
    effectRow->addWidget(cwEffectColor);
    form->addRow(tr_("Effect:"), effectRow);
    for (int i = 0; i < 4; ++i) {
        txImgEfctPara[i] = named(new QLabel(page), "txImgEfctPara");
        txImgEfctPara[i]->setObjectName(QStringLiteral("txImgEfctPara%1").arg(i + 1));
        sldrImgEfctPara[i] = new FloatSlider(0, 1, page);
        sldrImgEfctPara[i]->setObjectName(QStringLiteral("sldrImgEfctPara%1").arg(i + 1));
        form->addRow(txImgEfctPara[i], sldrImgEfctPara[i]);
    }
    btnImgGenerate = button(page, "btnImgGenerate", "Generate Image");
    btnImgOpenIFpanel = button(page, "btnImgOpenIFpanel", "Image Filters...");
    btnCreatePathImage = button(page, "btnCreatePathImage", "Make Image of Paths");
    auto *effectButtons = new QHBoxLayout;
    effectButtons->addWidget(btnImgGenerate);
    effectButtons->addWidget(btnImgOpenIFpanel);
    effectButtons->addWidget(btnCreatePathImage);
    form->addRow(effectButtons);
    progIndImgHandling = named(new QProgressBar(page), "progIndImgHandling");
    progIndImgHandling->setRange(0, 1);
    progIndImgHandling->setValue(0);
    form->addRow(progIndImgHandling);
    return page;
}

QWidget *VekObjInfoController::buildPointsPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    mtxPtsRelative = matrix(page, "mtxPtsRelative", {"Document", "Page", "Bounds"}, layout);
    ptsTable = named(new QTableWidget(0, 4, page), "ptsTable");
    ptsTable->setHorizontalHeaderLabels({QString(), QStringLiteral("x"), QStringLiteral("y"), tr_("Kind")});
    ptsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    ptsTable->setSelectionMode(QAbstractItemView::SingleSelection);
    ptsTable->verticalHeader()->hide();
    layout->addWidget(ptsTable);
    btnDeselectPoint = button(page, "btnDeselectPoint", "Deselect Point");
    btnDeletePoint = button(page, "btnDeletePoint", "Delete Point");
    btnPtsAdjust = button(page, "btnPtsAdjust", "Half-point Positions");
    optPtsEach = check(page, "optPtsEach", "Each point");
    auto *pointRow = new QHBoxLayout;
    pointRow->addWidget(btnDeselectPoint);
    pointRow->addWidget(btnDeletePoint);
    pointRow->addWidget(btnPtsAdjust);
    pointRow->addWidget(optPtsEach);
    layout->addLayout(pointRow);
    auto *copyForm = new QGridLayout;
    txMove = named(new QLineEdit(page), "txMove");
    txLine = named(new QLineEdit(page), "txLine");
    txCurve = named(new QLineEdit(page), "txCurve");
    txClose = named(new QLineEdit(page), "txClose");
    txMove->setPlaceholderText(QStringLiteral("M"));
    txLine->setPlaceholderText(QStringLiteral("L"));
    txCurve->setPlaceholderText(QStringLiteral("C"));
    txClose->setPlaceholderText(QStringLiteral("Z"));
    copyForm->addWidget(txMove, 0, 0);
    copyForm->addWidget(txLine, 0, 1);
    copyForm->addWidget(txCurve, 0, 2);
    copyForm->addWidget(txClose, 0, 3);
    optPtsCopyL = check(page, "optPtsCopyL", "Keywords");
    optPtsCopyP = check(page, "optPtsCopyP", "Brackets");
    optPtsCopyC = check(page, "optPtsCopyC", "Commas");
    copyForm->addWidget(optPtsCopyL, 1, 0);
    copyForm->addWidget(optPtsCopyP, 1, 1);
    copyForm->addWidget(optPtsCopyC, 1, 2);
    btnCopyPoints = button(page, "btnCopyPoints", "Copy Points");
    copyForm->addWidget(btnCopyPoints, 1, 3);
    layout->addLayout(copyForm);
    return page;
}

void VekObjInfoController::connectControls()
{
    // Colours.
    for (ColourWell *well : {cwObjStroke, cwObjFill, cwTxtOutline, cwImgColor})
        connect(well, &ColourWell::colorChanged, this, [this, well] { changeObjectColor(well); });
    connect(btnImgColorReset, &QPushButton::clicked, this, &VekObjInfoController::resetImageColor);
    for (QPushButton *pick : {btnColorPickStroke, btnColorPickFill, btnColorPickTxtO, btnColorPickImg})
        connect(pick, &QPushButton::clicked, this, [this, pick] {
            // The button's state follows the pick, not the click.
            pick->setChecked(pickColorOwner() == this && m_pickTarget);
            togglePickColor(pick);
        });
    // Line width.
    connect(sldrLineWidth, &FloatSlider::floatValueChanged, this, [this] { changeLineWidth(sldrLineWidth); });
    connect(sldrTxtOutline, &FloatSlider::floatValueChanged, this, [this](double, bool released) {
        if (released)
            changeLineWidth(sldrTxtOutline);
    });
    // Pop-ups and matrices.
    for (QComboBox *p : {pupGradType, pupRepeat, pupImgCompositeOps, pupDash, pupLDrawStyles})
        connect(p, &QComboBox::activated, this, [this, p] { changeObjectProperty(p); });
    for (QButtonGroup *m : {mtxCap, mtxJoin, mtxArrowS, mtxArrowE, mtxAttType, mtxFillRule, mtxClipType})
        connect(m, &QButtonGroup::idClicked, this, [this, m] { changeObjectProperty(m); });
    // Switches.
    for (QCheckBox *c : {optObjFill, optExclusive, optObjStroke, optTxtConnect, optTxtSimpleClip, optFlipHGrad, optFlipH,
                         optFlipV})
        connect(c, &QCheckBox::clicked, this, [this, c] { changeObjectOption(c); });
    for (QObject *s : std::initializer_list<QObject *>{optNoShadow, optIndvShadow, btnIndvShdwVals})
        connect(static_cast<QAbstractButton *>(s), &QAbstractButton::clicked, this,
                [this, s] { changeObjectShadowOption(s); });
    // Sliders whose value goes to the objects.
    for (FloatSlider *s : {sldrSkewX, sldrSkewY, sldrFlatness, sldrDashScale, sldrDrawIntensity, sldrFillAlpha,
                           sldrRotateGrad, sldrGradCenterX, sldrGradCenterY, sldrAttOffset, sldrAttSpace,
                           sldrArrowLength, sldrArrowAngle, sldrTxtPadding, sldrTxtHyphen})
        connect(s, &FloatSlider::floatValueChanged, this, [this, s](double, bool released) { changeSliderValue(s, released); });
    connect(sldrRotate, &FloatSlider::floatValueChanged, this, &VekObjInfoController::rotateBySlider);
    connect(sldrScale, &FloatSlider::floatValueChanged, this,
            [this](double, bool released) { scaleProportionally(released); });
    connect(btnNaturalSize, &QPushButton::clicked, this, &VekObjInfoController::changeToNaturalSize);
    connect(btnLocateIntegral, &QPushButton::clicked, this, &VekObjInfoController::locateAtIntegralOrigin);
    connect(btnSizeIntegral, &QPushButton::clicked, this, &VekObjInfoController::setSizeIntegral);
    for (VekTextField *f : {txImgSzW, txImgSzH})
        connect(f, &QLineEdit::editingFinished, this, [this, f] { changeImageSize(*f); });
    connect(txAtt, &QLineEdit::editingFinished, this, &VekObjInfoController::updateAttString);
    // Gradient presets.
    for (QPushButton *b : {btnToGradMini, btnFromGradMini})
        connect(b, &QPushButton::clicked, this, [this, b] { toFromGradViews(b); });
    connect(gradStepper, &QSpinBox::valueChanged, this, [this] { updateGradViewMini(gradStepper); });
    connect(btnDelGrad, &QPushButton::clicked, this, [this] { updateGradViewMini(btnDelGrad); });
    // Images.
    connect(pupImgEffects, &QComboBox::activated, this, &VekObjInfoController::updateEffectParameterOutlets);
    connect(btnImgGenerate, &QPushButton::clicked, this, &VekObjInfoController::addEffectImage);
    connect(btnImgOpenIFpanel, &QPushButton::clicked, this, &VekObjInfoController::openIFPanel);
    connect(btnCreateTextImage, &QPushButton::clicked, this, &VekObjInfoController::createTextImage);
    connect(btnCreatePathImage, &QPushButton::clicked, this, &VekObjInfoController::createPathImage);
    // Points.
    connect(btnDeselectPoint, &QPushButton::clicked, this, &VekObjInfoController::deselectPoint);
    connect(btnDeletePoint, &QPushButton::clicked, this, &VekObjInfoController::deleteAction);
    connect(btnPtsAdjust, &QPushButton::clicked, this, &VekObjInfoController::adjustHalfPosition);
    connect(btnCopyPoints, &QPushButton::clicked, this, [this] {
        copyPointsToClipboard(QGuiApplication::keyboardModifiers() & Qt::AltModifier);
    });
    connect(mtxPtsRelative, &QButtonGroup::idClicked, this, [this] { updatePoints(mtxPtsRelative); });
    for (QLineEdit *keyword : {txMove, txLine, txCurve, txClose})
        connect(keyword, &QLineEdit::editingFinished, this, [this, keyword] { updatePoints(keyword); });
    for (QCheckBox *option : {optPtsCopyL, optPtsCopyP, optPtsCopyC, optRelativeMove, optResizeProportional,
                              optResizeWHtogether})
        connect(option, &QCheckBox::clicked, this, [this, option] { updatePreferences(option); });
    connectPointTable();
}

void VekObjInfoController::addDashItem(int number, const PropertyList &info)
{
    pupDash->addItem(dashSample(info), QString(), number);
}

void VekObjInfoController::setupLineDrawStylePopups()
{
    pupDash->clear();
    addDashItem(0, {});
    m_dashes.build(availableDashPatterns());
    for (const auto &[number, info] : m_dashes.infos())
        addDashItem(number, info);
    const QString noPattern = pupLDrawStyles->itemText(0);
    pupLDrawStyles->clear();
    pupLDrawStyles->addItem(noPattern, 0);
    for (int n = 1; n <= 4; ++n)
        pupLDrawStyles->addItem(localizedString(QStringLiteral("Pattern %1")).arg(n), n);
}

void VekObjInfoController::setupGradientTypes()
{
    const std::vector<const char *> titles = {"Linear", "Rectangular", "Circular", "Oval", "Radial"};
    for (int n = 1; n <= int(titles.size()); ++n)
        if (pupGradType->count() <= n)
            pupGradType->addItem(tr_(titles[size_t(n - 1)]), n);
}

void VekObjInfoController::setupGradViews()
{
    m_presets.load(UserDefaults::standardUserDefaults());
    if (m_presets.count() > 0) {
        gradStepper->setRange(0, m_presets.count() - 1);
        showPreset(0);
    } else {
        gradStepper->setRange(0, 0);
        txGradInfo->setText(QStringLiteral("0/0"));
    }
}

void VekObjInfoController::showPreset(int index)
{
    gradViewMini->setPixmap(QPixmap::fromImage(m_presets.sampleImage(index)));
    txGradInfo->setText(QStringLiteral("%1/%2").arg(index + 1).arg(m_presets.count()));
}

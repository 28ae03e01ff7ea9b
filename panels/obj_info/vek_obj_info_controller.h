// VekObjInfoController: the object inspector, one floating panel that shows and edits the
// attributes of the selected drawing objects of the main window's document: stroke and
// fill, line style, dashes and line patterns, arrows, gradients, text options, text along a
// path, repetition over pages, clipping, shadow switches, transform, location and size,
// image options and effects, and the points of an editable path.
//
// It follows the main window's canvas (mainPanelCanvas) and refreshes every control from
// the objects when the selection or the shown object changes; it keeps no attribute values
// of its own beyond the point rows, the dash table and the gradient presets. Every edit goes
// through the objects' own setters, which register the undo, and the inspector names the
// undo step. The controls are public outlets named as the objects' attributes call them.
//
// The members are spread over files by job: set-up, observation and picking
// (vek_obj_info_controller.cpp), the controls (vek_obj_info_controls.cpp), the refresh
// (vek_obj_info_refresh.cpp), the attribute actions (vek_obj_info_attributes.cpp), location,
// size and transforms (vek_obj_info_bounds.cpp) and the point table, points as text and
// remembered options (vek_obj_info_points.cpp).
#pragma once

#include "panels/obj_info/dash_table.h"
#include "panels/obj_info/gradient_presets.h"
#include "panels/picker/colour_pick.h"
#include "panels/vek_text_field.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class ColourWell;
class FloatSlider;
class PanelCanvas;
class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class VekGradientStrip;
class VekObject;

class VekObjInfoController : public QWidget, public VekTextFieldController, public ColourPickOwner {
    Q_OBJECT
public:
    static VekObjInfoController &sharedObjInfoController();
    static bool sharedObjInfoControllerExists();

    // ---- Target and refresh ----

    // The object shown: the main canvas's current object, else its first selected one.
    std::shared_ptr<VekObject> currentObject();
    // Refreshes every control from the selection (builds the controls on the first call).
    void updateInfo();
    // Shows the panel refreshed.
    void showWindow();
    // A closing document: the inspector goes (and the filter panel with it).
    void closePanels();
    // The main window changed: with no document left the inspector goes, else it refreshes.
    void mainWindowChanged();
    // The dash information of a dash number (for the path objects), or absent.
    PropertyList dashInfoFor(int number);
    // The display name of a drawing-object class ("VekObjText" -> "Text"; "Path" for the rest).
    static QString displayNameOfObjClass(const QString &className);

    // ---- Actions (the controls send them; tests and the shell may too) ----

    void changeObjectColor(ColourWell *well);
    void resetImageColor();
    void changeLineWidth(QObject *sender);
    void changeObjectProperty(QObject *sender);
    void changeObjectOption(QAbstractButton *sender);
    void changeObjectShadowOption(QObject *sender);
    void updateAttString();
    void toFromGradViews(QObject *sender);
    void updateGradViewMini(QObject *sender);
    void addEffectImage();
    void createTextImage();
    void createPathImage();
    void updateEffectParameterOutlets();
    void togglePickColor(QObject *sender) override;
    // The image filter panel on the current image object (the inspector goes meanwhile);
    // for another object the filter panel goes.
    void openIFPanel();

    // VekTextFieldController: tag 10 bounds, 11 rotation, 12 values.
    void changeObjectBounds(VekTextField &field) override;
    void rotate(VekTextField &field) override;
    void changeObjectValue(VekTextField &field) override;
    // The sliders' values (the value fields arrive through changeObjectValue).
    void changeSliderValue(FloatSlider *slider, bool released);
    void rotateBySlider();
    void scaleProportionally(bool released);
    void changeToNaturalSize();
    void changeImageSize(VekTextField &field);
    void locateAtIntegralOrigin();
    void setSizeIntegral();

    // The point table.
    void updatePointTable(const std::shared_ptr<VekObject> &object);
    void selectRowOfElementNrAndPointNr(int element, int point);
    void deselectPoint();
    void adjustHalfPosition();
    void updatePoints(QObject *sender);
    void deleteAction();
    // Copies the points as text; `round` writes round brackets (the Alt key held).
    void copyPointsToClipboard(bool round);
    QString pointsAsString(bool round) const;
    const QStringList &pointRows() const { return m_points; }
    const DashTable &dashTable() const { return m_dashes; }
    const GradientPresets &gradientPresets() const { return m_presets; }

    // ---- The controls (outlets) ----

    // Stroke and fill.
    ColourWell *cwObjStroke = nullptr, *cwObjFill = nullptr;
    QCheckBox *optObjStroke = nullptr, *optObjFill = nullptr;
    QPushButton *btnColorPickStroke = nullptr, *btnColorPickFill = nullptr;
    FloatSlider *sldrLineWidth = nullptr;
    VekTextField *txLineWidth = nullptr;
    QButtonGroup *mtxFillRule = nullptr;
    FloatSlider *sldrFillAlpha = nullptr;
    VekTextField *txtFillAlpha = nullptr;
    // Line style.
    QButtonGroup *mtxCap = nullptr, *mtxJoin = nullptr;
    FloatSlider *sldrFlatness = nullptr;
    QComboBox *pupDash = nullptr;
    FloatSlider *sldrDashScale = nullptr;
    QComboBox *pupLDrawStyles = nullptr;
    FloatSlider *sldrDrawIntensity = nullptr;
    QButtonGroup *mtxArrowS = nullptr, *mtxArrowE = nullptr;
    FloatSlider *sldrArrowLength = nullptr, *sldrArrowAngle = nullptr;
    // Object options.
    QCheckBox *optExclusive = nullptr, *optNoShadow = nullptr, *optIndvShadow = nullptr;
    QPushButton *btnIndvShdwVals = nullptr;
    QButtonGroup *mtxClipType = nullptr;
    QComboBox *pupRepeat = nullptr;
    VekTextField *txRepeatStart = nullptr, *txRepeatEnd = nullptr;
    // Text.
    QCheckBox *optTxtConnect = nullptr, *optTxtSimpleClip = nullptr;
    ColourWell *cwTxtOutline = nullptr;
    QPushButton *btnColorPickTxtO = nullptr;
    FloatSlider *sldrTxtOutline = nullptr;
    FloatSlider *sldrTxtPadding = nullptr;
    VekTextField *txTxtPadding = nullptr;
    FloatSlider *sldrTxtHyphen = nullptr;
    VekTextField *txTxtHyphen = nullptr;
    QTableWidget *txtInfoTable = nullptr;
    QPushButton *btnCreateTextImage = nullptr;
    // Text along a path.
    FloatSlider *sldrAttOffset = nullptr, *sldrAttSpace = nullptr;
    QButtonGroup *mtxAttType = nullptr;
    QLineEdit *txAtt = nullptr;
    // Gradient.
    QComboBox *pupGradType = nullptr;
    VekGradientStrip *gradView = nullptr;
    QLabel *gradViewMini = nullptr;
    QSpinBox *gradStepper = nullptr;
    QLabel *txGradInfo = nullptr;
    QPushButton *btnToGradMini = nullptr, *btnFromGradMini = nullptr, *btnDelGrad = nullptr;
    QCheckBox *optFlipHGrad = nullptr;
    FloatSlider *sldrRotateGrad = nullptr;
    VekTextField *txRotateGrad = nullptr;
    FloatSlider *sldrGradCenterX = nullptr, *sldrGradCenterY = nullptr;
    // Transform.
    QCheckBox *optFlipH = nullptr, *optFlipV = nullptr;
    FloatSlider *sldrScale = nullptr;
    VekTextField *txScale = nullptr;
    FloatSlider *sldrRotate = nullptr;
    VekTextField *txRotate = nullptr;
    FloatSlider *sldrSkewX = nullptr, *sldrSkewY = nullptr;
    VekTextField *txSkewX = nullptr, *txSkewY = nullptr;
    QPushButton *btnNaturalSize = nullptr;
    // Location and size.
    QLabel *txUnit = nullptr;
    VekTextField *txLocX = nullptr, *txLocY = nullptr, *txSzW = nullptr, *txSzH = nullptr;
    QLabel *txMultiSelInfo = nullptr;
    QCheckBox *optRelativeMove = nullptr, *optResizeProportional = nullptr, *optResizeWHtogether = nullptr;
    QPushButton *btnLocateIntegral = nullptr, *btnSizeIntegral = nullptr;
    // Image.
    QComboBox *pupImgCompositeOps = nullptr;
    ColourWell *cwImgColor = nullptr;
    QPushButton *btnImgColorReset = nullptr, *btnColorPickImg = nullptr;
    QCheckBox *optImgResizeWH = nullptr, *optImageObjOnly = nullptr;
    VekTextField *txImgSzW = nullptr, *txImgSzH = nullptr;
    QLabel *txImgBoundSz = nullptr;
    QProgressBar *progIndImgHandling = nullptr;
    QComboBox *pupImgEffects = nullptr;
    ColourWell *cwEffectColor = nullptr;
    QPushButton *btnImgGenerate = nullptr, *btnImgOpenIFpanel = nullptr, *btnCreatePathImage = nullptr;
    FloatSlider *sldrImgEfctPara[4] = {};
    QLabel *txImgEfctPara[4] = {};
    // Points.
    QTableWidget *ptsTable = nullptr;
    QPushButton *btnPtsAdjust = nullptr, *btnDeselectPoint = nullptr, *btnCopyPoints = nullptr,
                *btnDeletePoint = nullptr;
    QCheckBox *optPtsEach = nullptr, *optPtsCopyL = nullptr, *optPtsCopyP = nullptr, *optPtsCopyC = nullptr;
    QButtonGroup *mtxPtsRelative = nullptr;
    QLineEdit *txMove = nullptr, *txLine = nullptr, *txCurve = nullptr, *txClose = nullptr;
    // Label.
    QLabel *txObjClass = nullptr;

private:
    VekObjInfoController();
    ~VekObjInfoController() override;

    // Set-up (vek_obj_info_controls.cpp).
    void prepareForFirstDisplay();
    void buildControls();
    QWidget *buildStrokeFillPage();
    QWidget *buildLinePage();
    QWidget *buildOptionsPage();
    QWidget *buildTextPage();
    QWidget *buildGradientPage();
    QWidget *buildTransformPage();
    QWidget *buildImagePage();
    QWidget *buildPointsPage();
    void connectControls();
    void connectPointTable();
    void setupLineDrawStylePopups();
    void setupGradientTypes();
    void setupGradViews();
    void setupUserPrefs();
    // Records a remembered option's new value.
    void updatePreferences(QObject *sender);
    // Adds a dash pop-up item (sample image, the number as its data).
    void addDashItem(int number, const PropertyList &info);

    // Refresh (vek_obj_info_refresh.cpp).
    void updateForOneObject(const std::shared_ptr<VekObject> &o);
    void updateForSeveralObjects(int count);
    void updateForZeroSelection();
    void updateShadowInfoFor(const std::shared_ptr<VekObject> &o);
    void updateTxtInfoTable(const std::shared_ptr<VekObject> &o);
    void updateObjectClassInfo(const std::shared_ptr<VekObject> &o, int count);
    void updateLocSizeInfo();
    void updateGradientBox(const std::shared_ptr<VekObject> &o);
    // The dash item of an object, matching a dash of another run to this run's table.
    int dashItemFor(VekObject &o);
    void showPreset(int index);
    void setAllControlsEnabled(bool enabled);

    // Observation.
    void selectionChanged();
    void objectChanged(const void *sender);
    // Objects changed together; `changed` tells which.
    void objectChanged(const std::function<bool(const VekObject *)> &changed);
    void objectPathChanged(const void *sender);
    void objectPathSelectionChanged(const void *sender);

    // The selection of the main canvas (empty without one) and the undo step's name.
    std::vector<std::shared_ptr<VekObject>> selection() const;
    void nameUndo(const QString &name);
    // After a bounds change: the fields, the rulers' markers and the undo step's name.
    void finishBoundsChange(const QString &undoName);
    int selectedUnit() const;

    PanelCanvas *m_canvas = nullptr;   // the canvas last looked at (valid while refreshing)
    QStringList m_points;
    DashTable m_dashes;
    GradientPresets m_presets;
    bool m_firstDisplay = true;
    bool m_refreshing = false;   // set while controls are filled, so that they send nothing
    QPointer<ColourWell> m_pickTarget;
};

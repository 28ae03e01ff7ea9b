// VekShadowController: the shared shadow panel. It edits either the shadow of the main
// window's document (the document info panel opens it so) or the own shadows of that
// document's selected objects (the object inspector opens it so): a dial for direction and
// distance, fields for both, a blur slider, a colour well with a screen pick, and two
// buttons that reset the values to the level above or save them as that level's default
// (the application's defaults above a document, the document above its objects).
#pragma once

#include "panels/picker/colour_pick.h"
#include "platform/foundation/property_list.h"

#include <QPointer>
#include <QWidget>

class ColourWell;
class FloatSlider;
class PanelCanvas;
class QLineEdit;
class QPushButton;
class VekDocument;
class VekShadowView;

enum class ShadowPanelLevel { Document, Objects };

class VekShadowController : public QWidget, public ColourPickOwner {
    Q_OBJECT
public:
    // Tag of the reset button; the save button has any other.
    static constexpr int ResetTag = 10;

    static VekShadowController &sharedShadowController();
    // Whether the shared panel has been made.
    static bool sharedShadowControllerExists();

    // The application's default shadow: the user default "shadow", else angle 180, offset
    // 5, blur 5 and the control shadow grey at alpha 0.9.
    static PropertyList defaultShadowValues();

    // The panel's entry point: loads the values of the level for the main window's document
    // (its shadow, or its current object's) and, with `show`, brings the panel to the front.
    void updateAndShowWindow(bool show, ShadowPanelLevel level);
    ShadowPanelLevel level() const { return m_level; }
    // The document the panel edits, or null.
    VekDocument *currentDocument() const;
    // A closing document: the panel goes and forgets it.
    void documentWillClose(const VekDocument &document);

    // Actions of the controls.
    void changeOffsetAngle(float offset, float angle);
    void changeOffset();
    void changeAngle();
    void changeBlur();
    void changeShadowColor();
    void handleDefaultShadow(int tag);
    void togglePickColor(QObject *sender) override;

    // Shows a message (the save's confirmation); tests replace it.
    std::function<void(const QString &title, const QString &message)> alert;

    // The controls (the panel's outlets).
    ColourWell *cwShadow = nullptr;
    VekShadowView *shadowView = nullptr;
    FloatSlider *sldrBlur = nullptr;
    QPushButton *btnColorPicker = nullptr;
    QLineEdit *txAngle = nullptr;
    QLineEdit *txOffset = nullptr;
    QPushButton *btnReset = nullptr;
    QPushButton *btnSaveDefault = nullptr;

protected:
    void changeEvent(QEvent *event) override;

private:
    VekShadowController();
    // The canvas of the edited document while it is the main window's, else null.
    PanelCanvas *canvas() const;
    void showValues(const PropertyList &values, bool angleAsInteger);
    void setValueControlsEnabled(bool enabled);
    // Each selected object's own shadow values with the change applied.
    void changeSelectedObjects(const std::function<void(PropertyList &values)> &change);

    ShadowPanelLevel m_level = ShadowPanelLevel::Document;
    PanelCanvas *m_canvas = nullptr;
    QPointer<QObject> m_canvasAlive;   // the canvas widget; null once it is gone
};

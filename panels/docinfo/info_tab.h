// The document info panel's info tab: metadata (author, title, copyright, keywords, with
// the user's default author and copyright), the drawing options, the document shadow switch,
// link text colour and underline, the background colour and the preview options that the
// thumbnailer reads. Every edit is an undoable change of the shown document.
#pragma once

#include "panels/picker/colour_pick.h"

#include <QWidget>

#include <functional>

class ColourWell;
class QCheckBox;
class QLineEdit;
class QPushButton;
class VekDocInfoController;

class InfoTab : public QWidget, public ColourPickOwner {
    Q_OBJECT
public:
    explicit InfoTab(VekDocInfoController &controller, QWidget *parent = nullptr);

    // Fills the controls from the shown document, or blanks and disables them.
    void updateDocumentInfo();
    // What the shadow panel button does; without one the button stays disabled.
    void setShadowPanelOpener(std::function<void()> open) { m_openShadowPanel = std::move(open); }

    // The default author and copyright in the user defaults ("meta"); tags 10 to 13 as the
    // buttons send them: 10 take the default author, 11 store it, 12 and 13 the copyright.
    void changeMetaInfoWithTag(int tag);
    // The screen pick for the background colour: btnColorPickBG starts it, the picker's
    // callback ends it and gives the picked colour to the document.
    void togglePickColor(QObject *sender) override;

    QLineEdit *txAuthor = nullptr, *txTitle = nullptr, *txCopyright = nullptr, *txKeywords = nullptr;
    ColourWell *cwBackground = nullptr, *cwLinkText = nullptr;
    QPushButton *btnColorPickBG = nullptr;
    QCheckBox *optLinkTextULine = nullptr;
    QCheckBox *optSmoothFonts = nullptr, *optAntialias = nullptr, *optCMYK = nullptr;
    QCheckBox *optShadow = nullptr;
    QPushButton *btnShowShadowPanel = nullptr;
    QCheckBox *optQL = nullptr, *optQLthumbD = nullptr, *optQLpreviewD = nullptr;

private:
    void changeMetaInfo(QLineEdit *field);
    void changeDrawOption(QCheckBox *box);
    void changeShadowOption();
    void changeLinkTextOption(QObject *sender);
    void changeBackgroundColor();
    void changeQLOption();

    VekDocInfoController &m_controller;
    std::function<void()> m_openShadowPanel;
};

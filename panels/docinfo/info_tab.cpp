// The info tab's controls and their undoable edits.
#include "panels/docinfo/info_tab.h"

#include "canvas/background_color_command.h"
#include "panels/colour_well.h"
#include "panels/docinfo/doc_info_controller.h"
#include "panels/docinfo/document_settings.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/user_defaults.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

const QString MetaKey = QStringLiteral("meta");

QString defaultMetaValue(const QString &key)
{
    return UserDefaults::standardUserDefaults().dictionaryForKey(MetaKey).value(key).stringValue();
}

void storeDefaultMetaValue(const QString &key, const QString &value)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    PropertyList meta = defaults.dictionaryForKey(MetaKey);
    if (!meta.isDictionary())
        meta = PropertyList::dictionary();
    meta.insert(key, PropertyList(value));
    defaults.setObject(meta, MetaKey);
    defaults.synchronize();
}

// A colour well seen as the control the background colour command reads and answers.
class WellControl : public ColorControl {
public:
    explicit WellControl(ColourWell &well) : m_well(well) {}
    Color color() const override { return m_well.color(); }
    void setColor(const Color &color) override { m_well.setColor(color); }

private:
    ColourWell &m_well;
};

using StringSetter = void (VekDocument::*)(const std::optional<QString> &);
using StringGetter = QString (VekDocument::*)() const;

void changeMetadata(VekDocument &document, const QString &name, StringGetter get, StringSetter set,
                    const QString &value)
{
    changeDocumentSetting<QString>(document, name, (document.*get)(), value,
                                   [set](VekDocument &d, const QString &v) {
                                       (d.*set)(v.isEmpty() ? std::nullopt : std::optional<QString>(v));
                                   });
}

void changeFlag(VekDocument &document, const QString &name, int before, int after,
                void (VekDocument::*set)(int, bool))
{
    changeDocumentSetting<int>(document, name, before, after, [set](VekDocument &d, const int &v) { (d.*set)(v, false); });
}

} // namespace

InfoTab::InfoTab(VekDocInfoController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    auto *form = new QFormLayout(this);
    auto field = [this, form](QLineEdit *&edit, const char *name, const char *label) -> QHBoxLayout * {
        edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { changeMetaInfo(edit); });
        auto *row = new QHBoxLayout;
        row->addWidget(edit);
        form->addRow(localized(label), row);
        return row;
    };
    auto defaultsButtons = [this](QHBoxLayout *row, int takeTag) {
        for (int tag : {takeTag, takeTag + 1}) {
            auto *button = new QPushButton(localized(tag == takeTag ? "Default" : "Set as Default"), this);
            button->setObjectName(QStringLiteral("metaTag%1").arg(tag));
            connect(button, &QPushButton::clicked, this, [this, tag] { changeMetaInfoWithTag(tag); });
            row->addWidget(button);
        }
    };
    defaultsButtons(field(txAuthor, "txAuthor", "Author"), 10);
    field(txTitle, "txTitle", "Title");
    defaultsButtons(field(txCopyright, "txCopyright", "Copyright"), 12);
    field(txKeywords, "txKeywords", "Keywords");

    auto box = [this, form](QCheckBox *&check, const char *name, const char *label) {
        check = new QCheckBox(localized(label), this);
        check->setObjectName(QLatin1String(name));
        form->addRow(check);
    };
    box(optSmoothFonts, "optSmoothFonts", "Smooth fonts");
    box(optAntialias, "optAntialias", "Antialiasing");
    box(optCMYK, "optCMYK", "Use CMYK colours");
    for (QCheckBox *option : {optSmoothFonts, optAntialias, optCMYK})
        connect(option, &QCheckBox::clicked, this, [this, option] { changeDrawOption(option); });

    box(optShadow, "optShadow", "Document shadow");
    btnShowShadowPanel = new QPushButton(localized("Shadow..."), this);
    btnShowShadowPanel->setObjectName(QStringLiteral("btnShowShadowPanel"));
    form->addRow(btnShowShadowPanel);
    connect(optShadow, &QCheckBox::clicked, this, [this] { changeShadowOption(); });
    connect(btnShowShadowPanel, &QPushButton::clicked, this, [this] {
        if (m_openShadowPanel)
            m_openShadowPanel();
    });

    cwLinkText = new ColourWell(this);
    cwLinkText->setObjectName(QStringLiteral("cwLinkText"));
    form->addRow(localized("Link text colour"), cwLinkText);
    box(optLinkTextULine, "optLinkTextULine", "Underline link text");
    connect(cwLinkText, &ColourWell::colorChanged, this, [this] { changeLinkTextOption(cwLinkText); });
    connect(optLinkTextULine, &QCheckBox::clicked, this, [this] { changeLinkTextOption(optLinkTextULine); });

    cwBackground = new ColourWell(this);
    cwBackground->setObjectName(QStringLiteral("cwBackground"));
    btnColorPickBG = new QPushButton(localized("Pick"), this);
    btnColorPickBG->setObjectName(QStringLiteral("btnColorPickBG"));
    btnColorPickBG->setCheckable(true);
    auto *backgroundRow = new QHBoxLayout;
    backgroundRow->addWidget(cwBackground);
    backgroundRow->addWidget(btnColorPickBG);
    form->addRow(localized("Background colour"), backgroundRow);
    connect(cwBackground, &ColourWell::colorChanged, this, [this] { changeBackgroundColor(); });
    connect(btnColorPickBG, &QPushButton::clicked, this, [this] {
        // The button's state follows the pick, not the click.
        btnColorPickBG->setChecked(pickColorOwner() == this);
        togglePickColor(btnColorPickBG);
    });

    box(optQL, "optQL", "Store a preview in the document");
    box(optQLthumbD, "optQLthumbD", "Thumbnail data");
    box(optQLpreviewD, "optQLpreviewD", "Preview data");
    for (QCheckBox *option : {optQL, optQLthumbD, optQLpreviewD})
        connect(option, &QCheckBox::clicked, this, [this] { changeQLOption(); });
}

void InfoTab::updateDocumentInfo()
{
    VekDocument *document = m_controller.currentDocument();
    const QList<QWidget *> controls = {txAuthor, txTitle, txCopyright, txKeywords, cwBackground, btnColorPickBG, cwLinkText,
                                       optLinkTextULine, optSmoothFonts, optAntialias, optCMYK, optShadow,
                                       optQL, optQLthumbD, optQLpreviewD};
    for (QWidget *control : controls)
        control->setEnabled(document != nullptr);
    if (!document) {
        btnShowShadowPanel->setEnabled(false);
        return;
    }
    txAuthor->setText(document->author());
    txTitle->setText(document->title());
    txCopyright->setText(document->copyright());
    txKeywords->setText(document->keywords());
    cwBackground->setColor(document->backgroundColor());
    cwLinkText->setColor(document->storedLinkTextColor());
    optLinkTextULine->setChecked(document->linkTextULine() != 0);
    optSmoothFonts->setChecked(document->smoothFonts());
    optAntialias->setChecked(document->antialiasDraw());
    optCMYK->setChecked(document->useCMYK());
    optShadow->setChecked(document->shadowState());
    optQL->setChecked(document->qlOption() != 0);
    optQLthumbD->setChecked(document->qlOptDataT() != 0);
    optQLpreviewD->setChecked(document->qlOptDataP() != 0);
    btnShowShadowPanel->setEnabled(optShadow->isChecked() && m_openShadowPanel);
}

void InfoTab::changeMetaInfoWithTag(int tag)
{
    const bool author = tag == 10 || tag == 11;
    const QString key = author ? QStringLiteral("author") : QStringLiteral("copyright");
    QLineEdit *field = author ? txAuthor : txCopyright;
    if (tag == 11 || tag == 13) {
        storeDefaultMetaValue(key, field->text());
        return;
    }
    if (!m_controller.currentDocument())
        return;
    field->setText(defaultMetaValue(key));
    changeMetaInfo(field);
}

void InfoTab::changeMetaInfo(QLineEdit *field)
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    const QString text = field->text();
    if (field == txAuthor)
        changeMetadata(*document, localized("Set Author"), &VekDocument::author, &VekDocument::setAuthor, text);
    else if (field == txTitle)
        changeMetadata(*document, localized("Set Title"), &VekDocument::title, &VekDocument::setTitle, text);
    else if (field == txCopyright)
        changeMetadata(*document, localized("Set Copyright"), &VekDocument::copyright, &VekDocument::setCopyright,
                       text);
    else
        changeMetadata(*document, localized("Set Keywords"), &VekDocument::keywords, &VekDocument::setKeywords, text);
}

void InfoTab::changeDrawOption(QCheckBox *box)
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    const int state = box->isChecked() ? 1 : 0;
    const QString name = localized("Drawing Options");
    if (box == optSmoothFonts)
        changeFlag(*document, name, document->smoothFonts() ? 1 : 0, state, &VekDocument::setSmoothFonts);
    else if (box == optAntialias)
        changeFlag(*document, name, document->antialiasDraw() ? 1 : 0, state, &VekDocument::setAntialiasDraw);
    else
        changeFlag(*document, name, document->useCMYK() ? 1 : 0, state, &VekDocument::setUseCMYK);
}

void InfoTab::changeShadowOption()
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    const int state = optShadow->isChecked() ? 1 : 0;
    changeDocumentSetting<int>(*document, localized("Document Shadow"), document->shadowState() ? 1 : 0, state,
                               [](VekDocument &d, const int &v) { d.setShadowState(v); });
    btnShowShadowPanel->setEnabled(state == 1 && m_openShadowPanel);
}

void InfoTab::changeLinkTextOption(QObject *sender)
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    if (sender == optLinkTextULine)
        changeFlag(*document, localized("Link Text"), document->linkTextULine(), optLinkTextULine->isChecked() ? 1 : 0,
                   &VekDocument::setLinkTextULine);
    else
        changeDocumentSetting<Color>(*document, localized("Link Text"), document->storedLinkTextColor(),
                                     cwLinkText->color(),
                                     [](VekDocument &d, const Color &c) { d.setLinkTextColor(c); });
}

void InfoTab::changeBackgroundColor()
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    const Color before = document->backgroundColor();
    WellControl well(*cwBackground);
    ::changeBackgroundColor(*document, well);   // the colour in the form the document keeps
    const Color after = document->backgroundColor();
    document->setBackgroundColor(before, true);
    changeDocumentSetting<Color>(*document, localized("Background Color"), before, after,
                                 [](VekDocument &d, const Color &c) { d.setBackgroundColor(c); });
}

void InfoTab::changeQLOption()
{
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    using Option = std::array<int, 3>;
    const Option before{document->qlOption(), document->qlOptDataT(), document->qlOptDataP()};
    const Option after{optQL->isChecked() ? 1 : 0, optQLthumbD->isChecked() ? 1 : 0, optQLpreviewD->isChecked() ? 1 : 0};
    changeDocumentSetting<Option>(*document, localized("Preview Options"), before, after,
                                  [](VekDocument &d, const Option &o) { d.setQLOption(o[0], o[1], o[2]); });
}

void InfoTab::togglePickColor(QObject *sender)
{
    if (pickColorOwner() == this) {
        if (endScreenColourPick(this) == cwBackground)
            changeBackgroundColor();
        btnColorPickBG->setChecked(false);
        return;
    }
    if (!pickColorOwner() && sender == btnColorPickBG && beginScreenColourPick(this, cwBackground))
        btnColorPickBG->setChecked(true);
}

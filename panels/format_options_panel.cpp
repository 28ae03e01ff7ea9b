// The field options panel: its controls, the format lists and the example.
#include "panels/format_options_panel.h"

#include "model/calendar_date_format.h"
#include "model/vek_obj_format.h"
#include "panels/colour_well.h"
#include "panels/font_choices.h"
#include "platform/foundation/notification_center.h"
#include "platform/text/font_registry.h"

#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr float FallbackFontSize = 10.0f;

QComboBox *editableList(const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    // New entries are added by the panel, which checks and stores them.
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(items);
    combo->setCurrentIndex(0);
    return combo;
}

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

} // namespace

FormatOptionsPanel::FormatOptionsPanel(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_lists(defaults)
{
    setWindowTitle(tr("Field Options"));
    formatTypes = new QComboBox(this);
    formatTypes->addItems({tr("Page Number"), tr("Date")});
    repeatTypes = new QComboBox(this);
    repeatTypes->addItems({tr("No Repeat"), tr("Odd Pages"), tr("Even Pages"), tr("Every Page")});
    formatAlign = new QComboBox(this);
    formatAlign->addItems({tr("Left"), tr("Centre"), tr("Right"), tr("Page Left"), tr("Page Centre"), tr("Page Right")});
    formatFont = new QComboBox(this);
    const QStringList fontNames = fontNameChoices();
    formatFont->addItems(fontNames);
    formatFont->setCurrentIndex(defaultFontChoice(fontNames));
    formatSize = editableList(fontSizeChoices(), this);
    formatSize->setCurrentIndex(DefaultFontSizeChoice);
    formatsPage = editableList(m_lists.storedFormats(FormatKind::Page), this);
    formatsDate = editableList(m_lists.storedFormats(FormatKind::Date), this);
    btnDelFmtPage = new QPushButton(tr("Delete"), this);
    btnDelFmtDate = new QPushButton(tr("Delete"), this);
    formatExample = new QLabel(this);
    formatColor = new ColourWell(this);

    auto *layout = new QGridLayout(this);
    int row = 0;
    layout->addWidget(formatTypes, row, 0);
    layout->addWidget(repeatTypes, row++, 1);
    layout->addWidget(formatsPage, row, 0);
    layout->addWidget(btnDelFmtPage, row++, 1);
    layout->addWidget(formatsDate, row, 0);
    layout->addWidget(btnDelFmtDate, row++, 1);
    layout->addWidget(formatFont, row, 0);
    layout->addWidget(formatSize, row++, 1);
    layout->addWidget(formatAlign, row, 0);
    layout->addWidget(formatColor, row++, 1);
    layout->addWidget(formatExample, row++, 0, 1, 2);

    connect(formatTypes, &QComboBox::activated, this, [this] { selectFormatType(); });
    connect(repeatTypes, &QComboBox::activated, this, [this] { selectRepeatType(); });
    for (QComboBox *combo : {formatFont, formatAlign, formatSize})
        connect(combo, &QComboBox::activated, this, [this, combo] { updateFormatExample(combo); });
    connect(formatSize->lineEdit(), &QLineEdit::returnPressed, this, [this] { updateFormatExample(formatSize); });
    connect(formatColor, &ColourWell::colorChanged, this, [this] { updateFormatExample(formatColor); });
    connect(formatsPage, &QComboBox::activated, this, [this] { updateFormatsPage(formatsPage); });
    connect(formatsPage->lineEdit(), &QLineEdit::returnPressed, this, [this] { updateFormatsPage(formatsPage); });
    connect(formatsDate, &QComboBox::activated, this, [this] { updateFormatsDate(formatsDate); });
    connect(formatsDate->lineEdit(), &QLineEdit::returnPressed, this, [this] { updateFormatsDate(formatsDate); });
    connect(btnDelFmtPage, &QPushButton::clicked, this, [this] { updateFormatsPage(btnDelFmtPage); });
    connect(btnDelFmtDate, &QPushButton::clicked, this, [this] { updateFormatsDate(btnDelFmtDate); });
    updateFormatExample(this);
}

// ---- Settings for new fields ----

int FormatOptionsPanel::selectedFormatType() const
{
    return formatTypes->currentIndex();
}

QString FormatOptionsPanel::selectedFormat() const
{
    return selectedFormatType() == 0 ? formatsPage->currentText() : formatsDate->currentText();
}

int FormatOptionsPanel::selectedFormatAlign() const
{
    return formatAlign->currentIndex();
}

int FormatOptionsPanel::selectedRepeatType() const
{
    return repeatTypes->currentIndex();
}

VekObjFormat *FormatOptionsPanel::editedField() const
{
    return dynamic_cast<VekObjFormat *>(m_editingFormat.lock().get());
}

// ---- Preparing ----

void FormatOptionsPanel::optionPanelFormat(VekObject *object, bool edit)
{
    for (QWidget *control : std::initializer_list<QWidget *>{formatTypes, formatsPage, formatsDate, btnDelFmtDate,
                                                             btnDelFmtPage})
        control->setEnabled(true);
    m_editingFormat.reset();
    auto *field = dynamic_cast<VekObjFormat *>(object);
    if (edit && field) {
        const AttributedString example = field->example().value_or(AttributedString());
        TextAttributes first;
        if (!example.isEmpty())
            first = example.attributesAt(0);
        const Font font = first.font.value_or(labelFont(FallbackFontSize));
        formatTypes->setCurrentIndex(field->formatType() == 0 ? 0 : 1);
        repeatTypes->setCurrentIndex(field->repeatType());
        formatAlign->setCurrentIndex(std::clamp(field->formatAlign(), 0, 5));
        formatFont->setCurrentIndex(std::max(0, formatFont->findText(font.name)));
        formatSize->setEditText(QString::number(int(font.size)));
        formatColor->setColor(first.foregroundColor.value_or(Color::blackColor()));
        const bool page = field->formatType() == 0;
        (page ? formatsPage : formatsDate)->setEditText(field->format());
        formatsPage->setEnabled(page);
        btnDelFmtPage->setEnabled(page);
        formatsDate->setEnabled(!page);
        btnDelFmtDate->setEnabled(!page);
        m_example = example;
        formatExample->setText(example.string());
        m_editingFormat = field->shared_from_this();
    }
    show();
    raise();
}

// ---- The lists ----

void FormatOptionsPanel::updateFormatsPage(QObject *sender)
{
    updateFormats(FormatKind::Page, sender);
}

void FormatOptionsPanel::updateFormatsDate(QObject *sender)
{
    updateFormats(FormatKind::Date, sender);
}

void FormatOptionsPanel::storeList(FormatKind kind)
{
    m_lists.store(kind, itemsOf(kind == FormatKind::Page ? formatsPage : formatsDate));
}

void FormatOptionsPanel::updateFormats(FormatKind kind, QObject *sender)
{
    QComboBox *list = kind == FormatKind::Page ? formatsPage : formatsDate;
    VekObjFormat *field = editedField();
    const QString text = list->currentText();
    if (sender == list) {
        if (kind == FormatKind::Page && !isPageNumberFormat(text)) {
            // A page-number format writes numbers through a printf-style conversion: only
            // formats with exactly one integer conversion are taken.
            list->setCurrentIndex(0);
        } else if (const int index = list->findText(text); index >= 0) {
            list->setCurrentIndex(index);
            if (field && field->format() != text)
                field->setFormat(text);
        } else if (!text.isEmpty()) {
            list->addItem(text);
            list->setCurrentIndex(list->count() - 1);
            storeList(kind);
            if (field)
                field->setFormat(text);
        }
    } else {
        if (const int index = list->findText(text); index >= 0)
            list->removeItem(index);
        if (list->count() == 0)
            list->addItems(FormatLists::builtInFormats(kind));
        storeList(kind);
        list->setCurrentIndex(0);
        if (field && list->findText(field->format()) < 0)
            field->setFormat(list->currentText());
    }
    if ((kind == FormatKind::Page) == (selectedFormatType() == 0))
        updateFormatExample(sender);
    if (kind == FormatKind::Date)
        NotificationCenter::defaultCenter().postNotificationName(VekDateFormatDidChangeNotification, this);
}

void FormatOptionsPanel::addDateFormat(const QString &format)
{
    if (format.isEmpty() || formatsDate->findText(format) >= 0)
        return;
    formatsDate->addItem(format);
    storeList(FormatKind::Date);
}

// ---- Type, repetition and the example ----

void FormatOptionsPanel::selectFormatType()
{
    updateFormatExample(this);
}

void FormatOptionsPanel::selectRepeatType()
{
    VekObjFormat *field = editedField();
    if (!field)
        return;
    const int type = repeatTypes->currentIndex();
    field->setRepeatType(type);
    if (type != 0) {
        field->setRepeatStart(1);
        field->setRepeatEnd(0);
    }
}

void FormatOptionsPanel::updateFormatExample(QObject *sender)
{
    bool sized = false;
    const float size = formatSize->currentText().toFloat(&sized);
    TextAttributes attributes;
    attributes.font = sized && size > 0 ? fontWithName(formatFont->currentText(), size) : std::nullopt;
    if (!attributes.font)
        attributes.font = labelFont(FallbackFontSize);
    attributes.foregroundColor = formatColor->color();
    const QString text = selectedFormatType() == 0 ? formatPageNumber(formatsPage->currentText(), 1)
                                                   : describeDate(QDateTime::currentDateTime(), formatsDate->currentText());
    m_example = AttributedString(text, attributes);
    formatExample->setText(text);
    emit exampleChanged();
    if (VekObjFormat *field = editedField()) {
        if (sender == formatAlign)
            field->setFormatAlign(formatAlign->currentIndex());
        else
            field->setExample(m_example);
    }
}

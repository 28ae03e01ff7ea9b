// The text statistics: word count, fonts used and their places, font metrics.
#include "panels/docinfo/text_statistics_tab.h"

#include "document/vek_document.h"
#include "model/vek_obj_format.h"
#include "model/vek_obj_grid.h"
#include "model/vek_obj_path.h"
#include "model/vek_obj_text.h"
#include "panels/docinfo/doc_info_controller.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "platform/text/font_registry.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QListWidget>
#include <QRawFont>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

// The font runs of a text-bearing object: [font name, size, text, start, (cell key)].
PropertyList textInfoOf(VekObject &object)
{
    if (auto *text = dynamic_cast<VekObjText *>(&object))
        return text->textInfo();
    if (auto *table = dynamic_cast<VekObjGrid *>(&object))
        return table->textInfo();
    if (auto *field = dynamic_cast<VekObjFormat *>(&object))
        return field->textInfo();
    if (auto *path = dynamic_cast<VekObjPath *>(&object))
        return path->textInfo();
    return PropertyList();
}

} // namespace

TextStatisticsTab::TextStatisticsTab(VekDocInfoController &controller, QWidget *parent) : QWidget(parent), m_controller(controller)
{
    auto *layout = new QVBoxLayout(this);
    txWordCount = new QLabel(QStringLiteral(" -"), this);
    txWordCount->setObjectName(QStringLiteral("txWordCount"));
    auto *words = new QHBoxLayout;
    words->addWidget(new QLabel(localized("Words:"), this));
    words->addWidget(txWordCount, 1);
    layout->addLayout(words);
    layout->addWidget(new QLabel(localized("Fonts used"), this));
    tblFontInfo = new QListWidget(this);
    tblFontInfo->setObjectName(QStringLiteral("tblFontInfo"));
    layout->addWidget(tblFontInfo);
    layout->addWidget(new QLabel(localized("Where the font is used"), this));
    tblFontSubInfo = new QListWidget(this);
    tblFontSubInfo->setObjectName(QStringLiteral("tblFontSubInfo"));
    layout->addWidget(tblFontSubInfo);
    connect(tblFontInfo, &QListWidget::currentRowChanged, this, [this] { fontSelected(); });
    connect(tblFontInfo, &QListWidget::itemDoubleClicked, this, [this] { showFontDescription(); });
    connect(tblFontSubInfo, &QListWidget::itemDoubleClicked, this, [this] { showObjectWithSelectedText(); });

    fontInfoPanel = new QWidget(this, Qt::Tool);
    fontInfoPanel->setObjectName(QStringLiteral("fontInfoPanel"));
    fontInfoPanel->setWindowTitle(localized("Font"));
    fontDescription = new QLabel(fontInfoPanel);
    fontDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);
    (new QVBoxLayout(fontInfoPanel))->addWidget(fontDescription);
}

void TextStatisticsTab::updateWordCount()
{
    VekDocument *document = m_controller.currentDocument();
    if (!document || document->objects().empty()) {
        txWordCount->setText(QStringLiteral(" -"));
    } else {
        int words = 0;
        for (const auto &object : document->objects())
            words += object->wordCount();
        txWordCount->setText(QString::number(words));
    }
    updateFontInfo();
}

void TextStatisticsTab::updateFontInfo()
{
    m_usedFonts.clear();
    m_shownPlaces.clear();
    tblFontInfo->clear();
    tblFontSubInfo->clear();
    VekDocument *document = m_controller.currentDocument();
    if (!document)
        return;
    for (const auto &object : document->objects()) {
        const PropertyList runs = textInfoOf(*object);
        for (qsizetype i = 0; i < runs.count(); ++i) {
            const PropertyList run = runs.at(i);
            const QString font = run.at(0).stringValue();
            if (font.isEmpty())
                continue;
            const FontUse use{object, run.at(2).stringValue(), int(run.at(3).intValue()), run.at(4).stringValue()};
            auto entry = std::find_if(m_usedFonts.begin(), m_usedFonts.end(),
                                      [&font](const auto &e) { return e.first == font; });
            if (entry == m_usedFonts.end())
                entry = m_usedFonts.insert(m_usedFonts.end(), {font, {}});
            if (std::find(entry->second.begin(), entry->second.end(), use) == entry->second.end())
                entry->second.push_back(use);
        }
    }
    std::sort(m_usedFonts.begin(), m_usedFonts.end(), [](const auto &a, const auto &b) {
        return a.first.compare(b.first, Qt::CaseInsensitive) < 0;
    });
    tblFontInfo->addItems(usedFontNames());
}

QStringList TextStatisticsTab::usedFontNames() const
{
    QStringList names;
    for (const auto &entry : m_usedFonts)
        names << entry.first;
    return names;
}

std::vector<TextStatisticsTab::FontUse> TextStatisticsTab::placesOf(const QString &fontName) const
{
    for (const auto &entry : m_usedFonts)
        if (entry.first == fontName)
            return entry.second;
    return {};
}

void TextStatisticsTab::fontSelected()
{
    tblFontSubInfo->clear();
    const int row = tblFontInfo->currentRow();
    m_shownPlaces = row >= 0 && row < int(m_usedFonts.size()) ? m_usedFonts[size_t(row)].second : std::vector<FontUse>();
    for (const FontUse &use : m_shownPlaces)
        tblFontSubInfo->addItem(use.text);
}

void TextStatisticsTab::showObjectWithSelectedText()
{
    DocInfoCanvas *canvas = m_controller.shownCanvas();
    const int row = tblFontSubInfo->currentRow();
    if (!canvas || row < 0 || row >= int(m_shownPlaces.size()))
        return;
    const FontUse &use = m_shownPlaces[size_t(row)];
    const std::shared_ptr<VekObject> object = use.object.lock();
    if (!object || canvas->document().indexOfObject(object.get()) < 0)
        return;
    canvas->editTextOf(object, use.location, int(use.text.size()), use.cellKey);
}

void TextStatisticsTab::showFontDescription()
{
    const int row = tblFontInfo->currentRow();
    if (row < 0 || row >= int(m_usedFonts.size()))
        return;
    const QString name = m_usedFonts[size_t(row)].first;
    if (!fontExists(name))
        return;
    const Font font{name, 12};
    const QRawFont raw = rawFont(font);
    const QFontMetricsF metrics(qFont(font));
    const QRectF box = raw.boundingRect(0);
    const QStringList lines = {
        name,
        fontFamilyName(name),
        localized("Fixed pitch: ") + (metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'))
                                          ? localized("Yes")
                                          : localized("No")),
        localized("Ascender: ") + formatC("%8.4f", metrics.ascent()),
        localized("Descender: ") + formatC("%8.4f", -metrics.descent()),
        localized("Cap height: ") + formatC("%8.3f", metrics.capHeight()),
        localized("x-height: ") + formatC("%8.3f", metrics.xHeight()),
        localized("Leading: ") + formatC("%8.3f", metrics.leading()),
        localized("Underline position: ") + formatC("%8.3f", raw.underlinePosition()),
        localized("Maximum advance: ") + formatC("W:%8.3f", metrics.maxWidth()),
        localized("Glyph box: ") + formatC("W:%8.3f  H:%8.3f", box.width(), box.height()),
    };
    fontDescription->setText(lines.join(QLatin1Char('\n')));
    fontInfoPanel->show();
    fontInfoPanel->raise();
}

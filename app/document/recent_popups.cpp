// The recent colours, sizes and fonts pop-ups.
#include "app/document/recent_popups.h"

#include "platform/foundation/archiving.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/user_defaults.h"
#include "platform/graphics/color_conversion.h"
#include "platform/text/font_registry.h"

#include <algorithm>

namespace {

constexpr int DefaultPopupMaximum = 10;
constexpr float EntryFontSize = 11.0f;
constexpr int ColorTitleNumbers = 100;

void storeList(const QString &key, const PropertyList &list)
{
    UserDefaults &defaults = UserDefaults::standardUserDefaults();
    defaults.setObject(list, key);
    defaults.synchronize();
}

QString colorTitle(int number)
{
    return QStringLiteral("C%1").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace

int recentPopupMaximum()
{
    const int maximum =
        UserDefaults::standardUserDefaults().dictionaryForKey(DefaultsKey::Prefs).value(QStringLiteral("myPopupMaxNr")).intValue();
    return maximum >= 1 ? maximum : DefaultPopupMaximum;
}

// ---- Colours ----

RecentColorsPopup::RecentColorsPopup(QWidget *parent) : QComboBox(parent) {}

void RecentColorsPopup::insertEntry(int index, const QString &title, const Color &color)
{
    insertItem(index, title);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSizeF(EntryFontSize);
    setItemData(index, bold, Qt::FontRole);
    setItemData(index, toQColor(color), Qt::ForegroundRole);
    m_colors.insert(m_colors.begin() + index, color);
}

void RecentColorsPopup::updateWith(const std::optional<Color> &color)
{
    if (color) {
        if (selectedColor() == *color)
            return;
        const auto known = std::find(m_colors.begin(), m_colors.end(), *color);
        if (known != m_colors.end()) {
            setCurrentIndex(int(known - m_colors.begin()));
            return;
        }
        int number = 0;
        while (number < ColorTitleNumbers && findText(colorTitle(number)) >= 0)
            ++number;
        if (number == ColorTitleNumbers)
            return;
        insertEntry(0, colorTitle(number), *color);
        setCurrentIndex(0);
        while (count() > recentPopupMaximum()) {
            removeItem(count() - 1);
            m_colors.pop_back();
        }
        store();
        return;
    }

    std::vector<Color> loaded;
    const PropertyList stored = UserDefaults::standardUserDefaults().arrayForKey(DefaultsKey::MyColors);
    for (const PropertyList &entry : stored.elements()) {
        const ArchiveResult<Color> read = unarchiveColorWithData(entry.dataValue());
        if (read && std::find(loaded.begin(), loaded.end(), *read.value) == loaded.end())
            loaded.push_back(*read.value);
    }
    if (loaded.empty())
        loaded = {Color::blackColor(), Color::redColor(), Color::blueColor()};
    // A maximum lowered in the preferences applies from the next load on.
    if (int(loaded.size()) > recentPopupMaximum())
        loaded.resize(recentPopupMaximum());
    clear();
    m_colors.clear();
    for (int i = 0; i < int(loaded.size()); ++i)
        insertEntry(i, colorTitle(i), loaded[i]);
    setCurrentIndex(0);
}

std::optional<Color> RecentColorsPopup::selectedColor() const
{
    const int index = currentIndex();
    if (index < 0 || index >= int(m_colors.size()))
        return std::nullopt;
    return m_colors[index];
}

void RecentColorsPopup::store() const
{
    PropertyList list = PropertyList::array();
    for (const Color &color : m_colors)
        if (const ArchiveResult<QByteArray> data = archivedDataWithRootObject(color))
            list.append(PropertyList::fromData(*data.value));
    storeList(DefaultsKey::MyColors, list);
}

// ---- Sizes and font names ----

RecentTitlesPopup::RecentTitlesPopup(Kind kind, QWidget *parent) : QComboBox(parent), m_kind(kind) {}

QString RecentTitlesPopup::titleForSize(float size)
{
    return formatFixed(size, 1);
}

QString RecentTitlesPopup::defaultsKey() const
{
    return m_kind == Kind::FontSizes ? QString(DefaultsKey::MySizes) : QString(DefaultsKey::MyFonts);
}

QStringList RecentTitlesPopup::titles() const
{
    QStringList list;
    for (int i = 0; i < count(); ++i)
        list << itemText(i);
    return list;
}

void RecentTitlesPopup::updateWith(const QString &title)
{
    if (title.isEmpty()) {
        load();
        return;
    }
    if (currentIndex() >= 0 && currentText() == title)
        return;
    if (const int known = findText(title, Qt::MatchExactly); known >= 0) {
        setCurrentIndex(known);
        return;
    }
    insertItem(0, title);
    styleEntry(0);
    setCurrentIndex(0);
    while (count() > recentPopupMaximum())
        removeItem(count() - 1);
    PropertyList list = PropertyList::array();
    for (const QString &entry : titles())
        list.append(PropertyList(entry));
    storeList(defaultsKey(), list);
}

void RecentTitlesPopup::load()
{
    const PropertyList stored = UserDefaults::standardUserDefaults().arrayForKey(defaultsKey());
    QStringList list;
    for (const PropertyList &entry : stored.elements()) {
        const QString text = entry.stringValue();
        const bool unusable = text.isEmpty() || text == QLatin1String(" ") ||
                              (m_kind == Kind::FontSizes && text == QLatin1String("0"));
        if (!unusable && !list.contains(text))
            list << text;
    }
    if (m_kind == Kind::FontSizes && !stored.isArray())
        list = {QStringLiteral("10.0"), QStringLiteral("11.0"), QStringLiteral("12.0")};
    if (m_kind == Kind::FontNames && list.isEmpty())
        list = {labelFont(EntryFontSize).name};
    std::sort(list.begin(), list.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    if (list.size() > recentPopupMaximum())
        list = list.mid(0, recentPopupMaximum());
    clear();
    for (int i = 0; i < list.size(); ++i) {
        addItem(list[i]);
        styleEntry(i);
    }
    setCurrentIndex(count() > 0 ? 0 : -1);
}

void RecentTitlesPopup::styleEntry(int index)
{
    if (m_kind != Kind::FontNames)
        return;
    if (const std::optional<Font> entryFont = fontWithName(itemText(index), EntryFontSize))
        setItemData(index, qFont(*entryFont), Qt::FontRole);
}

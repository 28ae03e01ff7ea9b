// The document info panel's text tab: the word count of the document (following typing), the
// fonts its text uses, the places a chosen font is used (a double-click edits that place on
// the canvas) and the metrics of a font (a double-click on its name).
#pragma once

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QListWidget;
class VekDocInfoController;
class VekObject;

class TextStatisticsTab : public QWidget {
    Q_OBJECT
public:
    // One place a font is used: the object, the run's text and where it starts, and for a
    // table the cell's key.
    struct FontUse {
        std::weak_ptr<VekObject> object;
        QString text;
        int location = 0;
        QString cellKey;
        friend bool operator==(const FontUse &a, const FontUse &b)
        {
            return a.object.lock() == b.object.lock() && a.location == b.location && a.cellKey == b.cellKey &&
                   a.text == b.text;
        }
    };

    explicit TextStatisticsTab(VekDocInfoController &controller, QWidget *parent = nullptr);

    // " -" without objects, else the sum of the objects' word counts; then the fonts.
    void updateWordCount();
    // Rebuilds the list of fonts used and clears the places.
    void updateFontInfo();
    // The font names in case-insensitive order, and the places of one.
    QStringList usedFontNames() const;
    std::vector<FontUse> placesOf(const QString &fontName) const;
    // Edits the place of the selected row of the places on the canvas; nothing when its object
    // left the document.
    void showObjectWithSelectedText();
    // Shows the metrics of the selected font; nothing when the font is not installed.
    void showFontDescription();

    QLabel *txWordCount = nullptr;
    QListWidget *tblFontInfo = nullptr, *tblFontSubInfo = nullptr;
    QWidget *fontInfoPanel = nullptr;
    QLabel *fontDescription = nullptr;

private:
    void fontSelected();

    VekDocInfoController &m_controller;
    std::vector<std::pair<QString, std::vector<FontUse>>> m_usedFonts;   // sorted by name
    std::vector<FontUse> m_shownPlaces;
};

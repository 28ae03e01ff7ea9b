// The document toolbar's pop-ups of recently used colours, font sizes and font names.
//
// Their lists live in the user defaults ("myColors": archived colours, "mySizes": size
// titles, "myFonts": font names), shared by every document; a pop-up is filled from them
// when its item is made and writes them back after each new entry. A value already listed
// is selected rather than added again; a new one goes on top, and the pop-up then keeps at
// most recentPopupMaximum() entries.
#pragma once

#include "platform/color/color.h"

#include <QComboBox>

#include <optional>
#include <vector>

// "myPopupMaxNr" of the preferences; 10 when it is not set.
int recentPopupMaximum();

class RecentColorsPopup : public QComboBox {
    Q_OBJECT
public:
    explicit RecentColorsPopup(QWidget *parent = nullptr);

    // A colour: its entry is selected, or a new entry "Cnn" (the first number from 00 to 99
    // that no entry uses; none free: nothing) is added on top and the list stored. No
    // colour: the list is read from the defaults (black, red and blue when nothing there
    // can be read).
    void updateWith(const std::optional<Color> &color);
    // The colour of the selected entry.
    std::optional<Color> selectedColor() const;
    const std::vector<Color> &colors() const { return m_colors; }

private:
    void insertEntry(int index, const QString &title, const Color &color);
    void store() const;

    std::vector<Color> m_colors;   // the entries' colours, in the pop-up's order
};

class RecentTitlesPopup : public QComboBox {
    Q_OBJECT
public:
    enum class Kind { FontSizes, FontNames };
    explicit RecentTitlesPopup(Kind kind, QWidget *parent = nullptr);

    // A size's title or a font name: its entry is selected, or it is added on top and the
    // list stored. An empty title reads the list from the defaults, sorted without regard to
    // case (sizes: "10.0", "11.0", "12.0" when none is stored; fonts: the system font's name
    // when none is).
    void updateWith(const QString &title);
    // The title of a size as the pop-up lists it ("%.1f").
    static QString titleForSize(float size);
    QStringList titles() const;

private:
    void load();
    // Font names show in their own font.
    void styleEntry(int index);
    QString defaultsKey() const;

    Kind m_kind;
};

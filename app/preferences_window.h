// The preferences window: start-up choice, saving, ruler unit, grid scale, preferred page
// size and margins, and the preference colours. Every change is stored at once.
#pragma once

#include <QWidget>

class VekPreferences;

class VekPreferencesWindow : public QWidget {
    Q_OBJECT
public:
    explicit VekPreferencesWindow(VekPreferences &preferences, QWidget *parent = nullptr);

signals:
    // A display colour (grid, knobs, control points, rulers) changed: canvases redraw.
    void displayColorsChanged();

private:
    void addChoice(class QFormLayout *form, const QString &label, const QString &key, const QStringList &choices);
    void addCheckBox(class QFormLayout *form, const QString &label, const QString &key);
    void addNumber(class QFormLayout *form, const QString &label, const QString &key, int minimum, int maximum);
    void addPaperChoice(class QFormLayout *form);
    void addGridScale(class QFormLayout *form);
    void addColors(class QFormLayout *form);

    VekPreferences &m_preferences;
};

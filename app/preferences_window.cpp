// The preferences window's controls, each bound to one preference.
#include "app/preferences_window.h"

#include "app/preferences.h"
#include "canvas/ui/floating_ruler.h"
#include "panels/docinfo/paper_list.h"
#include "platform/foundation/c_locale.h"
#include "platform/foundation/localized_strings.h"
#include "platform/foundation/notification_center.h"
#include "platform/graphics/color_conversion.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace {

const QString PrefsKey = QStringLiteral("prefs");

void paintWell(QPushButton *well, const Color &color)
{
    well->setStyleSheet(QStringLiteral("background-color: %1").arg(toQColor(color).name()));
}

QString localized(const char *text)
{
    return localizedString(QString::fromLatin1(text));
}

} // namespace

VekPreferencesWindow::VekPreferencesWindow(VekPreferences &preferences, QWidget *parent)
    : QWidget(parent, Qt::Window), m_preferences(preferences)
{
    setWindowTitle(localized("Preferences"));
    auto *form = new QFormLayout(this);
    addChoice(form, localized("At start-up open"), QStringLiteral("startUp"),
              {localized("A new document"), localized("The last document"), localized("The open panel")});
    addCheckBox(form, localized("Keep a backup when saving"), QStringLiteral("keepBackup"));
    addCheckBox(form, localized("Save documents as readable text"), QStringLiteral("saveXML"));
    addCheckBox(form, localized("Check for updates automatically"), QStringLiteral("autoCheck"));
    addCheckBox(form, localized("Show sizes on a real-world base"), QStringLiteral("optRWBase"));
    addChoice(form, localized("Ruler unit"), QStringLiteral("rulerUnit"),
              {localized("Centimeters"), localized("Inches"), localized("Pixels"), localized("Picas"), localized("Points")});
    addGridScale(form);
    addNumber(form, localized("Recent entries in pop-up menus"), QStringLiteral("myPopupMaxNr"), 1, 50);
    addPaperChoice(form);
    addNumber(form, localized("Page width"), QStringLiteral("viewSzW"), 8, 100000);
    addNumber(form, localized("Page height"), QStringLiteral("viewSzH"), 8, 100000);
    addNumber(form, localized("Left margin"), QStringLiteral("marginL"), 0, 10000);
    addNumber(form, localized("Right margin"), QStringLiteral("marginR"), 0, 10000);
    addNumber(form, localized("Top margin"), QStringLiteral("marginT"), 0, 10000);
    addNumber(form, localized("Bottom margin"), QStringLiteral("marginB"), 0, 10000);
    addColors(form);
}

void VekPreferencesWindow::addChoice(QFormLayout *form, const QString &label, const QString &key,
                                     const QStringList &choices)
{
    auto *box = new QComboBox(this);
    box->setObjectName(key);
    box->addItems(choices);
    box->setCurrentIndex(m_preferences.userPrefsValueFor(key));
    connect(box, &QComboBox::currentIndexChanged, this, [this, key](int index) {
        m_preferences.updateUserPreferences(PrefsKey, key, PropertyList::fromInt(index));
        if (key == QLatin1String("rulerUnit"))
            NotificationCenter::defaultCenter().postNotificationName(VekRulerUnitDidChangeNotification, nullptr);
    });
    form->addRow(label, box);
}

void VekPreferencesWindow::addCheckBox(QFormLayout *form, const QString &label, const QString &key)
{
    auto *box = new QCheckBox(label, this);
    box->setObjectName(key);
    box->setChecked(m_preferences.userPrefsValueFor(key) != 0);
    connect(box, &QCheckBox::toggled, this, [this, key](bool on) {
        m_preferences.updateUserPreferences(PrefsKey, key, PropertyList::fromInt(on ? 1 : 0));
        if (key == QLatin1String("optRWBase"))
            NotificationCenter::defaultCenter().postNotificationName(VekScaleBaseDidChangeNotification, nullptr);
    });
    form->addRow(box);
}

void VekPreferencesWindow::addNumber(QFormLayout *form, const QString &label, const QString &key, int minimum,
                                     int maximum)
{
    auto *box = new QSpinBox(this);
    box->setObjectName(key);
    box->setRange(minimum, maximum);
    const bool margin = key.startsWith(QLatin1String("margin"));
    const bool viewSize = key.startsWith(QLatin1String("viewSz"));
    box->setValue(margin     ? int(m_preferences.marginFor(key))
                  : viewSize ? int(key.endsWith(QLatin1Char('W')) ? m_preferences.userPrefViewSize().width
                                                                   : m_preferences.userPrefViewSize().height)
                             : m_preferences.userPrefsValueFor(key));
    connect(box, &QSpinBox::valueChanged, this, [this, key](int value) {
        m_preferences.updateUserPreferences(PrefsKey, key, PropertyList::fromInt(value));
    });
    form->addRow(label, box);
}

// The default paper: the papers of the installed printers; the item's paper name is stored,
// so papers listed without a display name can be chosen too.
void VekPreferencesWindow::addPaperChoice(QFormLayout *form)
{
    auto *box = new QComboBox(this);
    box->setObjectName(QStringLiteral("paperName"));
    PaperList::shared().fillPopup(*box);
    const int current = box->findData(m_preferences.userDefaultPaperName());
    box->setCurrentIndex(current);
    if (current < 0)
        box->setPlaceholderText(localized("custom"));
    connect(box, &QComboBox::activated, this, [this, box] {
        m_preferences.updateUserPreferences(PrefsKey, QStringLiteral("paperName"), PropertyList(box->currentData().toString()));
    });
    form->addRow(localized("Paper"), box);
}

// The grid scale is kept to one decimal.
void VekPreferencesWindow::addGridScale(QFormLayout *form)
{
    auto *box = new QDoubleSpinBox(this);
    box->setObjectName(QStringLiteral("gridScale"));
    box->setRange(0.1, 10.0);
    box->setDecimals(1);
    box->setSingleStep(0.1);
    box->setValue(m_preferences.userPrefsFloatFor(QStringLiteral("gridScale")));
    connect(box, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        const float rounded = floatValueOf(formatC("%.1f", value));
        m_preferences.updateUserPreferences(PrefsKey, QStringLiteral("gridScale"), PropertyList::fromFloat(rounded));
        NotificationCenter::defaultCenter().postNotificationName(VekGridScaleDidChangeNotification, nullptr);
    });
    form->addRow(localized("Grid scale"), box);
}

void VekPreferencesWindow::addColors(QFormLayout *form)
{
    for (const QString &key : VekPreferences::colorKeys()) {
        auto *well = new QPushButton(this);
        well->setObjectName(key);
        paintWell(well, m_preferences.colorForKey(key));
        connect(well, &QPushButton::clicked, this, [this, well, key] {
            const QColor chosen = QColorDialog::getColor(toQColor(m_preferences.colorForKey(key)), this, VekPreferences::colorLabel(key),
                                                         QColorDialog::ShowAlphaChannel);
            if (!chosen.isValid())
                return;
            m_preferences.setColorForKey(Color::colorWithCalibratedRed(float(chosen.redF()), float(chosen.greenF()),
                                                                       float(chosen.blueF()), float(chosen.alphaF())),
                                         key);
            paintWell(well, m_preferences.colorForKey(key));
            FloatingRulerController::sharedFloatingRulerController().setRulersNeedsDisplay();
            emit displayColorsChanged();
        });
        form->addRow(VekPreferences::colorLabel(key), well);
    }
    auto *reset = new QPushButton(localized("Default Colors"), this);
    connect(reset, &QPushButton::clicked, this, [this] {
        for (const QString &key : VekPreferences::colorKeys())
            m_preferences.updateUserPreferences(QStringLiteral("colors"), key, VekPreferences::defaultColors().value(key));
        for (const QString &key : VekPreferences::colorKeys())
            if (auto *well = findChild<QPushButton *>(key))
                paintWell(well, m_preferences.colorForKey(key));
        FloatingRulerController::sharedFloatingRulerController().setRulersNeedsDisplay();
        emit displayColorsChanged();
    });
    form->addRow(reset);
}

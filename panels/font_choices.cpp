// The font names and sizes the options panels offer.
#include "panels/font_choices.h"

#include "model/services/shell_services.h"
#include "platform/text/font_registry.h"

QStringList fontNameChoices()
{
    QStringList names;
    for (const QString &family : availableFontFamilies())
        for (const FontFace &face : fontFacesOfFamily(family))
            if (!names.contains(face.postScriptName))
                names.append(face.postScriptName);
    names.sort(Qt::CaseInsensitive);
    return names;
}

const QStringList &fontSizeChoices()
{
    static const QStringList sizes = {"6",  "7",  "8",  "9",  "10", "11", "12", "13", "14",
                                      "16", "18", "20", "24", "36", "48", "64", "72"};
    return sizes;
}

int defaultFontChoice(const QStringList &names)
{
    const auto userFont = shellServices().vekDefaultUserFont();
    const QString name = userFont ? userFont->name : labelFont(0).name;
    return std::max(0, int(names.indexOf(name)));
}

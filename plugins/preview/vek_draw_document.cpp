#include "plugins/preview/vek_draw_document.h"

const PropertyList &VekDrawDocument::dictionaryOf(const QByteArray &data)
{
    if (!m_dictionary)
        m_dictionary = vekDocumentDictionaryFromData(data, nullptr);
    return *m_dictionary;
}

int VekDrawDocument::quickCheckQL(const QByteArray &data)
{
    const PropertyList option = dictionaryOf(data).value(QStringLiteral("qloption"));
    return option.isAbsent() ? 3 : option.intValue();
}

QByteArray VekDrawDocument::previewDataFromData(const QByteArray &data)
{
    return dictionaryOf(data).value(QStringLiteral("pdfdata")).dataValue();
}

QByteArray VekDrawDocument::thumbnailDataFromData(const QByteArray &data)
{
    return dictionaryOf(data).value(QStringLiteral("thumbdata")).dataValue();
}

bool VekDrawDocument::holdsDocument(const QByteArray &data)
{
    return dictionaryOf(data).isDictionary();
}

bool VekDrawDocument::readDocumentFromData(const QByteArray &data)
{
    if (!holdsDocument(data))
        return false;
    readFromDocumentDictionary(*m_dictionary);
    return true;
}

Rect VekDrawDocument::rectForPage(int n)
{
    const Size page = drawAreaSizePerPage();
    return Rect(0, float(n - 1) * page.height, page.width, page.height);
}

const Color &VekDrawDocument::markerColor(int n, const QString &preferencesPath)
{
    if (!m_markerColors)
        m_markerColors = markerColorsFromPreferences(preferencesPath);
    return ::markerColor(*m_markerColors, n);
}

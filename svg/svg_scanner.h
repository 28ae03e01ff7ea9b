// SvgScanner: reads numbers and delimited text from the strings of an SVG file, in the C
// locale, skipping a set of characters before every read (the way the importer's parsers
// were written against a string scanner).
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

class SvgScanner {
public:
    explicit SvgScanner(QStringView text, QStringView skip = u" \t\n\r") : m_text(text), m_skip(skip) {}

    void setCharactersToBeSkipped(QStringView skip) { m_skip = skip; }
    bool isAtEnd();
    qsizetype location() const { return m_pos; }
    void setLocation(qsizetype pos) { m_pos = pos; }
    QStringView remaining() const { return m_text.mid(m_pos); }

    // A decimal number with optional sign, fraction and exponent; nothing (and the location
    // unchanged) when none starts here. Numbers that are not finite are refused.
    std::optional<double> scanDouble();
    // A decimal integer with optional sign.
    std::optional<long long> scanInt();
    // Everything up to (not including) the first character of `stops`; nothing when that is
    // empty (the first character is a stop, or the text is at its end).
    std::optional<QString> scanUpToCharacters(QStringView stops);
    // The run of characters that all belong to `set`; nothing when the run is empty.
    std::optional<QString> scanCharacters(QStringView set);
    // The exact text, when it stands here.
    bool scanString(QStringView s);
    // Everything up to (not including) the text s, or to the end.
    std::optional<QString> scanUpToString(QStringView s);

private:
    // After white space, the longest run of characters that are (or, without inSet, are not)
    // in the set; nothing (and no move) when the run is empty.
    std::optional<QString> scanRun(QStringView set, bool inSet);
    void skip();

    QStringView m_text;
    QStringView m_skip;
    qsizetype m_pos = 0;
};

// The leading numeric value of a text (leading blanks skipped, trailing text ignored); 0 when
// none. The platform's reading of "doubleValue".
double svgLeadingDouble(QStringView text);

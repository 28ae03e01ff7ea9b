// Number text that never depends on the user's locale: formatting and parsing in the C locale.
//
// Qt sets the C library's locale from the environment, so printf("%f") would write "1,5" under
// a German locale. Everything that goes into files, dictionaries or text forms uses these
// functions instead.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The shortest text that reads back to exactly the same value ("0.1", "1e+20", "-3").
// Infinities and NaN are written "inf", "-inf" and "nan".
QString formatDouble(double value);
QString formatFloat(float value);

// printf("%.*f", precision, value) in the C locale: "%f" is formatFixed(v), "%.2f" is
// formatFixed(v, 2); a negative precision means 6, as in printf.
QString formatFixed(double value, int precision = 6);

// printf in the C locale, for texts with several numbers ("%f,%f,%f,%f,%f", "g%d").
QString formatC(const char *format, ...) __attribute__((format(printf, 1, 2)));

// The platform's string-to-number rules (leading blanks, optional sign, then as many
// characters as make a number; 0 when none do). Integers saturate at their range.
int intValueOf(QStringView text);
qint64 longLongValueOf(QStringView text);
double doubleValueOf(QStringView text);
inline float floatValueOf(QStringView text) { return float(doubleValueOf(text)); }
// YES when, after blanks, an optional sign and leading zeros, the next character is
// Y, y, T, t or a digit 1-9.
bool boolValueOf(QStringView text);

// Strict parsing: the whole text (blanks around it allowed) must be one number.
// parseInteger takes an optional sign and decimal digits, or "0x" and hex digits;
// parseReal takes decimal numbers and "inf", "infinity", "nan" with either sign.
std::optional<qint64> parseInteger(QStringView text);
std::optional<double> parseReal(QStringView text);

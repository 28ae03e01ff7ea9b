// Bytes as the body of a PostScript string literal.
#pragma once

#include <QByteArray>

// Backslash and parentheses escaped once, every other byte outside printable ASCII as a
// three-digit octal escape; the enclosing parentheses are not added.
QByteArray postScriptStringBody(const QByteArray &bytes);

// The header and footer panel's warnings when a header is taller than the top margin or a
// footer taller than the bottom margin.
#pragma once

#include <QString>

QString headerWarning();   // "Warning: Header height exceeds the current top margin. "
QString footerWarning();   // "Warning: Footer height exceeds the current bottom margin."

// The message for all rows: the header warning when a header row is too tall, then the footer
// warning (shortened after the header warning) when a footer row is; empty when all fit.
QString marginMessage(bool headerTooTall, bool footerTooTall);

// The message after one cell was edited, from the message shown before: a cell too tall for
// its margin shows its warning; a cell that fits takes its own warning away.
QString marginMessageAfterEdit(const QString &current, bool headerCell, bool tooTall);

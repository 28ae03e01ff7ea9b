// PDF/X-3 through Ghostscript, run as a separate program: colours converted to CMYK for the
// output intent's profile and transparency flattened at a chosen resolution.
#pragma once

#include <QByteArray>
#include <QString>

// The CMYK profile the output intent names (Ghostscript's own default CMYK profile).
QString pdfxOutputIntentProfile();

// Converts the PDF and writes the result to path (replacing a file only with a complete
// new one). False with the reason in *error: Ghostscript missing, the profile missing, or
// Ghostscript's own message when it fails.
bool convertToPdfX3(const QByteArray &pdf, const QString &path, int flattenResolution, const QString &title,
                    QString *error = nullptr);

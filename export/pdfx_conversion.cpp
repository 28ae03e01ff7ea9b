// Running Ghostscript's pdfwrite with a PDF/X-3 definition of our own.
#include "export/pdfx_conversion.h"

#include "export/postscript_string.h"
#include "platform/foundation/file_writing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>

namespace {

// A PostScript string literal of the text's UTF-8 bytes.
QByteArray postScriptString(const QString &text)
{
    return '(' + postScriptStringBody(text.toUtf8()) + ')';
}

// The definition Ghostscript reads before the document: the output intent, whose
// destination profile is embedded from the profile file.
QByteArray pdfxDefinition(const QString &profile)
{
    return "%!\n"
           "% PDF/X-3 output intent for Vekanto's export.\n"
           "/ICCProfile " + postScriptString(profile) + " def\n"
           "[/_objdef {icc_PDFX} /type /stream /OBJ pdfmark\n"
           "[{icc_PDFX} << /N 4 >> /PUT pdfmark\n"
           "[{icc_PDFX} ICCProfile (r) file /PUT pdfmark\n"
           "[/_objdef {OutputIntent_PDFX} /type /dict /OBJ pdfmark\n"
           "[{OutputIntent_PDFX} <<\n"
           "  /Type /OutputIntent\n"
           "  /S /GTS_PDFX\n"
           "  /OutputCondition (Commercial and specialty printing)\n"
           "  /OutputConditionIdentifier (Custom)\n"
           "  /Info (Ghostscript default CMYK)\n"
           "  /RegistryName (http://www.color.org)\n"
           "  /DestOutputProfile {icc_PDFX}\n"
           ">> /PUT pdfmark\n"
           "[{Catalog} << /OutputIntents [ {OutputIntent_PDFX} ] >> /PUT pdfmark\n";
}

// Read after the document, so that its entries win over the document's own: the title and
// version PDF/X requires.
QByteArray pdfxDocumentInfo(const QString &title)
{
    return "[ /Title " + postScriptString(title.isEmpty() ? QStringLiteral("Untitled") : title)
        + " /GTS_PDFXVersion (PDF/X-3:2002) /DOCINFO pdfmark\n";
}

bool fail(QString *error, const QString &why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

QString pdfxOutputIntentProfile()
{
    return QStringLiteral("/usr/share/color/icc/ghostscript/default_cmyk.icc");
}

bool convertToPdfX3(const QByteArray &pdf, const QString &path, int flattenResolution, const QString &title,
                    QString *error)
{
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        return fail(error, QStringLiteral("PDF/X-3 needs Ghostscript (the program \"gs\"), which is not installed."));
    const QString profile = pdfxOutputIntentProfile();
    if (!QFileInfo::exists(profile))
        return fail(error, QStringLiteral("The output-intent profile %1 is missing.").arg(profile));

    QTemporaryDir work;
    if (!work.isValid())
        return fail(error, work.errorString());
    const QString input = work.filePath(QStringLiteral("in.pdf"));
    const QString definition = work.filePath(QStringLiteral("pdfx.ps"));
    const QString information = work.filePath(QStringLiteral("info.ps"));
    const QString output = work.filePath(QStringLiteral("out.pdf"));
    auto writeFile = [](const QString &name, const QByteArray &bytes) {
        QFile file(name);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    if (!writeFile(input, pdf) || !writeFile(definition, pdfxDefinition(profile))
        || !writeFile(information, pdfxDocumentInfo(title)))
        return fail(error, QStringLiteral("The temporary files for Ghostscript cannot be written."));

    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(gs, {QStringLiteral("-dPDFX=true"), QStringLiteral("-dBATCH"), QStringLiteral("-dNOPAUSE"),
                       QStringLiteral("-dSAFER"), QStringLiteral("-dQUIET"), QStringLiteral("-sDEVICE=pdfwrite"),
                       QStringLiteral("-dCompatibilityLevel=1.3"), QStringLiteral("-sColorConversionStrategy=CMYK"),
                       QStringLiteral("-sProcessColorModel=DeviceCMYK"), QStringLiteral("-dHaveTransparency=false"),
                       QStringLiteral("-r%1").arg(std::clamp(flattenResolution, 10, 2400)),
                       QStringLiteral("--permit-file-read=%1").arg(profile),
                       QStringLiteral("-sOutputICCProfile=%1").arg(profile),
                       QStringLiteral("-sOutputFile=%1").arg(output), definition, input, information});
    if (!process.waitForStarted())
        return fail(error, QStringLiteral("Ghostscript could not be started: %1").arg(process.errorString()));
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return fail(error, QStringLiteral("Ghostscript did not finish within five minutes."));
    }
    QFile result(output);
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || !result.open(QIODevice::ReadOnly))
        return fail(error, QStringLiteral("Ghostscript could not make PDF/X-3: %1")
                               .arg(QString::fromLocal8Bit(process.readAll()).trimmed()));
    return writeWholeFile(path, result.readAll(), error);
}
